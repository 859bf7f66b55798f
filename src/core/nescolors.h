#pragma once
// The screen colours of the 64 NES colour indices, from one of three built-in tables
// chosen by the palette colour source option (0, 1, 2; anything else reads as 0).
#include <cstdint>

namespace qv {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr int kNesColorCount = 64;

// An index outside 0x00..0x3F is drawn as 0x00.
Rgb nesColor(int source, int index);

} // namespace qv
