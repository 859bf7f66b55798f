// Known answers: CRC-32 check value from the CRC catalogue; SHA-1 vectors from FIPS 180
// and, for the padding boundaries, bytes 0, 1, 2, ... hashed by Python's hashlib.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <string_view>
#include <vector>

#include "core/digest.h"

using qv::crc32;
using qv::sha1Hex;

namespace {

std::vector<std::uint8_t> bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

std::vector<std::uint8_t> counting(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), std::uint8_t{0});
    return v;
}

} // namespace

TEST(Digest, Crc32KnownAnswers) {
    EXPECT_EQ(crc32(bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytes("")), 0x00000000u);
    EXPECT_EQ(crc32(counting(200)), 0xED086180u);
    EXPECT_EQ(crc32(std::vector<std::uint8_t>(40976, 0)), 0x47C20647u);
}

TEST(Digest, Sha1KnownAnswersAcrossPaddingBoundaries) {
    EXPECT_EQ(sha1Hex(bytes("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(sha1Hex(bytes("")), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    // 56 bytes: the length no longer fits the block, so padding takes a second one.
    EXPECT_EQ(sha1Hex(bytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(sha1Hex(counting(55)), "8ae2d46729cfe68ff927af5eec9c7d1b66d65ac2");
    EXPECT_EQ(sha1Hex(counting(63)), "6d942da0c4392b123528f2905c713a3ce28364bd");
    EXPECT_EQ(sha1Hex(counting(64)), "c6138d514ffa2135bfce0ed0b8fac65669917ec7");
    EXPECT_EQ(sha1Hex(counting(120)), "d3dbd653bd8597b7475321b60a36891278e6a04a");
    EXPECT_EQ(sha1Hex(std::vector<std::uint8_t>(1000000, 'a')),
              "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}
