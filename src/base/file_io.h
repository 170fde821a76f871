#pragma once

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace quorvane {

// Reads a whole file into memory. Throws Error: 53 when the file is missing, 76 when its
// folder is missing, 75 when it cannot be read (a folder, no permission, read failure).
std::string readWholeFile(const std::filesystem::path& path);

// Error for a failed open/read/write of `path`, from errno, naming the file.
[[noreturn]] void throwFileError(const std::filesystem::path& path, int errnoValue,
                                 std::string_view action);

// Writes a file through a temporary file in the same folder, renamed over the target only by
// commit(): a failure or an abandoned write never leaves a half-written target, and never
// destroys the previous file.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::filesystem::path target);
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    void write(std::string_view bytes);
    void write(std::span<const std::byte> bytes);
    // Flushes, closes and renames over the target. Throws Error on any failure.
    void commit();

    const std::filesystem::path& target() const { return target_; }

  private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
};

// Convenience: the whole content at once, through ReplacingFile.
void writeFileReplacing(const std::filesystem::path& target, std::string_view content);

}  // namespace quorvane
