#include "core/encodings.h"

namespace qv::enc {

int decodeSigned(std::span<const int> f) { return signExtend(low8(f[0])); }
void encodeSigned(int v, std::span<int> f) { f[0] = signExtend(low8(v)); }

int decodeNegated(std::span<const int> f) { return -decodeSigned(f); }
void encodeNegated(int v, std::span<int> f) { encodeSigned(-v, f); }

int decodeUnsigned(std::span<const int> f) { return unsignedField(f[0]); }

int decodeAutoWalk(std::span<const int> f) {
    const int b = unsignedField(f[0]);
    return b == 0x80 || b == 0x81 ? b : decodeSigned(f);
}

int decodeLives(std::span<const int> f) { return (unsignedField(f[0]) + 1) % 256; }
void encodeLives(int v, std::span<int> f) { encodeSigned(v - 1, f); }

int decodeComplement(std::span<const int> f) { return 255 - unsignedField(f[0]); }
void encodeComplement(int v, std::span<int> f) { encodeSigned(255 - v, f); }

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

} // namespace qv::rule
