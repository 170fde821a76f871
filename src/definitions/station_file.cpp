#include "definitions/station_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <span>

#include "base/error.h"
#include "base/file_io.h"

namespace quorvane {

namespace {

constexpr std::size_t kVolumeBytesPerStation = kSlotsPerDay * sizeof(int16_t);
constexpr std::size_t kOccupancyBytesPerStation = kSlotsPerDay * sizeof(float);

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
// The tables are copied to and from the file as they lie in memory.
static_assert(std::endian::native == std::endian::little,
              "the station file is little-endian; this host is not");

struct BlockKind {
    uint16_t typeCode;
    const char* name;  // in error descriptions
};
constexpr BlockKind kVolumeBlock{kVolumeBlockType, "block 1 (volume)"};
constexpr BlockKind kOccupancyBlock{kOccupancyBlockType, "block 2 (occupancy)"};

uint16_t readU16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t readI32(const unsigned char* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

void putU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

void putI32(std::string& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xff));
    }
}

// The writer's one arrangement: the slot dimension first, each entry as count then bound.
std::string blockHeader(uint16_t typeCode, int stationCount) {
    std::string header;
    header.reserve(kBlockHeaderBytes);
    putU16(header, typeCode);
    putU16(header, 2);
    putI32(header, kSlotsPerDay);
    putI32(header, 0);
    putI32(header, stationCount);
    putI32(header, 0);
    return header;
}

[[noreturn]] void throwFormat(std::string_view fileName, const BlockKind& block,
                              const std::string& what) {
    throw Error(errc::kInvalidFileFormat,
                "Invalid file format: " + std::string(fileName) + ", " + block.name + ": " + what);
}

[[noreturn]] void throwTruncated(std::string_view fileName, const std::string& what,
                                 std::size_t have, std::size_t need) {
    throw Error(errc::kInputPastEnd, "Input past end of file: " + std::string(fileName) +
                                         " ends in " + what + " (" + std::to_string(have) +
                                         " bytes of the " + std::to_string(need) +
                                         " that its headers require)");
}

[[noreturn]] void throwTooShort(std::string_view fileName, std::size_t have) {
    throw Error(errc::kInputPastEnd, "Input past end of file: " + std::string(fileName) +
                                         " is too short for a station file (" +
                                         std::to_string(have) + " bytes)");
}

// One dimension entry's element count, whichever of its two values is the lower bound (0).
// An entry of two zeros reads as count 0 either way.
int32_t entryCount(const unsigned char* entry, std::string_view fileName, const BlockKind& block) {
    const int32_t first = readI32(entry);
    const int32_t second = readI32(entry + 4);
    if (second == 0) {
        return first;
    }
    if (first == 0) {
        return second;
    }
    throwFormat(fileName, block,
                "a dimension has no lower bound 0 (values " + std::to_string(first) + " and " +
                    std::to_string(second) + ")");
}

// Checks one block header and returns its station count (1..32767).
int parseBlockHeader(std::span<const unsigned char, kBlockHeaderBytes> header,
                     std::string_view fileName, const BlockKind& block) {
    const uint16_t typeCode = readU16(header.data());
    if (typeCode != block.typeCode) {
        throw Error(errc::kTypeMismatch, "Type mismatch: " + std::string(fileName) + ", " +
                                             block.name + " has type code " +
                                             std::to_string(typeCode) + " instead of " +
                                             std::to_string(block.typeCode));
    }
    const uint16_t dimensions = readU16(header.data() + 2);
    if (dimensions != 2) {
        throwFormat(fileName, block, std::to_string(dimensions) + " dimensions instead of 2");
    }
    const int32_t a = entryCount(header.data() + 4, fileName, block);
    const int32_t b = entryCount(header.data() + 12, fileName, block);
    // Either entry may be the slot dimension; with n == 2880 both readings agree.
    int32_t stations = 0;
    if (a == kSlotsPerDay) {
        stations = b;
    } else if (b == kSlotsPerDay) {
        stations = a;
    } else {
        throwFormat(fileName, block,
                    "no dimension of 2880 slots (element counts " + std::to_string(a) + " and " +
                        std::to_string(b) + ")");
    }
    if (stations < 1 || stations > kMaxListEntries) {
        throwFormat(fileName, block,
                    "station count " + std::to_string(stations) + " outside 1 .. 32767");
    }
    return stations;
}

void checkSameCount(std::string_view fileName, int volumeStations, int occupancyStations) {
    if (volumeStations != occupancyStations) {
        throwFormat(fileName, kOccupancyBlock,
                    "station count " + std::to_string(occupancyStations) +
                        " differs from block 1's " + std::to_string(volumeStations));
    }
}

std::size_t secondHeaderOffset(int stationCount) {
    return kBlockHeaderBytes + kVolumeBytesPerStation * static_cast<std::size_t>(stationCount);
}

void checkTables(const StationTables& tables) {
    const auto cells = StationTables::cell(0, tables.stationCount);
    if (tables.stationCount < 1 || tables.stationCount > kMaxListEntries ||
        tables.volume.size() != cells || tables.occupancy.size() != cells) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: station tables of " +
                                                    std::to_string(tables.stationCount) +
                                                    " stations cannot be saved");
    }
}

