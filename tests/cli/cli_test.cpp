// quorvane-cli run as a program on a hand-made day and on the sample day: exit statuses,
// standard error, byte-exact outputs, and no file written (or changed) on a refusal. The rules
// behind the outputs are the engine's and are tested there; each path is run once here.
#include <gtest/gtest.h>

#include "run_cli.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

// Detector 1402 is missing from the archive: the build logs its station.
constexpr std::string_view kBuildLog = "Sta count=40\r\nRoad count=3\r\nStation: 140: \r\n";

class CliDay : public CliFolder {
  protected:
    void build() const { ASSERT_EQ(runWithLists({"build", archive().string()}).status, 0); }
};

TEST_F(CliDay, BuildSavesTheStationFileAndTheLog) {
    const CliRun logged = runWithLists({"build", archive().string(), "--log", "build.log"});
    ASSERT_EQ(logged.status, 0) << logged.err;
    EXPECT_EQ(logged.err, "");
    EXPECT_EQ(readFile(dir() / "build.log"), kBuildLog);
    EXPECT_EQ(fs::file_size(stationFile()), 40u + 17280u * 40u);
    EXPECT_FALSE(fs::exists(dir() / "zipFileInfo.txt"));
    // Without --log the log goes to standard error; -o names the file.
    const CliRun named = runWithLists({"build", archive().string(), "-o", "other.station"});
    EXPECT_EQ(std::pair(named.status, named.err), std::pair(0, std::string(kBuildLog)));
    EXPECT_EQ(readFile(dir() / "other.station"), readFile(stationFile()));
    // Only a final ".traffic" is replaced; other names get ".station" appended.
    fs::copy_file(archive(), dir() / "may5.zip");
    ASSERT_EQ(runWithLists({"build", "may5.zip"}).status, 0);
    EXPECT_TRUE(fs::exists(dir() / "may5.zip.station"));
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
    EXPECT_TRUE(info.out.starts_with("Number of files in zip file:  158 \r\n")) << info.out;
    EXPECT_EQ(readFile(dir() / "work" / "zipFileInfo.txt"), info.out);
}

TEST_F(CliDay, FailedBuildReportsTheErrorAndLeavesTheOldFile) {
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    writeFile(dir() / "junk.station", "old");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"build", "junk.traffic", "--lists", lists().string()},
             {"build", "junk.traffic", "--lists", lists().string(), "-o", "new.station"},
             {"info", "junk.traffic"}}) {
        const CliRun failed = run(args);
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.err,
                  "Error No: 321, Invalid file format: junk.traffic (Not a zip archive).\n");
    }
    EXPECT_EQ(readFile(dir() / "junk.station"), "old");
    EXPECT_FALSE(fs::exists(dir() / "new.station"));
}

