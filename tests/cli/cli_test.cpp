// quorvane-cli run as a program on hand-made days and on sample days: exit statuses, standard
// error, byte-exact outputs, and no file written (or changed) on a refusal.
#include <gtest/gtest.h>

#include <array>

#include "core/unzip.h"
#include "run_cli.h"
#include "support/test_files.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kStationListText =
    "101, P, 11, 12,\r\n102, P, 21, 22,\r\n103, P, 31,\r\n";
constexpr std::string_view kRoadListText = "North Loop, 101, 102, 103,\r\nEast Spur, 103, 101,\r\n";
// Detector 22 is missing from the archive: the build logs its station.
constexpr std::string_view kBuildLog = "Sta count=3\r\nRoad count=2\r\nStation: 102: \r\n";
constexpr std::size_t kStationFileBytes = 40 + 17280 * 3;

// Station 103's single detector counts hour % 5 vehicles in every slot of an hour.
std::string hourlyVolumes() {
    std::vector<uint8_t> perSlot(2880);
    for (int k = 0; k < 2880; ++k) {
        perSlot[k] = static_cast<uint8_t>((k / 120) % 5);
    }
    return volumeBytes(perSlot);
}

// 101: volumes 4 + 6, occupancies 10 % and 20 %; 102: 10 vehicles at 30 % ("c30") and a
// missing detector; 103: hour % 5 vehicles at 5 %.
std::vector<ZipMember> dayMembers(bool stored = false) {
    return {
        {"11.o30", occupancyBytes(int16_t{100}), stored}, {"11.v30", volumeBytes(4), stored},
        {"12.o30", occupancyBytes(int16_t{200}), stored}, {"12.v30", volumeBytes(6), stored},
        {"21.c30", occupancyBytes(int16_t{540}), stored}, {"21.v30", volumeBytes(10), stored},
        {"31.o30", occupancyBytes(int16_t{50}), stored},  {"31.v30", hourlyVolumes(), stored},
    };
}

class CliDay : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(lists());
        writeFile(lists() / "VURSta2Det.list", kStationListText);
        writeFile(lists() / "VURRoad2Sta.list", kRoadListText);
        writeZip(archive(), dayMembers());
    }

    fs::path lists() const { return dir_ / "lists"; }
    fs::path archive() const { return dir_ / "day.traffic"; }
    fs::path stationFile() const { return dir_ / "day.station"; }
    const fs::path& dir() const { return dir_.path(); }

    CliRun run(std::vector<std::string> args) const { return runCli(args, dir()); }
    CliRun runWithLists(std::vector<std::string> args) const {
        args.push_back("--lists");
        args.push_back(lists().string());
        return run(args);
    }
    void build() const {
        const CliRun built = runWithLists({"build", archive().string()});
        ASSERT_EQ(built.status, 0) << built.err;
    }

  private:
    TempDir dir_;
};

// The last line of a stream, without its line end.
std::string lastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text.substr(text.find_last_of('\n') + 1);
}

void expectErrorLine(const CliRun& run, std::string_view numberPrefix) {
    EXPECT_EQ(run.status, 1);
    const std::string line = lastLine(run.err);
    EXPECT_TRUE(line.starts_with(numberPrefix)) << run.err;
    EXPECT_TRUE(line.ends_with(".")) << run.err;
}

TEST_F(CliDay, BuildSavesTheStationFileAndWritesTheLogFile) {
    const CliRun built = runWithLists({"build", archive().string(), "--log", "build.log"});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, "");
    EXPECT_EQ(readFile(dir() / "build.log"), kBuildLog);
    ASSERT_TRUE(fs::exists(stationFile()));
    EXPECT_EQ(fs::file_size(stationFile()), kStationFileBytes);
    EXPECT_FALSE(fs::exists(dir() / "zipFileInfo.txt"));
}

TEST_F(CliDay, BuildWithoutLogFilePrintsTheLogOnStandardError) {
    const CliRun built = runWithLists({"build", archive().string(), "-o", "other.station"});
    ASSERT_EQ(built.status, 0);
    EXPECT_EQ(built.err, kBuildLog);
    EXPECT_EQ(fs::file_size(dir() / "other.station"), kStationFileBytes);
    EXPECT_FALSE(fs::exists(stationFile()));
}

