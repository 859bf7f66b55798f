// The Palette table against the game's known bytes: pages and groups, entry
// offsets and the colours Reset restores, the shine count list, and the three colour
// sources.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "core/nescolors.h"
#include "core/tables/palette.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"
#include "support/offsets.h"
#include "support/tabledefaults.h"

namespace {

using qv::tables::findPaletteEntry;
using qv::tables::paletteEntries;

TEST(PalletTable, DialogFactsPagesAndGroups) {
    const qv::DialogTable& t = qv::tables::palette();
    EXPECT_EQ(t.className, "TFormPallet");
    EXPECT_EQ(t.caption, "Palette Settings");
    EXPECT_EQ(t.undoSuffix, "(Palette)");
    EXPECT_EQ(t.helpContext, 900);
    EXPECT_EQ(qv::findTable("TFormPallet"), &t);
    const struct {
        const char* caption;
        const char* object;
        const char* group;
        const char* reset;
        std::size_t items;
    } pages[] = {{"Ground", "TabPallet1", "Ground Palette", "SpdPallet1", 21},
                 {"Underground", "TabPallet2", "Underground Palette", "SpdPallet2", 21},
                 {"Water", "TabPallet3", "Water Palette", "SpdPallet3", 21},
                 {"Castle", "TabPallet4", "Castle Palette", "SpdPallet4", 21},
                 {"Special", "TabPallet5", "Special BG Palettes", "SpdPallet5", 13},
                 {"Coins", "TabPallet6", "Shiny Coin, ? Block Palette", "SpdPallet6", 7},
                 {"Characters", "TabPallet7", "Mario, Luigi, Bowser", "SpdPallet7", 12}};
    ASSERT_EQ(t.pages.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        const qv::Page& p = t.pages[i];
        EXPECT_EQ(p.caption, pages[i].caption);
        EXPECT_EQ(p.objectName, pages[i].object);
        EXPECT_TRUE(p.customControls);
        ASSERT_EQ(p.groups.size(), 1u);
        EXPECT_EQ(p.groups[0].caption, pages[i].group);
        EXPECT_EQ(p.groups[0].helpContext, 900);
        EXPECT_EQ(p.groups[0].reset, pages[i].reset);
        EXPECT_EQ(p.groups[0].items.size(), pages[i].items) << pages[i].caption;
    }
    EXPECT_EQ(t.pages[5].groups[0].notes,
              std::vector<std::string_view>{
                  "The unshiny coin and ? block colors can be found on the main palette pages."});
}

// 115 colour bytes and the count byte: 116 fields, none shared.
TEST(PalletTable, EveryColourByteIsOneEntryNamedAfterItsOffset) {
    EXPECT_EQ(paletteEntries().size(), 115u);
    std::set<int> offsets;
    for (const auto& e : paletteEntries()) {
        char name[8];
        std::snprintf(name, sizeof name, "Rad%04X", e.offset);
        EXPECT_TRUE(offsets.insert(e.offset).second) << name;
        const qv::Item* it = qv::tables::palette().find(name);
        ASSERT_NE(it, nullptr) << name;
        EXPECT_EQ(qvtest::offsetsOf(*it), std::vector<int>{e.offset});
        EXPECT_EQ(it->defaultValue, e.defaultByte) << name;
    }
    EXPECT_EQ(offsets.count(0x0A40), 0u);
    qv::ValueFields fields(qv::tables::palette());
    EXPECT_EQ(fields.offsets().size(), 116u);
}

TEST(PalletTable, DefaultsOfSelectedEntries) {
    const struct {
        int offset;
        int page;
        int defaultByte;
    } rows[] = {
        {0x05E0, 0, 0x22},
        {0x0CF0, 0, 0x1A},
        {0x0CF2, 0, 0x27},
        {0x0CFA, 0, 0x17},
        {0x0CDE, 0, 0x0F},
        {0x09E7, 0, 0x17},
        {0x09E8, 0, 0x0F},
        {0x05E1, 1, 0x0F},
        {0x0D1C, 1, 0x0C},
        {0x0D1D, 1, 0x3C},
        {0x0D02, 1, 0x09},
        {0x09EC, 1, 0x1C},
        {0x05DF, 2, 0x22},
        {0x0CCC, 2, 0x10},
        {0x0CB8, 2, 0x15},
        {0x0CBA, 2, 0x25},
        {0x09E3, 2, 0x12},
        {0x05E2, 3, 0x0F},
        {0x0D40, 3, 0x00},
        {0x0D2D, 3, 0x16},
        {0x09F0, 3, 0x00},
        {0x05E3, 4, 0x0F},
        {0x0D58, 4, 0x27},
        {0x0D5A, 4, 0x0F},
        {0x05E4, 4, 0x22},
        {0x0D48, 4, 0x30},
        {0x05E5, 4, 0x0F},
        {0x0D52, 4, 0x10},
        {0x05E6, 4, 0x0F},
        {0x09D3, 5, 0x27},
        {0x09D6, 5, 0x17},
        {0x09D7, 5, 0x07},
        {0x09D8, 5, 0x17},
        {0x05E8, 6, 0x16},
        {0x05EE, 6, 0x19},
        {0x05F0, 6, 0x37},
        {0x0D62, 6, 0x27},
        // Water "Blocks, Fort, Title, etc." starts with the game's 3A, not 05.
        {0x0CBC, 2, 0x3A},
        {0x0CBD, 2, 0x1A},
        {0x0CBE, 2, 0x0F},
    };
    for (const auto& r : rows) {
        const auto* e = findPaletteEntry(r.offset);
        ASSERT_NE(e, nullptr) << std::hex << r.offset;
        EXPECT_EQ(e->page, r.page) << std::hex << r.offset;
        EXPECT_EQ(e->defaultByte, r.defaultByte) << std::hex << r.offset;
    }
    // Gaps between the rows belong to no entry.
    for (int gap : {0x05E7, 0x0CF3, 0x0CDF, 0x09E9, 0x0D5B, 0x05EB, 0x0D63})
        EXPECT_EQ(findPaletteEntry(gap), nullptr) << std::hex << gap;
}

// The colours an unmodified game holds, row by row at their literal offsets, and the
// shine count 6 at 0x0A40. Every item reads its default from them
// and no two items claim a byte: a row whose offset or defaults are wrong shows here.
TEST(PalletTable, AnUnmodifiedGameShowsEveryDefault) {
    const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
        // Ground.
        {0x05E0, {0x22}},
        {0x0CF0, {0x1A, 0x30, 0x27}},
        {0x0CF4, {0x16, 0x30, 0x27}},
        {0x0CF8, {0x0F, 0x36, 0x17}},
        {0x0CDC, {0x29, 0x1A, 0x0F}},
        {0x0CE0, {0x36, 0x17, 0x0F}},
        {0x0CE4, {0x30, 0x21, 0x0F}},
        {0x09E7, {0x17, 0x0F}},
        // Underground.
        {0x05E1, {0x0F}},
        {0x0D14, {0x1C, 0x36, 0x17}},
        {0x0D18, {0x16, 0x30, 0x27}},
        {0x0D1C, {0x0C, 0x3C, 0x1C}},
        {0x0D00, {0x29, 0x1A, 0x09}},
        {0x0D04, {0x3C, 0x1C, 0x0F}},
        {0x0D08, {0x30, 0x21, 0x1C}},
        {0x09EB, {0x17, 0x1C}},
        // Water (its blocks row starts with the game's 3A).
        {0x05DF, {0x22}},
        {0x0CCC, {0x10, 0x30, 0x27}},
        {0x0CD0, {0x16, 0x30, 0x27}},
        {0x0CD4, {0x0F, 0x30, 0x10}},
        {0x0CB8, {0x15, 0x12, 0x25}},
        {0x0CBC, {0x3A, 0x1A, 0x0F}},
        {0x0CC0, {0x30, 0x12, 0x0F}},
        {0x09E3, {0x12, 0x0F}},
        // Castle.
        {0x05E2, {0x0F}},
        {0x0D38, {0x1C, 0x36, 0x17}},
        {0x0D3C, {0x16, 0x30, 0x27}},
        {0x0D40, {0x00, 0x30, 0x10}},
        {0x0D24, {0x30, 0x10, 0x00}},
        {0x0D28, {0x30, 0x10, 0x00}},
        {0x0D2C, {0x30, 0x16, 0x00}},
        {0x09EF, {0x17, 0x00}},
        // Special.
        {0x05E3, {0x0F}},
        {0x0D58, {0x27, 0x16, 0x0F}},
        {0x05E4, {0x22}},
        {0x0D48, {0x30, 0x00, 0x10}},
        {0x05E5, {0x0F}},
        {0x0D50, {0x30, 0x00, 0x10}},
        {0x05E6, {0x0F}},
        // Coins: the shiny colours and their count.
        {0x09D3, {0x27, 0x27, 0x27, 0x17, 0x07, 0x17}},
        {0x0A40, {0x06}},
        // Characters.
        {0x05E8, {0x16, 0x27, 0x18}},
        {0x05EC, {0x30, 0x27, 0x19}},
        {0x05F0, {0x37, 0x27, 0x16}},
        {0x0D60, {0x1A, 0x30, 0x27}},
    };
    auto [rom, bytes, owners] = qvtest::checkDefaults(qv::tables::palette(), kDefaultBytes);
    EXPECT_EQ(bytes, 116u);
    EXPECT_EQ(owners.size(), 116u);
    for (const auto& [off, names] : owners)
        EXPECT_EQ(names.size(), 1u) << std::hex << off;
    for (const auto& [off, seq] : kDefaultBytes)
        for (std::size_t i = 0; i < seq.size(); ++i)
            EXPECT_EQ(owners.count(off + static_cast<int>(i)), 1u) << std::hex << off + i;
}

