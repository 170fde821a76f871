// quorvane-cli plot run as a program on a hand-made day: an image of every graph kind in each
// format and size, the refusals of the graph buttons (exit 1, nothing written or changed), the
// range rule's notice, and command lines of the wrong shape. What the graphs draw is tested
// with the graph windows.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "run_cli.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLoadLog = "Sta count=40\r\nRoad count=3\r\n";

class CliPlot : public CliFolder {
  protected:
    void SetUp() override {
        CliFolder::SetUp();
        ASSERT_EQ(runWithLists({"build", archive().string(), "--log", "build.log"}).status, 0);
    }

    // plot on the station file into `image`, with the test's lists.
    CliRun plot(const fs::path& image, const std::vector<std::string>& args) const {
        std::vector<std::string> all{"plot", stationFile().string(), "-o", image.string()};
        all.insert(all.end(), args.begin(), args.end());
        return runWithLists(all);
    }

    // Nothing but the lists, the archive, the station file, its log and `expected` files.
    void expectNoOtherFiles(const std::set<std::string>& expected) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir())) {
            names.insert(entry.path().filename().string());
        }
        std::set<std::string> wanted{"lists", "day.traffic", "day.station", "build.log"};
        wanted.insert(expected.begin(), expected.end());
        EXPECT_EQ(names, wanted);
    }
};

// A picture and not a blank page: many colours, as axes, text and data give.
void expectPicture(const fs::path& png, QSize size) {
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(png.string()), "PNG"));
    EXPECT_EQ(picture.size(), size);
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2) {
            colours.insert(picture.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 20u);
}

// PNG at the window's own size or the one given, SVG with the road's title and rows, PDF.
TEST_F(CliPlot, EveryKindDrawsAPictureInEachFormat) {
    const std::tuple<std::string, std::vector<std::string>, QSize> kinds[] = {
        {"line", {"--station", "102"}, {592, 358}},
        {"scatter", {"--station", "102"}, {441, 323}},
        {"volgrid", {"--road", "North"}, {566, 334}},
        {"occgrid", {"--road", "North"}, {575, 335}},
        {"volcontour", {"--road", "North"}, {575, 334}},
        {"occcontour", {"--road", "North"}, {575, 334}},
        {"speedgrid", {"--road", "North"}, {575, 335}},
        {"speedcontour", {"--road", "North", "--unit", "mph"}, {575, 334}},
        {"line", {"--station", "101", "--size", "1000x480"}, {1000, 480}},
    };
    for (auto [kind, args, size] : kinds) {
        SCOPED_TRACE(kind);
        const fs::path png = dir() / (kind + std::to_string(size.width()) + ".png");
        args.insert(args.end(), {"--kind", kind, "--interval", "5 min", "--log", "plot.log"});
        const CliRun plotted = plot(png, args);
        ASSERT_EQ(plotted.status, 0) << plotted.err;
        EXPECT_EQ(plotted.err + plotted.out, "");
        expectPicture(png, size);
    }
    EXPECT_EQ(readFile(dir() / "plot.log"), std::string(kLoadLog) + "\r\n");

    ASSERT_EQ(plot(dir() / "line.pdf", {"--kind", "line", "--station", "101"}).status, 0);
    EXPECT_TRUE(readFile(dir() / "line.pdf").starts_with("%PDF-"));
    ASSERT_EQ(plot(dir() / "grid.svg", {"--kind", "volgrid", "--road", "South", "--interval",
                                        "1 hour", "--size=320x200"})
                  .status,
              0);
    const std::string svg = readFile(dir() / "grid.svg");
    EXPECT_NE(svg.find("<svg viewBox=\"0 0 320 200\""), std::string::npos);
    EXPECT_NE(svg.find(">Road: South<"), std::string::npos);
    EXPECT_NE(svg.find(">1 (140)<"), std::string::npos) << "the station row is labelled";
}

