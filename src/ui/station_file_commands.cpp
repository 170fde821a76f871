// Saving the day in force to a ".station" file and loading one as the new day.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>

#include "base/text.h"
#include "core/day.h"
#include "definitions/station_file.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/window_lists.h"

namespace quorvane {

void saveStationData(CommandContext& context) {
    MainControls& c = context.controls;
    ButtonGuard guard(c.btnSave);
    const std::shared_ptr<const Day> day = context.workspace.day;
    if (day == nullptr) {
        context.dialogs.message(MessageIcon::Information, kNothingToSaveMessage);
        return;
    }
    std::string path;
    try {
        path = context.dialogs.chooseFile(stationSaveRequest(
            replaceAll(c.txtZipName->text().toStdString(), "traffic", "station")));
    } catch (const Error&) {
        return;  // a cancelled dialog ends the command silently
    }
    c.txtBinFile->setText(QString::fromStdString(path));
    try {
        writeStationFile(std::filesystem::path(path), day->tables);
    } catch (const std::exception& failure) {
        guard.release();
        context.dialogs.message(MessageIcon::Critical, errorLine(reportedError(failure)));
        return;
    }
    context.dialogs.message(MessageIcon::Information, kSavingDoneMessage);
}

namespace {

// The load of `given`, or of the file the open dialog asks for when none is given.
void loadFrom(CommandContext& context, const std::optional<std::string>& given) {
    MainControls& c = context.controls;
    Workspace& workspace = context.workspace;
    const std::string path =
        given ? *given
              : context.dialogs.chooseFile(stationOpenRequest(c.txtBinFile->text().toStdString()));
    c.txtBinFile->setText(QString::fromStdString(path));
    const ListFolder lists =
        chooseListFolder(context.environment.listDirectory, path, workspace.log);
    auto day = std::make_shared<const Day>(
        loadDay(std::filesystem::path(path), lists.directory, workspace.log));
    auto intervals = computeIntervals(context, *day);

    putDayInForce(context, std::move(day), std::move(intervals));
    c.lblDate->setText(fileNamePart(c.txtBinFile->text()));
    context.dialogs.message(MessageIcon::Information, kLoadDoneMessage);
    enableDataTabs(c);
    // The list shows "30 sec" again; the table keeps the interval it was computed at until the
    // next recomputation.
    fillIntervalList(*c.cmbPlotInterval);
}

}  // namespace

void loadStationData(CommandContext& context) {
    ButtonGuard guard(context.controls.btnLoad);
    runCommand(context, guard, ErrorReport::WithListsHint,
               [&] { loadFrom(context, std::nullopt); });
}

void loadStationDataFrom(CommandContext& context, const std::string& path) {
    ButtonGuard guard(context.controls.btnLoad);
    runCommand(context, guard, ErrorReport::WithListsHint, [&] { loadFrom(context, path); });
}

}  // namespace quorvane
