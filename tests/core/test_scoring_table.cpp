// The Scoring table against hand-worked bytes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/registry.h"
#include "core/tables/scoring.h"
#include "core/valuefields.h"
#include "support/tabledefaults.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::scoring();
}
const qv::Item& item(const char* control) {
    return qvtest::itemIn(T(), control);
}

// The bytes of an unmodified game at all 101 offsets the dialog edits.
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x04C8, {0x41, 0x42, 0x44, 0x45, 0x48, 0x31, 0x32, 0x34, 0x35, 0x38, 0x00}},
    {0x04B1, {0xF6, 0xFB, 0xF7, 0xFB, 0xF8, 0xFB, 0xF9, 0xFB, 0xFA, 0xFB, 0xF6,
              0x50, 0xF7, 0x50, 0xF8, 0x50, 0xF9, 0x50, 0xFA, 0x50, 0xFD, 0xFE}},
    {0x3C32, {0xA9, 0x02, 0x8D, 0x38}},
    {0x6686, {0xF7}},
    {0x668B, {0xFB}},
    {0x385B, {0x05, 0x02, 0x08, 0x04, 0x01}},
    {0x3860, {0x03, 0x03, 0x04, 0x04, 0x04}},
    {0x6551, {0xF9, 0x50, 0xF7, 0x50, 0xFA, 0xFB, 0xF8, 0xFB, 0xF6, 0xFB}},
    {0x3C0E, {0xA9, 0x01, 0x8D, 0x39}},
    {0x3C23, {0x64}},
    {0x5814, {0x06}},
    {0x584B, {0x0B}},
    {0x55AE, {0x06}},
    {0x57CB, {0x01}},
    {0x57C5, {0x06}},
    {0x5796, {0x09}},
    {0x57BD, {0x02}},
    {0x5975, {0x02}},
    {0x59D0, {0x03}},
    {0x5977, {0x05}},
    {0x5978, {0x06}},
    {0x5976, {0x06}},
    {0x58F6, {0x03}},
    {0x58A3, {0x06}},
    {0x58A2, {0x0A}},
    {0x5AF4, {0x69, 0x04}},
    {0x5B18, {0x69, 0x04}},
    {0x6027, {0x01}},
    {0x3E23, {0xA9, 0x05, 0x8D, 0x39}},
    {0x5341, {0xA9, 0x05, 0x8D, 0x39}},
    {0x52D5, {0xA9, 0x05, 0x8D, 0x38}},
    {0x3C51, {0xA9, 0x24}},
    {0x077B, {0x00}},
    {0x9FED, {0x00}},
    {0x077C, {0x24}},
};

void put(qv::RomBuffer& rom, int offset, std::vector<std::uint8_t> bytes, int shift = 0) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        rom[static_cast<std::size_t>(offset + shift) + i] = bytes[i];
}

std::string show(qv::RomBuffer& rom, const char* control, int offset,
                 std::vector<std::uint8_t> bytes) {
    put(rom, offset, std::move(bytes));
    const qv::Item& it = item(control);
    return it.text(it.read(rom, 0));
}

