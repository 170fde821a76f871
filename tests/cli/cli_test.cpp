// quorvane-cli run as a program on a hand-made day and on the sample day: exit statuses,
// standard error, byte-exact outputs, and no file written (or changed) on a refusal. The rules
// behind the outputs are the engine's and are tested there; each path is run once here.
#include <gtest/gtest.h>

#include "run_cli.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

// Detector 22 is missing from the archive: the build logs its station.
constexpr std::string_view kBuildLog = "Sta count=3\r\nRoad count=2\r\nStation: 102: \r\n";

class CliDay : public CliFolder {
  protected:
    // 101: volumes 4 + 6, occupancies 10 % and 20 %; 102: 10 vehicles at 30 % ("c30") and a
    // missing detector; 103: hour % 5 vehicles in every slot at 5 %.
    void SetUp() override {
        std::vector<uint8_t> hourly(2880);
        for (int k = 0; k < 2880; ++k) {
            hourly[k] = static_cast<uint8_t>((k / 120) % 5);
        }
        const std::vector<ZipMember> members{
            {"11.o30", occupancyBytes(int16_t{100})}, {"11.v30", volumeBytes(4)},
            {"12.o30", occupancyBytes(int16_t{200})}, {"12.v30", volumeBytes(6)},
            {"21.c30", occupancyBytes(int16_t{540})}, {"21.v30", volumeBytes(10)},
            {"31.o30", occupancyBytes(int16_t{50})},  {"31.v30", volumeBytes(hourly)},
        };
        writeDay("101, P, 11, 12,\r\n102, P, 21, 22,\r\n103, P, 31,\r\n",
                 "North Loop, 101, 102, 103,\r\nEast Spur, 103, 101,\r\n", members);
    }
    void build() const { ASSERT_EQ(runWithLists({"build", archive().string()}).status, 0); }
};

TEST_F(CliDay, BuildSavesTheStationFileAndTheLog) {
    const CliRun logged = runWithLists({"build", archive().string(), "--log", "build.log"});
    ASSERT_EQ(logged.status, 0) << logged.err;
    EXPECT_EQ(logged.err, "");
    EXPECT_EQ(readFile(dir() / "build.log"), kBuildLog);
    EXPECT_EQ(fs::file_size(stationFile()), 40u + 17280u * 3u);
    EXPECT_FALSE(fs::exists(dir() / "zipFileInfo.txt"));

    // Without --log the log goes to standard error; -o names the file.
    const CliRun named = runWithLists({"build", archive().string(), "-o", "other.station"});
    ASSERT_EQ(named.status, 0);
    EXPECT_EQ(named.err, kBuildLog);
    EXPECT_EQ(readFile(dir() / "other.station"), readFile(stationFile()));

    // Only a final ".traffic" is replaced; other names get ".station" appended.
    fs::copy_file(archive(), dir() / "may5.zip");
    fs::copy_file(archive(), dir() / "day.traffic.traffic");
    ASSERT_EQ(runWithLists({"build", "may5.zip"}).status, 0);
    ASSERT_EQ(runWithLists({"build", "day.traffic.traffic"}).status, 0);
    EXPECT_TRUE(fs::exists(dir() / "may5.zip.station"));
    EXPECT_TRUE(fs::exists(dir() / "day.traffic.station"));
}

TEST_F(CliDay, ZipInfoWritesTheMemberReportIntoTheCurrentFolder) {
    fs::create_directory(dir() / "work");
    const CliRun built = runCli({"build", archive().string(), "--zip-info", "--lists",
                                 lists().string(), "--log", "log.txt"},
                                dir() / "work");
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(readFile(dir() / "work" / "log.txt"),
              "Detailed internal file info of the zip file is saved in zipFileInfo.txt\r\n" +
                  std::string(kBuildLog));

    const CliRun info = run({"info", archive().string()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_TRUE(info.out.starts_with("Number of files in zip file:  8 \r\n")) << info.out;
    EXPECT_EQ(readFile(dir() / "work" / "zipFileInfo.txt"), info.out);
}

TEST_F(CliDay, FailedBuildReportsTheErrorAndLeavesTheOldFile) {
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    writeFile(dir() / "junk.station", "old");
    const std::string error =
        "Error No: 321, Invalid file format: junk.traffic (Not a zip archive).\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"build", "junk.traffic", "--lists", lists().string()},
             {"build", "junk.traffic", "--lists", lists().string(), "-o", "new.station"},
             {"info", "junk.traffic"}}) {
        const CliRun failed = run(args);
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.err, error);
    }
    EXPECT_EQ(readFile(dir() / "junk.station"), "old");
    EXPECT_FALSE(fs::exists(dir() / "new.station"));
}

