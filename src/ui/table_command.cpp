// The tidy table export of the road tab.
#include "ui/table_command.h"

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "ui/command_context.h"
#include "ui/file_requests.h"
#include "ui/speed_controls.h"
#include "ui/station_exports.h"
#include "views/table_export.h"

namespace quorvane {

FileDialogRequest tableSaveRequest(const MainControls& controls) {
    std::filesystem::path day = controls.txtZipName->text().toStdString();
    if (day.empty()) {
        day = controls.txtBinFile->text().toStdString();
    }
    FileDialogRequest request = csvSaveRequest("");
    if (!day.empty()) {
        request.proposedName = day.replace_filename(day.stem().string() + "_table.csv").string();
    }
    return request;
}

void createTableFile(CommandContext& context) {
    MainControls& c = context.controls;
    chooseExportFile(context, c.btnExportTable, tableSaveRequest(c),
                     [&](const std::string& path) { exportTableFile(context, path); });
}

void exportTableFile(CommandContext& context, const std::string& path) {
    const SpeedSettings speed = readSpeedSettings(context.controls);
    exportSelectedStations(
        context, [&](const DataInForce& data, std::span<const std::string> labels,
                     const RequestSelection& selection) {
            return exportTable(std::filesystem::path(path), *data.day, *data.intervals, labels,
                               selection, speed, context.workspace.log);
        });
}

}  // namespace quorvane
