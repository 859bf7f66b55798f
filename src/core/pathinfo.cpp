#include "core/pathinfo.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace qv {

std::string notAFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "The file does not exist.";
        if (errno == ELOOP) return "is a loop of links";
        return std::strerror(errno);
    }
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return "is a folder, not a file";
    if (S_ISFIFO(st.st_mode)) return "is a FIFO (named pipe), not a file";
    if (S_ISSOCK(st.st_mode)) return "is a socket, not a file";
    return "is a device, not a file";
}

} // namespace qv
