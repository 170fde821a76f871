// The sample day's generator: its bytes follow from the seed and its layout from the station
// count, and the day holds the flaws of a real one and a morning queue travelling upstream.
// That the engine builds it and logs its missing detectors is tested with quorvane-cli.
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <sstream>

#include "sampleday/layout.h"
#include "sampleday/sample_command.h"
#include "sampleday/sample_day.h"
#include "sampleday/traffic_model.h"
#include "support/test_files.h"

namespace quorvane::sampleday {
namespace {

using test::readFile;
using test::TempDir;

// Slot `slot` of an occupancy member in percent: big-endian 16-bit raw values.
double percentAt(const std::string& occupancy, int slot, bool c30) {
    const auto high = static_cast<uint8_t>(occupancy[2 * slot]);
    const auto low = static_cast<uint8_t>(occupancy[2 * slot + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low)) / (c30 ? 18.0 : 10.0);
}

TEST(SampleDay, SameSeedSameBytesOtherSeedOtherBytes) {
    TempDir first, second, third;
    writeSampleDay(first.path(), {40, 7});
    writeSampleDay(second.path(), {40, 7});
    writeSampleDay(third.path(), {40, 8});
    for (const char* name : {"sample.traffic", "VURSta2Det.list", "VURRoad2Sta.list"}) {
        EXPECT_EQ(readFile(first / name), readFile(second / name)) << name;
    }
    EXPECT_NE(readFile(first / "sample.traffic"), readFile(third / "sample.traffic"));
}

TEST(SampleDay, MetroSizedForTwoThousandStationsWithNumbersThatNeverWrap) {
    const SampleLayout metro = planSampleDay({2000, 1});
    ASSERT_EQ(metro.stations.size(), 2000u);
    EXPECT_GT(metro.detectorCount(), 7400);
    EXPECT_LT(metro.detectorCount(), 8000);
    int previousStation = 0;
    int previousDetector = 0;
    for (const SampleStation& station : planSampleDay({kMaxStations, 3}).stations) {
        EXPECT_GT(station.number, previousStation);
        previousStation = station.number;
        for (const SampleDetector& detector : station.detectors) {
            EXPECT_GT(detector.number, previousDetector);
            previousDetector = detector.number;
        }
    }
}

// One detector missing, one with its volume only, one "c30"; three volumes above 40 and three
// occupancies above 100 %. The morning queue stands upstream of each road's bottleneck at 25
// to 40 % and reaches stations further upstream later; past it traffic flows freely.
TEST(SampleDay, MembersCarryThePlantedFlawsAndAQueueGrowingUpstream) {
    const SampleLayout layout = planSampleDay({});
    std::map<std::string, std::string> members;
    for (ArchiveMember& member : archiveMembers(layout, kDefaultSeed)) {
        members[member.name] = std::move(member.bytes);
    }
    EXPECT_EQ(static_cast<int>(members.size()), 2 * layout.detectorCount() - 3);
    int highVolumes = 0;
    int highOccupancies = 0;
    for (const auto& [name, bytes] : members) {
        for (int k = 0; k < kSlots; ++k) {
            highVolumes += name.ends_with(".v30") && static_cast<uint8_t>(bytes[k]) > 40;
            highOccupancies +=
                !name.ends_with(".v30") && percentAt(bytes, k, name.ends_with(".c30")) > 100.0;
        }
    }
    EXPECT_EQ(std::pair(highVolumes, highOccupancies), std::pair(3, 3));

    // A station's mean detector occupancy over `count` slots from `slot`.
    const auto occupancy = [&](const SampleRoad& road, int cell, int slot, int count = 20) {
        double sum = 0;
        int counted = 0;
        for (const SampleDetector& detector : layout.stations[road.stations[cell]].detectors) {
            for (const char* ext : {".o30", ".c30"}) {
                const auto it = members.find(std::to_string(detector.number) + ext);
                for (int k = slot; it != members.end() && k < slot + count; ++k) {
                    sum += percentAt(it->second, k, ext[1] == 'c');
                    ++counted;
                }
            }
        }
        return sum / counted;
    };
    // The first block from 05:00 whose occupancy passes 20 %.
    const auto onset = [&](const SampleRoad& road, int cell) {
        int slot = 5 * 120;
        while (slot + 20 <= kSlots && occupancy(road, cell, slot) <= 20.0) {
            slot += 20;
        }
        return slot;
    };
    for (const SampleRoad& road : layout.roads) {
        SCOPED_TRACE(road.name);
        const int b = road.bottleneckCell;
        ASSERT_GE(b, 4);
        const int queued = onset(road, b - 1);
        EXPECT_LT(queued, 10 * 120) << "the morning queue forms before 10:00";
        EXPECT_LT(queued, onset(road, b - 4));
        const double standing = occupancy(road, b - 1, queued + 20, 40);
        EXPECT_TRUE(standing > 22.0 && standing < 45.0) << standing;
        EXPECT_LT(occupancy(road, b + 1, queued + 20, 40), 15.0) << "free flow past it";
    }
}

TEST(SampleCommand, WritesTheDayOrRefusesABadCommandLine) {
    TempDir dir;
    std::ostringstream out, err;
    const std::vector<std::string_view> bad[] = {
        {}, {"x", "--stations", "abc"}, {"x", "y"}, {"x", "--stations", "5001"}};
    for (const auto& args : bad) {
        EXPECT_EQ(runSampleCommand(args, out, err, "quorvane-sample"), 2);
    }
    EXPECT_NE(err.str().find("usage: quorvane-sample DIR"), std::string::npos);
    const std::string target = (dir / "new" / "day").string();
    const std::vector<std::string_view> good{target, "--stations", "25", "--seed", "9"};
    EXPECT_EQ(runSampleCommand(good, out, err, "quorvane-sample"), 0);
    EXPECT_NE(out.str().find("25 stations on 1 road,"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "new" / "day" / "sample.traffic"));

    test::writeFile(dir / "file", "x");
    const std::string blocked = (dir / "file" / "day").string();
    const std::vector<std::string_view> unwritable{blocked};
    EXPECT_EQ(runSampleCommand(unwritable, out, err, "quorvane-sample"), 1);
    EXPECT_NE(err.str().find("Error No: 76, "), std::string::npos);
}

}  // namespace
}  // namespace quorvane::sampleday
