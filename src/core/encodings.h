#pragma once
// How a numeric item's value fields turn into the number shown in its edit, and back.
// Value fields hold the item's bytes sign-extended (-128..127), in the item's offset
// order; an encoder may leave any int in a field, only its low 8 bits are written.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

inline int signExtend(std::uint8_t b) {
    return static_cast<std::int8_t>(b);
}
inline std::uint8_t low8(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
inline int unsignedField(int field) {
    return field & 0xFF;
}

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
int decodePlusOne(std::span<const int> f);
void encodePlusOne(int v, std::span<int> f);
int decodeZeroIs256(std::span<const int> f);
int decodeSplit16(std::span<const int> f);
void encodeSplit16(int v, std::span<int> f);

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
// The game counts from 0 where the player counts from 1: shown 1..256, stored one less.
inline constexpr Encoding plusOne{"plus one", 1, &decodePlusOne, &encodePlusOne};
// A count stored as its unsigned byte, 0x00 meaning 256 (coins for a life, endurance).
inline constexpr Encoding zeroIs256{"zero is 256", 1, &decodeZeroIs256, &encodeSigned};
// Two bytes at unrelated offsets, fields [high, low], as one 16-bit two's-complement
// number read so that every pair maps into -32767..32768 (0x8000 reads as +32768).
inline constexpr Encoding split16{"signed 16-bit split", 2, &decodeSplit16, &encodeSplit16};
} // namespace enc

// A kind of choice rule: its two directions, given the rule's parameters. Kinds hold
// plain functions, so a rule is data: its kind and a few integers.
struct RuleKind {
    std::string_view name; // "score digit", "choice table", ...
    int (*decode)(std::span<const int> fields, std::span<const int> params) = nullptr;
    void (*encode)(int index, std::span<int> fields, std::span<const int> params) = nullptr;
};

// How the entry index of a drop-down list stands for bytes.
struct ChoiceRule {
    const RuleKind* kind = nullptr;
    int bytes = 1;
    // What the kind needs (an index offset, a low nibble, a byte table...), kept as an
    // item's other data is (see keep() in items.h).
    std::span<const int> params;

    std::string_view name() const { return kind ? kind->name : std::string_view(); }
    // The entry index the fields name, or -1 when they name none. The caller still
    // checks the index against the list's length.
    int decode(std::span<const int> fields) const {
        return kind && kind->decode ? kind->decode(fields, params) : -1;
    }
    void encode(int index, std::span<int> fields) const {
        if (kind && kind->encode) kind->encode(index, fields, params);
    }
};

namespace rule {
int decodeByteIndex(std::span<const int> f, std::span<const int> params);
void encodeByteIndex(int index, std::span<int> f, std::span<const int> params);
int decodePipeExitHeight(std::span<const int> f, std::span<const int> params);
void encodePipeExitHeight(int index, std::span<int> f, std::span<const int> params);
int decodeIndexOffset(std::span<const int> f, std::span<const int> params);
void encodeIndexOffset(int index, std::span<int> f, std::span<const int> params);
int decodeByteTable(std::span<const int> f, std::span<const int> params);
void encodeByteTable(int index, std::span<int> f, std::span<const int> params);
int decodeHighNibble(std::span<const int> f, std::span<const int> params);
void encodeHighNibble(int index, std::span<int> f, std::span<const int> params);

// The byte, read as two's complement, is the entry index. No parameters.
inline constexpr RuleKind byteIndexKind{"index", &decodeByteIndex, &encodeByteIndex};
// Pipe exit height: v = unsigned byte - 1 must be 0..240 and a multiple of 16,
// index = v / 16; written back as index * 16 + 1. No parameters.
inline constexpr RuleKind pipeExitHeightKind{"pipe exit height", &decodePipeExitHeight,
                                             &encodePipeExitHeight};
// Parameters {add, unsigned}: index = byte + add, the byte read as unsigned when
// `unsigned` is 1, else as two's complement; written back as index - add.
inline constexpr RuleKind indexOffsetKind{"index offset", &decodeIndexOffset, &encodeIndexOffset};
// Parameters {n, count, the count entries' n bytes each in entry order, then any number
// of further sequences as n bytes and the entry index they read as}. The first match
// wins; an entry is written back as its own sequence.
inline constexpr RuleKind byteTableKind{"choice table", &decodeByteTable, &encodeByteTable};
// Parameters {low}: index = high nibble when the low nibble is `low`; written back as
// index * 16 + low.
inline constexpr RuleKind highNibbleKind{"high nibble", &decodeHighNibble, &encodeHighNibble};

ChoiceRule byteIndex();
ChoiceRule pipeExitHeight();
ChoiceRule indexOffset(int add, bool unsignedByte);
// The byte sequence written for each entry, in entry order; `alsoRead` names further
// sequences that select an entry on load (the entry's own sequence is written back).
ChoiceRule byteTable(std::vector<std::vector<std::uint8_t>> entries,
                     std::vector<std::pair<std::vector<std::uint8_t>, int>> alsoRead = {});
// A list position in the high nibble, below a fixed low nibble.
ChoiceRule highNibble(int low);
} // namespace rule

} // namespace qv
