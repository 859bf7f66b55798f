// The Enemy 3 table against hand-worked bytes.
#include <gtest/gtest.h>

#include "support/tabledefaults.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/enemy3.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::enemy3();
}
const qv::Item& item(const char* control) {
    return qvtest::itemIn(T(), control);
}

// An unmodified game at every byte the dialog edits, worked out from each default:
// negated 24 = 0xE8, plus-one worlds 6 and 8 = 0x05 and 0x07, hold time 14 = 0x90.
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x3A41, {0x18, 0xE8}},
    {0x3A68, {0x28}},
    {0x3A6A, {0x50}},
    {0x68E4, {0x08}},
    {0x3A91, {0xD8}},
    {0x4C50, {0xE8}},
    {0x46A2, {0x40, 0x30, 0x90, 0x50, 0x20, 0x60, 0xA0, 0x70}},
    {0x49DE, {0x30, 0x1C}},
    {0x4336, {0x80, 0x50}},
    {0x4A71, {0x04}},
    {0x4A69, {0xFC}},
    {0x4A82, {0xF8}},
    {0x61A2, {0xFC}},
    {0x5116, {0x01}},
    {0x5109, {0xFF}},
    {0x50CF, {0x02}},
    {0x5746, {0x06, 0x00, 0x02, 0x12, 0x11, 0x07, 0x05, 0x2D}},
    {0x513A, {0x80}},
    {0x5161, {0x05}},
    {0x515D, {0x07}},
    {0x512B, {0x05}},
    {0x457C, {0x05}},
    {0x5156, {0xFE}},
    {0x577A, {0xFE}},
    {0x5217, {0x01}},
    {0x516A, {0x20}},
    {0x51E1, {0xBF, 0x40, 0xBF, 0xBF, 0xBF, 0x40, 0x40, 0xBF}},
    {0x51F3, {0x07}},
    {0x5182, {0x10}},
    {0x3B04, {0xFE}},
    {0x3AA2, {0x10, 0xF0}},
    {0x3AC4, {0x90}},
    {0x3A24, {0x33}},
    {0x4A6D, {0x40}},
};

std::string show(qv::RomBuffer& rom, const char* control, int offset, std::uint8_t byte) {
    rom[static_cast<std::size_t>(offset)] = byte;
    const qv::Item& it = item(control);
    return it.text(it.read(rom, 0));
}

// Stores what OK makes of `text` and returns the byte written.
int stored(const char* control, const char* text) {
    qv::RomBuffer rom{};
    const qv::Item& it = item(control);
    EXPECT_TRUE(it.write(rom, 0, it.acceptText(text))) << control << " " << text;
    return rom[static_cast<std::size_t>(it.offsets[0])];
}

