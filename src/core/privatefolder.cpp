#include "core/privatefolder.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

std::unique_ptr<PrivateFolder> PrivateFolder::make(const std::string& parent,
                                                   const std::string& stem, std::string& error) {
    std::string path = parent + "/" + stem + "-" + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(path.data())) { // made 0700
        error = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(std::move(path)));
}

void removeStaleFolders(const std::string& parent, const std::string& stem) {
    namespace fs = std::filesystem;
    const std::string prefix = stem + "-";
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        // "<pid>-XXXXXX": the process that made it, and mkdtemp's six characters.
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const auto dash = rest.find('-');
        if (dash == 0 || dash == std::string_view::npos || rest.size() - dash - 1 != 6) continue;
        long pid = 0;
        const auto [at, bad] = std::from_chars(rest.data(), rest.data() + dash, pid);
        if (bad != std::errc() || at != rest.data() + dash || pid <= 0) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        const std::string path = it->path().string();
        if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        std::error_code ignored;
        fs::remove_all(path, ignored); // links inside are removed, never followed
    }
}

} // namespace qv
