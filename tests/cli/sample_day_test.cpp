#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "sampleday/layout.h"
#include "sampleday/sample_command.h"
#include "sampleday/sample_day.h"
#include "sampleday/traffic_model.h"
#include "support/test_files.h"

namespace quorvane::sampleday {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

struct ZipListing {
    std::string name;
    uint64_t size = 0;
    uint16_t method = 0;
    time_t mtime = 0;
};

std::vector<ZipListing> listZip(const fs::path& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    EXPECT_NE(archive, nullptr);
    std::vector<ZipListing> members;
    if (archive == nullptr) {
        return members;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        members.push_back({stat.name, stat.size, stat.comp_method, stat.mtime});
    }
    zip_close(archive);
    return members;
}

std::map<std::string, std::string> membersByName(const SampleLayout& layout, uint64_t seed) {
    std::map<std::string, std::string> byName;
    for (ArchiveMember& member : archiveMembers(layout, seed)) {
        byName[member.name] = std::move(member.bytes);
    }
    return byName;
}

double percentAt(const std::string& occupancy, int slot, double rawPerPercent) {
    const auto high = static_cast<uint8_t>(occupancy[2 * slot]);
    const auto low = static_cast<uint8_t>(occupancy[2 * slot + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low)) / rawPerPercent;
}

// A station's mean detector occupancy per slot, from the members as the archive holds them.
std::vector<double> stationOccupancy(const SampleStation& station,
                                     const std::map<std::string, std::string>& members) {
    std::vector<double> mean(kSlots, 0.0);
    int counted = 0;
    for (const SampleDetector& detector : station.detectors) {
        const std::string number = std::to_string(detector.number);
        const bool c30 = members.contains(number + ".c30");
        const auto it = members.find(number + (c30 ? ".c30" : ".o30"));
        if (it == members.end()) {
            continue;
        }
        ++counted;
        for (int k = 0; k < kSlots; ++k) {
            mean[k] += percentAt(it->second, k, c30 ? 18.0 : 10.0);
        }
    }
    for (double& value : mean) {
        value /= std::max(counted, 1);
    }
    return mean;
}

// Mean over slots [first, first + count).
double meanOver(const std::vector<double>& values, int first, int count) {
    return std::accumulate(values.begin() + first, values.begin() + first + count, 0.0) / count;
}

// The first 10-minute block from `fromSlot` whose mean occupancy passes `threshold`, or -1.
int congestionOnset(const std::vector<double>& occupancy, int fromSlot, double threshold) {
    for (int slot = fromSlot; slot + 20 <= kSlots; slot += 20) {
        if (meanOver(occupancy, slot, 20) > threshold) {
            return slot;
        }
    }
    return -1;
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

TEST(SampleDay, DefaultDayHasSixtyStationsOnThreeRoads) {
    const SampleLayout layout = planSampleDay({});
    ASSERT_EQ(layout.stations.size(), 60u);
    ASSERT_EQ(layout.roads.size(), 3u);
    std::multiset<int> onRoads;
    for (const SampleRoad& road : layout.roads) {
        EXPECT_EQ(road.stations.size(), 20u);
        onRoads.insert(road.stations.begin(), road.stations.end());
    }
    for (int s = 0; s < 60; ++s) {
        EXPECT_EQ(onRoads.count(s), 1u) << "every station lies on exactly one road";
        const auto lanes = layout.stations[s].detectors.size();
        EXPECT_TRUE(lanes == 3 || lanes == 4);
    }
}

TEST(SampleDay, MetroDayHasRoadsOfTwentyToSixtyAndSixteenBitNumbers) {
    const SampleLayout layout = planSampleDay({2000, 1});
    ASSERT_EQ(layout.stations.size(), 2000u);
    for (const SampleRoad& road : layout.roads) {
        EXPECT_GE(road.stations.size(), 20u);
        EXPECT_LE(road.stations.size(), 60u);
    }
    EXPECT_GT(layout.detectorCount(), 7400);
    EXPECT_LT(layout.detectorCount(), 8000);
    int previousStation = -32769;
    int previousDetector = -32769;
    for (const SampleStation& station : layout.stations) {
        EXPECT_GT(station.number, previousStation) << "ascending in the station list";
        previousStation = station.number;
        for (const SampleDetector& detector : station.detectors) {
            EXPECT_GT(detector.number, previousDetector);
            previousDetector = detector.number;
        }
    }
    EXPECT_LE(planSampleDay({kMaxStations, 3}).stations.back().detectors.back().number, 32767);
}

TEST(SampleDay, ArchiveHoldsSortedDeflatedMembersWithTheFlaws) {
    TempDir dir;
    const SampleSummary summary = writeSampleDay(dir.path(), {});
    const SampleLayout layout = planSampleDay({});
    const std::vector<ZipListing> members = listZip(summary.archive);
    ASSERT_EQ(static_cast<int>(members.size()), summary.members);
    EXPECT_EQ(summary.members, 2 * layout.detectorCount() - 3);  // 1 missing, 1 volume only

    std::map<std::string, const ZipListing*> byName;
    int previousDetector = 0;
    for (const ZipListing& member : members) {
        const int detector = std::stoi(member.name.substr(0, member.name.find('.')));
        EXPECT_GE(detector, previousDetector) << member.name;
        previousDetector = detector;
        EXPECT_EQ(member.method, ZIP_CM_DEFLATE);
        EXPECT_EQ(member.mtime, members.front().mtime);
        EXPECT_EQ(member.size, member.name.ends_with(".v30") ? 2880u : 5760u);
        byName[member.name] = &member;
    }
    // The members each detector has, by its flaw.
    constexpr std::array<const char*, 4> kExpected{".o30 .v30", "", ".v30", ".c30 .v30"};
    int flawsSeen = 0;
    for (const SampleStation& station : layout.stations) {
        for (const SampleDetector& detector : station.detectors) {
            std::string present;
            for (const char* ext : {".c30", ".o30", ".v30"}) {
                if (byName.contains(std::to_string(detector.number) + ext)) {
                    present += present.empty() ? ext : std::string(" ") + ext;
                }
            }
            EXPECT_EQ(present, kExpected[static_cast<int>(detector.flaw)]) << detector.number;
            flawsSeen += detector.flaw != DetectorFlaw::None;
        }
    }
    EXPECT_EQ(flawsSeen, 3);
}

TEST(SampleDay, ValuesAreRealisticAndOnlyThePlantedOnesImplausible) {
    const SampleLayout layout = planSampleDay({});
    const auto members = membersByName(layout, kDefaultSeed);
    int highVolumes = 0;
    int highOccupancies = 0;
    int maxVolume = 0;
    for (const auto& [name, bytes] : members) {
        if (name.ends_with(".v30")) {
            for (char c : bytes) {
                const int volume = static_cast<uint8_t>(c);
                highVolumes += volume > 40;
                maxVolume = volume > 40 ? maxVolume : std::max(maxVolume, volume);
            }
        } else {
            const double perPercent = name.ends_with(".c30") ? 18.0 : 10.0;
            for (int k = 0; k < kSlots; ++k) {
                const double percent = percentAt(bytes, k, perPercent);
                EXPECT_GE(percent, 0.0);
                highOccupancies += percent > 100.0;
            }
        }
    }
    EXPECT_EQ(highVolumes, 3);
    EXPECT_EQ(highOccupancies, 3);
    EXPECT_GE(maxVolume, 18) << "busy lanes carry close to 20 vehicles in 30 s";
    EXPECT_LE(maxVolume, 35);

    const SampleStation& downstreamEnd =
        layout.stations[layout.roads[0].stations.back()];  // past the bottleneck
    const std::vector<double> occupancy = stationOccupancy(downstreamEnd, members);
    EXPECT_LT(meanOver(occupancy, 3 * 120, 120), 2.0) << "03:00, nearly empty road";
    const double noon = meanOver(occupancy, 12 * 120, 120);
    EXPECT_GT(noon, 2.0);
    EXPECT_LT(noon, 12.0) << "free flow at midday: a few percent";
}

// The queue of each peak stands upstream of the bottleneck at 25 to 40 % and reaches stations
// further upstream later: a wave travelling against the traffic.
TEST(SampleDay, QueueGrowsUpstreamFromTheBottleneck) {
    const SampleLayout layout = planSampleDay({});
    const auto members = membersByName(layout, kDefaultSeed);
    for (const SampleRoad& road : layout.roads) {
        SCOPED_TRACE(road.name);
        const int b = road.bottleneckCell;
        ASSERT_GE(b, 4);
        auto occupancyAtCell = [&](int cell) {
            return stationOccupancy(layout.stations[road.stations[cell]], members);
        };
        const int morning = 5 * 120;
        const std::vector<double> nearBottleneck = occupancyAtCell(b - 1);
        const std::vector<double> upstream = occupancyAtCell(b - 4);
        const int nearOnset = congestionOnset(nearBottleneck, morning, 20.0);
        const int upstreamOnset = congestionOnset(upstream, morning, 20.0);
        ASSERT_GE(nearOnset, 0);
        ASSERT_GE(upstreamOnset, 0);
        EXPECT_LT(nearOnset, upstreamOnset);
        EXPECT_LT(nearOnset, 10 * 120) << "the morning queue forms before 10:00";

        const double queued = meanOver(nearBottleneck, nearOnset + 20, 40);
        EXPECT_GT(queued, 22.0);
        EXPECT_LT(queued, 45.0);
        const std::vector<double> downstream = occupancyAtCell(b + 1);
        EXPECT_LT(meanOver(downstream, nearOnset + 20, 40), 15.0) << "free flow past it";
    }
}

TEST(SampleDay, ListsParseWithTheEngine) {
    const SampleLayout layout = planSampleDay({});
    const StationList stations = StationList::parse(stationListText(layout));
    const RoadList roads = RoadList::parse(roadListText(layout));
    ASSERT_EQ(stations.count(), 60);
    ASSERT_EQ(roads.count(), 3);
    for (int s = 0; s < 60; ++s) {
        std::vector<int16_t> detectors;
        for (const SampleDetector& detector : layout.stations[s].detectors) {
            detectors.push_back(detector.number);
        }
        EXPECT_EQ(stations.staNumByIndex(s), layout.stations[s].number);
        EXPECT_EQ(stations.detList(s, "P"), detectors);
    }
    for (int r = 0; r < 3; ++r) {
        std::vector<int16_t> numbers;
        for (const int s : layout.roads[r].stations) {
            numbers.push_back(layout.stations[s].number);
        }
        EXPECT_EQ(roads.roadByIndex(r), layout.roads[r].name);
        EXPECT_EQ(roads.staList(r), numbers);
    }
    EXPECT_NE(stationListText(layout).find("\r\n101, P, "), std::string::npos);
}

TEST(SampleCommand, WritesTheDayOrRefusesABadCommandLine) {
    TempDir dir;
    std::ostringstream out, err;
    const std::vector<std::string_view> bad[] = {
        {},         {"--stations", "0", "x"}, {"x", "--stations", "abc"}, {"x", "--seed"},
        {"x", "y"}, {"x", "--colour", "red"}, {"x", "--stations", "5001"}};
    for (const auto& args : bad) {
        EXPECT_EQ(runSampleCommand(args, out, err, "quorvane-sample"), 2);
    }
    EXPECT_NE(err.str().find("usage: quorvane-sample DIR"), std::string::npos);
    const std::string target = (dir / "new" / "day").string();
    const std::vector<std::string_view> good{target, "--stations", "25", "--seed", "9"};
    EXPECT_EQ(runSampleCommand(good, out, err, "quorvane-sample"), 0);
    EXPECT_NE(out.str().find("25 stations on 1 road,"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "new" / "day" / "sample.traffic"));

    test::writeFile(dir / "file", "x");
    const std::string blocked = (dir / "file" / "day").string();
    const std::vector<std::string_view> unwritable{blocked};
    EXPECT_EQ(runSampleCommand(unwritable, out, err, "quorvane-sample"), 1);
    EXPECT_NE(err.str().find("Error No: 76, "), std::string::npos);
}

}  // namespace
}  // namespace quorvane::sampleday
