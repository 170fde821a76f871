#pragma once

#include <filesystem>
#include <vector>

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

}  // namespace quorvane::test
