// The file layer on Windows: the promises of fileio.h kept with the system's own
// calls, UTF-16 paths in the "\\?\" form (no 260-character limit). How it differs
// from the POSIX layer, and why, is said where it does.
#include "core/fileio.h"

#include <windows.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <random>

#include "core/system.h"
#include "core/winsys.h"

namespace qv {

namespace {
std::atomic<bool> g_failWrites{false};

// A handle closed at the end of its scope.
struct Handle {
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    void close() {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(std::exchange(h, INVALID_HANDLE_VALUE));
    }
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
    HANDLE h;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

WriteResult failure(DWORD code) {
    return {false, win::errorText(code)};
}

} // namespace

void setWriteFailureForTesting(bool fail) {
    g_failWrites = fail;
}

bool fileExists(const std::string& path) {
    return !path.empty() &&
           ::GetFileAttributesW(win::systemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool canOpenForReading(const std::string& path) {
    if (path.empty()) return false;
    // Folders open for reading on POSIX too; a pipe is connected to, never waited on.
    const Handle h(::CreateFileW(win::systemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.ok();
}

namespace {

// A regular file of at most maxSize bytes open for reading (not ok() otherwise).
// Others may read, write and delete it meanwhile, as on POSIX.
struct ReadableFile {
    ReadableFile(const std::string& path, std::uintmax_t maxSize) {
        if (path.empty()) return;
        file.h = ::CreateFileW(win::systemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        BY_HANDLE_FILE_INFORMATION info{};
        if (file.ok() && ::GetFileType(file.h) == FILE_TYPE_DISK &&
            ::GetFileInformationByHandle(file.h, &info) &&
            !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const std::uint64_t n = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
            if (n <= maxSize) {
                size = static_cast<std::size_t>(n);
                return;
            }
        }
        file.close();
    }
    bool ok() const { return file.ok(); }
    Handle file;
    std::size_t size = 0;
};

} // namespace

std::optional<std::uintmax_t> readableFileSize(const std::string& path) {
    const ReadableFile file(path, UINTMAX_MAX);
    if (!file.ok()) return std::nullopt;
    return file.size;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::uintmax_t maxSize) {
    const ReadableFile file(path, maxSize);
    if (!file.ok()) return std::nullopt;
    std::vector<std::uint8_t> data(file.size);
    std::size_t done = 0;
    for (;;) {
        // One byte more than measured is asked for: a file that grew while being read
        // is not the one measured.
        std::uint8_t extra = 0;
        std::uint8_t* at = done < data.size() ? data.data() + done : &extra;
        const std::size_t room = done < data.size() ? data.size() - done : 1;
        DWORD n = 0;
        if (!::ReadFile(file.file.h, at, static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30)),
                        &n, nullptr))
            return std::nullopt;
        if (n == 0) break;
        if (at == &extra) return std::nullopt;
        done += n;
    }
    if (done != data.size()) return std::nullopt;
    return data;
}

std::optional<MappedFile> MappedFile::open(const std::string& path, std::uintmax_t maxSize) {
    const ReadableFile file(path, maxSize);
    if (!file.ok()) return std::nullopt;
    if (file.size == 0) return MappedFile({});
    // The view keeps the mapping and the file open. While it is mapped, Windows
    // refuses to cut the file short, so the hazard POSIX meets with SIGBUS is not
    // there.
    const HANDLE mapping = ::CreateFileMappingW(file.file.h, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return std::nullopt;
    void* p = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, file.size);
    ::CloseHandle(mapping);
    if (!p) return std::nullopt;
    return MappedFile({static_cast<const std::uint8_t*>(p), file.size});
}

MappedFile::~MappedFile() {
    if (!bytes_.empty()) ::UnmapViewOfFile(bytes_.data());
}

namespace {

// The file a symbolic link or junction ends at. Unlike POSIX, a link whose target
// is missing is refused: the system resolves links only to what exists.
std::optional<std::string> followLinks(const std::string& path, std::string& error) {
    const std::wstring sys = win::systemPath(path);
    const DWORD attributes = ::GetFileAttributesW(sys.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return path;
        error = win::errorText(code);
        return std::nullopt;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    const Handle h(::CreateFileW(sys.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.ok()) {
        error = win::errorText(::GetLastError());
        return std::nullopt;
    }
    std::wstring final(32768, L'\0');
    const DWORD n = ::GetFinalPathNameByHandleW(h.h, final.data(), static_cast<DWORD>(final.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= final.size()) {
        error = win::errorText(::GetLastError());
        return std::nullopt;
    }
    final.resize(n);
    return win::displayPath(final);
}

// Our temporary files are ".NAME~qvPID.XXXXXX", as on POSIX, beside their target and
// recognisable as ours; the hidden attribute hides them as the dot does there. A name
// too long for that keeps its head and adds a hash of the whole, so that the
// temporary name fits wherever the target's name does. Names are measured in UTF-16
// units here, as the file systems measure them.
constexpr std::wstring_view kTempTag = L"~qv";

std::wstring tempStem(const std::wstring& dir, const std::string& name) {
    DWORD nameMax = 255;
    wchar_t root[MAX_PATH + 1];
    if (::GetVolumePathNameW(dir.c_str(), root, MAX_PATH + 1)) {
        DWORD longest = 0;
        if (::GetVolumeInformationW(root, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0) &&
            longest > 0)
            nameMax = longest;
    }
    const std::wstring wide = win::widen(name);
    // ".", the tag, up to 10 digits of process id, "." and six random characters.
    const std::size_t overhead = 1 + kTempTag.size() + 10 + 1 + 6;
    if (wide.size() + overhead <= nameMax) return wide;
    std::uint32_t hash = 2166136261u; // FNV-1a of the UTF-8 name, as on POSIX
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    wchar_t hex[10];
    std::swprintf(hex, 10, L"#%08x", hash);
    std::size_t keep = nameMax - overhead - 9;
    // Never half of a surrogate pair.
    if (keep > 0 && IS_HIGH_SURROGATE(wide[keep - 1])) --keep;
    return wide.substr(0, keep) + hex;
}

std::wstring tempPrefix(const std::wstring& stem) {
    return L"." + stem + std::wstring(kTempTag);
}

std::wstring parentOf(const std::wstring& sysPath) {
    return sysPath.substr(0, sysPath.find_last_of(L'\\'));
}

bool processGone(DWORD pid) {
    const HANDLE p = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool exited = ::GetExitCodeProcess(p, &code) && code != STILL_ACTIVE;
    ::CloseHandle(p);
    return exited;
}

// Removes the temporary files of earlier saves of the same target whose process is
// gone. Those of a process still running, or not in our form exactly, are left
// alone. Unlike POSIX their owner is not compared: a folder's files belong to one
// user far more often here, and the system refuses what is not ours to delete.
void removeStaleTemps(const std::wstring& dir, const std::wstring& stem) {
    const std::wstring prefix = tempPrefix(stem);
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileExW((dir + L"\\" + prefix + L"*").c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view name(found.cFileName);
        if (!name.starts_with(prefix) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::string rest = win::narrow(name.substr(prefix.size()));
        const auto dot = rest.find('.');
        if (dot == 0 || dot == std::string::npos || rest.size() - dot - 1 != 6) continue;
        unsigned long pid = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + dot, pid);
        if (ec != std::errc() || end != rest.data() + dot || pid == 0) continue;
        if (!processGone(static_cast<DWORD>(pid))) continue;
        ::DeleteFileW((dir + L"\\" + std::wstring(name)).c_str());
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

bool setDeleteOnClose(HANDLE h, bool on) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = on;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

std::mutex g_writeMutex;

} // namespace

WriteResult checkReplaceable(const std::string& requested) {
    // Devices (NUL, CON, COM1, pipes) are not ours to replace by a regular file;
    // they are told by their names, before the system is asked about them.
    if (win::systemPath(requested).starts_with(LR"(\\.\)")) return {false, "Not a regular file"};
    std::string error;
    const auto path = followLinks(requested, error);
    if (!path) return {false, error};
    const std::wstring sys = win::systemPath(*path);
    if (sys.starts_with(LR"(\\.\)")) return {false, "Not a regular file"};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(sys.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD code = ::GetLastError();
        // A new file; its folder decides.
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
        return failure(code);
    }
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return {false, "Not a regular file"};
    // The read-only attribute is the file's own protection, as its mode is on POSIX.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return failure(ERROR_ACCESS_DENIED);
    // What the access lists allow, and whether another program holds the file open
    // in a way that forbids replacing it (Windows has no such thing on POSIX).
    const Handle probe(::CreateFileW(sys.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!probe.ok()) return failure(::GetLastError());
    if (::GetFileType(probe.h) != FILE_TYPE_DISK) return {false, "Not a regular file"};
    return {};
}

// Of the options, ownLinksOnly has nothing to guard here: making a symbolic link
// takes a privilege on Windows, so no other user can lay one in a shared folder.
WriteResult writeFileAtomic(const std::string& requested, std::span<const std::uint8_t> data,
                            const WriteOptions& options) {
    const WriteResult usable = checkReplaceable(requested);
    if (!usable.ok) return usable;
    std::string error;
    const auto resolved = followLinks(requested, error);
    if (!resolved) return {false, error};
    const std::wstring target = win::systemPath(*resolved);
    const std::wstring dir = parentOf(target);
    const std::wstring stem = tempStem(dir, baseName(win::narrow(target)));
    const std::wstring prefix =
        dir + L"\\" + tempPrefix(stem) + std::to_wstring(processId()) + L".";
    if (g_failWrites) return {false, "No space left on device"};

    const std::lock_guard lock(g_writeMutex);
    // The temporary file is deleted when its handle closes, until it is complete:
    // whatever ends the process (Ctrl+C, a kill, a crash) leaves nothing behind, where
    // POSIX needs signal handlers for SIGINT and SIGTERM alone.
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::wstring temp;
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.ok(); ++attempt) {
        temp = prefix;
        for (int i = 0; i < 6; ++i)
            temp += static_cast<wchar_t>(kLetters[random() % (sizeof kLetters - 1)]);
        file.h = ::CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (!file.ok() && ::GetLastError() != ERROR_FILE_EXISTS) return failure(::GetLastError());
    }
    if (!file.ok()) return failure(ERROR_FILE_EXISTS);
    const bool deleteOnClose = setDeleteOnClose(file.h, true);
    const auto fail = [&](DWORD code) {
        if (file.ok() && !deleteOnClose) setDeleteOnClose(file.h, true);
        file.close();
        ::DeleteFileW(temp.c_str());
        return failure(code);
    };
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD n = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30));
        if (!::WriteFile(file.h, data.data() + done, piece, &n, nullptr))
            return fail(::GetLastError());
        done += n;
    }
    if (!::FlushFileBuffers(file.h)) return fail(::GetLastError());
    // A replaced file keeps its attributes (hidden, system, archive); a new one gets
    // the usual ones. Access lists and the creation time go with ReplaceFileW below.
    // A backup takes its original's instead.
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const DWORD model = options.attributesFrom.empty()
                            ? old
                            : ::GetFileAttributesW(win::systemPath(options.attributesFrom).c_str());
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = model != INVALID_FILE_ATTRIBUTES
                               ? model & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)
                               : FILE_ATTRIBUTE_ARCHIVE;
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(file.h, FileBasicInfo, &basic, sizeof basic))
        return fail(::GetLastError());
    if (deleteOnClose && !setDeleteOnClose(file.h, false)) return fail(::GetLastError());
    file.close();

    const bool replaced =
        old != INVALID_FILE_ATTRIBUTES
            ? ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                             nullptr, nullptr)
            : ::MoveFileExW(temp.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        // Either way the target is as it was; only the temporary file goes.
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        return failure(code);
    }
    removeStaleTemps(dir, stem);
    return {};
}

// Both separators count here, and a drive's root keeps its backslash ("C:\").
std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string dirName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return {};
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

} // namespace qv
