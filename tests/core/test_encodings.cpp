#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/encodings.h"

namespace {

using qv::Encoding;

int decodeByte(const Encoding& e, std::uint8_t b) {
    const int f = qv::signExtend(b);
    return e.decode(std::span<const int>(&f, 1));
}

std::uint8_t encodeByte(const Encoding& e, int v) {
    int f = 0x5A5A; // must be overwritten
    e.encode(v, std::span<int>(&f, 1));
    return qv::low8(f);
}

struct Expect {
    const Encoding* e;
    int min, max;
};

// Every byte reads as a value in the shown range, every value of the range is read
// from exactly one byte, and writing it back gives that byte again.
TEST(Encodings, EveryByteRoundTripsAndCoversTheShownRange) {
    const Expect all[] = {
        {&qv::enc::signedByte, -128, 127}, {&qv::enc::negated, -127, 128},
        {&qv::enc::unsignedByte, 0, 255},  {&qv::enc::autoWalk, -126, 129},
        {&qv::enc::livesPlusOne, 0, 255},  {&qv::enc::complement, 0, 255},
    };
    for (const Expect& x : all) {
        SCOPED_TRACE(std::string(x.e->name));
        std::array<int, 256> seen{};
        for (int b = 0; b < 256; ++b) {
            const int v = decodeByte(*x.e, static_cast<std::uint8_t>(b));
            ASSERT_GE(v, x.min) << b;
            ASSERT_LE(v, x.max) << b;
            ++seen[static_cast<std::size_t>(v - x.min)];
            EXPECT_EQ(encodeByte(*x.e, v), b);
        }
        EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    }
}

TEST(Encodings, KnownValues) {
    using namespace qv::enc;
    EXPECT_EQ(decodeByte(signedByte, 0x18), 24);
    EXPECT_EQ(decodeByte(negated, 0xE8), 24);
    EXPECT_EQ(encodeByte(negated, 128), 0x80);
    EXPECT_EQ(encodeByte(negated, -4), 0x04);
    EXPECT_EQ(decodeByte(negated, 0x80), 128);

    EXPECT_EQ(decodeByte(autoWalk, 0x80), 128);
    EXPECT_EQ(decodeByte(autoWalk, 0x81), 129);
    EXPECT_EQ(decodeByte(autoWalk, 0x82), -126);
    EXPECT_EQ(decodeByte(autoWalk, 0x0C), 12);
    EXPECT_EQ(encodeByte(autoWalk, 129), 0x81);

    EXPECT_EQ(decodeByte(livesPlusOne, 0x02), 3);
    EXPECT_EQ(decodeByte(livesPlusOne, 0xFF), 0);
    EXPECT_EQ(encodeByte(livesPlusOne, 0), 0xFF);
    EXPECT_EQ(encodeByte(livesPlusOne, 255), 0xFE);

    EXPECT_EQ(encodeByte(complement, 255), 0x00);
    EXPECT_EQ(encodeByte(complement, 223), 0x20);
    EXPECT_EQ(encodeByte(complement, 231), 0x18);
    EXPECT_EQ(decodeByte(complement, 0x22), 221);
}

int ruleIndex(const qv::ChoiceRule& r, std::uint8_t b) {
    const int f = qv::signExtend(b);
    return r.decode(std::span<const int>(&f, 1));
}

TEST(ChoiceRules, PipeExitHeightTakesLowNibbleOneOnly) {
    const qv::ChoiceRule r = qv::rule::pipeExitHeight();
    EXPECT_EQ(ruleIndex(r, 0x91), 9);
    EXPECT_EQ(ruleIndex(r, 0x01), 0);
    EXPECT_EQ(ruleIndex(r, 0xF1), 15);
    EXPECT_EQ(ruleIndex(r, 0x92), -1);
    EXPECT_EQ(ruleIndex(r, 0x00), -1);
    EXPECT_EQ(ruleIndex(r, 0x90), -1);
    int valid = 0;
    for (int b = 0; b < 256; ++b) {
        const int i = ruleIndex(r, static_cast<std::uint8_t>(b));
        if (i < 0) continue;
        ++valid;
        int f = 0;
        r.encode(i, std::span<int>(&f, 1));
        EXPECT_EQ(qv::low8(f), b);
    }
    EXPECT_EQ(valid, 16);

    const qv::ChoiceRule idx = qv::rule::byteIndex();
    EXPECT_EQ(ruleIndex(idx, 0x03), 3);
    EXPECT_EQ(ruleIndex(idx, 0xFF), -1); // read as two's complement
}

} // namespace
