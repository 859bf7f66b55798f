#pragma once
// Sizes of the game image and the buffers that hold it.
#include <array>
#include <cstdint>
#include <span>

namespace qv {

inline constexpr int kBufferSize = 50000;  // both image buffers, fixed
inline constexpr int kPlainSize = 40976;   // header + PRG + CHR
inline constexpr int kTrainerSize = 41488; // the same with a 512-byte trainer
inline constexpr int kTrainerShift = 512;

using RomBuffer = std::array<std::uint8_t, kBufferSize>;

// Parameter offsets are stated in the trainer-less layout; this is the one place
// where the trainer shift is added to them.
inline int shifted(int offset, int shift) {
    return offset + shift;
}

// The layout shift of an image of a valid size (0 or 512); -1 for any other size.
inline int layoutShift(std::span<const std::uint8_t> file) {
    if (file.size() == static_cast<std::size_t>(kPlainSize)) return 0;
    if (file.size() == static_cast<std::size_t>(kTrainerSize)) return kTrainerShift;
    return -1;
}

} // namespace qv
