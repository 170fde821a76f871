#include "archive_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quorvane::test {

Error errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no Error raised";
    return Error(0, "");
}

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

void put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

}  // namespace

void writeStoredZip(const std::filesystem::path& path, const std::vector<ZipMember>& members) {
    std::string local;
    std::string central;
    for (const ZipMember& member : members) {
        const auto offset = static_cast<uint32_t>(local.size());
        const uint32_t crc = crc32(member.bytes);
        const auto size = static_cast<uint32_t>(member.bytes.size());
        const auto nameLength = static_cast<uint32_t>(member.name.size());
        put32(local, 0x04034b50);
        put16(local, 10);  // version needed
        put16(local, 0);   // flags
        put16(local, 0);   // stored
        put32(local, 0);   // time and date
        put32(local, crc);
        put32(local, size);
        put32(local, size);
        put16(local, nameLength);
        put16(local, 0);
        local += member.name;
        local += member.bytes;

        put32(central, 0x02014b50);
        put16(central, 20);  // version made by
        put16(central, 10);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, crc);
        put32(central, size);
        put32(central, size);
        put16(central, nameLength);
        put32(central, 0);  // extra and comment length
        put32(central, 0);  // disk, internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central += member.name;
    }
    std::string end;
    put32(end, 0x06054b50);
    put32(end, 0);
    put16(end, static_cast<uint32_t>(members.size()));
    put16(end, static_cast<uint32_t>(members.size()));
    put32(end, static_cast<uint32_t>(central.size()));
    put32(end, static_cast<uint32_t>(local.size()));
    put16(end, 0);
    writeFile(path, local + central + end);
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

std::string volumeDay(uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> values(2880);
    for (uint8_t& value : values) {
        const uint32_t roll = random() % 100;
        value = static_cast<uint8_t>(roll < 2 ? 41 + random() % 200 : random() % 25);
    }
    return volumeBytes(values);
}

std::string occupancyDay(uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<int16_t> values(2880);
    for (int16_t& value : values) {
        const uint32_t roll = random() % 100;
        if (roll < 2) {
            value = static_cast<int16_t>(1001 + random() % 2000);  // above 100 %
        } else if (roll < 3) {
            value = static_cast<int16_t>(-1 - static_cast<int>(random() % 50));
        } else {
            value = static_cast<int16_t>(random() % 400);
        }
    }
    return occupancyBytes(values);
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

std::filesystem::path writeFlawedDay(const std::filesystem::path& dir, int stations,
                                     int detsPerStation) {
    std::vector<StationLine> lines;
    std::vector<ZipMember> members;
    for (int s = 0; s < stations; ++s) {
        StationLine line{static_cast<int16_t>(s + 1), {}};
        for (int j = 0; j < detsPerStation; ++j) {
            const auto det = static_cast<int16_t>(1000 + 10 * s + j);
            line.dets.push_back(det);
            const auto seed = static_cast<uint32_t>(det);
            if (s % 7 == 3 && j == 0) {
                continue;  // missing from the archive
            }
            const bool c30 = s % 5 == 2;
            const std::string name = std::to_string(det);
            members.push_back({name + ".v30", volumeDay(seed)});
            if (s % 11 == 5 && j == 1) {
                continue;  // volume member only
            }
            members.push_back({name + (c30 ? ".c30" : ".o30"), occupancyDay(seed + 7777)});
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
