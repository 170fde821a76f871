#include "ui/command_context.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <new>
#include <utility>

#include "ui/button_guard.h"
#include "ui/commands.h"
#include "ui/speed_controls.h"
#include "ui/window_lists.h"

namespace quorvane {

void runCommand(CommandContext& context, ButtonGuard& guard, ErrorReport report,
                const std::function<void()>& work) {
    try {
        work();
    } catch (const ProgramClosing&) {
    } catch (const std::exception& failure) {
        guard.release();
        const std::string line = errorLine(reportedError(failure));
        context.dialogs.message(MessageIcon::Critical, report == ErrorReport::WithListsHint
                                                           ? buildErrorMessage(line)
                                                           : line);
    }
}

std::shared_ptr<const IntervalTable> computeIntervals(CommandContext& context, const Day& day) {
    MainControls& c = context.controls;
    const ButtonGuard guard(c.btnReCompute);
    const int total = day.stations.count();
    ProgressSession session(context.windows.progress, QStringLiteral("Station recomputation"),
                            total);
    const int interval = selectedIndex(*c.cmbPlotInterval).value_or(0);
    IntervalTable table = recomputeIntervals(day.tables, day.stations, interval,
                                             context.workspace.log, [&](int done, int n) {
                                                 session.stationDone(done, n);
                                                 letEventsRun(context.workspace);
                                             });
    return std::make_shared<const IntervalTable>(std::move(table));
}

void putDayInForce(CommandContext& context, std::shared_ptr<const Day> day,
                   std::shared_ptr<const IntervalTable> intervals) {
    Workspace& workspace = context.workspace;
    workspace.day = std::move(day);
    workspace.intervals = std::move(intervals);
    fillSelectionLists(context.controls, *workspace.day);
    fillTimeLists(context.controls, *workspace.intervals);
    showSpeedEstimate(context.controls, workspace.day.get());
}

bool putIntervalsInForce(CommandContext& context, const std::shared_ptr<const Day>& basis,
                         std::shared_ptr<const IntervalTable> intervals) {
    Workspace& workspace = context.workspace;
    if (workspace.day != basis) {
        return false;
    }
    workspace.intervals = std::move(intervals);
    fillTimeLists(context.controls, *workspace.intervals);
    return true;
}

void enableDataTabs(MainControls& controls) {
    controls.SSTab1->setTabEnabled(kStationTab, true);
    controls.SSTab1->setTabEnabled(kRoadTab, true);
    controls.SSTab1->setTabEnabled(kBuildTab, true);
    controls.SSTab1->setCurrentIndex(kBuildTab);
}

}  // namespace quorvane
