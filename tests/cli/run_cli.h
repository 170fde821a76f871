#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvane::test {

struct CliRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `args` in the folder `cwd`, no standard input, and collects its exit
// status and both output streams.
CliRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                  const std::filesystem::path& cwd);

// The quorvane-cli of this build.
std::filesystem::path cliProgram();

inline CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& cwd) {
    return runProgram(cliProgram(), args, cwd);
}

}  // namespace quorvane::test
