#pragma once
// An advisory lock (flock) on a file, held by our writers from reading it to
// replacing it: two of them on one file take turns, and the second works on the
// first one's result. Programs that take no lock are not held back; the editor's
// save and the outside-change check cover those.
#include <chrono>
#include <string>

namespace qv {

// How long a writer waits for another to finish before it gives up.
inline constexpr std::chrono::milliseconds kLockWait{10000};

class FileLock {
  public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileLock& operator=(FileLock&& other) noexcept {
        if (this != &other) {
            release();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // Locks the file at `path` (a link is followed), waiting up to `wait` for another
    // holder. A file that is replaced while we wait is locked anew, so that the lock
    // held is on the file the path names. A missing file, or one we cannot open, is
    // not locked (nothing of it can be lost). False, with `error` set, when another
    // holder kept it past `wait`.
    bool acquire(const std::string& path, std::chrono::milliseconds wait, std::string& error);
    void release();
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

} // namespace qv
