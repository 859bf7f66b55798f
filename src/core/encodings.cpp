#include "core/encodings.h"

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

ChoiceRule byteIndex() {
    return {"index", 1, [](std::span<const int> f) { return signExtend(low8(f[0])); },
            [](int index, std::span<int> f) { f[0] = signExtend(low8(index)); }};
}

ChoiceRule pipeExitHeight() {
    return {"pipe exit height", 1,
            [](std::span<const int> f) {
                const int v = unsignedField(f[0]) - 1;
                return v >= 0 && v <= 240 && v % 16 == 0 ? v / 16 : -1;
            },
            [](int index, std::span<int> f) { f[0] = signExtend(low8(index * 16 + 1)); }};
}

ChoiceRule indexOffset(int add, bool unsignedByte) {
    return {"index offset", 1,
            [add, unsignedByte](std::span<const int> f) {
                const int b = unsignedByte ? unsignedField(f[0]) : signExtend(low8(f[0]));
                const int index = b + add;
                return index >= 0 ? index : -1;
            },
            [add](int index, std::span<int> f) { f[0] = signExtend(low8(index - add)); }};
}

ChoiceRule byteTable(std::vector<std::vector<std::uint8_t>> entries,
                     std::vector<std::pair<std::vector<std::uint8_t>, int>> alsoRead) {
    const int bytes = entries.empty() ? 1 : static_cast<int>(entries.front().size());
    const auto same = [](std::span<const int> f, const std::vector<std::uint8_t>& seq) {
        for (std::size_t i = 0; i < seq.size(); ++i)
            if (low8(f[i]) != seq[i]) return false;
        return true;
    };
    auto decode = [entries, alsoRead, same](std::span<const int> f) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (same(f, entries[i])) return static_cast<int>(i);
        for (const auto& [seq, index] : alsoRead)
            if (same(f, seq)) return index;
        return -1;
    };
    auto encode = [entries](int index, std::span<int> f) {
        const auto& seq = entries[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < seq.size(); ++i)
            f[i] = signExtend(seq[i]);
    };
    return {"choice table", bytes, std::move(decode), std::move(encode)};
}

} // namespace qv::rule
