#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

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

// A folder with the definition lists in lists/ and the archive day.traffic, in which every
// command runs.
class CliFolder : public ::testing::Test {
  protected:
    void writeDay(std::string_view stationList, std::string_view roadList,
                  const std::vector<ZipMember>& members) const;

    std::filesystem::path lists() const { return dir_ / "lists"; }
    std::filesystem::path archive() const { return dir_ / "day.traffic"; }
    std::filesystem::path stationFile() const { return dir_ / "day.station"; }
    const std::filesystem::path& dir() const { return dir_.path(); }

    CliRun run(const std::vector<std::string>& args) const { return runCli(args, dir()); }
    // With "--lists lists/" appended.
    CliRun runWithLists(std::vector<std::string> args) const;

  private:
    TempDir dir_;
};

}  // namespace quorvane::test
