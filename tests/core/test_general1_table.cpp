// The General 1 table and its two sub-dialog tables against hand-worked bytes.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/staircase.h"
#include "core/tables/basicblocks.h"
#include "core/tables/general1.h"
#include "core/tables/registry.h"
#include "core/tables/staircaseblocks.h"
#include "core/valuefields.h"
#include "support/offsets.h"
#include "support/staircasepicture.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::general1();
}
const qv::Item& item(const char* control) {
    const qv::Item* it = T().find(control);
    if (!it) it = qv::tables::basicBlocks().find(control);
    if (!it) it = qv::tables::staircaseBlocks().find(control);
    EXPECT_NE(it, nullptr) << control;
    return *it;
}

// The bytes of an unmodified game at every offset General 1 and its sub-dialogs edit,
// worked out by hand from each item's default (0x1486 world 8 = 0x07, 0x3E7C negated
// 6 = 0xFA, 0x3797 complement 231 = 0x18, lifts -240 = FF 10 and 240 = 00 F0, ...).
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x3D42, {0x0B}},
    {0x1486, {0x07}},
    {0x1979, {0x03}},
    {0x197C, {0x07}},
    {0x3E7C, {0xFA}},
    {0x3E61, {0xFC}},
    {0x3CD4, {0x10}},
    {0x3DE3, {0x00}},
    {0x3DE6, {0x02}},
    {0x3DE9, {0x03}},
    {0x1B17, {0x00}},
    {0x3B7D, {0xFB}},
    {0x6888, {0x18, 0x19, 0x1A, 0x19}},
    {0x4861, {0xFF}},
    {0x485C, {0x10}},
    {0x486D, {0x00}},
    {0x4868, {0xF0}},
    {0x481C, {0x00}},
    {0x5658, {0x10}},
    {0x198A, {0x06}},
    {0x198D, {0x07}},
    {0x1990, {0x09}},
    {0x199A, {0xA1}},
    {0x19A8, {0x02}},
    {0x3797, {0x18}},
    {0x113E, {0x04, 0x03, 0x02}},
    {0x379D, {0xA9, 0xFF, 0x8D, 0x39}},
    {0x5308, {0x01}},
    {0x530E, {0x03}},
    {0x5314, {0x06}},
    {0x02B1, {0x29, 0x07}},
    {0x027D, {0xFC, 0x07, 0xF0}},
    {0x104B, {0x04}},
    {0x1054, {0x02}},
};
const std::map<int, std::vector<std::uint8_t>> kSubDialogBytes = {
    {0x13EC, {0x00, 0x00, 0x00, 0x18, 0x01, 0x18, 0x07, 0x18, 0x0F, 0x18, 0xFF,
              0x18, 0x01, 0x1F, 0x07, 0x1F, 0x0F, 0x1F, 0x81, 0x1F, 0x01, 0x00,
              0x8F, 0x1F, 0xF1, 0x1F, 0xF9, 0x18, 0xF1, 0x18, 0xFF, 0x1F}},
    {0x14B5, {0x08}},
    {0x1AB5, {0x07, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00}}, // counts, step 9 first
    {0x1ABE, {0x03, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}}, // start rows, step 9 first
};

void put(qv::RomBuffer& rom, const std::map<int, std::vector<std::uint8_t>>& bytes) {
    for (const auto& [off, seq] : bytes)
        for (std::size_t i = 0; i < seq.size(); ++i)
            rom[static_cast<std::size_t>(off) + i] = seq[i];
}
std::size_t count(const std::map<int, std::vector<std::uint8_t>>& bytes) {
    std::size_t n = 0;
    for (const auto& [off, seq] : bytes)
        n += seq.size();
    return n;
}

