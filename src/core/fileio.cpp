#include "core/fileio.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/signalcleanup.h"

namespace qv {
namespace fs = std::filesystem;

namespace {
std::atomic<bool> g_failWrites{false};
}

void setWriteFailureForTesting(bool fail) {
    g_failWrites = fail;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

bool canOpenForReading(const std::string& path) {
    // Without blocking, so that a FIFO in the file's place is not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::optional<std::uintmax_t> readableFileSize(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || !canOpenForReading(path)) return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

namespace {

// A regular file of at most maxSize bytes open for reading (fd -1 otherwise), closed
// at the end of its scope. Non-blocking, so that a FIFO given by mistake is refused
// instead of waited on.
struct ReadableFile {
    ReadableFile(const std::string& path, std::uintmax_t maxSize)
        : fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<std::uintmax_t>(st.st_size) <= maxSize)
            size = static_cast<std::size_t>(st.st_size);
        else if (fd >= 0)
            ::close(std::exchange(fd, -1));
    }
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ~ReadableFile() {
        if (fd >= 0) ::close(fd);
    }
    int fd;
    std::size_t size = 0;
};

} // namespace

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uintmax_t maxSize) {
    const ReadableFile file(path, maxSize);
    if (file.fd < 0) return std::nullopt;
    const std::size_t size = file.size;
    // Read a chunk at a time into the result's reserved room: it is never zero-filled
    // first, and each page of it is written once. A large result is asked for in huge
    // pages, filled with one fault each 2 MiB instead of each 4 KiB (bench rows "qorv
    // ips create/apply, 16 MiB").
    std::vector<std::uint8_t> data;
    data.reserve(size);
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(data.data()) + kHuge - 1) & ~(kHuge - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(data.data()) + size) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    std::uint8_t chunk[64 << 10];
    for (;;) {
        const ssize_t n = ::read(file.fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        // A file that grew while being read is not the one measured.
        if (static_cast<std::size_t>(n) > size - data.size()) return std::nullopt;
        data.insert(data.end(), chunk, chunk + n);
    }
    if (data.size() != size) return std::nullopt;
    return data;
}

std::optional<MappedFile> MappedFile::open(const std::string& path, std::uintmax_t maxSize) {
    const ReadableFile file(path, maxSize);
    if (file.fd < 0) return std::nullopt;
    // An empty file has nothing to map.
    if (file.size == 0) return MappedFile({});
    void* p = ::mmap(nullptr, file.size, PROT_READ, MAP_PRIVATE, file.fd, 0);
    if (p == MAP_FAILED) return std::nullopt;
    return MappedFile({static_cast<const std::uint8_t*>(p), file.size});
}

MappedFile::~MappedFile() {
    if (!bytes_.empty()) ::munmap(const_cast<std::uint8_t*>(bytes_.data()), bytes_.size());
}

namespace {

// Whether the link at `link` (lstat in `st`) may be followed. The kernel follows a
// link in a sticky folder anyone may write only for the link's owner or the folder's
// (protected_symlinks); a rename onto the resolved path would step around that rule,
// so it is kept here whatever the system's setting.
bool mayFollow(const std::string& link, const struct stat& st, bool ownLinksOnly,
               std::string& error) {
    const uid_t me = ::geteuid();
    if (st.st_uid == me) return true;
    if (ownLinksOnly && st.st_uid != 0) {
        error = "a link of another user's is not followed";
        return false;
    }
    const std::string dir = dirName(link);
    struct stat folder {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &folder) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if ((folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH) && st.st_uid != folder.st_uid) {
        error = "a link of another user's in a folder anyone may write is not followed";
        return false;
    }
    return true;
}

// The file a link chain ends at, even one that does not exist yet: a save through
// a link writes the file it points to, a dangling link included.
std::optional<std::string> followLinks(const std::string& path, std::string& error,
                                       bool ownLinksOnly = false) {
    std::string p = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno == ENOENT) return p;
            error = std::strerror(errno);
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) return p;
        if (!mayFollow(p, st, ownLinksOnly, error)) return std::nullopt;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) {
            error = std::strerror(errno);
            return std::nullopt;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) {
            error = std::strerror(ENOENT);
            return std::nullopt;
        }
        const std::string dir = dirName(p);
        p = (link.front() == '/' || dir.empty()) ? link : dir + "/" + link;
    }
    error = std::strerror(ELOOP);
    return std::nullopt;
}

