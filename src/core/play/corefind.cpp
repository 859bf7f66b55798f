#include "core/play/corefind.h"

#include <filesystem>

#include "core/system.h"

namespace qv::play {

namespace {

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(fsPath(path), ec);
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(fsPath(path), ec);
}

} // namespace

std::vector<std::string> coreFolders() {
    std::vector<std::string> folders;
    if (const auto list = environmentValue("QUORVANE_LIBRETRO_PATH")) {
        const std::string_view all(*list);
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t end = std::min(all.find(kPathListSeparator, start), all.size());
            if (end > start) folders.emplace_back(all.substr(start, end - start));
            start = end + 1;
        }
        return folders;
    }
#ifdef _WIN32
    // RetroArch keeps its cores in a cores folder beside its settings: in the user's
    // profile, or in its own folder where its installer put it.
    if (const auto appData = environmentValue("APPDATA"); appData && !appData->empty())
        folders.push_back(*appData + "\\RetroArch\\cores");
    for (const char* root : {"SystemDrive", "ProgramFiles"})
        if (const auto at = environmentValue(root); at && !at->empty())
            folders.push_back(*at + "\\RetroArch-Win64\\cores");
    if (const auto at = environmentValue("ProgramFiles"); at && !at->empty())
        folders.push_back(*at + "\\RetroArch\\cores");
#else
#ifdef QV_LIB_ARCH
    folders.emplace_back("/usr/lib/" QV_LIB_ARCH "/libretro");
#endif
    folders.emplace_back("/usr/lib/libretro");
    folders.emplace_back("/usr/local/lib/libretro");
    if (const auto home = environmentValue("HOME"); home && !home->empty())
        folders.push_back(*home + "/.config/retroarch/cores");
#endif
    return folders;
}

std::string findCore(const std::string& configured, const std::vector<std::string>& folders) {
    const auto search = [](const std::vector<std::string>& places) -> std::string {
        for (const char* file : kCoreFiles)
            for (const std::string& folder : places) {
                const std::string path = folder + kPathSeparator + file;
                if (isFile(path)) return path;
            }
        return {};
    };
    if (!configured.empty()) {
        if (isFile(configured)) return configured;
        if (isFolder(configured))
            if (std::string path = search({configured}); !path.empty()) return path;
    }
    return search(folders);
}

std::string coreInstallAdvice() {
#ifdef _WIN32
    return std::string(kCorePackage) +
           " (its Online Updater puts nestopia_libretro.dll in RetroArch's cores folder)";
#else
    return "the package " + std::string(kCorePackage) + " (sudo apt-get install " +
           std::string(kCorePackage) + ")";
#endif
}

std::string noCoreMessage() {
    return "No libretro NES core was found for Play.\r\nInstall " + coreInstallAdvice() +
           ", or name a core under Tools > Editor Options > Play.";
}

} // namespace qv::play