TEST(Zenpan1Table, ShapePagesAndResetButtons) {
    EXPECT_EQ(T().className, "TFormZenpan1");
    EXPECT_EQ(T().caption, "General Settings 1");
    EXPECT_EQ(T().undoSuffix, "(General 1)");
    EXPECT_EQ(T().helpContext, 200);
    std::vector<std::string> pages, names, resets;
    for (const qv::Page& p : T().pages) {
        pages.emplace_back(p.caption);
        names.emplace_back(p.objectName);
        for (const qv::Group& g : p.groups)
            resets.emplace_back(g.reset);
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"Blocks", "Items", "Springboard", "Lifts", "Bridge",
                                               "Horizontal Rope", "Time", "Stages"}));
    EXPECT_EQ(names,
              (std::vector<std::string>{"TabBloc", "TabItem", "TabJump", "TabLift", "TabSusBridge",
                                        "TabMaruChr", "TabTime", "TabStage"}));
    // Empty: "Block Configuration", "Miscellaneous", "Springboard Jump Power".
    EXPECT_EQ(resets, (std::vector<std::string>{"SpdTenCoin",
                                                "SpdCsBrkWorld",
                                                "",
                                                "SpdHatenaHeight",
                                                "SpdBlocHane",
                                                "SpdItemSpeed",
                                                "SpdBlocItem",
                                                "SpdAlwaysOneUp",
                                                "SpdCoinHane",
                                                "",
                                                "",
                                                "SpdJumpDaoChr",
                                                "SpdLift",
                                                "SpdSusBridge",
                                                "SpdSusBrgTesuri",
                                                "SpdMaruChrHeight",
                                                "SpdTimeDecSpd",
                                                "SpdNokoriTime",
                                                "SpdTimeNoDown",
                                                "SpdFireFrower",
                                                "SpdStSelWorld",
                                                "SpdStSelTrue",
                                                "SpdNnd"}));
    EXPECT_EQ(T().groupByReset("SpdLift")->items.size(), 4u);
    EXPECT_EQ(T().groupByReset("SpdAlwaysOneUp")->resetPanel, "PanelMilZero");
    const qv::Group& config = T().pages[0].groups[2];
    ASSERT_EQ(config.buttons.size(), 2u);
    EXPECT_EQ(config.buttons[0].caption, "Basic &Block Settings...");
    EXPECT_EQ(config.buttons[0].helpContext, 5100);
    EXPECT_EQ(config.buttons[1].statusLabel, "LabKaidanBloc");
    EXPECT_EQ(config.buttons[1].helpContext, 6854);
    EXPECT_EQ(qv::findTable("TFormZenpan1"), &T());
    EXPECT_EQ(qv::findTable("TFormKihonBloc"), &qv::tables::basicBlocks());
    EXPECT_EQ(qv::findTable("TFormKaidanBloc"), &qv::tables::staircaseBlocks());
}

// Every item reads its default from an unmodified game and every byte belongs to exactly
// one item of General 1 or its sub-dialogs: a wrong offset, encoding or default shows here.
TEST(Zenpan1Table, AnUnmodifiedGameShowsEveryDefault) {
    qv::RomBuffer rom{};
    put(rom, kDefaultBytes);
    put(rom, kSubDialogBytes);
    std::set<int> claimed;
    std::vector<const qv::Item*> all = T().items();
    for (const qv::DialogTable* sub : T().subDialogs)
        for (const qv::Item* it : sub->items())
            all.push_back(it);
    for (const qv::Item* it : all) {
        SCOPED_TRACE(it->control);
        const ItemState s = it->read(rom, 0);
        EXPECT_FALSE(s.outOfBounds);
        EXPECT_EQ(s.value, it->defaultValue);
        for (int off : it->offsets)
            EXPECT_TRUE(claimed.insert(off).second) << off;
    }
    EXPECT_EQ(claimed.size(), count(kDefaultBytes) + count(kSubDialogBytes));
    // The value fields carry the sub-dialogs' bytes too.
    EXPECT_EQ(qv::ValueFields(T()).offsets().size(), claimed.size());
}

