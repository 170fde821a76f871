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

std::vector<int16_t> uniqueDets(const Unzip& archive) {
    std::vector<int16_t> dets;
    for (int i = 0; i < archive.detCount(); ++i) {
        dets.push_back(archive.detNum(i));
    }
    return dets;
}

TEST(UnzipList, RecordsMembersAndDistinctDetectorsInArchiveOrder) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"100.o30", occupancyBytes(1)},
                                              {"100.v30", volumeBytes(2)},
                                              {"101.c30", occupancyBytes(900)},
                                              {"101.v30", volumeBytes(3)},
                                              {"205.o30", occupancyBytes(4)},
                                              {"205.v30", volumeBytes(5)}});
    const auto& entries = archive.zipEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[2].detNo, 101);
    EXPECT_EQ(entries[2].ext, "c30");
    EXPECT_EQ(entries[2].zipIndex, 2);
    EXPECT_EQ(entries[2].name, "101.c30");
    EXPECT_EQ(entries[3].size, 2880u);
    EXPECT_EQ(uniqueDets(archive), (std::vector<int16_t>{100, 101, 205}));

    const DetectorMembers found = archive.findDetector(101);
    EXPECT_TRUE(found.present);
    EXPECT_EQ(found.occupancyMember, 2);
    EXPECT_EQ(found.volumeMember, 3);

    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    EXPECT_TRUE(archive.extractDet(101, vol, occ, log));
    EXPECT_EQ(vol[0], 3);
    EXPECT_EQ(vol[2879], 3);
    EXPECT_FLOAT_EQ(occ[2879], 50.0f);  // c30: divided by 18
    EXPECT_EQ(log.logText(), "");
    EXPECT_THROW(archive.detNum(3), Error);
}

TEST(UnzipList, FindsDetectorsWhereverTheirMembersLie) {
    TempDir dir;
    test::writeStoredZip(dir / "day.traffic", {{"205.v30", volumeBytes(5)},
                                               {"100.o30", occupancyBytes(125)},
                                               {"101.v30", volumeBytes(3)},
                                               {"100.v30", volumeBytes(2)},
                                               {"205.o30", occupancyBytes(4)},
                                               {"101.c30", occupancyBytes(18)},
                                               {"100.v30", volumeBytes(9)}});
    const Unzip archive = listed(dir / "day.traffic");
    // Only changes between neighbours count, as the member list always did.
    EXPECT_EQ(uniqueDets(archive), (std::vector<int16_t>{205, 100, 101, 100, 205, 101, 100}));
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    for (int16_t det : {205, 100, 101}) {
        EXPECT_TRUE(archive.extractDet(det, vol, occ, log)) << det;
    }
    ASSERT_TRUE(archive.extractDet(100, vol, occ, log));
    EXPECT_EQ(vol[7], 2);  // the first 100.v30, not the later one
    EXPECT_FLOAT_EQ(occ[7], 12.5f);
    EXPECT_EQ(log.logText(), "");
}

TEST(UnzipList, UnreadableArchivesAreClearErrors) {
    TempDir dir;
    const auto listError = [&](const std::filesystem::path& path) {
        return errorOf([&] { listed(path); });
    };
    const Error missing = listError(dir / "none.traffic");
    EXPECT_EQ(missing.number(), errc::kFileNotFound);
    EXPECT_NE(missing.description().find("none.traffic"), std::string::npos);
    EXPECT_EQ(listError(dir / "nowhere" / "x.traffic").number(), errc::kPathNotFound);
    EXPECT_EQ(listError(dir.path()).number(), errc::kPathFileAccess);

    test::writeFile(dir / "text.traffic", "Station,P,1,2\r\nnot a zip archive at all\r\n");
    const Error text = listError(dir / "text.traffic");
    EXPECT_EQ(text.number(), errc::kInvalidFileFormat);
    EXPECT_NE(text.description().find("text.traffic"), std::string::npos);
    EXPECT_NE(text.description().find("Not a zip archive"), std::string::npos);

    test::writeFile(dir / "zero.traffic", "");
    EXPECT_EQ(listError(dir / "zero.traffic").number(), errc::kInvalidFileFormat);

    writeZip(dir / "whole.traffic",
             std::vector<ZipMember>{{"1.v30", volumeBytes(1)}, {"1.o30", occupancyBytes(1)}});
    const std::string whole = test::readFile(dir / "whole.traffic");
    test::writeFile(dir / "cut.traffic", whole.substr(0, whole.size() / 2));
    const Error cut = listError(dir / "cut.traffic");
    EXPECT_EQ(cut.number(), errc::kInvalidFileFormat);
    EXPECT_NE(cut.description().find("cut.traffic"), std::string::npos);
}

