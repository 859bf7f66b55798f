#include "core/inipath.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

bool everyoneMayWrite(const std::string& folder) {
    struct stat st {};
    return ::stat(folder.c_str(), &st) != 0 || (st.st_mode & S_IWOTH);
}

} // namespace

std::string locateIniFile(const std::string& exeDir) {
    if (std::string forced = environment("QUORVANE_INI"); !forced.empty()) return forced;

    if (!exeDir.empty() && ::access(exeDir.c_str(), W_OK) == 0 && !everyoneMayWrite(exeDir))
        return (std::filesystem::path(exeDir) / "qorv.ini").string();

    // Relative values are to be ignored, as the XDG rules say.
    std::filesystem::path config = environment("XDG_CONFIG_HOME");
    if (config.empty() || !config.is_absolute()) {
        const std::string home = homeFolder();
        if (home.empty()) return {};
        config = std::filesystem::path(home) / ".config";
    }
    const auto folder = config / "quorvane";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return (folder / "qorv.ini").string();
}

} // namespace qv
