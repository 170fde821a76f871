// quorvane-cli plot run as a program on the test day's station file: every graph kind drawn in
// each format, the graph buttons' refusals (exit 1, nothing written), the range rule's notice,
// usage errors. What the graphs draw is tested with the graph windows.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "run_cli.h"

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
        args.insert(args.begin(), {"plot", stationFile().string(), "-o", (dir() / image).string()});
        return runWithLists(args);
    }
};

// PNG at the window's own size or the one given, not a blank page but the many colours of axes,
// text and data; PDF; SVG with the road's title and rows and the speed's unit.
TEST_F(CliPlot, EveryKindDrawsAPictureInEachFormat) {
    const std::tuple<std::string, std::vector<std::string>, QSize> kinds[] = {
        {"line", {"--station", "102"}, {592, 358}},
        {"scatter", {"--station", "102"}, {441, 323}},
        {"volgrid", {"--road", "North"}, {566, 334}},
        {"occgrid", {"--road", "North"}, {575, 335}},
        {"volcontour", {"--road", "North"}, {575, 334}},
        {"occcontour", {"--road", "North"}, {575, 334}},
        {"speedgrid", {"--road", "North"}, {575, 335}},
        {"speedcontour", {"--road", "North"}, {575, 334}},
        {"line", {"--station", "101", "--size", "1000x480"}, {1000, 480}},
    };
    for (auto [kind, args, size] : kinds) {
        SCOPED_TRACE(kind);
        const std::string png = kind + std::to_string(size.width()) + ".png";
        args.insert(args.end(), {"--kind", kind, "--interval", "5 min", "--log", "plot.log"});
        const CliRun plotted = plot(png, args);
        ASSERT_EQ(plotted.status, 0) << plotted.err;
        EXPECT_EQ(plotted.err + plotted.out, "");
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
    for (const char* text :
         {"<svg viewBox=\"0 0 320 200\"", ">Road: South<", ">1 (140)<", ">Speed (mph)<"}) {
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    }
}

TEST_F(CliPlot, RefusalsExitOneAndWriteNothing) {
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"--kind", "scatter", "--station", "101", "--from", "02:00", "--to", "01:00"},
         "The end time must be greater than the start time."},
        {{"--kind", "line", "--station", "999"}, "Station: 999 does not exist."},
        {{"--kind", "speedgrid", "--road", "Ghost", "--interval", "2 min"},
         "\nStation: 999 does not exist.\nUnable to plot the graph."},
    };
    writeFile(dir() / "old.png", "old picture");
    for (const auto& [args, message] : refusals) {
        for (const char* image : {"new.png", "old.png"}) {
            const CliRun refused = plot(image, args);
            EXPECT_EQ(refused.status, 1) << args[1];
            EXPECT_TRUE(refused.err.ends_with(message + "\n")) << refused.err;
        }
    }
    EXPECT_EQ(readFile(dir() / "old.png"), "old picture");
    EXPECT_FALSE(fs::exists(dir() / "new.png"));
}

// The notice comes first, then the log; the grid is drawn from 00:00:00 to 08:20:00 only.
TEST_F(CliPlot, WholeDayAtThirtySecondsIsCutWithANotice) {
    const CliRun plotted = plot("grid.svg", {"--kind", "volgrid", "--road", "North"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_EQ(plotted.err,
              "Your selected time range is too large. Please use 1 min or higer intervals to "
              "display 24 hours.\nThe graph will automatically adjust to a displayable range. "
              "Click OK to continue.\n" +
                  std::string(kLoadLog));
    const std::string svg = readFile(dir() / "grid.svg");
    EXPECT_NE(svg.find(">08:00<"), std::string::npos);
    EXPECT_EQ(svg.find(">12:00<"), std::string::npos);
}

TEST_F(CliPlot, CommandLinesOfTheWrongShapeAreUsageErrors) {
    const std::vector<std::string> wrong[] = {
        {"--kind", "bars", "--station", "101"},
        {"--kind", "line", "--road", "North"},
        {"--kind", "speedgrid", "--road", "North", "--unit", "kmh"},
        {"--kind", "line", "--station", "101", "--size", "9000x300"},
    };
    for (const auto& args : wrong) {
        const CliRun run = plot("wrong.png", args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(run.err.starts_with("quorvane-cli: plot: ")) << run.err;
    }
    EXPECT_EQ(plot("graph.gif", {"--kind", "line", "--station", "101"}).status, 2);
    EXPECT_FALSE(fs::exists(dir() / "wrong.png") || fs::exists(dir() / "graph.gif"));
}

}  // namespace
}  // namespace quorvane::test
