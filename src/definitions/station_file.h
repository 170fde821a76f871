#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/station_tables.h"

namespace quorvane {

// The ".station" file: two typed array blocks, StationVolume then StationOccupancy.
// Block: type code (16 bit), dimension count 2 (16 bit), two dimension entries of element count
// and lower bound (32 bit each; the slot dimension first), then the values. Little-endian.
inline constexpr uint16_t kVolumeBlockType = 8194;     // array of 16-bit integers
inline constexpr uint16_t kOccupancyBlockType = 8196;  // array of 32-bit floats
inline constexpr std::size_t kBlockHeaderBytes = 20;

std::size_t stationFileSize(int stationCount);  // 40 + 17280 * n

// The file's bytes for the tables.
std::string encodeStationFile(const StationTables& tables);
// Reads and checks both blocks completely (type codes, dimensions in any arrangement, the same
// station count 1..32767 in both, enough bytes) before returning; throws Error otherwise.
// `fileName` names the file in error descriptions.
StationTables decodeStationFile(std::string_view bytes, std::string_view fileName);

// Replaces the file only once it is completely written.
void writeStationFile(const std::filesystem::path& path, const StationTables& tables);
StationTables readStationFile(const std::filesystem::path& path);

}  // namespace quorvane
