// The archive reader: the member list, the detectors' members, and the two ways a member is
// read (short deflated members inflated whole, the others streamed), which must give the same
// series and the same errors.
#include "core/unzip.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

#include "archive_fixture.h"
#include "base/log.h"
#include "core/member_inflate.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using namespace quorvane::test;

// What extractDet made of one detector.
struct Extracted {
    bool found = false;
    VolumeSeries vol{};
    OccupancySeries occ{};
    std::string log;
    bool operator==(const Extracted&) const = default;
};

Extracted extracted(const Unzip& archive, int16_t det) {
    Extracted out;
    Log log;
    out.found = archive.extractDet(det, out.vol, out.occ, log);
    out.log = log.logText();
    return out;
}

// Pseudo-random bytes 0 .. 40, which deflate can hardly shrink: a byte changed far into such a
// member still lies inside its data.
std::string noisy(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(length, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random() % 41); });
    return bytes;
}
const std::string kVol = noisy(kVolumeMemberBytes, 13);
const std::string kOcc = noisy(kOccupancyMemberBytes, 17);

// Whatever the member list cannot take is an error naming the archive, or the member.
TEST(UnzipList, UnreadableArchivesAreClearErrors) {
    TempDir dir;
    writeZip(dir / "whole.traffic", std::vector<ZipMember>{{"1.v30", volumeBytes(1)}});
    const std::string whole = readFile(dir / "whole.traffic");
    writeFile(dir / "cut.traffic", whole.substr(0, whole.size() / 2));
    writeFile(dir / "text.traffic", "Station,P,1,2\r\nnot a zip archive at all\r\n");
    writeFile(dir / "zero.traffic", "");
    // The end of central directory record of an archive without members.
    writeFile(dir / "empty.traffic", "PK\x05\x06" + std::string(18, '\0'));
    std::vector<std::tuple<fs::path, int, std::string>> cases{
        {dir / "none.traffic", errc::kFileNotFound, "none.traffic"},
        {dir / "nowhere" / "x.traffic", errc::kPathNotFound, "x.traffic"},
        {dir.path(), errc::kPathFileAccess, dir.path().string()},
        {dir / "text.traffic", errc::kInvalidFileFormat, "text.traffic (Not a zip archive)"},
        {dir / "zero.traffic", errc::kInvalidFileFormat, "zero.traffic"},
        {dir / "cut.traffic", errc::kInvalidFileFormat, "cut.traffic"},
        {dir / "empty.traffic", errc::kSubscriptOutOfRange, "empty.traffic has no members"},
    };
    // A member name without a dot, without a detector number, or one beyond 16 bits.
    const std::pair<const char*, int> names[] = {
        {"readme", errc::kInvalidArgument}, {"abc.v30", errc::kTypeMismatch},
        {".v30", errc::kTypeMismatch},      {"day/100.v30", errc::kTypeMismatch},
        {"40000.v30", errc::kOverflow},     {"-32769.o30", errc::kOverflow},
    };
    for (const auto& [name, number] : names) {
        const fs::path path = dir / ("name" + std::to_string(cases.size()) + ".traffic");
        writeZip(path, std::vector<ZipMember>{{"1.v30", "x"}, {name, "x"}});
        cases.emplace_back(path, number, "member \"" + std::string(name) + '"');
    }
    // More than 32767 members; 32767 are listed.
    std::vector<ZipMember> many;
    for (int i = 0; i < 32768; ++i) {
        many.push_back({std::to_string(i) + ".x", "", true});
    }
    writeZip(dir / "big.traffic", many);
    cases.emplace_back(dir / "big.traffic", errc::kOverflow, "32768 members");
    many.pop_back();
    writeZip(dir / "full.traffic", many);
    EXPECT_EQ(listed(dir / "full.traffic").zipEntries().back().zipIndex, 32766);
    for (const auto& [path, number, mentions] : cases) {
        const fs::path archive = path;  // clang 14 captures no structured binding
        const Error error = errorOf([&] { listed(archive); });
        EXPECT_EQ(error.number(), number) << path;
        EXPECT_NE(error.description().find(mentions), std::string::npos) << error.description();
    }
}