TEST(Zenpan1Table, NumericEncodingsAndWhatOkAccepts) {
    qv::RomBuffer rom{};
    const qv::Item& up = item("EditUpLift");
    rom[0x4861] = 0xFF;
    rom[0x485C] = 0x10;
    EXPECT_EQ(up.read(rom, 0), (ItemState{false, -240}));
    rom[0x4861] = 0x80;
    rom[0x485C] = 0x00;
    EXPECT_EQ(up.read(rom, 0), (ItemState{false, 32768}));
    rom[0x485C] = 0x01;
    EXPECT_EQ(up.read(rom, 0), (ItemState{false, -32767}));
    EXPECT_EQ(up.acceptText("-32768"), -240); // the spinner reaches it, OK does not
    EXPECT_EQ(up.acceptText("32768"), 32768);
    EXPECT_EQ(up.spinMin, -32768);
    EXPECT_EQ(up.spinMax, 32767);
    EXPECT_EQ(up.maxLength, 6);
    ASSERT_TRUE(up.write(rom, 0, 32768));
    EXPECT_EQ(rom[0x4861], 0x80);
    EXPECT_EQ(rom[0x485C], 0x00);
    ASSERT_TRUE(item("EditDownLift").write(rom, 0, -2));
    EXPECT_EQ(rom[0x486D], 0xFF);
    EXPECT_EQ(rom[0x4868], 0xFE);
    // Every byte pair reads as one value that writes back as the same pair.
    for (int u = 0; u < 65536; ++u) {
        rom[0x4861] = static_cast<std::uint8_t>(u >> 8);
        rom[0x485C] = static_cast<std::uint8_t>(u);
        const ItemState s = up.read(rom, 0);
        ASSERT_TRUE(up.write(rom, 0, s.value)) << u;
        ASSERT_EQ(rom[0x4861] << 8 | rom[0x485C], u);
    }

    const qv::Item& coin = item("EditTenCoin");
    EXPECT_EQ(coin.acceptText("300"), 11);
    EXPECT_EQ(coin.acceptText("abc"), 11);
    EXPECT_EQ(coin.maxLength, 3);
    ASSERT_TRUE(item("EditBlocHaneUp").write(rom, 0, -127));
    EXPECT_EQ(rom[0x3E7C], 0x7F);
    ASSERT_TRUE(item("EditBlocHaneUp").write(rom, 0, 128));
    EXPECT_EQ(rom[0x3E7C], 0x80);
    // Plus one: 1..256 over 0x00..0xFF.
    rom[0x1486] = 0xFF;
    EXPECT_EQ(item("EditCsBrkWorld").read(rom, 0).value, 256);
    ASSERT_TRUE(item("EditNndWorld").write(rom, 0, 1));
    EXPECT_EQ(rom[0x104B], 0x00);
    EXPECT_FALSE(item("EditNndWorld").accepts(0));
    // Complement.
    ASSERT_TRUE(item("EditTimeDecSpd").write(rom, 0, 0));
    EXPECT_EQ(rom[0x3797], 0xFF);
}

