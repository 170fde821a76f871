#include "base/log.h"

#include "base/file_io.h"

namespace quorvane {

std::string Log::fileText() const {
    std::string text = text_;
    text.append(kCrLf);
    return text;
}

void Log::writeFile(const std::filesystem::path& path) const {
    writeFileReplacing(path, fileText());
}

}  // namespace quorvane
