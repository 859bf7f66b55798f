#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/items.h"
#include "core/tables/codecs.h"
#include "core/tables/registry.h"

namespace {

using qv::ItemKind;
using qv::ItemState;

// A row without its encoding or rule would read nothing and write nothing.
TEST(Codecs, EveryItemHasItsEncodingOrRule) {
    int numeric = 0, choice = 0;
    for (const qv::ItemRow& row : qv::itemRows()) {
        const qv::Item& it = *row.item;
        SCOPED_TRACE(it.control);
        if (it.kind == ItemKind::Numeric) {
            ++numeric;
            ASSERT_NE(it.encoding, nullptr);
            EXPECT_TRUE(it.encoding->decode && it.encoding->encode);
            EXPECT_EQ(it.encoding->bytes, static_cast<int>(it.offsets.size()));
        } else if (it.kind == ItemKind::Choice) {
            ++choice;
            ASSERT_NE(it.rule.kind, nullptr);
            EXPECT_TRUE(it.rule.kind->decode && it.rule.kind->encode);
            EXPECT_EQ(it.rule.bytes, static_cast<int>(it.offsets.size()));
        }
    }
    EXPECT_GT(numeric, 0);
    EXPECT_GT(choice, 0);
}

ItemState readByte(const qv::Item& item, std::uint8_t b) {
    const int f = qv::signExtend(b);
    return item.decode(std::span<const int>(&f, 1));
}

// Over every single-byte list: a byte that names an entry is written back, from itself,
// as a byte naming that same entry.
TEST(Codecs, EverySingleByteListWritesBackWhatItRead) {
    for (const qv::ItemRow& row : qv::itemRows()) {
        const qv::Item& it = *row.item;
        if (it.kind != ItemKind::Choice || it.offsets.size() != 1) continue;
        for (int b = 0; b < 256; ++b) {
            const ItemState s = readByte(it, static_cast<std::uint8_t>(b));
            if (s.outOfBounds) continue;
            int f = qv::signExtend(static_cast<std::uint8_t>(b));
            it.encode(s.value, std::span<int>(&f, 1));
            EXPECT_EQ(readByte(it, qv::low8(f)), s) << it.control << " byte " << b;
        }
    }
}

struct Reads {
    const char* control;
    int entriesRead;            // bytes out of 256 that name an entry
    std::map<int, int> samples; // byte -> entry index, -1 out of bounds
};

TEST(Codecs, ListsReadTheirBytesAsBefore) {
    const Reads cases[] = {
        {"CmbMaDokanHeight", 16, {{0x11, 1}, {0x12, -1}, {0x01, 0}, {0xF1, 15}, {0x00, -1}}},
        {"CmbPtRenzoku1",
         55,
         {{0x00, 0},
          {0x51, 1},
          {0x59, 9},
          {0x41, 10},
          {0x01, 46},
          {0x50, -1},
          {0x5A, -1},
          {0x61, -1}}},
        {"CmbPoleMario", 16, {{0x0E, 0}, {0x9E, 9}, {0xFE, 15}, {0x90, -1}}},
        {"CmbPoleFlag", 16, {{0x30, 3}, {0x00, 0}, {0x31, -1}}},
        {"CmbJugemRestHei", 32, {{0x30, 3}, {0x38, 3}, {0xF8, 15}, {0x34, -1}}},
        {"CmbOnoDelX", 64, {{0x9A, 13}, {0x1E, 15}, {0x21, -1}, {0x01, -1}}},
        {"CmbOnoDelY", 64, {{0xC0, 3}, {0x5E, 1}, {0x20, -1}}},
        {"CmbPoleMaru", 16, {{0xA0, 0}, {0xAF, 15}, {0x9F, -1}, {0xB0, -1}}},
        {"CmbSusBridge1", 16, {{0xFE, 0}, {0xFF, 1}, {0x0D, 15}, {0x0E, -1}, {0xFD, -1}}},
        {"CmbSusBrgTesuri", 28, {{0x93, 0}, {0xAE, 27}, {0x92, -1}, {0xAF, -1}}},
        {"CmbKuriAnim", 9, {{0x01, 0}, {0x80, 7}, {0x00, 8}, {0x03, -1}}},
        {"CmbFiBarLen", 5, {{0x01, 0}, {0x05, 4}, {0x00, -1}, {0x06, -1}}},
    };
    for (const Reads& c : cases) {
        const qv::Item* it = qv::findItem(c.control).item;
        ASSERT_NE(it, nullptr) << c.control;
        int read = 0;
        for (int b = 0; b < 256; ++b)
            read += readByte(*it, static_cast<std::uint8_t>(b)).outOfBounds ? 0 : 1;
        EXPECT_EQ(read, c.entriesRead) << c.control;
        for (const auto& [b, index] : c.samples) {
            const ItemState s = readByte(*it, static_cast<std::uint8_t>(b));
            EXPECT_EQ(s.outOfBounds ? -1 : s.value, index) << c.control << " byte " << b;
        }
    }

    // Two bytes: AND #xx, with AND #FF and two NOPs both reading as 256.
    const qv::Item* world = qv::findItem("CmbStSelWorld").item;
    ASSERT_NE(world, nullptr);
    const auto two = [&](int a, int b) {
        const int f[] = {qv::signExtend(static_cast<std::uint8_t>(a)),
                         qv::signExtend(static_cast<std::uint8_t>(b))};
        const ItemState s = world->decode(f);
        return s.outOfBounds ? -1 : s.value;
    };
    EXPECT_EQ(two(0x29, 0x07), 3);
    EXPECT_EQ(two(0xEA, 0xEA), 8);
    EXPECT_EQ(two(0x29, 0xFF), 8);
    EXPECT_EQ(two(0x29, 0x02), -1);
    int f[2] = {0, 0};
    world->encode(8, f);
    EXPECT_EQ(qv::low8(f[0]), 0xEA);
    EXPECT_EQ(qv::low8(f[1]), 0xEA);
}

// Decoding needs no item: views into constant data will do.
TEST(Codecs, DecodeFieldsReadsConstantData) {
    // Three one-byte entries 12 14 15; 7F also reads as entry 1.
    static constexpr int table[] = {1, 3, 0x12, 0x14, 0x15, 0x7F, 1};
    qv::ItemCodec list;
    list.kind = ItemKind::Choice;
    list.rule = &qv::rule::byteTableKind;
    list.ruleParams = table;
    list.listSize = 3;
    const auto read = [](const qv::ItemCodec& c, std::initializer_list<int> bytes) {
        std::vector<int> f;
        for (int b : bytes)
            f.push_back(qv::signExtend(static_cast<std::uint8_t>(b)));
        return qv::decodeFields(c, f);
    };
    EXPECT_EQ(read(list, {0x14}), (ItemState{false, 1}));
    EXPECT_EQ(read(list, {0x7F}), (ItemState{false, 1}));
    EXPECT_EQ(read(list, {0x15}), (ItemState{false, 2}));
    EXPECT_TRUE(read(list, {0x13}).outOfBounds);
    list.listSize = 2; // the entry exists in the table but not in the list
    EXPECT_TRUE(read(list, {0x15}).outOfBounds);

    // A check box whose second byte, when clear, is another item's operand.
    static constexpr std::uint8_t ticked[] = {0xEA, 0xEA}, cleared[] = {0xC9, 0x00};
    static constexpr int operands[] = {1};
    qv::ItemCodec box;
    box.kind = ItemKind::Check;
    box.ticked = ticked;
    box.cleared = cleared;
    box.clearedOperands = operands;
    EXPECT_EQ(read(box, {0xEA, 0xEA}), (ItemState{false, 1}));
    EXPECT_EQ(read(box, {0xC9, 0x37}), (ItemState{false, 0}));
    EXPECT_TRUE(read(box, {0xEA, 0x37}).outOfBounds);

    // A strict number keeps what it read for display.
    qv::ItemCodec number;
    number.encoding = &qv::enc::unsignedByte;
    number.acceptMin = 0;
    number.acceptMax = 31;
    number.strictRange = true;
    EXPECT_EQ(read(number, {0x1F}), (ItemState{false, 31}));
    EXPECT_EQ(read(number, {0x20}), (ItemState{true, 32}));

    // The bits of a flag.
    qv::ItemCodec flag;
    flag.kind = ItemKind::Flag;
    flag.flagMask = 0x0F;
    flag.flagTicked = 0x08;
    EXPECT_EQ(read(flag, {0x38}), (ItemState{false, 1}));
    EXPECT_EQ(read(flag, {0x30}), (ItemState{false, 0}));
    EXPECT_TRUE(read(flag, {0x34}).outOfBounds);
    flag.flagOthersClear = true;
    EXPECT_EQ(read(flag, {0x34}), (ItemState{false, 0}));
}

} // namespace