TEST(Enemy3Table, ShapePagesGroupsAndResetButtons) {
    EXPECT_EQ(T().className, "TFormEnemy3");
    EXPECT_EQ(T().caption, "Enemy Settings 3");
    EXPECT_EQ(T().undoSuffix, "(Enemy 3)");
    EXPECT_EQ(T().helpContext, 600);
    EXPECT_EQ(qv::findTable("TFormEnemy3"), &T());
    std::vector<std::string> pages, names, resets;
    std::vector<int> helps;
    for (const qv::Page& p : T().pages) {
        pages.emplace_back(p.caption);
        names.emplace_back(p.objectName);
        for (const qv::Group& g : p.groups) {
            resets.emplace_back(g.reset);
            helps.push_back(g.helpContext);
        }
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"Bill Blaster", "Bullet Bill (Const. Fire)",
                                               "Hammer Bros.", "Bowser 1", "Bowser 2",
                                               "Bowser Flame", "Hammers", "Other"}));
    EXPECT_EQ(names,
              (std::vector<std::string>{"TabKiller1", "TabKiller2", "TabBrs", "TabKoopa1",
                                        "TabKoopa2", "TabKoopaFire", "TabHammer", "TabAdvance"}));
    EXPECT_EQ(resets,
              (std::vector<std::string>{
                  "SpdKiller",        "SpdHodai",        "SpdHodaiChr",     "SpdKillerStat",
                  "SpdKillerCnt",     "SpdKillerHeight", "SpdHmBrsHmKan",   "SpdHmBrsIdo",
                  "SpdHmBrsSpeed",    "SpdHmBrsTuki",    "SpdKoopaSpeed",   "SpdKoopaSpeedRt",
                  "SpdKoopaTrueChr",  "SpdKoopaMove",    "SpdKoopaNoFire",  "SpdKoopaExFire",
                  "SpdKoopaThHammer", "SpdFiKoopa",      "SpdKoopaJump",    "SpdKoppaTuki",
                  "SpdKoopaSpFire",   "SpdKoopaTmFire",  "SpdKoppaFiPat",   "SpdHammerThrow",
                  "SpdHammer",        "SpdHammerHold",   "SpdHodaiChrAdvc", "SpdHmBrsZengo"}));
    EXPECT_EQ(helps, (std::vector<int>{14913, 14952, 26852, 14993, 19536, 18082, 18910,
                                       17206, 19074, 24994, 20758, 20687, 22342, 20794,
                                       20833, 20829, 20779, 17788, 20822, 22394, 21015,
                                       20842, 20961, 15108, 15010, 15044, 14884, 19053}));
    EXPECT_EQ(T().groupByReset("SpdHodai")->notes,
              (std::vector<std::string_view>{
                  "[Left] value must not exceed [Right] x2 and must not be less than [Right]."}));
    EXPECT_EQ(T().groupByReset("SpdKoppaFiPat")->notes,
              (std::vector<std::string_view>{"Consecutive flames ignore setting if above 16."}));
    EXPECT_EQ(item("EditHodai_L").rangeLabel(), "[0～256 Default: 80]");
    EXPECT_EQ(item("EditHammerHold").rangeLabel(), "[-130～125 Default: 14]");
    EXPECT_EQ(item("EditKoopaNoFire").rangeLabel(), "[1～256 Default: 6]");
    EXPECT_EQ(item("EditKoppaFiPat0").rangeLabel(),
              "[0～255 Default: 191, 64, 191, 191, 191, 64, 64, 191]");
    EXPECT_EQ(item("EditKoopaNoFire").spinMin, 1);
    // Four characters for signed, negated, minus-130 and the hold-fire boxes.
    for (const char* four : {"EditKiller_R", "EditKiller_L", "EditHodai_R", "EditHodai_L",
                             "EditHammerHold", "EditHmBrsZengo", "EditKoopaJump"})
        EXPECT_EQ(item(four).maxLength, 4) << four;
    for (const char* three :
         {"EditHmBrsIdo", "EditKoopaNoFire", "EditFiKoopa", "EditKoppaFiPat7", "EditKoopaSpFire"})
        EXPECT_EQ(item(three).maxLength, 3) << three;
    EXPECT_EQ(item("CmbKoopaTrueChr8").label, "World &8:");
    EXPECT_EQ(item("EditHmBrsSpeed").label, "Rushin&g:");
    EXPECT_EQ(item("EditKoppaFiPatMns").label, "&Shorter Flame Interval After 5-3:");
}

// Every item reads its default from an unmodified game, and every byte belongs to
// exactly one item.
TEST(Enemy3Table, AnUnmodifiedGameShowsEveryDefault) {
    auto [rom, bytes, owners] = qvtest::checkDefaults(T(), kDefaultBytes);
    EXPECT_EQ(bytes, 59u);
    EXPECT_EQ(owners.size(), 59u);
    for (const auto& [off, names] : owners)
        EXPECT_EQ(names.size(), 1u) << off;
    for (const auto& [off, seq] : kDefaultBytes)
        for (std::size_t i = 0; i < seq.size(); ++i)
            EXPECT_EQ(owners.count(off + static_cast<int>(i)), 1u) << off + static_cast<int>(i);
    EXPECT_EQ(qv::ValueFields(T()).offsets().size(), 59u);
}

