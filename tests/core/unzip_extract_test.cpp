#include "core/unzip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "archive_fixture.h"
#include "core/log.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::listed;
using test::listedMembers;
using test::occupancyBytes;
using test::TempDir;
using test::volumeBytes;
using test::writeZip;
using test::ZipMember;

TEST(UnzipExtract, AbsentDetectorIsFalseWithoutLogAndTouchesNothing) {
    TempDir dir;
    const Unzip archive =
        listedMembers(dir, {{"100.v30", volumeBytes(2)}, {"100.o30", occupancyBytes(4)}});
    Log log;
    VolumeSeries vol;
    vol.fill(77);
    OccupancySeries occ;
    occ.fill(7.0f);
    EXPECT_FALSE(archive.extractDet(150, vol, occ, log));
    EXPECT_FALSE(archive.findDetector(150).present);
    EXPECT_EQ(vol[0], 77);
    EXPECT_EQ(occ[0], 7.0f);
    EXPECT_EQ(log.logText(), "");
}

TEST(UnzipExtract, MissingMemberIsLoggedAndTheVolumeStillRead) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"300.v30", volumeBytes(6)},
                                              {"301.o30", occupancyBytes(4)},
                                              {"302.V30", volumeBytes(6)},
                                              {"302.o30", occupancyBytes(4)},
                                              {"303.v30.bak", volumeBytes(6)},
                                              {"303.c30", occupancyBytes(4)}});
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    EXPECT_FALSE(archive.extractDet(300, vol, occ, log));
    EXPECT_EQ(vol[100], 6);
    EXPECT_EQ(log.logText(), "Det 300 does not exist\r\n");

    Log occOnly;
    EXPECT_FALSE(archive.extractDet(301, vol, occ, occOnly));
    EXPECT_EQ(occOnly.logText(), "Det 301 does not exist\r\n");

    // Extensions are compared exactly: a capital V30 or a longer extension is never used.
    Log other;
    EXPECT_FALSE(archive.extractDet(302, vol, occ, other));
    EXPECT_FALSE(archive.extractDet(303, vol, occ, other));
    EXPECT_EQ(other.logText(), "Det 302 does not exist\r\nDet 303 does not exist\r\n");
    EXPECT_EQ(archive.zipEntries()[4].ext, "v30.bak");

    Log volumeHalf;
    vol.fill(0);
    EXPECT_TRUE(archive.extractDetVol(300, vol, volumeHalf));
    EXPECT_EQ(vol[0], 6);
    EXPECT_FALSE(archive.extractDetVol(301, vol, volumeHalf));
    EXPECT_FALSE(archive.extractDetVol(999, vol, volumeHalf));
    EXPECT_EQ(volumeHalf.logText(), "Det 301 does not exist\r\n");
}

TEST(UnzipExtract, DecodesVolumeBytesAndBigEndianOccupancy) {
    std::vector<uint8_t> volumes(2880);
    std::vector<int16_t> raw(2880);
    for (int k = 0; k < 2880; ++k) {
        volumes[k] = static_cast<uint8_t>(k % 256);
        raw[k] = static_cast<int16_t>(k * 11 - 16000);
    }
    raw[0] = -10;  // bytes 255, 246
    raw[1] = 125;
    raw[2] = 900;
    raw[3] = -32768;
    raw[4] = 32767;
    TempDir dir;
    const std::string occ = occupancyBytes(raw);
    ASSERT_EQ(static_cast<uint8_t>(occ[0]), 255);
    ASSERT_EQ(static_cast<uint8_t>(occ[1]), 246);
    const Unzip archive = listedMembers(dir, {{"7.v30", volumeBytes(volumes)},
                                              {"7.o30", occ},
                                              {"8.v30", volumeBytes(volumes)},
                                              {"8.c30", occ}});
    Log log;
    VolumeSeries vol{};
    OccupancySeries o30{};
    OccupancySeries c30{};
    ASSERT_TRUE(archive.extractDet(7, vol, o30, log));
    ASSERT_TRUE(archive.extractDet(8, vol, c30, log));
    EXPECT_EQ(vol[255], 255);
    EXPECT_EQ(vol[256], 0);
    EXPECT_EQ(o30[0], -1.0f);
    EXPECT_EQ(c30[0], static_cast<float>(-10.0 / 18.0));
    EXPECT_NEAR(c30[0], -0.556f, 0.001f);
    EXPECT_EQ(o30[1], 12.5f);
    EXPECT_EQ(c30[2], 50.0f);
    EXPECT_EQ(o30[3], -3276.8f);
    EXPECT_EQ(o30[4], 3276.7f);
    for (int k = 5; k < 2880; ++k) {
        ASSERT_EQ(o30[k], static_cast<float>(raw[k] / 10.0)) << k;
    }
}

TEST(UnzipExtract, WordAndPercentConversions) {
    EXPECT_EQ(wordFromBytes(246, 255), -10);
    EXPECT_EQ(wordFromBytes(0, 128), -32768);
    EXPECT_EQ(wordFromBytes(255, 127), 32767);
    EXPECT_EQ(wordFromBytes(1, 1), 257);
    EXPECT_EQ(occupancyPercent(125, "o30"), 12.5f);
    EXPECT_EQ(occupancyPercent(900, "c30"), 50.0f);
    EXPECT_EQ(occupancyPercent(1, "c30"), static_cast<float>(1.0 / 18.0));
}

