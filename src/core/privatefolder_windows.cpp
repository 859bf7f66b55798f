// PrivateFolder on Windows: a folder under the user's own temporary folder, whose
// access list is already the user's alone; the name carries the process id as on
// POSIX, so that one a crash left behind is found again.
#include "core/privatefolder.h"

#include <windows.h>

#include <charconv>
#include <filesystem>
#include <random>

#include "core/system.h"
#include "core/winsys.h"

namespace qv {

std::unique_ptr<PrivateFolder> PrivateFolder::make(const std::string& parent,
                                                   const std::string& stem, std::string& error) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = parent + "\\" + stem + "-" + std::to_string(processId()) + "-";
        for (int i = 0; i < 6; ++i)
            path += kLetters[random() % (sizeof kLetters - 1)];
        if (::CreateDirectoryW(win::systemPath(path).c_str(), nullptr))
            return std::unique_ptr<PrivateFolder>(new PrivateFolder(std::move(path)));
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    error = win::errorText(::GetLastError());
    return nullptr;
}

void removeStaleFolders(const std::string& parent, const std::string& stem) {
    namespace fs = std::filesystem;
    const std::string prefix = stem + "-";
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(parent), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = pathText(it->path().filename());
        if (!name.starts_with(prefix) || !it->is_directory(ec)) continue;
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const auto dash = rest.find('-');
        if (dash == 0 || dash == std::string_view::npos || rest.size() - dash - 1 != 6) continue;
        unsigned long pid = 0;
        const auto [at, bad] = std::from_chars(rest.data(), rest.data() + dash, pid);
        if (bad != std::errc() || at != rest.data() + dash || pid == 0) continue;
        const HANDLE process =
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
        if (process) {
            DWORD code = 0;
            const bool running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
            ::CloseHandle(process);
            if (running) continue;
        } else if (::GetLastError() != ERROR_INVALID_PARAMETER) {
            continue;
        }
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

} // namespace qv
