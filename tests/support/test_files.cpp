#include "support/test_files.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace quorvane::test {

namespace fs = std::filesystem;

Error errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no Error raised";
    return Error(0, "");
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "quorvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

namespace {

// With QUORVANE_CORPUS_DIR set, every archive, definition list and station file a test wrote is
// kept as a seed for the fuzzers: <dir>/archive, <dir>/lists, <dir>/station.
void keepFuzzSeeds(const fs::path& dir) {
    const char* corpus = std::getenv("QUORVANE_CORPUS_DIR");
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end;
         corpus != nullptr && *corpus != 0 && !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->file_size(ec) > 256 * 1024) {
            continue;
        }
        const std::string bytes = readFile(it->path());
        const std::string ext = it->path().extension().string();
        const char* kind = ext == ".list"                                   ? "lists"
                           : ext == ".station"                              ? "station"
                           : bytes.rfind("PK", 0) == 0 || ext == ".traffic" ? "archive"
                                                                            : nullptr;
        if (kind != nullptr) {
            const fs::path target = fs::path(corpus) / kind;
            fs::create_directories(target, ec);
            std::ofstream(target / std::to_string(std::hash<std::string>{}(bytes)),
                          std::ios::binary)
                << bytes;
        }
    }
}

}  // namespace

TempDir::~TempDir() {
    keepFuzzSeeds(path_);
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void writeFile(const fs::path& path, std::string_view bytes) {
    if (!std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes))) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// A missing file reads as "", which no expected content is.
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeZip(const fs::path& path, std::span<const ZipMember> members) {
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (archive == nullptr) {
        throw std::runtime_error("zip_open failed for " + path.string());
    }
    for (const ZipMember& member : members) {
        zip_source_t* source =
            zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            throw std::runtime_error("zip_file_add failed for " + member.name);
        }
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive, at, member.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(archive, at, 1700000000, 0);
    }
    if (zip_close(archive) != 0) {
        throw std::runtime_error("zip_close failed for " + path.string());
    }
}

std::string volumeBytes(std::span<const uint8_t> perSlot) {
    return std::string(reinterpret_cast<const char*>(perSlot.data()), perSlot.size());
}

std::string occupancyBytes(std::span<const int16_t> perSlot) {
    std::string bytes;
    for (const int16_t value : perSlot) {
        const auto word = static_cast<uint16_t>(value);
        bytes += {static_cast<char>(word >> 8), static_cast<char>(word & 0xff)};
    }
    return bytes;
}

}  // namespace quorvane::test
