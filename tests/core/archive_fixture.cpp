#include "archive_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quorvane::test {

namespace {

uint32_t crc32(std::string_view bytes) {
    uint32_t crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A little-endian field of `bytes` bytes.
std::string le(int bytes, uint32_t value) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
    return out;
}

}  // namespace

void writeStoredZip(const std::filesystem::path& path, const std::vector<ZipMember>& members) {
    std::string local;
    std::string central;
    for (const ZipMember& member : members) {
        const auto offset = static_cast<uint32_t>(local.size());
        const auto size = static_cast<uint32_t>(member.bytes.size());
        // What the local header and the central entry share: version 1.0, no flags, stored, no
        // time, the CRC, both sizes, the name's length, no extra field.
        const std::string shared = le(2, 10) + le(2, 0) + le(2, 0) + le(4, 0) +
                                   le(4, crc32(member.bytes)) + le(4, size) + le(4, size) +
                                   le(2, static_cast<uint32_t>(member.name.size())) + le(2, 0);
        local += le(4, 0x04034b50) + shared + member.name + member.bytes;
        // Then: no comment, disk 0, no attributes, the local header's offset.
        central += le(4, 0x02014b50) + le(2, 20) + shared + le(2, 0) + le(2, 0) + le(2, 0) +
                   le(4, 0) + le(4, offset) + member.name;
    }
    const auto count = static_cast<uint32_t>(members.size());
    writeFile(path, local + central + le(4, 0x06054b50) + le(4, 0) + le(2, count) + le(2, count) +
                        le(4, static_cast<uint32_t>(central.size())) +
                        le(4, static_cast<uint32_t>(local.size())) + le(2, 0));
}

Unzip listed(const std::filesystem::path& path) {
    Unzip archive;
    archive.setZipFileName(path);
    archive.zipList();
    return archive;
}

Unzip listedMembers(const TempDir& dir, const std::vector<ZipMember>& members) {
    const auto path = dir / "day.traffic";
    writeZip(path, members);
    return listed(path);
}

void writeLists(const std::filesystem::path& dir, const std::vector<StationLine>& stations) {
    std::string staText;
    std::string roadText = "Test Road";
    for (const StationLine& line : stations) {
        staText += std::to_string(line.staNum) + ",P";
        for (int16_t det : line.dets) {
            staText += "," + std::to_string(det);
        }
        staText += ",\r\n";
        roadText += "," + std::to_string(line.staNum);
    }
    roadText += ",\r\n";
    writeFile(dir / "VURSta2Det.list", staText);
    writeFile(dir / "VURRoad2Sta.list", roadText);
}

namespace {

// One detector's members: values that vary by slot and detector, some of them implausible
// (volumes above 40, occupancies below 0 or above 100 %).
std::pair<std::string, std::string> detectorDay(int det) {
    std::vector<uint8_t> vol(2880);
    std::vector<int16_t> occ(2880);
    for (int k = 0; k < 2880; ++k) {
        vol[k] = static_cast<uint8_t>((7 * k + det) % 44);
        occ[k] = static_cast<int16_t>((13 * k + 31 * det) % 1100 - 50);
    }
    return {volumeBytes(vol), occupancyBytes(occ)};
}

}  // namespace

std::filesystem::path writeFlawedDay(const std::filesystem::path& dir, int stations,
                                     int detsPerStation) {
    std::vector<StationLine> lines;
    std::vector<ZipMember> members;
    for (int s = 0; s < stations; ++s) {
        StationLine line{static_cast<int16_t>(s + 1), {}};
        for (int j = 0; j < detsPerStation; ++j) {
            const auto det = static_cast<int16_t>(1000 + 10 * s + j);
            line.dets.push_back(det);
            if (s % 7 == 3 && j == 0) {
                continue;  // missing from the archive
            }
            const bool c30 = s % 5 == 2;
            const std::string name = std::to_string(det);
            auto [vol, occ] = detectorDay(det);
            members.push_back({name + ".v30", std::move(vol)});
            if (s % 11 == 5 && j == 1) {
                continue;  // volume member only
            }
            members.push_back({name + (c30 ? ".c30" : ".o30"), std::move(occ)});
        }
        lines.push_back(line);
    }
    // Not grouped by detector: the lookup must not depend on archive order.
    std::mt19937 random(42);
    std::shuffle(members.begin(), members.end(), random);
    writeLists(dir, lines);
    const std::filesystem::path archive = dir / "day.traffic";
    writeZip(archive, members);
    return archive;
}

}  // namespace quorvane::test
