#pragma once
// What the program asks of the operating system besides reading and writing files:
// paths as the system takes them, its own folder, the environment, libraries opened
// at run time and shell links. One implementation per system, chosen when building
// (system_posix.cpp, system_windows.cpp); every path inside the program is UTF-8.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A UTF-8 path as std::filesystem takes it, and back. On POSIX the bytes pass
// unchanged; on Windows they become UTF-16 (a plain std::string would be read in
// the system's 8-bit code page there).
inline std::filesystem::path fsPath(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#else
    return std::filesystem::path(utf8);
#endif
}
inline std::string pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

#ifdef _WIN32
// The separator the system writes between a folder and its entries.
inline constexpr char kPathSeparator = '\\';
// Folder lists in environment variables, as the system writes PATH.
inline constexpr char kPathListSeparator = ';';
// The file name ending of libraries opened at run time.
inline constexpr std::string_view kLibrarySuffix = ".dll";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr char kPathListSeparator = ':';
inline constexpr std::string_view kLibrarySuffix = ".so";
#endif

// The program's arguments in UTF-8: argv itself on POSIX; on Windows, where argv is
// in the 8-bit code page, the UTF-16 command line converted.
std::vector<std::string> commandLineArguments(int argc, char** argv);
// Standard input, output and error as bytes, not text: on Windows, no "\r" added
// before each "\n", and the console shows UTF-8. Nothing to do on POSIX.
void useBinaryStandardStreams();

// The folder of the running program's file, or empty when it cannot be told.
std::string executableFolder();

// An environment variable's value (UTF-8); nothing when it is not set.
std::optional<std::string> environmentValue(const char* name);
// Sets a variable of this process and of the programs it starts; nothing removes it.
void setEnvironmentValue(const char* name, const std::optional<std::string>& value);

// The user's home folder: HOME on POSIX (the password entry without it),
// USERPROFILE on Windows; empty when there is none.
std::string homeFolder();

// This process's id, as temporary file names carry it.
long processId();

// A library opened for the rest of the process (a libretro core keeps global state
// that closing would leave behind). Null, with `error` saying why, when it cannot
// be loaded.
void* openLibrary(const std::string& path, std::string& error);
void* librarySymbol(void* library, const char* name);
void closeLibrary(void* library);

// The target a ".lnk" shell link names, read by the shell itself; nothing when
// the link cannot be read or this system has no shell links (POSIX).
std::optional<std::string> shellLinkTarget(const std::string& path);

} // namespace qv
