#include "support/test_day.h"

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace quorvane::test {

void TestDay::writeLists(const std::filesystem::path& directory) {
    std::string stations = "; station, P, detectors\r\n";
    for (int s = kFirstStation; s < kFirstStation + kStations; ++s) {
        stations += std::to_string(s) + ",P," + std::to_string(s * 10 + 1) + "," +
                    std::to_string(s * 10 + 2) + ",\r\n";
    }
    writeFile(directory / "VURSta2Det.list", stations);
    std::string roads = "North";
    for (int s = 101; s <= 130; ++s) {
        roads += ',';  // appends: g++ 12 -O3 sees false restrict overlaps in a + chain here
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
        const std::string first = std::to_string(s * 10 + 1);
        const auto steady = static_cast<uint8_t>(scale * (1 + (s - 101) % 5));
        members.push_back({first + ".o30", occupancyBytes(int16_t{100})});
        members.push_back({first + ".v30", volumeBytes(steady)});
        if (s != 140) {  // detector 1402 is missing
            const std::string second = std::to_string(s * 10 + 2);
            members.push_back({second + ".o30", occupancyBytes(int16_t{300})});
            members.push_back({second + ".v30", volumeBytes(cycling)});
        }
    }
    writeZip(archive, members);
}

}  // namespace quorvane::test
