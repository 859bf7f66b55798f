#pragma once
// Where the settings file lives.
#include <string>

namespace qv {

// $QUORVANE_INI when set and not empty; else qorv.ini in exeDir when that folder is
// writable; else $XDG_CONFIG_HOME/quorvane/qorv.ini (~/.config when the variable is
// unset or not absolute), creating the folder. A folder that cannot be created is
// left to fail at the first save, with the system's reason.
std::string locateIniFile(const std::string& exeDir);

} // namespace qv