TEST(UnzipExtract, MemberConversionMatchesThePercentRuleForEveryValue) {
    for (const char* ext : {"o30", "c30"}) {
        for (int first = -32768; first <= 32767; first += kSlotsPerDay) {
            std::vector<int16_t> raw(kSlotsPerDay);
            for (int k = 0; k < kSlotsPerDay; ++k) {
                raw[k] = static_cast<int16_t>(std::min(first + k, 32767));
            }
            const std::string bytes = occupancyBytes(raw);
            std::array<uint8_t, kOccupancyMemberBytes> member;
            std::copy(bytes.begin(), bytes.end(), member.begin());
            OccupancySeries occ{};
            occupancyFromBytes(member, ext, occ);
            for (int k = 0; k < kSlotsPerDay; ++k) {
                ASSERT_EQ(occ[k], occupancyPercent(raw[k], ext)) << raw[k] << " " << ext;
            }
        }
    }
}

TEST(UnzipExtract, OneMemberArchive) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"42.v30", volumeBytes(1)}});
    EXPECT_EQ(archive.detCount(), 1);
    EXPECT_EQ(archive.detNum(0), 42);
    EXPECT_EQ(archive.findDetector(42).volumeMember, 0);
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    EXPECT_FALSE(archive.extractDet(42, vol, occ, log));
    EXPECT_EQ(vol[0], 1);
    EXPECT_EQ(log.logText(), "Det 42 does not exist\r\n");
}

TEST(UnzipExtract, LongerMembersGiveTheirFirstSlots) {
    TempDir dir;
    std::string vol = volumeBytes(4) + std::string(5000, 'x');
    std::string occ = occupancyBytes(33) + std::string(3, 'y');  // odd length beyond 5760
    const Unzip archive = listedMembers(dir, {{"1.v30", vol}, {"1.o30", occ, true}});
    Log log;
    VolumeSeries v{};
    OccupancySeries o{};
    ASSERT_TRUE(archive.extractDet(1, v, o, log));
    EXPECT_EQ(v[2879], 4);
    EXPECT_EQ(o[2879], 3.3f);
}

TEST(UnzipExtract, ShortMemberIsAnErrorNamingMemberAndSize) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"1.v30", std::string(2879, '\1')},
                                              {"1.o30", occupancyBytes(1)},
                                              {"2.v30", volumeBytes(1)},
                                              {"2.c30", std::string(5759, '\0'), true},
                                              {"3.v30", ""},
                                              {"3.o30", occupancyBytes(1)}});
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    const Error shortVolume = errorOf([&] { archive.extractDet(1, vol, occ, log); });
    EXPECT_EQ(shortVolume.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(shortVolume.description().find("\"1.v30\""), std::string::npos);
    EXPECT_NE(shortVolume.description().find("2879 bytes, 2880 needed"), std::string::npos);
    EXPECT_NE(shortVolume.description().find("day.traffic"), std::string::npos);

    const Error shortOcc = errorOf([&] { archive.extractDet(2, vol, occ, log); });
    EXPECT_EQ(shortOcc.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(shortOcc.description().find("\"2.c30\" of"), std::string::npos);
    EXPECT_NE(shortOcc.description().find("5759 bytes, 5760 needed"), std::string::npos);

    const Error empty = errorOf([&] { archive.extractDet(3, vol, occ, log); });
    EXPECT_NE(empty.description().find("\"3.v30\""), std::string::npos);
    EXPECT_NE(empty.description().find("holds 0 bytes"), std::string::npos);
}

// Offset of the first member's data in an archive written by writeZip.
std::size_t firstMemberData(const std::string& zip) {
    const auto u16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<uint8_t>(zip[at])) |
               static_cast<std::size_t>(static_cast<uint8_t>(zip[at + 1])) << 8;
    };
    return 30 + u16(26) + u16(28);
}

std::filesystem::path corruptedCopy(const TempDir& dir, const std::vector<ZipMember>& members,
                                    std::size_t offsetInFirstMember) {
    const auto path = dir / "bad.traffic";
    writeZip(path, members);
    std::string bytes = test::readFile(path);
    bytes[firstMemberData(bytes) + offsetInFirstMember] ^= 0x5a;
    test::writeFile(path, bytes);
    return path;
}

TEST(UnzipExtract, BadCrcOfAWholeMemberIsReported) {
    TempDir dir;
    const std::vector<ZipMember> members = {{"1.v30", volumeBytes(3), true},
                                            {"1.o30", occupancyBytes(4)}};
    const Unzip archive = listed(corruptedCopy(dir, members, 1000));
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    const Error error = errorOf([&] { archive.extractDet(1, vol, occ, log); });
    EXPECT_EQ(error.number(), errc::kInvalidFileFormat);
    EXPECT_NE(error.description().find("CRC"), std::string::npos) << error.description();
    EXPECT_NE(error.description().find("\"1.v30\""), std::string::npos);
    EXPECT_NE(error.description().find("bad.traffic"), std::string::npos);
}

