// quorvane: the main window on the day chosen by its user.
#include <QApplication>
#include <cstdlib>

#include "ui/graph_wiring.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv) {
    // libzip turns every member's time into a local time, and glibc looks at the zone file again
    // for each one unless TZ is set: naming the system's zone keeps a metro archive quick to open.
    setenv("TZ", ":/etc/localtime", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.3"));

    quorvane::QtDialogs dialogs;
    quorvane::MainWindow window(dialogs, quorvane::programEnvironment());
    dialogs.setParent(&window);
    window.setGraphCommand(quorvane::graphWindowCommand());
    window.show();
    return QApplication::exec();
}
