#pragma once
// The game's character graphics: 512 tiles of 8x8 pixels with two bit planes each, in
// the image's CHR bank (the sprite pattern table first, the background table second).
// Pictures are composed from tiles as one byte per pixel naming the palette and colour
// the pixel takes, so a front end recolours them without touching the tiles again.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qv::chr {

inline constexpr int kChrOffset = 0x8010; // in the trainer-less layout
inline constexpr int kChrBytes = 8192;
inline constexpr int kTileBytes = 16;
inline constexpr int kTilesPerTable = 256;
inline constexpr int kTileCount = 2 * kTilesPerTable;

// Colour indices 0..3 of an 8x8 tile, row by row; 0 is the see-through colour.
struct Tile {
    std::array<std::uint8_t, 64> px{};
    std::uint8_t at(int x, int y) const { return px[static_cast<std::size_t>(y * 8 + x)]; }
    bool operator==(const Tile&) const = default;
};

// Bytes 0-7 are plane 0 and bytes 8-15 plane 1, one byte per row, the leftmost pixel
// in the high bit. Missing bytes of a short span read as 0.
Tile decodeTile(std::span<const std::uint8_t> bytes);

class TileSet {
  public:
    // The CHR bank of an image whose parameter offsets are moved by `shift` (the
    // trainer). Bytes past the end of `image` read as 0, so a short image gives blank
    // tiles rather than a fault.
    static TileSet decode(std::span<const std::uint8_t> image, int shift);

    // Tile numbers outside 0..255 give a blank tile.
    const Tile& sprite(int tile) const;
    const Tile& background(int tile) const;

  private:
    std::array<Tile, kTileCount> tiles_{};
};

// Decodes only when the CHR bytes differ from the last ones decoded: one decode per
// image, however often a dialog asks.
class TileCache {
  public:
    const TileSet& tiles(std::span<const std::uint8_t> image, int shift);
    int decodes() const { return decodes_; }

  private:
    std::vector<std::uint8_t> raw_;
    TileSet tiles_;
    int decodes_ = 0;
};

// A composed pixel: 0 is nothing drawn, else kOpaque with the colour (1..3) in bits
// 0-1, the palette (0..3) in bits 2-3, kSpritePalette for the sprite palettes rather
// than the background ones, and kBehind for a sprite drawn behind the background.
inline constexpr std::uint8_t kOpaque = 0x80;
inline constexpr std::uint8_t kBehind = 0x40;
inline constexpr std::uint8_t kSpritePalette = 0x10;
inline int pixelColor(std::uint8_t p) {
    return p & 3;
}
inline int pixelPalette(std::uint8_t p) {
    return (p >> 2) & 3;
}

struct Picture {
    Picture() = default;
    Picture(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w * h), 0) {}
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> px;
    std::uint8_t at(int x, int y) const { return px[static_cast<std::size_t>(y * width + x)]; }
};

// How one tile is put down: top-left corner, flips and the attribute bits it carries.
struct TilePlacement {
    int x = 0;
    int y = 0;
    bool hflip = false;
    bool vflip = false;
    int palette = 0;
    bool sprite = false;
    bool behind = false;
};

// Puts the tile's non-zero pixels into the picture, clipped at its edges. A sprite
// behind the background stays hidden where a background pixel is already drawn.
void drawTile(Picture& pic, const Tile& tile, const TilePlacement& at);

} // namespace qv::chr
