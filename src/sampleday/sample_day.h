#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sampleday/layout.h"

namespace quorvane::sampleday {

inline constexpr std::string_view kArchiveFileName = "sample.traffic";

struct ArchiveMember {
    std::string name;  // "<detector>.<ext>"
    std::string bytes;
};

// The texts of "VURSta2Det.list", "VURRoad2Sta.list" and "VURStaPos.list" (CR LF lines, a
// comment line first).
std::string stationListText(const SampleLayout& layout);
std::string roadListText(const SampleLayout& layout);
// Each station at the middle of its cell, the posts counting along the road from its first cell
// (up on the roads that run with their numbering, down on the others, as mileposts do).
std::string positionListText(const SampleLayout& layout);

// Every member of the day's archive, in archive order: ascending detector number, and for one
// detector its occupancy member before its volume member.
std::vector<ArchiveMember> archiveMembers(const SampleLayout& layout, uint64_t seed);

// Writes the members as a zip archive of deflated members with a fixed timestamp, so that the
// same members give the same bytes. Throws quorvane::Error.
void writeArchive(const std::filesystem::path& path, const std::vector<ArchiveMember>& members);

struct SampleSummary {
    std::filesystem::path archive;
    int stations = 0;
    int roads = 0;
    int detectors = 0;
    int members = 0;
};

// Writes DIR/sample.traffic (for a day of a month DIR/dayNN.traffic), DIR/VURSta2Det.list,
// DIR/VURRoad2Sta.list and DIR/VURStaPos.list, creating DIR when missing. Throws
// quorvane::Error.
SampleSummary writeSampleDay(const std::filesystem::path& directory, const SampleOptions& options);

// The archive's name: "sample.traffic", or "day07.traffic" for day 7 of a month.
std::string sampleArchiveName(int day);

}  // namespace quorvane::sampleday
