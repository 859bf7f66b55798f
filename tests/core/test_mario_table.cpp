#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/mario.h"

namespace {

const qv::DialogTable& T() {
    return qv::tables::mario();
}

// The bytes of an unmodified game at every offset the dialog edits, worked out by hand
// from each item's default (0x3451 negated 24 = 0xE8, 0x107A lives 3 = 0x02, ...).
// Check items hold their "clear" pattern, choice items their Reset entry.
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x3454, {0x18}},
    {0x3451, {0xE8}},
    {0x3455, {0x10}},
    {0x3452, {0xF0}},
    {0x3453, {0x28}},
    {0x3450, {0xD8}},
    {0x3456, {0x0C}},
    {0x5A02, {0xFC}},
    {0x59BF, {0xFD}},
    {0x3900, {0xF4}},
    {0x5EDF, {0xF9}},
    {0x3447, {0xFE}},
    {0x3448, {0xFF}},
    {0x3697, {0x40}},
    {0x3698, {0xC0}},
    {0x61F1, {0xFD}},
    {0x36D8, {0x03}},
    {0x36C4, {0x04}},
    {0x30B1, {0xFF}},
    {0x31F6, {0x01}},
    {0x345D, {0x00}},
    {0x345B, {0xFF}},
    {0x345C, {0x01}},
    {0x5827, {0x23}},
    {0x594A, {0x08}},
    {0x107A, {0x02}},
    {0x596E, {0xFC}},
    {0x3442, {0xFC, 0xFC, 0xFC, 0xFB, 0xFB}}, // jump base
    {0x3449, {0x00, 0x00, 0x00, 0x00, 0x00}}, // correction
    {0x3434, {0x20, 0x20, 0x1E, 0x28, 0x28}}, // rise
    {0x343B, {0x70, 0x70, 0x60, 0x90, 0x90}}, // fall
    {0x3457, {0xE4, 0x98, 0xD0}},
    {0x34AB, {0x10}},
    {0x36D6, {0x00}},
    {0x3657, {0xD0, 0x1B}},
    {0x3671, {0xEE, 0xCE, 0x06}},
    {0x593C, {0xAD, 0x9E, 0x07}},
    {0x589B, {0x9F, 0x07, 0xF0, 0x06}},
    {0x3638, {0x02}},
    {0x30B8, {0x91}},
};

TEST(MarioTable, HasTheDocumentedShape) {
    EXPECT_EQ(T().className, "TFormMario");
    EXPECT_EQ(T().caption, "Mario Settings");
    EXPECT_EQ(T().undoSuffix, "(Mario)");
    EXPECT_EQ(T().helpContext, 100);
    std::vector<std::string> pages;
    for (const qv::Page& p : T().pages)
        pages.push_back(p.caption);
    EXPECT_EQ(pages,
              (std::vector<std::string>{"Speed", "Jump Ability 1", "Jump Ability 2", "Swimming",
                                        "Fireballs", "Pipes", "Vines", "Damage"}));
    int numeric = 0, checks = 0, choices = 0;
    for (const qv::Item* it : T().items()) {
        numeric += it->kind == qv::ItemKind::Numeric;
        checks += it->kind == qv::ItemKind::Check;
        choices += it->kind == qv::ItemKind::Choice;
    }
    EXPECT_EQ(numeric, 47);
    EXPECT_EQ(checks, 7);
    EXPECT_EQ(choices, 2);
}

// Every item reads its default from an unmodified game, and no two items claim a byte:
// a wrong offset, encoding or default in any row shows up here.
TEST(MarioTable, AnUnmodifiedGameShowsEveryDefault) {
    qv::RomBuffer rom{};
    for (const auto& [off, bytes] : kDefaultBytes)
        for (std::size_t i = 0; i < bytes.size(); ++i)
            rom[static_cast<std::size_t>(off) + i] = bytes[i];
    std::set<int> claimed;
    for (const qv::Item* it : T().items()) {
        SCOPED_TRACE(it->control);
        const qv::ItemState s = it->read(rom, 0);
        EXPECT_FALSE(s.outOfBounds);
        EXPECT_EQ(s.value, it->defaultValue);
        EXPECT_TRUE(it->accepts(it->defaultValue));
        for (int off : it->offsets)
            EXPECT_TRUE(claimed.insert(off).second) << off;
    }
    std::size_t expected = 0;
    for (const auto& [off, bytes] : kDefaultBytes)
        expected += bytes.size();
    EXPECT_EQ(claimed.size(), expected);
}

