// quorvane-cli plot run as a program on the test day's station file: every graph kind drawn in
// each format, the graph buttons' refusals (exit 1, nothing written), the range rule's notice,
// usage errors. What the graphs draw is tested with the graph windows.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "run_cli.h"
#include "views/speed.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLoadLog = "Sta count=40\r\nRoad count=3\r\n\r\n";

class CliPlot : public CliFolder {
  protected:
    void SetUp() override {
        CliFolder::SetUp();
        ASSERT_EQ(runWithLists({"build", archive().string(), "--log", "build.log"}).status, 0);
    }
    CliRun plot(const std::string& image, std::vector<std::string> args) const {
        args.insert(args.begin(), {"plot", "day.station", "-o", (dir() / image).string()});
        return runWithLists(args);
    }
};

// A station graph and road graphs (the travel time too) of each format, PNG at the window's own
// size or the one given, not a blank page but the many colours of axes, text and data; the SVG at
// the size given and with the unit asked for. Each kind's drawing is the graph windows' test.
TEST_F(CliPlot, EveryKindDrawsAPictureInEachFormat) {
    const std::tuple<std::string, std::vector<std::string>, QSize> kinds[] = {
        {"line", {"--station", "102"}, {592, 358}},
        {"speedcontour", {"--road", "North"}, {575, 334}},
        {"traveltime", {"--road", "South"}, {640, 400}},
        {"line", {"--station", "101", "--size", "1000x480"}, {1000, 480}},
    };
    writeFile(lists() / "VURStaPos.list", "140, 0.0,\r\n139, 1.0,\r\n138, 3.0,\r\n");
    for (auto [kind, args, size] : kinds) {
        SCOPED_TRACE(kind);
        const std::string png = kind + std::to_string(size.width()) + ".png";
        args.insert(args.end(), {"--kind", kind, "--interval", "5 min", "--log", "plot.log"});
        const CliRun plotted = plot(png, args);
        ASSERT_EQ(plotted.status, 0) << plotted.err;
        // The speed of a loaded day is the fixed-length estimate, and the command says so.
        EXPECT_EQ(plotted.err + plotted.out,
                  kind != "line" ? std::string(kLoadedDaySpeedNote) + "\n" : "");
        const QImage picture(QString::fromStdString((dir() / png).string()), "PNG");
        EXPECT_EQ(picture.size(), size);
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 2) {
            for (int x = 0; x < picture.width(); x += 2) {
                colours.insert(picture.pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 20u);
    }
    EXPECT_EQ(readFile(dir() / "plot.log"), kLoadLog);
    ASSERT_EQ(plot("line.pdf", {"--kind", "line", "--station", "101"}).status, 0);
    EXPECT_TRUE(readFile(dir() / "line.pdf").starts_with("%PDF-"));
    ASSERT_EQ(plot("grid.svg", {"--kind", "speedgrid", "--road", "South", "--interval", "1 hour",
                                "--size=320x200", "--unit", "mph", "--vehicle-length", "7.5"})
                  .status,
              0);
    const std::string svg = readFile(dir() / "grid.svg");
    EXPECT_TRUE(svg.find("<svg viewBox=\"0 0 320 200\"") != std::string::npos &&
                svg.find(">Speed (mph)<") != std::string::npos);
}

// The graph buttons' refusals exit 1 with their message last, command lines of the wrong shape
// 2 with the usage text; neither writes an image nor touches the one there.
TEST_F(CliPlot, RefusalsAndUsageErrorsWriteNothing) {
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"--kind", "scatter", "--station", "101", "--from", "02:00", "--to", "01:00"},
         1,
         "The end time must be greater than the start time.\n"},
        {{"--kind", "line", "--station", "999"}, 1, "Station: 999 does not exist.\n"},
        {{"--kind", "speedgrid", "--road", "Ghost", "--interval", "2 min"},
         1,
         "\nStation: 999 does not exist.\nUnable to plot the graph.\n"},
        {{"--kind", "traveltime", "--road", "South"},
         1,
         "Station positions are needed: VURStaPos.list was not found beside the definition "
         "lists.\n"},
        {{"--kind", "bars", "--station", "101"}, 2, ""},
        {{"--kind", "line", "--road", "North"}, 2, ""},
        {{"--kind", "speedgrid", "--road", "North", "--unit", "kmh"}, 2, ""},
        {{"--kind", "line", "--station", "101", "--size", "9000x300"}, 2, ""},
    };
    writeFile(dir() / "old.png", "old picture");
    for (const auto& [args, status, message] : cases) {
        for (const char* image : {"new.png", "old.png"}) {
            const CliRun refused = plot(image, args);
            EXPECT_EQ(refused.status, status) << args[1];
            EXPECT_TRUE(status == 1 ? refused.err.ends_with(message)
                                    : refused.err.starts_with("quorvane-cli: plot: "))
                << refused.err;
        }
    }
    EXPECT_EQ(plot("graph.gif", {"--kind", "line", "--station", "101"}).status, 2);
    EXPECT_EQ(readFile(dir() / "old.png"), "old picture");
    EXPECT_FALSE(fs::exists(dir() / "new.png") || fs::exists(dir() / "graph.gif"));
}

// The notice comes first, then the log; where the range is cut is the graph windows' test.
TEST_F(CliPlot, WholeDayAtThirtySecondsIsCutWithANotice) {
    const CliRun plotted = plot("grid.svg", {"--kind", "volgrid", "--road", "North"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_EQ(plotted.err,
              "Your selected time range is too large. Please use 1 min or higer intervals to "
              "display 24 hours.\nThe graph will automatically adjust to a displayable range. "
              "Click OK to continue.\n" +
                  std::string(kLoadLog));
}

}  // namespace
}  // namespace quorvane::test
