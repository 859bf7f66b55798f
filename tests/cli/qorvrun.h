#pragma once
// Runs the real qorv binary (QORV_BINARY) on files in a temporary folder.
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <string>
#include <vector>

#include "support/testfiles.h"

namespace qvtest {

struct Outcome {
    int status = -1;
    std::string out, err;
};

#ifdef _WIN32
inline std::wstring wide(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                              static_cast<int>(out.size()))));
    return out;
}

// One argument quoted as the C runtime splits a command line: backslashes are
// literal unless a quote follows them.
inline void appendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L'"';
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        line.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        slashes = 0;
        line += c;
    }
    line.append(2 * slashes, L'\\');
    line += L'"';
}

// A file the child writes its standard output or error to, inherited by it.
inline HANDLE inheritedOutput(const std::string& path, DWORD disposition) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

// Runs argv (the program first) with no shell between. Standard output goes to
// stdoutPath when given (a device such as /dev/full), else it is captured.
inline Outcome runProgram(const TempDir& dir, std::vector<std::string> argv,
                          const std::string& stdoutPath = {}) {
#ifdef _WIN32
    const std::string out = stdoutPath.empty() ? dir.file(".stdout") : stdoutPath;
    const std::string err = dir.file(".stderr");
    std::wstring line;
    for (const std::string& a : argv) {
        if (!line.empty()) line += L' ';
        appendQuoted(line, wide(a));
    }
    Outcome r;
    const HANDLE outFile = inheritedOutput(out, stdoutPath.empty() ? CREATE_ALWAYS : OPEN_EXISTING);
    const HANDLE errFile = inheritedOutput(err, CREATE_ALWAYS);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outFile;
    si.hStdError = errFile;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(wide(argv[0]).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &si, &pi)) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(pi.hProcess, &code)) r.status = static_cast<int>(code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::CloseHandle(outFile);
    ::CloseHandle(errFile);
#else
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
#endif
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
