#include "core/unzip.h"

#include <zip.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

#include "base/error.h"
#include "base/file_io.h"
#include "base/log.h"
#include "base/text.h"
#include "core/member_inflate.h"
#include "core/zip_archive.h"
#include "definitions/list_text.h"

namespace quorvane {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxMembers = kMaxListEntries;
constexpr int kDetectorSlots = 65536;  // every 16-bit detector number

struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using MemberHandle = std::unique_ptr<zip_file_t, ZipFileClose>;

std::string quotedName(std::string_view name) {
    std::string quoted;
    quoted.reserve(name.size() + 2);
    quoted += '"';
    quoted += name;
    quoted += '"';
    return quoted;
}

// The extension of a member name: after the first dot of the trimmed name, or the whole
// trimmed name when it has none.
std::string memberExt(std::string_view name) {
    const std::string_view trimmed = trimSpaces(name);
    const std::size_t dot = trimmed.find('.');
    return std::string(dot == std::string_view::npos ? trimmed : trimmed.substr(dot + 1));
}

int16_t memberDetNo(std::string_view name, const fs::path& path) {
    const std::size_t dot = name.find('.');
    const std::string member = "member " + quotedName(name) + " of " + path.string();
    if (dot == std::string_view::npos) {
        throw Error(errc::kInvalidArgument,
                    "Invalid procedure call or argument: " + member + " has no \".\" in its name");
    }
    const std::string_view number = name.substr(0, dot);
    const Int16Conversion converted = toInt16(number);
    if (converted.value) {
        return *converted.value;
    }
    if (converted.overflow) {
        throw Error(errc::kOverflow,
                    "Overflow: " + member + ": detector number outside -32768..32767");
    }
    throw Error(errc::kTypeMismatch,
                "Type mismatch: " + member + ": " + quotedName(number) + " is no detector number");
}

bool isOccupancyExt(std::string_view ext) {
    return ext == "o30" || ext == "c30";
}

}  // namespace

// Where a detector's members are: the first "v30" and the first "o30"/"c30" member with its
// number, wherever they lie in the archive (-1: none).
struct DetectorMembers {
    bool present = false;  // any member at all carries this number
    int volumeMember = -1;
    int occupancyMember = -1;
};

struct Unzip::Listing {
    fs::path path;
    std::vector<ZipEntry> entries;
    std::vector<DetectorMembers> byDetector = std::vector<DetectorMembers>(kDetectorSlots);
    std::vector<MemberLocation> locations;  // for the whole-member inflate, by position

    static std::size_t slot(int16_t det) { return static_cast<std::size_t>(det + 32768); }
};

struct Unzip::MemberReader::Impl {
    std::shared_ptr<const Listing> listing;  // null before the first zipList
    fs::path path;
    ZipHandle handle;  // a reader of its own opens it on the first member that it streams
    int fd = -1;       // the archive file under the listing's handle
    std::optional<WholeMemberInflater> whole;

    void inflateWhole(bool enabled) {
        whole.reset();
        if (enabled) {
            whole.emplace(fd);
        }
    }

    const ZipEntry& entry(int member) const {
        if (!listing || member < 0 || static_cast<std::size_t>(member) >= listing->entries.size()) {
            throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: member position " +
                                                        std::to_string(member) + " of " +
                                                        path.string());
        }
        return listing->entries[static_cast<std::size_t>(member)];
    }

    DetectorMembers find(int16_t det) const {
        return listing ? listing->byDetector[Listing::slot(det)] : DetectorMembers{};
    }

    [[noreturn]] void throwMemberError(const ZipEntry& member, zip_error_t* error) const {
        throwZipError(zip_error_code_zip(error), zip_error_code_system(error), path,
                      "member " + quotedName(member.name) + " of ");
    }

    // Reads the first out.size() bytes of a member. A member that ends there is read one byte
    // further so that libzip reaches its end and checks the CRC; a longer one is not inflated
    // beyond what is used.
    void read(int member, std::span<uint8_t> out) {
        const ZipEntry& info = entry(member);
        if (whole && whole->read(info, listing->locations[static_cast<std::size_t>(member)], out)) {
            return;
        }
        if (!handle) {
            handle = openZipArchive(path);
        }
        MemberHandle file(zip_fopen_index(handle.get(), static_cast<zip_uint64_t>(member), 0));
        if (!file) {
            throwMemberError(info, zip_get_error(handle.get()));
        }
        const bool endsWithin = info.size <= out.size();
        std::size_t got = 0;
        while (got < out.size()) {
            const zip_int64_t n = zip_fread(file.get(), out.data() + got, out.size() - got);
            if (n < 0) {
                throwMemberError(info, zip_file_get_error(file.get()));
            }
            if (n == 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got < out.size()) {
            throw Error(errc::kSubscriptOutOfRange,
                        "Subscript out of range: member " + quotedName(info.name) + " of " +
                            path.string() + " holds " + std::to_string(got) + " bytes, " +
                            std::to_string(out.size()) + " needed");
        }
        if (endsWithin) {
            uint8_t beyond = 0;
            if (zip_fread(file.get(), &beyond, 1) < 0) {
                throwMemberError(info, zip_file_get_error(file.get()));
            }
        }
    }
};