TEST(PalletTable, ShineCountListStandsForTheCount) {
    const qv::Item* it = qv::tables::palette().find("CmbCoinCount");
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->label, "Coin, ? Block Shine &Pattern Count:");
    EXPECT_EQ(qvtest::offsetsOf(*it), std::vector<int>{0x0A40});
    EXPECT_EQ(it->list->captions(),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6  [Default]"}));
    EXPECT_EQ(it->defaultValue, 5);
    std::vector<std::uint8_t> img(40976, 0);
    const auto readAt = [&](std::uint8_t b) {
        img[0x0A40] = b;
        return it->read(img, 0);
    };
    EXPECT_EQ(readAt(0x01), (qv::ItemState{false, 0}));
    EXPECT_EQ(readAt(0x06), (qv::ItemState{false, 5}));
    EXPECT_TRUE(readAt(0x00).outOfBounds);
    EXPECT_TRUE(readAt(0x07).outOfBounds);
    EXPECT_TRUE(readAt(0xFF).outOfBounds);
    ASSERT_TRUE(it->write(img, 0, 2));
    EXPECT_EQ(img[0x0A40], 0x03);
}

TEST(NesColors, ThreeSourcesAndOutOfRangeIndices) {
    using qv::nesColor;
    using qv::Rgb;
    EXPECT_EQ(nesColor(0, 0x2D), (Rgb{0x60, 0x60, 0x60}));
    EXPECT_EQ(nesColor(1, 0x2D), (Rgb{0x78, 0x78, 0x78}));
    EXPECT_EQ(nesColor(2, 0x2D), (Rgb{0x78, 0x78, 0x78}));
    // Source 1 differs from source 0 only in its four greys.
    EXPECT_EQ(nesColor(1, 0x00), (Rgb{0x78, 0x78, 0x78}));
    EXPECT_EQ(nesColor(1, 0x10), (Rgb{0xB0, 0xB0, 0xB0}));
    EXPECT_EQ(nesColor(1, 0x20), (Rgb{0xE8, 0xE8, 0xE8}));
    for (int i = 0; i < 64; ++i) {
        if (i != 0x00 && i != 0x10 && i != 0x20 && i != 0x2D) {
            EXPECT_EQ(nesColor(1, i), nesColor(0, i)) << i;
        }
    }
    EXPECT_EQ(nesColor(0, 0x01), (Rgb{0x20, 0x00, 0xB0}));
    EXPECT_EQ(nesColor(0, 0x22), (Rgb{0x50, 0x80, 0xFF}));
    EXPECT_EQ(nesColor(0, 0x3D), (Rgb{0xA0, 0xA0, 0xA0}));
    EXPECT_EQ(nesColor(2, 0x01), (Rgb{0x00, 0x00, 0xFF}));
    EXPECT_EQ(nesColor(2, 0x1C), (Rgb{0x00, 0x8B, 0x8B}));
    EXPECT_EQ(nesColor(2, 0x35), (Rgb{0xFB, 0xA7, 0xC3}));
    EXPECT_EQ(nesColor(2, 0x3C), (Rgb{0x00, 0xFF, 0xFF}));
    EXPECT_EQ(nesColor(2, 0x3F), (Rgb{0x00, 0x00, 0x00}));
    // Any other source reads as 0; an index outside 0x00..0x3F is drawn as 0x00.
    EXPECT_EQ(nesColor(7, 0x2D), (Rgb{0x60, 0x60, 0x60}));
    EXPECT_EQ(nesColor(-1, 0x00), (Rgb{0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(nesColor(0, 0x45), (Rgb{0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(nesColor(1, -0x80), (Rgb{0x78, 0x78, 0x78}));
    EXPECT_EQ(nesColor(2, 0x40), (Rgb{0x7F, 0x7F, 0x7F}));
}

} // namespace
