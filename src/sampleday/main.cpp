#include <iostream>
#include <string_view>
#include <vector>

#include "sampleday/sample_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return quorvane::sampleday::runSampleCommand(args, std::cout, std::cerr, "quorvane-sample");
}
