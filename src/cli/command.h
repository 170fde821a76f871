#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::cli {

inline constexpr std::string_view kProgram = "quorvane-cli";

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;  // an Error ("Error No: ...") or a refused request
inline constexpr int kExitUsage = 2;

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    std::filesystem::path programDirectory;  // default folder of the definition lists
    bool errIsTerminal = false;              // progress may rewrite its line in place
};

// One sub-command: its word, its synopsis for the usage text, and its run function, which gets
// the arguments after the command word and returns the exit status.
struct Command {
    std::string_view name;
    std::string_view synopsis;
    int (*run)(std::span<const std::string_view> args, CliContext& context);
};

// Every sub-command, in the order of the usage text.
std::span<const Command> commands();

// The whole usage text.
std::string usageText();

}  // namespace quorvane::cli
