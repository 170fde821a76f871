// quorvane-cli plot run as a program on a hand-made day: the image of every graph kind in every
// format, its size, the refusals of the graph buttons (exit 1, nothing written or changed), the
// range rule's notice, and command lines of the wrong shape.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "run_cli.h"
#include "support/test_files.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kStationListText = "101, P, 11,\r\n102, P, 21,\r\n103, P, 31,\r\n";
// Station 999 of "Broken Road" is in no station list line.
constexpr std::string_view kRoadListText =
    "North Loop, 101, 102, 103,\r\nEast Spur, 103,\r\nBroken Road, 101, 999, 102,\r\n";
constexpr std::string_view kLoadLog = "Sta count=3\r\nRoad count=3\r\n";

constexpr std::string_view kRangeNoticeStart =
    "Your selected time range is too large. Please use 1 min or higer intervals to display 24 "
    "hours.\n";
constexpr std::string_view kColorGridNoticeEnd =
    "The graph will automatically adjust to a displayable range. Click OK to continue.\n";
constexpr std::string_view kContourNoticeEnd =
    "The graph will display only a part of the selected time range. Click OK to continue.\n";

// A day whose volume and occupancy rise over the morning and differ from station to station,
// so that every graph has something to draw.
std::vector<ZipMember> dayMembers() {
    std::vector<ZipMember> members;
    for (int station = 0; station < 3; ++station) {
        std::vector<uint8_t> volumes(2880);
        std::vector<int16_t> occupancies(2880);
        for (int k = 0; k < 2880; ++k) {
            volumes[k] = static_cast<uint8_t>((k / 60 + station * 7) % 25);
            occupancies[k] = static_cast<int16_t>(((k / 90) % 30 + station * 40) * 10);
        }
        const std::string detector = std::to_string(11 + 10 * station);
        members.push_back({detector + ".o30", occupancyBytes(occupancies)});
        members.push_back({detector + ".v30", volumeBytes(volumes)});
    }
    return members;
}

struct KindCase {
    std::string kind;
    std::vector<std::string> selector;
    int width;  // the window's own size, the default image size
    int height;
};

const std::vector<KindCase>& kindCases() {
    static const std::vector<KindCase> cases{
        {"line", {"--station", "102"}, 592, 358},
        {"scatter", {"--station", "102"}, 441, 323},
        {"volgrid", {"--road", "North Loop"}, 566, 334},
        {"occgrid", {"--road", "North Loop"}, 575, 335},
        {"volcontour", {"--road", "North Loop"}, 575, 334},
        {"occcontour", {"--road", "North Loop"}, 575, 334},
    };
    return cases;
}

