#include "support/test_day.h"

#include <cstdint>
#include <vector>

#include "support/test_files.h"

namespace quorvane::test {

namespace {

constexpr int kMissingDetector = 1402;

int steadyVolume(int station, int scale) {
    return scale * (1 + (station - 101) % 5);
}

}  // namespace

void TestDay::writeLists(const std::filesystem::path& directory) {
    std::string stations = "; station, P, detectors\r\n";
    for (int s = kFirstStation; s < kFirstStation + kStations; ++s) {
        stations += std::to_string(s) + ",P," + std::to_string(s * 10 + 1) + "," +
                    std::to_string(s * 10 + 2) + ",\r\n";
    }
    writeFile(directory / "VURSta2Det.list", stations);

    std::string roads = "North";
    for (int s = 101; s <= 130; ++s) {
        roads += ',';
        roads += std::to_string(s);
    }
    roads += ",\r\nSouth,140,139,138,\r\nGhost,131,999,\r\n";
    writeFile(directory / "VURRoad2Sta.list", roads);
}

void TestDay::writeArchive(const std::filesystem::path& archive, int scale) {
    std::vector<uint8_t> cycling(2880);
    for (int k = 0; k < 2880; ++k) {
        cycling[k] = static_cast<uint8_t>(k % 4);
    }
    std::vector<ZipMember> members;
    for (int s = kFirstStation; s < kFirstStation + kStations; ++s) {
        const int first = s * 10 + 1;
        members.push_back({std::to_string(first) + ".o30", occupancyBytes(int16_t{100}), false});
        members.push_back({std::to_string(first) + ".v30",
                           volumeBytes(static_cast<uint8_t>(steadyVolume(s, scale))), false});
        const int second = s * 10 + 2;
        if (second == kMissingDetector) {
            continue;
        }
        members.push_back({std::to_string(second) + ".o30", occupancyBytes(int16_t{300}), false});
        members.push_back({std::to_string(second) + ".v30", volumeBytes(cycling), false});
    }
    writeZip(archive, members);
}

int TestDay::volume(int station, int firstSlot, int lastSlot, int scale) {
    int total = 0;
    for (int k = firstSlot; k <= lastSlot; ++k) {
        total += steadyVolume(station, scale);
        if (station * 10 + 2 != kMissingDetector) {
            total += k % 4;
        }
    }
    return total;
}

}  // namespace quorvane::test
