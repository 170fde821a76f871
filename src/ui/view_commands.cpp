// The commands of the station tab and the road choice.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/view_requests.h"
#include "ui/window_lists.h"
#include "views/volume_sum.h"

namespace quorvane {

void recomputeData(CommandContext& context) {
    ButtonGuard guard(context.controls.btnReCompute);
    const std::shared_ptr<const Day> day = context.workspace.day;
    if (day == nullptr || day->stations.count() == 0) {
        return;
    }
    runCommand(context, guard, ErrorReport::Line,
               [&] { putIntervalsInForce(context, day, computeIntervals(context, *day)); });
}

void showVolumeSum(CommandContext& context) {
    MainControls& c = context.controls;
    ButtonGuard guard(c.btnVolSum);
    int32_t total = 0;
    runCommand(context, guard, ErrorReport::Line, [&] {
        if (const auto data = dataInForce(context)) {
            const auto sum = stationVolumeSum(*data->intervals, readSelection(c));
            if (const auto* refusal = std::get_if<Refusal>(&sum)) {
                showRefusal(context, *refusal);
            } else {
                total = std::get<int32_t>(sum);
            }
        }
    });
    c.txtVolSum->setText(QString::number(total));
}

void chooseRoad(CommandContext& context) {
    MainControls& c = context.controls;
    const std::shared_ptr<const Day> day = context.workspace.day;
    const auto road = selectedIndex(*c.cmbRoadList);
    if (day == nullptr || !road) {
        return;  // text typed into the list: the station lists stay
    }
    fillRoadStations(c, day->roads, *road);
}

}  // namespace quorvane
