// The ".station" file: what is written, what is read back, and what both readers refuse.
#include "definitions/station_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "base/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::TempDir;
using Entries = std::array<int32_t, 4>;  // a block's two dimension entries, as stored

// Distinct values in every cell, including negative volumes and special floats.
StationTables sampleTables(int stations) {
    StationTables tables = StationTables::zeroed(stations);
    for (std::size_t i = 0; i < tables.volume.size(); ++i) {
        tables.volume[i] = static_cast<int16_t>(i * 7919 % 65536 - 32768);
        tables.occupancy[i] = static_cast<float>(i % 1000) * 0.37f - 3.0f;
    }
    tables.occupancy[1] = -0.0f;
    tables.occupancy[2] = std::numeric_limits<float>::quiet_NaN();
    tables.occupancy[3] = std::numeric_limits<float>::infinity();
    tables.occupancy[4] = std::numeric_limits<float>::denorm_min();
    return tables;
}

std::size_t secondBlock(int stations) {
    return 20 + 5760 * static_cast<std::size_t>(stations);
}

// `bytes` with `value` stored at `offset`: a block's type code is at 0, its dimension count at
// 2, its entries at 4.
template <typename T>
std::string changed(std::string bytes, std::size_t offset, const T& value) {
    bytes.replace(offset, sizeof value, reinterpret_cast<const char*>(&value), sizeof value);
    return bytes;
}

