#include "ui/many_days_commands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "base/dialogs.h"
#include "base/error.h"
#include "base/file_io.h"
#include "base/log.h"
#include "charts/chart.h"
#include "charts/road_graph.h"
#include "core/day.h"
#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/file_requests.h"
#include "ui/speed_controls.h"
#include "ui/view_requests.h"
#include "ui/window_export.h"
#include "ui/window_lists.h"
#include "views/many_days_picture.h"
#include "views/typical_day.h"

namespace quorvane {

namespace {

inline constexpr std::string_view kNoDaysMessage = "You must choose the days first.";

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// The folder the day in force came from, where its siblings are likely to be.
std::string proposedDaysFolder(const MainControls& c) {
    std::filesystem::path day = c.txtZipName->text().toStdString();
    if (day.empty()) {
        day = c.txtBinFile->text().toStdString();
    }
    return day.empty() ? std::string() : day.parent_path().string();
}

DaySetRequest daySetRequest(const CommandContext& context,
                            std::vector<std::filesystem::path> files) {
    const MainControls& c = context.controls;
    DaySetRequest request;
    request.files = std::move(files);
    request.programDirectory = context.environment.listDirectory;
    request.speed = readSpeedSettings(c).inUnit(SpeedUnit::Kmh);
    request.occMode = c.optWorst->isChecked() ? OccMode::WorstCase : OccMode::Average;
    return request;
}

// The set's results in the tab: its folder, its summary line, the days left out, its roads.
void showDaySet(MainControls& c, const std::string& folder, const std::vector<DayResult>& days) {
    c.lblDaysFolder->setText(qText(folder));
    c.lblDaysSummary->setText(qText(daySetSummaryLine(days)));
    c.lstDaysLeftOut->clear();
    for (const std::string& line : leftOutLines(days)) {
        c.lstDaysLeftOut->addItem(qText(line));
    }
    clearToSelectOne(*c.cmbDaysRoad);
    for (const std::string& road : roadNamesOfDays(days)) {
        c.cmbDaysRoad->addItem(qText(road));
    }
    if (c.cmbDaysRoad->count() > 0) {
        c.cmbDaysRoad->setCurrentIndex(0);
    }
}

// The set in force and the road chosen of it, or none after the message saying what is missing.
struct ChosenRoad {
    std::shared_ptr<const std::vector<DayResult>> days;
    std::string road;
};
std::optional<ChosenRoad> chosenRoad(CommandContext& context) {
    const auto days = context.workspace.days;
    if (days == nullptr || builtDayCount(*days) == 0) {
        context.dialogs.message(MessageIcon::Exclamation, kNoDaysMessage);
        return std::nullopt;
    }
    const std::optional<int> road = selectedIndex(*context.controls.cmbDaysRoad);
    if (!road) {
        return std::nullopt;  // text typed into the road list: nothing to show, nothing to say
    }
    return ChosenRoad{days, context.controls.cmbDaysRoad->itemText(*road).toStdString()};
}

void showPicture(CommandContext& context, const std::variant<RoadPicture, Refusal>& picture,
                 const std::string& caption) {
    if (const auto* refusal = std::get_if<Refusal>(&picture)) {
        showRefusal(context, *refusal);
        return;
    }
    GraphWindow* window = showRoadPicture(std::get<RoadPicture>(picture), caption);
    window->chart().setDialogs(&context.dialogs);
}

}  // namespace

void chooseDays(CommandContext& context) {
    MainControls& c = context.controls;
    ButtonGuard guard(c.btnDays);
    runCommand(context, guard, ErrorReport::Line, [&] {
        std::string folder;
        try {
            folder = context.dialogs.chooseFile(daysFolderRequest(proposedDaysFolder(c)));
        } catch (const Error& error) {
            if (error.number() == errc::kCancelled) {
                return;
            }
            throw;
        }
        std::vector<std::filesystem::path> files = dayFilesIn(folder);
        if (files.empty()) {
            context.dialogs.message(MessageIcon::Exclamation,
                                    "No .traffic or .station file in " + folder + ".");
            return;
        }
        const int total = static_cast<int>(files.size());
        c.prgDays->setRange(0, total);
        c.prgDays->setValue(0);
        Workspace& workspace = context.workspace;
        auto days = std::make_shared<const std::vector<DayResult>>(
            buildDaySet(daySetRequest(context, std::move(files)), [&](int done, int) {
                c.prgDays->setValue(done);
                letEventsRun(workspace);
            }));
        std::string log = daySetLogText(*days);
        if (!log.empty() && !log.ends_with(kCrLf)) {
            log += kCrLf;
        }
        workspace.log.appendLog(log);
        workspace.days = days;
        showDaySet(c, folder, *days);
        if (builtDayCount(*days) == 0) {
            context.dialogs.message(MessageIcon::Exclamation,
                                    "None of the days in " + folder + " could be built.");
        }
    });
}

void showTypicalGrid(CommandContext& context) {
    ButtonGuard guard(context.controls.btnTypicalGrid);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto chosen = chosenRoad(context);
        if (!chosen) {
            return;
        }
        const SpeedUnit unit = readSpeedSettings(context.controls).unit;
        showPicture(context, typicalSpeedPicture(*chosen->days, chosen->road, unit),
                    "Typical Speed Color Grid: " + chosen->road + ", " +
                        std::to_string(builtDayCount(*chosen->days)) + " days");
    });
}

void showDifferenceGrid(CommandContext& context) {
    ButtonGuard guard(context.controls.btnDifferenceGrid);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto data = dataInForce(context);
        if (!data) {
            return;
        }
        const auto chosen = chosenRoad(context);
        if (!chosen) {
            return;
        }
        const SpeedSettings speed = readSpeedSettings(context.controls);
        showPicture(context, speedDifferencePicture(*data->day, *chosen->days, chosen->road, speed),
                    "Difference from typical: " + chosen->road + ", " +
                        context.controls.lblDate->text().toStdString());
    });
}

void exportTypical(CommandContext& context) {
    ButtonGuard guard(context.controls.btnExportTypical);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto chosen = chosenRoad(context);
        if (!chosen) {
            return;
        }
        const auto stations = roadStationsOfDays(*chosen->days, chosen->road);
        if (!stations) {
            return;
        }
        const std::string proposed =
            proposedRoadFile(context.controls, chosen->road, "_typical.csv");
        exportCsvThroughDialogs(context.dialogs, proposed, [&](const std::string& path) {
            writeFileReplacing(std::filesystem::path(path),
                               typicalText(typicalDay(*chosen->days, *stations)));
            return std::optional<Refusal>();
        });
    });
}

}  // namespace quorvane
