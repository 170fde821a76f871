// Where a build or load finds its definition lists. (A relative data file, and the log line in
// a whole build, in CliDay.ListsComeFromTheProgramsFolderElseFromBesideTheData.)
#include <gtest/gtest.h>

#include <filesystem>

#include "core/day.h"
#include "base/log.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

std::string fallbackLine(const fs::path& folder) {
    return "No VURSta2Det.list beside the program: definition lists read from " + folder.string() +
           "\r\n";
}

// The program's folder counts only when it holds the station list; the data file's folder is
// then taken whatever it holds (a missing list is the build's error to report).
TEST(ChooseListFolder, ProgramFolderWithAStationListElseTheDataFilesFolder) {
    TempDir dir;
    fs::create_directories(dir / "with" / "bin");
    fs::create_directories(dir / "roadonly");
    fs::create_directories(dir / "empty");
    fs::create_directories(dir / "share");
    writeFile(dir / "with" / "VURSta2Det.list", "101, P, 1,\r\n");
    writeFile(dir / "roadonly" / "VURRoad2Sta.list", "North, 101,\r\n");
    fs::create_directories(dir / "listdir" / "VURSta2Det.list");  // a folder of that name

    const fs::path data = dir / "share" / "day.traffic";
    struct Case {
        fs::path program;
        fs::path expected;
    };
    for (const auto& [program, expected] : {
             Case{dir / "with", dir / "with"},
             Case{dir / "roadonly", dir / "share"},
             Case{dir / "empty", dir / "share"},
             Case{dir / "missing", dir / "share"},
             Case{dir / "listdir", dir / "share"},
             Case{dir / "with" / "bin", dir / "share"},
         }) {
        SCOPED_TRACE(program.string());
        Log log;
        const ListFolder folder = chooseListFolder(program, data, log);
        EXPECT_EQ(folder.directory, expected);
        EXPECT_EQ(folder.besideData, expected != program);
        EXPECT_EQ(log.logText(), folder.besideData ? fallbackLine(expected) : "");
    }
}

}  // namespace
}  // namespace quorvane