TEST(PointTable, ShapePagesGroupsAndResetButtons) {
    EXPECT_EQ(T().className, "TFormPoint");
    EXPECT_EQ(T().caption, "Scoring Settings");
    EXPECT_EQ(T().undoSuffix, "(Scoring)");
    EXPECT_EQ(T().helpContext, 700);
    EXPECT_EQ(qv::findTable("TFormPoint"), &T());
    std::vector<std::string> pages, tabs, groups, resets;
    std::vector<int> help;
    for (std::size_t p = 0; p < T().pages.size(); ++p) {
        pages.emplace_back(T().pages[p].caption);
        tabs.push_back(qv::pageObjectName(T().pages[p], static_cast<int>(p)));
        for (std::size_t g = 0; g < T().pages[p].groups.size(); ++g) {
            const qv::Group& grp = T().pages[p].groups[g];
            groups.push_back(qv::groupObjectName(grp, static_cast<int>(p), static_cast<int>(g)));
            resets.emplace_back(grp.reset);
            help.push_back(grp.helpContext);
        }
    }
    EXPECT_EQ(pages,
              (std::vector<std::string>{"General", "Coins and Flagpoles", "Items and Bonuses",
                                        "Fireballs", "Stomping", "Kicking", "Special"}));
    EXPECT_EQ(tabs, (std::vector<std::string>{"TabSogo", "TabPole", "TabItem", "TabFire", "TabFumi",
                                              "TabKeri", "TabOther"}));
    EXPECT_EQ(groups, (std::vector<std::string>{"GrpRenzoku", "GrpPtPole", "GrpPtKinoko",
                                                "GrpPtLift", "GrpPtFire", "GrpPtFumi", "GrpPtKeri",
                                                "GrpEikyogai", "GrpPtPoint"}));
    EXPECT_EQ(resets, (std::vector<std::string>{"SpdRenzoku", "SpdPtPole", "SpdPtKinoko",
                                                "SpdPtLift", "SpdPtFireR", "SpdPtFumiR",
                                                "SpdPtKeriR", "SpdEikyogai", "SpdPtPointR"}));
    EXPECT_EQ(help,
              (std::vector<int>{1201, 14427, 22548, 21934, 22475, 22901, 22774, 15907, 15441}));
    EXPECT_EQ(T().groupByReset("SpdRenzoku")->items.size(), 22u);
    EXPECT_EQ(T().groupByReset("SpdPtPole")->items.size(), 14u);
    EXPECT_EQ(T().groupByReset("SpdPtKeriR")->items.size(), 5u);
}

// Every item reads its default from an unmodified game, and writing each default into
// a blank image gives exactly those bytes: a wrong offset, rule or default shows here.
TEST(PointTable, AnUnmodifiedGameShowsEveryDefaultOver101Bytes) {
    qv::RomBuffer rom{};
    std::size_t bytes = 0;
    for (const auto& [off, seq] : kDefaultBytes) {
        put(rom, off, seq);
        bytes += seq.size();
    }
    EXPECT_EQ(bytes, 101u);
    qv::RomBuffer written{};
    std::set<int> claimed;
    for (const qv::Item* it : T().items()) {
        SCOPED_TRACE(it->control);
        const ItemState s = it->read(rom, 0);
        EXPECT_FALSE(s.outOfBounds);
        EXPECT_EQ(s.value, it->defaultValue);
        EXPECT_TRUE(it->write(written, 0, it->defaultValue));
        for (int off : it->offsets)
            EXPECT_TRUE(claimed.insert(off).second) << off;
    }
    EXPECT_EQ(claimed.size(), 101u);
    EXPECT_EQ(qv::ValueFields(T()).offsets().size(), 101u);
    EXPECT_TRUE(written == rom);
    // The marked entries, one of them with a single blank.
    EXPECT_EQ(item("CmbPtFumiGesso").text(item("CmbPtFumiGesso").read(rom, 0)), "1,000  [Default]");
    EXPECT_EQ(item("CmbPtFumiHmBrs").text(item("CmbPtFumiHmBrs").read(rom, 0)), "1,000  [Default]");
    EXPECT_EQ(item("CmbPtRenzoku11").text(item("CmbPtRenzoku11").read(rom, 0)), "1UP  [Default]");
    EXPECT_EQ(item("CmbVwGetCoin").text(item("CmbVwGetCoin").read(rom, 0)), "1  [Default]");
    EXPECT_EQ(item("CmbPtHanabi").text(item("CmbPtHanabi").read(rom, 0)), "500  [Default]");
    EXPECT_EQ(item("CmbVwPole800").text(item("CmbVwPole800").read(rom, 0)), "800  [Default]");
    EXPECT_EQ(item("EditOneUpCoin").rangeLabel(), "[1～256 Default: 100]");
    EXPECT_EQ(item("EditOneUpCoin").maxLength, 3);
}

