#include "cli/batch_dialogs.h"

#include "core/error.h"

namespace quorvane::cli {

std::string terminalText(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        lines += text[i];
    }
    return lines;
}

void BatchDialogs::message(MessageIcon icon, std::string_view text) {
    if (icon == MessageIcon::Information) {
        notices_ << terminalText(text) << "\n";
        notices_.flush();
        return;
    }
    refusal_ = std::string(text);
}

std::string BatchDialogs::chooseFile(const FileDialogRequest&) {
    throw Error(errc::kCancelled, std::string(kCancelDescription));
}

}  // namespace quorvane::cli
