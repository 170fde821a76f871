#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace quorvane::test {

void ScriptedDialogs::message(MessageIcon icon, std::string_view text) {
    messages.push_back({icon, std::string(text)});
    if (onMessage) {
        onMessage(messages.back());
    }
}

std::string ScriptedDialogs::chooseFile(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title;
        throw Error(errc::kCancelled, std::string(kCancelDescription));
    }
    std::optional<std::string> next = std::move(answers_.front());
    answers_.pop_front();
    if (!next) {
        throw Error(errc::kCancelled, std::string(kCancelDescription));
    }
    return *next;
}

ScriptedDialogs::Message ScriptedDialogs::onlyMessage() const {
    if (messages.size() != 1) {
        ADD_FAILURE() << "expected one message, got " << messages.size();
        for (const Message& m : messages) {
            ADD_FAILURE() << "  message: " << m.text;
        }
        return {MessageIcon::Information, ""};
    }
    return messages.front();
}

}  // namespace quorvane::test
