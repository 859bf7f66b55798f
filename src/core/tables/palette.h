#pragma once
// TFormPallet, "Palette Settings": 115 colour bytes (each an NES colour index) on seven
// pages, and the shine pattern count of the coin and "?" block. The dialog lays out its
// pages itself, one radio button per colour byte; the table lists each byte as a plain
// number for the value fields and the command line.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& palette();

// One labelled row of colour bytes at consecutive offsets, left to right from `column`
// (0..5); `section` is the heading the row stands under on the Special page.
struct PaletteRow {
    int page; // 0 Ground .. 6 Characters
    std::string_view section;
    std::string_view label;
    int offset;
    int count;
    int column;
    std::array<std::uint8_t, 6> defaults; // what Reset restores, first `count` used
};
std::span<const PaletteRow> paletteRows();

struct PaletteEntry {
    int page;
    int offset;
    std::uint8_t defaultByte;
};
// Every colour byte, page by page in row order.
std::span<const PaletteEntry> paletteEntries();
const PaletteEntry* findPaletteEntry(int offset);

inline constexpr int kPalletPages = 7;
inline constexpr int kPalletCoinsPage = 5;
// The entry selected on each page until the user picks another in this run.
inline constexpr std::array<int, kPalletPages> kPalletInitialSelection{
    0x05E0, 0x05E1, 0x05DF, 0x05E2, 0x05E3, 0x09D3, 0x05E8};
// The six shine colours of the coin and "?" block, and how many of them the game cycles.
inline constexpr int kPalletShineFirst = 0x09D3;
inline constexpr int kPalletShineCount = 6;
inline constexpr int kPalletCoinCount = 0x0A40;

} // namespace qv::tables
