#include "ui/many_days_commands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <cstdio>
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
#include "ui/many_days_windows.h"
#include "ui/speed_controls.h"
#include "ui/view_requests.h"
#include "ui/window_export.h"
#include "ui/window_lists.h"
#include "views/bottleneck_ranking.h"
#include "views/many_days_picture.h"
#include "views/reliability.h"
#include "views/roads_of_days.h"
#include "views/travel_time_picture.h"
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
    request.thresholdKmh = readThresholdKmh(c);
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
    std::shared_ptr<const ManyDays> set;
    const std::vector<DayResult>* days = nullptr;
    std::string road;
};
std::optional<ChosenRoad> chosenRoad(CommandContext& context) {
    const auto set = context.workspace.days;
    if (set == nullptr || builtDayCount(set->days) == 0) {
        context.dialogs.message(MessageIcon::Exclamation, kNoDaysMessage);
        return std::nullopt;
    }
    const std::optional<int> road = selectedIndex(*context.controls.cmbDaysRoad);
    if (!road) {
        return std::nullopt;  // text typed into the road list: nothing to show, nothing to say
    }
    return ChosenRoad{set, &set->days, context.controls.cmbDaysRoad->itemText(*road).toStdString()};
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

std::string decimals(double value, int places) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    return buffer;
}

// What a reliability says first: its days and free-flow trip, and its least reliable departure.
std::string reliabilitySummary(const RoadReliability& r, int days, double freeFlowKmh) {
    std::string text = r.road + ": " + std::to_string(days) + (days == 1 ? " day, " : " days, ") +
                       decimals(r.lengthKm, 2) + " km; free-flow travel time " +
                       decimals(r.freeFlowMinutes, 1) + " min at " + decimals(freeFlowKmh, 1) +
                       " km/h.";
    int worst = -1;
    for (int k = 0; k < static_cast<int>(r.intervals.size()); ++k) {
        const double index = r.planningTimeIndex(k);
        if (std::isfinite(index) && (worst < 0 || index > r.planningTimeIndex(worst))) {
            worst = k;
        }
    }
    if (worst >= 0) {
        const ReliabilityInterval& at = r.intervals[static_cast<std::size_t>(worst)];
        text += " The least reliable departure: " + formatHms(r.startSeconds(worst)).substr(0, 5) +
                ", mean " + decimals(at.meanMinutes, 1) + " min, 95th percentile " +
                decimals(at.p95Minutes, 1) + " min (planning time index " +
                decimals(r.planningTimeIndex(worst), 2) + ").";
    }
    return text;
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
        const DaySetRequest request = daySetRequest(context, std::move(files));
        auto set = std::make_shared<ManyDays>();
        set->speed = request.speed;
        set->thresholdKmh = request.thresholdKmh;
        set->days = buildDaySet(request, [&](int done, int) {
            c.prgDays->setValue(done);
            letEventsRun(workspace);
        });
        const std::vector<DayResult>* days = &set->days;
        std::string log = daySetLogText(*days);
        if (!log.empty() && !log.ends_with(kCrLf)) {
            log += kCrLf;
        }
        workspace.log.appendLog(log);
        workspace.days = std::move(set);
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

void showReliability(CommandContext& context) {
    ButtonGuard guard(context.controls.btnReliability);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto chosen = chosenRoad(context);
        if (!chosen) {
            return;
        }
        const double freeFlowKmh = chosen->set->speed.freeFlowKmh();
        auto found = roadReliability(*chosen->days, chosen->road, freeFlowKmh);
        if (const auto* refusal = std::get_if<Refusal>(&found)) {
            showRefusal(context, *refusal);
            return;
        }
        RoadReliability& reliability = std::get<RoadReliability>(found);
        const int days = builtDayCount(*chosen->days);
        const TravelTimePicture picture = reliabilityPicture(reliability, days, freeFlowKmh);
        std::string summary = reliabilitySummary(reliability, days, freeFlowKmh);
        std::string proposed = proposedRoadFile(context.controls, chosen->road, "_reliability.csv");
        auto* window =
            new ReliabilityWindow(context.dialogs, std::move(reliability), picture,
                                  std::move(summary), std::move(proposed), context.windows.owner);
        window->show();
        window->raise();
    });
}

void showRanking(CommandContext& context) {
    ButtonGuard guard(context.controls.btnRanking);
    runCommand(context, guard, ErrorReport::Line, [&] {
        const auto set = context.workspace.days;
        if (set == nullptr || builtDayCount(set->days) == 0) {
            context.dialogs.message(MessageIcon::Exclamation, kNoDaysMessage);
            return;
        }
        if (const auto refusal = anyRoadPlacement(set->days)) {
            showRefusal(context, *refusal);
            return;
        }
        std::vector<RankedBottleneck> ranking = rankBottlenecks(set->days);
        const int days = builtDayCount(set->days);
        std::string summary = rankingSummary(ranking) + " over " + std::to_string(days) +
                              (days == 1 ? " day" : " days") +
                              ", most days active first, then the most delay.";
        auto* window = new RankingWindow(context.dialogs, std::move(ranking), std::move(summary),
                                         proposedRoadFile(context.controls, "all", "_ranking.csv"),
                                         context.windows.owner);
        window->show();
        window->raise();
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
