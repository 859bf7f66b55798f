// RemoveOnSignal on Windows: the console's Ctrl+C, Ctrl+Break and close events stand
// for SIGINT, SIGTERM and SIGHUP. A handler runs on a thread of its own while the
// program goes on, so the watched paths are kept under a lock.
#include "core/signalcleanup.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <mutex>

#include "core/system.h"

namespace qv {

namespace {

struct Watched {
    std::string path;
    RemoveOnSignal::Kind kind = RemoveOnSignal::Kind::File;
    bool used = false;
};

std::mutex g_mutex;
std::array<Watched, 16> g_watched;
bool g_handlerSet = false;

BOOL WINAPI removeWatched(DWORD) {
    const std::lock_guard lock(g_mutex);
    for (Watched& w : g_watched) {
        if (!w.used) continue;
        std::error_code ec;
        if (w.kind == RemoveOnSignal::Kind::Folder)
            std::filesystem::remove_all(fsPath(w.path), ec);
        else
            std::filesystem::remove(fsPath(w.path), ec);
        w.used = false;
    }
    return FALSE; // the process then ends as it would have
}

} // namespace

bool RemoveOnSignal::watch(const std::string& path, Kind kind) {
    forget();
    const std::lock_guard lock(g_mutex);
    if (!g_handlerSet) g_handlerSet = ::SetConsoleCtrlHandler(removeWatched, TRUE);
    for (std::size_t i = 0; i < g_watched.size(); ++i)
        if (!g_watched[i].used) {
            g_watched[i] = {path, kind, true};
            slot_ = static_cast<int>(i);
            return true;
        }
    return false;
}

void RemoveOnSignal::forget() {
    if (slot_ < 0) return;
    const std::lock_guard lock(g_mutex);
    g_watched[static_cast<std::size_t>(slot_)].used = false;
    slot_ = -1;
}

} // namespace qv
