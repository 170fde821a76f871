// quorvane-cli run as a program on the test day and on the sample day: one case per command path
// with its exact output and exit status, refusals that write nothing, usage errors. The rules
// behind the outputs are tested with the engine and the views.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/version.h"
#include "run_cli.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

// Detector 1402 is missing from the archive: the build logs its station.
constexpr std::string_view kBuildLog = "Sta count=40\r\nRoad count=3\r\nStation: 140: \r\n";

using CliDay = CliFolder;

// The log goes to standard error or to --log; --zip-info writes the member report that `info`
// prints into the current folder; a name without ".traffic" gets ".station" appended.
TEST_F(CliDay, BuildSavesTheStationFileAndTheLog) {
    fs::create_directory(dir() / "work");
    const CliRun built = runCli(
        {"build", archive().string(), "--zip-info", "--lists", lists().string()}, dir() / "work");
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err,
              "Detailed internal file info of the zip file is saved in zipFileInfo.txt\r\n" +
                  std::string(kBuildLog));
    EXPECT_EQ(fs::file_size(dir() / "day.station"), 40u + 17280u * 40u);
    const CliRun info = run({"info", archive().string()});
    EXPECT_EQ(info.status, 0);
    EXPECT_TRUE(info.out.starts_with("Number of files in zip file:  158 \r\n")) << info.out;
    EXPECT_EQ(readFile(dir() / "work" / "zipFileInfo.txt"), info.out);

    fs::copy_file(archive(), dir() / "may5.zip");
    const CliRun logged = runWithLists({"build", "may5.zip", "--log", "build.log"});
    EXPECT_EQ(std::pair(logged.status, logged.err), std::pair(0, std::string()));
    EXPECT_EQ(readFile(dir() / "build.log"), kBuildLog);
    EXPECT_EQ(readFile(dir() / "may5.zip.station"), readFile(dir() / "day.station"));
    ASSERT_EQ(runWithLists({"build", "may5.zip", "-o", "other.station"}).status, 0);
    EXPECT_EQ(readFile(dir() / "other.station"), readFile(dir() / "day.station"));
}

TEST_F(CliDay, FailedBuildReportsTheErrorAndLeavesTheOldFile) {
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    writeFile(dir() / "junk.station", "old");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"build", "junk.traffic", "--lists", lists().string()}, {"info", "junk.traffic"}}) {
        const CliRun failed = run(args);
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.err,
                  "Error No: 321, Invalid file format: junk.traffic (Not a zip archive).\n");
    }
    EXPECT_EQ(readFile(dir() / "junk.station"), "old");
}

// From a station file or an archive built first (--worst: the busier detector's 30 % instead of
// the mean 20 %); a road's stations in road order. The table's speeds count the lanes that
// reported (140's second detector is missing): 101 at 150 vehicles a lane and hour at 20 %,
// 5.0 km/h; 140 at 600 in its one lane at 10 %, 40.2 km/h; with --worst and a 5 m vehicle 60
// and 120 an hour a lane * 5 m / (10 * 30 %).
TEST_F(CliDay, ExportTableAndSumWriteTheSelectedRange) {
    ASSERT_EQ(runWithLists({"build", archive().string()}).status, 0);
    const std::string csv = ",101.occ,101.vol,102.occ,102.vol\r\n";
    const std::string table = "time,station,volume,occupancy,speed_kmh,lanes\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"export", "day.traffic", "--stations", "101,102", "--interval", "1 hour", "--to", "01:00",
          "--worst"},
         csv + "00:00:00,30.00, 300 ,30.00, 420 \r\n01:00:00,30.00, 300 ,30.00, 420 \r\n"},
        {{"export", "day.station", "--road", "South", "--to", "00:00:30"},
         ",140.occ,140.vol,139.occ,139.vol,138.occ,138.vol\r\n"
         "00:00:00,10.00, 5 ,20.00, 4 ,20.00, 3 \r\n00:00:30,10.00, 5 ,20.00, 5 ,20.00, 4 \r\n"},
        {{"table", "day.traffic", "--stations", "101,140", "--interval", "1 hour", "--from",
          "00:00", "--to", "01:00", "--vehicle-length", "6.7"},
         table + "00:00:00,101,300,20.00,5.0,2.00\n00:00:00,140,600,10.00,40.2,1.00\n"
                 "01:00:00,101,300,20.00,5.0,2.00\n01:00:00,140,600,10.00,40.2,1.00\n"},
        // By default each detector's g-factor: the test day's constant detectors are not good,
        // so no detector calibrates and every speed is a gap.
        {{"table", "day.traffic", "--stations", "140", "--to", "00:00:30"},
         table + "00:00:00,140,5,10.00,,0.00\n00:00:30,140,5,10.00,,0.00\n"},
        {{"table", "day.traffic", "--stations", "101", "--to", "00:00:30", "--worst",
          "--vehicle-length", "5"},
         table + "00:00:00,101,1,30.00,1.0,2.00\n00:00:30,101,2,30.00,2.0,2.00\n"},
        {{"sum", "day.traffic", "--station", "104", "--interval", "1 hour", "--from", "07:00",
          "--to", "08:00"},
         "1320\n"},
    };
    for (auto [args, expected] : cases) {
        SCOPED_TRACE(args[0] + " " + args[3]);
        const bool toFile = args[0] != "sum";
        if (toFile) {
            args.insert(args.end(), {"-o", "out.csv"});
        }
        const CliRun ran = runWithLists(args);
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(toFile ? readFile(dir() / "out.csv") : ran.out, expected);
    }
}

