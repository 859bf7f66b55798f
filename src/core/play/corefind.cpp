#include "core/play/corefind.h"

#include <cstdlib>
#include <filesystem>

namespace qv::play {

namespace {

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

} // namespace

std::vector<std::string> coreFolders() {
    std::vector<std::string> folders;
    if (const char* list = std::getenv("QUORVANE_LIBRETRO_PATH")) {
        const std::string_view all(list);
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t end = std::min(all.find(':', start), all.size());
            if (end > start) folders.emplace_back(all.substr(start, end - start));
            start = end + 1;
        }
        return folders;
    }
#ifdef QV_LIB_ARCH
    folders.emplace_back("/usr/lib/" QV_LIB_ARCH "/libretro");
#endif
    folders.emplace_back("/usr/lib/libretro");
    folders.emplace_back("/usr/local/lib/libretro");
    if (const char* home = std::getenv("HOME"); home && *home)
        folders.push_back(std::string(home) + "/.config/retroarch/cores");
    return folders;
}

std::string findCore(const std::string& configured, const std::vector<std::string>& folders) {
    const auto search = [](const std::vector<std::string>& places) -> std::string {
        for (const char* file : kCoreFiles)
            for (const std::string& folder : places) {
                const std::string path = folder + "/" + file;
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

std::string noCoreMessage() {
    return "No libretro NES core was found for Play.\r\nInstall the package " +
           std::string(kCorePackage) + " (sudo apt-get install " + std::string(kCorePackage) +
           "), or name a core under Tools > Editor Options > Play.";
}

} // namespace qv::play
