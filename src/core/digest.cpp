#include "core/digest.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace qv {

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt: feed larger spans in pieces.
    constexpr std::size_t kPiece = std::numeric_limits<uInt>::max();
    for (std::size_t at = 0; at < data.size(); at += kPiece) {
        const std::size_t n = std::min(kPiece, data.size() - at);
        crc = ::crc32(crc, data.data() + at, static_cast<uInt>(n));
    }
    return static_cast<std::uint32_t>(crc);
}

namespace {

// SHA-1's compression of one 64-byte block into the state.
void sha1Block(std::uint32_t (&h)[5], const std::uint8_t* p) {
    std::uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = std::uint32_t{p[4 * t]} << 24 | std::uint32_t{p[4 * t + 1]} << 16 |
               std::uint32_t{p[4 * t + 2]} << 8 | p[4 * t + 3];
    for (int t = 16; t < 80; ++t)
        w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int t = 0; t < 80; ++t) {
        std::uint32_t f, k;
        if (t < 20)
            f = (b & c) | (~b & d), k = 0x5A827999;
        else if (t < 40)
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        else if (t < 60)
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        else
            f = b ^ c ^ d, k = 0xCA62C1D6;
        const std::uint32_t next = std::rotl(a, 5) + f + e + k + w[t];
        e = d, d = c, c = std::rotl(b, 30), b = a, a = next;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
}

} // namespace

// Written out here (FIPS 180-4) rather than taken from a library: loading one cost
// every start of the editor and of qorv about 0.1 ms, whether it hashed anything or not.
std::string sha1Hex(std::span<const std::uint8_t> data) {
    constexpr std::size_t kBlock = 64;
    std::uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    const std::size_t whole = data.size() / kBlock * kBlock;
    for (std::size_t at = 0; at < whole; at += kBlock)
        sha1Block(h, data.data() + at);
    // The rest, a 1 bit, zeros and the length in bits: one block, or two when the
    // length no longer fits the first.
    std::array<std::uint8_t, 2 * kBlock> tail{};
    const std::size_t rest = data.size() - whole;
    std::copy(data.begin() + static_cast<std::ptrdiff_t>(whole), data.end(), tail.begin());
    tail[rest] = 0x80;
    const std::size_t size = rest + 1 + 8 <= kBlock ? kBlock : 2 * kBlock;
    const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
    for (std::size_t k = 0; k < 8; ++k)
        tail[size - 1 - k] = static_cast<std::uint8_t>(bits >> (8 * k));
    for (std::size_t at = 0; at < size; at += kBlock)
        sha1Block(h, tail.data() + at);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(40);
    for (std::uint32_t word : h)
        for (int shift = 28; shift >= 0; shift -= 4)
            out += kHex[(word >> shift) & 0x0F];
    return out;
}

} // namespace qv