// The speed graphs' colour bar is titled with the unit; a length in metres serves either unit.
TEST_F(CliPlot, SpeedGraphsTakeTheUnitAndTheVehicleLength) {
    for (const auto& [unit, title] :
         {std::pair{"km/h", ">Speed (km/h)<"}, {"mph", ">Speed (mph)<"}}) {
        const fs::path image = dir() / "speed.svg";
        const CliRun plotted =
            plot(image, {"--kind", "speedgrid", "--road", "South", "--interval", "1 hour",
                         "--unit", unit, "--vehicle-length", "7.5"});
        ASSERT_EQ(plotted.status, 0) << plotted.err;
        EXPECT_NE(readFile(image).find(title), std::string::npos) << unit;
    }
}

TEST_F(CliPlot, RefusalsExitOneAndWriteNothing) {
    const std::string badRange = "The end time must be greater than the start time.";
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"--kind", "scatter", "--station", "101", "--from", "02:00", "--to", "01:00"}, badRange},
        {{"--kind", "volgrid", "--road", "North", "--from", "06:00", "--to", "06:00"}, badRange},
        {{"--kind", "line", "--station", "999"}, "Station: 999 does not exist."},
        {{"--kind", "volgrid", "--road", "north"},
         "Error No: 5, Road \"north\" is not in VURRoad2Sta.list."},
        {{"--kind", "volcontour", "--road", "Ghost", "--interval", "2 min"},
         "\nStation: 999 does not exist.\nUnable to plot the graph."},
        {{"--kind", "speedgrid", "--road", "Ghost", "--interval", "2 min"},
         "\nStation: 999 does not exist.\nUnable to plot the graph."},
    };
    writeFile(dir() / "old.png", "old picture");
    for (const auto& [args, message] : refusals) {
        SCOPED_TRACE(args[1] + " " + args[3]);
        for (const char* image : {"new.png", "old.png"}) {
            const CliRun refused = plot(dir() / image, args);
            EXPECT_EQ(refused.status, 1);
            EXPECT_TRUE(refused.err.ends_with(message + "\n")) << refused.err;
        }
        EXPECT_EQ(readFile(dir() / "old.png"), "old picture");
        expectNoOtherFiles({"old.png"});
    }
}

TEST_F(CliPlot, WholeDayAtThirtySecondsIsCutWithANotice) {
    const fs::path grid = dir() / "grid.svg";
    const CliRun plotted = plot(grid, {"--kind", "volgrid", "--road", "North"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    // The notice comes first, then the log.
    EXPECT_EQ(plotted.err,
              "Your selected time range is too large. Please use 1 min or higer intervals to "
              "display 24 hours.\nThe graph will automatically adjust to a displayable range. "
              "Click OK to continue.\n" +
                  std::string(kLoadLog) + "\r\n");
    // Drawn from 00:00:00 to 08:20:00 only.
    const std::string svg = readFile(grid);
    EXPECT_NE(svg.find(">08:00<"), std::string::npos);
    EXPECT_EQ(svg.find(">12:00<"), std::string::npos);
}

TEST_F(CliPlot, CommandLinesOfTheWrongShapeAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong{
        {"--kind", "bars", "--station", "101"},
        {"--kind", "line", "--road", "North"},
        {"--kind", "volgrid", "--station", "101"},
        {"--kind", "speedgrid", "--road", "North Loop", "--unit", "kmh"},
        {"--kind", "speedgrid", "--road", "North Loop", "--vehicle-length", "31"},
        {"--kind", "line", "--station", "101", "--size", "800"},
        {"--kind", "line", "--station", "101", "--size", "9000x300"},
    };
    for (const auto& args : wrong) {
        const CliRun run = plot(dir() / "wrong.png", args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(run.err.starts_with("quorvane-cli: plot: ")) << run.err;
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(plot(dir() / "graph.gif", {"--kind", "line", "--station", "101"}).status, 2);
    expectNoOtherFiles({});
}

}  // namespace
}  // namespace quorvane::test
