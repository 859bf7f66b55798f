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

// Parameter offsets are stated in the trainer-less layout; a trainer moves every one
// of them 512 bytes on. Whatever reads or writes a parameter's byte finds it here.
inline int shifted(int offset, int shift) {
    return offset + shift;
}

// A run of positions, first and last included.
struct ByteRange {
    int first = 0;
    int last = 0;
    int count() const { return last - first + 1; }
    bool operator==(const ByteRange&) const = default;
};

// The layout shift of an image of a valid size (0 or 512); -1 for any other size.
inline int layoutShift(std::span<const std::uint8_t> file) {
    if (file.size() == static_cast<std::size_t>(kPlainSize)) return 0;
    if (file.size() == static_cast<std::size_t>(kTrainerSize)) return kTrainerShift;
    return -1;
}

} // namespace qv
