// The Palette dialog's colour bytes, row by row: page, heading, label, first offset,
// number of entries, first column and the colours Reset restores.
#include "core/tables/palette.h"

#include <string>
#include <vector>

#include "core/tables/builders.h"

namespace qv::tables {
namespace {

constexpr int kGround = 0, kUnderground = 1, kWater = 2, kCastle = 3, kSpecial = 4, kCoins = 5,
              kCharacters = 6;

constexpr std::string_view kBackground = "Backgroun&d Color:";
constexpr std::string_view kGreen = "&Green Group Characters:";
constexpr std::string_view kRed = "&Red Group Characters:";
constexpr std::string_view kBlue = "&Blue Group Characters:";
constexpr std::string_view kPipe = "&Pipe, BG, etc.:";
constexpr std::string_view kBlocks = "B&locks, Fort, Title, etc.:";
constexpr std::string_view kScore = "&Score, Clouds:";
constexpr std::string_view kCoin = "Coi&n, ? Block (Non-Shiny):";

constexpr PaletteRow kRows[] = {
    {kGround, "", kBackground, 0x05E0, 1, 0, {0x22}},
    {kGround, "", kGreen, 0x0CF0, 3, 0, {0x1A, 0x30, 0x27}},
    {kGround, "", kRed, 0x0CF4, 3, 0, {0x16, 0x30, 0x27}},
    {kGround, "", kBlue, 0x0CF8, 3, 0, {0x0F, 0x36, 0x17}},
    {kGround, "", kPipe, 0x0CDC, 3, 0, {0x29, 0x1A, 0x0F}},
    {kGround, "", kBlocks, 0x0CE0, 3, 0, {0x36, 0x17, 0x0F}},
    {kGround, "", kScore, 0x0CE4, 3, 0, {0x30, 0x21, 0x0F}},
    {kGround, "", kCoin, 0x09E7, 2, 1, {0x17, 0x0F}},

    {kUnderground, "", kBackground, 0x05E1, 1, 0, {0x0F}},
    {kUnderground, "", kGreen, 0x0D14, 3, 0, {0x1C, 0x36, 0x17}},
    {kUnderground, "", kRed, 0x0D18, 3, 0, {0x16, 0x30, 0x27}},
    {kUnderground, "", kBlue, 0x0D1C, 3, 0, {0x0C, 0x3C, 0x1C}},
    {kUnderground, "", kPipe, 0x0D00, 3, 0, {0x29, 0x1A, 0x09}},
    {kUnderground, "", kBlocks, 0x0D04, 3, 0, {0x3C, 0x1C, 0x0F}},
    {kUnderground, "", kScore, 0x0D08, 3, 0, {0x30, 0x21, 0x1C}},
    {kUnderground, "", kCoin, 0x09EB, 2, 1, {0x17, 0x1C}},

    {kWater, "", kBackground, 0x05DF, 1, 0, {0x22}},
    {kWater, "", kGreen, 0x0CCC, 3, 0, {0x10, 0x30, 0x27}},
    {kWater, "", kRed, 0x0CD0, 3, 0, {0x16, 0x30, 0x27}},
    {kWater, "", kBlue, 0x0CD4, 3, 0, {0x0F, 0x30, 0x10}},
    {kWater, "", kPipe, 0x0CB8, 3, 0, {0x15, 0x12, 0x25}},
    {kWater, "", kBlocks, 0x0CBC, 3, 0, {0x3A, 0x1A, 0x0F}},
    {kWater, "", kScore, 0x0CC0, 3, 0, {0x30, 0x12, 0x0F}},
    {kWater, "", kCoin, 0x09E3, 2, 1, {0x12, 0x0F}},

    {kCastle, "", kBackground, 0x05E2, 1, 0, {0x0F}},
    {kCastle, "", kGreen, 0x0D38, 3, 0, {0x1C, 0x36, 0x17}},
    {kCastle, "", kRed, 0x0D3C, 3, 0, {0x16, 0x30, 0x27}},
    {kCastle, "", kBlue, 0x0D40, 3, 0, {0x00, 0x30, 0x10}},
    {kCastle, "", kPipe, 0x0D24, 3, 0, {0x30, 0x10, 0x00}},
    {kCastle, "", kBlocks, 0x0D28, 3, 0, {0x30, 0x10, 0x00}},
    {kCastle, "", kScore, 0x0D2C, 3, 0, {0x30, 0x16, 0x00}},
    {kCastle, "", kCoin, 0x09EF, 2, 1, {0x17, 0x00}},

    // The headings keep their trailing blank.
    {kSpecial, "Night BG Color ", "Backgroun&d:", 0x05E3, 1, 0, {0x0F}},
    {kSpecial, "Orange Mushroom Platform", "&Pipe, BG, etc.:", 0x0D58, 3, 0, {0x27, 0x16, 0x0F}},
    {kSpecial, "Snow BG Color ", "&Background:", 0x05E4, 1, 0, {0x22}},
    {kSpecial, "Snow BG Color ", "P&ipe, BG, etc.:", 0x0D48, 3, 0, {0x30, 0x00, 0x10}},
    {kSpecial, "Night / Snow ", "Back&ground:", 0x05E5, 1, 0, {0x0F}},
    {kSpecial, "Night / Snow ", "Pip&e, BG, etc.:", 0x0D50, 3, 0, {0x30, 0x00, 0x10}},
    {kSpecial, "Castle Night / Snow ", "Backg&round:", 0x05E6, 1, 0, {0x0F}},

    {kCoins, "", "Coi&n, ? Block (Shiny):", 0x09D3, 6, 0, {0x27, 0x27, 0x27, 0x17, 0x07, 0x17}},

    {kCharacters, "", "&Mario:", 0x05E8, 3, 0, {0x16, 0x27, 0x18}},
    {kCharacters, "", "&Luigi:", 0x05EC, 3, 0, {0x30, 0x27, 0x19}},
    {kCharacters, "", "&Fire Mario, Fire Luigi:", 0x05F0, 3, 0, {0x37, 0x27, 0x16}},
    {kCharacters, "", "&Bowser (Green Group Characters):", 0x0D60, 3, 0, {0x1A, 0x30, 0x27}},
};

std::vector<PaletteEntry> buildEntries() {
    std::vector<PaletteEntry> v;
    for (const PaletteRow& r : kRows)
        for (int i = 0; i < r.count; ++i)
            v.push_back({r.page, r.offset + i, r.defaults[static_cast<std::size_t>(i)]});
    return v;
}

const std::vector<PaletteEntry>& entries() {
    static const std::vector<PaletteEntry> all = buildEntries();
    return all;
}

// For the command line each entry is its byte, 0..255: the dialog keeps and writes back
// whatever index it reads, drawn as 0x00 when it is no colour.
void addRowItems(std::vector<Item>& items, const PaletteRow& r) {
    for (int i = 0; i < r.count; ++i) {
        // "Heading Label 2": a row of one entry has no number.
        std::string label(r.section);
        label += r.label;
        if (r.count > 1) label += " " + std::to_string(i + 1);
        items.push_back(numeric("Rad" + hexDigits(r.offset + i, 4), label, r.offset + i,
                                enc::unsignedByte, 0, 255,
                                r.defaults[static_cast<std::size_t>(i)]));
    }
}

Page palettePage(int index, RowText caption, RowText groupCaption) {
    std::vector<Item> items;
    items.reserve(24); // the most a page has
    for (const PaletteRow& r : kRows) {
        if (r.page != index) continue;
        addRowItems(items, r);
    }
    Group g = group(groupCaption, 900, "SpdPallet" + std::to_string(index + 1), std::move(items));
    if (index == kCoins) {
        // Entry index = count - 1.
        g.items.push_back(choice(
            "CmbCoinCount", "Coin, ? Block Shine &Pattern Count:", kPalletCoinCount,
            makeList({"1", "2", "3", "4", "5", "6  [Default]"}), rule::indexOffset(-1, false), 5));
        g.notes = {"The unshiny coin and ? block colors can be found on the main palette pages."};
    }
    Page p = page(caption, "TabPallet" + std::to_string(index + 1), {std::move(g)});
    p.customControls = true;
    return p;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormPallet";
    t.caption = "Palette Settings";
    t.undoSuffix = "(Palette)";
    t.helpContext = 900;
    t.pages = pageList({palettePage(kGround, "Ground", "Ground Palette"),
                        palettePage(kUnderground, "Underground", "Underground Palette"),
                        palettePage(kWater, "Water", "Water Palette"),
                        palettePage(kCastle, "Castle", "Castle Palette"),
                        palettePage(kSpecial, "Special", "Special BG Palettes"),
                        palettePage(kCoins, "Coins", "Shiny Coin, ? Block Palette"),
                        palettePage(kCharacters, "Characters", "Mario, Luigi, Bowser")});
    return t;
}

} // namespace

const DialogTable& palette() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

std::span<const PaletteRow> paletteRows() {
    return kRows;
}

std::span<const PaletteEntry> paletteEntries() {
    return entries();
}

const PaletteEntry* findPaletteEntry(int offset) {
    for (const PaletteEntry& e : entries())
        if (e.offset == offset) return &e;
    return nullptr;
}

} // namespace qv::tables
