#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quorvane::test {

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

void PrintTo(const Message& m, std::ostream* os) {
    constexpr const char* kIcons[] = {"Information", "Exclamation", "Critical"};
    *os << kIcons[static_cast<int>(m.icon)] << " \"" << m.text << '"';
}

ScriptedDialogs::Message ScriptedDialogs::onlyMessage() const {
    if (messages.size() == 1) {
        return messages.front();
    }
    ADD_FAILURE() << "expected one message, got " << testing::PrintToString(messages);
    return {MessageIcon::Information, ""};
}

}  // namespace quorvane::test
