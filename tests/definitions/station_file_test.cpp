#include "definitions/station_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using test::TempDir;

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

void put32(std::string& bytes, std::size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}
void put16(std::string& bytes, std::size_t offset, uint16_t value) {
    std::memcpy(bytes.data() + offset, &value, 2);
}
int32_t get32(const std::string& bytes, std::size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// The number of the Error that `action` throws, 0 when it throws none.
template <typename Action>
int errorNumber(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

std::size_t secondBlock(int stations) {
    return 20 + 5760 * static_cast<std::size_t>(stations);
}

// Sets the four 32-bit values of a block's dimension entries.
void setEntries(std::string& bytes, std::size_t block, std::array<int32_t, 4> values) {
    for (std::size_t i = 0; i < 4; ++i) {
        put32(bytes, block + 4 + 4 * i, values[i]);
    }
}
void setBothEntries(std::string& bytes, int stations, std::array<int32_t, 4> values) {
    setEntries(bytes, 0, values);
    setEntries(bytes, secondBlock(stations), values);
}

// Runs both readers over the same bytes and expects the same error number from each; the
// description names the file.
void expectRefused(const std::string& bytes, int number) {
    SCOPED_TRACE(testing::Message() << "file of " << bytes.size() << " bytes");
    TempDir dir;
    const auto path = dir / "bad.station";
    test::writeFile(path, bytes);
    try {
        readStationFile(path);
        ADD_FAILURE() << "readStationFile accepted the file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
    }
    try {
        decodeStationFile(bytes, "bad.station");
        ADD_FAILURE() << "decodeStationFile accepted the file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find("bad.station"), std::string::npos) << e.description();
    }
}

TEST(StationFile, WritesThreeStationsIn51880BytesWithSlotDimensionFirst) {
    TempDir dir;
    const StationTables tables = sampleTables(3);
    writeStationFile(dir / "day.station", tables);
    const std::string bytes = test::readFile(dir / "day.station");

    ASSERT_EQ(bytes.size(), 51880u);
    EXPECT_EQ(stationFileSize(3), 51880u);
    EXPECT_EQ(bytes, encodeStationFile(tables));
    for (const std::size_t block : {std::size_t{0}, secondBlock(3)}) {
        EXPECT_EQ(static_cast<unsigned char>(bytes[block]), block == 0 ? 0x02 : 0x04);
        EXPECT_EQ(static_cast<unsigned char>(bytes[block + 1]), 0x20);
        EXPECT_EQ(bytes[block + 2], 2);
        EXPECT_EQ(bytes[block + 3], 0);
        EXPECT_EQ(get32(bytes, block + 4), 2880);
        EXPECT_EQ(get32(bytes, block + 8), 0);
        EXPECT_EQ(get32(bytes, block + 12), 3);
        EXPECT_EQ(get32(bytes, block + 16), 0);
    }
    // Cell (0, 2): the first slot of the third station, 5760 cells into the storage.
    int16_t cell = 0;
    std::memcpy(&cell, bytes.data() + 20 + 2 * 5760, 2);
    EXPECT_EQ(cell, tables.vol(0, 2));
}

TEST(StationFile, RoundTripsBothTablesBitForBit) {
    TempDir dir;
    for (const int stations : {1, 3, 40}) {
        const StationTables tables = sampleTables(stations);
        writeStationFile(dir / "day.station", tables);
        EXPECT_TRUE(sameBits(readStationFile(dir / "day.station"), tables)) << stations;
        EXPECT_TRUE(sameBits(decodeStationFile(encodeStationFile(tables), "x"), tables));
    }
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
    const int n = 3;
    const StationTables tables = sampleTables(n);
    const std::string written = encodeStationFile(tables);
    // Either entry first, and count/bound in either order within each entry.
    const std::array<std::array<int32_t, 4>, 8> arrangements{{
        {2880, 0, n, 0},
        {n, 0, 2880, 0},
        {0, 2880, 0, n},
        {0, n, 0, 2880},
        {2880, 0, 0, n},
        {0, 2880, n, 0},
        {n, 0, 0, 2880},
        {0, n, 2880, 0},
    }};
    for (const auto& values : arrangements) {
        std::string bytes = written;
        setBothEntries(bytes, n, values);
        EXPECT_TRUE(sameBits(decodeStationFile(bytes, "x"), tables))
            << values[0] << "," << values[1] << "," << values[2] << "," << values[3];
    }
    // The blocks need not agree on their arrangement.
    std::string bytes = written;
    setEntries(bytes, 0, {0, n, 0, 2880});
    TempDir dir;
    test::writeFile(dir / "x.station", bytes);
    EXPECT_TRUE(sameBits(readStationFile(dir / "x.station"), tables));
}

TEST(StationFile, ReadsAFileOf2880StationsWhateverEntryComesFirst) {
    // Both counts are 2880: either reading gives the same tables.
    const int n = 2880;
    StationTables tables = StationTables::zeroed(n);
    tables.volume.back() = 9;
    tables.occupancy.front() = 1.5f;
    std::string bytes = encodeStationFile(tables);
    setBothEntries(bytes, n, {0, 2880, 0, 2880});
    const StationTables read = decodeStationFile(bytes, "x");
    EXPECT_EQ(read.stationCount, n);
    EXPECT_EQ(read.volume.back(), 9);
    EXPECT_EQ(read.occupancy.front(), 1.5f);
}

TEST(StationFile, IgnoresBytesAfterTheSecondBlock) {
    TempDir dir;
    const StationTables tables = sampleTables(2);
    test::writeFile(dir / "x.station", encodeStationFile(tables) + "trailing bytes");
    EXPECT_TRUE(sameBits(readStationFile(dir / "x.station"), tables));
}

TEST(StationFile, RefusesWrongTypeCodesAsTypeMismatch) {
    const std::string good = encodeStationFile(sampleTables(2));
    std::string bytes = good;
    put16(bytes, 0, 8196);  // occupancy code on the volume block
    expectRefused(bytes, errc::kTypeMismatch);
    bytes = good;
    put16(bytes, secondBlock(2), 8194);
    expectRefused(bytes, errc::kTypeMismatch);
    expectRefused(std::string(100, 'x'), errc::kTypeMismatch);  // not a station file
}

TEST(StationFile, RefusesBadDimensions) {
    const int n = 2;
    const std::string good = encodeStationFile(sampleTables(n));
    const auto refusedWith = [&](std::size_t block, auto patch) {
        std::string bytes = good;
        patch(bytes, block);
        expectRefused(bytes, errc::kInvalidFileFormat);
    };
    for (const std::size_t block : {std::size_t{0}, secondBlock(n)}) {
        SCOPED_TRACE(block);
        refusedWith(block, [](std::string& b, std::size_t at) { put16(b, at + 2, 1); });
        refusedWith(block, [](std::string& b, std::size_t at) { put16(b, at + 2, 3); });
        // A lower bound other than 0, on either entry.
        refusedWith(block, [](std::string& b, std::size_t at) {
            setEntries(b, at, {2880, 1, 2, 0});
        });
        refusedWith(block, [](std::string& b, std::size_t at) {
            setEntries(b, at, {2880, 0, 2, 1});
        });
        // No slot dimension of 2880.
        refusedWith(block, [](std::string& b, std::size_t at) {
            setEntries(b, at, {2879, 0, 2, 0});
        });
        refusedWith(block, [](std::string& b, std::size_t at) { setEntries(b, at, {2, 0, 2, 0}); });
    }
    // The blocks disagree on the station count (the second block claims one station).
    std::string bytes = good;
    setEntries(bytes, secondBlock(n), {2880, 0, 1, 0});
    expectRefused(bytes, errc::kInvalidFileFormat);
}

TEST(StationFile, RefusesAbsurdStationCountsWithoutReadingOn) {
    // Counts outside 1..32767 in either arrangement, including the all-zero entry.
    for (const int32_t count :
         {0, -1, 32768, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        for (const auto& values : {std::array<int32_t, 4>{2880, 0, count, 0},
                                   std::array<int32_t, 4>{0, count, 0, 2880}}) {
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
    const int n = 3;
    const std::string good = encodeStationFile(sampleTables(n));
    const std::size_t second = secondBlock(n);
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
