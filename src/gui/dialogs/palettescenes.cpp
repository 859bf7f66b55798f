#include "gui/dialogs/palettescenes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QTabWidget>

#include "core/chrcompose.h"

namespace qv {

namespace {

// The scene's colours: each palette's colours 1-3 from three consecutive bytes;
// background palette 3 takes colour 1 from the shine and colours 2-3 from the coin row.
PictureColors sceneColors(const chr::SceneColors& s, const SceneStrips::ColorAt& colorAt,
                          QRgb shine) {
    PictureColors c;
    c.backdrop = colorAt(s.background);
    for (std::size_t p = 0; p < 3; ++p)
        for (int i = 1; i < 4; ++i)
            c.background[p * 4 + static_cast<std::size_t>(i)] = colorAt(s.bgRows[p] + i - 1);
    c.background[13] = shine;
    c.background[14] = colorAt(s.coinRow);
    c.background[15] = colorAt(s.coinRow + 1);
    for (std::size_t p = 0; p < 4; ++p)
        for (int i = 1; i < 4; ++i)
            c.sprite[p * 4 + static_cast<std::size_t>(i)] = colorAt(s.spriteRows[p] + i - 1);
    for (std::size_t p = 0; p < 4; ++p) // colour 0 is the backdrop everywhere
        c.background[p * 4] = c.sprite[p * 4] = c.backdrop;
    return c;
}

} // namespace

SceneStrip::SceneStrip(const chr::Scene& scene, QWidget* parent)
    : QFrame(parent), scene_(scene), picture_(scene.width, scene.height) {
    setObjectName(QStringLiteral("ImgScene%1").arg(scene.page + 1));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFixedSize(scene.width * kScale + 2, scene.height * kScale + 2);
}

void SceneStrip::setTiles(const chr::TileSet& tiles, const chr::ByteOf& byteOf) {
    picture_ = chr::composeScene(tiles, scene_, byteOf);
    colors_.reset();
}

void SceneStrip::setColors(const PictureColors& colors) {
    if (colors_ == colors) return;
    colors_ = colors;
    image_ = renderPicture(picture_, colors, kScale);
    update();
}

void SceneStrip::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter painter(this);
    // Pixel art stays square at any scale of the screen: never smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(contentsRect().topLeft(), image_);
}

SceneStrips::SceneStrips(QObject* parent) : QObject(parent) {}

void SceneStrips::addTo(QTabWidget* pages) {
    for (const chr::Scene& scene : chr::paletteScenes()) {
        QWidget* page = pages->widget(scene.page);
        auto* box = page ? page->findChild<QGroupBox*>() : nullptr;
        auto* grid = box ? qobject_cast<QGridLayout*>(box->layout()) : nullptr;
        if (!grid) continue;
        auto* strip = new SceneStrip(scene, box);
        // Beside the rows, below the Reset buttons; an empty row under the rows takes
        // what the strip is taller than they are, so the rows keep their spacing.
        const int rows = grid->rowCount();
        grid->setRowStretch(rows, 1);
        grid->addWidget(strip, 1, grid->columnCount(), rows, 1, Qt::AlignTop | Qt::AlignRight);
        strips_[static_cast<std::size_t>(scene.page)] = strip;
    }
}

void SceneStrips::setTiles(const chr::TileSet& tiles, const chr::ByteOf& byteOf) {
    for (SceneStrip* s : strips_)
        if (s) s->setTiles(tiles, byteOf);
}

void SceneStrips::refresh(int page, const ColorAt& colorAt, QRgb shine) {
    if (SceneStrip* s = strip(page)) s->setColors(sceneColors(s->scene().colors, colorAt, shine));
}

int SceneStrips::tick(int count) {
    if (++step_ >= count) step_ = 0;
    return step_;
}

SceneStrip* SceneStrips::strip(int page) const {
    if (page < 0 || page >= static_cast<int>(strips_.size())) return nullptr;
    return strips_[static_cast<std::size_t>(page)];
}

} // namespace qv
