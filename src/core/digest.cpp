#include "core/digest.h"

#ifdef _WIN32
// Windows has SHA-1 in its own cryptography API (CNG); nettle is not built for it.
#include <windows.h>

#include <bcrypt.h>
#else
#include <nettle/sha1.h>
#endif
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
    std::uint8_t digest[20] = {};
#ifdef _WIN32
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0)) &&
        BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
        // CNG takes lengths as ULONG: larger spans go in pieces.
        constexpr std::size_t kPiece = std::numeric_limits<ULONG>::max();
        for (std::size_t at = 0; at < data.size(); at += kPiece)
            ::BCryptHashData(hash, const_cast<PUCHAR>(data.data() + at),
                             static_cast<ULONG>(std::min(kPiece, data.size() - at)), 0);
        ::BCryptFinishHash(hash, digest, sizeof digest, 0);
    }
    if (hash) ::BCryptDestroyHash(hash);
    if (algorithm) ::BCryptCloseAlgorithmProvider(algorithm, 0);
#else
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, data.size(), data.data());
    static_assert(sizeof digest == SHA1_DIGEST_SIZE);
    sha1_digest(&ctx, sizeof digest, digest);
#endif
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
