#include "gui/main/paths.h"

#include <QFile>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <vector>

#include "core/system.h"

#ifdef QV_HAVE_LIBLNK
#include <dlfcn.h>
#include <liblnk.h>

#include <type_traits>
#endif

namespace qv {

QString ExpandLongPath(const QString& path) {
    if (path.isEmpty()) return path;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

#ifdef QV_HAVE_LIBLNK
namespace {
using Getter = int (*)(liblnk_file_t*, uint8_t*, size_t, liblnk_error_t**);
using SizeGetter = int (*)(liblnk_file_t*, size_t*, liblnk_error_t**);

// liblnk is loaded the first time a link is opened, not at start-up: few sessions
// ever open one. Without the library every link reads as unreadable.
struct LinkLibrary {
    decltype(&liblnk_file_initialize) initialize = nullptr;
    decltype(&liblnk_file_open) open = nullptr;
    decltype(&liblnk_file_close) close = nullptr;
    decltype(&liblnk_file_free) free = nullptr;
    SizeGetter networkSize = nullptr;
    Getter network = nullptr;
    SizeGetter localSize = nullptr;
    Getter local = nullptr;
    bool loaded = false;

    LinkLibrary() {
        void* lib = nullptr;
        for (const char* name : {"liblnk.so.1", "liblnk.so"})
            if ((lib = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
        if (!lib) return;
        const auto bind = [lib](auto& fn, const char* symbol) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(lib, symbol));
            return fn != nullptr;
        };
        loaded = bind(initialize, "liblnk_file_initialize") && bind(open, "liblnk_file_open") &&
                 bind(close, "liblnk_file_close") && bind(free, "liblnk_file_free") &&
                 bind(networkSize, "liblnk_file_get_utf8_network_path_size") &&
                 bind(network, "liblnk_file_get_utf8_network_path") &&
                 bind(localSize, "liblnk_file_get_utf8_local_path_size") &&
                 bind(local, "liblnk_file_get_utf8_local_path");
        // The library stays loaded for the rest of the process, as a linked one would.
    }
};

const LinkLibrary& linkLibrary() {
    static const LinkLibrary library;
    return library;
}

QString linkString(liblnk_file_t* file, SizeGetter sizeOf, Getter get) {
    size_t size = 0;
    if (sizeOf(file, &size, nullptr) != 1 || size == 0 || size > 4096) return {};
    std::vector<uint8_t> buf(size);
    if (get(file, buf.data(), buf.size(), nullptr) != 1) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(buf.data()));
}
} // namespace
#endif

QString ResolveShortcut(const QString& path) {
    if (!path.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive)) return path;
    QString target;
#ifdef _WIN32
    // The shell reads its own links.
    if (const auto stored = shellLinkTarget(localPath(path))) target = fromLocalPath(*stored);
#elif defined(QV_HAVE_LIBLNK)
    const LinkLibrary& lnk = linkLibrary();
    liblnk_file_t* file = nullptr;
    if (lnk.loaded && lnk.initialize(&file, nullptr) == 1) {
        if (lnk.open(file, QFile::encodeName(path).constData(), LIBLNK_OPEN_READ, nullptr) == 1) {
            target = linkString(file, lnk.networkSize, lnk.network);
            if (target.isEmpty()) target = linkString(file, lnk.localSize, lnk.local);
            lnk.close(file, nullptr);
        }
        lnk.free(&file, nullptr);
    }
#endif
    // The stored target is limited as the shell limits it.
    return target.left(260);
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString browseStart(const QString& typed, const QString& pattern) {
    return typed.isEmpty() ? programFolder() + QLatin1Char('/') + pattern : typed;
}

// The core's paths are UTF-8 on Windows, where the 8-bit code page could not name
// every file; QFile's encoding is the file system's own elsewhere.
std::string localPath(const QString& path) {
#ifdef _WIN32
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fromLocalPath(const std::string& path) {
#ifdef _WIN32
    return QDir::fromNativeSeparators(QString::fromStdString(path));
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

} // namespace qv