TEST(PointTable, ListsHaveTheirEntries) {
    const auto& points = item("CmbPtRenzoku1").list->captions();
    ASSERT_EQ(points.size(), 55u);
    EXPECT_EQ(points[0], "0");
    EXPECT_EQ(points[1], "10");
    EXPECT_EQ(points[9], "90");
    EXPECT_EQ(points[10], "100  [Default]");
    EXPECT_EQ(points[19], "1,000");
    EXPECT_EQ(points[36], "90,000");
    EXPECT_EQ(points[37], "100,000");
    EXPECT_EQ(points[46], "1,000,000");
    EXPECT_EQ(points[54], "9,000,000");
    const auto& oneUp = item("CmbPtRenzoku11").list->captions();
    ASSERT_EQ(oneUp.size(), 55u);
    EXPECT_EQ(oneUp[1], "10 + 1UP");
    EXPECT_EQ(oneUp[54], "9,000,000 + 1UP");
    const auto& display = item("CmbVwRenzoku2").list->captions();
    EXPECT_EQ(display,
              (std::vector<std::string>{"(Hidden)", "0 ", "10", "20", "40", "50", "80", "100",
                                        "200  [Default]", "400", "500", "800", "1,000", "2,000",
                                        "4,000", "5,000", "8,000", "1UP"}));
    EXPECT_EQ(item("CmbPtTuki").list->captions(),
              (std::vector<std::string>{"0 (Hidden)", "100  [Default]", "200", "400", "500", "800",
                                        "1,000", "2,000", "4,000", "5,000", "8,000", "1UP"}));
    const auto& coin = item("CmbVwGetCoin").list->captions();
    ASSERT_EQ(coin.size(), 19u);
    EXPECT_EQ(coin[9], "9");
    EXPECT_EQ(coin[10], "10");
    EXPECT_EQ(coin[18], "90");
}