TEST(UnzipExtract, BadCrcOfADeflatedMemberIsReported) {
    TempDir dir;
    const auto path = dir / "crc.traffic";
    writeZip(path, std::vector<ZipMember>{{"1.v30", volumeBytes(3)}, {"1.o30", occupancyBytes(4)}});
    std::string bytes = test::readFile(path);
    // The stored CRC of the first member, in its local header and its central directory entry.
    bytes[14] ^= 0x01;
    const std::size_t central = bytes.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    bytes[central + 16] ^= 0x01;
    test::writeFile(path, bytes);
    const Unzip archive = listed(path);
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    const Error error = errorOf([&] { archive.extractDet(1, vol, occ, log); });
    EXPECT_EQ(error.number(), errc::kInvalidFileFormat);
    EXPECT_NE(error.description().find("CRC"), std::string::npos) << error.description();
}

TEST(UnzipExtract, BytesBeyondTheUsedPartAreNeverInflated) {
    // Damage past byte 2880 of a longer member goes unnoticed: those bytes are never read.
    TempDir dir;
    const std::vector<ZipMember> members = {
        {"1.v30", volumeBytes(3) + std::string(4000, 'z'), true}, {"1.o30", occupancyBytes(4)}};
    const Unzip archive = listed(corruptedCopy(dir, members, 5000));
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    EXPECT_TRUE(archive.extractDet(1, vol, occ, log));
    EXPECT_EQ(vol[2879], 3);
}

TEST(UnzipExtract, CorruptDeflateStreamIsAnInvalidFormat) {
    TempDir dir;
    std::string varied;
    for (int k = 0; k < 2880; ++k) {
        varied.push_back(static_cast<char>((k * 7919) % 41));
    }
    const Unzip archive =
        listed(corruptedCopy(dir, {{"1.v30", varied}, {"1.o30", occupancyBytes(4)}}, 5));
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    const Error error = errorOf([&] { archive.extractDet(1, vol, occ, log); });
    EXPECT_EQ(error.number(), errc::kInvalidFileFormat) << error.description();
    EXPECT_NE(error.description().find("\"1.v30\""), std::string::npos);
}

// Archives written by Info-ZIP's zip, deflated and stored.
TEST(UnzipInterop, ReadsArchivesWrittenByInfoZip) {
    for (const char* level : {"-6", "-0"}) {
        TempDir dir;
        std::vector<int16_t> raw(2880);
        for (int k = 0; k < 2880; ++k) {
            raw[k] = static_cast<int16_t>(k % 700);
        }
        test::writeFile(dir / "5.v30", test::volumeDay(5));
        test::writeFile(dir / "5.o30", occupancyBytes(raw));
        test::writeFile(dir / "6.v30", volumeBytes(7));
        const std::string command = "cd '" + dir.path().string() + "' && zip -q " + level +
                                    " -X day.traffic 5.o30 5.v30 6.v30";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const Unzip archive = listed(dir / "day.traffic");
        ASSERT_EQ(archive.zipEntries().size(), 3u);
        EXPECT_EQ(archive.zipEntries()[0].name, "5.o30");
        Log log;
        VolumeSeries vol{};
        OccupancySeries occ{};
        ASSERT_TRUE(archive.extractDet(5, vol, occ, log)) << level;
        EXPECT_EQ(std::string(vol.begin(), vol.end()), test::volumeDay(5));
        EXPECT_EQ(occ[699], 69.9f);
        EXPECT_FALSE(archive.extractDet(6, vol, occ, log));
        EXPECT_EQ(log.logText(), "Det 6 does not exist\r\n");
    }
}

TEST(UnzipReader, ReadersOnOtherThreadsHaveTheirOwnHandle) {
    TempDir dir;
    const Unzip archive =
        listedMembers(dir, {{"1.v30", volumeBytes(8)}, {"1.o30", occupancyBytes(80)}});
    Unzip::MemberReader reader(archive);
    VolumeSeries vol{};
    OccupancySeries occ{};
    reader.readVolume(0, vol);
    reader.readOccupancy(1, occ);
    EXPECT_EQ(vol[1], 8);
    EXPECT_EQ(occ[1], 8.0f);
    EXPECT_EQ(errorOf([&] { reader.readVolume(2, vol); }).number(), errc::kSubscriptOutOfRange);
}

TEST(UnzipReader, MovedArchiveAndItsReadersKeepWorking) {
    TempDir dir;
    Unzip first = listedMembers(dir, {{"1.v30", volumeBytes(8)}, {"1.o30", occupancyBytes(80)}});
    Unzip::MemberReader reader(first);
    Unzip moved(std::move(first));
    Unzip assigned;
    assigned = std::move(moved);
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    EXPECT_TRUE(assigned.extractDet(1, vol, occ, log));
    EXPECT_EQ(assigned.zipEntries().size(), 2u);
    vol.fill(0);
    EXPECT_TRUE(reader.extractDet(1, vol, occ, log));
    EXPECT_EQ(vol[9], 8);
}

}  // namespace
}  // namespace quorvane
