#include "views/health_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/file_io.h"
#include "base/log.h"

namespace quorvane {

namespace {

// The summary's order: the good ones first, then every fault as graded.
constexpr std::array kSummaryOrder{
    HealthStatus::Good,     HealthStatus::NoData,     HealthStatus::InsufficientData,
    HealthStatus::CardOff,  HealthStatus::HighValues, HealthStatus::Intermittent,
    HealthStatus::Constant,
};
static_assert(kSummaryOrder.size() == kHealthStatuses.size());

void appendCsvLine(std::string& text, const DetectorGrade& grade, double freeFlowKmh) {
    const DetectorCounts& c = grade.counts;
    text += std::to_string(grade.station);
    text += ',';
    text += std::to_string(grade.detector);
    text += ',';
    text += statusText(grade.status);
    for (const int count : {c.samples, c.implausible, c.zeroOccupancy, c.highOccupancy,
                            c.zeroVolumePositiveOccupancy, c.zeroOccupancyPositiveVolume}) {
        text += ',';
        text += std::to_string(count);
    }
    text += ',';
    text += constantMinutesText(c.longestConstantSlots);
    text += ',';
    text += gFactorText(grade, freeFlowKmh);
    text += kCrLf;
}

}  // namespace

std::string healthSummary(const DetectorHealth& health) {
    std::array<int, kHealthStatuses.size()> counts{};
    for (const DetectorGrade& grade : health.detectors) {
        ++counts[static_cast<std::size_t>(grade.status)];
    }
    std::string text = "Detector health:";
    const char* separator = " ";
    for (const HealthStatus status : kSummaryOrder) {
        const int count = counts[static_cast<std::size_t>(status)];
        if (count > 0) {
            text += separator + std::to_string(count) + " ";
            text += statusText(status);
            separator = ", ";
        }
    }
    return text;
}

std::string constantMinutesText(int slots) {
    return std::to_string(slots / 2) + (slots % 2 != 0 ? ".5" : "");
}

std::string gFactorText(const DetectorGrade& grade, double freeFlowKmh) {
    if (!grade.fit.calibrated(freeFlowKmh)) {
        return {};
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", grade.fit.gFactor(freeFlowKmh));
    return buffer;
}

std::string healthCsvText(const DetectorHealth& health, double freeFlowKmh) {
    std::string text(kHealthCsvHeader);
    text += kCrLf;
    for (const DetectorGrade& grade : health.detectors) {
        appendCsvLine(text, grade, freeFlowKmh);
    }
    return text;
}

void writeHealthCsv(const std::filesystem::path& path, const DetectorHealth& health,
                    double freeFlowKmh) {
    writeFileReplacing(path, healthCsvText(health, freeFlowKmh));
}

std::string StationGrade::text() const {
    return std::to_string(good) + "/" + std::to_string(listed);
}

std::vector<StationGrade> stationGrades(const DetectorHealth& health) {
    const std::vector<DetectorGrade>& rows = health.detectors;
    std::vector<StationGrade> grades(rows.size());
    // A station's detectors are neighbours: grade each stretch of one station row at once.
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t last = first;
        StationGrade grade;
        while (last < rows.size() && rows[last].stationRow == rows[first].stationRow) {
            grade.good += rows[last].status == HealthStatus::Good;
            ++grade.listed;
            ++last;
        }
        std::fill(grades.begin() + static_cast<std::ptrdiff_t>(first),
                  grades.begin() + static_cast<std::ptrdiff_t>(last), grade);
        first = last;
    }
    return grades;
}

}  // namespace quorvane
