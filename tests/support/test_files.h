#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace quorvane::test {

// The Error a call raises; a test failure (and Error 0) when it raises none.
Error errorOf(const std::function<void()>& call);

// A fresh directory under the system's temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::string readFile(const std::filesystem::path& path);

struct ZipMember {
    std::string name;
    std::string bytes;
    bool stored = false;  // store instead of deflate
};

// Writes a zip archive with libzip, members in the order given, with a fixed timestamp.
void writeZip(const std::filesystem::path& path, std::span<const ZipMember> members);

// Member contents: one byte per slot; big-endian 16-bit raw occupancy per slot.
std::string volumeBytes(std::span<const uint8_t> perSlot);
std::string occupancyBytes(std::span<const int16_t> perSlot);
// A constant day.
inline std::string volumeBytes(uint8_t everySlot) {
    return std::string(2880, char(everySlot));
}
inline std::string occupancyBytes(int16_t everySlot) {
    return occupancyBytes(std::vector<int16_t>(2880, everySlot));
}

}  // namespace quorvane::test
