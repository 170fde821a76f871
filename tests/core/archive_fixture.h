#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/unzip.h"
#include "support/test_files.h"

namespace quorvane::test {

// An Unzip that has read the member list of `path`; of `members` written to dir/day.traffic.
Unzip listed(const std::filesystem::path& path);
Unzip listedMembers(const TempDir& dir, const std::vector<ZipMember>& members);

// A zip archive of stored members written byte by byte, for what libzip refuses to write:
// several members of the same name.
void writeStoredZip(const std::filesystem::path& path, const std::vector<ZipMember>& members);

// A day of `stations` stations with `detsPerStation` detectors each (detector numbers
// 1000 + 10 * station + j), some of them flawed: implausible values, a missing detector, a
// volume-only detector, "c30" members, members out of order. Writes the archive and both
// definition lists into `dir`; returns the archive path.
std::filesystem::path writeFlawedDay(const std::filesystem::path& dir, int stations,
                                     int detsPerStation);

// Writes "VURSta2Det.list" (one line per station: number, P, detectors) and a one-road
// "VURRoad2Sta.list" over the same stations into `dir`.
struct StationLine {
    int16_t staNum;
    std::vector<int16_t> dets;
};
void writeLists(const std::filesystem::path& dir, const std::vector<StationLine>& stations);

}  // namespace quorvane::test
