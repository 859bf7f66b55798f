#pragma once
// Runs the real qorv binary (QORV_BINARY) on files in a temporary folder.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/testfiles.h"

extern char** environ;

namespace qvtest {

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs argv (the program first) with no shell between. Standard output goes to
// stdoutPath when given (a device such as /dev/full), else it is captured.
inline Outcome runProgram(const TempDir& dir, std::vector<std::string> argv,
                          const std::string& stdoutPath = {}) {
    std::vector<char*> raw;
    for (std::string& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    const std::string out = stdoutPath.empty() ? dir.file(".stdout") : stdoutPath;
    const std::string err = dir.file(".stderr");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(
        &fa, 1, out.c_str(), stdoutPath.empty() ? O_WRONLY | O_CREAT | O_TRUNC : O_WRONLY, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome r;
    if (posix_spawnp(&pid, raw[0], &fa, nullptr, raw.data(), environ) == 0) {
        int ws = 0;
        ::waitpid(pid, &ws, 0);
        r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
    }
    posix_spawn_file_actions_destroy(&fa);
    if (stdoutPath.empty()) {
        r.out = readText(out);
        fs::remove(out);
    }
    r.err = readText(err);
    fs::remove(err);
    return r;
}

inline Outcome qorv(const TempDir& dir, const std::vector<std::string>& args) {
    std::vector<std::string> argv{QORV_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(dir, argv);
}

} // namespace qvtest
