#pragma once
// Windows only: the text conversions at the system calls. Inside the program every
// string is UTF-8; the system's wide ("W") functions take UTF-16.
#ifdef _WIN32
#include <windows.h>

#include <string>
#include <string_view>

namespace qv::win {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// A path as the wide file functions take it: absolute, with backslashes, and with
// the "\\?\" prefix that lifts the 260-character limit (which also turns off the
// system's own rewriting of the path, hence the full path first).
std::wstring systemPath(const std::string& utf8);
// A path that systemPath made, back in the usual form ("\\?\C:\x" -> "C:\x").
std::string displayPath(std::wstring_view wide);

// The reason for a failed call in the words the POSIX layer uses where there is
// one ("Permission denied", "No space left on device"), else the system's own.
std::string errorText(DWORD code);

} // namespace qv::win
#endif
