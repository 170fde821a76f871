#include "ui/window_command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "base/version.h"

namespace quorvane {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

WindowCommandLine readWindowCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-reverse" (one of Qt's own options) must not read as -r -e -v ...: a single dash starts
    // a word as well.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this text."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version."));
    parser.addOption(help);
    parser.addOption(version);
    const bool wellFormed = parser.parse(arguments);

    using Request = WindowCommandLine::Request;
    if (parser.isSet(help)) {
        return {Request::PrintUsage, {}, {}};
    }
    if (parser.isSet(version)) {
        return {Request::PrintVersion, {}, {}};
    }
    if (!wellFormed) {
        return {Request::UsageError, {}, parser.errorText()};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return {Request::UsageError, {}, QStringLiteral("one file at most")};
    }
    return {Request::OpenWindow,
            files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath(),
            {}};
}

QString windowUsageText() {
    return QStringLiteral(
        "usage: quorvane [FILE]\n"
        "       quorvane --help | --version\n"
        "\n"
        "Opens the main window. FILE, a .traffic archive or a .station file, is opened at\n"
        "start: an archive is built and a station file loaded as their buttons do, without the\n"
        "file dialog.\n"
        "\n"
        "  -h, --help     print this text and exit\n"
        "  -v, --version  print the version and exit\n"
        "\n"
        "Qt's own options (-platform NAME, -style NAME, ...) are taken as well.\n"
        "quorvane-cli does the same as the window, without one.\n");
}

QString windowVersionLine() {
    return fromView(kProductName) + QLatin1Char(' ') + fromView(kVersion);
}

}  // namespace quorvane