// Our temporary files are ".NAME~qvPID.XXXXXX": hidden, beside their target, and
// recognisable as ours, so that those a killed save left can be found again. A
// name too long for that keeps its head and adds a hash of the whole, so that the
// temporary name fits wherever the target's name does.
constexpr std::string_view kTempTag = "~qv";

std::string tempStem(const std::string& dir, const std::string& name) {
    long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = 255;
    // ".", the tag, up to 10 digits of process id, "." and six random characters.
    const std::size_t overhead = 1 + kTempTag.size() + 10 + 1 + 6;
    if (name.size() + overhead <= static_cast<std::size_t>(nameMax)) return name;
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    char hex[10];
    std::snprintf(hex, sizeof hex, "#%08x", hash);
    const std::size_t keep = static_cast<std::size_t>(nameMax) - overhead - 9;
    return name.substr(0, keep) + hex;
}

std::string tempPrefix(const std::string& stem) {
    return "." + stem + std::string(kTempTag);
}

// Removes the temporary files of earlier saves of the same target whose process
// is gone (a save killed outright). Files of another user, of a process still
// running, or not in our form exactly are left alone.
void removeStaleTemps(const std::string& dir, const std::string& stem) {
    const std::string prefix = tempPrefix(stem);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (!name.starts_with(prefix)) continue;
        const std::string_view rest = name.substr(prefix.size());
        const auto dot = rest.find('.');
        if (dot == 0 || dot == std::string_view::npos || rest.size() - dot - 1 != 6) continue;
        long pid = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + dot, pid);
        if (ec != std::errc() || end != rest.data() + dot || pid <= 0) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        const std::string full = dir + "/" + std::string(name);
        struct stat st {};
        if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        ::unlink(full.c_str());
    }
    ::closedir(d);
}

// Writes are serialised: the signal dispositions below are the process's.
std::mutex g_writeMutex;

// A file size limit (ulimit -f) would end the process by SIGXFSZ in the middle of a
// write; ignored, the write fails with EFBIG and is reported like a full disk.
class FileSizeSignalIgnored {
  public:
    FileSizeSignalIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        own_ = ::sigaction(SIGXFSZ, nullptr, &old_) == 0 && old_.sa_handler == SIG_DFL &&
               !(old_.sa_flags & SA_SIGINFO) && ::sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }
    ~FileSizeSignalIgnored() {
        if (own_) ::sigaction(SIGXFSZ, &old_, nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

  private:
    struct sigaction old_ {};
    bool own_ = false;
};

// The signals that remove a temporary file, held back while it is made and watched.
class EndingSignalsHeld {
  public:
    EndingSignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&set, sig);
        ::pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~EndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

  private:
    sigset_t old_{};
};

WriteResult failure(int err) {
    return {false, std::strerror(err)};
}

bool writeAll(int fd, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A rename is only lasting once the folder that holds the new name is synced.
void syncFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // some file systems cannot sync a folder; the rename stands anyway
    ::close(fd);
}

WriteResult checkResolved(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return {}; // a new file; its folder decides
        return failure(errno);
    }
    // Devices, pipes and folders are not ours to replace by a regular file.
    if (!S_ISREG(st.st_mode)) return {false, "Not a regular file"};
    // The file's own protection counts, not only the folder's.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return failure(errno);
    return {};
}

// Gives the new file the owner and group of `from`; false when that is not allowed.
bool takeOwner(int fd, const struct stat& from) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0) return false;
    if (mine.st_uid == from.st_uid && mine.st_gid == from.st_gid) return true;
    return ::fchown(fd, from.st_uid, from.st_gid) == 0;
}