TEST(Zenpan1Table, ListsTheirEntriesAndWhichBytesNameThem) {
    qv::RomBuffer rom{};
    const auto show = [&](const char* control, int offset, std::vector<std::uint8_t> bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            rom[static_cast<std::size_t>(offset) + i] = bytes[i];
        const qv::Item& it = item(control);
        return it.text(it.read(rom, 0));
    };
    EXPECT_EQ(show("CmbBlocItemPk", 0x3DE3, {0x01}), "(Out of bounds)");
    EXPECT_EQ(show("CmbBlocItemPk", 0x3DE3, {0x00}), "Magic Mushroom  [Default]");
    EXPECT_EQ(show("CmbBlocItemPk", 0x3DE3, {0x37}), "Invincibility Shell");
    EXPECT_EQ(show("CmbBlocItemSt", 0x3DE6, {0x02}), "Starman  [Default]");
    EXPECT_EQ(show("CmbBlocItemOu", 0x3DE9, {0x42}), "Static Starman");
    ASSERT_TRUE(item("CmbBlocItemOu").write(rom, 0, 4));
    EXPECT_EQ(rom[0x3DE9], 0x41);

    EXPECT_EQ(show("CmbStSelWorld", 0x02B1, {0x29, 0xFF}), "256");
    ASSERT_TRUE(item("CmbStSelWorld").write(rom, 0, 8));
    EXPECT_EQ(rom[0x02B1], 0xEA);
    EXPECT_EQ(rom[0x02B2], 0xEA);
    EXPECT_EQ(show("CmbStSelWorld", 0x02B1, {0x29, 0x07}), "8  [Default]");
    EXPECT_EQ(show("CmbStSelWorld", 0x02B1, {0x29, 0x7F}), "128");
    EXPECT_EQ(show("CmbStSelWorld", 0x02B1, {0x29, 0x02}), "(Out of bounds)");
    EXPECT_EQ(show("CmbStSelWorld", 0x02B1, {0xEA, 0x07}), "(Out of bounds)");

    EXPECT_EQ(show("CmbSusBridge1", 0x198A, {0xFE}), "-1 (Hidden)");
    EXPECT_EQ(show("CmbSusBridge1", 0x198A, {0xFF}), "0");
    EXPECT_EQ(show("CmbSusBridge1", 0x198A, {0x06}), "7  [Default]");
    EXPECT_EQ(show("CmbSusBridge3", 0x1990, {0x09}), "10  [Default]");
    EXPECT_EQ(show("CmbSusBridge2", 0x198D, {0x0C}), "13 (Hidden)");
    EXPECT_EQ(show("CmbSusBridge2", 0x198D, {0x0D}), "14 (Hidden)");
    EXPECT_EQ(show("CmbSusBridge2", 0x198D, {0x0E}), "(Out of bounds)");
    EXPECT_EQ(show("CmbSusBridge2", 0x198D, {0xFD}), "(Out of bounds)");
    ASSERT_TRUE(item("CmbSusBridge2").write(rom, 0, 0));
    EXPECT_EQ(rom[0x198D], 0xFE);

    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0x93}), "Bridge -15");
    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0xA1}), "Bridge -1  [Default]");
    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0xA2}), "Bridge 0 (Not Visible)");
    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0xAE}), "Bridge +12");
    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0xB0}), "(Out of bounds)");
    EXPECT_EQ(show("CmbSusBrgTesuri", 0x199A, {0x92}), "(Out of bounds)");

    EXPECT_EQ(show("CmbHatenaHeight1", 0x1979, {0x0D}), "13 (Hidden)");
    EXPECT_EQ(show("CmbHatenaHeight2", 0x197C, {0x07}), "7  [Default]");
    EXPECT_EQ(show("CmbHatenaHeight2", 0x197C, {0x03}), "3");
    EXPECT_EQ(show("CmbHatenaHeight1", 0x1979, {0x0E}), "(Out of bounds)");
    EXPECT_EQ(show("CmbMaruChrHeight", 0x19A8, {0x02}), "2  [Default]");
    EXPECT_EQ(show("CmbMaruChrHeight", 0x19A8, {0xFF}), "(Out of bounds)");

    EXPECT_EQ(show("CmbNokoriTime0", 0x113E, {0x14}), "A00 = 1,000");
    EXPECT_EQ(show("CmbNokoriTime0", 0x113E, {0x04}), "400  [Default]");
    EXPECT_EQ(show("CmbNokoriTime1", 0x113F, {0x0A}), "(Out of bounds)");
    ASSERT_TRUE(item("CmbNokoriTime2").write(rom, 0, 10));
    EXPECT_EQ(rom[0x1140], 0x14);

    EXPECT_EQ(show("CmbFireFrower0", 0x5308, {0x00}), "0 (None)");
    EXPECT_EQ(show("CmbFireFrower0", 0x5308, {0x01}), "1  [Default]");
    EXPECT_EQ(show("CmbFireFrower0", 0x5308, {0x02}), "2 (May Appear Anywhere)");
    EXPECT_EQ(show("CmbFireFrower1", 0x530E, {0x02}), "2");
    EXPECT_EQ(show("CmbFireFrower1", 0x530E, {0x04}), "4 (May Appear Anywhere)");
    EXPECT_EQ(show("CmbFireFrower2", 0x5314, {0x06}), "6  [Default]");
    EXPECT_EQ(show("CmbFireFrower2", 0x5314, {0x09}), "9 (May Appear Anywhere)");
    EXPECT_EQ(show("CmbFireFrower2", 0x5314, {0x0A}), "(Out of bounds)");

    EXPECT_EQ(show("CmbJumpDaoChr0", 0x6888, {0x18}), "18 Springboard  [Default]");
    EXPECT_EQ(show("CmbJumpDaoChr0", 0x6888, {0x1A}), "1A Springboard (Fully Pressed, Floating)");
    EXPECT_EQ(show("CmbJumpDaoChr3", 0x688B, {0x19}), "19 Springboard (Half Pressed)  [Default]");
    EXPECT_EQ(show("CmbJumpDaoChr2", 0x688A, {0x1A}), "1A Springboard (Fully Pressed)  [Default]");
    EXPECT_EQ(show("CmbJumpDaoChr2", 0x688A, {0x0D}), "0D Piranha Plant");
    EXPECT_EQ(show("CmbJumpDaoChr1", 0x6889, {0x1B}), "(Out of bounds)");

    EXPECT_EQ(show("ChkTimeNoDown", 0x379D, {0xA9, 0x00, 0x8D, 0x39}), "checked");
    EXPECT_EQ(show("ChkTimeNoDown", 0x379D, {0xA9, 0xFF, 0x85, 0x39}), "(Out of bounds)");
    EXPECT_EQ(show("ChkStSelTrue", 0x027D, {0xFC, 0x07, 0xEA}), "checked");
    EXPECT_EQ(show("ChkAlwaysOneUp", 0x1B17, {0x02}), "(Out of bounds)");
}

