#include "core/unzip.h"

#include <gtest/gtest.h>

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

TEST(UnzipList, FindsDetectorsWhereverTheirMembersLie) {
    TempDir dir;
    test::writeStoredZip(dir / "day.traffic", {{"205.v30", volumeBytes(5)},
                                               {"100.o30", occupancyBytes(125)},
                                               {"101.v30", volumeBytes(3)},
                                               {"100.v30", volumeBytes(2)},
                                               {"205.o30", occupancyBytes(4)},
                                               {"101.c30", occupancyBytes(900)},
                                               {"100.v30", volumeBytes(9)}});
    const Unzip archive = listed(dir / "day.traffic");
    const ZipEntry& entry = archive.zipEntries()[5];
    EXPECT_EQ(std::tie(entry.detNo, entry.zipIndex, entry.ext, entry.name, entry.size),
              std::make_tuple(int16_t{101}, int16_t{5}, std::string("c30"), std::string("101.c30"),
                              uint64_t{5760}));
    // Only changes between neighbours count, as the member list always did.
    std::vector<int16_t> dets;
    for (int i = 0; i < archive.detCount(); ++i) {
        dets.push_back(archive.detNum(i));
    }
    EXPECT_EQ(dets, (std::vector<int16_t>{205, 100, 101, 100, 205, 101, 100}));
    EXPECT_THROW(archive.detNum(7), Error);

    const DetectorMembers found = archive.findDetector(100);
    EXPECT_EQ(std::pair(found.volumeMember, found.occupancyMember), std::pair(3, 1));
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    for (int16_t det : {205, 101, 100}) {
        EXPECT_TRUE(archive.extractDet(det, vol, occ, log)) << det;
    }
    EXPECT_EQ(vol[7], 2);  // the first 100.v30, not the later one
    EXPECT_EQ(occ[7], 12.5f);
    ASSERT_TRUE(archive.extractDet(101, vol, occ, log));
    EXPECT_EQ(occ[7], 50.0f);  // c30: divided by 18
    EXPECT_EQ(log.logText(), "");

    // A new path drops the positions of the old list.
    Unzip renamed = listed(dir / "day.traffic");
    renamed.setZipFileName(dir / "other.traffic");
    EXPECT_TRUE(renamed.zipEntries().empty());
    EXPECT_FALSE(renamed.extractDet(100, vol, occ, log));
}

TEST(UnzipList, UnreadableArchivesAreClearErrors) {
    TempDir dir;
    writeZip(dir / "whole.traffic",
             std::vector<ZipMember>{{"1.v30", volumeBytes(1)}, {"1.o30", occupancyBytes(1)}});
    const std::string whole = test::readFile(dir / "whole.traffic");
    test::writeFile(dir / "cut.traffic", whole.substr(0, whole.size() / 2));
    test::writeFile(dir / "text.traffic", "Station,P,1,2\r\nnot a zip archive at all\r\n");
    test::writeFile(dir / "zero.traffic", "");
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
    };
    for (const auto& c : cases) {
        const Error error = errorOf([&] { listed(c.path); });
        EXPECT_EQ(error.number(), c.number) << c.path;
        EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
}

TEST(UnzipList, EmptyArchiveIsASubscriptError) {
    TempDir dir;
    // End of central directory record of an archive without members.
    test::writeFile(dir / "empty.traffic", "PK\x05\x06" + std::string(18, '\0'));
    const Error error = errorOf([&] { listed(dir / "empty.traffic"); });
    EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(error.description().find("no members"), std::string::npos);
}

TEST(UnzipList, MoreThan32767MembersOverflow) {
    TempDir dir;
    std::vector<ZipMember> members;
    for (int i = 0; i < 32768; ++i) {
        members.push_back({std::to_string(i) + ".x", ""});
    }
    test::writeStoredZip(dir / "big.traffic", members);
    const Error error = errorOf([&] { listed(dir / "big.traffic"); });
    EXPECT_EQ(error.number(), errc::kOverflow);
    EXPECT_NE(error.description().find("32768 members"), std::string::npos);
    members.pop_back();
    test::writeStoredZip(dir / "full.traffic", members);
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
    // Accepted: signs and the extremes of the 16-bit range.
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

    Log log;
    log.appendLog("before\r\n");
    EXPECT_THROW(archive.writeMemberReport(dir / "missing" / "zipFileInfo.txt", log), Error);
    archive.writeMemberReport(dir / "zipFileInfo.txt", log);
    EXPECT_EQ(test::readFile(dir / "zipFileInfo.txt"), expected);
    EXPECT_EQ(log.logText(),
              "before\r\nDetailed internal file info of the zip file is saved in "
              "zipFileInfo.txt\r\n");
}

}  // namespace
}  // namespace quorvane
