#include "core/unzip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "archive_fixture.h"
#include "base/log.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::inflatedWhole;
using test::listed;
using test::listedMembers;
using test::noisyOccupancies;
using test::noisyVolumes;
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

Error extractError(const Unzip& archive, int16_t det) {
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    return errorOf([&] { archive.extractDet(det, vol, occ, log); });
}

TEST(UnzipList, FindsDetectorsWhereverTheirMembersLie) {
    TempDir dir;
    // "0100.v30" names detector 100 as well: its first volume member counts.
    const std::vector<ZipMember> members{
        {"205.v30", volumeBytes(5)},    {"100.o30", occupancyBytes(125)},
        {"101.v30", volumeBytes(3)},    {"100.v30", volumeBytes(2), true},
        {"205.o30", occupancyBytes(4)}, {"101.c30", occupancyBytes(900)},
        {"0100.v30", volumeBytes(9)},
    };
    const Unzip archive = listedMembers(dir, members);
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    for (int16_t det : {205, 101, 100}) {
        EXPECT_TRUE(archive.extractDet(det, vol, occ, log)) << det;
    }
    EXPECT_EQ(vol[7], 2);
    EXPECT_EQ(occ[7], 12.5f);
    ASSERT_TRUE(archive.extractDet(101, vol, occ, log));
    EXPECT_EQ(occ[7], 50.0f);  // c30: divided by 18
    EXPECT_EQ(log.logText(), "");
}

TEST(UnzipList, UnreadableArchivesAreClearErrors) {
    TempDir dir;
    writeZip(dir / "whole.traffic",
             std::vector<ZipMember>{{"1.v30", volumeBytes(1)}, {"1.o30", occupancyBytes(1)}});
    const std::string whole = test::readFile(dir / "whole.traffic");
    test::writeFile(dir / "cut.traffic", whole.substr(0, whole.size() / 2));
    test::writeFile(dir / "text.traffic", "Station,P,1,2\r\nnot a zip archive at all\r\n");
    test::writeFile(dir / "zero.traffic", "");
    // The end of central directory record of an archive without members.
    test::writeFile(dir / "empty.traffic", "PK\x05\x06" + std::string(18, '\0'));
    const struct {
        std::filesystem::path path;
        int number;
        std::string mentions;
    } cases[] = {
        {dir / "none.traffic", errc::kFileNotFound, "none.traffic"},
        {dir / "nowhere" / "x.traffic", errc::kPathNotFound, "x.traffic"},
        {dir.path(), errc::kPathFileAccess, dir.path().string()},
        {dir / "text.traffic", errc::kInvalidFileFormat, "text.traffic (Not a zip archive)"},
        {dir / "zero.traffic", errc::kInvalidFileFormat, "zero.traffic"},
        {dir / "cut.traffic", errc::kInvalidFileFormat, "cut.traffic"},
        {dir / "empty.traffic", errc::kSubscriptOutOfRange, "empty.traffic has no members"},
    };
    for (const auto& c : cases) {
        const Error error = errorOf([&] { listed(c.path); });
        EXPECT_EQ(error.number(), c.number) << c.path;
        EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
}

TEST(UnzipList, MoreThan32767MembersOverflow) {
    TempDir dir;
    std::vector<ZipMember> members;
    for (int i = 0; i < 32768; ++i) {
        members.push_back({std::to_string(i) + ".x", "", true});
    }
    writeZip(dir / "big.traffic", members);
    const Error error = errorOf([&] { listed(dir / "big.traffic"); });
    EXPECT_EQ(error.number(), errc::kOverflow);
    EXPECT_NE(error.description().find("32768 members"), std::string::npos);
    members.pop_back();
    writeZip(dir / "full.traffic", members);
    EXPECT_EQ(listed(dir / "full.traffic").zipEntries().back().zipIndex, 32766);
}

TEST(UnzipList, BadMemberNamesNameTheMember) {
    TempDir dir;
    const struct {
        const char* name;
        int number;
    } cases[] = {
        {"readme", errc::kInvalidArgument}, {"abc.v30", errc::kTypeMismatch},
        {".v30", errc::kTypeMismatch},      {"day/100.v30", errc::kTypeMismatch},
        {"40000.v30", errc::kOverflow},     {"-32769.o30", errc::kOverflow},
    };
    for (const auto& c : cases) {
        writeZip(dir / "names.traffic",
                 std::vector<ZipMember>{{"1.v30", volumeBytes(1)}, {c.name, "x"}});
        const Error error = errorOf([&] { listed(dir / "names.traffic"); });
        EXPECT_EQ(error.number(), c.number) << c.name;
        EXPECT_NE(error.description().find('"' + std::string(c.name) + '"'), std::string::npos)
            << error.description();
    }
    // Accepted: signs, the ends of the 16-bit range, an empty extension.
    const Unzip archive =
        listedMembers(dir, {{"-32768.v30", "x"}, {"+32767.o30", "y"}, {"5.", "z"}});
    EXPECT_EQ(archive.zipEntries()[0].detNo, -32768);
    EXPECT_EQ(archive.zipEntries()[1].detNo, 32767);
    EXPECT_EQ(archive.zipEntries()[2].ext, "");
}

TEST(UnzipReport, ListsEveryMemberWithIndexAndSizes) {
    TempDir dir;
    const Unzip archive =
        listedMembers(dir, {{"100.v30", volumeBytes(2), true}, {"100.o30", occupancyBytes(0)}});
    const uint64_t deflated = archive.zipEntries()[1].compressedSize;
    EXPECT_LT(deflated, 5760u);
    const std::string expected =
        "Number of files in zip file:  2 \r\n"
        "Zip index, Compressed Size, Extract Size, file name\r\n"
        " 0  2880  2880 100.v30\r\n"
        " 1  " +
        std::to_string(deflated) + "  5760 100.o30\r\n";
    EXPECT_EQ(archive.memberReport(), expected);
}

TEST(UnzipExtract, MissingMemberIsLoggedAndTheVolumeStillRead) {
    TempDir dir;
    // Extensions are compared exactly: a capital V30 or a longer extension is never used.
    const std::vector<ZipMember> members{
        {"300.v30", volumeBytes(6)},     {"301.o30", occupancyBytes(4)},
        {"302.V30", volumeBytes(6)},     {"302.o30", occupancyBytes(4)},
        {"303.v30.bak", volumeBytes(6)}, {"303.c30", occupancyBytes(4)},
    };
    const Unzip archive = listedMembers(dir, members);
    VolumeSeries vol{};
    OccupancySeries occ{};
    Log log;
    EXPECT_FALSE(archive.extractDet(300, vol, occ, log));
    EXPECT_EQ(vol[100], 6);
    for (int16_t det : {301, 302, 303, 150}) {
        EXPECT_FALSE(archive.extractDet(det, vol, occ, log)) << det;
    }
    // 150 is absent altogether: nothing logged.
    EXPECT_EQ(log.logText(),
              "Det 300 does not exist\r\nDet 301 does not exist\r\n"
              "Det 302 does not exist\r\nDet 303 does not exist\r\n");
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
            }
        }
    }
}