// A refusal exits 1 with its message last on standard error, prints nothing, writes no file
// and leaves the one already there (CSV stands for both) as it was.
TEST_F(CliDay, RefusalsExitOneAndKeepTheOldFile) {
    ASSERT_EQ(runWithLists({"build", archive().string()}).status, 0);
    writeFile(dir() / "out.csv", "old");
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"export", "-o", "CSV", "--stations", "101,999", "--log", "log.txt"},
         "Station: 999 does not exist.\nUnable to generate the csv file.\n"},
        {{"export", "-o", "CSV", "--stations", "101", "--interval", "15 min", "--from", "07:10"},
         "Error No: 5, --from 07:10 is not the start of a 15 min interval.\n"},
        {{"export", "-o", "CSV", "--road", "Sout"},
         "Error No: 5, Road \"Sout\" is not in VURRoad2Sta.list.\n"},
        {{"export", "-o", "none/x.csv", "--stations", "101"},
         "Error No: 76, Path not found: none/x.csv.\n"},
        {{"table", "-o", "CSV", "--stations", "101", "--from", "05:00", "--to", "05:00"},
         "The end time must be greater than the start time.\n"},
        {{"table", "-o", "CSV", "--stations", "101,999"},
         "Station: 999 does not exist.\nUnable to generate the csv file.\n"},
        {{"health", "-o", "CSV"}, "Detector health needs a build from the archive.\n"},
        {{"bottlenecks", "-o", "CSV"},
         "Station positions are needed: VURStaPos.list was not found beside the definition "
         "lists.\n"},
        {{"sum", "--station", "999"}, "Station: 999 does not exist.\n"},
    };
    for (const auto& [row, message] : refusals) {
        for (const std::string csv : {"out.csv", "new.csv"}) {
            std::vector<std::string> args = row;
            args.insert(args.begin() + 1, "day.station");
            std::replace(args.begin(), args.end(), std::string("CSV"), csv);
            SCOPED_TRACE(args[0] + " " + args.back());
            const CliRun refused = runWithLists(args);
            EXPECT_EQ(std::pair(refused.status, refused.out), std::pair(1, std::string()));
            EXPECT_TRUE(refused.err.ends_with(message)) << refused.err;
        }
    }
    EXPECT_EQ(readFile(dir() / "out.csv"), "old");
    EXPECT_FALSE(fs::exists(dir() / "new.csv"));
    // The log still goes to --log.
    EXPECT_NE(readFile(dir() / "log.txt").find("Station = 999 doesn't exist."), std::string::npos);
}

