#pragma once
// Where the settings file lives.
#include <string>

namespace qv {

// $QUORVANE_INI when set and not empty; else qorv.ini in exeDir when that folder is
// writable, and not by everyone (another user could put a link there first); else
// $XDG_CONFIG_HOME/quorvane/qorv.ini (~/.config when the variable is unset or not
// absolute), creating the folder. A folder that cannot be created is left to fail
// at the first save, with the system's reason. Empty when there is no home folder
// ($HOME unset, no passwd entry) to put it in: never a shared folder such as /tmp;
// the settings then live in memory (an IniFile with no path).
std::string locateIniFile(const std::string& exeDir);

} // namespace qv
