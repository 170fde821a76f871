// GoogleTest main for the widget tests: one QApplication for the whole run, on the offscreen
// platform unless QT_QPA_PLATFORM names another.
#include <gtest/gtest.h>

#include <QApplication>

#include "charts/offscreen_platform.h"

int main(int argc, char** argv) {
    quorvane::prepareOffscreenPlatform();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // tests close many main windows
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
