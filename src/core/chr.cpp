#include "core/chr.h"

#include <algorithm>

#include "core/rom.h"

namespace qv::chr {

namespace {
const Tile kBlank{};

std::uint8_t byteAt(std::span<const std::uint8_t> bytes, std::size_t i) {
    return i < bytes.size() ? bytes[i] : 0;
}

// The CHR bank's bytes in the image, short when the image ends early.
std::span<const std::uint8_t> chrBank(std::span<const std::uint8_t> image, int shift) {
    const int start = shifted(kChrOffset, shift);
    if (start < 0 || static_cast<std::size_t>(start) >= image.size()) return {};
    const std::size_t n = std::min<std::size_t>(kChrBytes, image.size() - start);
    return image.subspan(static_cast<std::size_t>(start), n);
}
} // namespace

Tile decodeTile(std::span<const std::uint8_t> bytes) {
    Tile t;
    for (int y = 0; y < 8; ++y) {
        const std::uint8_t p0 = byteAt(bytes, static_cast<std::size_t>(y));
        const std::uint8_t p1 = byteAt(bytes, static_cast<std::size_t>(y + 8));
        for (int x = 0; x < 8; ++x) {
            const int bit = 7 - x;
            t.px[static_cast<std::size_t>(y * 8 + x)] =
                static_cast<std::uint8_t>(((p0 >> bit) & 1) | (((p1 >> bit) & 1) << 1));
        }
    }
    return t;
}

TileSet TileSet::decode(std::span<const std::uint8_t> image, int shift) {
    TileSet s;
    const auto bank = chrBank(image, shift);
    for (std::size_t i = 0; i < kTileCount; ++i) {
        const std::size_t from = i * kTileBytes;
        if (from >= bank.size()) break;
        s.tiles_[i] =
            decodeTile(bank.subspan(from, std::min<std::size_t>(kTileBytes, bank.size() - from)));
    }
    return s;
}

const Tile& TileSet::sprite(int tile) const {
    if (tile < 0 || tile >= kTilesPerTable) return kBlank;
    return tiles_[static_cast<std::size_t>(tile)];
}

const Tile& TileSet::background(int tile) const {
    if (tile < 0 || tile >= kTilesPerTable) return kBlank;
    return tiles_[static_cast<std::size_t>(kTilesPerTable + tile)];
}

const TileSet& TileCache::tiles(std::span<const std::uint8_t> image, int shift) {
    const auto bank = chrBank(image, shift);
    if (decodes_ == 0 || !std::equal(bank.begin(), bank.end(), raw_.begin(), raw_.end())) {
        raw_.assign(bank.begin(), bank.end());
        tiles_ = TileSet::decode(image, shift);
        ++decodes_;
    }
    return tiles_;
}

void drawTile(Picture& pic, const Tile& tile, const TilePlacement& at) {
    std::uint8_t base = static_cast<std::uint8_t>(kOpaque | ((at.palette & 3) << 2));
    if (at.sprite) base |= kSpritePalette;
    if (at.sprite && at.behind) base |= kBehind;
    for (int ty = 0; ty < 8; ++ty) {
        const int y = at.y + ty;
        if (y < 0 || y >= pic.height) continue;
        for (int tx = 0; tx < 8; ++tx) {
            const int x = at.x + tx;
            if (x < 0 || x >= pic.width) continue;
            const std::uint8_t c = tile.at(at.hflip ? 7 - tx : tx, at.vflip ? 7 - ty : ty);
            if (c == 0) continue;
            std::uint8_t& dst = pic.px[static_cast<std::size_t>(y * pic.width + x)];
            if ((base & kBehind) && dst != 0 && !(dst & kSpritePalette)) continue;
            dst = static_cast<std::uint8_t>(base | c);
        }
    }
}

} // namespace qv::chr
