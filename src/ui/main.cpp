// quorvane [FILE]: the main window, opening FILE (a ".traffic" archive or a ".station" file)
// when one is given.
#include <QApplication>
#include <cstdlib>

#include "ui/graph_wiring.h"
#include "ui/main_window.h"
#include "ui/open_file.h"
#include "ui/qt_dialogs.h"
#include "ui/tab_accessibility.h"

int main(int argc, char** argv) {
    // libzip turns every member's time into a local time, and glibc looks at the zone file again
    // for each one unless TZ is set: naming the system's zone keeps a metro archive quick to open.
    setenv("TZ", ":/etc/localtime", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.3"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    const QString file = quorvane::commandLineFile(QApplication::arguments());
    quorvane::installTabAccessibility();

    quorvane::QtDialogs dialogs;
    quorvane::MainWindow window(dialogs, quorvane::programEnvironment());
    dialogs.setParent(&window);
    window.setGraphCommand(quorvane::graphWindowCommand());
    window.show();
    quorvane::openOnceRunning(window, file);
    return QApplication::exec();
}