// A file opened for reading, read in order; every short read is Error 62.
class InputFile {
  public:
    explicit InputFile(const std::filesystem::path& path) : path_(path), name_(path.string()) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) {
            throwFileError(path, errno, "read");
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            const int saved = errno;
            ::close(fd_);
            throwFileError(path, saved, "read");
        }
        if (S_ISDIR(st.st_mode)) {
            ::close(fd_);
            throwFileError(path, EISDIR, "read");
        }
        if (S_ISREG(st.st_mode)) {
            size_ = static_cast<std::size_t>(st.st_size);
        }
    }
    ~InputFile() { ::close(fd_); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& name() const { return name_; }
    // The file's size when it is a regular file: lets a truncated file be refused before the
    // tables are allocated.
    std::optional<std::size_t> size() const { return size_; }
    std::size_t position() const { return position_; }

    // Reads exactly `out.size()` bytes; `what` names the part in the truncation error.
    void readExactly(std::span<std::byte> out, const std::string& what, std::size_t fileNeeds) {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::read(fd_, out.data() + done, out.size() - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throwFileError(path_, errno, "read");
            }
            if (n == 0) {
                throwTruncated(name_, what, position_ + done, fileNeeds);
            }
            done += static_cast<std::size_t>(n);
        }
        position_ += done;
    }

  private:
    std::filesystem::path path_;
    std::string name_;
    int fd_ = -1;
    std::optional<std::size_t> size_;
    std::size_t position_ = 0;
};

}  // namespace

std::size_t stationFileSize(int stationCount) {
    return 2 * kBlockHeaderBytes + (kVolumeBytesPerStation + kOccupancyBytesPerStation) *
                                       static_cast<std::size_t>(stationCount);
}

std::string encodeStationFile(const StationTables& tables) {
    checkTables(tables);
    std::string bytes;
    bytes.reserve(stationFileSize(tables.stationCount));
    bytes += blockHeader(kVolumeBlockType, tables.stationCount);
    bytes.append(reinterpret_cast<const char*>(tables.volume.data()),
                 tables.volume.size() * sizeof(int16_t));
    bytes += blockHeader(kOccupancyBlockType, tables.stationCount);
    bytes.append(reinterpret_cast<const char*>(tables.occupancy.data()),
                 tables.occupancy.size() * sizeof(float));
    return bytes;
}

StationTables decodeStationFile(std::string_view bytes, std::string_view fileName) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t have = bytes.size();
    if (have < kBlockHeaderBytes) {
        throwTooShort(fileName, have);
    }
    const int n = parseBlockHeader(std::span<const unsigned char, kBlockHeaderBytes>(data, 20),
                                   fileName, kVolumeBlock);
    const std::size_t need = stationFileSize(n);
    const std::size_t second = secondHeaderOffset(n);
    if (have < second) {
        throwTruncated(fileName, "block 1", have, need);
    }
    if (have < second + kBlockHeaderBytes) {
        throwTruncated(fileName, "the header of block 2", have, need);
    }
    const int n2 =
        parseBlockHeader(std::span<const unsigned char, kBlockHeaderBytes>(data + second, 20),
                         fileName, kOccupancyBlock);
    checkSameCount(fileName, n, n2);
    if (have < need) {
        throwTruncated(fileName, "block 2", have, need);
    }

    StationTables tables = StationTables::zeroed(n);
    std::memcpy(tables.volume.data(), data + kBlockHeaderBytes,
                tables.volume.size() * sizeof(int16_t));
    std::memcpy(tables.occupancy.data(), data + second + kBlockHeaderBytes,
                tables.occupancy.size() * sizeof(float));
    return tables;
}

void writeStationFile(const std::filesystem::path& path, const StationTables& tables) {
    checkTables(tables);
    ReplacingFile file(path);
    file.write(blockHeader(kVolumeBlockType, tables.stationCount));
    file.write(std::as_bytes(std::span(tables.volume)));
    file.write(blockHeader(kOccupancyBlockType, tables.stationCount));
    file.write(std::as_bytes(std::span(tables.occupancy)));
    file.commit();
}

StationTables readStationFile(const std::filesystem::path& path) {
    InputFile file(path);
    const std::string& name = file.name();

    std::array<unsigned char, kBlockHeaderBytes> header{};
    if (const auto size = file.size(); size && *size < kBlockHeaderBytes) {
        throwTooShort(name, *size);
    }
    file.readExactly(std::as_writable_bytes(std::span(header)), "the header of block 1",
                     2 * kBlockHeaderBytes);
    const int n = parseBlockHeader(header, name, kVolumeBlock);
    const std::size_t need = stationFileSize(n);
    const std::size_t second = secondHeaderOffset(n);
    // Refuse a short file before allocating for the count its header claims.
    if (const auto size = file.size()) {
        if (*size < second) {
            throwTruncated(name, "block 1", *size, need);
        }
        if (*size < second + kBlockHeaderBytes) {
            throwTruncated(name, "the header of block 2", *size, need);
        }
    }

    StationTables tables;
    tables.stationCount = n;
    tables.volume.resize(StationTables::cell(0, n));
    file.readExactly(std::as_writable_bytes(std::span(tables.volume)), "block 1", need);
    file.readExactly(std::as_writable_bytes(std::span(header)), "the header of block 2", need);
    checkSameCount(name, n, parseBlockHeader(header, name, kOccupancyBlock));
    if (const auto size = file.size(); size && *size < need) {
        throwTruncated(name, "block 2", *size, need);
    }
    tables.occupancy.resize(StationTables::cell(0, n));
    file.readExactly(std::as_writable_bytes(std::span(tables.occupancy)), "block 2", need);
    return tables;
}

}  // namespace quorvane