TEST(Enemy3Table, EnduranceWorldsAndHoldTimeEncodings) {
    qv::RomBuffer rom{};
    // Zero is 256.
    EXPECT_EQ(show(rom, "EditFiKoopa", 0x457C, 0x00), "256");
    EXPECT_EQ(show(rom, "EditFiKoopa", 0x457C, 0x01), "1");
    EXPECT_EQ(show(rom, "EditFiKoopa", 0x457C, 0xFF), "255");
    EXPECT_EQ(stored("EditFiKoopa", "256"), 0x00);
    EXPECT_EQ(stored("EditFiKoopa", "255"), 0xFF);
    EXPECT_EQ(stored("EditFiKoopa", "0"), 0x05); // below 1: the default 5
    // Plus one.
    EXPECT_EQ(show(rom, "EditKoopaNoFire", 0x5161, 0x05), "6");
    EXPECT_EQ(show(rom, "EditKoopaNoFire", 0x5161, 0xFF), "256");
    EXPECT_EQ(stored("EditKoopaNoFire", "256"), 0xFF);
    EXPECT_EQ(stored("EditKoopaNoFire", "1"), 0x00);
    EXPECT_EQ(stored("EditKoopaNoFire", "0"), 0x05);
    EXPECT_EQ(stored("EditKoopaExFire", "x"), 0x07);
    // Minus 130.
    EXPECT_EQ(show(rom, "EditHammerHold", 0x3AC4, 0x00), "-130");
    EXPECT_EQ(show(rom, "EditHammerHold", 0x3AC4, 0xFF), "125");
    EXPECT_EQ(show(rom, "EditHammerHold", 0x3AC4, 0x82), "0");
    EXPECT_EQ(stored("EditHammerHold", "14"), 0x90);
    EXPECT_EQ(stored("EditHammerHold", "-130"), 0x00);
    EXPECT_EQ(stored("EditHammerHold", "126"), 0x90); // past 125: the default 14
}

TEST(Enemy3Table, CleanedAndOutOfRangeTextsStoreDefaults) {
    EXPECT_EQ(stored("EditHammerThrow", ""), 0xFE);
    EXPECT_EQ(stored("EditHammer_L", ""), 0xF0);
    EXPECT_EQ(stored("EditKoppaFiPat0", "256"), 0xBF);
    EXPECT_EQ(stored("EditKoppaFiPat1", "256"), 0x40);
    EXPECT_EQ(stored("EditHmBrsZengo", "-128"), 0x80);
    EXPECT_EQ(stored("EditHmBrsZengo", "128"), 0x40);
    EXPECT_EQ(stored("EditKiller_L", "128"), 0x80);
    EXPECT_EQ(stored("EditKiller_L", "-128"), 0xE8);
    EXPECT_EQ(stored("EditHodai_L", "256"), 0x50); // the label says 256; 255 is the top
    EXPECT_EQ(stored("EditHodai_L", "255"), 0xFF);
}

TEST(Enemy3Table, ListsAcceptTheirBytesOnly) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "CmbKillerStat", 0x3A91, 0xDA), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbKillerStat", 0x3A91, 0xD9), "Background");
    EXPECT_EQ(show(rom, "CmbKillerStat", 0x3A91, 0xDB), "Obstacle");
    EXPECT_EQ(show(rom, "CmbKoppaFiPatCnt", 0x51F3, 0x05), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbKoppaFiPatCnt", 0x51F3, 0x01), "2");
    EXPECT_EQ(show(rom, "CmbKoppaFiPatCnt", 0x51F3, 0x03), "4");
    ASSERT_TRUE(item("CmbKoppaFiPatCnt").write(rom, 0, 0));
    EXPECT_EQ(rom[0x51F3], 0x00);

    EXPECT_EQ(show(rom, "CmbKillerHeight1", 0x46A2, 0x83), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbKillerHeight1", 0x46A2, 0xE0), "-3 (Off-Screen)");
    EXPECT_EQ(show(rom, "CmbKillerHeight1", 0x46A2, 0xF0), "-2 (No Collisions)");
    EXPECT_EQ(show(rom, "CmbKillerHeight1", 0x46A2, 0x40), "3  [Default]");
    EXPECT_EQ(show(rom, "CmbKillerHeight1", 0x46A2, 0x00), "-1");
    EXPECT_EQ(show(rom, "CmbKillerHeight7", 0x46A8, 0xA0), "9  [Default]");
    EXPECT_EQ(show(rom, "CmbKoopaMove", 0x513A, 0x80), "7  [Default]");
    EXPECT_EQ(show(rom, "CmbKoopaMove", 0x513A, 0xF0), "14");
    EXPECT_EQ(show(rom, "CmbKoopaMove", 0x513A, 0x08), "(Out of bounds)");

    EXPECT_EQ(show(rom, "CmbKoopaTrueChr1", 0x5746, 0x42), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr1", 0x5746, 0x41), "41 Unknown");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr1", 0x5746, 0x80), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr1", 0x5746, 0x06), "06 Goomba  [Default]");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr2", 0x5747, 0x00), "00 Green Koopa Troopa  [Default]");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr8", 0x574D, 0x2D), "2D Bowser  [Default]");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr8", 0x574D, 0x1A), "1A NULL");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr8", 0x574D, 0x2A), "2A Lift (Odd)");
    EXPECT_EQ(show(rom, "CmbKoopaTrueChr8", 0x574D, 0x36), "36 -");

    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x00), "00 Koopa Troopa");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x0C), "0C Podoboo (Flipped)");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x08), "08 Bullet Bill  [Default]");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x1B), "1B Unknown");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x32), "32 Springboard");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0x33), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbHodaiChr", 0x68E4, 0xFF), "(Out of bounds)");
}

