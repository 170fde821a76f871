#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "base/error.h"

namespace quorvane {

namespace fs = std::filesystem;

void throwFileError(const fs::path& path, int errnoValue, std::string_view action) {
    const std::string name = path.string();
    switch (errnoValue) {
        case ENOENT: {
            std::error_code ec;
            const fs::path parent = path.parent_path();
            if (!parent.empty() && !fs::is_directory(parent, ec)) {
                throw Error(errc::kPathNotFound, "Path not found: " + name);
            }
            throw Error(errc::kFileNotFound, "File not found: " + name);
        }
        case ENOTDIR:
            throw Error(errc::kPathNotFound, "Path not found: " + name);
        case ENOSPC:
            throw Error(errc::kPathFileAccess, "Path/File access error: disk full while " +
                                                   std::string(action) + " " + name);
        default:
            throw Error(errc::kPathFileAccess, "Path/File access error: cannot " +
                                                   std::string(action) + " " + name + " (" +
                                                   std::strerror(errnoValue) + ")");
    }
}

std::string readWholeFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throwFileError(path, errno, "read");
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        throwFileError(path, errno, "read");
    }
    if (S_ISDIR(st.st_mode)) {
        throwFileError(path, EISDIR, "read");
    }
    std::string text;
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        text.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwFileError(path, errno, "read");
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

ReplacingFile::ReplacingFile(fs::path target) : target_(std::move(target)) {
    std::string pattern = target_.string() + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throwFileError(target_, errno, "write");
    }
    temp_ = pattern;
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp_.c_str());
        throwFileError(target_, saved, "write");
    }
    // mkstemp creates 0600; a replaced file should get the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

ReplacingFile::~ReplacingFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        ::unlink(temp_.c_str());
    }
}

void ReplacingFile::write(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        throwFileError(target_, errno, "write");
    }
}

void ReplacingFile::write(std::span<const std::byte> bytes) {
    write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void ReplacingFile::commit() {
    std::FILE* file = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0;
    const int flushErrno = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    if (!flushed || !closed) {
        ::unlink(temp_.c_str());
        throwFileError(target_, !flushed ? flushErrno : closeErrno, "write");
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp_.c_str());
        throwFileError(target_, saved, "write");
    }
}

void writeFileReplacing(const fs::path& target, std::string_view content) {
    ReplacingFile file(target);
    file.write(content);
    file.commit();
}

}  // namespace quorvane