TEST_F(CliDay, ExportWritesTheMainWindowsCsvFromStationFileOrArchive) {
    build();
    const std::vector<std::string> range{"-o",     "out.csv", "--stations", "101,103", "--interval",
                                         "1 hour", "--from",  "00:00",      "--to",    "02:00:00"};
    // --worst takes the busier detector's occupancy, 20 % instead of the mean 15 %.
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"export", "day.station"},
                                               {"export", "day.traffic"},
                                               {"export", "day.traffic", "--worst"}}) {
        SCOPED_TRACE(args.back());
        const std::string occ = args.size() == 3 ? "20.00" : "15.00";
        args.insert(args.end(), range.begin(), range.end());
        ASSERT_EQ(runWithLists(args).status, 0);
        EXPECT_EQ(readFile(dir() / "out.csv"), ",101.occ,101.vol,103.occ,103.vol\r\n00:00:00," +
                                                   occ + ", 1200 ,00.00, 0 \r\n01:00:00," + occ +
                                                   ", 1200 ,05.00, 120 \r\n02:00:00," + occ +
                                                   ", 1200 ,05.00, 240 \r\n");
    }
}

TEST_F(CliDay, ExportByRoadTakesItsStationsInRoadOrderOverTheWholeDay) {
    build();
    const CliRun exported =
        runWithLists({"export", "day.station", "-o", "road.csv", "--road", "East Spur"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string csv = readFile(dir() / "road.csv");
    EXPECT_TRUE(
        csv.starts_with(",103.occ,103.vol,101.occ,101.vol\r\n00:00:00,00.00, 0 ,15.00, 10 \r\n"));
    EXPECT_TRUE(csv.ends_with("23:59:30,05.00, 3 ,15.00, 10 \r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2881);
}

TEST_F(CliDay, SumPrintsTheVolumeOfTheRange) {
    build();
    const CliRun wholeDay = runWithLists({"sum", "day.station", "--station", "101"});
    EXPECT_EQ(wholeDay.status, 0);
    EXPECT_EQ(wholeDay.out, "28800\n");
    const CliRun range = runWithLists({"sum", "day.traffic", "--station", "103", "--interval",
                                       "1 hour", "--from", "07:00", "--to", "08:00"});
    EXPECT_EQ(range.status, 0) << range.err;
    EXPECT_EQ(range.out, "600\n");
}

// A refusal exits 1 with its message last on standard error and prints nothing; it writes no
// CSV file and leaves the one already there (CSV stands for both) as it was.
TEST_F(CliDay, RefusalsExitOneAndKeepTheOldFile) {
    build();
    writeFile(dir() / "out.csv", "old");
    const std::string badRange = "The end time must be greater than the start time.\n";
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"export", "-o", "CSV", "--stations", "101", "--from", "05:00", "--to", "05:00"},
         badRange},
        {{"export", "-o", "CSV", "--stations", "101,999", "--log", "log.txt"},
         "Station: 999 does not exist.\nUnable to generate the csv file.\n"},
        {{"export", "-o", "CSV", "--stations", "101", "--interval", "15 min", "--from", "07:10"},
         "Error No: 5, --from 07:10 is not the start of a 15 min interval.\n"},
        {{"export", "-o", "CSV", "--road", "East"},
         "Error No: 5, Road \"East\" is not in VURRoad2Sta.list.\n"},
        {{"export", "-o", "none/x.csv", "--stations", "101"},
         "Error No: 76, Path not found: none/x.csv.\n"},
        {{"sum", "--station", "999"}, "Station: 999 does not exist.\n"},
        {{"sum", "--station", "101", "--from", "01:00", "--to", "01:00"}, badRange},
    };
    for (const auto& [row, message] : refusals) {
        for (const std::string csv : {"out.csv", "new.csv"}) {
            std::vector<std::string> args = row;
            args.insert(args.begin() + 1, "day.station");
            std::replace(args.begin(), args.end(), std::string("CSV"), csv);
            SCOPED_TRACE(args[3] + " " + args.back());
            const CliRun refused = runWithLists(args);
            EXPECT_EQ(refused.status, 1);
            EXPECT_TRUE(refused.err.ends_with(message)) << refused.err;
            EXPECT_EQ(refused.out, "");
        }
    }
    EXPECT_EQ(readFile(dir() / "out.csv"), "old");
    EXPECT_FALSE(fs::exists(dir() / "new.csv"));
    // The log still goes to --log.
    EXPECT_NE(readFile(dir() / "log.txt").find("Station = 999 doesn't exist."), std::string::npos);
}

// 11, 12 and 21 hold one occupancy all day, 22 is missing, 31 counts no vehicle in four of the
// window's hours while its occupancy stays at 5 %.
TEST_F(CliDay, HealthWritesTheGradesAsCsvAndTheSummaryLast) {
    const std::string csv =
        "station,detector,status,samples,implausible,zero_occupancy,high_occupancy,"
        "zero_volume_positive_occupancy,zero_occupancy_positive_volume,"
        "longest_constant_minutes\r\n"
        "101,11,constant,2040,0,0,0,0,0,1020\r\n"
        "101,12,constant,2040,0,0,0,0,0,1020\r\n"
        "102,21,constant,2040,0,0,0,0,0,1020\r\n"
        "102,22,no data,0,0,0,0,0,0,0\r\n"
        "103,31,intermittent,2040,0,0,0,480,0,1020\r\n";
    const std::string summary = "Detector health: 1 no data, 1 intermittent, 3 constant\n";
    const CliRun toFile = runWithLists({"health", "day.traffic", "-o", "health.csv"});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(readFile(dir() / "health.csv"), csv);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(toFile.err, std::string(kBuildLog) + summary);

    const CliRun toOut = runWithLists({"health", "day.traffic", "--log", "log.txt"});
    ASSERT_EQ(toOut.status, 0) << toOut.err;
    EXPECT_EQ(toOut.out, csv);
    EXPECT_EQ(toOut.err, summary);
    EXPECT_EQ(readFile(dir() / "log.txt"), kBuildLog);
}

TEST_F(CliDay, HealthFailuresExitOneAndWriteNothing) {
    build();
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"health", "day.station", "-o", "h.csv"},
         "Detector health needs a build from the archive.\n"},
        {{"health", "gone.traffic", "-o", "h.csv"},
         "Error No: 53, File not found: gone.traffic.\n"},
        {{"health", "day.traffic", "-o", "none/h.csv"},
         "Error No: 76, Path not found: none/h.csv.\n"},
    };
    for (const auto& [args, message] : failures) {
        const CliRun failed = runWithLists(args);
        EXPECT_EQ(failed.status, 1);
        EXPECT_TRUE(failed.err.ends_with(message)) << failed.err;
        EXPECT_EQ(failed.out, "");
    }
    EXPECT_FALSE(fs::exists(dir() / "h.csv"));
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"health"},
                                               {"health", "a.traffic", "b.traffic"},
                                               {"health", "day.traffic", "--worst"}}) {
        EXPECT_EQ(run(args).status, 2) << args.back();
    }
}

