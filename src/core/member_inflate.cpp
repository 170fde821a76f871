#include "core/member_inflate.h"

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>

namespace quorvane {

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kCentralHeaderBytes = 46;
constexpr std::size_t kEndRecordBytes = 22;
constexpr std::size_t kMaxCommentBytes = 65535;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kFlagEncrypted = 1u << 0;
constexpr uint16_t kFlagUtf8 = 1u << 11;
constexpr uint32_t kZip64Marker = 0xffffffff;
constexpr std::size_t kWindowBytes = 64 * 1024;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Reads up to out.size() bytes at `at`, fewer where the file ends; 0 on a read error too.
std::size_t readAt(int fd, std::span<uint8_t> out, uint64_t at) {
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n =
            ::pread(fd, out.data() + got, out.size() - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return 0;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

struct CentralDirectory {
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

// The central directory that the end record nearest the end of the file names, when that
// record describes a single-disk archive of `members` members.
std::optional<CentralDirectory> readCentralDirectory(int fd, std::size_t members) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kEndRecordBytes)) {
        return std::nullopt;
    }
    const auto fileSize = static_cast<uint64_t>(st.st_size);
    const uint64_t tailStart =
        fileSize - std::min<uint64_t>(fileSize, kEndRecordBytes + kMaxCommentBytes);
    std::vector<uint8_t> tail(static_cast<std::size_t>(fileSize - tailStart));
    if (readAt(fd, tail, tailStart) != tail.size()) {
        return std::nullopt;
    }
    for (std::size_t at = tail.size() - kEndRecordBytes + 1; at-- > 0;) {
        const uint8_t* end = tail.data() + at;
        if (le32(end) != kEndRecordSignature) {
            continue;
        }
        const bool oneDisk = le16(end + 4) == 0 && le16(end + 6) == 0;
        const bool counts =
            std::size_t{le16(end + 8)} == members && std::size_t{le16(end + 10)} == members;
        const uint64_t size = le32(end + 12);
        const uint64_t offset = le32(end + 16);
        if (!oneDisk || !counts || offset + size > tailStart + at) {
            continue;
        }
        CentralDirectory directory{offset, std::vector<uint8_t>(static_cast<std::size_t>(size))};
        if (readAt(fd, directory.bytes, offset) != directory.bytes.size()) {
            return std::nullopt;
        }
        return directory;
    }
    return std::nullopt;
}

}  // namespace

std::vector<MemberLocation> locateMembers(int fd, std::span<const ZipEntry> entries) {
    std::vector<MemberLocation> located(entries.size());
    const std::optional<CentralDirectory> directory = readCentralDirectory(fd, entries.size());
    if (!directory) {
        return located;
    }
    const std::vector<uint8_t>& bytes = directory->bytes;
    std::size_t at = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (bytes.size() - at < kCentralHeaderBytes ||
            le32(&bytes[at]) != kCentralHeaderSignature) {
            break;
        }
        const uint8_t* record = &bytes[at];
        const std::size_t nameLength = le16(record + 28);
        const std::size_t recordLength =
            kCentralHeaderBytes + nameLength + le16(record + 30) + le16(record + 32);
        if (bytes.size() - at < recordLength) {
            break;
        }
        const std::string_view name(reinterpret_cast<const char*>(record + kCentralHeaderBytes),
                                    nameLength);
        const uint32_t compressedSize = le32(record + 20);
        const uint32_t size = le32(record + 24);
        const uint32_t localHeader = le32(record + 42);
        const bool agrees =
            name == entries[i].name && compressedSize == entries[i].compressedSize &&
            size == entries[i].size && (le16(record + 8) & kFlagEncrypted) == 0 &&
            compressedSize != kZip64Marker && size != kZip64Marker && localHeader != kZip64Marker;
        if (agrees) {
            located[i] = {localHeader, le32(record + 16), le16(record + 10) == kMethodDeflate};
        }
        at += recordLength;
    }
    return located;
}

