#include "core/winsys.h"

#include <vector>

namespace qv::win {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring systemPath(const std::string& utf8) {
    std::wstring path = widen(utf8);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (path.empty() || path.starts_with(LR"(\\?\)") || path.starts_with(LR"(\\.\)")) return path;
    // Device names ("NUL", "CON") stay as they are: the prefix would make them files.
    DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(n);
    if (full.starts_with(LR"(\\.\)")) return full;
    if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

std::string displayPath(std::wstring_view wide) {
    if (wide.starts_with(LR"(\\?\UNC\)")) return narrow(LR"(\\)" + std::wstring(wide.substr(8)));
    if (wide.starts_with(LR"(\\?\)")) return narrow(wide.substr(4));
    return narrow(wide);
}

std::string errorText(DWORD code) {
    // glibc's words for the reasons both systems share, so that a message reads the
    // same on either.
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return "Permission denied";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return "No such file or directory";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "No space left on device";
    case ERROR_FILENAME_EXCED_RANGE:
        return "File name too long";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return "File exists";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "Cannot allocate memory";
    case ERROR_CANT_RESOLVE_FILENAME:
        return "Too many levels of symbolic links";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_USER_MAPPED_FILE:
        // No POSIX counterpart: Windows refuses to replace a file another program holds open.
        return "The file is in use by another program";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                     reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
    if (text) ::LocalFree(text);
    // One line, without the system's closing period and line break.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    if (message.empty()) return "System error " + std::to_string(code);
    return narrow(message);
}

} // namespace qv::win
