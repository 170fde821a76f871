#pragma once

#include <QPointer>
#include <exception>
#include <functional>
#include <memory>

#include "base/dialogs.h"
#include "base/error.h"
#include "ui/log_window.h"
#include "ui/main_controls.h"
#include "ui/progress_window.h"
#include "ui/workspace.h"

namespace quorvane {

// frmLog and frmProgress, created on first use, owned by the main window.
struct SecondaryWindows {
    explicit SecondaryWindows(QWidget* mainWindow) : owner(mainWindow), progress(mainWindow) {}
    QWidget* owner;
    Progress progress;
    QPointer<LogWindow> log;
};

// What a command of the main window works with. The window owns all of it; its slots only
// hand it to the commands.
struct CommandContext {
    Workspace& workspace;
    Dialogs& dialogs;
    MainControls& controls;
    SecondaryWindows& windows;
    const Environment& environment;
};

class ButtonGuard;

// How a failed command shows its error: the error line alone, or (build and load) followed by
// the hint about the definition files.
enum class ErrorReport { Line, WithListsHint };

// Runs a command's work. The program closing ends it silently; any other failure gives the
// button back and shows the error message box.
void runCommand(CommandContext& context, ButtonGuard& guard, ErrorReport report,
                const std::function<void()>& work);

// The interval table of `day` at the interval selected in cmbPlotInterval, computed aside
// (RecomputeIntervals' loop: btnReCompute disabled, the progress window counting stations).
std::shared_ptr<const IntervalTable> computeIntervals(CommandContext& context, const Day& day);

// Puts a new day and its interval table in force together and refills the station, road and
// time lists from them.
void putDayInForce(CommandContext& context, std::shared_ptr<const Day> day,
                   std::shared_ptr<const IntervalTable> intervals);

// Puts an interval table computed from `basis` in force and refills the time lists, unless
// another day was put in force meanwhile (its own table then stays). True when put in force.
bool putIntervalsInForce(CommandContext& context, const std::shared_ptr<const Day>& basis,
                         std::shared_ptr<const IntervalTable> intervals);

// Tabs 1, 2 and 0 made available, tab 0 shown.
void enableDataTabs(MainControls& controls);

}  // namespace quorvane
