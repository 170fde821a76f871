#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

// Error numbers are the classic BASIC run-time numbers, so that users and the old manuals
// agree on what "Error No: 53" means.
namespace errc {
inline constexpr int kInvalidArgument = 5;  // "Invalid procedure call or argument"
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInternalError = 51;  // a fault of the program itself
inline constexpr int kFileNotFound = 53;
inline constexpr int kInputPastEnd = 62;    // a file shorter than its contents claim
inline constexpr int kPathFileAccess = 75;  // exists but cannot be read or written
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidFileFormat = 321;  // not a zip archive, corrupt member, bad CRC
inline constexpr int kCancelled = 32755;        // a file dialog was cancelled
}  // namespace errc

// The one error type of the program: a number and a description that names what failed
// (file and line, member and size, station), thrown by the engine and caught by the command
// that started the work.
class Error : public std::runtime_error {
  public:
    Error(int number, std::string description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    int number_;
    std::string description_;
};

// The error a command reports for whatever ended it: an Error as it is, running out of memory
// as 7, anything else as an internal error (51) with what it says.
Error reportedError(const std::exception& failure);

// "Error No: 53, File not found: /x/VURSta2Det.list." as every command reports it.
std::string errorLine(const Error& error);

}  // namespace quorvane
