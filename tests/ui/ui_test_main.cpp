// GoogleTest main for the widget tests: one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

// Under LeakSanitizer: the offscreen platform of Qt 5.15 never frees its screen objects when the
// application ends. Their allocations are only reached through Qt's own frames; a leak of ours
// still shows as the direct leak of the object our code allocated.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libqoffscreen.so\n"
           "leak:QPlatformScreen::QPlatformScreen\n"
           "leak:QScreen::QScreen\n"
           "leak:QWindowSystemInterface::handleScreenAdded\n"
           "leak:QtSharedPointer::ExternalRefCountData::getAndRef\n"
           "leak:QObject::QObject\n";
}

namespace {

QtMessageHandler standardHandler = nullptr;

// The headless platform says so for every window it cannot size natively; nothing else is
// dropped.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("This plugin does not support"))) {
        return;
    }
    if (standardHandler != nullptr) {
        standardHandler(type, context, message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // ctest sets the platform; test discovery and direct runs get the same headless one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // tests close many main windows
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
