#pragma once
// Where the game's pictures are in its CHR tiles: one representative frame of each
// Color character (the tile grid, the flips the drawing code adds and how the
// character's attribute byte reaches each sprite), the pictures made of several
// characters, Mario, the background metatiles and the palette scenes built from them.
// Tile numbers are those of the unmodified game; an image with new graphics shows its
// own tiles in the same places.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace qv::chr {

// Cell flags: the game's own flips of the cell, and a palette taken from the frame
// counter instead of the byte (flashing items).
inline constexpr std::uint8_t kH = 1;
inline constexpr std::uint8_t kV = 2;
inline constexpr std::uint8_t kCycle = 4;

struct SpriteCell {
    int tile = -1; // in the sprite table; -1: nothing drawn
    std::uint8_t flags = 0;
    int dx = 0; // extra shift right, in pixels
    // The cell's attribute is (byte & attrAnd) | attrOr; a fixed attribute has attrAnd 0.
    std::uint8_t attrAnd = 0xFF;
    std::uint8_t attrOr = 0;
    int control = 0; // in composites: the offset of the byte that colours this cell
};

struct CellGrid {
    int cols = 0;
    int rows = 0;
    std::span<const SpriteCell> cells; // row by row, top row first
};

struct SpriteFrame {
    int offset;               // the character's attribute byte
    std::string_view control; // "Spd686B"
    CellGrid grid;
    // The flips in the cells are the byte's own bits in the unmodified image, not the
    // drawing code's: a preview takes them from the byte shown.
    bool flipsFromByte;
    int composite; // index into composites(): the character is drawn as part of it; -1 none
};
std::span<const SpriteFrame> spriteFrames();
const SpriteFrame* findSpriteFrame(int offset);

// A picture of several characters, each cell tagged with the byte that colours it.
struct Composite {
    std::string_view name;
    CellGrid grid;
};
std::span<const Composite> composites();

// Mario standing, facing right, in sprite palette 0.
const CellGrid& smallPlayer();
const CellGrid& bigPlayer();

// A 16x16 background block: four tiles of the background table and its palette row.
struct Metatile {
    std::string_view name;
    int palette;
    std::array<std::uint8_t, 4> tiles; // top left, top right, bottom left, bottom right
};
std::span<const Metatile> metatiles();
const Metatile* findMetatile(std::string_view name);

// Metatiles that stand together (a cloud, a bush, a pipe), row by row.
struct MetatileGroup {
    std::string_view name;
    int cols;
    int rows;
    std::span<const std::string_view> cells;
};
const MetatileGroup* findMetatileGroup(std::string_view name);

// One thing in a palette scene, its top-left corner in pixels. Sprites take `attr` as
// their attribute byte on top of the flips the game draws them with.
enum class PieceKind { Metatile, Group, Frame, Composite, SmallPlayer, BigPlayer };
struct ScenePiece {
    PieceKind kind;
    std::string_view name; // metatile, group or composite name; a Frame's control name
    int x;
    int y;
    std::uint8_t attr = 0;
};

// Where a scene's colours come from, as offsets of colour bytes: the background
// colour, background palettes 0-2 (three colours each), colours 2-3 of background
// palette 3 (its colour 1 is the current shine colour), sprite palettes 0-3.
struct SceneColors {
    int background;
    std::array<int, 3> bgRows;
    int coinRow;
    std::array<int, 4> spriteRows;
};

// The scene of a Palette page: 0-3 the area pages, 6 the Characters page.
struct Scene {
    int page;
    int width;
    int height;
    SceneColors colors;
    std::span<const ScenePiece> pieces;
};
std::span<const Scene> paletteScenes();
const Scene* findScene(int page);

} // namespace qv::chr
