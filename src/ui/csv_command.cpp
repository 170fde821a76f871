// The CSV export of the road tab.
#include <QLineEdit>

#include "base/text.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/station_exports.h"
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

}  // namespace

void createCsvFile(CommandContext& context) {
    MainControls& c = context.controls;
    chooseExportFile(context, c.btnCSVfile, csvSaveRequest(proposedCsvName(c)),
                     [&](const std::string& path) { exportCsv(context, path); });
}

void exportCsv(CommandContext& context, const std::string& path) {
    exportSelectedStations(
        context, [&](const DataInForce& data, std::span<const std::string> labels,
                     const RequestSelection& selection) {
            return exportCsv(std::filesystem::path(path), *data.intervals, data.day->stations,
                             labels, selection, context.workspace.log);
        });
}

}  // namespace quorvane
