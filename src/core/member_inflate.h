#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/unzip.h"

struct libdeflate_decompressor;

namespace quorvane {

// The whole-member read: a deflated member hardly longer than the slots need is inflated in
// one call with libdeflate from its raw bytes, read with pread beside libzip. It is only a
// faster way to the same bytes: whatever it cannot confirm (a member it cannot find, damaged
// data, a size or CRC-32 that does not match) it declines, and the streaming read through
// libzip reads the member instead and reports what it finds, exactly as it always has.

// Where a member's local header lies and what its central record promises.
struct MemberLocation {
    static constexpr uint64_t kUnlocated = UINT64_MAX;
    uint64_t localHeader = kUnlocated;
    uint32_t crc = 0;
    bool deflated = false;
};

// The members of `entries` (libzip's listing, in archive order) located in the central
// directory of the archive open on `fd`. A member stays unlocated when its central record does
// not agree with the listing (name, sizes), is encrypted or in Zip64 form, or when the central
// directory holds a different number of members.
std::vector<MemberLocation> locateMembers(int fd, std::span<const ZipEntry> entries);

// Bytes a member may hold beyond what is used and still be inflated whole: inflating a few
// more bytes costs less than streaming the ones needed.
inline constexpr std::size_t kWholeInflateMargin = 1024;

// One reader's whole-member inflation, with its own decompressor and read-ahead window over
// the archive file (members are mostly read in archive order, so most cost no system call).
class WholeMemberInflater {
  public:
    explicit WholeMemberInflater(int fd);  // reads a duplicate of fd, its own to close
    ~WholeMemberInflater();
    WholeMemberInflater(const WholeMemberInflater&) = delete;
    WholeMemberInflater& operator=(const WholeMemberInflater&) = delete;

    // True when `out` holds the member's first out.size() bytes: it is located and deflated,
    // holds out.size() .. out.size() + kWholeInflateMargin bytes, and its data inflates to
    // exactly that length with the CRC-32 of its central record. False leaves `out` undefined.
    bool read(const ZipEntry& entry, const MemberLocation& location, std::span<uint8_t> out);

  private:
    // The bytes [at, at + length) of the file, or null when it ends before.
    const uint8_t* bytesAt(uint64_t at, std::size_t length);

    struct FreeDecompressor {
        void operator()(libdeflate_decompressor* decompressor) const;
    };
    int fd_;
    std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor_;
    std::vector<uint8_t> window_;
    uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
    std::vector<uint8_t> scratch_;  // for members longer than what is used
};

}  // namespace quorvane