// The offset of the first member's data, past its local header.
std::size_t firstDataOffset(const std::string& bytes) {
    const auto u16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<std::size_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
    };
    return 30 + u16(26) + u16(28);
}

// A copy of `members` as dir/bad.traffic with one byte of the first member's data changed.
std::filesystem::path corruptedCopy(const TempDir& dir, const std::vector<ZipMember>& members,
                                    std::size_t offsetInFirstMember) {
    const auto path = dir / "bad.traffic";
    writeZip(path, members);
    std::string bytes = test::readFile(path);
    bytes[firstDataOffset(bytes) + offsetInFirstMember] ^= 0x5a;
    test::writeFile(path, bytes);
    return path;
}

// Changes a 32-bit field of the first member alike in its local header (CRC at 14, compressed
// size at 18, size at 22) and in its central record, where each lies 2 bytes further on.
void changeFirstMemberField(std::string& bytes, std::size_t localOffset,
                            const std::function<uint32_t(uint32_t)>& change) {
    const std::size_t central = bytes.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    for (const std::size_t at : {localOffset, central + localOffset + 2}) {
        uint32_t value = 0;
        for (std::size_t b = 4; b-- > 0;) {
            value = value << 8 | static_cast<uint8_t>(bytes[at + b]);
        }
        value = change(value);
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[at + b] = static_cast<char>(value >> (8 * b));
        }
    }
}

Error extractError(const std::filesystem::path& path, int16_t det, bool wholeMemberInflate) {
    Unzip archive;
    archive.setWholeMemberInflate(wholeMemberInflate);
    archive.setZipFileName(path);
    archive.zipList();
    return extractError(archive, det);
}

