#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_day.h"
#include "support/test_files.h"

namespace quorvane::test {

struct CliRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `args` in the folder `cwd`, no standard input, and collects its exit
// status and both output streams.
inline CliRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& cwd) {
    const TempDir capture;
    // Appends `text` in single quotes for the shell.
    std::string command;
    const auto quote = [&command](const std::string& text) {
        command += '\'';
        for (const char c : text) {
            if (c == '\'') {
                command += "'\\''";
            } else {
                command += c;
            }
        }
        command += "' ";
    };
    command += "cd ";
    quote(cwd);
    command += "&& exec ";
    quote(program);
    for (const std::string& arg : args) {
        quote(arg);
    }
    command += "</dev/null >";
    quote(capture / "out");
    command += "2>";
    quote(capture / "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(capture / "out"),
            readFile(capture / "err")};
}

inline CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& cwd) {
    return runProgram(QUORVANE_CLI_PROGRAM, args, cwd);
}

// A folder with the test day's definition lists in lists/ and its archive day.traffic, in
// which every command runs.
class CliFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(lists());
        TestDay::writeLists(lists());
        TestDay::writeArchive(archive());
    }

    std::filesystem::path lists() const { return dir_ / "lists"; }
    std::filesystem::path archive() const { return dir_ / "day.traffic"; }
    const std::filesystem::path& dir() const { return dir_.path(); }

    CliRun run(const std::vector<std::string>& args) const { return runCli(args, dir()); }
    CliRun runWithLists(std::vector<std::string> args) const {
        args.insert(args.end(), {"--lists", lists().string()});
        return run(args);
    }

  private:
    TempDir dir_;
};

}  // namespace quorvane::test
