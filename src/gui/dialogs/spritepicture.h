#pragma once
// Composed CHR pictures on screen: the document's tiles (decoded once per image) and
// the colouring of a picture's palette-and-colour pixels into a crisp, scaled image.
#include <QIcon>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <array>

#include "core/chr.h"

namespace qv {

class RomDocument;

// Screen colours of the four background and four sprite palettes (colour 0 of each
// unused) and of the backdrop the picture stands on.
struct PictureColors {
    std::array<QRgb, 16> background{}; // palette * 4 + colour
    std::array<QRgb, 16> sprite{};
    QRgb backdrop = 0xFF000000;
    bool operator==(const PictureColors&) const = default;
};

// The picture `scale` times its size over the backdrop; a sprite behind the
// background is dimmed half way to the backdrop.
QImage renderPicture(const chr::Picture& pic, const PictureColors& colors, int scale);

// The same inside a box of fixed size: centred, or from the top when too tall.
QImage renderPictureInBox(const chr::Picture& pic, const PictureColors& colors, int scale,
                          QSize box);

// An icon of pixel art given one image pixel to a picture pixel: drawn at any size and
// device pixel ratio by repeating pixels (nearest neighbour), never smoothed.
QIcon pixelArtIcon(const QImage& art);

// The tiles of the document's image; decoded again only when its CHR bytes change.
const chr::TileSet& documentTiles(const RomDocument& doc);

} // namespace qv