// For a file whose owner a new file cannot be given (a member of its group saving
// it): the old contents are copied whole to `safe` (open as `safeFd`) and synced,
// then the new ones are written into the file itself. Killed meanwhile, the copy
// stays, whole, beside the file; it goes once the file is whole again.
WriteResult writeInPlace(const std::string& path, std::span<const std::uint8_t> data, int safeFd,
                         const std::string& safe, RemoveOnSignal& cleanup) {
    const auto fail = [&](int err) {
        ::close(safeFd);
        ::unlink(safe.c_str());
        return failure(err);
    };
    const int in = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) return fail(errno);
    std::array<std::uint8_t, 65536> buffer;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || (n > 0 && !writeAll(safeFd, {buffer.data(), static_cast<std::size_t>(n)}))) {
            const int err = errno;
            ::close(in);
            return fail(err);
        }
        if (n == 0) break;
    }
    ::close(in);
    if (::fsync(safeFd) != 0 || ::close(safeFd) != 0) {
        const int err = errno;
        ::unlink(safe.c_str());
        return failure(err);
    }
    syncFolder(dirName(safe).empty() ? "." : dirName(safe));
    cleanup.forget(); // from here on the copy is the one whole version
    const int out = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (out < 0) {
        const int err = errno;
        ::unlink(safe.c_str());
        return failure(err);
    }
    if (!writeAll(out, data) || ::ftruncate(out, static_cast<off_t>(data.size())) != 0 ||
        ::fsync(out) != 0) {
        // The file may be part old and part new: the copy is kept for the user.
        const int err = errno;
        ::close(out);
        return {false, std::string(std::strerror(err)) + "; its old contents are kept in " + safe};
    }
    ::close(out);
    ::unlink(safe.c_str());
    return {};
}

} // namespace

WriteResult checkReplaceable(const std::string& requested) {
    std::string error;
    const auto path = followLinks(requested, error);
    if (!path) return {false, error};
    return checkResolved(*path);
}

WriteResult writeFileAtomic(const std::string& requested, std::span<const std::uint8_t> data,
                            const WriteOptions& options) {
    std::string error;
    const auto resolved = followLinks(requested, error, options.ownLinksOnly);
    if (!resolved) return {false, error};
    const std::string& path = *resolved;
    if (const WriteResult usable = checkResolved(path); !usable.ok) return usable;
    std::string dir = dirName(path);
    if (dir.empty()) dir = ".";
    const std::string stem = tempStem(dir, baseName(path));
    std::string temp = dir + "/" + tempPrefix(stem) + std::to_string(::getpid()) + ".XXXXXX";
    if (g_failWrites) return {false, "No space left on device"};
    if (temp.size() > PATH_MAX) return failure(ENAMETOOLONG);

    const std::lock_guard lock(g_writeMutex);
    const FileSizeSignalIgnored sizeLimitReported;
    RemoveOnSignal cleanup;
    int fd = -1;
    {
        const EndingSignalsHeld held; // no signal between making the file and watching it
        fd = ::mkstemp(temp.data());
        if (fd < 0) return failure(errno);
        cleanup.watch(temp, RemoveOnSignal::Kind::File);
    }
    const auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        return failure(err);
    };
    // A replaced file keeps its mode, owner and group (a backup takes its original's);
    // a new file gets the usual ones.
    struct stat from {};
    const std::string& model = options.attributesFrom.empty() ? path : options.attributesFrom;
    const bool replacing = options.attributesFrom.empty() && ::stat(path.c_str(), &from) == 0;
    const bool modelled = replacing || (!options.attributesFrom.empty() &&
                                        ::stat(model.c_str(), &from) == 0 && S_ISREG(from.st_mode));
    mode_t mode = 0;
    if (modelled) {
        mode = from.st_mode & 07777;
        if (!takeOwner(fd, from)) {
            if (replacing) return writeInPlace(path, data, fd, temp, cleanup);
            // A copy we may not give away stays ours, and no group sees it that could
            // not see the original.
            if (::fchown(fd, static_cast<uid_t>(-1), from.st_gid) != 0) mode &= ~mode_t{S_IRWXG};
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (!writeAll(fd, data)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    ::fchmod(fd, mode); // where modes cannot be set, the file stays private to the user
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure(err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failure(err);
    }
    cleanup.forget();
    syncFolder(dir);
    removeStaleTemps(dir, stem);
    return {};
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string dirName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace qv