TEST_F(CliDay, BuildAppendsTheStationExtensionToOtherNames) {
    fs::copy_file(archive(), dir() / "may5.zip");
    fs::create_directory(dir() / "traffic");
    fs::copy_file(archive(), dir() / "traffic" / "day.traffic.traffic");
    ASSERT_EQ(runWithLists({"build", "may5.zip"}).status, 0);
    ASSERT_EQ(runWithLists({"build", "traffic/day.traffic.traffic"}).status, 0);
    EXPECT_TRUE(fs::exists(dir() / "may5.zip.station"));
    EXPECT_TRUE(fs::exists(dir() / "traffic" / "day.traffic.station")) << "only the last one";
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
    EXPECT_EQ(readFile(dir() / "work" / "zipFileInfo.txt"), info.out);
    EXPECT_TRUE(
        info.out.starts_with("Number of files in zip file:  8 \r\n"
                             "Zip index, Compressed Size, Extract Size, file name\r\n 0 "))
        << info.out;
    EXPECT_TRUE(info.out.ends_with(" 2880 31.v30\r\n"));
    Unzip reader;
    reader.setZipFileName(archive());
    reader.zipList();
    EXPECT_EQ(info.out, reader.memberReport());
}

TEST_F(CliDay, FailedBuildReportsTheErrorAndLeavesTheOldFile) {
    writeFile(stationFile(), "old");
    fs::create_directory(dir() / "empty");
    const CliRun noLists =
        run({"build", archive().string(), "--lists", (dir() / "empty").string()});
    expectErrorLine(noLists, "Error No: 53, ");
    expectErrorLine(run({"build", archive().string(), "--lists", (dir() / "none").string()}),
                    "Error No: 76, ");
    EXPECT_EQ(readFile(stationFile()), "old");

    expectErrorLine(runWithLists({"build", (dir() / "absent.traffic").string()}), "Error No: ");
    writeFile(dir() / "junk.traffic", "this is no zip archive");
    expectErrorLine(runWithLists({"build", "junk.traffic"}), "Error No: ");
    EXPECT_FALSE(fs::exists(dir() / "junk.station"));
    expectErrorLine(run({"info", "junk.traffic"}), "Error No: ");
}

TEST_F(CliDay, ExportWritesTheMainWindowsCsvFromStationFileOrArchive) {
    build();
    const std::string expected =
        ",101.occ,101.vol,103.occ,103.vol\r\n"
        "00:00:00,15.00, 1200 ,00.00, 0 \r\n"
        "01:00:00,15.00, 1200 ,05.00, 120 \r\n"
        "02:00:00,15.00, 1200 ,05.00, 240 \r\n";
    const std::vector<std::string> range{"--stations", "101,103", "--interval", "1 hour",
                                         "--from",     "00:00",   "--to",       "02:00:00"};
    for (const fs::path& input : {stationFile(), archive()}) {
        std::vector<std::string> args{"export", input.string(), "-o", "out.csv"};
        args.insert(args.end(), range.begin(), range.end());
        const CliRun exported = runWithLists(args);
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(readFile(dir() / "out.csv"), expected) << input;
    }
    std::vector<std::string> worst{"export", archive().string(), "-o", "worst.csv", "--worst"};
    worst.insert(worst.end(), range.begin(), range.end());
    ASSERT_EQ(runWithLists(worst).status, 0);
    EXPECT_TRUE(readFile(dir() / "worst.csv")
                    .starts_with(",101.occ,101.vol,103.occ,103.vol\r\n00:00:00,20.00, 1200 ,"));
}

