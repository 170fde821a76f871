#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// What `quorvane [FILE]` is asked on its command line.
struct WindowCommandLine {
    enum class Request { OpenWindow, PrintUsage, PrintVersion, UsageError };
    Request request = Request::OpenWindow;
    QString file;     // OpenWindow: the file to open at start, absolute; empty for none
    QString problem;  // UsageError: what is wrong with the line
};

// Reads `arguments` (the program's name first) without ending the program. --help/-h and
// --version/-v win over anything else on the line: main() asks for them before an application
// object exists, when Qt's own options (-platform NAME, -style NAME, ...) are still on the line
// and no display is needed to answer.
WindowCommandLine readWindowCommandLine(const QStringList& arguments);

// The text of --help.
QString windowUsageText();
// The line of --version: "Quorvane 1.4".
QString windowVersionLine();

}  // namespace quorvane
