#include "gui/dialogs/spritepicture.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include "core/document.h"

namespace qv {

namespace {

QRgb halfway(QRgb a, QRgb b) {
    return qRgb((qRed(a) + qRed(b)) / 2, (qGreen(a) + qGreen(b)) / 2, (qBlue(a) + qBlue(b)) / 2);
}

QRgb colorOfPixel(std::uint8_t p, const PictureColors& colors) {
    const std::size_t slot =
        static_cast<std::size_t>(chr::pixelPalette(p) * 4 + chr::pixelColor(p));
    const QRgb c = (p & chr::kSpritePalette) ? colors.sprite[slot] : colors.background[slot];
    return (p & chr::kBehind) ? halfway(c, colors.backdrop) : c;
}

} // namespace

QImage renderPicture(const chr::Picture& pic, const PictureColors& colors, int scale) {
    QImage img(pic.width * scale, pic.height * scale, QImage::Format_RGB32);
    img.fill(colors.backdrop);
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            const std::uint8_t p = pic.at(x, y);
            if (p == 0) continue;
            const QRgb c = colorOfPixel(p, colors);
            for (int sy = 0; sy < scale; ++sy) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y * scale + sy));
                for (int sx = 0; sx < scale; ++sx)
                    line[x * scale + sx] = c;
            }
        }
    }
    return img;
}

QImage renderPictureInBox(const chr::Picture& pic, const PictureColors& colors, int scale,
                          QSize box) {
    QImage img(box, QImage::Format_RGB32);
    img.fill(colors.backdrop);
    const QImage drawn = renderPicture(pic, colors, scale);
    const int x = (box.width() - drawn.width()) / 2;
    const int y = drawn.height() > box.height() ? 0 : (box.height() - drawn.height()) / 2;
    QPainter painter(&img);
    painter.drawImage(x, y, drawn);
    return img;
}

namespace {

class PixelArtEngine final : public QIconEngine {
  public:
    explicit PixelArtEngine(QImage art) : art_(std::move(art)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // `size` in device pixels, as QIcon::pixmap() asks for it.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override {
        QPixmap pm =
            QPixmap::fromImage(art_.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        pm.setDevicePixelRatio(scale);
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {art_.size()}; }
    bool isNull() override { return art_.isNull(); }
    QString key() const override { return QStringLiteral("PixelArtEngine"); }
    QIconEngine* clone() const override { return new PixelArtEngine(art_); }

  private:
    QImage art_;
};

} // namespace

QIcon pixelArtIcon(const QImage& art) {
    return QIcon(new PixelArtEngine(art));
}

const chr::TileSet& documentTiles(const RomDocument& doc) {
    static chr::TileCache cache;
    return cache.tiles(doc.image(), doc.shift());
}

} // namespace qv
