#include "core/fileio.h"

#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<std::uintmax_t> readableFileSize(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uintmax_t maxSize) {
    // Non-blocking, so that a FIFO given by mistake is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > maxSize) return std::nullopt;
    // Read through a small buffer into reserved space: the bytes are written once,
    // never zero-filled first.
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(size));
    std::array<std::uint8_t, 64 * 1024> chunk;
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        // A file that grew while being read is not the file that was measured.
        if (data.size() + static_cast<std::size_t>(n) > size) return std::nullopt;
        data.insert(data.end(), chunk.data(), chunk.data() + n);
    }
    if (data.size() != size) return std::nullopt;
    return data;
}

WriteResult writeFileAtomic(const std::string& requested, std::span<const std::uint8_t> data) {
    // A link is kept: the file it points to is the one replaced.
    std::error_code linkError;
    std::string path = requested;
    if (fs::symlink_status(requested, linkError).type() == fs::file_type::symlink) {
        path = fs::weakly_canonical(requested, linkError).string();
        if (linkError) return {false, linkError.message()};
    }
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    if (g_failWrites) return {false, "No space left on device"};
    const int fd = mkstemp(tmpl.data());
    if (fd < 0) return {false, std::strerror(errno)};
    const auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return WriteResult{false, std::strerror(err)};
    };
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return {false, std::strerror(err)};
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return {false, std::strerror(err)};
    }
    return {};
}

std::string upperExtension(const std::string& path) {
    const std::string name = baseName(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
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
