#pragma once

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/dialogs.h"

namespace quorvane::test {

// The dialogs of a random user: every file choice gets an answer drawn for the kind of file
// asked for (a good file, a broken one, a name in a folder that does not exist, a cancel);
// messages are counted.
class SoakDialogs : public Dialogs {
  public:
    SoakDialogs(std::mt19937_64& random, std::filesystem::path folder);

    void message(MessageIcon icon, std::string_view text) override;
    std::string chooseFile(const FileDialogRequest& request) override;

    // Station files the soak may offer to a load: every one saved so far and a few broken ones.
    std::vector<std::filesystem::path> stationFiles;
    std::vector<std::filesystem::path> archives;
    int messages = 0;
    // What the last answer was, for the step log.
    std::string lastAnswer;

  private:
    std::string draw(const std::vector<std::filesystem::path>& choices);
    std::filesystem::path freshName(const std::string& extension);

    std::mt19937_64& random_;
    std::filesystem::path folder_;
    int names_ = 0;
};

}  // namespace quorvane::test
