#include "core/recent.h"

#include <algorithm>

#include "core/ini.h"

namespace qv {

namespace {

std::string recentKey(int n) {
    return "Recent" + std::to_string(n);
}

// Keys past the end of the list are written empty, so a longer old list does not
// show through behind a shorter new one.
void writeAll(IniFile& ini, const std::vector<std::string>& list) {
    for (int n = 1; n <= kRecentKeyCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        ini.writeString(recentKey(n), i < list.size() ? list[i] : std::string());
    }
}

} // namespace

std::vector<std::string> readRecent(const IniFile& ini, int maxRecent) {
    std::vector<std::string> list;
    const int count = std::clamp(maxRecent, 0, kRecentKeyCount);
    for (int n = 1; n <= count; ++n) {
        std::string path = ini.readWholeString(recentKey(n), "");
        if (path.empty()) break;
        list.push_back(std::move(path));
    }
    return list;
}

std::vector<std::string> addRecent(IniFile& ini, const std::string& path, int maxRecent) {
    const int count = std::clamp(maxRecent, 0, kRecentKeyCount);
    // What is written must read back the same, or the list would shift.
    if (path.empty() || !IniFile::readsBackUnchanged(path)) return readRecent(ini, count);

    std::vector<std::string> list;
    if (count > 0) {
        list.push_back(path);
        for (std::string& old : readRecent(ini, count)) {
            if (list.size() == static_cast<std::size_t>(kRecentKeyCount)) break;
            if (old != path) list.push_back(std::move(old));
        }
    }
    writeAll(ini, list);
    return list;
}

void clearRecent(IniFile& ini) {
    writeAll(ini, {});
}

std::string recentCaption(int n, const std::string& path) {
    const std::string number = std::to_string(n);
    return (n >= 1 && n <= 9 ? "&" + number : number) + " " + path;
}

} // namespace qv
