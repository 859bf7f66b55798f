#include "gui/main/paths.h"

#include <QFile>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <vector>

#ifdef QV_HAVE_LIBLNK
#include <liblnk.h>
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
#ifdef QV_HAVE_LIBLNK
    liblnk_file_t* file = nullptr;
    if (liblnk_file_initialize(&file, nullptr) == 1) {
        if (liblnk_file_open(file, QFile::encodeName(path).constData(), LIBLNK_OPEN_READ,
                             nullptr) == 1) {
            target = linkString(file, liblnk_file_get_utf8_network_path_size,
                                liblnk_file_get_utf8_network_path);
            if (target.isEmpty())
                target = linkString(file, liblnk_file_get_utf8_local_path_size,
                                    liblnk_file_get_utf8_local_path);
            liblnk_file_close(file, nullptr);
        }
        liblnk_file_free(&file, nullptr);
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

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString fromLocalPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace qv
