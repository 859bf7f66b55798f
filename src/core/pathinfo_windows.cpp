#include "core/pathinfo.h"

#include <windows.h>

#include "core/winsys.h"

namespace qv {

// As on POSIX, in the words that fit Windows: no FIFOs or sockets in the file
// system, but devices (NUL, CON) and pipes by name.
std::string notAFile(const std::string& path) {
    const std::wstring sys = win::systemPath(path);
    if (sys.starts_with(LR"(\\.\)")) return "is a device, not a file";
    const DWORD attributes = ::GetFileAttributesW(sys.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return "The file does not exist.";
        return win::errorText(code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder, not a file";
    if (attributes & FILE_ATTRIBUTE_DEVICE) return "is a device, not a file";
    return {};
}

} // namespace qv
