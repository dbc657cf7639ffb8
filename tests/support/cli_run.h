#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace vellmora::testing {

/// What a run of a program left behind.
struct CliRun {
    int status = -1;  ///< exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

/// Runs program in folder with a private copy of the settings file ini (the run may write
/// its request and histories there) and private data and home directories. argv is what
/// follows "--ini FILE" on the command line; standard input is empty.
inline CliRun runCliIn(const std::string& program, const std::string& folder,
                       const std::string& ini, const std::vector<std::string>& arguments) {
    TempDir dir;
    const std::string settings = dir.file("pyxo.ini");
    std::filesystem::copy_file(ini, settings);
    const std::string outPath = dir.file("out"), errPath = dir.file("err");

    std::vector<std::string> argv = {program, "--ini", settings};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);

    // Everything the child needs is prepared here: between fork and exec only plain calls.
    std::vector<std::string> environment = {"PYXO_INI=" + settings, "PYXO_DATA_DIR=" + dir.path(),
                                            "HOME=" + dir.path(), "LANG=C.UTF-8"};
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    CliRun result;
    pid_t child = fork();
    if (child == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int none = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || none < 0 || chdir(folder.c_str()) != 0) _exit(127);
        dup2(none, 0);
        dup2(out, 1);
        dup2(err, 2);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    if (child < 0) return result;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.out = readFileBytes(outPath);
    result.err = readFileBytes(errPath);
    return result;
}

}  // namespace vellmora::testing
