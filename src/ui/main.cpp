// quorvane: the main window on the day chosen by its user.
#include <QApplication>

#include "base/version.h"
#include "core/unzip.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv) {
    quorvane::nameSystemTimeZone();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(
        quorvane::kVersion.data(), static_cast<int>(quorvane::kVersion.size())));

    quorvane::QtDialogs dialogs;
    quorvane::MainWindow window(dialogs, quorvane::programEnvironment());
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
