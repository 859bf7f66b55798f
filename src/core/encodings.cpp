#include "core/encodings.h"

#include <array>
#include <cassert>

#include "core/items.h"

namespace qv::enc {

int decodeSigned(std::span<const int> f) {
    return signExtend(low8(f[0]));
}
void encodeSigned(int v, std::span<int> f) {
    f[0] = signExtend(low8(v));
}

int decodeNegated(std::span<const int> f) {
    return -decodeSigned(f);
}
void encodeNegated(int v, std::span<int> f) {
    encodeSigned(-v, f);
}

int decodeUnsigned(std::span<const int> f) {
    return unsignedField(f[0]);
}

int decodeAutoWalk(std::span<const int> f) {
    const int b = unsignedField(f[0]);
    return b == 0x80 || b == 0x81 ? b : decodeSigned(f);
}

int decodeLives(std::span<const int> f) {
    return (unsignedField(f[0]) + 1) % 256;
}
void encodeLives(int v, std::span<int> f) {
    encodeSigned(v - 1, f);
}

int decodeComplement(std::span<const int> f) {
    return 255 - unsignedField(f[0]);
}
void encodeComplement(int v, std::span<int> f) {
    encodeSigned(255 - v, f);
}

int decodePlusOne(std::span<const int> f) {
    return unsignedField(f[0]) + 1;
}
void encodePlusOne(int v, std::span<int> f) {
    encodeSigned(v - 1, f);
}

int decodeZeroIs256(std::span<const int> f) {
    const int b = unsignedField(f[0]);
    return b == 0 ? 256 : b;
}

int decodeSplit16(std::span<const int> f) {
    const int u = unsignedField(f[0]) * 256 + unsignedField(f[1]);
    return u > 32768 ? u - 65536 : u;
}
void encodeSplit16(int v, std::span<int> f) {
    const int u = ((v % 65536) + 65536) % 65536;
    f[0] = signExtend(low8(u >> 8));
    f[1] = signExtend(low8(u));
}

} // namespace qv::enc

namespace qv::rule {

int decodeByteIndex(std::span<const int> f, std::span<const int>) {
    return signExtend(low8(f[0]));
}
void encodeByteIndex(int index, std::span<int> f, std::span<const int>) {
    f[0] = signExtend(low8(index));
}

int decodePipeExitHeight(std::span<const int> f, std::span<const int>) {
    const int v = unsignedField(f[0]) - 1;
    return v >= 0 && v <= 240 && v % 16 == 0 ? v / 16 : -1;
}
void encodePipeExitHeight(int index, std::span<int> f, std::span<const int>) {
    f[0] = signExtend(low8(index * 16 + 1));
}

int decodeIndexOffset(std::span<const int> f, std::span<const int> params) {
    const int b = params[1] ? unsignedField(f[0]) : signExtend(low8(f[0]));
    const int index = b + params[0];
    return index >= 0 ? index : -1;
}
void encodeIndexOffset(int index, std::span<int> f, std::span<const int> params) {
    f[0] = signExtend(low8(index - params[0]));
}

// The byte table's parameters: sequence length, entry count, entries, then the
// sequences also read, each followed by its index.
namespace {
struct ByteTableView {
    std::size_t n, count;
    std::span<const int> entries, alsoRead;
};
ByteTableView byteTableView(std::span<const int> params) {
    const auto n = static_cast<std::size_t>(params[0]);
    const auto count = static_cast<std::size_t>(params[1]);
    return {n, count, params.subspan(2, n * count), params.subspan(2 + n * count)};
}
bool same(std::span<const int> f, std::span<const int> seq) {
    for (std::size_t i = 0; i < seq.size(); ++i)
        if (low8(f[i]) != seq[i]) return false;
    return true;
}
} // namespace

int decodeByteTable(std::span<const int> f, std::span<const int> params) {
    const ByteTableView t = byteTableView(params);
    for (std::size_t i = 0; i < t.count; ++i)
        if (same(f, t.entries.subspan(i * t.n, t.n))) return static_cast<int>(i);
    for (std::size_t at = 0; at + t.n < t.alsoRead.size(); at += t.n + 1)
        if (same(f, t.alsoRead.subspan(at, t.n))) return t.alsoRead[at + t.n];
    return -1;
}
void encodeByteTable(int index, std::span<int> f, std::span<const int> params) {
    const ByteTableView t = byteTableView(params);
    const auto seq = t.entries.subspan(static_cast<std::size_t>(index) * t.n, t.n);
    for (std::size_t i = 0; i < seq.size(); ++i)
        f[i] = signExtend(low8(seq[i]));
}

int decodeHighNibble(std::span<const int> f, std::span<const int> params) {
    const int b = unsignedField(f[0]);
    return (b & 0x0F) == params[0] ? b >> 4 : -1;
}
void encodeHighNibble(int index, std::span<int> f, std::span<const int> params) {
    f[0] = signExtend(low8(index * 16 + params[0]));
}

ChoiceRule byteIndex() {
    return {&byteIndexKind, 1, {}};
}

ChoiceRule pipeExitHeight() {
    return {&pipeExitHeightKind, 1, {}};
}

ChoiceRule indexOffset(int add, bool unsignedByte) {
    return {&indexOffsetKind, 1, keep(std::array{add, unsignedByte ? 1 : 0})};
}

ChoiceRule byteTable(std::vector<std::vector<std::uint8_t>> entries,
                     std::vector<std::pair<std::vector<std::uint8_t>, int>> alsoRead) {
    const int bytes = entries.empty() ? 1 : static_cast<int>(entries.front().size());
    std::vector<int> params{bytes, static_cast<int>(entries.size())};
    for (const auto& seq : entries) {
        assert(static_cast<int>(seq.size()) == bytes);
        params.insert(params.end(), seq.begin(), seq.end());
    }
    for (const auto& [seq, index] : alsoRead) {
        assert(static_cast<int>(seq.size()) == bytes);
        params.insert(params.end(), seq.begin(), seq.end());
        params.push_back(index);
    }
    return {&byteTableKind, bytes, keep(params)};
}

ChoiceRule highNibble(int low) {
    return {&highNibbleKind, 1, keep(std::array{low})};
}

} // namespace qv::rule