TEST_F(CliDay, ExportByRoadTakesItsStationsInRoadOrder) {
    build();
    const CliRun exported =
        runWithLists({"export", "day.station", "-o", "road.csv", "--road", "East Spur"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string csv = readFile(dir() / "road.csv");
    EXPECT_TRUE(
        csv.starts_with(",103.occ,103.vol,101.occ,101.vol\r\n00:00:00,00.00, 0 ,15.00, 10 \r\n"));
    EXPECT_TRUE(csv.ends_with("23:59:30,05.00, 3 ,15.00, 10 \r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2881);

    expectErrorLine(runWithLists({"export", "day.station", "-o", "x.csv", "--road", "East"}),
                    "Error No: 5, ");
    EXPECT_FALSE(fs::exists(dir() / "x.csv"));
}

TEST_F(CliDay, RefusedExportWritesNothingAndKeepsTheOldFile) {
    build();
    writeFile(dir() / "out.csv", "old");
    const CliRun sameTime = runWithLists({"export", "day.station", "-o", "out.csv", "--stations",
                                          "101", "--from", "05:00", "--to", "05:00"});
    EXPECT_EQ(sameTime.status, 1);
    EXPECT_TRUE(sameTime.err.ends_with("The end time must be greater than the start time.\n"))
        << sameTime.err;
    const CliRun backwards = runWithLists({"export", "day.station", "-o", "out.csv", "--stations",
                                           "101", "--from", "06:00", "--to", "05:00"});
    EXPECT_EQ(backwards.status, 1);

    const CliRun missing = runWithLists(
        {"export", "day.station", "-o", "out.csv", "--stations", "101,999", "--log", "log.txt"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Station: 999 does not exist.\r\nUnable to generate the csv file.\n");
    EXPECT_NE(readFile(dir() / "log.txt").find("Station = 999 doesn't exist."), std::string::npos);
    EXPECT_EQ(readFile(dir() / "out.csv"), "old");

    const CliRun offGrid = runWithLists({"export", "day.station", "-o", "out.csv", "--stations",
                                         "101", "--interval", "15 min", "--from", "07:10"});
    expectErrorLine(offGrid, "Error No: 5, ");
    EXPECT_EQ(readFile(dir() / "out.csv"), "old");
    expectErrorLine(
        runWithLists({"export", "day.station", "-o", "none/x.csv", "--stations", "101"}),
        "Error No: ");
}

TEST_F(CliDay, StationFilesThatDoNotFitAreErrors) {
    build();
    const std::string bytes = readFile(stationFile());
    writeFile(dir() / "short.station", bytes.substr(0, bytes.size() - 1));
    expectErrorLine(runWithLists({"sum", "short.station", "--station", "101"}), "Error No: ");
    writeFile(dir() / "empty.station", "");
    expectErrorLine(runWithLists({"export", "empty.station", "-o", "x.csv", "--stations", "101"}),
                    "Error No: ");
    EXPECT_FALSE(fs::exists(dir() / "x.csv"));

    // A fourth station in the list: the file's three rows are too few.
    writeFile(lists() / "VURSta2Det.list", std::string(kStationListText) + "104, P, 41,\r\n");
    expectErrorLine(runWithLists({"sum", "day.station", "--station", "101"}), "Error No: 9, ");
}

TEST_F(CliDay, SumPrintsTheVolumeOfTheRange) {
    build();
    auto sum = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "sum");
        return runWithLists(args);
    };
    EXPECT_EQ(sum({"day.station", "--station", "101"}).out, "28800\n");
    EXPECT_EQ(sum({"day.station", "--station", "103"}).out, "5520\n");
    const std::vector<std::string> twoHours{"--station", "103",   "--interval", "1 hour",
                                            "--from",    "07:00", "--to",       "08:00"};
    for (const char* input : {"day.station", "day.traffic"}) {
        std::vector<std::string> args{input};
        args.insert(args.end(), twoHours.begin(), twoHours.end());
        const CliRun summed = sum(args);
        EXPECT_EQ(summed.status, 0) << summed.err;
        EXPECT_EQ(summed.out, "600\n") << input;
    }
    EXPECT_EQ(sum({"day.station", "--station", "103", "--interval", "5 min", "--from", "07:00",
                   "--to", "08:55"})
                  .out,
              "600\n")
        << "the same span at another interval";

    const CliRun missing = sum({"day.station", "--station", "999"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.ends_with("Station: 999 does not exist.\n"));
    EXPECT_EQ(missing.out, "");
    const CliRun sameTime =
        sum({"day.station", "--station", "101", "--from", "01:00", "--to", "01:00"});
    EXPECT_EQ(sameTime.status, 1);
    EXPECT_TRUE(sameTime.err.ends_with("The end time must be greater than the start time.\n"));
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
        {"export", "day.station", "-o", "x.csv", "--stations", "101,,103"},
        {"export", "day.station", "-o", "x.csv", "--stations", "40000"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--interval", "7 min"},
        {"export", "day.station", "-o", "x.csv", "--stations", "101", "--interval", "1 Hour"},
        {"sum", "day.station"},
        {"sum", "day.station", "--station", "abc"},
        {"sum", "day.station", "--station", "101", "--from", "7h"},
        {"info"},
        {"info", "day.traffic", "--lists", "x"},
    };
    for (const auto& args : wrong) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args.front());
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir() / "x.csv"));
    }
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quorvane-cli export INPUT -o OUT.csv"), std::string::npos);
}

TEST_F(CliDay, ListsDefaultToTheProgramsFolder) {
    const fs::path copy = dir() / "lists" / "quorvane-cli";
    fs::copy_file(cliProgram(), copy);
    const CliRun built = runProgram(copy, {"build", archive().string()}, dir());
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, kBuildLog);
}

