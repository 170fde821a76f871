#include "ui/view_requests.h"

#include <QComboBox>

#include "ui/command_context.h"
#include "ui/window_lists.h"

namespace quorvane {

RequestSelection readSelection(const MainControls& controls) {
    return {.stationEntries = controls.cmbStaList->count(),
            .station = selectedIndex(*controls.cmbStaList),
            .start = selectedIndex(*controls.cmbStartTime),
            .end = selectedIndex(*controls.cmbEndTime)};
}

std::optional<DataInForce> dataInForce(CommandContext& context) {
    DataInForce data{context.workspace.day, context.workspace.intervals};
    if (data.day == nullptr || data.intervals == nullptr) {
        showRefusal(context, Refusal{std::string(kNoDataMessage)});
        return std::nullopt;
    }
    return data;
}

void showRefusal(CommandContext& context, const Refusal& refusal) {
    context.dialogs.message(MessageIcon::Exclamation, refusal.message);
}

}  // namespace quorvane
