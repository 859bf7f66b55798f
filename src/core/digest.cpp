#include "core/digest.h"

#include <nettle/sha1.h>
#include <zlib.h>

#include <algorithm>
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

std::string sha1Hex(std::span<const std::uint8_t> data) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, data.size(), data.data());
    std::uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&ctx, sizeof digest, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * sizeof digest);
    for (const std::uint8_t b : digest) {
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
    }
    return out;
}

} // namespace qv
