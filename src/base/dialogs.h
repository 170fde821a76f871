#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// The one seam between commands and modal dialogs: message boxes and file choices. The Qt
// implementation shows real dialogs; tests and the batch command answer through their own.
enum class MessageIcon { Information, Exclamation, Critical };

enum FileDialogFlag : unsigned {
    kHideReadOnly = 1u << 0,
    kNoReadOnlyReturn = 1u << 1,
    kFileMustExist = 1u << 2,
    kPathMustExist = 1u << 3,
    kOverwritePrompt = 1u << 4,
};
// Opening an existing file / choosing a file to write. Only a file we write is refused for
// being read-only: a day on a read-only share must still open.
inline constexpr unsigned kFlagsOpen = kHideReadOnly | kFileMustExist;
inline constexpr unsigned kFlagsSave =
    kHideReadOnly | kNoReadOnlyReturn | kPathMustExist | kOverwritePrompt;

struct FileDialogRequest {
    bool save = false;
    bool folder = false;  // a folder to open, not a file: filter and extension do not apply
    std::string filter;   // "All files (*.*)|*.*|*.traffic files|*.traffic"
    int filterIndex = 2;  // 1-based; the program's own file type
    std::string defaultExt;
    unsigned flags = 0;
    std::string title;
    std::string proposedName;
};

inline constexpr std::string_view kApplicationTitle = "QuorvaneV1";
inline constexpr std::string_view kCancelDescription = "Cancel was selected.";

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Modal, OK button only, the application's title as caption.
    virtual void message(MessageIcon icon, std::string_view text) = 0;
    // The chosen full path, with the default extension added when the user typed none.
    // Cancelling throws Error(errc::kCancelled, kCancelDescription).
    virtual std::string chooseFile(const FileDialogRequest& request) = 0;
};

}  // namespace quorvane
