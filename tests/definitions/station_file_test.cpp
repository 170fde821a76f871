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

// Runs both readers over the same bytes and expects the same error number from each; the
// description names the file.
void expectRefused(const std::string& bytes, int number) {
    SCOPED_TRACE(testing::Message() << "file of " << bytes.size() << " bytes");
    TempDir dir;
    const auto path = dir / "bad.station";
    test::writeFile(path, bytes);
    for (const Error& e : {errorOf([&] { readStationFile(path); }),
                           errorOf([&] { decodeStationFile(bytes, path.string()); })}) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
    }
}

// Tables read back are compared through their bytes: bit for bit, NaN included.
TEST(StationFile, WritesTheSlotDimensionFirstAndReadsBothTablesBackBitForBit) {
    TempDir dir;
    for (const int stations : {1, 3, 40}) {
        const StationTables tables = sampleTables(stations);
        const std::string bytes = encodeStationFile(tables);
        writeStationFile(dir / "day.station", tables);
        EXPECT_EQ(bytes.size(), 40 + 17280 * static_cast<std::size_t>(stations));
        EXPECT_TRUE(test::readFile(dir / "day.station") == bytes) << stations;
        EXPECT_TRUE(encodeStationFile(readStationFile(dir / "day.station")) == bytes);
        // Bytes after the second block are ignored.
        EXPECT_TRUE(encodeStationFile(decodeStationFile(bytes + "trailing", "x")) == bytes);
    }
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

// Written through a temporary file that replaces the old one only when complete.
TEST(StationFile, ReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    const auto path = dir / "day.station";
    writeStationFile(path, sampleTables(5));
    writeStationFile(path, sampleTables(2));
    const std::string before = test::readFile(path);
    EXPECT_TRUE(before == encodeStationFile(sampleTables(2)));

    StationTables mismatched = sampleTables(2);
    mismatched.occupancy.pop_back();
    for (const StationTables& bad : {StationTables{}, mismatched}) {
        EXPECT_EQ(errorOf([&] { writeStationFile(path, bad); }).number(),
                  errc::kSubscriptOutOfRange);
    }
    EXPECT_EQ(errorOf([&] { writeStationFile(dir / "missing" / "x", sampleTables(1)); }).number(),
              errc::kPathNotFound);
    EXPECT_TRUE(test::readFile(path) == before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary left behind
}

TEST(StationFile, ReadsEveryArrangementOfTheDimensionEntries) {
    const std::string written = encodeStationFile(sampleTables(3));
    // Either entry first, and count and bound in either order within each entry; the two blocks
    // need not agree.
    const Entries arrangements[] = {{2880, 0, 3, 0}, {3, 0, 2880, 0}, {0, 2880, 0, 3},
                                    {0, 3, 0, 2880}, {2880, 0, 0, 3}, {0, 2880, 3, 0},
                                    {3, 0, 0, 2880}, {0, 3, 2880, 0}};
    TempDir dir;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::string bytes = changed(changed(written, 4, arrangements[i]), secondBlock(3) + 4,
                                          arrangements[(i + 3) % 8]);
        test::writeFile(dir / "x.station", bytes);
        EXPECT_TRUE(encodeStationFile(readStationFile(dir / "x.station")) == written) << i;
        EXPECT_TRUE(encodeStationFile(decodeStationFile(bytes, "x")) == written) << i;
    }

    // 2880 stations: both entries count 2880, and either reading gives the same tables.
    StationTables square = StationTables::zeroed(2880);
    square.volume.back() = 9;
    square.occupancy.front() = 1.5f;
    const Entries both{0, 2880, 0, 2880};
    const std::string bytes = encodeStationFile(square);
    EXPECT_EQ(decodeStationFile(changed(changed(bytes, 4, both), secondBlock(2880) + 4, both), "x"),
              square);
}

TEST(StationFile, RefusesWrongTypeCodesAsTypeMismatch) {
    const std::string good = encodeStationFile(sampleTables(2));
    for (const auto& [offset, code] :
         {std::pair<std::size_t, uint16_t>{0, 8196}, {0, 8195}, {secondBlock(2), 8194}}) {
        expectRefused(changed(good, offset, code), errc::kTypeMismatch);
    }
    expectRefused(std::string(100, 'x'), errc::kTypeMismatch);  // not a station file
}

TEST(StationFile, RefusesBadDimensions) {
    const std::string good = encodeStationFile(sampleTables(2));
    for (const std::size_t block : {std::size_t{0}, secondBlock(2)}) {
        SCOPED_TRACE(block);
        for (const uint16_t dimensions : {1, 3}) {
            expectRefused(changed(good, block + 2, dimensions), errc::kInvalidFileFormat);
        }
        // A lower bound other than 0 on either entry; no dimension of 2880 slots.
        for (const Entries& values : {Entries{2880, 1, 2, 0}, Entries{2880, 0, 2, 1},
                                      Entries{2879, 0, 2, 0}, Entries{2, 0, 2, 0}}) {
            expectRefused(changed(good, block + 4, values), errc::kInvalidFileFormat);
        }
    }
    // The blocks disagree on the station count (the second block claims one station).
    expectRefused(changed(good, secondBlock(2) + 4, Entries{2880, 0, 1, 0}),
                  errc::kInvalidFileFormat);
}

TEST(StationFile, RefusesAbsurdStationCountsWithoutReadingOn) {
    const std::string one = encodeStationFile(sampleTables(1));
    // Counts outside 1..32767 in either arrangement, including the all-zero entry.
    for (const int32_t count :
         {0, -1, 32768, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        SCOPED_TRACE(count);
        for (const Entries& values : {Entries{2880, 0, count, 0}, Entries{0, count, 0, 2880}}) {
            expectRefused(changed(one, 4, values), errc::kInvalidFileFormat);
        }
    }
    // The largest valid count in a header of a tiny file: refused as truncated.
    expectRefused(changed(one.substr(0, 40), 4, Entries{2880, 0, 32767, 0}), errc::kInputPastEnd);
}

TEST(StationFile, RefusesEmptyAndTruncatedFiles) {
    const std::string good = encodeStationFile(sampleTables(3));
    const std::size_t second = secondBlock(3);
    for (const std::size_t length : {std::size_t{0}, std::size_t{10}, std::size_t{20}, second - 1,
                                     second, second + 19, second + 20, good.size() - 1}) {
        expectRefused(good.substr(0, length), errc::kInputPastEnd);
    }
}

TEST(StationFile, ReportsMissingFilesAndFolders) {
    TempDir dir;
    const struct {
        std::filesystem::path path;
        int number;
    } cases[] = {{dir / "missing.station", errc::kFileNotFound},
                 {dir / "missing" / "x.station", errc::kPathNotFound},
                 {dir.path(), errc::kPathFileAccess}};
    for (const auto& c : cases) {
        const Error error = errorOf([&] { readStationFile(c.path); });
        EXPECT_EQ(error.number(), c.number) << c.path;
        EXPECT_NE(error.description().find(c.path.string()), std::string::npos);
    }
}

}  // namespace
}  // namespace quorvane
