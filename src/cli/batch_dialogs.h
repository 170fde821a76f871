#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "base/dialogs.h"

namespace quorvane::cli {

// The dialogs of a command that has nobody to answer them. An information message is a notice
// on standard error and the work goes on; a warning (exclamation) or critical message is the
// refusal the command ends with, kept for the command to report last; a file choice is
// cancelled.
class BatchDialogs : public Dialogs {
  public:
    explicit BatchDialogs(std::ostream& notices) : notices_(notices) {}

    void message(MessageIcon icon, std::string_view text) override;
    std::string chooseFile(const FileDialogRequest& request) override;

    // The last refusal shown, as the message box would show it; empty when none was.
    const std::optional<std::string>& refusal() const { return refusal_; }

  private:
    std::ostream& notices_;
    std::optional<std::string> refusal_;
};

}  // namespace quorvane::cli
