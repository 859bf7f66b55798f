#include "core/chrcompose.h"

#include <algorithm>

namespace qv::chr {

namespace {

const Composite* compositeOf(const SpriteFrame& frame) {
    const auto all = composites();
    if (frame.composite < 0 || frame.composite >= static_cast<int>(all.size())) return nullptr;
    return &all[static_cast<std::size_t>(frame.composite)];
}

bool isSprite(PieceKind k) {
    return k != PieceKind::Metatile && k != PieceKind::Group;
}

void drawGroup(Picture& pic, const TileSet& tiles, const MetatileGroup& g, int x, int y) {
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            if (const Metatile* m = findMetatile(g.cells[static_cast<std::size_t>(r * g.cols + c)]))
                drawMetatile(pic, tiles, *m, x + c * 16, y + r * 16);
}

const SpriteFrame* frameNamed(std::string_view control) {
    for (const SpriteFrame& f : spriteFrames())
        if (f.control == control) return &f;
    return nullptr;
}

void drawPiece(Picture& pic, const TileSet& tiles, const ScenePiece& p, const ByteOf& byteOf) {
    const ByteOf fixed = [&p](int) { return p.attr; };
    switch (p.kind) {
    case PieceKind::Metatile:
        if (const Metatile* m = findMetatile(p.name)) drawMetatile(pic, tiles, *m, p.x, p.y);
        break;
    case PieceKind::Group:
        if (const MetatileGroup* g = findMetatileGroup(p.name)) drawGroup(pic, tiles, *g, p.x, p.y);
        break;
    case PieceKind::Frame:
        if (const SpriteFrame* f = frameNamed(p.name)) {
            if (byteOf)
                drawCells(
                    pic, tiles, f->grid, p.x, p.y,
                    [&](int control) { return byteOf(control ? control : f->offset); },
                    f->flipsFromByte);
            else
                drawCells(pic, tiles, f->grid, p.x, p.y, fixed);
        }
        break;
    case PieceKind::Composite:
        for (const Composite& c : composites())
            if (c.name == p.name) drawCells(pic, tiles, c.grid, p.x, p.y, fixed);
        break;
    case PieceKind::SmallPlayer:
        drawCells(pic, tiles, smallPlayer(), p.x, p.y, fixed);
        break;
    case PieceKind::BigPlayer:
        drawCells(pic, tiles, bigPlayer(), p.x, p.y, fixed);
        break;
    }
}

} // namespace

std::uint8_t cellAttribute(const SpriteCell& cell, std::uint8_t byte, int frameCounter) {
    const std::uint8_t base = (cell.flags & kCycle)
                                  ? static_cast<std::uint8_t>((frameCounter >> 1) & 3)
                                  : static_cast<std::uint8_t>(byte & cell.attrAnd);
    return static_cast<std::uint8_t>(base | cell.attrOr);
}

int gridWidth(const CellGrid& grid) {
    int extra = 0;
    for (const SpriteCell& c : grid.cells)
        if (c.tile >= 0) extra = std::max(extra, c.dx);
    return grid.cols * 8 + extra;
}

int gridHeight(const CellGrid& grid) {
    return grid.rows * 8;
}

void drawCells(Picture& pic, const TileSet& tiles, const CellGrid& grid, int x, int y,
               const ByteOf& byteOf, bool flipsFromByte, int frameCounter) {
    const std::size_t n =
        std::min(grid.cells.size(), static_cast<std::size_t>(grid.cols * grid.rows));
    for (std::size_t i = 0; i < n; ++i) {
        const SpriteCell& c = grid.cells[i];
        if (c.tile < 0) continue;
        const std::uint8_t a = cellAttribute(c, byteOf(c.control), frameCounter);
        const bool ownFlips = !flipsFromByte;
        TilePlacement at;
        at.x = x + static_cast<int>(i % static_cast<std::size_t>(grid.cols)) * 8 + c.dx;
        at.y = y + static_cast<int>(i / static_cast<std::size_t>(grid.cols)) * 8;
        at.hflip = (ownFlips && (c.flags & kH)) || (a & 0x40);
        at.vflip = (ownFlips && (c.flags & kV)) || (a & 0x80);
        at.palette = a & 3;
        at.sprite = true;
        at.behind = a & 0x20;
        drawTile(pic, tiles.sprite(c.tile), at);
    }
}

Picture composeCharacter(const TileSet& tiles, const SpriteFrame& frame, const ByteOf& byteOf) {
    if (const Composite* whole = compositeOf(frame)) {
        Picture pic(gridWidth(whole->grid), gridHeight(whole->grid));
        // Each part keeps the flip rule of its own character.
        for (std::size_t i = 0; i < whole->grid.cells.size(); ++i) {
            const SpriteCell& c = whole->grid.cells[i];
            if (c.tile < 0) continue;
            const SpriteFrame* part = findSpriteFrame(c.control);
            const CellGrid one{1, 1, whole->grid.cells.subspan(i, 1)};
            const int col = static_cast<int>(i % static_cast<std::size_t>(whole->grid.cols));
            const int row = static_cast<int>(i / static_cast<std::size_t>(whole->grid.cols));
            drawCells(pic, tiles, one, col * 8, row * 8, byteOf, part && part->flipsFromByte);
        }
        return pic;
    }
    Picture pic(gridWidth(frame.grid), gridHeight(frame.grid));
    const int own = frame.offset;
    drawCells(
        pic, tiles, frame.grid, 0, 0, [&](int control) { return byteOf(control ? control : own); },
        frame.flipsFromByte);
    return pic;
}

void drawMetatile(Picture& pic, const TileSet& tiles, const Metatile& m, int x, int y) {
    for (int i = 0; i < 4; ++i) {
        TilePlacement at;
        at.x = x + (i % 2) * 8;
        at.y = y + (i / 2) * 8;
        at.palette = m.palette;
        drawTile(pic, tiles.background(m.tiles[static_cast<std::size_t>(i)]), at);
    }
}

Picture composeScene(const TileSet& tiles, const Scene& scene, const ByteOf& byteOf) {
    Picture pic(scene.width, scene.height);
    for (const ScenePiece& p : scene.pieces)
        if (!isSprite(p.kind)) drawPiece(pic, tiles, p, byteOf);
    for (const ScenePiece& p : scene.pieces)
        if (isSprite(p.kind)) drawPiece(pic, tiles, p, byteOf);
    return pic;
}

} // namespace qv::chr
