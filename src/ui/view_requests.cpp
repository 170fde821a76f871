#include "ui/view_requests.h"

#include <QComboBox>

#include "ui/command_context.h"
#include "ui/window_lists.h"

namespace quorvane {

namespace {

// The checks passed: copy what is in force. The lists and the table are replaced together, so
// the selected indexes lie inside the table; the test only guards against a broken window.
std::optional<ViewRange> inForce(const CommandContext& context, const RequestSelection& s) {
    ViewRange range{context.workspace.day, context.workspace.intervals, s.start.value_or(0),
                    s.end.value_or(0)};
    if (range.day == nullptr || range.intervals == nullptr ||
        range.end >= range.intervals->intervalCount) {
        return std::nullopt;
    }
    return range;
}

void refuse(CommandContext& context, std::string_view message) {
    context.dialogs.message(MessageIcon::Exclamation, message);
}

}  // namespace

RequestSelection readSelection(const MainControls& controls) {
    return {.stationEntries = controls.cmbStaList->count(),
            .station = selectedIndex(*controls.cmbStaList),
            .start = selectedIndex(*controls.cmbStartTime),
            .end = selectedIndex(*controls.cmbEndTime)};
}

std::optional<StationView> stationViewRequest(CommandContext& context) {
    const RequestSelection selection = readSelection(context.controls);
    if (const auto refusal = checkStationRequest(selection)) {
        refuse(context, *refusal);
        return std::nullopt;
    }
    const auto range = inForce(context, selection);
    if (!range || *selection.station >= range->intervals->stationCount) {
        return std::nullopt;
    }
    StationView view;
    static_cast<ViewRange&>(view) = *range;
    view.row = *selection.station;
    view.label = context.controls.cmbStaList->itemText(view.row);
    return view;
}

std::optional<ViewRange> rangeViewRequest(CommandContext& context) {
    const RequestSelection selection = readSelection(context.controls);
    if (const auto refusal = checkRangeRequest(selection)) {
        refuse(context, *refusal);
        return std::nullopt;
    }
    return inForce(context, selection);
}

}  // namespace quorvane
