#include "gui/main/icons.h"

#include <QImage>
#include <QPixmap>
#include <array>

#include "gui/about/iconpixels.h"

namespace qv {

QIcon toolIcon(int index) {
    static std::array<QIcon, 14> cache;
    if (index < 0 || index >= static_cast<int>(cache.size())) return {};
    if (cache[index].isNull()) {
        // Drawn at build time: made from the built-in pixels, not painted here.
        const auto all = toolImagePixels();
        const std::size_t sizes = all.size() / cache.size();
        QIcon icon;
        for (const IconPixels& p : all.subspan(static_cast<std::size_t>(index) * sizes, sizes))
            icon.addPixmap(QPixmap::fromImage(QImage(p.bits, p.width, p.height,
                                                     static_cast<qsizetype>(p.bytesPerLine),
                                                     static_cast<QImage::Format>(p.format))));
        cache[index] = icon;
    }
    return cache[index];
}

} // namespace qv
