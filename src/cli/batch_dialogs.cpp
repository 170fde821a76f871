#include "cli/batch_dialogs.h"

#include "base/error.h"
#include "base/text.h"

namespace quorvane::cli {

void BatchDialogs::message(MessageIcon icon, std::string_view text) {
    if (icon == MessageIcon::Information) {
        notices_ << lfLineEnds(text) << "\n";
        notices_.flush();
        return;
    }
    refusal_ = std::string(text);
}

std::string BatchDialogs::chooseFile(const FileDialogRequest&) {
    throw Error(errc::kCancelled, std::string(kCancelDescription));
}

}  // namespace quorvane::cli
