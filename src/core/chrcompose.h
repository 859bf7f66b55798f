#pragma once
// Pictures of characters, metatiles and scenes composed from decoded tiles. The
// pictures name palettes and colours (see chr.h); colours are the front end's job.
#include <cstdint>
#include <functional>

#include "core/chr.h"
#include "core/chrtables.h"

namespace qv::chr {

// The attribute a cell is drawn with while its byte is `byte`. Flashing cells take
// their palette from the frame counter instead.
std::uint8_t cellAttribute(const SpriteCell& cell, std::uint8_t byte, int frameCounter = 0);

// Draws a grid of sprite cells at (x, y). `byteOf` gives the byte of a cell's control
// (0 for the grid's own byte). With `flipsFromByte` the cells' own flips are ignored:
// they were the byte's bits, and the byte shown brings its own.
using ByteOf = std::function<std::uint8_t(int control)>;
void drawCells(Picture& pic, const TileSet& tiles, const CellGrid& grid, int x, int y,
               const ByteOf& byteOf, bool flipsFromByte = false, int frameCounter = 0);

// The size a grid needs: eight pixels per cell plus the widest extra shift.
int gridWidth(const CellGrid& grid);
int gridHeight(const CellGrid& grid);

// A Color character's picture while the bytes are as `byteOf` says: its own frame,
// or the whole picture it is a part of, each part coloured by its own byte.
Picture composeCharacter(const TileSet& tiles, const SpriteFrame& frame, const ByteOf& byteOf);

void drawMetatile(Picture& pic, const TileSet& tiles, const Metatile& m, int x, int y);

// A palette page's scene: background pieces first, sprites over them. With `byteOf` the
// enemies of an area scene are drawn with the attribute bytes it gives (their palette
// group, flips and priority, as the game draws them); without it, with the scene's own.
// The Characters scene gives each of its figures a palette of its own and keeps it.
Picture composeScene(const TileSet& tiles, const Scene& scene, const ByteOf& byteOf = {});

} // namespace qv::chr
