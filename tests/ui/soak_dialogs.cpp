#include "soak_dialogs.h"

#include "base/error.h"

namespace quorvane::test {

namespace fs = std::filesystem;

SoakDialogs::SoakDialogs(std::mt19937_64& random, fs::path folder)
    : random_(random), folder_(std::move(folder)) {}

void SoakDialogs::message(MessageIcon, std::string_view) {
    ++messages;
}

std::string SoakDialogs::draw(const std::vector<fs::path>& choices) {
    if (choices.empty()) {
        return freshName("missing");
    }
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random_)]
        .string();
}

fs::path SoakDialogs::freshName(const std::string& extension) {
    return folder_ / ("soak" + std::to_string(++names_) + "." + extension);
}

std::string SoakDialogs::chooseFile(const FileDialogRequest& request) {
    const int roll = std::uniform_int_distribution<int>(0, 99)(random_);
    if (roll < 8) {
        lastAnswer = "cancel";
        throw Error(errc::kCancelled, std::string(kCancelDescription));
    }
    std::string answer;
    if (roll < 14) {
        answer = (folder_ / "no-such-folder" / ("x." + request.defaultExt)).string();
    } else if (!request.save && request.defaultExt == "traffic") {
        answer = draw(archives);
    } else if (!request.save && request.defaultExt == "station") {
        answer = draw(stationFiles);
    } else {
        std::string extension = request.defaultExt;
        if (request.filter.find("*.svg") != std::string::npos) {  // an image: any of its types
            constexpr const char* kImages[] = {"png", "svg", "pdf"};
            extension = kImages[std::uniform_int_distribution<int>(0, 2)(random_)];
        }
        const fs::path name = freshName(extension);
        if (request.defaultExt == "station") {
            stationFiles.push_back(name);
        }
        answer = name.string();
    }
    lastAnswer = answer;
    return answer;
}

}  // namespace quorvane::test
