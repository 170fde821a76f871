// The CSV export of the road tab.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <vector>

#include "base/text.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/view_requests.h"
#include "views/csv_export.h"

namespace quorvane {

namespace {

std::string proposedCsvName(const MainControls& c) {
    const std::string zip = c.txtZipName->text().toStdString();
    if (!zip.empty()) {
        return replaceAll(zip, "traffic", "csv");
    }
    return replaceAll(c.txtBinFile->text().toStdString(), "station", "csv");
}

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

void createCsvFile(CommandContext& context) {
    MainControls& c = context.controls;
    const ButtonGuard guard(c.btnCSVfile);
    if (c.lstSta->currentRow() < 0) {
        context.dialogs.message(MessageIcon::Information, kSelectStationsMessage);
        return;
    }
    std::string path;
    try {
        path = context.dialogs.chooseFile(csvSaveRequest(proposedCsvName(c)));
    } catch (const Error&) {
        return;  // a cancelled dialog ends the command silently
    }
    exportCsv(context, path);
}

void exportCsv(CommandContext& context, const std::string& path) {
    // One table from the first line to the last: the one in force now.
    const auto data = dataInForce(context);
    if (!data) {
        return;
    }
    try {
        const std::vector<std::string> labels = selectedLabels(*context.controls.lstSta);
        const auto refusal =
            exportCsv(std::filesystem::path(path), *data->intervals, data->day->stations, labels,
                      readSelection(context.controls), context.workspace.log);
        if (refusal) {
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
