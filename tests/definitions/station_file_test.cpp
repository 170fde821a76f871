#include "definitions/station_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

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

bool sameBits(const StationTables& a, const StationTables& b) {
    return a.stationCount == b.stationCount && a.volume == b.volume &&
           a.occupancy.size() == b.occupancy.size() &&
           std::memcmp(a.occupancy.data(), b.occupancy.data(), a.occupancy.size() * 4) == 0;
}

template <typename T>
void put(std::string& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

std::size_t secondBlock(int stations) {
    return 20 + 5760 * static_cast<std::size_t>(stations);
}

void setEntries(std::string& bytes, std::size_t block, const Entries& values) {
    for (std::size_t i = 0; i < 4; ++i) {
        put(bytes, block + 4 + 4 * i, values[i]);
    }
}

// The number of the Error that `call` throws.
int errorNumber(const std::function<void()>& call) {
    return test::errorOf(call).number();
}

// Runs both readers over the same bytes and expects the same error number from each; the
// description names the file.
void expectRefused(const std::string& bytes, int number) {
    SCOPED_TRACE(testing::Message() << "file of " << bytes.size() << " bytes");
    TempDir dir;
    const auto path = dir / "bad.station";
    test::writeFile(path, bytes);
    for (const Error& e : {test::errorOf([&] { readStationFile(path); }),
                           test::errorOf([&] { decodeStationFile(bytes, path.string()); })}) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
    }
}

TEST(StationFile, WritesTheSlotDimensionFirstAndReadsBothTablesBackBitForBit) {
    TempDir dir;
    for (const int stations : {1, 3, 40}) {
        const StationTables tables = sampleTables(stations);
        writeStationFile(dir / "day.station", tables);
        const std::string bytes = test::readFile(dir / "day.station");
        ASSERT_EQ(bytes.size(), 40 + 17280 * static_cast<std::size_t>(stations));
        EXPECT_EQ(stationFileSize(stations), bytes.size());
        EXPECT_EQ(bytes, encodeStationFile(tables));
        EXPECT_TRUE(sameBits(readStationFile(dir / "day.station"), tables)) << stations;
        // Bytes after the second block are ignored.
        EXPECT_TRUE(sameBits(decodeStationFile(bytes + "trailing", "x"), tables));
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

TEST(StationFile, ReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    const auto path = dir / "day.station";
    writeStationFile(path, sampleTables(5));
    writeStationFile(path, sampleTables(2));
    EXPECT_EQ(std::filesystem::file_size(path), stationFileSize(2));
    const std::string before = test::readFile(path);

    StationTables mismatched = sampleTables(2);
    mismatched.occupancy.pop_back();
    EXPECT_EQ(errorNumber([&] { writeStationFile(path, StationTables{}); }),
              errc::kSubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { writeStationFile(path, mismatched); }), errc::kSubscriptOutOfRange);
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary left behind
    EXPECT_EQ(errorNumber([&] { writeStationFile(dir / "missing" / "x", sampleTables(1)); }),
              errc::kPathNotFound);
}

TEST(StationFile, ReadsEveryArrangementOfTheDimensionEntries) {
    const StationTables tables = sampleTables(3);
    const std::string written = encodeStationFile(tables);
    // Either entry first, and count/bound in either order within each entry.
    for (const Entries& values :
         {Entries{2880, 0, 3, 0}, Entries{3, 0, 2880, 0}, Entries{0, 2880, 0, 3},
          Entries{0, 3, 0, 2880}, Entries{2880, 0, 0, 3}, Entries{0, 2880, 3, 0},
          Entries{3, 0, 0, 2880}, Entries{0, 3, 2880, 0}}) {
        std::string bytes = written;
        setEntries(bytes, 0, values);
        setEntries(bytes, secondBlock(3), values);
        EXPECT_TRUE(sameBits(decodeStationFile(bytes, "x"), tables))
            << values[0] << "," << values[1] << "," << values[2] << "," << values[3];
    }
    // The blocks need not agree on their arrangement.
    std::string bytes = written;
    setEntries(bytes, 0, {0, 3, 0, 2880});
    TempDir dir;
    test::writeFile(dir / "x.station", bytes);
    EXPECT_TRUE(sameBits(readStationFile(dir / "x.station"), tables));

    // 2880 stations: both entries count 2880, and either reading gives the same tables.
    StationTables square = StationTables::zeroed(2880);
    square.volume.back() = 9;
    square.occupancy.front() = 1.5f;
    bytes = encodeStationFile(square);
    setEntries(bytes, 0, {0, 2880, 0, 2880});
    setEntries(bytes, secondBlock(2880), {0, 2880, 0, 2880});
    EXPECT_EQ(decodeStationFile(bytes, "x"), square);
}

TEST(StationFile, RefusesWrongTypeCodesAsTypeMismatch) {
    const std::string good = encodeStationFile(sampleTables(2));
    for (const auto& [offset, code] :
         {std::pair<std::size_t, uint16_t>{0, 8196}, {0, 8195}, {secondBlock(2), 8194}}) {
        std::string bytes = good;
        put(bytes, offset, code);
        expectRefused(bytes, errc::kTypeMismatch);
    }
    expectRefused(std::string(100, 'x'), errc::kTypeMismatch);  // not a station file
}

TEST(StationFile, RefusesBadDimensions) {
    const std::string good = encodeStationFile(sampleTables(2));
    for (const std::size_t block : {std::size_t{0}, secondBlock(2)}) {
        SCOPED_TRACE(block);
        for (const uint16_t dimensions : {1, 3}) {
            std::string bytes = good;
            put(bytes, block + 2, dimensions);
            expectRefused(bytes, errc::kInvalidFileFormat);
        }
        // A lower bound other than 0 on either entry; no dimension of 2880 slots.
        for (const Entries& values : {Entries{2880, 1, 2, 0}, Entries{2880, 0, 2, 1},
                                      Entries{2879, 0, 2, 0}, Entries{2, 0, 2, 0}}) {
            std::string bytes = good;
            setEntries(bytes, block, values);
            expectRefused(bytes, errc::kInvalidFileFormat);
        }
    }
    // The blocks disagree on the station count (the second block claims one station).
    std::string bytes = good;
    setEntries(bytes, secondBlock(2), {2880, 0, 1, 0});
    expectRefused(bytes, errc::kInvalidFileFormat);
}

TEST(StationFile, RefusesAbsurdStationCountsWithoutReadingOn) {
    // Counts outside 1..32767 in either arrangement, including the all-zero entry.
    for (const int32_t count :
         {0, -1, 32768, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        for (const Entries& values : {Entries{2880, 0, count, 0}, Entries{0, count, 0, 2880}}) {
            std::string bytes = encodeStationFile(sampleTables(1));
            setEntries(bytes, 0, values);
            SCOPED_TRACE(count);
            expectRefused(bytes, errc::kInvalidFileFormat);
        }
    }
    // The largest valid count in a header of a tiny file: refused as truncated.
    std::string header = encodeStationFile(sampleTables(1)).substr(0, 40);
    setEntries(header, 0, {2880, 0, 32767, 0});
    expectRefused(header, errc::kInputPastEnd);
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
    EXPECT_EQ(errorNumber([&] { readStationFile(dir / "missing.station"); }), errc::kFileNotFound);
    EXPECT_EQ(errorNumber([&] { readStationFile(dir / "missing" / "x.station"); }),
              errc::kPathNotFound);
    EXPECT_EQ(errorNumber([&] { readStationFile(dir.path()); }), errc::kPathFileAccess);
}

}  // namespace
}  // namespace quorvane
