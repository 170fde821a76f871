// quorvane [FILE]: the main window, opening FILE (a ".traffic" archive or a ".station" file)
// when one is given.
#include <QApplication>
#include <cstdio>
#include <optional>

#include "base/version.h"
#include "core/unzip.h"
#include "ui/main_window.h"
#include "ui/open_file.h"
#include "ui/qt_dialogs.h"
#include "ui/tab_accessibility.h"
#include "ui/window_command_line.h"

namespace {

using quorvane::WindowCommandLine;

// The command line as typed, before QApplication takes Qt's own options out of it.
QStringList typedArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Prints what `line` asks for instead of a window and gives the exit status; nothing when the
// window is wanted.
std::optional<int> answerWithoutWindow(const WindowCommandLine& line) {
    switch (line.request) {
        case WindowCommandLine::Request::PrintUsage:
            std::fputs(quorvane::windowUsageText().toLocal8Bit().constData(), stdout);
            return 0;
        case WindowCommandLine::Request::PrintVersion:
            std::puts(quorvane::windowVersionLine().toLocal8Bit().constData());
            return 0;
        case WindowCommandLine::Request::UsageError:
            std::fprintf(stderr, "quorvane: %s\n%s", line.problem.toLocal8Bit().constData(),
                         quorvane::windowUsageText().toLocal8Bit().constData());
            return 2;
        case WindowCommandLine::Request::OpenWindow:
            break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    quorvane::nameSystemTimeZone();
    // --help and --version answer on a machine without a display, where QApplication would
    // abort; any other problem of the line is known only once Qt has taken its options.
    const WindowCommandLine typed = quorvane::readWindowCommandLine(typedArguments(argc, argv));
    if (typed.request == WindowCommandLine::Request::PrintUsage ||
        typed.request == WindowCommandLine::Request::PrintVersion) {
        return *answerWithoutWindow(typed);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(
        quorvane::kProductName.data(), static_cast<int>(quorvane::kProductName.size())));
    QApplication::setApplicationVersion(QString::fromLatin1(
        quorvane::kVersion.data(), static_cast<int>(quorvane::kVersion.size())));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    const WindowCommandLine line = quorvane::readWindowCommandLine(QApplication::arguments());
    if (const auto status = answerWithoutWindow(line)) {
        return *status;
    }
    quorvane::installTabAccessibility();

    quorvane::QtDialogs dialogs;
    quorvane::MainWindow window(dialogs, quorvane::programEnvironment());
    dialogs.setParent(&window);
    window.show();
    quorvane::openOnceRunning(window, line.file);
    return QApplication::exec();
}
