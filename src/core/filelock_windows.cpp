// FileLock on Windows: a lock on one byte far past any file's end (LockFileEx). Its
// locks bind every reader, unlike flock, so none is taken on the bytes themselves.
#include "core/filelock.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <thread>

#include "core/winsys.h"

namespace qv {

namespace {

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

} // namespace

void FileLock::release() {
    if (fd_ >= 0) ::_close(fd_); // closing the handle drops the lock
    fd_ = -1;
}

bool FileLock::acquire(const std::string& path, std::chrono::milliseconds wait,
                       std::string& error) {
    release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    // Others may read, write, and replace the file while it is held, as on POSIX.
    const HANDLE h = ::CreateFileW(win::systemPath(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true; // missing, or not ours to open
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return true;
    }
    for (;;) {
        OVERLAPPED at{};
        at.OffsetHigh = kLockOffsetHigh;
        if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            break;
        if (::GetLastError() != ERROR_LOCK_VIOLATION) { // a file system without locks
            ::CloseHandle(h);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::CloseHandle(h);
            error = path + " is being changed by another program";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY);
    if (fd < 0) {
        ::CloseHandle(h);
        return true;
    }
    fd_ = fd;
    return true;
}

} // namespace qv