// Every broken member is reported alike whether the whole-member read is on (it declines the
// member, and the streaming read reports it) or off: same number, same description.
TEST(UnzipExtract, BrokenMembersAreReportedAlikeByBothReadPaths) {
    TempDir dir;
    const auto path = dir / "bad.traffic";
    const std::string of = "\" of " + path.string();
    const auto flip = [](std::size_t offset) {
        return [offset](std::string& bytes) { bytes[firstDataOffset(bytes) + offset] ^= 0x5a; };
    };
    const auto field = [](std::size_t localOffset, std::function<uint32_t(uint32_t)> change) {
        return [=](std::string& bytes) { changeFirstMemberField(bytes, localOffset, change); };
    };
    const std::string varied = noisyVolumes();
    const std::string occupancy = noisyOccupancies();
    const struct {
        const char* what;
        std::vector<ZipMember> members;
        std::function<void(std::string&)> damage;
        int number;
        std::string mentions;
    } cases[] = {
        {"short deflated volume",
         {{"1.v30", std::string(2879, '\1')}, {"1.o30", occupancyBytes(1)}},
         nullptr,
         errc::kSubscriptOutOfRange,
         "\"1.v30" + of + " holds 2879 bytes, 2880 needed"},
        {"short stored occupancy",
         {{"1.c30", std::string(5759, '\0'), true}, {"1.v30", varied}},
         nullptr,
         errc::kSubscriptOutOfRange,
         "\"1.c30" + of + " holds 5759 bytes, 5760 needed"},
        {"empty volume",
         {{"1.v30", ""}, {"1.o30", occupancyBytes(1)}},
         nullptr,
         errc::kSubscriptOutOfRange,
         "\"1.v30" + of + " holds 0 bytes"},
        {"changed byte of a stored member",
         {{"1.v30", volumeBytes(3), true}, {"1.o30", occupancy}},
         flip(1000),
         errc::kInvalidFileFormat,
         "\"1.v30" + of + " (CRC error)"},
        {"wrong CRC of a deflated member",
         {{"1.v30", volumeBytes(3)}, {"1.o30", occupancy}},
         field(14, [](uint32_t crc) { return crc ^ 1; }),
         errc::kInvalidFileFormat,
         "\"1.v30" + of + " (CRC error)"},
        {"corrupt deflate stream",
         {{"1.v30", varied}, {"1.o30", occupancy}},
         flip(5),
         errc::kInvalidFileFormat,
         "\"1.v30" + of},
        {"occupancy damaged near its end",
         {{"1.o30", occupancy}, {"1.v30", varied}},
         flip(900),
         errc::kInvalidFileFormat,
         "\"1.o30" + of + " (CRC error)"},
        {"listed one byte longer than its data",
         {{"1.v30", varied.substr(1)}, {"1.o30", occupancy}},
         field(22, [](uint32_t size) { return size + 1; }),
         errc::kSubscriptOutOfRange,
         "\"1.v30" + of + " holds 2879 bytes, 2880 needed"},
        {"data cut short",
         {{"1.v30", varied}, {"1.o30", occupancy}},
         field(18, [](uint32_t size) { return size - 16; }),
         errc::kInvalidFileFormat,
         "\"1.v30" + of + " (CRC error)"},
    };
    for (const auto& c : cases) {
        writeZip(path, c.members);
        if (c.damage) {
            std::string bytes = test::readFile(path);
            c.damage(bytes);
            test::writeFile(path, bytes);
        }
        EXPECT_FALSE(inflatedWhole(path, c.members[0].name)) << c.what;
        const Error whole = extractError(path, 1, true);
        const Error streamed = extractError(path, 1, false);
        EXPECT_EQ(whole.number(), c.number) << c.what << ": " << whole.description();
        EXPECT_NE(whole.description().find(c.mentions), std::string::npos)
            << c.what << ": " << whole.description();
        EXPECT_EQ(whole.description(), streamed.description()) << c.what;
        EXPECT_EQ(whole.number(), streamed.number()) << c.what;
    }
}

TEST(UnzipExtract, LongerMembersGiveTheirFirstSlotsAndTheRestIsNeverInflated) {
    // Damage past byte 2880 of the longer volume member goes unnoticed: it is never read.
    TempDir dir;
    const Unzip archive = listed(corruptedCopy(
        dir,
        {{"1.v30", volumeBytes(4) + std::string(4000, 'z'), true},
         {"1.o30", occupancyBytes(33) + std::string(3, 'y')}},  // odd length beyond 5760
        5000));
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    ASSERT_TRUE(archive.extractDet(1, vol, occ, log));
    EXPECT_EQ(std::pair(vol[2879], occ[2879]), std::pair(uint8_t{4}, 3.3f));
}

// Archives written by Info-ZIP's zip, deflated and stored.
TEST(UnzipInterop, ReadsArchivesWrittenByInfoZip) {
    for (const char* level : {"-6", "-0"}) {
        TempDir dir;
        test::writeFile(dir / "5.v30", variedVolumes());
        test::writeFile(dir / "5.o30", occupancyBytes(699));
        const std::string command =
            "cd '" + dir.path().string() + "' && zip -q " + level + " -X day.traffic 5.o30 5.v30";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const Unzip archive = listed(dir / "day.traffic");
        Log log;
        VolumeSeries vol{};
        OccupancySeries occ{};
        ASSERT_TRUE(archive.extractDet(5, vol, occ, log)) << level;
        EXPECT_EQ(std::string(vol.begin(), vol.end()), variedVolumes());
        EXPECT_EQ(occ[2879], 69.9f);
    }
}

}  // namespace
}  // namespace quorvane
