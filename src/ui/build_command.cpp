// The build command: archive, station tables, lists, interval table, in that order.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <optional>

#include "base/text.h"
#include "core/day.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/window_lists.h"

namespace quorvane {

namespace {

std::filesystem::path pathOf(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

BuildRequest buildRequest(CommandContext& context) {
    const MainControls& c = context.controls;
    BuildRequest request;
    request.archive = pathOf(c.txtZipName->text());
    request.listDirectory =
        chooseListFolder(context.environment.listDirectory, request.archive, context.workspace.log)
            .directory;
    if (c.Check1->isChecked()) {
        request.zipInfo = context.environment.outputFile(kZipInfoFileName);
    }
    return request;
}

}  // namespace

std::string buildErrorMessage(const std::string& errorLine) {
    std::string text = errorLine;
    text.append("\r\n");
    text.append(kDefinitionFilesHint);
    return text;
}

namespace {

// The builder's hooks in the window: the occupancy option read before each station, the
// progress window counting stations, pending events run after each one.
BuildHooks windowBuildHooks(CommandContext& context, std::optional<ProgressSession>& session) {
    BuildHooks hooks;
    hooks.occMode = [&c = context.controls] {
        return c.optAvg->isChecked() ? OccMode::Average : OccMode::WorstCase;
    };
    hooks.started = [&context, &session](int total) {
        session.emplace(context.windows.progress,
                        QStringLiteral("Unzip and computation of staton data"), total);
    };
    hooks.stationDone = [&context, &session](int done, int total) {
        if (session) {
            session->stationDone(done, total);
        }
        letEventsRun(context.workspace);
    };
    return hooks;
}

// The build of `given`, or of the archive the open dialog asks for when none is given.
void buildFrom(CommandContext& context, const std::optional<std::string>& given) {
    MainControls& c = context.controls;
    Workspace& workspace = context.workspace;
    const std::string archive = given ? *given : context.dialogs.chooseFile(archiveOpenRequest());
    c.txtZipName->setText(QString::fromStdString(archive));
    if (c.txtBinFile->text().isEmpty()) {
        c.txtBinFile->setText(QString::fromStdString(replaceAll(archive, "traffic", "station")));
    }
    letEventsRun(workspace);
    letEventsRun(workspace);

    std::optional<ProgressSession> session;
    auto day = std::make_shared<const Day>(
        buildDay(buildRequest(context), workspace.log, windowBuildHooks(context, session)));
    session.reset();
    auto intervals = computeIntervals(context, *day);

    // Everything is complete: only now does the new day replace the old one.
    putDayInForce(context, std::move(day), std::move(intervals));
    c.lblDate->setText(fileNamePart(c.txtZipName->text()));
    enableDataTabs(c);
    context.dialogs.message(MessageIcon::Information, kBuildDoneMessage);
}

}  // namespace

void buildStationData(CommandContext& context) {
    ButtonGuard guard(context.controls.btnBuildStationData);
    runCommand(context, guard, ErrorReport::WithListsHint,
               [&] { buildFrom(context, std::nullopt); });
}

void buildStationDataFrom(CommandContext& context, const std::string& archive) {
    ButtonGuard guard(context.controls.btnBuildStationData);
    runCommand(context, guard, ErrorReport::WithListsHint, [&] { buildFrom(context, archive); });
}

}  // namespace quorvane