// South's stations 140, 139, 138 at posts 0, 1 and 3 km stand for 0.5, 1.5 and 1 km; at "1 hour"
// with a 6.7 m vehicle they carry 600, 660 and 540 vehicles at 40.2, 11.055 and 9.045 km/h (see
// the table's case above): 1830 vehicle-km in 156.72 vehicle-hours, 137.76 of them below 60 mph,
// and 15.52 minutes from 140 to 138 whenever one sets off. Without the positions list, for a
// station it does not place or a station the station list lacks, nothing is written.
TEST_F(CliDay, MeasuresWriteTheRoadsIntervalsAndTheTotalsLast) {
    const std::vector<std::string> south{
        "measures",   "day.traffic", "--road",           "South", "-o", "m.csv",
        "--interval", "1 hour",      "--vehicle-length", "6.7"};
    const std::pair<std::string, std::string> refusals[] = {
        {"South",
         "Station positions are needed: VURStaPos.list was not found beside the "
         "definition lists.\n"},
        {"North", "Station 101 of the road North has no position in VURStaPos.list.\n"},
        {"Ghost", "Station: 999 does not exist.\nUnable to measure the road.\n"},
    };
    for (const auto& [road, message] : refusals) {
        if (road == "North") {
            writeFile(lists() / "VURStaPos.list", "140, 0.0,\r\n139, 1.0,\r\n138, 3,\r\n");
        }
        std::vector<std::string> args = south;
        args[3] = road;
        const CliRun refused = runWithLists(args);
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.err.ends_with(message)) << refused.err;
        EXPECT_FALSE(fs::exists(dir() / "m.csv"));
    }
    const CliRun measured = runWithLists(south);
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(measured.err, std::string(kBuildLog) +
                                "Whole day: VKT 43920.0, VHT 3761.19, delay 3306.35 vehicle-hours, "
                                "speed 11.7 km/h, unmeasured share 0.000\n");
    const std::string csv = readFile(dir() / "m.csv");
    EXPECT_TRUE(csv.starts_with(
        "time,vkt,vht,delay_vh,speed_kmh,travel_time_min,experienced_travel_time_min,"
        "unmeasured_share\n00:00:00,1830.0,156.72,137.76,11.7,15.52,15.52,0.000\n"))
        << csv;
    EXPECT_TRUE(csv.ends_with("\n23:00:00,1830.0,156.72,137.76,11.7,15.52,15.52,0.000\n"));
    EXPECT_EQ(
        run({"measures", "day.traffic", "--road", "South", "-o", "m.csv", "--threshold", "20"})
            .status,
        2);
}

// Two stations of the test day, 1402 missing: the grades as CSV to -o or standard output (the
// grading and the CSV are the engine's tests), the log and then the summary.
TEST_F(CliDay, HealthWritesTheGradesAsCsvAndTheSummaryLast) {
    fs::create_directory(dir() / "two");
    writeFile(dir() / "two" / "VURSta2Det.list", "101,P,1011,1012,\r\n140,P,1401,1402,\r\n");
    writeFile(dir() / "two" / "VURRoad2Sta.list", "Both,101,140,\r\n");
    const std::string log = "Sta count=2\r\nRoad count=1\r\nStation: 140: \r\n";
    const std::string summary = "Detector health: 1 no data, 1 intermittent, 2 constant\n";
    const std::string lists = (dir() / "two").string();
    const CliRun toFile = run({"health", "day.traffic", "-o", "health.csv", "--lists", lists});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out + toFile.err, log + summary);
    const std::string csv = readFile(dir() / "health.csv");
    EXPECT_TRUE(csv.ends_with("\r\n140,1402,no data,0,0,0,0,0,0,0,\r\n")) << csv;
    const CliRun toOut = run({"health", "day.traffic", "--log", "log.txt", "--lists", lists});
    EXPECT_EQ(std::tuple(toOut.status, toOut.out, toOut.err), std::tuple(0, csv, summary));
    EXPECT_EQ(readFile(dir() / "log.txt"), log);
}

