// Show Log and ShutDown.
#include <QApplication>
#include <QPushButton>
#include <QWidget>
#include <iostream>

#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"

namespace quorvane {

void showLog(CommandContext& context) {
    const ButtonGuard guard(context.controls.btnShowlLog);
    SecondaryWindows& windows = context.windows;
    if (windows.log == nullptr) {
        windows.log = new LogWindow(windows.owner);
    }
    windows.log->showLog(context.workspace.log.logText());
}

void shutDown(CommandContext& context) {
    Workspace& workspace = context.workspace;
    workspace.closing = true;  // a loop still running gives up at its next station
    workspace.day.reset();
    workspace.intervals.reset();

    const std::filesystem::path logFile = context.environment.outputFile(kLogFileName);
    try {
        workspace.log.writeFile(logFile);
    } catch (const std::exception& failure) {
        // Closing must not fail: the log is lost, and the user learns why.
        std::cerr << "quorvane: " << logFile.string()
                  << " not written: " << errorLine(reportedError(failure)) << '\n';
    }

    context.windows.progress.close();
    if (context.windows.log != nullptr) {
        context.windows.log->close();
    }
    // Graph windows and any other window the program opened.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != context.windows.owner && window->isVisible()) {
            window->close();
        }
    }
}

}  // namespace quorvane
