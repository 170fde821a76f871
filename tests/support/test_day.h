#pragma once

#include <filesystem>

namespace quorvane::test {

// A small day for the window and batch command tests: stations 101..140 with two detectors each (N1
// and N2 for station N), roads "North" (101..130), "South" (140, 139, 138) and "Ghost" (131 and the
// unknown 999). Detector N1 counts 1 + (N - 101) % 5 vehicles in every slot, times `scale`;
// N2 counts slot % 4; occupancies are 10 % and 30 %. Detector 1402 is missing from the archive.
struct TestDay {
    static constexpr int kStations = 40;

    static void writeLists(const std::filesystem::path& directory);
    static void writeArchive(const std::filesystem::path& archive, int scale = 1);
};

}  // namespace quorvane::test
