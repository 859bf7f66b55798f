#include "core/filestamp.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#ifdef _WIN32
#include <windows.h>

#include "core/winsys.h"
#else
#include <sys/stat.h>
#endif

#include "core/fileio.h"
#include "core/system.h"

namespace qv {

std::uint32_t packStamp(const StampFields& f) {
    const auto y = static_cast<std::uint32_t>(f.year < 1980 ? 0 : (f.year - 1980) & 0x7F);
    return (static_cast<std::uint32_t>(f.second / 2) & 0x1F) |
           ((static_cast<std::uint32_t>(f.minute) & 0x3F) << 5) |
           ((static_cast<std::uint32_t>(f.hour) & 0x1F) << 11) |
           ((static_cast<std::uint32_t>(f.day) & 0x1F) << 16) |
           ((static_cast<std::uint32_t>(f.month) & 0x0F) << 21) | (y << 25);
}

StampFields unpackStamp(std::uint32_t p) {
    StampFields f;
    f.second = static_cast<int>(p & 0x1F) * 2;
    f.minute = static_cast<int>((p >> 5) & 0x3F);
    f.hour = static_cast<int>((p >> 11) & 0x1F);
    f.day = static_cast<int>((p >> 16) & 0x1F);
    f.month = static_cast<int>((p >> 21) & 0x0F);
    f.year = static_cast<int>((p >> 25) & 0x7F) + 1980;
    return f;
}

std::string formatStamp(std::uint32_t packed) {
    const StampFields f = unpackStamp(packed);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute, f.second);
    return buf;
}

std::optional<std::uint32_t> readFileStamp(const std::string& path) {
    namespace fs = std::filesystem;
    // The stamp is taken from a file that can be opened for reading, as the editor reads it.
    std::error_code ec;
    if (!canOpenForReading(path) || !fs::is_regular_file(fsPath(path), ec)) return std::nullopt;
    const auto ft = fs::last_write_time(fsPath(path), ec);
    if (ec) return std::nullopt;
    const auto sys = std::chrono::file_clock::to_sys(ft);
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &t) != 0) return std::nullopt;
#else
    if (!localtime_r(&t, &tm)) return std::nullopt;
#endif
    return packStamp(
        {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

std::optional<FileIdentity> readFileIdentity(const std::string& path) {
#ifdef _WIN32
    // The volume's serial number and the file's index stand for device and inode; the
    // last-write time counts 100 ns ticks since 1601, the Unix epoch 11644473600 s on.
    if (path.empty()) return std::nullopt;
    const HANDLE h = ::CreateFileW(win::systemPath(path).c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
                    !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    ::CloseHandle(h);
    if (!ok) return std::nullopt;
    const auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    const std::int64_t ticks = static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime,
                                                              info.ftLastWriteTime.dwLowDateTime)) -
                               116444736000000000;
    return FileIdentity{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                        static_cast<std::int64_t>(join(info.nFileSizeHigh, info.nFileSizeLow)),
                        ticks / 10000000, (ticks % 10000000) * 100};
#else
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileIdentity{
        static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::int64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
        static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
#endif
}

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
// The coarsest clock of a file system we may meet (FAT's) ticks every two seconds.
constexpr std::int64_t kClockTick = 2 * kSecond;

std::int64_t nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::int64_t writtenAt(const FileIdentity& id) {
    return id.seconds * kSecond + id.nanoseconds;
}

} // namespace

void FileVersion::take(const std::string& path, std::span<const std::uint8_t> contents) {
    // Taken after the contents were read or written: a write in between gives the file
    // a time this close to now, so that its contents are compared.
    path_ = path;
    identity_ = readFileIdentity(path);
    contents_.assign(contents.begin(), contents.end());
    takenAt_ = nowNanoseconds();
}

std::optional<bool> FileVersion::unchanged() {
    const auto now = readFileIdentity(path_);
    if (!now) return std::nullopt;
    if (!identity_ || *now != *identity_) return false;
    if (takenAt_ - writtenAt(*now) >= kClockTick) return true;
    const auto bytes = readWholeFile(path_, static_cast<std::uintmax_t>(now->size));
    if (!bytes) return std::nullopt;
    if (*bytes != contents_) return false;
    // Seen unchanged a whole tick after it was written: a later write gives it a later time.
    takenAt_ = nowNanoseconds();
    return true;
}

} // namespace qv