// The test day, the same day with twice the first detectors' vehicles, the first again as a
// station file (its lanes are the listed detectors: 140 counts two) and no archive at all. At
// 00:00 with 6.7 m: 101 has 23, 33 and 23 vehicles in two lanes at 20 % (4.6, 6.6 and 4.6 km/h),
// 140 50, 100 and 50 at 10 % in one, one and two lanes (40.2, 80.4 and 20.1 km/h).
TEST_F(CliDay, TypicalTakesTheMediansOfTheDaysBuiltAndListsTheOnesLeftOut) {
    TestDay::writeArchive(dir() / "busy.traffic", 2);
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    ASSERT_EQ(runWithLists({"build", archive().string()}).status, 0);
    const std::string junk =
        "Left out junk.traffic: Error No: 321, Invalid file format: junk.traffic (Not a zip "
        "archive).\n";
    const CliRun typical =
        runWithLists({"typical", "day.traffic", "busy.traffic", "day.station", "junk.traffic", "-o",
                      "typical.csv", "--stations", "101,140", "--vehicle-length", "6.7"});
    ASSERT_EQ(typical.status, 0) << typical.err;
    EXPECT_TRUE(typical.err.starts_with("Days built: 1 of 4\n")) << typical.err;
    EXPECT_TRUE(typical.err.ends_with(junk + "4 days: 3 built, 1 left out\n")) << typical.err;
    const std::string csv = readFile(dir() / "typical.csv");
    EXPECT_TRUE(
        csv.starts_with("time,station,days,volume,occupancy,speed_kmh\n"
                        "00:00:00,101,3,23,20.00,4.6\n00:00:00,140,3,50,10.00,40.2\n"))
        << csv.substr(0, 200);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 288 * 2);

    // No day built, or a station no day has: exit 1 and no file.
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"junk.traffic"}, junk + "1 day: 0 built, 1 left out\n"},
        {{"day.traffic", "--stations", "101,999"},
         "Station: 999 does not exist.\nUnable to generate the csv file.\n"
         "1 day: 1 built, 0 left out\n"},
    };
    for (auto [args, message] : failures) {
        args.insert(args.begin(), "typical");
        args.insert(args.end(), {"-o", "none.csv"});
        const CliRun failed = runWithLists(args);
        EXPECT_EQ(failed.status, 1);
        EXPECT_TRUE(failed.err.ends_with(message)) << failed.err;
    }
    EXPECT_FALSE(fs::exists(dir() / "none.csv"));
}

// South's stations 140, 139 and 138 (0.5, 1.5 and 1 km at posts 0, 1 and 3) at 00:00 with
// 6.7 m: 40.2, 10.653 and 8.643 km/h on the test day (16.14 minutes), twice as fast on the busy
// day (9.28 minutes); the road at 105 km/h takes 1.71. Without positions no day places it.
TEST_F(CliDay, ReliabilityWritesTheDaysMeanAndPercentileTravelTimes) {
    TestDay::writeArchive(dir() / "busy.traffic", 2);
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    const std::vector<std::string> args{
        "reliability", "day.traffic", "busy.traffic", "junk.traffic",     "--road",
        "South",       "-o",          "r.csv",        "--vehicle-length", "6.7"};
    const CliRun unplaced = runWithLists(args);
    EXPECT_EQ(unplaced.status, 1);
    EXPECT_TRUE(unplaced.err.ends_with(
        "No day places the road \"South\": Station positions are needed: VURStaPos.list was not "
        "found beside the definition lists.\n3 days: 2 built, 1 left out\n"))
        << unplaced.err;
    EXPECT_FALSE(fs::exists(dir() / "r.csv"));

    writeFile(lists() / "VURStaPos.list", "140, 0.0,\r\n139, 1.0,\r\n138, 3,\r\n");
    const CliRun reliable = runWithLists(args);
    ASSERT_EQ(reliable.status, 0) << reliable.err;
    EXPECT_TRUE(
        reliable.err.ends_with("Left out junk.traffic: Error No: 321, Invalid file format: "
                               "junk.traffic (Not a zip archive).\n"
                               "3 days: 2 built, 1 left out\n"))
        << reliable.err;
    const std::string csv = readFile(dir() / "r.csv");
    EXPECT_TRUE(
        csv.starts_with("time,days,mean_min,p95_min,free_flow_min,tti,pti,buffer_index\n"
                        "00:00:00,2,12.71,15.79,1.71,7.412,9.213,0.243\n"
                        "00:05:00,2,11.91,14.65,1.71,6.947,8.545,0.230\n"))
        << csv.substr(0, 300);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 289);
}

