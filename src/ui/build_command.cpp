// The build command: archive, station tables, lists, interval table, in that order.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <optional>

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

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return text;
    }
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

namespace {

// The build of `given`, or of the archive the open dialog asks for when none is given.
void buildFrom(CommandContext& context, const std::optional<std::string>& given) {
    MainControls& c = context.controls;
    Workspace& workspace = context.workspace;
    ButtonGuard guard(c.btnBuildStationData);
    try {
        const std::string archive =
            given ? *given : context.dialogs.chooseFile(archiveOpenRequest());
        c.txtZipName->setText(QString::fromStdString(archive));
        if (c.txtBinFile->text().isEmpty()) {
            c.txtBinFile->setText(
                QString::fromStdString(replaceAll(archive, "traffic", "station")));
        }
        letEventsRun(workspace);
        letEventsRun(workspace);

        std::optional<ProgressSession> session;
        BuildHooks hooks;
        hooks.occMode = [&c] {
            return c.optAvg->isChecked() ? OccMode::Average : OccMode::WorstCase;
        };
        hooks.started = [&](int total) {
            session.emplace(context.windows.progress,
                            QStringLiteral("Unzip and computation of staton data"), total);
        };
        hooks.stationDone = [&](int done, int total) {
            if (session) {
                session->stationDone(done, total);
            }
            letEventsRun(workspace);
        };
        auto day =
            std::make_shared<const Day>(buildDay(buildRequest(context), workspace.log, hooks));
        session.reset();
        auto intervals = computeIntervals(context, *day);

        // Everything is complete: only now does the new day replace the old one.
        putDayInForce(context, std::move(day), std::move(intervals));
        c.lblDate->setText(fileNamePart(c.txtZipName->text()));
        enableDataTabs(c);
        context.dialogs.message(MessageIcon::Information, kBuildDoneMessage);
    } catch (const ProgramClosing&) {
    } catch (const std::exception& failure) {
        guard.release();
        context.dialogs.message(MessageIcon::Critical,
                                buildErrorMessage(errorLine(reportedError(failure))));
    }
}

}  // namespace

void buildStationData(CommandContext& context) {
    buildFrom(context, std::nullopt);
}

void buildStationDataFrom(CommandContext& context, const std::string& archive) {
    buildFrom(context, archive);
}

}  // namespace quorvane
