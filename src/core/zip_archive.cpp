#include "core/zip_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"

namespace quorvane {

namespace fs = std::filesystem;

void throwZipError(int code, int systemErrno, const fs::path& path, std::string_view what) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    if (systemErrno != 0) {
        error.sys_err = systemErrno;
    }
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    const std::string subject = std::string(what) + path.string();
    switch (code) {
        case ZIP_ER_MEMORY:
            throw Error(errc::kOutOfMemory, "Out of memory: " + subject);
        case ZIP_ER_READ:
        case ZIP_ER_SEEK:
        case ZIP_ER_OPEN:
        case ZIP_ER_TELL:
            throw Error(errc::kPathFileAccess,
                        "Path/File access error: " + subject + " (" + reason + ")");
        default:
            throw Error(errc::kInvalidFileFormat,
                        "Invalid file format: " + subject + " (" + reason + ")");
    }
}

namespace {

// The archive file as a seekable libzip source.
class FileSource {
  public:
    FileSource(int fd, zip_uint64_t size) : fd_(fd), size_(size), cache_(kCacheBytes) {
        zip_error_init(&error_);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() {
        ::close(fd_);
        zip_error_fini(&error_);
    }

    static zip_int64_t callback(void* self, void* data, zip_uint64_t length,
                                zip_source_cmd_t command) {
        return static_cast<FileSource*>(self)->handle(data, length, command);
    }

  private:
    static constexpr zip_uint64_t kCacheBytes = 16 * 1024;

    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_OPEN:
                offset_ = 0;
                return 0;
            case ZIP_SOURCE_READ:
                return read(static_cast<uint8_t*>(data), length);
            case ZIP_SOURCE_CLOSE:
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* st = static_cast<zip_stat_t*>(data);
                zip_stat_init(st);
                st->size = size_;
                st->valid |= ZIP_STAT_SIZE;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error_, data, length);
            case ZIP_SOURCE_FREE:
                delete this;
                return 0;
            case ZIP_SOURCE_SEEK: {
                const zip_int64_t target =
                    zip_source_seek_compute_offset(offset_, size_, data, length, &error_);
                if (target < 0) {
                    return -1;
                }
                offset_ = static_cast<zip_uint64_t>(target);
                return 0;
            }
            case ZIP_SOURCE_TELL:
                return static_cast<zip_int64_t>(offset_);
            case ZIP_SOURCE_SUPPORTS:
                return ZIP_SOURCE_SUPPORTS_SEEKABLE;
            default:
                zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
    }

    zip_int64_t read(uint8_t* out, zip_uint64_t length) {
        length = std::min(length, size_ - std::min(offset_, size_));
        if (length == 0) {
            return 0;
        }
        const bool cached =
            offset_ >= cacheStart_ && offset_ + length <= cacheStart_ + cacheLength_;
        if (!cached) {
            if (length >= kCacheBytes) {
                return direct(out, length);
            }
            const ssize_t n = pread(cache_.data(), kCacheBytes, offset_);
            if (n < 0) {
                return -1;
            }
            cacheStart_ = offset_;
            cacheLength_ = static_cast<zip_uint64_t>(n);
            length = std::min(length, cacheLength_);
            if (length == 0) {
                zip_error_set(&error_, ZIP_ER_EOF, 0);  // the file shrank
                return -1;
            }
        }
        std::memcpy(out, cache_.data() + (offset_ - cacheStart_), length);
        offset_ += length;
        return static_cast<zip_int64_t>(length);
    }

    zip_int64_t direct(uint8_t* out, zip_uint64_t length) {
        const ssize_t n = pread(out, length, offset_);
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            zip_error_set(&error_, ZIP_ER_EOF, 0);
            return -1;
        }
        offset_ += static_cast<zip_uint64_t>(n);
        return n;
    }

    ssize_t pread(uint8_t* out, zip_uint64_t length, zip_uint64_t at) {
        for (;;) {
            const ssize_t n = ::pread(fd_, out, length, static_cast<off_t>(at));
            if (n >= 0) {
                return n;
            }
            if (errno != EINTR) {
                zip_error_set(&error_, ZIP_ER_READ, errno);
                return -1;
            }
        }
    }

    const int fd_;
    const zip_uint64_t size_;
    zip_uint64_t offset_ = 0;
    std::vector<uint8_t> cache_;
    zip_uint64_t cacheStart_ = 0;
    zip_uint64_t cacheLength_ = 0;
    zip_error_t error_;
};

}  // namespace

ZipHandle openZipArchive(const fs::path& path, int* descriptor) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throwFileError(path, errno, "read");
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int saved = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        throwFileError(path, saved, "read");
    }
    if (st.st_size == 0) {
        ::close(fd);
        throw Error(errc::kInvalidFileFormat,
                    "Invalid file format: " + path.string() + " is empty, not a zip archive");
    }
    auto* file = new FileSource(fd, static_cast<zip_uint64_t>(st.st_size));  // owns fd
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(&FileSource::callback, file, &error);
    if (source == nullptr) {
        delete file;
        zip_error_fini(&error);
        throw Error(errc::kOutOfMemory, "Out of memory: " + path.string());
    }
    zip_t* archive = nullptr;
    {
        // libzip converts every member's time with mktime, which consults the time zone;
        // glibc locks that internally where thread checkers cannot see it. Archives are opened
        // rarely, so one at a time costs nothing and keeps such reports away.
        static std::mutex openMutex;
        std::lock_guard lock(openMutex);
        archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    }
    if (archive == nullptr) {
        zip_source_free(source);  // frees the FileSource and closes the file
        const int code = zip_error_code_zip(&error);
        const int systemErrno = zip_error_code_system(&error);
        zip_error_fini(&error);
        throwZipError(code, systemErrno, path, "");
    }
    zip_error_fini(&error);
    if (descriptor != nullptr) {
        *descriptor = fd;
    }
    return ZipHandle(archive);
}

}  // namespace quorvane
