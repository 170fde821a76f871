// quorvane [FILE]: the main window, opening FILE (a ".traffic" archive or a ".station" file)
// when one is given.
#include <QApplication>

#include "base/version.h"
#include "core/unzip.h"
#include "ui/main_window.h"
#include "ui/open_file.h"
#include "ui/qt_dialogs.h"
#include "ui/tab_accessibility.h"

int main(int argc, char** argv) {
    quorvane::nameSystemTimeZone();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(
        quorvane::kVersion.data(), static_cast<int>(quorvane::kVersion.size())));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    const QString file = quorvane::commandLineFile(QApplication::arguments());
    quorvane::installTabAccessibility();

    quorvane::QtDialogs dialogs;
    quorvane::MainWindow window(dialogs, quorvane::programEnvironment());
    dialogs.setParent(&window);
    window.show();
    quorvane::openOnceRunning(window, file);
    return QApplication::exec();
}
