#include "core/error.h"

#include <utility>

namespace quorvane {

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

std::string errorLine(const Error& error) {
    std::string line = "Error No: " + std::to_string(error.number()) + ", " + error.description();
    // A description that is a sentence already ("Cancel was selected.") gets no second period.
    if (line.back() != '.') {
        line.push_back('.');
    }
    return line;
}

}  // namespace quorvane
