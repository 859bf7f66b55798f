#pragma once
// The recently opened files, kept only in the settings file as Recent1..Recent32,
// most recent first. The menus that show the list are built from readRecent().
#include <string>
#include <vector>

namespace qv {

class IniFile;

constexpr int kRecentKeyCount = 32;

// Recent1..Recent<maxRecent>, stopping at the first empty entry.
std::vector<std::string> readRecent(const IniFile& ini, int maxRecent);
// Puts path first, followed by the old entries 1..maxRecent without path itself
// (exact comparison), at most 32, and writes all 32 keys (unused ones empty). The
// stored list may thus hold maxRecent + 1 entries, of which readRecent() shows
// maxRecent. With maxRecent 0 the list is emptied. An empty path, or one that
// cannot be stored, changes nothing. Returns the list as stored.
std::vector<std::string> addRecent(IniFile& ini, const std::string& path, int maxRecent);
// Empties all 32 entries.
void clearRecent(IniFile& ini);
// Menu caption of entry n (1-based): "&1 path" up to 9, "10 path" from 10 on.
std::string recentCaption(int n, const std::string& path);

} // namespace qv