TEST(UnzipList, EmptyArchiveIsASubscriptError) {
    TempDir dir;
    // End of central directory record of an archive without members.
    std::string empty = "PK\x05\x06";
    empty.append(18, '\0');
    test::writeFile(dir / "empty.traffic", empty);
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
    const auto nameError = [&](const std::string& name) {
        writeZip(dir / "names.traffic",
                 std::vector<ZipMember>{{"1.v30", volumeBytes(1)}, {name, "x"}});
        return errorOf([&] { listed(dir / "names.traffic"); });
    };
    const Error noDot = nameError("readme");
    EXPECT_EQ(noDot.number(), errc::kInvalidArgument);
    EXPECT_NE(noDot.description().find("\"readme\""), std::string::npos);
    EXPECT_EQ(nameError("abc.v30").number(), errc::kTypeMismatch);
    EXPECT_EQ(nameError(".v30").number(), errc::kTypeMismatch);
    EXPECT_EQ(nameError("day/100.v30").number(), errc::kTypeMismatch);
    const Error big = nameError("40000.v30");
    EXPECT_EQ(big.number(), errc::kOverflow);
    EXPECT_NE(big.description().find("\"40000.v30\""), std::string::npos);
    EXPECT_EQ(nameError("-32769.o30").number(), errc::kOverflow);

    // Accepted: signs and the extremes of the 16-bit range.
    writeZip(dir / "ok.traffic",
             std::vector<ZipMember>{{"-32768.v30", "x"}, {"+32767.o30", "y"}, {"5.", "z"}});
    const Unzip archive = listed(dir / "ok.traffic");
    EXPECT_EQ(archive.zipEntries()[0].detNo, -32768);
    EXPECT_EQ(archive.zipEntries()[1].detNo, 32767);
    EXPECT_EQ(archive.zipEntries()[2].ext, "");
}

TEST(UnzipReport, ListsEveryMemberWithIndexAndSizes) {
    TempDir dir;
    const Unzip archive = listedMembers(
        dir, {{"100.v30", volumeBytes(2), true}, {"100.o30", occupancyBytes(0), true}});
    const std::string expected =
        "Number of files in zip file:  2 \r\n"
        "Zip index, Compressed Size, Extract Size, file name\r\n"
        " 0  2880  2880 100.v30\r\n"
        " 1  5760  5760 100.o30\r\n";
    EXPECT_EQ(archive.memberReport(), expected);

    Log log;
    log.appendLog("before\r\n");
    archive.writeMemberReport(dir / "zipFileInfo.txt", log);
    EXPECT_EQ(test::readFile(dir / "zipFileInfo.txt"), expected);
    EXPECT_EQ(log.logText(),
              "before\r\nDetailed internal file info of the zip file is saved in "
              "zipFileInfo.txt\r\n");
}

TEST(UnzipReport, DeflatedSizesAreWhatTheArchiveStores) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"9.v30", volumeBytes(2)}});
    const ZipEntry& entry = archive.zipEntries()[0];
    EXPECT_LT(entry.compressedSize, 2880u);
    const std::string line = " 0  " + std::to_string(entry.compressedSize) + "  2880 9.v30\r\n";
    EXPECT_TRUE(archive.memberReport().ends_with("file name\r\n" + line)) << archive.memberReport();
}

TEST(UnzipReport, UnwritableReportIsAnErrorAndLogsNothing) {
    TempDir dir;
    const Unzip archive = listedMembers(dir, {{"9.v30", volumeBytes(2)}});
    Log log;
    EXPECT_THROW(archive.writeMemberReport(dir / "missing" / "zipFileInfo.txt", log), Error);
    EXPECT_EQ(log.logText(), "");
}
TEST(UnzipList, NewPathForgetsThePreviousList) {
    TempDir dir;
    Unzip archive = listedMembers(dir, {{"1.v30", volumeBytes(8)}, {"1.o30", occupancyBytes(8)}});
    archive.setZipFileName(dir / "other.traffic");
    EXPECT_TRUE(archive.zipEntries().empty());
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    EXPECT_FALSE(archive.extractDet(1, vol, occ, log));
    EXPECT_EQ(archive.fileName(), dir / "other.traffic");
}

}  // namespace
}  // namespace quorvane
