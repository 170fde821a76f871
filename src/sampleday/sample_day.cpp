#include "sampleday/sample_day.h"

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <memory>
#include <system_error>

#include "base/error.h"
#include "sampleday/detector_series.h"
#include "sampleday/random.h"
#include "sampleday/traffic_model.h"

namespace quorvane::sampleday {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kRoadStream = 0x524f4144ULL;
constexpr uint64_t kDetectorStream = 0x444554ULL;
// 2024-05-06 00:00:00 as an MS-DOS date and time: every member carries it.
constexpr zip_uint16_t kDosDate = ((2024 - 1980) << 9) | (5 << 5) | 6;
constexpr zip_uint16_t kDosTime = 0;
constexpr zip_uint32_t kUnixFileMode = 0100644u << 16;
constexpr zip_uint32_t kDeflateLevel = 6;
constexpr std::string_view kCrLf = "\r\n";

[[noreturn]] void throwWriteError(const fs::path& path, const std::string& why) {
    throw Error(errc::kPathFileAccess, "Cannot write " + path.string() + ": " + why);
}

void writeText(const fs::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        throwWriteError(path, std::strerror(errno));
    }
}

// The members of stations [first, last) in list order.
std::vector<ArchiveMember> stationMembers(const SampleLayout& layout,
                                          const std::vector<std::vector<CellSeries>>& roads,
                                          std::size_t first, std::size_t last, uint64_t seed) {
    std::vector<ArchiveMember> members;
    const uint64_t detectorSeed = Prng::derive(seed, kDetectorStream);
    for (std::size_t s = first; s < last; ++s) {
        const SampleStation& station = layout.stations[s];
        const CellSeries& cell = roads[station.road][station.cell];
        for (const SampleDetector& detector : station.detectors) {
            if (detector.flaw == DetectorFlaw::MissingFromArchive) {
                continue;
            }
            DetectorMembers series =
                detectorMembers(station, detector, cell, layout.implausible, detectorSeed);
            const std::string number = std::to_string(detector.number);
            if (detector.flaw != DetectorFlaw::VolumeOnly) {
                const char* ext = detector.flaw == DetectorFlaw::C30 ? ".c30" : ".o30";
                members.push_back({number + ext, std::move(series.occupancy)});
            }
            members.push_back({number + ".v30", std::move(series.volume)});
        }
    }
    return members;
}

}  // namespace

std::string stationListText(const SampleLayout& layout) {
    std::string text = "; Quorvane sample day: station number, P, its lane detectors";
    text += kCrLf;
    for (const SampleStation& station : layout.stations) {
        text += std::to_string(station.number) + ", P";
        for (const SampleDetector& detector : station.detectors) {
            text += ", " + std::to_string(detector.number);
        }
        text += ",";
        text += kCrLf;
    }
    return text;
}

std::string roadListText(const SampleLayout& layout) {
    std::string text = "; Quorvane sample day: road name, its stations in traffic direction";
    text += kCrLf;
    for (const SampleRoad& road : layout.roads) {
        text += road.name;
        for (int s : road.stations) {
            text += ", " + std::to_string(layout.stations[s].number);
        }
        text += ",";
        text += kCrLf;
    }
    return text;
}

std::string positionListText(const SampleLayout& layout) {
    // Where each road's posts start counting: anywhere, as on a real road.
    constexpr double kFirstPostKm = 12.0;
    std::vector<double> posts(layout.stations.size(), 0.0);
    for (std::size_t r = 0; r < layout.roads.size(); ++r) {
        const SampleRoad& road = layout.roads[r];
        double total = 0.0;
        for (const double length : road.cellLengthKm) {
            total += length;
        }
        const bool countsDown = r % 2 == 1;
        double start = 0.0;
        for (std::size_t c = 0; c < road.stations.size(); ++c) {
            const double middle = start + road.cellLengthKm[c] / 2.0;
            posts[static_cast<std::size_t>(road.stations[c])] =
                kFirstPostKm + (countsDown ? total - middle : middle);
            start += road.cellLengthKm[c];
        }
    }
    std::string text = "; Quorvane sample day: station number, its kilometre post along its road";
    text += kCrLf;
    for (std::size_t s = 0; s < layout.stations.size(); ++s) {
        char post[32];
        std::snprintf(post, sizeof post, "%.3f", posts[s]);
        text += std::to_string(layout.stations[s].number) + ", " + post + ",";
        text += kCrLf;
    }
    return text;
}