// From a station file or an archive built first (--worst: the busier detector's occupancy,
// 30 % instead of the mean 20 %); a road's stations in road order over the whole day.
TEST_F(CliDay, ExportWritesTheMainWindowsCsvOfStationsOrARoad) {
    build();
    const std::tuple<std::string, std::string, std::string> inputs[] = {
        {"day.station", "", "20.00"},
        {"day.traffic", "", "20.00"},
        {"day.traffic", "--worst", "30.00"}};
    for (const auto& [input, flag, occ] : inputs) {
        std::vector<std::string> args{"export",  input,        "-o",     "out.csv", "--stations",
                                      "101,102", "--interval", "1 hour", "--to",    "01:00:00"};
        if (!flag.empty()) {
            args.push_back(flag);
        }
        ASSERT_EQ(runWithLists(args).status, 0) << input << flag;
        const std::string row = "," + occ + ", 300 ," + occ + ", 420 \r\n";
        EXPECT_EQ(readFile(dir() / "out.csv"),
                  ",101.occ,101.vol,102.occ,102.vol\r\n00:00:00" + row + "01:00:00" + row);
    }
    ASSERT_EQ(runWithLists({"export", "day.station", "-o", "road.csv", "--road", "South"}).status,
              0);
    const std::string csv = readFile(dir() / "road.csv");
    EXPECT_TRUE(
        csv.starts_with(",140.occ,140.vol,139.occ,139.vol,138.occ,138.vol\r\n"
                        "00:00:00,10.00, 5 ,20.00, 4 ,20.00, 3 \r\n"));
    EXPECT_TRUE(csv.ends_with("23:59:30,10.00, 5 ,20.00, 7 ,20.00, 6 \r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2881);
}

// The tidy table: the speeds of a built day count the lanes that reported; a station file holds
// no lane counts, so 140, whose second detector is missing, counts both listed detectors there.
TEST_F(CliDay, TableWritesOneLinePerIntervalAndStationWithTheSpeed) {
    build();
    const std::vector<std::string> range{"-o",         "table.csv", "--stations", "101,140",
                                         "--interval", "1 hour",    "--from",     "00:00",
                                         "--to",       "01:00"};
    const std::string header = "time,station,volume,occupancy,speed_kmh,lanes\n";
    // 101: 120 + 180 vehicles an hour in two lanes at 20 %: 150 * 6.7 / (10 * 20) = 5.0 km/h.
    // 140: 600 vehicles in its one reporting lane at 10 %: 40.2 km/h; over two lanes 20.1.
    const auto expected = [&](const std::string& station140) {
        return header + "00:00:00,101,300,20.00,5.0,2.00\n00:00:00,140,600,10.00," + station140 +
               "\n01:00:00,101,300,20.00,5.0,2.00\n01:00:00,140,600,10.00," + station140 + "\n";
    };
    for (const auto& [input, station140] :
         {std::pair{"day.traffic", "40.2,1.00"}, {"day.station", "20.1,2.00"}}) {
        std::vector<std::string> args{"table", input};
        args.insert(args.end(), range.begin(), range.end());
        const CliRun table = runWithLists(args);
        ASSERT_EQ(table.status, 0) << table.err;
        EXPECT_EQ(readFile(dir() / "table.csv"), expected(station140)) << input;
    }
    // The busier lane's 30 % and a shorter vehicle: 1 and 2 vehicles in two lanes, 60 and 120 an
    // hour per lane, * 5 m / (10 * 30 %).
    const CliRun worst =
        runWithLists({"table", "day.traffic", "-o", "worst.csv", "--stations", "101", "--to",
                      "00:00:30", "--worst", "--vehicle-length", "5"});
    ASSERT_EQ(worst.status, 0) << worst.err;
    EXPECT_EQ(readFile(dir() / "worst.csv"),
              header + "00:00:00,101,1,30.00,1.0,2.00\n00:00:30,101,2,30.00,2.0,2.00\n");
}

TEST_F(CliDay, SumPrintsTheVolumeOfTheRange) {
    build();
    const CliRun wholeDay = runWithLists({"sum", "day.station", "--station", "101"});
    EXPECT_EQ(std::pair(wholeDay.status, wholeDay.out), std::pair(0, std::string("7200\n")));
    const CliRun range = runWithLists({"sum", "day.traffic", "--station", "104", "--interval",
                                       "1 hour", "--from", "07:00", "--to", "08:00"});
    EXPECT_EQ(std::pair(range.status, range.out), std::pair(0, std::string("1320\n")));
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
        {{"export", "-o", "CSV", "--road", "Sout"},
         "Error No: 5, Road \"Sout\" is not in VURRoad2Sta.list.\n"},
        {{"export", "-o", "none/x.csv", "--stations", "101"},
         "Error No: 76, Path not found: none/x.csv.\n"},
        {{"table", "-o", "CSV", "--stations", "101", "--from", "05:00", "--to", "05:00"}, badRange},
        {{"table", "-o", "CSV", "--stations", "101,999"},
         "Station: 999 does not exist.\nUnable to generate the csv file.\n"},

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
// Two stations of the test day: every slot the same 1 or 5 vehicles at 10 % (constant),
// slot % 4 vehicles at 30 % (zero volume under occupancy a quarter of the time), 1402 missing.
TEST_F(CliDay, HealthWritesTheGradesAsCsvAndTheSummaryLast) {
    fs::create_directory(dir() / "two");
    writeFile(dir() / "two" / "VURSta2Det.list", "101,P,1011,1012,\r\n140,P,1401,1402,\r\n");
    writeFile(dir() / "two" / "VURRoad2Sta.list", "Both,101,140,\r\n");
    const std::string csv =
        "station,detector,status,samples,implausible,zero_occupancy,high_occupancy,"
        "zero_volume_positive_occupancy,zero_occupancy_positive_volume,"
        "longest_constant_minutes\r\n"
        "101,1011,constant,2040,0,0,0,0,0,1020\r\n"
        "101,1012,intermittent,2040,0,0,0,510,0,1020\r\n"
        "140,1401,constant,2040,0,0,0,0,0,1020\r\n"
        "140,1402,no data,0,0,0,0,0,0,0\r\n";
    const std::string log = "Sta count=2\r\nRoad count=1\r\nStation: 140: \r\n";
    const std::string summary = "Detector health: 1 no data, 1 intermittent, 2 constant\n";
    const std::string lists = (dir() / "two").string();
    const CliRun toFile = run({"health", "day.traffic", "-o", "health.csv", "--lists", lists});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(readFile(dir() / "health.csv"), csv);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(toFile.err, log + summary);

    const CliRun toOut = run({"health", "day.traffic", "--log", "log.txt", "--lists", lists});
    ASSERT_EQ(toOut.status, 0) << toOut.err;
    EXPECT_EQ(toOut.out, csv);
    EXPECT_EQ(toOut.err, summary);
    EXPECT_EQ(readFile(dir() / "log.txt"), log);
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
        {"build", "a.traffic", "b.traffic"},
        {"build", "a.traffic", "--worst", "--worst"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--road", "South"},
        {"export", "day.station", "-o", "x.csv", "--stations", "40000"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--interval", "1 Hour"},
        {"table", "day.station", "-o", "x.csv"},
        {"table", "day.station", "-o", "x.csv", "--stations", "101", "--vehicle-length", "1.5"},
        {"table", "day.station", "-o", "x.csv", "--stations", "101", "--unit", "mph"},
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

// Without --lists: the program's folder, or where that holds no station list, the folder of the
// archive or station file (logged). --lists names the folder outright.
TEST_F(CliDay, ListsComeFromTheProgramsFolderElseFromBesideTheData) {
    const fs::path listed = lists() / "quorvane-cli";
    const fs::path bare = dir() / "bin" / "quorvane-cli";
    fs::create_directory(dir() / "bin");
    fs::copy_file(cliProgram(), listed);
    fs::copy_file(cliProgram(), bare);
    // The same day on a share, with lists of its own that know only two stations.
    const fs::path share = dir() / "share";
    fs::create_directory(share);
    fs::copy_file(archive(), share / "day.traffic");
    writeFile(share / "VURSta2Det.list", "101, P, 1011, 1012,\r\n102, P, 1021, 9999,\r\n");
    writeFile(share / "VURRoad2Sta.list", "North Loop, 101, 102,\r\n");
    const std::string fromShare =
        "No VURSta2Det.list beside the program: definition lists read from " + share.string() +
        "\r\nSta count=2\r\nRoad count=1\r\n";

    struct Case {
        fs::path program;
        std::vector<std::string> args;
        std::string log;
    };
    for (const auto& [program, args, log] : std::vector<Case>{
             {listed, {"build", "share/day.traffic"}, std::string(kBuildLog)},
             {bare, {"build", "share/day.traffic"}, fromShare + "Station: 102: \r\n"},
             {bare, {"sum", "share/day.station", "--station", "102"}, fromShare + "\r\n"},
             {bare,
              {"build", "share/day.traffic", "--lists", lists().string()},
              std::string(kBuildLog)},
         }) {
        SCOPED_TRACE(program.string() + " " + args[0] + " " + std::to_string(args.size()));
        const CliRun ran = runProgram(program, args, dir());
        EXPECT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(ran.err, log);
    }
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