// Members are found wherever they lie; a detector missing a member is logged per member (its
// volume still read), one missing altogether is not. Extensions are compared exactly.
TEST(UnzipExtract, FindsMembersWhereverTheyLieAndLogsTheMissingOnes) {
    TempDir dir;
    // "0100.v30" names detector 100 as well: its first volume member counts.
    const std::vector<ZipMember> members{
        {"205.v30", volumeBytes(5)},    {"100.o30", occupancyBytes(125)},
        {"101.v30", volumeBytes(3)},    {"100.v30", volumeBytes(2), true},
        {"205.o30", occupancyBytes(4)}, {"101.c30", occupancyBytes(900)},
        {"0100.v30", volumeBytes(9)},   {"300.v30", volumeBytes(6)},
        {"301.o30", occupancyBytes(4)}, {"302.V30", volumeBytes(6)},
        {"302.o30", occupancyBytes(4)}, {"303.v30.bak", volumeBytes(6)},
        {"303.c30", occupancyBytes(4)}};
    writeZip(dir / "day.traffic", members);
    const Unzip archive = listed(dir / "day.traffic");
    const Extracted d100 = extracted(archive, 100);
    const Extracted d101 = extracted(archive, 101);
    EXPECT_TRUE(d100.found && d101.found && extracted(archive, 205).found);
    EXPECT_EQ(std::pair(d100.vol[7], d100.occ[7]), std::pair(uint8_t{2}, 12.5f));
    EXPECT_EQ(d101.occ[7], 50.0f);  // c30: divided by 18
    const Extracted d300 = extracted(archive, 300);
    EXPECT_EQ(std::pair(d300.found, d300.vol[100]), std::pair(false, uint8_t{6}));
    std::string log = d100.log + d101.log + d300.log;
    for (const int16_t det : {301, 302, 303, 150}) {
        EXPECT_FALSE(extracted(archive, det).found) << det;
        log += extracted(archive, det).log;
    }
    EXPECT_EQ(log,
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

// Flips a byte of the first member's data, past its local header (30 bytes, name, extra field).
std::function<void(std::string&)> flip(std::size_t offset) {
    return [offset](std::string& bytes) {
        uint16_t lengths[2];
        std::memcpy(lengths, &bytes[26], 4);
        bytes[30 + lengths[0] + lengths[1] + offset] ^= 0x5a;
    };
}

// Writes `members` to `path`, then changes the archive's bytes with `damage` (if any).
void writeDamaged(const fs::path& path, const std::vector<ZipMember>& members,
                  const std::function<void(std::string&)>& damage) {
    writeZip(path, members);
    if (damage) {
        std::string bytes = readFile(path);
        damage(bytes);
        writeFile(path, bytes);
    }
}

// Whether the whole-member read itself fills the slots of member `index` of `path` (else the
// streaming read has to).
bool inflatedWhole(const fs::path& path, std::size_t index) {
    const std::vector<ZipEntry> entries = listed(path).zipEntries();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::vector<uint8_t> out(entries[index].ext == "v30" ? kVolumeMemberBytes
                                                         : kOccupancyMemberBytes);
    const bool whole =
        WholeMemberInflater(fd).read(entries[index], locateMembers(fd, entries)[index], out);
    ::close(fd);
    return whole;
}

// Intact archives of every shape (members the whole-member read takes, and ones it declines:
// longer than the margin, stored, odd): a detector's series are what the streaming read gives.
TEST(WholeMemberInflate, ReadsWhatTheStreamingReadReadsFromArchivesOfEveryShape) {
    TempDir dir;
    const fs::path path = dir / "day.traffic";
    const std::string margin(kWholeInflateMargin, 'z');
    writeFile(dir / "1.v30", kVol);
    writeFile(dir / "1.o30", kOcc);
    const std::string infoZip = "cd '" + dir.path().string() + "' && rm -f day.traffic && zip -q ";
    const auto libzip = [&](std::vector<ZipMember> members,
                            std::function<void(std::string&)> damage = nullptr) {
        return [=] { writeDamaged(path, members, damage); };
    };
    const auto shell = [&](const std::string& command) {
        return [=] { ASSERT_EQ(std::system((infoZip + command).c_str()), 0) << command; };
    };
    const struct {
        const char* what;
        std::function<void()> write;
        std::pair<bool, bool> inflatedWhole;  // volume, occupancy
    } cases[] = {
        {"deflated by libzip", libzip({{"1.v30", kVol}, {"1.o30", kOcc}}), {true, true}},
        {"up to the margin longer, and beyond it",
         libzip({{"1.v30", kVol + margin}, {"1.c30", kOcc + margin + "y"}}),
         {true, false}},
        {"stored, and of odd length",
         libzip({{"1.v30", kVol, true}, {"1.o30", kOcc + "x"}}),
         {false, true}},
        {"by Info-ZIP, extra fields and a comment",
         shell("day.traffic 1.v30 1.o30 && echo day | zip -q -z day.traffic"),
         {true, true}},
        {"by Info-ZIP to a pipe, with data descriptors",
         shell("- 1.v30 1.o30 | cat > day.traffic"),
         {true, true}},
        {"a local header signature libzip does not check",
         libzip({{"1.v30", kVol}, {"1.o30", kOcc}}, [](std::string& bytes) { bytes[1] = 'Q'; }),
         {false, true}},
        // Only the bytes used are read: damage beyond them goes unnoticed.
        {"stored, longer, damaged past what is used",
         libzip({{"1.v30", kVol + margin + margin, true}, {"1.o30", kOcc}}, flip(3000)),
         {false, true}},
    };
    for (const auto& c : cases) {
        c.write();
        EXPECT_EQ(std::pair(inflatedWhole(path, 0), inflatedWhole(path, 1)), c.inflatedWhole)
            << c.what;
        const Extracted whole = extracted(listed(path, true), 1);
        EXPECT_EQ(std::string(whole.vol.begin(), whole.vol.end()), kVol) << c.what;
        EXPECT_TRUE(whole == extracted(listed(path, false), 1)) << c.what;
    }
}

// Every broken member is reported alike whether the whole-member read is on (it declines the
// member, and the streaming read reports it) or off: same number, same description.
TEST(UnzipExtract, BrokenMembersAreReportedAlikeByBothReadPaths) {
    TempDir dir;
    const fs::path path = dir / "bad.traffic";
    // Adds `delta` to a 32-bit field of the first member, alike in its local header (CRC at 14,
    // compressed size at 18, size at 22) and in its central record, 2 bytes further on.
    const auto add = [](std::size_t at, uint32_t delta) {
        return [=](std::string& bytes) {
            for (const std::size_t field : {at, bytes.find("PK\x01\x02") + at + 2}) {
                uint32_t value = 0;
                std::memcpy(&value, &bytes[field], 4);
                value += delta;
                std::memcpy(&bytes[field], &value, 4);
            }
        };
    };
    constexpr int kShort = errc::kSubscriptOutOfRange;
    constexpr int kBad = errc::kInvalidFileFormat;
    // The member named in the error first; the error's text after "«member»" of «archive».
    const struct {
        std::vector<ZipMember> members;
        int number;
        std::string after;
        std::function<void(std::string&)> damage = nullptr;
    } cases[] = {
        {{{"1.v30", std::string(2879, '\1')}, {"1.o30", kOcc}}, kShort, " holds 2879 bytes, 2880"},
        {{{"1.c30", std::string(5759, 0), true}, {"1.v30", kVol}},
         kShort,
         " holds 5759 bytes, 5760"},
        {{{"1.v30", ""}, {"1.o30", kOcc}}, kShort, " holds 0 bytes, 2880 needed"},
        {{{"1.v30", kVol, true}, {"1.o30", kOcc}}, kBad, " (CRC error)", flip(1000)},  // stored
        {{{"1.v30", volumeBytes(3)}, {"1.o30", kOcc}}, kBad, " (CRC error)", add(14, 1)},
        {{{"1.v30", kVol}, {"1.o30", kOcc}}, kBad, " (", flip(5)},  // a corrupt deflate stream
        {{{"1.o30", kOcc}, {"1.v30", kVol}}, kBad, " (CRC error)", flip(900)},
        // Listed one byte longer than its data; the data listed 16 bytes short.
        {{{"1.v30", kVol.substr(1)}, {"1.o30", kOcc}},
         kShort,
         " holds 2879 bytes, 2880",
         add(22, 1)},
        {{{"1.v30", kVol}, {"1.o30", kOcc}}, kBad, " (CRC error)", add(18, 0u - 16)},
    };
    for (const auto& c : cases) {
        writeDamaged(path, c.members, c.damage);
        EXPECT_FALSE(inflatedWhole(path, 0)) << c.members[0].name;
        const std::string expected = '"' + c.members[0].name + "\" of " + path.string() + c.after;
        const Error whole = errorOf([&] { extracted(listed(path, true), 1); });
        const Error streamed = errorOf([&] { extracted(listed(path, false), 1); });
        EXPECT_EQ(whole.number(), c.number) << expected;
        EXPECT_NE(whole.description().find(expected), std::string::npos) << whole.description();
        EXPECT_EQ(std::pair(whole.number(), whole.description()),
                  std::pair(streamed.number(), streamed.description()));
    }
}

}  // namespace
}  // namespace quorvane