std::vector<ArchiveMember> archiveMembers(const SampleLayout& layout, uint64_t seed) {
    std::vector<std::vector<CellSeries>> roads;
    for (std::size_t r = 0; r < layout.roads.size(); ++r) {
        roads.push_back(simulateRoad(layout.roads[r], Prng::derive(seed, kRoadStream + r)));
    }
    // Every detector has a random stream of its own, so the halves can be made side by side.
    const std::size_t half = layout.stations.size() / 2;
    auto second = std::async(std::launch::async, [&] {
        return stationMembers(layout, roads, half, layout.stations.size(), seed);
    });
    std::vector<ArchiveMember> members = stationMembers(layout, roads, 0, half, seed);
    std::vector<ArchiveMember> rest = second.get();
    members.insert(members.end(), std::make_move_iterator(rest.begin()),
                   std::make_move_iterator(rest.end()));
    return members;
}

void writeArchive(const fs::path& path, const std::vector<ArchiveMember>& members) {
    int errorCode = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &errorCode);
    if (archive == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, errorCode);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throwWriteError(path, why);
    }
    auto fail = [&](const std::string& what) {
        const std::string why = what + ": " + zip_strerror(archive);
        zip_discard(archive);
        throwWriteError(path, why);
    };
    for (const ArchiveMember& member : members) {
        zip_source_t* source =
            zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
        if (source == nullptr) {
            fail(member.name);
        }
        const zip_int64_t index = zip_file_add(archive, member.name.c_str(), source, 0);
        if (index < 0) {
            zip_source_free(source);
            fail(member.name);
        }
        const auto i = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive, i, ZIP_CM_DEFLATE, kDeflateLevel) != 0 ||
            zip_file_set_dostime(archive, i, kDosTime, kDosDate, 0) != 0 ||
            zip_file_set_external_attributes(archive, i, 0, ZIP_OPSYS_UNIX, kUnixFileMode) != 0) {
            fail(member.name);
        }
    }
    if (zip_close(archive) != 0) {
        fail("closing");
    }
}

std::string sampleArchiveName(int day) {
    if (day <= 0) {
        return std::string(kArchiveFileName);
    }
    return (day < 10 ? "day0" : "day") + std::to_string(day) + ".traffic";
}

SampleSummary writeSampleDay(const fs::path& directory, const SampleOptions& options) {
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (ec) {
        throw Error(errc::kPathNotFound,
                    "Cannot create the folder " + directory.string() + ": " + ec.message());
    }
    const SampleLayout layout = planSampleDay(options);
    // Each day of a month its own vehicles and measurements, on the seed's roads.
    const uint64_t trafficSeed =
        options.day > 0 ? Prng::derive(options.seed, static_cast<uint64_t>(options.day))
                        : options.seed;
    const std::vector<ArchiveMember> members = archiveMembers(layout, trafficSeed);
    SampleSummary summary;
    summary.archive = directory / sampleArchiveName(options.day);
    writeArchive(summary.archive, members);
    writeText(directory / "VURSta2Det.list", stationListText(layout));
    writeText(directory / "VURRoad2Sta.list", roadListText(layout));
    writeText(directory / "VURStaPos.list", positionListText(layout));
    summary.stations = static_cast<int>(layout.stations.size());
    summary.roads = static_cast<int>(layout.roads.size());
    summary.detectors = layout.detectorCount();
    summary.members = static_cast<int>(members.size());
    return summary;
}

}  // namespace quorvane::sampleday
