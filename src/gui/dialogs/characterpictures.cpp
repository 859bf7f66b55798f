#include "gui/dialogs/characterpictures.h"

#include <QIcon>
#include <QPixmap>
#include <QToolButton>

#include "core/chrcompose.h"
#include "core/document.h"
#include "core/nescolors.h"
#include "core/valuefields.h"
#include "gui/dialogs/dialoghost.h"

namespace qv {

namespace {

QRgb screenColor(int source, int index) {
    const Rgb c = nesColor(source, index);
    return qRgb(c.r, c.g, c.b);
}

// The image's Ground colours: the sky behind every picture and the four sprite
// palettes the palette groups name.
PictureColors groundColors(const RomDocument& doc, int source) {
    PictureColors colors;
    const chr::Scene* ground = chr::findScene(0);
    const auto byteAt = [&](int offset) {
        return doc.image()[static_cast<std::size_t>(shifted(offset, doc.shift()))];
    };
    colors.backdrop = screenColor(source, byteAt(ground->colors.background));
    for (int p = 0; p < 4; ++p) {
        const int row = ground->colors.spriteRows[static_cast<std::size_t>(p)];
        for (int c = 1; c < 4; ++c)
            colors.sprite[static_cast<std::size_t>(p * 4 + c)] =
                screenColor(source, byteAt(row + c - 1));
    }
    return colors;
}

} // namespace

CharacterPictures::CharacterPictures(DialogHost& host, ValueFields& fields, QObject* parent)
    : QObject(parent), host_(host), fields_(fields) {}

void CharacterPictures::add(int offset, QToolButton* button) {
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(kBox);
    // Room for the picture from the start: a dialog laid out before its pictures are
    // drawn (a spare, made ahead) is measured at the size it opens with.
    static const QIcon room = [] {
        QPixmap blank(kBox);
        blank.fill(Qt::transparent);
        return QIcon(blank);
    }();
    button->setIcon(room);
    entries_.push_back({offset, button});
}

void CharacterPictures::drawAll() {
    colors_ = groundColors(host_.document(), host_.paletteSource());
    for (const Entry& e : entries_)
        draw(e);
}

void CharacterPictures::changed(int offset) {
    for (const Entry& e : entries_)
        if (shows(e, offset)) draw(e);
}

bool CharacterPictures::shows(const Entry& e, int offset) const {
    if (e.offset == offset) return true;
    const chr::SpriteFrame* frame = chr::findSpriteFrame(e.offset);
    if (!frame || frame->composite < 0) return false;
    const auto& whole = chr::composites()[static_cast<std::size_t>(frame->composite)];
    for (const chr::SpriteCell& c : whole.grid.cells)
        if (c.control == offset) return true;
    return false;
}

void CharacterPictures::draw(const Entry& e) {
    const chr::SpriteFrame* frame = chr::findSpriteFrame(e.offset);
    if (!frame) return;
    const chr::TileSet& tiles = documentTiles(host_.document());
    // Bytes the panel cannot show ("Do Not Modify") are drawn as the game reads them.
    const chr::Picture pic = chr::composeCharacter(tiles, *frame, [this](int offset) {
        return static_cast<std::uint8_t>(fields_.value(offset) & 0xFF);
    });
    // One pixel a picture pixel, repeated to the button's size on any screen.
    e.button->setIcon(pixelArtIcon(renderPictureInBox(pic, colors_, 1, kBox / kScale)));
}

} // namespace qv
