#include "gui/ips/ipscommon.h"

#include <QFile>
#include <QFileInfo>

#include "core/fileio.h"
#include "core/rom.h"
#include "core/settings.h"

namespace qv {

int baseFileSize(int n) {
    return n == 2 ? kTrainerSize : kPlainSize;
}

QString sizeText(int size) {
    return size == kTrainerSize ? QStringLiteral("41,488") : QStringLiteral("40,976");
}

bool hasExtension(const QString& path, const char* upperExt) {
    return upperExtension(localPath(path)) == upperExt;
}

bool isNesFileOfSize(const QString& path, int size) {
    if (path.isEmpty() || !hasExtension(path, ".NES")) return false;
    const auto actual = readableFileSize(localPath(path));
    return actual && *actual == static_cast<std::uintmax_t>(size);
}

bool baseFileAvailable(const Settings& s, int n) {
    if (n != 1 && n != 2) return false;
    return isNesFileOfSize(fromLocalPath(s.nesFile[static_cast<std::size_t>(n - 1)]),
                           baseFileSize(n));
}

QString withTail(const QString& path, const QString& tail) {
    return path.size() < 3 ? tail : path.left(path.size() - 3) + tail;
}

OutputName checkOutputName(const QString& path, const char* upperExt) {
    const QFileInfo fi(path);
    if (!path.isEmpty() && !QFileInfo(fi.absolutePath()).isDir()) return OutputName::BadFolder;
    if (fi.fileName().isEmpty() || fi.fileName().startsWith('.')) return OutputName::BadName;
    if (!hasExtension(path, upperExt)) return OutputName::BadExtension;
    return OutputName::Ok;
}

} // namespace qv
