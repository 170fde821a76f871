#include "core/error.h"

#include <utility>

namespace quorvane {

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

std::string errorLine(const Error& error) {
    return "Error No: " + std::to_string(error.number()) + ", " + error.description() + ".";
}

}  // namespace quorvane
