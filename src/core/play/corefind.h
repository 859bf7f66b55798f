#pragma once
// Where a libretro NES core is looked for, and what the user is told when none is.
#include <string>
#include <string_view>
#include <vector>

namespace qv::play {

// The cores tried, best first, by their file names.
#ifdef _WIN32
inline constexpr const char* kCoreFiles[] = {"nestopia_libretro.dll", "fceumm_libretro.dll",
                                             "mesen_libretro.dll", "quicknes_libretro.dll"};
// What brings the first of them: RetroArch's own downloader.
inline constexpr std::string_view kCorePackage = "RetroArch with its Nestopia core";
#else
inline constexpr const char* kCoreFiles[] = {"nestopia_libretro.so", "fceumm_libretro.so",
                                             "mesen_libretro.so", "quicknes_libretro.so"};
// The package that brings the first of them.
inline constexpr std::string_view kCorePackage = "libretro-nestopia";
#endif

// The folders searched: those named in the environment variable
// QUORVANE_LIBRETRO_PATH (separated by ':', on Windows by ';') when it is set, else
// the usual places: Debian's /usr/lib/<triplet>/libretro, /usr/lib/libretro,
// /usr/local/lib/libretro and ~/.config/retroarch/cores; on Windows RetroArch's
// cores folder, under %APPDATA%\RetroArch and where its installer puts it.
std::vector<std::string> coreFolders();

// How to get a core, after "install ": the package and its command, or on Windows
// where RetroArch keeps its cores.
std::string coreInstallAdvice();

// The core to play with: `configured` first (a core file, or a folder to look in),
// then each known core in each folder. Empty when there is none.
std::string findCore(const std::string& configured, const std::vector<std::string>& folders);

// What the Play command says when no core is found; lines end with "\r\n".
std::string noCoreMessage();

} // namespace qv::play