TEST(SubDialogTables, ColumnsAndStepsAreOutOfBoundsOutsideTheirRanges) {
    qv::RomBuffer rom{};
    const qv::Item& p5 = item("KbPattern5");
    rom[0x13F6] = 0xFF; // pattern 5: rows 0..7
    rom[0x13F7] = 0x18; // rows 11, 12
    EXPECT_EQ(p5.read(rom, 0), (ItemState{false, 0x18FF}));
    rom[0x13F7] = 0x20;
    EXPECT_TRUE(p5.read(rom, 0).outOfBounds);
    rom[0x13F7] = 0x80;
    EXPECT_TRUE(p5.read(rom, 0).outOfBounds);
    rom[0x14B5] = 0x1F;
    EXPECT_EQ(item("KbClouds").read(rom, 0), (ItemState{false, 31}));
    rom[0x14B5] = 0x20;
    EXPECT_TRUE(item("KbClouds").read(rom, 0).outOfBounds);
    EXPECT_FALSE(qv::tables::blockHighEditable(0x20));
    EXPECT_FALSE(qv::tables::blockHighEditable(-1));
    EXPECT_TRUE(qv::tables::blockHighEditable(31));
    const auto cols = qv::tables::blockColumns();
    EXPECT_EQ(cols[15].lowOffset, 0x140A);
    EXPECT_EQ(cols[16].name, 'Z');
    EXPECT_EQ(cols[16].highOffset, 0x14B5);

    EXPECT_EQ(qvtest::offsetsOf(qv::tables::stairStart(1)), std::vector<int>{0x1AC6});
    EXPECT_EQ(qvtest::offsetsOf(qv::tables::stairStart(9)), std::vector<int>{0x1ABE});
    EXPECT_EQ(qvtest::offsetsOf(qv::tables::stairCount(1)), std::vector<int>{0x1ABD});
    EXPECT_EQ(qvtest::offsetsOf(qv::tables::stairCount(9)), std::vector<int>{0x1AB5});
    rom[0x1AC5] = 13; // step 2 start 13: valid
    EXPECT_EQ(qv::tables::stairStart(2).read(rom, 0), (ItemState{false, 13}));
    rom[0x1AC5] = 14;
    EXPECT_TRUE(qv::tables::stairStart(2).read(rom, 0).outOfBounds);
    rom[0x1AC5] = 0xFF;
    EXPECT_TRUE(qv::tables::stairStart(2).read(rom, 0).outOfBounds);
    rom[0x1ABC] = 12; // step 2 count byte 12 shows 13
    EXPECT_EQ(qv::tables::stairCount(2).read(rom, 0), (ItemState{false, 13}));
    rom[0x1ABC] = 13; // shows 14: invalid
    EXPECT_TRUE(qv::tables::stairCount(2).read(rom, 0).outOfBounds);
    EXPECT_EQ(qv::tables::stairStart(2).acceptText("x"), 9);
    EXPECT_EQ(qv::tables::stairCount(9).acceptText("14"), 8);
}

std::string preview(std::vector<std::optional<qv::staircase::Step>> steps) {
    std::array<std::optional<qv::staircase::Step>, 9> a;
    std::copy(steps.begin(), steps.end(), a.begin());
    return qv::staircase::text(qv::staircase::cells(a));
}

TEST(StaircasePreview, DrawsTheDefaultsCutCountsAndInvalidSteps) {
    using S = qv::staircase::Step;
    std::vector<std::optional<S>> steps{S{10, 1}, S{9, 2}, S{8, 3}, S{7, 4}, S{6, 5},
                                        S{5, 6},  S{4, 7}, S{3, 8}, S{3, 8}};
    EXPECT_EQ(preview(steps), qvtest::kDefaultStaircase);
    steps[0] = S{10, 13}; // cut at row 12
    steps[1] = S{13, 5};  // starts below the last row: nothing
    steps[2] = std::nullopt;
    EXPECT_EQ(preview(steps), " 0 - - ×- - - - - - \r\n"
                              " 1 - - ×- - - - - - \r\n"
                              " 2 - - ×- - - - - - \r\n"
                              " 3 - - ×- - - - ■■\r\n"
                              " 4 - - ×- - - ■■■\r\n"
                              " 5 - - ×- - ■■■■\r\n"
                              " 6 - - ×- ■■■■■\r\n"
                              " 7 - - ×■■■■■■\r\n"
                              " 8 - - ×■■■■■■\r\n"
                              " 9 - - ×■■■■■■\r\n"
                              "10 ■- ×■■■■■■\r\n"
                              "11 ■□×□□□□□□\r\n"
                              "12 ■□×□□□□□□");
}

} // namespace
