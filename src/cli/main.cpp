// quorvane-cli: the batch command over the engine (build, export, table, sum, plot, health,
// typical, reliability, info, sample).
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

#include "base/version.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/day_input.h"
#include "core/unzip.h"

int main(int argc, char** argv) {
    using namespace quorvane::cli;
    quorvane::nameSystemTimeZone();
    std::ios::sync_with_stdio(false);
    CliContext context{std::cout, std::cerr, programDirectory(argc > 0 ? argv[0] : nullptr),
                       isatty(STDERR_FILENO) == 1};
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);

    auto usageError = [&](std::string_view problem) {
        context.err << kProgram << ": " << problem << "\n" << usageText();
        return kExitUsage;
    };
    if (args.empty()) {
        return usageError("a command is missing");
    }
    const std::string_view word = args.front();
    if (word == "--help" || word == "-h" || word == "help") {
        context.out << usageText();
        return kExitOk;
    }
    if (word == "--version") {
        context.out << kProgram << " " << quorvane::kVersion << "\n";
        return kExitOk;
    }
    const auto all = commands();
    const auto command =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == word; });
    if (command == all.end()) {
        return usageError("unknown command \"" + std::string(word) + "\"");
    }
    try {
        const int status = command->run(std::span(args).subspan(1), context);
        context.out.flush();
        return status;
    } catch (const UsageError& problem) {
        return usageError(std::string(word) + ": " + problem.what());
    } catch (const HelpRequested&) {
        context.out << usageText();
        return kExitOk;
    }
}