// Archives written by Info-ZIP, deflated and stored, build the same tables as libzip's.
TEST_F(CliDay, InfoZipArchivesDeflatedOrStoredBuildTheSameTables) {
    if (!fs::exists("/usr/bin/zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    build();
    const fs::path members = dir() / "members";
    fs::create_directory(members);
    std::string names;
    for (const ZipMember& member : dayMembers()) {
        writeFile(members / member.name, member.bytes);
        names += " " + member.name;
    }
    for (const char* level : {"-6", "-0"}) {
        const std::string name = std::string("infozip") + level + ".traffic";
        const std::string command =
            "cd '" + members.string() + "' && zip -q -X " + level + " '../" + name + "'" + names;
        ASSERT_EQ(std::system(command.c_str()), 0);
        const CliRun built = runWithLists({"build", name, "-o", "infozip.station"});
        ASSERT_EQ(built.status, 0) << built.err;
        EXPECT_EQ(built.err, kBuildLog);
        EXPECT_EQ(readFile(dir() / "infozip.station"), readFile(stationFile())) << level;
        EXPECT_EQ(run({"info", name}).status, 0);
    }
    writeZip(dir() / "stored.traffic", dayMembers(true));
    ASSERT_EQ(runWithLists({"build", "stored.traffic"}).status, 0);
    EXPECT_EQ(readFile(dir() / "stored.station"), readFile(stationFile()));
}

TEST(CliSampleDay, BuildsAndExportsTheSampleDay) {
    TempDir dir;
    const CliRun sampled = runCli({"sample", "day"}, dir.path());
    ASSERT_EQ(sampled.status, 0) << sampled.err;
    EXPECT_NE(sampled.out.find("60 stations on 3 roads"), std::string::npos);

    const std::string lists = (dir / "day").string();
    const CliRun built = runCli({"build", "day/sample.traffic", "--lists", lists}, dir.path());
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_TRUE(built.err.starts_with("Sta count=60\r\nRoad count=3\r\nStation: "));
    EXPECT_NE(built.err.find(" does not exist\r\nStation: "), std::string::npos)
        << "the detector with its volume member only";
    EXPECT_EQ(fs::file_size(dir / "day" / "sample.station"), 40u + 17280u * 60u);

    const CliRun exported = runCli({"export", "day/sample.station", "-o", "road.csv", "--road",
                                    "Route 2 E", "--interval", "5 min", "--lists", lists},
                                   dir.path());
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string csv = readFile(dir / "road.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 289);
    EXPECT_TRUE(csv.starts_with(",220.occ,220.vol,219.occ,219.vol,"));

    const CliRun again = runCli({"sample", "again"}, dir.path());
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(readFile(dir / "again" / "sample.traffic"), readFile(dir / "day" / "sample.traffic"));
    EXPECT_EQ(runCli({"sample", "x", "--stations", "0"}, dir.path()).status, 2);
}

}  // namespace
}  // namespace quorvane::test