Unzip::Unzip() = default;
Unzip::~Unzip() = default;
Unzip::Unzip(Unzip&&) noexcept = default;
Unzip& Unzip::operator=(Unzip&&) noexcept = default;

void Unzip::setZipFileName(fs::path path) {
    // Extraction works from the positions the last zipList recorded, so a new path drops them.
    reader_.reset();
    listing_.reset();
    uniqueDets_.clear();
    path_ = std::move(path);
}

void Unzip::setWholeMemberInflate(bool enabled) {
    wholeMemberInflate_ = enabled;
    if (reader_) {
        reader_->impl_->inflateWhole(enabled);
    }
}

void Unzip::zipList() {
    int fd = -1;
    ZipHandle handle = openZipArchive(path_, &fd);
    const zip_int64_t count = zip_get_num_entries(handle.get(), 0);
    if (count <= 0) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: " + path_.string() + " has no members");
    }
    if (static_cast<std::size_t>(count) > kMaxMembers) {
        throw Error(errc::kOverflow, "Overflow: " + path_.string() + " has " +
                                         std::to_string(count) + " members, more than " +
                                         std::to_string(kMaxMembers));
    }

    auto listing = std::make_shared<Listing>();
    listing->path = path_;
    listing->entries.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(handle.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0) {
            zip_error_t* error = zip_get_error(handle.get());
            throwZipError(zip_error_code_zip(error), zip_error_code_system(error), path_, "");
        }
        ZipEntry entry;
        entry.name = (st.valid & ZIP_STAT_NAME) != 0 ? st.name : "";
        entry.detNo = memberDetNo(entry.name, path_);
        entry.zipIndex = static_cast<int16_t>(i);
        entry.ext = memberExt(entry.name);
        entry.compressedSize = (st.valid & ZIP_STAT_COMP_SIZE) != 0 ? st.comp_size : 0;
        entry.size = (st.valid & ZIP_STAT_SIZE) != 0 ? st.size : 0;

        // The first "v30" and the first "o30"/"c30" member of a detector, wherever they lie.
        DetectorMembers& members = listing->byDetector[Listing::slot(entry.detNo)];
        members.present = true;
        if (entry.ext == "v30" && members.volumeMember < 0) {
            members.volumeMember = static_cast<int>(i);
        } else if (isOccupancyExt(entry.ext) && members.occupancyMember < 0) {
            members.occupancyMember = static_cast<int>(i);
        }
        listing->entries.push_back(std::move(entry));
    }
    listing->locations = locateMembers(fd, listing->entries);

    std::vector<int16_t> uniqueDets;
    for (const ZipEntry& entry : listing->entries) {
        if (uniqueDets.empty() || uniqueDets.back() != entry.detNo) {
            uniqueDets.push_back(entry.detNo);
        }
    }

    // The listing's handle serves extractDet, so the archive is opened once.
    auto impl = std::make_unique<MemberReader::Impl>();
    impl->listing = listing;
    impl->path = path_;
    impl->handle = std::move(handle);
    impl->fd = fd;
    impl->inflateWhole(wholeMemberInflate_);
    reader_.reset(new MemberReader(std::move(impl)));
    listing_ = std::move(listing);
    uniqueDets_ = std::move(uniqueDets);
}

