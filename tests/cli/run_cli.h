#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
inline CliRun runProgram(const std::filesystem::path& program, std::vector<std::string> args,
                         const std::filesystem::path& cwd) {
    const TempDir capture;
    args.insert(args.begin(), program.string());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open((capture / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((capture / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in >= 0 && out >= 0 && err >= 0 && dup2(in, 0) == 0 && dup2(out, 1) == 1 &&
            dup2(err, 2) == 2 && chdir(cwd.c_str()) == 0) {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    int status = -1;
    EXPECT_TRUE(child > 0 && waitpid(child, &status, 0) == child) << "fork or wait failed";
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(capture / "out"),
            readFile(capture / "err")};
}

inline std::filesystem::path cliProgram() {
    return QUORVANE_CLI_PROGRAM;
}

inline CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& cwd) {
    return runProgram(cliProgram(), args, cwd);
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
    std::filesystem::path stationFile() const { return dir_ / "day.station"; }
    const std::filesystem::path& dir() const { return dir_.path(); }

    CliRun run(const std::vector<std::string>& args) const { return runCli(args, dir()); }
    // With "--lists lists/" appended.
    CliRun runWithLists(std::vector<std::string> args) const {
        args.insert(args.end(), {"--lists", lists().string()});
        return run(args);
    }

  private:
    TempDir dir_;
};

}  // namespace quorvane::test