TEST(PointTable, ScoreTableDigitsAndTilePairs) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x00}), "0");
    EXPECT_EQ(show(rom, "CmbPtRenzoku11", 0x04D2, {0x00}), "1UP  [Default]");
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x4A}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x40}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x69}), "(Out of bounds)"); // position 6
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x51}), "10");
    EXPECT_EQ(show(rom, "CmbPtRenzoku1", 0x04C8, {0x01}), "1,000,000");
    EXPECT_EQ(show(rom, "CmbPtRenzoku2", 0x04C9, {0x09}), "9,000,000");
    EXPECT_EQ(show(rom, "CmbPtRenzoku11", 0x04D2, {0x52}), "20 + 1UP");
    ASSERT_TRUE(item("CmbPtRenzoku2").write(rom, 0, 20)); // "2,000"
    EXPECT_EQ(rom[0x04C9], 0x32);
    ASSERT_TRUE(item("CmbPtRenzoku3").write(rom, 0, 37)); // "100,000"
    EXPECT_EQ(rom[0x04CA], 0x11);                         // position 1, the hundred-thousands
    // Each byte a slot understands writes back as itself.
    int valid = 0;
    for (int b = 0; b < 256; ++b) {
        rom[0x04C8] = static_cast<std::uint8_t>(b);
        const ItemState s = item("CmbPtRenzoku1").read(rom, 0);
        if (s.outOfBounds) continue;
        ++valid;
        ASSERT_TRUE(item("CmbPtRenzoku1").write(rom, 0, s.value));
        EXPECT_EQ(rom[0x04C8], b);
    }
    EXPECT_EQ(valid, 55);

    EXPECT_EQ(show(rom, "CmbVwRenzoku1", 0x04B1, {0xFB, 0xFC}), "0 ");
    EXPECT_EQ(show(rom, "CmbVwRenzoku1", 0x04B1, {0xFC, 0xFB}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbVwRenzoku11", 0x04C5, {0xF6, 0x50}), "1,000");
    ASSERT_TRUE(item("CmbVwRenzoku11").write(rom, 0, 0));
    EXPECT_EQ(rom[0x04C5], 0xFC);
    EXPECT_EQ(rom[0x04C6], 0xFC);
    EXPECT_EQ(rom[0x04C7], 0x00); // not touched
    // The coin's picture: first tile 0x6686, second 0x668B.
    put(rom, 0x6686, {0xFA, 0, 0, 0, 0, 0x50});
    EXPECT_EQ(item("CmbVwCoin").text(item("CmbVwCoin").read(rom, 0)), "8,000");
    ASSERT_TRUE(item("CmbVwCoin").write(rom, 0, 17));
    EXPECT_EQ(rom[0x6686], 0xFD);
    EXPECT_EQ(rom[0x668B], 0xFE);
    EXPECT_EQ(rom[0x6687], 0x00);
}

TEST(PointTable, DigitAddInstructionsAndTheCoinStep) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x0A, 0x8D, 0x39}), "100");
    ASSERT_TRUE(item("CmbPtHanabi").write(rom, 0, item("CmbPtHanabi").read(rom, 0).value));
    EXPECT_EQ(rom[0x52D5], 0xA9);
    EXPECT_EQ(rom[0x52D6], 0x01);
    EXPECT_EQ(rom[0x52D7], 0x8D);
    EXPECT_EQ(rom[0x52D8], 0x38);
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x00, 0x8D, 0x38}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x05, 0x85, 0x38}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x0B, 0x8D, 0x39}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x01, 0x8D, 0x33}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtHanabi", 0x52D5, {0xA9, 0x0A, 0x8D, 0x38}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtLenga", 0x3E23, {0xA9, 0x09, 0x8D, 0x34}), "9,000,000");
    EXPECT_EQ(show(rom, "CmbPtNkTime", 0x5341, {0xA9, 0x00, 0x8D, 0x39}), "0");
    ASSERT_TRUE(item("CmbPtCoin").write(rom, 0, 11)); // "200"
    EXPECT_EQ(rom[0x3C32], 0xA9);
    EXPECT_EQ(rom[0x3C33], 0x02);
    EXPECT_EQ(rom[0x3C34], 0x8D);
    EXPECT_EQ(rom[0x3C35], 0x38);
    ASSERT_TRUE(item("CmbPtNkTime").write(rom, 0, 0));
    EXPECT_EQ(rom[0x5342], 0x00);
    EXPECT_EQ(rom[0x5344], 0x39);

    EXPECT_EQ(show(rom, "CmbVwGetCoin", 0x3C0E, {0xA9, 0x05, 0x8D, 0x37}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbVwGetCoin", 0x3C0E, {0xA9, 0x09, 0x8D, 0x38}), "90");
    EXPECT_EQ(show(rom, "CmbVwGetCoin", 0x3C0E, {0xA9, 0x00, 0x8D, 0x38}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbVwGetCoin", 0x3C0E, {0xA9, 0x0A, 0x8D, 0x39}), "10");
    ASSERT_TRUE(item("CmbVwGetCoin").write(rom, 0, 10));
    EXPECT_EQ(rom[0x3C0F], 0x01);
    EXPECT_EQ(rom[0x3C11], 0x38);
    ASSERT_TRUE(item("CmbVwGetCoin").write(rom, 0, 0));
    EXPECT_EQ(rom[0x3C0F], 0x00);
    EXPECT_EQ(rom[0x3C11], 0x39);
}

TEST(PointTable, FlagpolePairsShellChainAndItemIndexes) {
    qv::RomBuffer rom{};
    put(rom, 0x385D, {0x08});
    put(rom, 0x3862, {0x06});
    EXPECT_EQ(item("CmbPtPole800").text(item("CmbPtPole800").read(rom, 0)), "(Out of bounds)");
    put(rom, 0x385D, {0x00});
    put(rom, 0x3862, {0x04});
    EXPECT_EQ(item("CmbPtPole800").text(item("CmbPtPole800").read(rom, 0)), "(Out of bounds)");
    put(rom, 0x3862, {0x05});
    EXPECT_EQ(item("CmbPtPole800").text(item("CmbPtPole800").read(rom, 0)), "0");
    put(rom, 0x385F, {0x09});
    put(rom, 0x3864, {0x00});
    EXPECT_EQ(item("CmbPtPole100").text(item("CmbPtPole100").read(rom, 0)), "9,000,000");
    ASSERT_TRUE(item("CmbPtPole5000").write(rom, 0, 0));
    EXPECT_EQ(rom[0x385B], 0x00);
    EXPECT_EQ(rom[0x3860], 0x05);
    ASSERT_TRUE(item("CmbPtPole2000").write(rom, 0, 14)); // "500"
    EXPECT_EQ(rom[0x385C], 0x05);
    EXPECT_EQ(rom[0x3861], 0x04);

    const qv::Item& two = item("CmbPtKeriTwo");
    const auto chain = [&](std::uint8_t a, std::uint8_t x, std::uint8_t b, std::uint8_t y) {
        put(rom, 0x5AF4, {a, x});
        put(rom, 0x5B18, {b, y});
        return two.text(two.read(rom, 0));
    };
    EXPECT_EQ(chain(0x69, 0x04, 0x69, 0x04), "500  [Default]");
    EXPECT_EQ(chain(0x69, 0x04, 0x69, 0x05), "(Out of bounds)");
    EXPECT_EQ(chain(0x69, 0x04, 0x6A, 0x04), "(Out of bounds)");
    EXPECT_EQ(chain(0x65, 0x04, 0x69, 0x04), "(Out of bounds)");
    EXPECT_EQ(chain(0x69, 0x0C, 0x69, 0x0C), "(Out of bounds)");
    EXPECT_EQ(chain(0x69, 0x0B, 0x69, 0x0B), "1UP");
    ASSERT_TRUE(two.write(rom, 0, 0));
    EXPECT_EQ(rom[0x5AF4], 0x69);
    EXPECT_EQ(rom[0x5AF5], 0x00);
    EXPECT_EQ(rom[0x5B18], 0x69);
    EXPECT_EQ(rom[0x5B19], 0x00);

    EXPECT_EQ(show(rom, "CmbPtFumiGesso", 0x5978, {0x0C}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtFumiGesso", 0x5978, {0xFF}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbPtFumiGesso", 0x5978, {0x00}), "0 (Hidden)");
    EXPECT_EQ(show(rom, "CmbPtFumiGesso", 0x5978, {0x0B}), "1UP");
}

TEST(PointTable, CoinsForAnExtraLifeAndTheDigitSwitches) {
    qv::RomBuffer rom{};
    const qv::Item& coins = item("EditOneUpCoin");
    EXPECT_EQ(coins.read(rom, 0), (ItemState{false, 256}));
    rom[0x3C23] = 0xFF;
    EXPECT_EQ(coins.read(rom, 0).value, 255);
    ASSERT_TRUE(coins.write(rom, 0, coins.acceptText("256")));
    EXPECT_EQ(rom[0x3C23], 0x00);
    ASSERT_TRUE(coins.write(rom, 0, coins.acceptText("257")));
    EXPECT_EQ(rom[0x3C23], 0x64);
    EXPECT_EQ(coins.acceptText("abc"), 100);
    EXPECT_EQ(coins.acceptText("0"), 100);
    EXPECT_EQ(coins.acceptText("1"), 1);

    const qv::Item& mil = item("ChkMilZero");
    put(rom, 0x3C51, {0xA9, 0x01});
    EXPECT_TRUE(mil.read(rom, 0).outOfBounds);
    put(rom, 0x3C51, {0xAD, 0x00});
    EXPECT_TRUE(mil.read(rom, 0).outOfBounds);
    put(rom, 0x3C51, {0xA9, 0x00});
    EXPECT_EQ(mil.read(rom, 0), (ItemState{false, 1}));
    ASSERT_TRUE(mil.write(rom, 0, 0));
    EXPECT_EQ(rom[0x3C52], 0x24);
    rom[0x077C] = 0x00;
    EXPECT_EQ(item("ChkPtOneRtZero").read(rom, 0), (ItemState{false, 1}));
    rom[0x9FED] = 0x24;
    EXPECT_EQ(item("ChkPtHiOneZero").read(rom, 0), (ItemState{false, 1}));
    rom[0x077B] = 0x01;
    EXPECT_TRUE(item("ChkPtOneZero").read(rom, 0).outOfBounds);
}

TEST(PointTable, ATrainerMovesEveryOffsetBy512) {
    qv::RomBuffer rom{};
    put(rom, 0x5AF4, {0x69, 0x0A}, 512);
    put(rom, 0x5B18, {0x69, 0x0A}, 512);
    put(rom, 0x6686, {0xF9}, 512);
    put(rom, 0x668B, {0xFC}, 512);
    rom[0x3C23 + 512] = 0x03;
    EXPECT_EQ(item("CmbPtKeriTwo").read(rom, 512), (ItemState{false, 10}));
    EXPECT_EQ(item("CmbVwCoin").read(rom, 512), (ItemState{false, 5}));
    EXPECT_EQ(item("EditOneUpCoin").read(rom, 512).value, 3);
    ASSERT_TRUE(item("CmbPtPole100").write(rom, 512, 1)); // "10"
    EXPECT_EQ(rom[0x385F + 512], 0x01);
    EXPECT_EQ(rom[0x3864 + 512], 0x05);
    EXPECT_EQ(rom[0x385F], 0x00);
}

} // namespace
