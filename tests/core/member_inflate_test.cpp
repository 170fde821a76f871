#include "core/member_inflate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "archive_fixture.h"
#include "base/log.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

using test::inflatedWhole;
using test::listed;
using test::noisyOccupancies;
using test::noisyVolumes;
using test::TempDir;
using test::writeZip;
using test::ZipMember;

struct Series {
    VolumeSeries vol{};
    OccupancySeries occ{};
    bool operator==(const Series&) const = default;
};

Series extracted(const fs::path& path, int16_t det, bool wholeMemberInflate) {
    Unzip archive;
    archive.setWholeMemberInflate(wholeMemberInflate);
    archive.setZipFileName(path);
    archive.zipList();
    Series series;
    Log log;
    EXPECT_TRUE(archive.extractDet(det, series.vol, series.occ, log)) << path;
    return series;
}

void shell(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Intact archives of every shape: the whole-member read takes the deflated members no more
// than the margin longer than what is used and declines the others; either way a detector's
// series are what the streaming read gives.
TEST(WholeMemberInflate, TakesShortDeflatedMembersAndReadsWhatTheStreamingReadReads) {
    TempDir dir;
    const fs::path path = dir / "day.traffic";
    const std::string volume = noisyVolumes();
    const std::string occupancy = noisyOccupancies();
    test::writeFile(dir / "1.v30", volume);
    test::writeFile(dir / "1.o30", occupancy);
    const std::string infoZip = "cd '" + dir.path().string() + "' && rm -f day.traffic && zip -q ";
    const struct {
        const char* what;
        std::function<void()> write;
        bool volumeWhole;
        bool occupancyWhole;
    } cases[] = {
        {"deflated by libzip",
         [&] {
             writeZip(path, std::vector<ZipMember>{{"1.v30", volume}, {"1.o30", occupancy}});
         },
         true, true},
        {"up to the margin longer, and beyond it",
         [&] {
             writeZip(path, std::vector<ZipMember>{
                                {"1.v30", volume + std::string(kWholeInflateMargin, 'z')},
                                {"1.c30", occupancy + std::string(kWholeInflateMargin + 1, 'y')}});
         },
         true, false},
        {"stored, and of odd length",
         [&] {
             writeZip(path,
                      std::vector<ZipMember>{{"1.v30", volume, true}, {"1.o30", occupancy + "x"}});
         },
         false, true},
        {"by Info-ZIP, extra fields and a comment",
         [&] { shell(infoZip + "day.traffic 1.v30 1.o30 && echo day | zip -q -z day.traffic"); },
         true, true},
        {"by Info-ZIP to a pipe, with data descriptors",
         [&] { shell(infoZip + "- 1.o30 1.v30 | cat > day.traffic"); }, true, true},
        {"a local header signature libzip does not check",
         [&] {
             writeZip(path, std::vector<ZipMember>{{"1.v30", volume}, {"1.o30", occupancy}});
             std::string bytes = test::readFile(path);
             bytes[1] = 'Q';
             test::writeFile(path, bytes);
         },
         false, true},
    };
    for (const auto& c : cases) {
        c.write();
        const std::string occupancyName = listed(path).zipEntries()[1].name;
        EXPECT_EQ(inflatedWhole(path, "1.v30"), c.volumeWhole) << c.what;
        EXPECT_EQ(inflatedWhole(path, occupancyName), c.occupancyWhole) << c.what;
        const Series whole = extracted(path, 1, true);
        EXPECT_EQ(std::string(whole.vol.begin(), whole.vol.end()), volume) << c.what;
        EXPECT_TRUE(whole == extracted(path, 1, false)) << c.what;
    }
}

TEST(WholeMemberInflate, LocatesOnlyMembersWhoseCentralRecordAgreesWithTheListing) {
    TempDir dir;
    const fs::path path = dir / "day.traffic";
    writeZip(path, std::vector<ZipMember>{{"1.v30", noisyVolumes()},
                                          {"1.o30", noisyOccupancies()},
                                          {"2.v30", noisyVolumes(), true}});
    std::vector<ZipEntry> entries = listed(path).zipEntries();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto locatedDeflated = [&] {
        std::vector<std::pair<bool, bool>> found;
        for (const MemberLocation& location : locateMembers(fd, entries)) {
            found.emplace_back(location.localHeader != MemberLocation::kUnlocated,
                               location.deflated);
        }
        return found;
    };
    using Found = std::vector<std::pair<bool, bool>>;
    EXPECT_EQ(locatedDeflated(), (Found{{true, true}, {true, true}, {true, false}}));
    entries[1].name = "1.c30";
    entries[2].size += 1;
    EXPECT_EQ(locatedDeflated(), (Found{{true, true}, {false, false}, {false, false}}));
    entries.pop_back();  // the central directory holds three members, not two
    EXPECT_EQ(locatedDeflated(), (Found{{false, false}, {false, false}}));
    ::close(fd);
}

}  // namespace
}  // namespace quorvane
