#include "core/system.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <vector>

#include "core/winsys.h"

namespace qv {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int n = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(win::narrow(wide[i]));
    ::LocalFree(wide);
    return out;
}

void useBinaryStandardStreams() {
    for (std::FILE* stream : {stdin, stdout, stderr})
        ::_setmode(::_fileno(stream), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
}

std::string executableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);
    }
    const auto slash = name.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : win::narrow(name.substr(0, slash));
}

std::optional<std::string> environmentValue(const char* name) {
    const std::wstring key = win::widen(name);
    const DWORD n = ::GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (n == 0) {
        if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    std::wstring value(n, L'\0');
    value.resize(::GetEnvironmentVariableW(key.c_str(), value.data(), n));
    return win::narrow(value);
}

void setEnvironmentValue(const char* name, const std::optional<std::string>& value) {
    // Both the system's block (what started programs inherit) and the C runtime's
    // copy (what getenv reads).
    const std::wstring key = win::widen(name);
    const std::wstring text = value ? win::widen(*value) : std::wstring();
    ::SetEnvironmentVariableW(key.c_str(), value ? text.c_str() : nullptr);
    ::_wputenv_s(key.c_str(), text.c_str());
}

std::string homeFolder() {
    if (auto home = environmentValue("USERPROFILE"); home && !home->empty()) return *home;
    return {};
}

long processId() {
    return static_cast<long>(::GetCurrentProcessId());
}

void* openLibrary(const std::string& path, std::string& error) {
    // The library's own folder is searched for the DLLs it needs, as a program's is.
    HMODULE module =
        ::LoadLibraryExW(win::systemPath(path).c_str(), nullptr,
                         LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module) error = win::errorText(::GetLastError());
    return reinterpret_cast<void*>(module);
}

void* librarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library) {
    ::FreeLibrary(static_cast<HMODULE>(library));
}

std::optional<std::string> shellLinkTarget(const std::string& path) {
    // COM for this thread, unless the caller (a Qt program) has set it up already.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::optional<std::string> target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(win::widen(path).c_str(), STGM_READ))) {
                // The stored path, the network form first (as on POSIX); not
                // resolved, which would search the disk and may show a window.
                std::vector<wchar_t> buffer(32768);
                if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr,
                                  SLGP_UNCPRIORITY) == S_OK)
                    target = win::narrow(buffer.data());
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return target;
}

} // namespace qv
