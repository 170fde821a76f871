#include "run_cli.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace quorvane::test {

namespace fs = std::filesystem;

CliRun runProgram(const fs::path& program, const std::vector<std::string>& args,
                  const fs::path& cwd) {
    TempDir capture;
    const fs::path outPath = capture / "out";
    const fs::path errPath = capture / "err";
    std::vector<std::string> argvText{program.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        throw std::runtime_error("waitpid failed");
    }
    CliRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

fs::path cliProgram() {
    return QUORVANE_CLI_PROGRAM;
}

void CliFolder::writeDay(std::string_view stationList, std::string_view roadList,
                         const std::vector<ZipMember>& members) const {
    fs::create_directories(lists());
    writeFile(lists() / "VURSta2Det.list", stationList);
    writeFile(lists() / "VURRoad2Sta.list", roadList);
    writeZip(archive(), members);
}

CliRun CliFolder::runWithLists(std::vector<std::string> args) const {
    args.push_back("--lists");
    args.push_back(lists().string());
    return run(args);
}

}  // namespace quorvane::test
