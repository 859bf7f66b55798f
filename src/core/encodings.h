#pragma once
// How a numeric item's value fields turn into the number shown in its edit, and back.
// Value fields hold the item's bytes sign-extended (-128..127), in the item's offset
// order; an encoder may leave any int in a field, only its low 8 bits are written.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

inline int signExtend(std::uint8_t b) { return static_cast<std::int8_t>(b); }
inline std::uint8_t low8(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
inline int unsignedField(int field) { return field & 0xFF; }

// One entry per encoding: how many bytes it spans and its two directions.
struct Encoding {
    std::string_view name;
    int bytes = 1;
    int (*decode)(std::span<const int> fields) = nullptr;
    void (*encode)(int display, std::span<int> fields) = nullptr;
};

namespace enc {
int decodeSigned(std::span<const int> f);
void encodeSigned(int v, std::span<int> f);
int decodeNegated(std::span<const int> f);
void encodeNegated(int v, std::span<int> f);
int decodeUnsigned(std::span<const int> f);
int decodeAutoWalk(std::span<const int> f);
int decodeLives(std::span<const int> f);
void encodeLives(int v, std::span<int> f);
int decodeComplement(std::span<const int> f);
void encodeComplement(int v, std::span<int> f);

// The standard three.
inline constexpr Encoding signedByte{"signed", 1, &decodeSigned, &encodeSigned};
inline constexpr Encoding negated{"negated", 1, &decodeNegated, &encodeNegated};
inline constexpr Encoding unsignedByte{"unsigned", 1, &decodeUnsigned, &encodeSigned};
// Signed, except that 0x80 and 0x81 read as 128 and 129 (so -126..129 covers every byte).
inline constexpr Encoding autoWalk{"auto walk", 1, &decodeAutoWalk, &encodeSigned};
// Initial lives: the game stores one less than it shows; 0 wraps to 0xFF.
inline constexpr Encoding livesPlusOne{"lives", 1, &decodeLives, &encodeLives};
// 255 - unsigned byte both ways (jump correction and rise rates, timer decrement).
inline constexpr Encoding complement{"complement", 1, &decodeComplement, &encodeComplement};
} // namespace enc

// How the entry index of a drop-down list stands for bytes. Rules that take a
// parameter (an index offset, a low nibble, a value table) capture it.
struct ChoiceRule {
    std::string name;
    int bytes = 1;
    // The entry index the fields name, or -1 when they name none. The caller still
    // checks the index against the list's length.
    std::function<int(std::span<const int> fields)> decode;
    std::function<void(int index, std::span<int> fields)> encode;
};

namespace rule {
// The byte, read as two's complement, is the entry index.
ChoiceRule byteIndex();
// Pipe exit height: v = unsigned byte - 1 must be 0..240 and a multiple of 16,
// index = v / 16; written back as index * 16 + 1.
ChoiceRule pipeExitHeight();
} // namespace rule

} // namespace qv
