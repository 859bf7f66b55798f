#pragma once
#include <QString>
#include <string>

namespace qv {
// Long-name expansion: there are no short names here, so only the path is made absolute.
QString ExpandLongPath(const QString& path);
// The target stored in a ".lnk" shell link (network form preferred), or an empty
// path when the link cannot be read; any other path comes back unchanged.
QString ResolveShortcut(const QString& path);
// The folder of the running program.
QString programFolder();
// Where a file dialog opens: the name already typed, else `pattern` ("*.nes") in
// the program's folder.
QString browseStart(const QString& typed, const QString& pattern);
// A path as the file system takes it (the local 8-bit encoding; UTF-8 with
// backslashes on Windows), and back: the one way core file functions get their paths.
std::string localPath(const QString& path);
QString fromLocalPath(const std::string& path);
} // namespace qv
