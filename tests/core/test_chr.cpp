// CHR tiles and the pictures composed from them, on synthetic graphics: planes decode
// to known indices, the trainer moves the bank, the cache decodes once per image,
// flips, attribute rules, composites, metatiles and a palette scene put known pixels
// in known places.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/chr.h"
#include "core/chrcompose.h"
#include "core/chrtables.h"
#include "core/tables/color.h"

namespace {

using namespace qv::chr;

std::vector<std::uint8_t> blankImage(int size = 40976) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(size), 0);
}

void put(std::vector<std::uint8_t>& img, int offset, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        img[static_cast<std::size_t>(offset) + i] = bytes[i];
}

// A tile whose only pixel is (0, 0) in colour `c` (1..3).
std::vector<std::uint8_t> dotTile(int c) {
    std::vector<std::uint8_t> t(16, 0);
    if (c & 1) t[0] = 0x80;
    if (c & 2) t[8] = 0x80;
    return t;
}

TEST(Chr, TilePlanesDecodeToKnownIndices) {
    const std::array<std::uint8_t, 16> bytes{0x80, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x0F,
                                             0x80, 0x00, 0xF0, 0x01, 0x00, 0x00, 0x00, 0x00};
    const Tile t = decodeTile(bytes);
    const std::array<std::array<int, 8>, 8> expected{{{3, 0, 0, 0, 0, 0, 0, 0},
                                                      {0, 0, 0, 0, 0, 0, 0, 1},
                                                      {3, 3, 3, 3, 1, 1, 1, 1},
                                                      {0, 0, 0, 0, 0, 0, 0, 2},
                                                      {0, 0, 0, 0, 0, 0, 0, 0},
                                                      {0, 0, 0, 0, 0, 0, 0, 0},
                                                      {0, 0, 0, 0, 0, 0, 0, 0},
                                                      {0, 0, 0, 0, 1, 1, 1, 1}}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(t.at(x, y), expected[y][x]) << x << "," << y;

    // A short span reads its missing bytes as 0: plane 1 is empty.
    const std::array<std::uint8_t, 3> head{0xFF, 0x00, 0x81};
    const Tile s = decodeTile(head);
    EXPECT_EQ(s.at(0, 0), 1);
    EXPECT_EQ(s.at(0, 2), 1);
    EXPECT_EQ(s.at(1, 2), 0);
    EXPECT_EQ(s.at(0, 7), 0);
}

TEST(Chr, BankAtItsOffsetAndMovedByTheTrainer) {
    auto img = blankImage();
    put(img, 0x8020, {0xC0});       // sprite tile 1, row 0: two pixels of colour 1
    put(img, 0x9018, {0x00, 0x01}); // background tile 0, plane 1 rows 0-1
    put(img, 0xA000, {0, 0, 0, 0, 0, 0, 0, 0, 0x01}); // background tile 255, plane 1 row 0
    const TileSet plain = TileSet::decode(img, 0);
    EXPECT_EQ(plain.sprite(1).at(0, 0), 1);
    EXPECT_EQ(plain.sprite(1).at(1, 0), 1);
    EXPECT_EQ(plain.sprite(1).at(2, 0), 0);
    EXPECT_EQ(plain.sprite(0), Tile{});
    EXPECT_EQ(plain.background(0).at(7, 1), 2);
    EXPECT_EQ(plain.background(255).at(7, 0), 2);
    EXPECT_EQ(plain.sprite(256), Tile{}); // no such tile: blank
    EXPECT_EQ(plain.background(-1), Tile{});

    // With a trainer the bank starts 512 bytes later; the bytes at 0x8010 are code.
    auto trained = blankImage(41488);
    put(trained, 0x8010, {0xFF});
    put(trained, 0x8230, {0xC0});
    put(trained, 0xA200, {0, 0, 0, 0, 0, 0, 0, 0, 0x01});
    const TileSet moved = TileSet::decode(trained, 512);
    EXPECT_EQ(moved.sprite(0), Tile{});
    EXPECT_EQ(moved.sprite(2).at(1, 0), 1);
    EXPECT_EQ(moved.background(255).at(7, 0), 2);

    // An image that ends inside the bank gives blank tiles past its end, and one that
    // ends before it gives no tiles at all.
    std::vector<std::uint8_t> shortImage(0x8021, 0);
    shortImage[0x8020] = 0x80;
    EXPECT_EQ(TileSet::decode(shortImage, 0).sprite(1).at(0, 0), 1);
    EXPECT_EQ(TileSet::decode(shortImage, 0).sprite(2), Tile{});
    EXPECT_EQ(TileSet::decode(std::vector<std::uint8_t>(100, 0xFF), 0).sprite(0), Tile{});
}

TEST(Chr, CacheDecodesOncePerImage) {
    auto img = blankImage();
    TileCache cache;
    EXPECT_EQ(cache.tiles(img, 0).sprite(1), Tile{});
    cache.tiles(img, 0);
    EXPECT_EQ(cache.decodes(), 1);
    img[0x5000] = 0x55; // outside the bank: same tiles
    cache.tiles(img, 0);
    EXPECT_EQ(cache.decodes(), 1);
    img[0x8020] = 0x80;
    EXPECT_EQ(cache.tiles(img, 0).sprite(1).at(0, 0), 1);
    EXPECT_EQ(cache.decodes(), 2);
}

TEST(Chr, DrawTilePlacesFlipsClipsAndHidesBehindSprites) {
    const std::array<std::uint8_t, 16> corner{0x80, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0};
    const Tile t = decodeTile(corner); // (0,0) colour 1, (7,7) colour 1
    Picture pic(16, 16);
    drawTile(pic, t, {.x = 4, .y = 2, .palette = 2, .sprite = true});
    EXPECT_EQ(pic.at(4, 2), 0x99); // opaque, sprite palette 2, colour 1
    EXPECT_EQ(pic.at(11, 9), 0x99);
    EXPECT_EQ(pic.at(5, 2), 0x00);

    Picture flipped(8, 8);
    const std::array<std::uint8_t, 16> one{0x80};
    drawTile(flipped, decodeTile(one), {.hflip = true, .palette = 1});
    EXPECT_EQ(flipped.at(7, 0), 0x85); // background palette 1, colour 1
    drawTile(flipped, decodeTile(one), {.hflip = true, .vflip = true, .palette = 3});
    EXPECT_EQ(flipped.at(7, 7), 0x8D);

    // Clipped at the edges: only the (7,7) pixel of a tile at (-7,-7) lands, at (0,0).
    Picture clip(4, 4);
    drawTile(clip, t, {.x = -7, .y = -7});
    EXPECT_EQ(clip.at(0, 0), 0x81);
    drawTile(clip, t, {.x = 3, .y = 3}); // its (0,0) at (3,3); (7,7) falls outside
    EXPECT_EQ(clip.at(3, 3), 0x81);

    // A sprite behind the background shows only where no background is drawn.
    Picture scene(8, 1);
    const std::array<std::uint8_t, 16> left{0x80};
    drawTile(scene, decodeTile(left), {.palette = 0}); // background pixel at (0,0)
    const std::array<std::uint8_t, 16> row{0xC0};
    drawTile(scene, decodeTile(row), {.palette = 1, .sprite = true, .behind = true});
    EXPECT_EQ(scene.at(0, 0), 0x81);
    EXPECT_EQ(scene.at(1, 0), 0xD5); // behind, sprite palette 1, colour 1
}

// The bytes of the controls, as pairs of offset and byte; any other control holds 0.
ByteOf bytesOf(std::vector<std::pair<int, std::uint8_t>> bytes) {
    return [bytes](int offset) -> std::uint8_t {
        for (const auto& [o, b] : bytes)
            if (o == offset) return b;
        return 0;
    };
}

TEST(Chr, CharacterPicturesFollowTheAttributeByte) {
    auto img = blankImage();
    put(img, 0x8010 + 0x70 * 16, dotTile(1)); // Goomba's tiles 0x70-0x73
    put(img, 0x8010 + 0x71 * 16, dotTile(2));
    put(img, 0x8010 + 0xDC * 16, dotTile(3)); // Blooper's top tile
    put(img, 0x8010 + 0x51 * 16, dotTile(1)); // Bowser's flame
    const TileSet tiles = TileSet::decode(img, 0);

    // Goomba faces left: the row's tiles swapped and h-flipped by the code, 16x24.
    const SpriteFrame& goomba = *findSpriteFrame(0x6871);
    Picture p = composeCharacter(tiles, goomba, bytesOf({{0x6871, 0x02}}));
    ASSERT_EQ(p.width, 16);
    ASSERT_EQ(p.height, 24);
    EXPECT_EQ(p.at(7, 8), 0x9A);  // tile 0x71, colour 2, red group
    EXPECT_EQ(p.at(15, 8), 0x99); // tile 0x70
    EXPECT_EQ(p.at(0, 8), 0x00);
    // Upside down and black group: the v-flip joins the code's h-flip.
    p = composeCharacter(tiles, goomba, bytesOf({{0x6871, 0x83}}));
    EXPECT_EQ(p.at(7, 15), 0x9E);
    // The byte's mirror bit is ORed with the code's flip: still facing left.
    p = composeCharacter(tiles, goomba, bytesOf({{0x6871, 0x41}}));
    EXPECT_EQ(p.at(7, 8), 0x96);
    // Behind the background.
    p = composeCharacter(tiles, goomba, bytesOf({{0x6871, 0x21}}));
    EXPECT_EQ(p.at(7, 8), 0xD6);

    // Blooper ignores the byte's mirror bit and mirrors its right column itself.
    const SpriteFrame& blooper = *findSpriteFrame(0x6872);
    p = composeCharacter(tiles, blooper, bytesOf({{0x6872, 0x43}}));
    EXPECT_EQ(p.at(0, 0), 0x9F);
    EXPECT_EQ(p.at(15, 0), 0x9F);
    EXPECT_EQ(p.at(7, 0), 0x00);

    // Flame 2 takes its flips from the byte only: 0x02 shows it upright, 0x82 flipped.
    const SpriteFrame& flame2 = *findSpriteFrame(0x5244);
    p = composeCharacter(tiles, flame2, bytesOf({{0x5244, 0x02}}));
    EXPECT_EQ(p.width, 24);
    EXPECT_EQ(p.at(0, 0), 0x99);
    p = composeCharacter(tiles, flame2, bytesOf({{0x5244, 0x82}}));
    EXPECT_EQ(p.at(0, 0), 0x00);
    EXPECT_EQ(p.at(0, 7), 0x99);
}

TEST(Chr, CompositesColourEachPartByItsOwnByte) {
    auto img = blankImage();
    put(img, 0x8010 + 0xBE * 16, dotTile(1)); // Bowser's head, top left
    put(img, 0x8010 + 0xC3 * 16, dotTile(2)); // his shell, top left of the rear half
    put(img, 0x8010 + 0x66 * 16, dotTile(3)); // the fireworks quarter
    put(img, 0x8010 + 0xD6 * 16, dotTile(1)); // fire flower: flower and stem
    put(img, 0x8010 + 0xD9 * 16, dotTile(1));
    const TileSet tiles = TileSet::decode(img, 0);

    // Either half of Bowser shows all of him, 32x32; the rear half sits 16 right, 8 down.
    const auto bowser = bytesOf({{0x6881, 0x01}, {0x6882, 0x03}});
    for (int half : {0x6881, 0x6882}) {
        const Picture p = composeCharacter(tiles, *findSpriteFrame(half), bowser);
        ASSERT_EQ(p.width, 32);
        ASSERT_EQ(p.height, 32);
        EXPECT_EQ(p.at(7, 0), 0x95);  // head, h-flipped, green group
        EXPECT_EQ(p.at(23, 8), 0x9E); // shell, black group
    }

    // The fireworks quarters: the upper right one is mirrored by its byte only.
    const SpriteFrame& ul = *findSpriteFrame(0x6D5D);
    Picture p = composeCharacter(tiles, ul, bytesOf({{0x6D5D, 0x02}, {0x6D67, 0x02}}));
    ASSERT_EQ(p.width, 16);
    EXPECT_EQ(p.at(8, 0), 0x9B);
    EXPECT_EQ(p.at(15, 0), 0x00);
    p = composeCharacter(tiles, ul, bytesOf({{0x6D5D, 0x02}, {0x6D67, 0x41}, {0x6D62, 0x82}}));
    EXPECT_EQ(p.at(15, 0), 0x97);
    EXPECT_EQ(p.at(0, 15), 0x9B); // lower left, upside down by its byte
    EXPECT_EQ(p.at(0, 8), 0x00);

    // The fire flower's flower row flashes through the palettes, not the byte's.
    p = composeCharacter(tiles, *findSpriteFrame(0x66DF), bytesOf({{0x66DF, 0x03}}));
    EXPECT_EQ(p.at(0, 0), 0x91); // frame counter 0: palette 0
    EXPECT_EQ(p.at(0, 8), 0x9D); // stem: the byte's black group

    // The vine's odd sprites stand 6 pixels to the right: 14 pixels wide, 48 high.
    p = composeCharacter(tiles, *findSpriteFrame(0x6472), bytesOf({}));
    EXPECT_EQ(p.width, 14);
    EXPECT_EQ(p.height, 48);
}

TEST(Chr, MetatilesAndTheGroundScene) {
    auto img = blankImage();
    // The "?" block's four background tiles 0x53-0x56, each a dot of its own colour.
    put(img, 0x9010 + 0x53 * 16, dotTile(1));
    put(img, 0x9010 + 0x54 * 16, dotTile(2));
    put(img, 0x9010 + 0x55 * 16, dotTile(3));
    put(img, 0x9010 + 0x56 * 16, dotTile(1));
    const TileSet dots = TileSet::decode(img, 0);
    Picture block(16, 16);
    drawMetatile(block, dots, *findMetatile("question_block"), 0, 0);
    EXPECT_EQ(block.at(0, 0), 0x8D); // background palette 3
    EXPECT_EQ(block.at(8, 0), 0x8E);
    EXPECT_EQ(block.at(0, 8), 0x8F);
    EXPECT_EQ(block.at(8, 8), 0x8D);

    // Every tile solid colour 1: each pixel says which palette the scene draws it with.
    std::vector<std::uint8_t> solid = blankImage();
    for (int i = 0; i < 512; ++i)
        for (int row = 0; row < 8; ++row)
            solid[static_cast<std::size_t>(0x8010 + i * 16 + row)] = 0xFF;
    const TileSet full = TileSet::decode(solid, 0);
    const Scene& ground = *findScene(0);
    const Picture p = composeScene(full, ground);
    ASSERT_EQ(p.width, 144);
    ASSERT_EQ(p.height, 96);
    EXPECT_EQ(p.at(0, 95), 0x85);   // ground: blocks palette
    EXPECT_EQ(p.at(10, 2), 0x89);   // cloud: score/clouds palette
    EXPECT_EQ(p.at(120, 60), 0x81); // pipe
    EXPECT_EQ(p.at(85, 30), 0x8D);  // "?" block
    EXPECT_EQ(p.at(125, 20), 0x8D); // coin
    EXPECT_EQ(p.at(2, 70), 0x81);   // bush, left of Mario
    EXPECT_EQ(p.at(20, 70), 0x91);  // Mario over the bush: sprite palette 0
    EXPECT_EQ(p.at(44, 70), 0x9D);  // Goomba: black group
    EXPECT_EQ(p.at(44, 60), 0x00);  // the empty top row of his frame: sky
    EXPECT_EQ(p.at(68, 58), 0x95);  // green Koopa
    EXPECT_EQ(p.at(92, 70), 0x99);  // red Koopa
    EXPECT_EQ(p.at(140, 0), 0x00);

    const Picture chars = composeScene(full, *findScene(6));
    EXPECT_EQ(chars.at(10, 70), 0x91);  // Mario
    EXPECT_EQ(chars.at(34, 70), 0x95);  // Luigi
    EXPECT_EQ(chars.at(60, 50), 0x99);  // fiery Mario, big
    EXPECT_EQ(chars.at(110, 70), 0x9D); // Bowser
    EXPECT_EQ(findScene(4), nullptr);   // the Special page has no scene

    // With the image's Color bytes: the green Koopa set to the red group is drawn red,
    // the Goomba in the green group; Mario keeps his palette, Bowser his row's.
    const ByteOf image = [](int offset) -> std::uint8_t {
        switch (offset) {
        case 0x686B:
            return 0x02;
        case 0x6871:
            return 0x01;
        case 0x6881:
        case 0x6882:
            return 0x02;
        default:
            return 0x03;
        }
    };
    const Picture recoloured = composeScene(full, ground, image);
    EXPECT_EQ(recoloured.at(68, 58), 0x99); // green Koopa, red group
    EXPECT_EQ(recoloured.at(44, 70), 0x95); // Goomba, green group
    EXPECT_EQ(recoloured.at(92, 70), 0x9D); // red Koopa: 0x686C reads 0x03 here
    EXPECT_EQ(recoloured.at(20, 70), 0x91); // Mario as before
    EXPECT_EQ(composeScene(full, *findScene(6), image).at(110, 70), 0x9D); // Bowser
}

TEST(ChrTables, EveryColourCharacterHasAFrame) {
    // One frame per Color character, named after its offset; a composite's cells
    // name characters that are parts of that composite (Toad / Peach shows Toad, and
    // colours most of the princess too).
    const auto characters = qv::tables::colorCharacters();
    EXPECT_EQ(spriteFrames().size(), 55u);
    for (const auto& c : characters) {
        const SpriteFrame* f = findSpriteFrame(c.offset);
        ASSERT_NE(f, nullptr) << c.control;
        EXPECT_EQ(f->control, c.control);
        EXPECT_EQ(f->grid.cells.size(), static_cast<std::size_t>(f->grid.cols * f->grid.rows))
            << c.control;
    }
    int parts = 0;
    for (std::size_t i = 0; i < composites().size(); ++i) {
        for (const SpriteCell& cell : composites()[i].grid.cells) {
            if (cell.tile < 0) continue;
            const SpriteFrame* f = findSpriteFrame(cell.control);
            ASSERT_NE(f, nullptr);
            if (f->offset != 0x6880) {
                EXPECT_EQ(f->composite, static_cast<int>(i)) << f->control;
            }
            ++parts;
        }
    }
    EXPECT_EQ(parts, 11 + 4 + 2 + 6); // Bowser, fireworks, block coin, princess
    for (const auto& scene : paletteScenes()) {
        for (const ScenePiece& p : scene.pieces) {
            if (p.kind == PieceKind::Metatile) {
                EXPECT_NE(findMetatile(p.name), nullptr) << p.name;
            } else if (p.kind == PieceKind::Group) {
                EXPECT_NE(findMetatileGroup(p.name), nullptr) << p.name;
            }
        }
    }
    EXPECT_EQ(metatiles().size(), 34u);
}

} // namespace
