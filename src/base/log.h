#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::string_view kCrLf = "\r\n";

// The program's log: it only grows. Writers bring their own CR LF; some append a text without
// one so that the next text continues the line.
class Log {
  public:
    void appendLog(std::string_view text) { text_.append(text); }
    const std::string& logText() const { return text_; }

    // What "Log.txt" holds: the log followed by one CR LF.
    std::string fileText() const;
    // Replaces the file; throws Error when it cannot be written.
    void writeFile(const std::filesystem::path& path) const;

  private:
    std::string text_;
};

inline constexpr std::string_view kLogFileName = "Log.txt";

}  // namespace quorvane
