#include "core/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qv {

void FileLock::release() {
    if (fd_ >= 0) ::close(fd_); // closing drops the lock
    fd_ = -1;
}

bool FileLock::acquire(const std::string& path, std::chrono::milliseconds wait,
                       std::string& error) {
    release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // Without blocking on a FIFO in the file's place; a file we may write but not
        // read is opened for writing, which leaves its contents alone.
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return true;
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return true;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            if (err != EWOULDBLOCK && err != EINTR) { // a file system without locks
                ::close(fd);
                return true;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                error = path + " is being changed by another program";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // The holder we waited for may have put a new file in its place.
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
            now.st_ino == held.st_ino) {
            fd_ = fd;
            return true;
        }
        ::close(fd);
    }
}

} // namespace qv
