#include "core/system.h"

#include <cstdlib>
#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

namespace qv {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void useBinaryStandardStreams() {}

std::string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

void setEnvironmentValue(const char* name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

std::string homeFolder() {
    if (auto home = environmentValue("HOME"); home && !home->empty()) return *home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

long processId() {
    return static_cast<long>(::getpid());
}

void* openLibrary(const std::string& path, std::string& error) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        error = why ? why : "unknown error";
    }
    return handle;
}

void* librarySymbol(void* library, const char* name) {
    return ::dlsym(library, name);
}

void closeLibrary(void* library) {
    ::dlclose(library);
}

std::optional<std::string> shellLinkTarget(const std::string&) {
    return std::nullopt;
}

} // namespace qv
