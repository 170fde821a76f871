#pragma once

// The detector health of a built day as the engineer reads it: the summary line, the CSV file
// and each station's grade. The window and the batch command both use these.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/detector_health.h"

namespace quorvane {

inline constexpr std::string_view kHealthCsvHeader =
    "station,detector,status,samples,implausible,zero_occupancy,high_occupancy,"
    "zero_volume_positive_occupancy,zero_occupancy_positive_volume,longest_constant_minutes,"
    "g_factor_m";
// A day loaded from a ".station" file holds no detector values to grade.
inline constexpr std::string_view kHealthNeedsBuildMessage =
    "Detector health needs a build from the archive.";

// "Detector health: 180 good, 2 no data, 1 card off": how many detectors have each status,
// "good" first and then the faults in the order of grading, only the statuses that occur.
std::string healthSummary(const DetectorHealth& health);

// A run of slots in minutes, in decimal: 480 slots "240", 479 slots "239.5".
std::string constantMinutesText(int slots);

// A calibrated detector's g-factor at the free-flow speed V in metres, two decimals ("6.70");
// empty for a detector that is not calibrated at V.
std::string gFactorText(const DetectorGrade& grade, double freeFlowKmh);

// The header line and one line per detector in grading order, the g-factors at V, CR LF line
// ends.
std::string healthCsvText(const DetectorHealth& health, double freeFlowKmh = kDefaultFreeFlowKmh);
// Replaces `path` only once the file is complete. Throws Error.
void writeHealthCsv(const std::filesystem::path& path, const DetectorHealth& health,
                    double freeFlowKmh = kDefaultFreeFlowKmh);

// A station's grade: its good detectors out of its listed ones ("3/4").
struct StationGrade {
    int good = 0;
    int listed = 0;
    std::string text() const;
};
// The grade of each detector's station, one per detector in the same order.
std::vector<StationGrade> stationGrades(const DetectorHealth& health);

}  // namespace quorvane
