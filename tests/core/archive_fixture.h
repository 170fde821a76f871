#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/member_inflate.h"
#include "core/unzip.h"
#include "support/test_files.h"

namespace quorvane::test {

// An Unzip that has read the member list of `path`.
inline Unzip listed(const std::filesystem::path& path) {
    Unzip archive;
    archive.setZipFileName(path);
    archive.zipList();
    return archive;
}

// The same, of `members` written to dir/day.traffic.
inline Unzip listedMembers(const TempDir& dir, const std::vector<ZipMember>& members) {
    writeZip(dir / "day.traffic", members);
    return listed(dir / "day.traffic");
}

// A day of pseudo-random plausible values, which deflate can hardly shrink: a byte changed far
// into such a member still lies inside its data.
inline std::string noisyVolumes() {
    std::mt19937 random(13);
    std::string bytes;
    for (int k = 0; k < kSlotsPerDay; ++k) {
        bytes.push_back(static_cast<char>(random() % 41));
    }
    return bytes;
}

inline std::string noisyOccupancies() {
    std::mt19937 random(17);
    std::vector<int16_t> raw(kSlotsPerDay);
    for (int16_t& value : raw) {
        value = static_cast<int16_t>(random() % 1001);
    }
    return occupancyBytes(raw);
}

// Whether the whole-member read fills the slots of member `name` of `path` itself (else the
// streaming read has to).
inline bool inflatedWhole(const std::filesystem::path& path, const std::string& name) {
    const Unzip archive = listed(path);
    const std::vector<ZipEntry>& entries = archive.zipEntries();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const ZipEntry& e) { return e.name == name; });
    if (entry == entries.end()) {
        ADD_FAILURE() << name << " is not in " << path;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const std::vector<MemberLocation> locations = locateMembers(fd, entries);
    std::vector<uint8_t> out(entry->ext == "v30" ? kVolumeMemberBytes : kOccupancyMemberBytes);
    const bool whole = WholeMemberInflater(fd).read(
        *entry, locations[static_cast<std::size_t>(entry - entries.begin())], out);
    ::close(fd);
    return whole;
}

}  // namespace quorvane::test
