#pragma once
// Files for the core and command-line tests: a temporary folder per test, and
// whole files written and read back as bytes or text.
#ifdef _WIN32
#include <windows.h>

#include <process.h>
#else
#include <unistd.h>
#endif

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace qvtest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline long processId() {
#ifdef _WIN32
    return static_cast<long>(::_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

// A folder and everything in it, gone. On Windows through the system's own calls
// in the long-path form: the C runtime's, which std::filesystem uses there, reach
// no file deeper than 260 characters, and a test may make one.
#ifdef _WIN32
inline void removeAll(const std::wstring& path) {
    const std::wstring at = path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((at + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring entry = at + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeAll(entry);
            } else {
                ::SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(entry.c_str());
            }
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(at.c_str());
}
inline void removeAll(const fs::path& path) {
    removeAll(path.wstring());
}
#else
inline void removeAll(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
}
#endif

// A folder of its own per test, removed afterwards. The process id keeps test
// programs that run side by side apart.
class TempDir {
  public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("qv-test-" + std::to_string(processId()) + "-" + std::to_string(counter_++));
        removeAll(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { removeAll(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), {}));
    }

  private:
    fs::path path_;
    static inline int counter_ = 0;
};

inline void writeBytes(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace qvtest