TEST(MarioTable, RangeLabelsAgreeWithRangesAndDefaults) {
    for (const qv::Page& p : T().pages)
        for (const qv::Group& g : p.groups)
            for (const qv::Item& it : g.items) {
                if (it.kind != qv::ItemKind::Numeric) continue;
                SCOPED_TRACE(it.control);
                EXPECT_EQ(it.spinMin, it.acceptMin);
                EXPECT_EQ(it.spinMax, it.acceptMax);
                std::string label =
                    "[" + std::to_string(it.acceptMin) + "～" + std::to_string(it.acceptMax);
                if (!g.grid) label += " Default: " + std::to_string(it.defaultValue);
                EXPECT_EQ(it.rangeLabel(), label + "]");
            }
}

TEST(MarioTable, ResetButtonsAndWhatTheyReset) {
    const std::vector<std::string> buttons = {
        "SpdMaWalk",    "SpdMaUmiWk",       "SpdMaRun",       "SpdMaAutoWk",   "SpdLuigiSpeed",
        "SpdJump",      "SpdMaFumi",        "SpdJumpDai",     "SpdMaSwimJump", "SpdMaSwimNo",
        "SpdFiSpeed",   "SpdFireBnd",       "SpdFireThrow",   "SpdFireShot",   "SpdMaDokanOut",
        "SpdMaDokanIn", "SpdMaDokanHeight", "SpdMaTsuruSlip", "SpdMaTsuruUp",  "SpdMaTsuruDown",
        "SpdMuTime",    "SpdMaZanki",       "SpdMaDeath",     "SpdMuteki"};
    std::vector<std::string> inTable;
    for (const qv::Page& p : T().pages)
        for (const qv::Group& g : p.groups)
            inTable.push_back(g.reset);
    EXPECT_EQ(inTable, buttons);

    const auto resets = [](const char* button) {
        std::vector<std::string> out;
        for (const qv::Item& it : T().groupByReset(button)->items)
            out.push_back(it.control);
        return out;
    };
    EXPECT_EQ(resets("SpdFireShot"),
              (std::vector<std::string>{"CmbFireShot", "ChkFireSquat", "ChkFireOne"}));
    EXPECT_EQ(resets("SpdFireBnd"),
              (std::vector<std::string>{"EditFireBnd", "EditFireGravit", "ChkKoFiJump"}));
    EXPECT_EQ(resets("SpdMuTime"), (std::vector<std::string>{"EditMuStar", "EditMuToumei"}));
    EXPECT_EQ(resets("SpdMuteki"), (std::vector<std::string>{"ChkMuteki1", "ChkMuteki2"}));
    EXPECT_EQ(resets("SpdJump").size(), 20u);
    EXPECT_EQ(T().find("CmbFireShot")->defaultValue, 2);
    EXPECT_EQ(T().find("CmbMaDokanHeight")->defaultValue, 9);
}

TEST(MarioTable, JumpTableRowsAndLuigiValues) {
    const qv::Group& jump = *T().groupByReset("SpdJump");
    ASSERT_TRUE(jump.grid);
    EXPECT_EQ(jump.at(0, 0).control, "EditJumpBase1");
    EXPECT_EQ(jump.at(4, 3).control, "EditJumpFall5");
    EXPECT_EQ(jump.at(2, 2).offsets, std::vector<int>{0x3436});
    EXPECT_EQ(jump.grid->rows[3], "R&un:");

    // Luigi's rise rates 231, 231, 231, 221, 221 and fall rates 66, 66, 46, 93, 93.
    qv::RomBuffer rom{};
    for (const qv::tables::PresetValue& p : qv::tables::marioLuigiJump())
        ASSERT_TRUE(T().find(p.control)->write(rom, 0, p.value)) << p.control;
    const std::vector<std::uint8_t> rise(rom.begin() + 0x3434, rom.begin() + 0x3439);
    const std::vector<std::uint8_t> fall(rom.begin() + 0x343B, rom.begin() + 0x3440);
    EXPECT_EQ(rise, (std::vector<std::uint8_t>{0x18, 0x18, 0x18, 0x22, 0x22}));
    EXPECT_EQ(fall, (std::vector<std::uint8_t>{66, 66, 46, 93, 93}));
    EXPECT_EQ(rom[0x3442], 0xFC);
    EXPECT_EQ(rom[0x3446], 0xFB);
    EXPECT_EQ(rom[0x3449], 0x00);
}

} // namespace
