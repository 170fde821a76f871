#include "support/test_day.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace quorvane::test {

void TestDay::writeLists(const std::filesystem::path& directory) {
    std::string stations = "; station, P, detectors\r\n";
    std::string roads = "North";
    for (int s = 101; s < 101 + kStations; ++s) {
        const std::string n = std::to_string(s);
        stations += n + ",P," + n + "1," + n + "2,\r\n";
        roads += s <= 130 ? "," + n : "";
    }
    writeFile(directory / "VURSta2Det.list", stations);
    writeFile(directory / "VURRoad2Sta.list",
              roads + ",\r\nSouth,140,139,138,\r\nGhost,131,999,\r\n");
}

void TestDay::writeArchive(const std::filesystem::path& archive, int scale) {
    std::string cycling;
    for (int k = 0; k < 2880; ++k) {
        cycling += static_cast<char>(k % 4);
    }
    std::vector<ZipMember> members;
    for (int s = 101; s < 101 + kStations; ++s) {
        const std::string n = std::to_string(s);
        const auto steady = static_cast<uint8_t>(scale * (1 + (s - 101) % 5));
        members.push_back({n + "1.o30", occupancyBytes(int16_t{100})});
        members.push_back({n + "1.v30", volumeBytes(steady)});
        if (s != 140) {  // detector 1402 is missing
            members.push_back({n + "2.o30", occupancyBytes(int16_t{300})});
            members.push_back({n + "2.v30", cycling});
        }
    }
    writeZip(archive, members);
}

void TestDay::writePositions(const std::filesystem::path& directory) {
    std::string list;
    for (int s = 101; s <= 130; ++s) {
        list += std::to_string(s) + ", " + std::to_string(s - 101) + ",\r\n";
    }
    writeFile(directory / "VURStaPos.list", list);
}

void TestDay::writeQueueArchive(const std::filesystem::path& archive, int lateMinutes) {
    const int first = 7 * 120;
    const int last = 8 * 120 + 2 * lateMinutes;
    std::vector<ZipMember> members;
    for (int s = 101; s < 101 + kStations; ++s) {
        std::vector<uint8_t> volume(2880, 6);
        std::vector<int16_t> occupancy(2880, 50);
        if (s <= 110) {
            std::fill(volume.begin() + first, volume.begin() + last, uint8_t{4});
            std::fill(occupancy.begin() + first, occupancy.begin() + last, int16_t{250});
        }
        for (const char* lane : {"1", "2"}) {
            const std::string name = std::to_string(s) + lane;
            members.push_back({name + ".v30", volumeBytes(volume)});
            members.push_back({name + ".o30", occupancyBytes(occupancy)});
        }
    }
    writeZip(archive, members);
}

}  // namespace quorvane::test
