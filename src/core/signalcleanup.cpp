#include "core/signalcleanup.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace qv {

namespace {

// The handler reads these without locks: a path is complete before its slot is
// marked in use, and a slot is marked free before its path is touched again.
struct Slot {
    volatile std::sig_atomic_t inUse = 0;
    volatile std::sig_atomic_t folder = 0;
    char path[PATH_MAX + 1] = {};
};
std::array<Slot, 16> g_slots;

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kSignals.size()> g_previous{};
std::array<bool, kSignals.size()> g_installed{};
std::mutex g_mutex;
int g_watched = 0;

// Only calls that are safe in a signal handler: the folder's entries are read
// with getdents64, not readdir.
void removeFolder(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        alignas(8) char buffer[4096];
        for (;;) {
            const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            for (ssize_t at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
                ::unlinkat(fd, name, 0);
            }
        }
        ::close(fd);
    }
    ::rmdir(path);
}

extern "C" void removeOnSignal(int sig) {
    for (Slot& s : g_slots) {
        if (!s.inUse) continue;
        if (s.folder)
            removeFolder(s.path);
        else
            ::unlink(s.path);
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == sig) ::sigaction(sig, &g_previous[i], nullptr);
    ::raise(sig);
}

// Only a signal that would end the process gets our handler.
void install() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction old {};
        if (::sigaction(kSignals[i], nullptr, &old) != 0 || old.sa_handler != SIG_DFL ||
            (old.sa_flags & SA_SIGINFO))
            continue;
        struct sigaction sa {};
        sa.sa_handler = removeOnSignal;
        sigemptyset(&sa.sa_mask);
        for (int other : kSignals)
            sigaddset(&sa.sa_mask, other);
        g_previous[i] = old;
        g_installed[i] = ::sigaction(kSignals[i], &sa, nullptr) == 0;
    }
}

void uninstall() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (g_installed[i]) ::sigaction(kSignals[i], &g_previous[i], nullptr);
    g_installed.fill(false);
}

} // namespace

bool RemoveOnSignal::watch(const std::string& path, Kind kind) {
    forget();
    if (path.size() > PATH_MAX) return false;
    const std::lock_guard lock(g_mutex);
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        Slot& s = g_slots[i];
        if (s.inUse) continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.folder = kind == Kind::Folder;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        s.inUse = 1;
        slot_ = static_cast<int>(i);
        if (g_watched++ == 0) install();
        return true;
    }
    return false;
}

void RemoveOnSignal::forget() {
    if (slot_ < 0) return;
    const std::lock_guard lock(g_mutex);
    g_slots[static_cast<std::size_t>(slot_)].inUse = 0;
    slot_ = -1;
    if (--g_watched == 0) uninstall();
}

} // namespace qv
