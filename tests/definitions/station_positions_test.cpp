// The optional station positions list: the other lists' line rules, and every malformed line
// named by file, line and fault.
#include "definitions/station_positions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/error.h"
#include "definitions/station_list.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using test::errorOf;

const StationList kStations = StationList::parse("101,P,1,\n102,P,2,\n103,P,3,\n");

// The trailing comma is optional; fields keep the lists' decimal rule ("+", "7.", ".5").
TEST(StationPositions, ReadsPostsWithTheListsLineRulesInLfOrCrLf) {
    const std::string text =
        "; station, post\r\n101, 12.350,\r\n\r\n102,+13.\r\n  103 , -.5 ,  \r\n";
    const std::vector<StationPosition> expected{{101, 12.35}, {102, 13.0}, {103, -0.5}};
    std::string lf = text;
    std::erase(lf, '\r');
    for (const std::string& list : {text, lf}) {
        const StationPositions positions = StationPositions::parse(list, kStations);
        EXPECT_EQ(positions.positions(), expected);
        EXPECT_EQ(std::pair(positions.postKm(102), positions.postKm(104)),
                  std::pair(std::optional(13.0), std::optional<double>()));
    }
}

TEST(StationPositions, MalformedLinesAreErrorsNamingFileLineAndFault) {
    const std::string huge = "1" + std::string(400, '0');
    const struct {
        std::string text;
        int number;
        const char* mentions;
    } cases[] = {
        {"101,1.0,\r\n102,x,\r\n", 13, "VURStaPos.list line 2: post \"x\" is not a number"},
        {"101,12,5,\r\n", 9, "VURStaPos.list line 1: more than a station number and its post"},
        {"101,1.0,\t\r\n", 9, "line 1: more than a station number and its post"},
        {"101 12.5\r\n", 9, "line 1: no \",\" after the station number"},
        {"101,,\r\n", 13, "line 1: post \"\" is not a number"},
        {"101,1e3,\r\n", 13, "post \"1e3\" is not a number"},
        {"101," + huge + ",\r\n", 6,
         "line 1: post \"1000000000000000000000000000000000000000...\" "
         "is out of range"},
        {"x1,1.0,\r\n", 13, "line 1: station number \"x1\" is not a number"},
        {"40000,1.0,\r\n", 6, "station number \"40000\" is outside -32768..32767"},
        {"101,1.0,\r\n; c\r\n101,2.0,\r\n", 9,
         "line 3: station 101 is listed twice (first on line 1)"},
        {"101,1.0,\r\n999,2.0,\r\n", 9, "line 2: station 999 is not in VURSta2Det.list"},
        {"; only a comment\r\n", 9, "VURStaPos.list has no position line"},
    };
    for (const auto& c : cases) {
        const Error e = errorOf([&] { StationPositions::parse(c.text, kStations); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
    }
}

TEST(StationPositions, AMissingFileIsNoListAnUnreadableOneAnError) {
    test::TempDir dir;
    EXPECT_FALSE(StationPositions::readList(dir.path(), kStations).has_value());
    std::filesystem::create_directory(dir / "VURStaPos.list");
    EXPECT_EQ(errorOf([&] { StationPositions::readList(dir.path(), kStations); }).number(),
              errc::kPathFileAccess);
}

}  // namespace
}  // namespace quorvane
