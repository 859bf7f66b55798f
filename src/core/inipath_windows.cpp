// Where the settings file lives on Windows: the rule of inipath.h with the
// system's folders.
#include "core/inipath.h"

#include <windows.h>

#include "core/system.h"
#include "core/winsys.h"

namespace qv {

// $QUORVANE_INI when set and not empty; else qorv.ini in exeDir when that folder
// holds one (a copy carried on a stick keeps its settings beside it); else
// %APPDATA%\Quorvane\qorv.ini, creating the folder. Unlike POSIX a writable program
// folder is not enough: under Program Files it is writable only for the
// administrator, and each user's settings belong in their own profile.
std::string locateIniFile(const std::string& exeDir) {
    if (auto forced = environmentValue("QUORVANE_INI"); forced && !forced->empty()) return *forced;

    if (!exeDir.empty()) {
        const std::string beside = exeDir + "\\qorv.ini";
        const DWORD attributes = ::GetFileAttributesW(win::systemPath(beside).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return beside;
    }
    std::string appData = environmentValue("APPDATA").value_or("");
    if (appData.empty()) appData = homeFolder() + "\\AppData\\Roaming";
    const std::string folder = appData + "\\Quorvane";
    std::error_code ec;
    std::filesystem::create_directories(win::systemPath(folder), ec);
    return folder + "\\qorv.ini";
}

} // namespace qv
