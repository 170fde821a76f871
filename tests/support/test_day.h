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
    // North's stations 101..130 a kilometre apart: VURStaPos.list in `directory`.
    static void writePositions(const std::filesystem::path& directory);
    // A day of free flow but for a queue on North behind station 110 from 07:00 to 08:00 (plus
    // `lateMinutes`): with the fixed 6.7 m, 720 vehicles a lane and hour at 5 % run at 96.5 km/h,
    // 480 at 25 % at 12.9 km/h, on stations 101 .. 110.
    static void writeQueueArchive(const std::filesystem::path& archive, int lateMinutes = 0);
};

}  // namespace quorvane::test