class CliPlot : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(lists());
        writeFile(lists() / "VURSta2Det.list", kStationListText);
        writeFile(lists() / "VURRoad2Sta.list", kRoadListText);
        writeZip(archive(), dayMembers());
        const CliRun built = run({"build", archive().string(), "--lists", lists().string(), "--log",
                                  (dir() / "build.log").string()});
        ASSERT_EQ(built.status, 0) << built.err;
    }

    fs::path lists() const { return dir_ / "lists"; }
    fs::path archive() const { return dir_ / "day.traffic"; }
    fs::path stationFile() const { return dir_ / "day.station"; }
    const fs::path& dir() const { return dir_.path(); }

    CliRun run(const std::vector<std::string>& args) const { return runCli(args, dir()); }
    // plot on the station file into `image`, with the test's lists.
    CliRun plot(const fs::path& image, std::vector<std::string> args) const {
        std::vector<std::string> all{"plot",    stationFile().string(), "-o", image.string(),
                                     "--lists", lists().string()};
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
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

  private:
    TempDir dir_;
};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A picture and not a blank page: many colours, as axes, text and data give.
int colourCount(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

void expectSvg(const std::string& bytes, int width, int height) {
    EXPECT_TRUE(bytes.starts_with("<?xml")) << bytes.substr(0, 40);
    EXPECT_NE(bytes.find("<svg viewBox=\"0 0 " + std::to_string(width) + " " +
                         std::to_string(height) + "\""),
              std::string::npos);
    EXPECT_NE(bytes.find("</svg>"), std::string::npos);
}

void expectPdf(const std::string& bytes) {
    EXPECT_TRUE(bytes.starts_with("%PDF-")) << bytes.substr(0, 10);
    EXPECT_NE(bytes.rfind("%%EOF"), std::string::npos);
}

TEST_F(CliPlot, EveryKindWritesPngSvgAndPdfAtTheWindowsOwnSize) {
    for (const KindCase& kind : kindCases()) {
        SCOPED_TRACE(kind.kind);
        const auto args = with({"--kind", kind.kind, "--interval", "5 min"}, kind.selector);
        for (const std::string suffix : {"png", "svg", "pdf"}) {
            const fs::path image = dir() / (kind.kind + "." + suffix);
            const CliRun plotted = plot(image, with(args, {"--log", "plot.log"}));
            ASSERT_EQ(plotted.status, 0) << plotted.err;
            EXPECT_EQ(plotted.err, "");
            EXPECT_EQ(plotted.out, "");
            const std::string bytes = readFile(image);
            ASSERT_FALSE(bytes.empty());
            if (suffix == "png") {
                EXPECT_TRUE(bytes.starts_with("\x89PNG\r\n\x1a\n"));
                QImage picture;
                ASSERT_TRUE(picture.load(QString::fromStdString(image.string()), "PNG"));
                EXPECT_EQ(picture.width(), kind.width);
                EXPECT_EQ(picture.height(), kind.height);
                EXPECT_GT(colourCount(picture), 20);
            } else if (suffix == "svg") {
                expectSvg(bytes, kind.width, kind.height);
            } else {
                expectPdf(bytes);
            }
        }
        EXPECT_EQ(readFile(dir() / "plot.log"), std::string(kLoadLog) + "\r\n");
    }
}

TEST_F(CliPlot, DrawsTheSameGraphFromTheArchive) {
    const fs::path image = dir() / "from-archive.svg";
    const CliRun plotted = run({"plot", archive().string(), "-o", image.string(), "--lists",
                                lists().string(), "--kind", "volgrid", "--road", "East Spur",
                                "--interval", "1 hour", "--log", "archive.log"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    const std::string svg = readFile(image);
    expectSvg(svg, 566, 334);
    EXPECT_NE(svg.find(">Road: East Spur<"), std::string::npos);
    EXPECT_NE(svg.find(">1 (103)<"), std::string::npos) << "the station row is labelled";
    EXPECT_EQ(readFile(dir() / "archive.log"), "Sta count=3\r\nRoad count=3\r\n\r\n");
}

TEST_F(CliPlot, SizeSetsThePixelsOfTheImage) {
    const fs::path png = dir() / "big.png";
    const CliRun plotted = plot(png, {"--kind", "line", "--station", "101", "--size", "1000x480"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(png.string()), "PNG"));
    EXPECT_EQ(picture.size(), QSize(1000, 480));
    EXPECT_GT(colourCount(picture), 20);

    const fs::path svg = dir() / "small.svg";
    ASSERT_EQ(plot(svg, {"--kind", "occcontour", "--road", "North Loop", "--interval", "15 min",
                         "--size=320x200"})
                  .status,
              0);
    expectSvg(readFile(svg), 320, 200);
}

// The last lines of standard error: the message a refused request ends with.
void expectRefusal(const CliRun& run, std::string_view message) {
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(run.err.ends_with(std::string(message) + "\n")) << run.err;
}

TEST_F(CliPlot, RefusalsExitOneAndWriteNothing) {
    struct Refusal {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string badRange = "The end time must be greater than the start time.";
    const std::string missing999 = "Station: 999 does not exist.\nUnable to plot the graph.";
    const std::vector<Refusal> refusals{
        {{"--kind", "line", "--station", "101", "--from", "01:00", "--to", "01:00"}, badRange},
        {{"--kind", "scatter", "--station", "101", "--from", "02:00", "--to", "01:00"}, badRange},
        {{"--kind", "volgrid", "--road", "North Loop", "--from", "06:00", "--to", "06:00"},
         badRange},
        {{"--kind", "occcontour", "--road", "North Loop", "--interval", "1 hour", "--from", "23:00",
          "--to", "22:00"},
         badRange},
        {{"--kind", "line", "--station", "999"}, "Station: 999 does not exist."},
        {{"--kind", "scatter", "--station", "104"}, "Station: 104 does not exist."},
        {{"--kind", "volgrid", "--road", "Broken Road", "--interval", "1 min"}, missing999},
        {{"--kind", "occgrid", "--road", "Broken Road", "--interval", "1 min"}, missing999},
        {{"--kind", "volcontour", "--road", "Broken Road", "--interval", "1 min"}, missing999},
        {{"--kind", "occcontour", "--road", "Broken Road"}, missing999},
        {{"--kind", "volgrid", "--road", "Nowhere"},
         "Error No: 5, Road \"Nowhere\" is not in VURRoad2Sta.list."},
        {{"--kind", "volgrid", "--road", "north loop"},
         "Error No: 5, Road \"north loop\" is not in VURRoad2Sta.list."},
        {{"--kind", "line", "--station", "101", "--from", "00:00:10"},
         "Error No: 5, --from 00:00:10 is not the start of a 30 sec interval."},
    };
    writeFile(dir() / "old.png", "old picture");
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.args[1] + " " + refusal.args[3]);
        expectRefusal(plot(dir() / "new.png", refusal.args), refusal.message);
        expectRefusal(plot(dir() / "old.png", refusal.args), refusal.message);
        EXPECT_EQ(readFile(dir() / "old.png"), "old picture");
        expectNoOtherFiles({"old.png"});
    }
}

TEST_F(CliPlot, MissingRoadStationIsLoggedAsTheButtonLogsIt) {
    const CliRun refused =
        plot(dir() / "broken.pdf", {"--kind", "volcontour", "--road", "Broken Road", "--interval",
                                    "2 min", "--log", "refusal.log"});
    expectRefusal(refused, "Station: 999 does not exist.\nUnable to plot the graph.");
    EXPECT_EQ(refused.err, "Station: 999 does not exist.\nUnable to plot the graph.\n");
    EXPECT_EQ(readFile(dir() / "refusal.log"),
              std::string(kLoadLog) + "Broken Road :999doesn't exist.\r\n");
    expectNoOtherFiles({"refusal.log"});
}

TEST_F(CliPlot, WholeDayAtThirtySecondsIsCutWithANotice) {
    const fs::path grid = dir() / "grid.svg";
    const CliRun gridRun =
        plot(grid, {"--kind", "volgrid", "--road", "North Loop", "--log", "grid.log"});
    ASSERT_EQ(gridRun.status, 0) << gridRun.err;
    EXPECT_EQ(gridRun.err, std::string(kRangeNoticeStart) + std::string(kColorGridNoticeEnd));
    // Drawn from 00:00:00 to 08:20:00 only.
    const std::string svg = readFile(grid);
    EXPECT_NE(svg.find(">08:00<"), std::string::npos);
    EXPECT_EQ(svg.find(">12:00<"), std::string::npos);

    const fs::path contour = dir() / "contour.png";
    const CliRun contourRun = plot(contour, {"--kind", "occcontour", "--road", "North Loop"});
    ASSERT_EQ(contourRun.status, 0) << contourRun.err;
    EXPECT_EQ(contourRun.err, std::string(kRangeNoticeStart) + std::string(kContourNoticeEnd) +
                                  std::string(kLoadLog) + "\r\n");
    EXPECT_GT(fs::file_size(contour), 0u);

    // Twelve hours pass whole, as does the whole day at 1 min; the station graphs know no cut.
    const std::vector<std::vector<std::string>> uncut{
        {"--kind", "occgrid", "--road", "North Loop", "--from", "00:00", "--to", "12:00"},
        {"--kind", "volcontour", "--road", "North Loop", "--interval", "1 min"},
        {"--kind", "line", "--station", "103"},
    };
    for (const auto& args : uncut) {
        const CliRun whole = plot(dir() / "whole.svg", with(args, {"--log", "whole.log"}));
        ASSERT_EQ(whole.status, 0) << whole.err;
        EXPECT_EQ(whole.err, "") << args[1];
    }
    EXPECT_NE(readFile(dir() / "whole.svg").find(">20:00<"), std::string::npos);
}

TEST_F(CliPlot, CommandLinesOfTheWrongShapeAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong{
        {"--kind", "bars", "--station", "101"},
        {"--station", "101"},
        {"--kind", "line"},
        {"--kind", "line", "--station", "101", "--road", "North Loop"},
        {"--kind", "line", "--road", "North Loop"},
        {"--kind", "volgrid", "--station", "101"},
        {"--kind", "line", "--station", "1e2"},
        {"--kind", "line", "--station", "101", "--size", "800"},
        {"--kind", "line", "--station", "101", "--size", "0x300"},
        {"--kind", "line", "--station", "101", "--size", "800x-3"},
        {"--kind", "line", "--station", "101", "--size", "9000x300"},
        {"--kind", "line", "--station", "101", "--interval", "7 min"},
        {"--kind", "line", "--station", "101", "--to", "25:00"},
    };
    for (const auto& args : wrong) {
        const CliRun run = plot(dir() / "wrong.png", args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(run.err.starts_with("quorvane-cli: plot: ")) << run.err;
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    const CliRun gif = plot(dir() / "graph.gif", {"--kind", "line", "--station", "101"});
    EXPECT_EQ(gif.status, 2);
    const CliRun noOutput =
        run({"plot", stationFile().string(), "--kind", "line", "--station", "101"});
    EXPECT_EQ(noOutput.status, 2);
    expectNoOtherFiles({});
}

}  // namespace
}  // namespace quorvane::test
