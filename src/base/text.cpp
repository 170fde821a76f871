#include "base/text.h"

namespace quorvane {

std::string reportNumber(int64_t value) {
    std::string text = std::to_string(value);
    if (value >= 0) {
        text.insert(text.begin(), ' ');
    }
    text.push_back(' ');
    return text;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return text;
    }
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string lfLineEnds(std::string_view text) {
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

}  // namespace quorvane