// The Bill Blaster list shows every byte, the high half too.
TEST(Enemy3Table, BlasterCharacterNamesEveryByte) {
    qv::RomBuffer rom{};
    const std::map<std::uint8_t, std::string> expected = {
        {0x00, "00 Green Koopa Troopa (Falling, Unknown Speed)"},
        {0x04, "04 Green Koopa Troopa (Falling, Unknown Speed)"},
        {0x09, "09 G. Paratroopa (Still at Launch)→R. Koopa Troopa"},
        {0x16, "16 Fireworks"},
        {0x96, "96 Fireworks"},
        {0x17, "17 NULL"},
        {0x1E, "1E Firebar (Static)"},
        {0x33, "33 Bullet Bill  [Default]"},
        {0x36, "36 -"},
        {0x50, "50 NULL"},
        {0x64, "64 NULL"},
        {0x65, "65 -"},
        {0x66, "66 Bowser Flame (Fired One Block Above, Odd Collisions)"},
        {0x6F, "6F Long Firebar (Static)"},
        {0x80, "80 -"},
        {0x81, "81 NULL"},
        {0x91, "91 Glitchy (Floats In Air)"},
        {0x9B, "9B Long Firebar (Static)"},
        {0xA2, "A2 Long Firebar (Static)"},
        {0xA4, "A4 Lift (Fall At Fixed Time, Errors)"},
        {0xA9, "A9 Lift (Errors)"},
        {0xB5, "B5 Springboard-ish (Unusable)"},
        {0xC1, "C1 Unknown"},
        {0xE4, "E4 NULL"},
        {0xE5, "E5 -"},
        {0xEF, "EF Long Firebar (Static)"},
        {0xFE, "FE NULL"},
        {0xFF, "FF -"},
    };
    for (const auto& [byte, caption] : expected)
        EXPECT_EQ(show(rom, "CmbHodaiChrAdvc", 0x3A24, byte), caption);
    ASSERT_TRUE(item("CmbHodaiChrAdvc").write(rom, 0, 0xC8));
    EXPECT_EQ(rom[0x3A24], 0xC8);
}

TEST(Enemy3Table, TrainerShiftsEveryOffsetBy512) {
    qv::RomBuffer rom{};
    rom[0x457C + 512] = 0x00;
    rom[0x3AC4 + 512] = 0xFF;
    rom[0x3A91 + 512] = 0xD9;
    EXPECT_EQ(item("EditFiKoopa").read(rom, 512).value, 256);
    EXPECT_EQ(item("EditHammerHold").read(rom, 512).value, 125);
    EXPECT_EQ(item("CmbKillerStat").read(rom, 512).value, 1);
    ASSERT_TRUE(item("EditKoopaNoFire").write(rom, 512, 256));
    EXPECT_EQ(rom[0x5161 + 512], 0xFF);
    EXPECT_EQ(rom[0x5161], 0x00);
}

TEST(Enemy3Table, PatternCountUsesOneTwoFourOrEightBoxes) {
    EXPECT_EQ(qv::tables::flameIntervalsInUse(0), 1);
    EXPECT_EQ(qv::tables::flameIntervalsInUse(1), 2);
    EXPECT_EQ(qv::tables::flameIntervalsInUse(2), 4);
    EXPECT_EQ(qv::tables::flameIntervalsInUse(3), 8);
    EXPECT_EQ(qv::tables::flameIntervalsInUse(-1), 1);
}

} // namespace