const std::vector<ZipEntry>& Unzip::zipEntries() const {
    static const std::vector<ZipEntry> none;
    return listing_ ? listing_->entries : none;
}

int16_t Unzip::detNum(int index) const {
    if (index < 0 || index >= detCount()) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: detector position " +
                                                    std::to_string(index) + " of " +
                                                    std::to_string(detCount()));
    }
    return uniqueDets_[static_cast<std::size_t>(index)];
}

std::string Unzip::memberReport() const {
    const std::vector<ZipEntry>& entries = zipEntries();
    std::string text =
        "Number of files in zip file: " + reportNumber(static_cast<int64_t>(entries.size())) +
        std::string(kCrLf);
    text += "Zip index, Compressed Size, Extract Size, file name";
    text += kCrLf;
    for (const ZipEntry& entry : entries) {
        text += reportNumber(entry.zipIndex);
        text += reportNumber(static_cast<int64_t>(entry.compressedSize));
        text += reportNumber(static_cast<int64_t>(entry.size));
        text += entry.name;
        text += kCrLf;
    }
    return text;
}

void Unzip::writeMemberReport(const fs::path& path, Log& log) const {
    writeFileReplacing(path, memberReport());
    log.appendLog("Detailed internal file info of the zip file is saved in " +
                  path.filename().string() + std::string(kCrLf));
}

bool Unzip::extractDet(int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& log) const {
    return reader_ && reader_->extractDet(det, vol, occ, log);
}

Unzip::MemberReader::MemberReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Unzip::MemberReader::MemberReader(const Unzip& archive) : impl_(std::make_unique<Impl>()) {
    impl_->listing = archive.listing_;
    impl_->path = archive.path_;
    // With the whole-member read, most members are read from the listing's file (the same
    // file, even if its path is replaced meanwhile), and libzip's handle, which reads the
    // member list anew, is opened only if some member has to be streamed.
    if (archive.reader_ && archive.wholeMemberInflate_) {
        impl_->whole.emplace(archive.reader_->impl_->fd);
    } else {
        impl_->handle = openZipArchive(archive.path_);
    }
}

Unzip::MemberReader::~MemberReader() = default;

void Unzip::MemberReader::readVolume(int member, VolumeSeries& vol) {
    impl_->read(member, vol);
}

void Unzip::MemberReader::readOccupancy(int member, OccupancySeries& occ) {
    std::array<uint8_t, kOccupancyMemberBytes> raw;
    impl_->read(member, raw);
    occupancyFromBytes(raw, impl_->entry(member).ext, occ);
}

namespace {
void logMissingMember(int16_t det, Log& log) {
    log.appendLog("Det " + std::to_string(det) + " does not exist" + std::string(kCrLf));
}
}  // namespace

bool Unzip::MemberReader::extractDet(int16_t det, VolumeSeries& vol, OccupancySeries& occ,
                                     Log& log) {
    const DetectorMembers members = impl_->find(det);
    if (!members.present) {
        return false;
    }
    bool complete = true;
    if (members.volumeMember >= 0) {
        readVolume(members.volumeMember, vol);
    } else {
        complete = false;
        logMissingMember(det, log);
    }
    if (members.occupancyMember >= 0) {
        readOccupancy(members.occupancyMember, occ);
    } else {
        complete = false;
        logMissingMember(det, log);
    }
    return complete;
}

void nameSystemTimeZone() {
    setenv("TZ", ":/etc/localtime", 0);
}

namespace {

// Single-precision division gives exactly the double division rounded to float for every
// 16-bit value and both divisors (the tests go through all of them), and takes several slots
// at once. Out of line so that the pointers keep their no-alias promise.
__attribute__((noinline)) void divideWords(const uint8_t* __restrict raw, float* __restrict occ,
                                           float divisor) {
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const auto word = static_cast<int16_t>((raw[2 * k] << 8) | raw[2 * k + 1]);
        occ[k] = static_cast<float>(word) / divisor;
    }
}

}  // namespace

void occupancyFromBytes(std::span<const uint8_t, kOccupancyMemberBytes> raw, std::string_view ext,
                        OccupancySeries& occ) {
    const float divisor = ext.find("o30") != std::string_view::npos ? 10.0f : 18.0f;
    divideWords(raw.data(), occ.data(), divisor);
}

}  // namespace quorvane
