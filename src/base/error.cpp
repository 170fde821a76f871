#include "base/error.h"

#include <new>
#include <utility>

namespace quorvane {

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Error reportedError(const std::exception& failure) {
    if (const auto* error = dynamic_cast<const Error*>(&failure)) {
        return *error;
    }
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
        return Error(errc::kOutOfMemory, "Out of memory");
    }
    return Error(errc::kInternalError, std::string("Internal error: ") + failure.what());
}

std::string errorLine(const Error& error) {
    std::string line = "Error No: " + std::to_string(error.number()) + ", " + error.description();
    // A description that is a sentence already ("Cancel was selected.") gets no second period.
    if (line.back() != '.') {
        line.push_back('.');
    }
    return line;
}

}  // namespace quorvane
