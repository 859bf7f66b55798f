#include "gui/main/icons.h"

#include <QImage>
#include <QPixmap>
#include <array>

#include "gui/about/iconpixels.h"

namespace qv {

QIcon toolIcon(int index) {
    static std::array<QIcon, 13> cache;
    if (index < 0 || index >= static_cast<int>(cache.size())) return {};
    if (cache[index].isNull()) {
        // Drawn at build time: made from the built-in pixels, not painted here.
        const IconPixels& p = toolImagePixels()[static_cast<std::size_t>(index)];
        cache[index] = QIcon(QPixmap::fromImage(QImage(p.bits, p.width, p.height,
                                                       static_cast<qsizetype>(p.bytesPerLine),
                                                       static_cast<QImage::Format>(p.format))));
    }
    return cache[index];
}

} // namespace qv
