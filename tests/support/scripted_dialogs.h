#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/dialogs.h"

namespace quorvane::test {

// Dialogs answered from a script: file choices take the next queued answer (a path, or a
// cancel), messages are recorded with their icons.
class ScriptedDialogs : public Dialogs {
  public:
    struct Message {
        MessageIcon icon;
        std::string text;
        bool operator==(const Message&) const = default;
        friend void PrintTo(const Message& m, std::ostream* os);
    };

    void answer(std::string path) { answers_.emplace_back(std::move(path)); }
    void cancelNext() { answers_.emplace_back(std::nullopt); }

    void message(MessageIcon icon, std::string_view text) override {
        messages.push_back({icon, std::string(text)});
        if (onMessage) {
            onMessage(messages.back());
        }
    }
    std::string chooseFile(const FileDialogRequest& request) override;

    // Runs when a message is shown, before it is "closed", so tests can look at the window
    // as the user sees it behind the message box.
    std::function<void(const Message&)> onMessage;

    std::vector<Message> messages;
    std::vector<FileDialogRequest> requests;
    bool allAnswered() const { return answers_.empty(); }

    // The one message since the last clear; fails the test when there is not exactly one.
    Message onlyMessage() const;
    void clear() { messages.clear(), requests.clear(); }

  private:
    std::deque<std::optional<std::string>> answers_;
};

using Message = ScriptedDialogs::Message;

}  // namespace quorvane::test
