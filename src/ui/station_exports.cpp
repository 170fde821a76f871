#include "ui/station_exports.h"

#include <QListWidget>
#include <QPushButton>
#include <vector>

#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "views/csv_export.h"

namespace quorvane {

namespace {

// The entry texts of the selected stations of lstSta, in list order.
std::vector<std::string> selectedLabels(const QListWidget& list) {
    std::vector<std::string> labels;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected()) {
            labels.push_back(list.item(row)->text().toStdString());
        }
    }
    return labels;
}

}  // namespace

void chooseExportFile(CommandContext& context, QPushButton* button,
                      const FileDialogRequest& request,
                      const std::function<void(const std::string& path)>& exportTo) {
    const ButtonGuard guard(button);
    if (context.controls.lstSta->currentRow() < 0) {
        context.dialogs.message(MessageIcon::Information, kSelectStationsMessage);
        return;
    }
    std::string path;
    try {
        path = context.dialogs.chooseFile(request);
    } catch (const Error&) {
        return;  // a cancelled dialog ends the command silently
    }
    exportTo(path);
}

void exportSelectedStations(CommandContext& context, const StationExport& write) {
    // One table from the first line to the last: the one in force now.
    const auto data = dataInForce(context);
    if (!data) {
        return;
    }
    try {
        const std::vector<std::string> labels = selectedLabels(*context.controls.lstSta);
        if (const auto refusal = write(*data, labels, readSelection(context.controls))) {
            showRefusal(context, *refusal);
            return;
        }
    } catch (const std::exception& failure) {
        context.dialogs.message(MessageIcon::Critical, reportedError(failure).description());
        return;
    }
    context.dialogs.message(MessageIcon::Information, kCsvSavedMessage);
}

}  // namespace quorvane
