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

// Arguments go to the program as they are, with no shell between.
inline Outcome qorv(const TempDir& dir, const std::vector<std::string>& args) {
    std::vector<std::string> argv{QORV_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    const std::string out = dir.file(".stdout"), err = dir.file(".stderr");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome r;
    if (posix_spawn(&pid, raw[0], &fa, nullptr, raw.data(), environ) == 0) {
        int ws = 0;
        ::waitpid(pid, &ws, 0);
        r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
    }
    posix_spawn_file_actions_destroy(&fa);
    r.out = readText(out);
    r.err = readText(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

} // namespace qvtest
