#pragma once

#include <zip.h>

#include <filesystem>
#include <memory>
#include <string_view>

namespace quorvane {

struct ZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

// Opens an archive for reading, on a descriptor of its own read with pread through a small
// read-ahead buffer: members read in archive order cost no system call each, and no handle
// shares a file position with another. Throws Error: a missing, unreadable or empty file as
// every file of the program, what libzip refuses as an invalid file format (321) with its
// reason. `descriptor`, when given, receives the archive file's descriptor, which stays open as
// long as the handle: it may be read with pread beside libzip.
ZipHandle openZipArchive(const std::filesystem::path& path, int* descriptor = nullptr);

// Error for a libzip error code (and errno for system errors) about `what` + the archive path:
// 7 out of memory, 75 read/seek failures, else 321 with libzip's reason.
[[noreturn]] void throwZipError(int code, int systemErrno, const std::filesystem::path& path,
                                std::string_view what);

}  // namespace quorvane