TEST_F(CliDay, CommandLinesOfTheWrongShapeAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong{
        {},
        {"frobnicate"},
        {"build", "a.traffic", "b.traffic"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--road", "South"},
        {"export", "day.station", "-o", "x.csv", "--stations", "40000"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--interval", "1 Hour"},
        {"table", "day.station", "-o", "x.csv", "--stations", "101", "--vehicle-length", "1.5"},
        {"table", "day.station", "-o", "x.csv", "--stations", "101", "--free-flow-speed", "59.9"},
        {"health", "day.traffic", "--free-flow-speed", "fast"},
        {"sum", "day.station", "--station", "101", "--from", "7h"},
        {"health", "day.traffic", "--worst"},
        {"typical", "-o", "x.csv"},
        {"typical", "day.traffic", "-o", "x.csv", "--stations", "101", "--road", "South"},
        {"reliability", "day.traffic", "-o", "x.csv"},
        {"reliability", "day.traffic", "--road", "South", "-o", "x.csv", "--threshold", "50"},
        {"bottlenecks", "day.traffic", "day.station", "-o", "x.csv"},
        {"sample", "x", "--stations", "0"},
    };
    for (const auto& args : wrong) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(dir() / "x.csv") || fs::exists(dir() / "x"));
}

// --help and -h answer before a command and among its options (not as an option's value);
// --version prints the program's name and version.
TEST_F(CliDay, HelpAndVersionPrintAndExitZero) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--help"}, "quorvane-cli export INPUT -o OUT.csv"},
        {{"-h"}, "quorvane-cli export INPUT -o OUT.csv"},
        {{"export", "day.station", "-o", "x.csv", "--help"},
         "quorvane-cli export INPUT -o OUT.csv"},
        {{"info", "-h"}, "quorvane-cli info ARCHIVE"},
        {{"sample", "x", "--help"}, "usage: quorvane-cli sample DIR"},
        {{"--version"}, "quorvane-cli " + std::string(kVersion) + "\n"},
    };
    for (const auto& [args, expected] : cases) {
        const CliRun result = run(args);
        EXPECT_EQ(std::pair(result.status, result.err), std::pair(0, std::string())) << args.back();
        EXPECT_NE(result.out.find(expected), std::string::npos) << result.out;
    }
    EXPECT_EQ(runWithLists({"export", "day.traffic", "-o", "x.csv", "--road", "-h"}).status, 1);
    EXPECT_FALSE(fs::exists(dir() / "x.csv") || fs::exists(dir() / "x"));
}

// Without --lists: the program's folder, or where that holds no station list, the folder of the
// archive or station file (logged). --lists names the folder outright.
TEST_F(CliDay, ListsComeFromTheProgramsFolderElseFromBesideTheData) {
    const fs::path listed = lists() / "quorvane-cli";
    const fs::path bare = dir() / "bin" / "quorvane-cli";
    fs::create_directory(dir() / "bin");
    fs::copy_file(QUORVANE_CLI_PROGRAM, listed);
    fs::copy_file(QUORVANE_CLI_PROGRAM, bare);
    // The same day on a share, with lists of its own that know only two stations.
    const fs::path share = dir() / "share";
    fs::create_directory(share);
    fs::copy_file(archive(), share / "day.traffic");
    writeFile(share / "VURSta2Det.list", "101, P, 1011, 1012,\r\n102, P, 1021, 9999,\r\n");
    writeFile(share / "VURRoad2Sta.list", "North Loop, 101, 102,\r\n");
    const std::string fromShare =
        "No VURSta2Det.list beside the program: definition lists read from " + share.string() +
        "\r\nSta count=2\r\nRoad count=1\r\n";
    const std::tuple<fs::path, std::vector<std::string>, std::string> cases[] = {
        {listed, {"build", "share/day.traffic"}, std::string(kBuildLog)},
        {bare, {"build", "share/day.traffic"}, fromShare + "Station: 102: \r\n"},
        {bare, {"sum", "share/day.station", "--station", "102"}, fromShare + "\r\n"},
        {bare, {"build", "share/day.traffic", "--lists", lists().string()}, std::string(kBuildLog)},
    };
    for (const auto& [program, args, log] : cases) {
        SCOPED_TRACE(program.string() + " " + args[0] + " " + std::to_string(args.size()));
        const CliRun ran = runProgram(program, args, dir());
        EXPECT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(ran.err, log);
    }
}