TEST_F(CliDay, CommandLinesOfTheWrongShapeAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong{
        {},
        {"frobnicate"},
        {"build"},
        {"build", "a.traffic", "b.traffic"},
        {"build", "a.traffic", "--bogus"},
        {"build", "a.traffic", "-o"},
        {"build", "a.traffic", "--worst=yes"},
        {"build", "a.traffic", "--worst", "--worst"},
        {"export", "day.station", "--stations", "101"},
        {"export", "day.station", "-o", "x.csv"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--road", "East Spur"},
        {"export", "day.station", "-o", "x.csv", "--stations", "40000"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--interval", "1 Hour"},
        {"sum", "day.station", "--station", "abc"},
        {"sum", "day.station", "--station", "101", "--from", "7h"},
    };
    for (const auto& args : wrong) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(dir() / "x.csv"));
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quorvane-cli export INPUT -o OUT.csv"), std::string::npos);
}

TEST_F(CliDay, ListsDefaultToTheProgramsFolder) {
    const fs::path copy = lists() / "quorvane-cli";
    fs::copy_file(cliProgram(), copy);
    const CliRun built = runProgram(copy, {"build", archive().string()}, dir());
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, kBuildLog);
}

TEST(CliSampleDay, BuildsTheSampleDay) {
    TempDir dir;
    const CliRun sampled = runCli({"sample", "day"}, dir.path());
    ASSERT_EQ(sampled.status, 0) << sampled.err;
    EXPECT_NE(sampled.out.find("60 stations on 3 roads"), std::string::npos);

    const CliRun built =
        runCli({"build", "day/sample.traffic", "--lists", (dir / "day").string()}, dir.path());
    ASSERT_EQ(built.status, 0) << built.err;
    // The lists fit the archive but for the missing detector and the one without occupancy.
    EXPECT_EQ(built.err,
              "Sta count=60\r\nRoad count=3\r\nStation: 107: Det 1093 does not exist\r\n"
              "Station: 205: \r\n");
    EXPECT_EQ(fs::file_size(dir / "day" / "sample.station"), 40u + 17280u * 60u);

    // The day a new user opens first shows every status.
    const CliRun health =
        runCli({"health", "day/sample.traffic", "--lists", (dir / "day").string(), "-o", "h.csv"},
               dir.path());
    ASSERT_EQ(health.status, 0) << health.err;
    EXPECT_TRUE(health.err.ends_with(
        "\nDetector health: 223 good, 2 no data, 1 insufficient data, 1 card off, "
        "1 high values, 1 intermittent, 1 constant\n"))
        << health.err;
}

}  // namespace
}  // namespace quorvane::test