void WholeMemberInflater::FreeDecompressor::operator()(
    libdeflate_decompressor* decompressor) const {
    libdeflate_free_decompressor(decompressor);
}

// Without a descriptor or a decompressor (out of either) every member is declined.
WholeMemberInflater::WholeMemberInflater(int fd)
    : fd_(::fcntl(fd, F_DUPFD_CLOEXEC, 0)), decompressor_(libdeflate_alloc_decompressor()) {}

WholeMemberInflater::~WholeMemberInflater() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

const uint8_t* WholeMemberInflater::bytesAt(uint64_t at, std::size_t length) {
    if (at >= windowStart_ && at - windowStart_ <= windowLength_ &&
        length <= windowLength_ - (at - windowStart_)) {
        return window_.data() + (at - windowStart_);
    }
    window_.resize(std::max({window_.size(), kWindowBytes, length}));
    windowStart_ = at;
    windowLength_ = readAt(fd_, window_, at);
    return length <= windowLength_ ? window_.data() : nullptr;
}

namespace {

// The local header fields that libzip checks when it opens a member, kept to the plain form
// that it surely accepts: an ASCII name equal to the central one, and extra fields that
// exactly fill their length.
bool plainLocalHeader(const uint8_t* header, std::string_view name) {
    if (le32(header) != kLocalHeaderSignature || (le16(header + 6) & kFlagEncrypted) != 0 ||
        le32(header + 18) == kZip64Marker || le32(header + 22) == kZip64Marker) {
        return false;
    }
    const std::string_view localName(reinterpret_cast<const char*>(header + kLocalHeaderBytes),
                                     le16(header + 26));
    if (localName != name ||
        ((le16(header + 6) & kFlagUtf8) != 0 && std::any_of(name.begin(), name.end(), [](char c) {
             return static_cast<uint8_t>(c) >= 0x80;
         }))) {
        return false;
    }
    const uint8_t* extra = header + kLocalHeaderBytes + localName.size();
    const std::size_t extraLength = le16(header + 28);
    std::size_t at = 0;
    while (extraLength - at >= 4) {
        at += 4 + le16(extra + at + 2);
        if (at > extraLength) {
            return false;
        }
    }
    return at == extraLength;
}

}  // namespace

bool WholeMemberInflater::read(const ZipEntry& entry, const MemberLocation& location,
                               std::span<uint8_t> out) {
    const std::size_t need = out.size();
    // A valid deflate stream of n bytes is far shorter than 2n + 64: longer is not ours to try.
    if (location.localHeader == MemberLocation::kUnlocated || !location.deflated ||
        entry.size < need || entry.size > need + kWholeInflateMargin ||
        entry.compressedSize > 2 * entry.size + 64 || fd_ < 0 || !decompressor_) {
        return false;
    }
    const uint8_t* header = bytesAt(location.localHeader, kLocalHeaderBytes);
    if (header == nullptr) {
        return false;
    }
    const std::size_t headerLength = kLocalHeaderBytes + le16(header + 26) + le16(header + 28);
    header = bytesAt(location.localHeader, headerLength);
    if (header == nullptr || !plainLocalHeader(header, entry.name)) {
        return false;
    }
    const auto compressedSize = static_cast<std::size_t>(entry.compressedSize);
    const uint8_t* data = bytesAt(location.localHeader + headerLength, compressedSize);
    if (data == nullptr) {
        return false;
    }
    const auto size = static_cast<std::size_t>(entry.size);
    uint8_t* target = out.data();
    if (size != need) {
        scratch_.resize(size);
        target = scratch_.data();
    }
    // The stream must fill exactly the member's length and end exactly where its data ends.
    std::size_t consumed = 0;
    if (libdeflate_deflate_decompress_ex(decompressor_.get(), data, compressedSize, target, size,
                                         &consumed, nullptr) != LIBDEFLATE_SUCCESS ||
        consumed != compressedSize || libdeflate_crc32(0, target, size) != location.crc) {
        return false;
    }
    if (target != out.data()) {
        std::copy_n(target, need, out.data());
    }
    return true;
}

}  // namespace quorvane
