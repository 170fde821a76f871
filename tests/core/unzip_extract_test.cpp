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

// A volume member whose values change from slot to slot.
std::string variedVolumes() {
    std::string bytes;
    for (int k = 0; k < 2880; ++k) {
        bytes.push_back(static_cast<char>((k * 7919) % 41));
    }
    return bytes;
}

// Both series of one detector for a test that expects an Error.
Error extractError(const Unzip& archive, int16_t det) {
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    return errorOf([&] { archive.extractDet(det, vol, occ, log); });
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
    EXPECT_FALSE(archive.extractDet(301, vol, occ, log));
    // Extensions are compared exactly: a capital V30 or a longer extension is never used.
    EXPECT_FALSE(archive.extractDet(302, vol, occ, log));
    EXPECT_FALSE(archive.extractDet(303, vol, occ, log));
    EXPECT_FALSE(archive.extractDet(150, vol, occ, log));  // absent: nothing logged
    EXPECT_EQ(log.logText(),
              "Det 300 does not exist\r\nDet 301 does not exist\r\n"
              "Det 302 does not exist\r\nDet 303 does not exist\r\n");

    Log volumeHalf;
    vol.fill(0);
    EXPECT_TRUE(archive.extractDetVol(300, vol, volumeHalf));
    EXPECT_EQ(vol[0], 6);
    EXPECT_FALSE(archive.extractDetVol(301, vol, volumeHalf));
    EXPECT_FALSE(archive.extractDetVol(999, vol, volumeHalf));
    EXPECT_EQ(volumeHalf.logText(), "Det 301 does not exist\r\n");
}

// Big-endian words, divided by 10 ("o30") or 18 ("c30") in double precision and rounded to
// float; the member conversion divides in single precision, several slots at once.
TEST(UnzipExtract, MemberConversionMatchesThePercentRuleForEveryValue) {
    for (const char* ext : {"o30", "c30"}) {
        const double divisor = ext[0] == 'o' ? 10.0 : 18.0;
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
                ASSERT_EQ(occ[k], static_cast<float>(raw[k] / divisor)) << raw[k] << " " << ext;
                ASSERT_EQ(occupancyPercent(raw[k], ext), occ[k]) << raw[k] << " " << ext;
                ASSERT_EQ(wordFromBytes(member[2 * k + 1], member[2 * k]), raw[k]);
            }
        }
    }
}

TEST(UnzipExtract, ShortMemberIsAnErrorNamingMemberAndSize) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"1.v30", std::string(2879, '\1')},
                                              {"1.o30", occupancyBytes(1)},
                                              {"2.v30", volumeBytes(1)},
                                              {"2.c30", std::string(5759, '\0'), true},
                                              {"3.v30", ""},
                                              {"3.o30", occupancyBytes(1)}});
    for (const auto& [det, mentions] :
         {std::pair<int16_t, std::string>{1, "\"1.v30\" of " + (dir / "day.traffic").string() +
                                                 " holds 2879 bytes, 2880 needed"},
          {2, "\"2.c30\" of " + (dir / "day.traffic").string() + " holds 5759 bytes, 5760 needed"},
          {3, "\"3.v30\" of " + (dir / "day.traffic").string() + " holds 0 bytes"}}) {
        const Error error = extractError(archive, det);
        EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
        EXPECT_NE(error.description().find(mentions), std::string::npos) << error.description();
    }
}

// A copy of `members` as dir/bad.traffic with one byte of the first member's data changed.
std::filesystem::path corruptedCopy(const TempDir& dir, const std::vector<ZipMember>& members,
                                    std::size_t offsetInFirstMember) {
    const auto path = dir / "bad.traffic";
    writeZip(path, members);
    std::string bytes = test::readFile(path);
    const auto u16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<std::size_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
    };
    bytes[30 + u16(26) + u16(28) + offsetInFirstMember] ^= 0x5a;  // past the local header
    test::writeFile(path, bytes);
    return path;
}

TEST(UnzipExtract, BadCrcOfAWholeMemberIsReported) {
    TempDir dir;
    const Error stored = extractError(
        listed(corruptedCopy(dir, {{"1.v30", volumeBytes(3), true}, {"1.o30", occupancyBytes(4)}},
                             1000)),
        1);
    EXPECT_EQ(stored.number(), errc::kInvalidFileFormat);
    EXPECT_NE(stored.description().find("\"1.v30\" of " + (dir / "bad.traffic").string()),
              std::string::npos);
    EXPECT_NE(stored.description().find("CRC"), std::string::npos) << stored.description();

    // A deflated member whose stored CRC (local header and central entry) is wrong.
    const auto path = dir / "crc.traffic";
    writeZip(path, std::vector<ZipMember>{{"1.v30", volumeBytes(3)}, {"1.o30", occupancyBytes(4)}});
    std::string bytes = test::readFile(path);
    bytes[14] ^= 0x01;
    const std::size_t central = bytes.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    bytes[central + 16] ^= 0x01;
    test::writeFile(path, bytes);
    const Error deflated = extractError(listed(path), 1);
    EXPECT_EQ(deflated.number(), errc::kInvalidFileFormat);
    EXPECT_NE(deflated.description().find("CRC"), std::string::npos) << deflated.description();
}

TEST(UnzipExtract, CorruptDeflateStreamIsAnInvalidFormat) {
    TempDir dir;
    const Error error = extractError(
        listed(corruptedCopy(dir, {{"1.v30", variedVolumes()}, {"1.o30", occupancyBytes(4)}}, 5)),
        1);
    EXPECT_EQ(error.number(), errc::kInvalidFileFormat) << error.description();
    EXPECT_NE(error.description().find("\"1.v30\""), std::string::npos);
}

TEST(UnzipExtract, LongerMembersGiveTheirFirstSlotsAndTheRestIsNeverInflated) {
    // Damage past byte 2880 of the longer volume member goes unnoticed: it is never read.
    TempDir dir;
    const std::vector<ZipMember> members = {
        {"1.v30", volumeBytes(4) + std::string(4000, 'z'), true},
        {"1.o30", occupancyBytes(33) + std::string(3, 'y')}};  // odd length beyond 5760
    const Unzip archive = listed(corruptedCopy(dir, members, 5000));
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    ASSERT_TRUE(archive.extractDet(1, vol, occ, log));
    EXPECT_EQ(vol[2879], 4);
    EXPECT_EQ(occ[2879], 3.3f);
}

// Archives written by Info-ZIP's zip, deflated and stored.
TEST(UnzipInterop, ReadsArchivesWrittenByInfoZip) {
    for (const char* level : {"-6", "-0"}) {
        TempDir dir;
        test::writeFile(dir / "5.v30", variedVolumes());
        test::writeFile(dir / "5.o30", occupancyBytes(699));
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
        EXPECT_EQ(std::string(vol.begin(), vol.end()), variedVolumes());
        EXPECT_EQ(occ[2879], 69.9f);
        EXPECT_FALSE(archive.extractDet(6, vol, occ, log));
        EXPECT_EQ(log.logText(), "Det 6 does not exist\r\n");
    }
}

}  // namespace
}  // namespace quorvane
