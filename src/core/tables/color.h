#pragma once
// TFormColor, "Color Settings": the sprite attribute byte of 55 characters on three
// pages (Enemies, General, Special). Each character is one byte: palette group in bits
// 0-1, bits 2-4 zero for an editable byte, behind the background (0x20), mirrored
// (0x40), upside down (0x80). The dialog lays out its pages itself; the table lists
// each character as a plain byte for the value fields and the command line.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& color();

enum class CaptionColor { Plain, Green, Red };

struct ColorCharacter {
    int page;                 // 0 Enemies, 1 General, 2 Special
    std::string_view control; // "Spd686B"
    std::string_view caption; // the button's caption
    CaptionColor captionColor;
    int offset;
    std::uint8_t defaultByte; // what Reset restores
    std::string_view note;    // shown under the panel; empty: none
};
std::span<const ColorCharacter> colorCharacters();
const ColorCharacter* findColorCharacter(int offset);

inline constexpr int kColorPages = 3;
// The character selected on each page until the user picks another in this run.
inline constexpr std::array<int, kColorPages> kColorInitialSelection{0x686B, 0x66DE, 0x68D5};
// The "Unknown" character whose "&Fixed Palette" box means the byte 0xFF.
inline constexpr int kColorUnknown = 0x687E;
inline constexpr std::string_view kColorNoNote = "Item has no description.";

// Bits 2-4 set: the byte means something the panel cannot show; it is kept as it is.
inline bool attributeEditable(std::uint8_t b) {
    return (b & 0x1C) == 0;
}
// The panel's state as the byte's field (two's complement: above 127 loses 256).
int attributeField(int paletteGroup, bool behind, bool upsideDown, bool mirrored);

} // namespace qv::tables