// Tables read back are compared through their bytes: bit for bit, NaN included. Bytes after
// the second block are ignored. The file is written through a temporary file that replaces the
// old one (here a longer one) only when complete.
TEST(StationFile, WritesTheSlotDimensionFirstWholeOrNotAtAllAndReadsBackBitForBit) {
    TempDir dir;
    for (const int stations : {40, 3, 1}) {
        const std::string bytes = encodeStationFile(sampleTables(stations));
        writeStationFile(dir / "day.station", sampleTables(stations));
        EXPECT_EQ(bytes.size(), 40 + 17280 * static_cast<std::size_t>(stations));
        EXPECT_TRUE(test::readFile(dir / "day.station") == bytes) << stations;
        EXPECT_TRUE(encodeStationFile(readStationFile(dir / "day.station")) == bytes);
        EXPECT_TRUE(encodeStationFile(decodeStationFile(bytes + "trailing", "x")) == bytes);
    }
    EXPECT_EQ(errorOf([&] { writeStationFile(dir / "day.station", StationTables{}); }).number(),
              errc::kSubscriptOutOfRange);
    EXPECT_TRUE(test::readFile(dir / "day.station") == encodeStationFile(sampleTables(1)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    const StationTables tables = sampleTables(3);
    const std::string bytes = encodeStationFile(tables);
    // Type code, 2 dimensions, then count and lower bound: 2880 slots, 3 stations.
    const std::string header(
        "\x02\x20\x02\x00\x40\x0b\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00", 20);
    EXPECT_EQ(bytes.substr(0, 20), header);
    EXPECT_EQ(bytes.substr(secondBlock(3), 20), "\x04" + header.substr(1));
    // Cell (0, 2): the first slot of the third station, 5760 cells into the storage.
    int16_t cell = 0;
    std::memcpy(&cell, bytes.data() + 20 + 2 * 5760, 2);
    EXPECT_EQ(cell, tables.vol(0, 2));
}

// Either entry first, and count and bound in either order within each entry; the two blocks
// need not agree. With 2880 stations both entries count 2880, and either reading gives the
// same tables.
TEST(StationFile, ReadsEveryArrangementOfTheDimensionEntries) {
    const std::string written = encodeStationFile(sampleTables(3));
    const Entries arrangements[] = {{2880, 0, 3, 0}, {3, 0, 2880, 0}, {0, 2880, 0, 3},
                                    {0, 3, 0, 2880}, {2880, 0, 0, 3}, {0, 2880, 3, 0},
                                    {3, 0, 0, 2880}, {0, 3, 2880, 0}};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::string bytes = changed(changed(written, 4, arrangements[i]), secondBlock(3) + 4,
                                          arrangements[(i + 3) % 8]);
        EXPECT_TRUE(encodeStationFile(decodeStationFile(bytes, "x")) == written) << i;
    }
    StationTables square = StationTables::zeroed(2880);
    square.volume.back() = 9;
    square.occupancy.front() = 1.5f;
    const Entries both{0, 2880, 0, 2880};
    const std::string bytes = encodeStationFile(square);
    EXPECT_EQ(decodeStationFile(changed(changed(bytes, 4, both), secondBlock(2880) + 4, both), "x"),
              square);
}

// Both readers refuse a damaged file alike and name it; no header's counts are trusted before
// the bytes they promise are there.
TEST(StationFile, RefusesBadHeadersAndTruncatedFiles) {
    const std::string good = encodeStationFile(sampleTables(2));
    const std::size_t second = secondBlock(2);
    std::vector<std::pair<std::string, int>> cases{
        {changed(good, 0, uint16_t{8196}), errc::kTypeMismatch},
        {changed(good, 0, uint16_t{8195}), errc::kTypeMismatch},
        {changed(good, second, uint16_t{8194}), errc::kTypeMismatch},
        {std::string(100, 'x'), errc::kTypeMismatch},  // not a station file
        // The blocks disagree on the station count (the second block claims one station).
        {changed(good, second + 4, Entries{2880, 0, 1, 0}), errc::kInvalidFileFormat},
        // The largest valid count in the header of a tiny file.
        {changed(good.substr(0, 40), 4, Entries{2880, 0, 32767, 0}), errc::kInputPastEnd},
    };
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    for (const std::size_t block : {std::size_t{0}, second}) {
        for (const uint16_t dimensions : {1, 3}) {
            cases.emplace_back(changed(good, block + 2, dimensions), errc::kInvalidFileFormat);
        }
        // A lower bound other than 0; no dimension of 2880 slots; counts outside 1 .. 32767
        // (the all-zero entry included).
        for (const Entries& values :
             {Entries{2880, 1, 2, 0}, Entries{2880, 0, 2, 1}, Entries{2879, 0, 2, 0},
              Entries{2, 0, 2, 0}, Entries{2880, 0, 0, 0}, Entries{0, -1, 0, 2880},
              Entries{2880, 0, 32768, 0}, Entries{0, kMax, 0, 2880}, Entries{2880, 0, kMin, 0}}) {
            cases.emplace_back(changed(good, block + 4, values), errc::kInvalidFileFormat);
        }
    }
    for (const std::size_t length : {std::size_t{0}, std::size_t{10}, std::size_t{20}, second - 1,
                                     second, second + 19, second + 20, good.size() - 1}) {
        cases.emplace_back(good.substr(0, length), errc::kInputPastEnd);
    }
    TempDir dir;
    const auto path = dir / "bad.station";
    for (const auto& c : cases) {
        test::writeFile(path, c.first);
        for (const Error& e : {errorOf([&] { readStationFile(path); }),
                               errorOf([&] { decodeStationFile(c.first, path.string()); })}) {
            EXPECT_EQ(e.number(), c.second) << e.description();
            EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
        }
    }
}

TEST(StationFile, ReportsMissingFilesAndFolders) {
    TempDir dir;
    for (const auto& missing : {std::pair(dir / "missing.station", errc::kFileNotFound),
                                std::pair(dir / "missing" / "x.station", errc::kPathNotFound),
                                std::pair(dir.path(), errc::kPathFileAccess)}) {
        const std::filesystem::path& path = missing.first;
        const Error error = errorOf([&] { readStationFile(path); });
        EXPECT_EQ(error.number(), missing.second) << path;
        EXPECT_NE(error.description().find(path.string()), std::string::npos);
    }
}

}  // namespace
}  // namespace quorvane