// The lists fit the archive but for the missing detector and the one without occupancy; the
// day a new user opens first shows every health status.
TEST(CliSampleDay, BuildsTheSampleDay) {
    TempDir dir;
    const CliRun sampled = runCli({"sample", "day"}, dir.path());
    ASSERT_EQ(sampled.status, 0) << sampled.err;
    EXPECT_NE(sampled.out.find("60 stations on 3 roads"), std::string::npos);
    const std::string lists = (dir / "day").string();
    const CliRun built = runCli({"build", "day/sample.traffic", "--lists", lists}, dir.path());
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err,
              "Sta count=60\r\nRoad count=3\r\nStation: 107: Det 1093 does not exist\r\n"
              "Station: 205: \r\n");
    EXPECT_EQ(fs::file_size(dir / "day" / "sample.station"), 40u + 17280u * 60u);
    // Its positions place every station, counting down along the second road.
    const CliRun measured = runCli({"measures", "day/sample.station", "--road", "Route 2 E", "-o",
                                    "m.csv", "--lists", lists, "--interval", "1 hour"},
                                   dir.path());
    EXPECT_EQ(measured.status, 0) << measured.err;
    // Each road's bottleneck in both peaks (the finder's rule is the engine's test).
    const CliRun bottlenecks =
        runCli({"bottlenecks", "day/sample.traffic", "--lists", lists}, dir.path());
    EXPECT_TRUE(
        bottlenecks.out.starts_with("road,upstream_station,downstream_station,position_km,"
                                    "shift,start,end,duration_min,max_extent_km,"
                                    "median_extent_km,delay_vh\nRoute 1 N,113,114,"))
        << bottlenecks.out;
    EXPECT_EQ(std::count(bottlenecks.out.begin(), bottlenecks.out.end(), '\n'), 7);
    EXPECT_TRUE(bottlenecks.err.ends_with("\n6 bottleneck activations on 3 roads\n"));
    const CliRun health =
        runCli({"health", "day/sample.traffic", "--lists", lists, "-o", "h.csv"}, dir.path());
    ASSERT_EQ(health.status, 0) << health.err;
    EXPECT_TRUE(health.err.ends_with(
        "\nDetector health: 223 good, 2 no data, 1 insufficient data, 1 card off, "
        "1 high values, 1 intermittent, 1 constant\n"))
        << health.err;
}

// The sample day twice and another seed's: its bottleneck before 114 is active on two days of
// three, with the one-day command's duration, extent and delay (see the README), and the other
// seed's before 117 on one. A road no day lists is an error.
TEST(CliSampleDay, RanksTheBottlenecksOfSeveralDays) {
    TempDir dir;
    for (const auto& [folder, seed] : {std::pair("d1", "1"), std::pair("d2", "2")}) {
        ASSERT_EQ(runCli({"sample", folder, "--seed", seed}, dir.path()).status, 0);
    }
    fs::copy(dir / "d1", dir / "again");
    std::vector<std::string> args{"bottlenecks",
                                  "d1/sample.traffic",
                                  "d2/sample.traffic",
                                  "again/sample.traffic",
                                  "none.traffic",
                                  "--rank",
                                  "--road",
                                  "Route 1 N"};
    const CliRun ranked = runCli(args, dir.path());
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    EXPECT_EQ(ranked.out,
              "road,upstream_station,downstream_station,shift,days_active,days,mean_duration_min,"
              "mean_max_extent_km,mean_delay_vh,total_delay_vh\n"
              "Route 1 N,113,114,PM,2,3,190.0,9.506,2945.95,5891.89\n"
              "Route 1 N,113,114,AM,2,3,140.0,7.012,1194.47,2388.93\n"
              "Route 1 N,116,117,PM,1,3,165.0,12.071,2514.69,2514.69\n"
              "Route 1 N,116,117,AM,1,3,130.0,5.385,944.48,944.48\n");
    EXPECT_TRUE(ranked.err.ends_with("\n4 bottlenecks on 1 road\n4 days: 3 built, 1 left out\n"))
        << ranked.err;
    args.back() = "Nowhere";
    args.insert(args.end(), {"-o", "rank.csv"});
    const CliRun unknown = runCli(args, dir.path());
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.ends_with(
        "Error No: 5, Road \"Nowhere\" is not in the VURRoad2Sta.list of any day.\n"
        "4 days: 3 built, 1 left out\n"))
        << unknown.err;
    EXPECT_FALSE(fs::exists(dir / "rank.csv"));
}

}  // namespace
}  // namespace quorvane::test
