#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/station_tables.h"

namespace quorvane {

class Log;

inline constexpr std::string_view kZipInfoFileName = "zipFileInfo.txt";
inline constexpr std::size_t kVolumeMemberBytes = kSlotsPerDay;         // one byte per slot
inline constexpr std::size_t kOccupancyMemberBytes = 2 * kSlotsPerDay;  // big-endian 16 bit

// One member of a ".traffic" archive, named «detector number».«extension».
struct ZipEntry {
    int16_t detNo = 0;
    int16_t zipIndex = 0;  // the member's index in archive order
    std::string ext;       // after the first dot: "v30", "o30", "c30", or anything else
    std::string name;      // the member's name as stored
    uint64_t compressedSize = 0;
    uint64_t size = 0;
};

using VolumeSeries = std::array<uint8_t, kSlotsPerDay>;
using OccupancySeries = std::array<float, kSlotsPerDay>;

// The traffic archive reader. zipList() reads the member list once; extraction then works from
// the positions it recorded. A deflated member hardly longer than the slots need (2880 or 5760
// bytes) is inflated whole in one call (member_inflate.h); any other member, and any that call
// cannot confirm, is streamed through libzip only as far as the slots need.
class Unzip {
  public:
    Unzip();
    ~Unzip();
    Unzip(Unzip&&) noexcept;
    Unzip& operator=(Unzip&&) noexcept;

    void setZipFileName(std::filesystem::path path);  // ZipFileName
    // On by default; off streams every member (the tests compare both ways). Takes effect for
    // the readers made afterwards and for extractDet.
    void setWholeMemberInflate(bool enabled);
    const std::filesystem::path& fileName() const { return path_; }

    // Opens the archive and reads its member list. Throws Error: a missing or unreadable file,
    // not a zip archive, no members, more than 32767 members, a member name without a dot or
    // whose detector number is no 16-bit whole number.
    void zipList();

    const std::vector<ZipEntry>& zipEntries() const;
    // The distinct detector numbers in archive order (only changes between neighbours count).
    int detCount() const { return static_cast<int>(uniqueDets_.size()); }
    int16_t detNum(int index) const;

    // The text of "zipFileInfo.txt".
    std::string memberReport() const;
    // Writes the report (replacing the file) and logs the line that names it.
    void writeMemberReport(const std::filesystem::path& path, Log& log) const;

    // Fills both series; false when the detector is absent (nothing logged) or lacks a member
    // ("Det N does not exist" logged per missing member; the volume may be filled regardless).
    // Throws Error for a member that is too short or cannot be inflated.
    bool extractDet(int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& log) const;

    // Raw member reads by position, for readers on other threads: each MemberReader has its
    // own handle on the archive file.
    class MemberReader {
      public:
        explicit MemberReader(const Unzip& archive);
        ~MemberReader();
        MemberReader(const MemberReader&) = delete;
        MemberReader& operator=(const MemberReader&) = delete;
        void readVolume(int member, VolumeSeries& vol);
        void readOccupancy(int member, OccupancySeries& occ);
        // extractDet on this reader's own handle.
        bool extractDet(int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& log);

      private:
        friend class Unzip;
        struct Impl;
        explicit MemberReader(std::unique_ptr<Impl> impl);
        std::unique_ptr<Impl> impl_;
    };

  private:
    struct Listing;  // the member list and the detector lookup, shared with the readers
    std::filesystem::path path_;
    std::shared_ptr<const Listing> listing_;
    std::vector<int16_t> uniqueDets_;
    std::unique_ptr<MemberReader> reader_;  // for extractDet, on the listing's handle
    bool wholeMemberInflate_ = true;
};

// Programs that read archives call this first. libzip turns every member's time into a local
// time, and glibc reads the zone file again for each one unless TZ names a zone: naming the
// system's own zone (unless TZ is set already) keeps a metro archive quick to open.
void nameSystemTimeZone();

// An occupancy member's first 5760 bytes as percent: each big-endian 16-bit value divided by
// 10 for "o30" and by 18 for "c30" (any name without "o30"), the quotient of the double division
// stored as a float.
void occupancyFromBytes(std::span<const uint8_t, kOccupancyMemberBytes> raw, std::string_view ext,
                        OccupancySeries& occ);

}  // namespace quorvane
