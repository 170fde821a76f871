#include <QSize>
#include <array>
#include <charconv>
#include <memory>

#include "base/error.h"
#include "charts/chart_render.h"
#include "charts/graph_window.h"
#include "charts/open_graph.h"
#include "cli/batch_dialogs.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/headless_application.h"
#include "cli/speed_options.h"
#include "cli/time_range.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kPlotOptions = withDayRange(
    std::array{OptionSpec{"-o", true}, OptionSpec{"--kind", true}, OptionSpec{"--station", true},
               OptionSpec{"--road", true}, OptionSpec{"--size", true}, kSpeedUnitOption,
               kVehicleLengthOption, kFreeFlowSpeedOption});

// Large enough for any report, small enough that the image fits in memory.
constexpr int kLargestSide = 8192;

GraphKind plotKind(std::string_view word) {
    if (const auto kind = graphKindNamed(word)) {
        return *kind;
    }
    std::string words;
    for (const GraphKindName& name : kGraphKinds) {
        words += (words.empty() ? "" : ", ") + std::string(name.word);
    }
    throw UsageError("--kind takes one of: " + words + "; not \"" + std::string(word) + "\"");
}

std::optional<int> side(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLargestSide) {
        return std::nullopt;
    }
    return value;
}

// "800x600": width and height in pixels.
QSize imageSize(std::string_view text) {
    const std::size_t x = text.find('x');
    const auto width = side(text.substr(0, x));
    const auto height = x == text.npos ? std::nullopt : side(text.substr(x + 1));
    if (!width || !height) {
        throw UsageError("--size takes WIDTHxHEIGHT in pixels (1.." + std::to_string(kLargestSide) +
                         " each), not \"" + std::string(text) + "\"");
    }
    return {*width, *height};
}

void checkImageSuffix(const fs::path& image) {
    if (imageTypeOf(image).empty()) {
        throw UsageError("-o names a .png, .svg or .pdf file, not \"" + image.string() + "\"");
    }
}

// What the command line asks for, checked before any work.
struct PlotRequest {
    fs::path input;
    fs::path image;
    GraphKind kind = GraphKind::Line;
    std::optional<int16_t> station;
    std::string road;
    TimeOptions times;
    std::optional<QSize> size;
    SpeedSettings speed;
};

PlotRequest plotRequest(const Arguments& arguments) {
    PlotRequest request;
    request.input = std::string(arguments.onlyPositional("INPUT"));
    request.image = std::string(arguments.required("-o"));
    checkImageSuffix(request.image);
    request.kind = plotKind(arguments.required("--kind"));
    const auto station = arguments.value("--station");
    const auto road = arguments.value("--road");
    if (station.has_value() == road.has_value()) {
        throw UsageError("give either --station or --road");
    }
    if (showsOneStation(request.kind)) {
        if (!station) {
            throw UsageError("a line or scatter graph shows one station: give --station N");
        }
        request.station = parseStationOption(*station);
    } else {
        if (!road) {
            throw UsageError("a road graph shows a road: give --road NAME");
        }
        request.road = std::string(*road);
    }
    request.times = timeOptions(arguments);
    if (const auto size = arguments.value("--size")) {
        request.size = imageSize(*size);
    }
    request.speed = speedSettings(arguments);
    return request;
}

// The main window's lists as a user would have set them for this graph: the station (or, for a
// road graph, the first station, as after a build), the road, the range and the interval of
// the recomputation.
GraphSelection graphSelection(const PlotRequest& request, const Day& day,
                              const IntervalTable& table, const IntervalRange& range, int row) {
    GraphSelection selection;
    selection.stationEntries = day.stations.count();
    if (row >= 0) {
        selection.station = row;
        selection.stationText = std::to_string(day.stations.staNumByIndex(row));
    }
    selection.start = range.start;
    selection.end = range.end;
    if (!showsOneStation(request.kind)) {
        selection.road = roadIndex(day, request.road);
    }
    selection.intervalText = [text = std::string(table.choice().text)] { return text; };
    selection.speed = request.speed;
    return selection;
}

}  // namespace

int runPlot(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kPlotOptions);
    const PlotRequest request = plotRequest(arguments);

    const HeadlessApplication application;
    Log log;
    return runWithLog(arguments, context, log, [&] {
        const auto [day, table, range] =
            obtainDayIntervals(request.input, arguments, request.times, context, log);
        int row = day->stations.count() > 0 ? 0 : -1;
        if (request.station) {
            const auto found = stationRow(*day, *request.station);
            if (const auto* refusal = std::get_if<Refusal>(&found)) {
                return refused(refusal->message);
            }
            row = std::get<int>(found);
        }
        const GraphSelection selection = graphSelection(request, *day, *table, range, row);
        if (graphShowsSpeed(request.kind)) {
            noteSpeedFallback(*day, request.speed, context.err);
        }

        BatchDialogs dialogs(context.err);
        const std::unique_ptr<GraphWindow> window(
            openGraph(request.kind, GraphData{day, table}, selection, dialogs, log, {}).window);
        if (!window) {
            if (dialogs.refusal()) {
                return refused(*dialogs.refusal());
            }
            throw Error(errc::kInvalidArgument, "No graph was drawn for " + request.input.string());
        }
        renderGraphWindow(*window, request.image, request.size.value_or(window->size()));
        return Outcome{};
    });
}

}  // namespace quorvane::cli
