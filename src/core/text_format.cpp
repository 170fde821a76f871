#include "core/text_format.h"

namespace quorvane {

std::string reportNumber(int64_t value) {
    std::string text = std::to_string(value);
    if (value >= 0) {
        text.insert(text.begin(), ' ');
    }
    text.push_back(' ');
    return text;
}

}  // namespace quorvane
