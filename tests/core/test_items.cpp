#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "core/items.h"
#include "core/itemtext.h"
#include "core/rom.h"
#include "core/tables/mario.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"

namespace {

using qv::ItemState;

const qv::Item& item(const char* control) {
    const qv::Item* it = qv::tables::mario().find(control);
    if (!it) throw std::runtime_error(control);
    return *it;
}

TEST(Items, ParseDecimalTakesPlainIntegersOnly) {
    EXPECT_EQ(qv::parseDecimal("24"), 24);
    EXPECT_EQ(qv::parseDecimal("-128"), -128);
    EXPECT_EQ(qv::parseDecimal("+5"), 5);
    EXPECT_EQ(qv::parseDecimal(" 7 "), 7);
    // A trailing tab is a blank like a trailing space.
    EXPECT_EQ(qv::parseDecimal("5\t"), 5);
    EXPECT_EQ(qv::parseDecimal("\t-3 \t"), -3);
    for (const char* bad :
         {"", "-", "+", "abc", "12a", "1 2", "+-1", "0x10", "99999999999", "1\t2", "\t"})
        EXPECT_FALSE(qv::parseDecimal(bad).has_value()) << bad;
}

TEST(Items, OkTurnsInvalidOrOutOfRangeTextIntoTheDefault) {
    const qv::Item& right = item("EditMaWalk_R"); // signed -128..127, default 24
    EXPECT_EQ(right.acceptText("300"), 24);
    EXPECT_EQ(right.acceptText("abc"), 24);
    EXPECT_EQ(right.acceptText(""), 24);
    EXPECT_EQ(right.acceptText("-128"), -128);
    const qv::Item& left = item("EditMaWalk_L"); // negated -127..128
    EXPECT_EQ(left.acceptText("128"), 128);
    EXPECT_EQ(left.acceptText("-128"), 24);
    const qv::Item& up = item("EditMaTsuruUp"); // negated, but -128..127
    EXPECT_EQ(up.acceptText("128"), 1);
    EXPECT_EQ(up.acceptText("-128"), -128);
    const qv::Item& down = item("EditMaTsuruDown"); // signed, but -127..128
    EXPECT_EQ(down.acceptText("-128"), 1);
    EXPECT_EQ(down.acceptText("128"), 128);
}

TEST(Items, ReadAndWriteAddTheTrainerShift) {
    qv::RomBuffer rom{};
    rom[0x3454 + 512] = 0x18;
    rom[0x3451 + 512] = 0xE8;
    rom[0x107A + 512] = 0x02;
    EXPECT_EQ(item("EditMaWalk_R").read(rom, 512), (ItemState{false, 24}));
    EXPECT_EQ(item("EditMaWalk_L").read(rom, 512), (ItemState{false, 24}));
    EXPECT_EQ(item("EditMaZanki").read(rom, 512), (ItemState{false, 3}));
    EXPECT_EQ(item("EditMaZanki").read(rom, 0), (ItemState{false, 1}));

    EXPECT_TRUE(item("EditMaZanki").write(rom, 512, 0));
    EXPECT_EQ(rom[0x107A + 512], 0xFF);
    EXPECT_EQ(rom[0x107A], 0x00);
    EXPECT_TRUE(item("EditMaWalk_L").write(rom, 0, 128));
    EXPECT_EQ(rom[0x3451], 0x80);
    EXPECT_FALSE(item("EditMaWalk_L").write(rom, 0, -128)); // not accepted: nothing written
    EXPECT_EQ(rom[0x3451], 0x80);
}

TEST(Items, CheckItemsKnowTwoPatternsAndNothingElse) {
    const qv::Item& muteki = item("ChkMuteki1");
    qv::RomBuffer rom{};
    EXPECT_TRUE(muteki.read(rom, 0).outOfBounds);
    EXPECT_EQ(muteki.text(muteki.read(rom, 0)), "(Out of bounds)");
    EXPECT_TRUE(muteki.write(rom, 0, 1));
    EXPECT_EQ(rom[0x593C], 0xA6);
    EXPECT_EQ(rom[0x593D], 0x08);
    EXPECT_EQ(rom[0x593E], 0x60);
    EXPECT_EQ(muteki.read(rom, 0), (ItemState{false, 1}));
    EXPECT_TRUE(muteki.write(rom, 0, 0));
    EXPECT_EQ(rom[0x593C], 0xAD);
    EXPECT_EQ(rom[0x593D], 0x9E);
    EXPECT_EQ(rom[0x593E], 0x07);
    EXPECT_EQ(muteki.text(muteki.read(rom, 0)), "unchecked");
    rom[0x593E] = 0x60; // one byte off either pattern
    EXPECT_TRUE(muteki.read(rom, 0).outOfBounds);

    // The two patterns of ChkMuteki2 share their first two bytes.
    const qv::Item& kick = item("ChkMuteki2");
    rom[0x589B] = 0x9F;
    rom[0x589C] = 0x07;
    rom[0x589D] = 0xF0;
    rom[0x589E] = 0x06;
    EXPECT_EQ(kick.read(rom, 0), (ItemState{false, 0}));
    rom[0x589E] = 0xEA;
    EXPECT_TRUE(kick.read(rom, 0).outOfBounds);
}

TEST(Items, ChoiceItemsShowCaptionsOrOutOfBounds) {
    const qv::Item& pipe = item("CmbMaDokanHeight");
    qv::RomBuffer rom{};
    rom[0x30B8] = 0x91;
    EXPECT_EQ(pipe.text(pipe.read(rom, 0)), "8  [Default]");
    rom[0x30B8] = 0x92;
    EXPECT_EQ(pipe.text(pipe.read(rom, 0)), "(Out of bounds)");
    EXPECT_EQ(qv::parseValue(pipe, "11 (Ground)"), 12);
    ASSERT_TRUE(pipe.write(rom, 0, *qv::parseValue(pipe, "11 (Ground)")));
    EXPECT_EQ(rom[0x30B8], 0xC1);
    EXPECT_FALSE(qv::parseValue(pipe, "#16").has_value());
    EXPECT_FALSE(pipe.write(rom, 0, 16));

    const qv::Item& shot = item("CmbFireShot");
    rom[0x3638] = 0x04;
    EXPECT_TRUE(shot.read(rom, 0).outOfBounds);
    rom[0x3638] = 0x03;
    EXPECT_EQ(shot.text(shot.read(rom, 0)), "Never");
}

TEST(ValueFields, LoadSignExtendedAndStoreLowEightBits) {
    const qv::DialogTable& t = qv::tables::mario();
    qv::ValueFields fields(t);
    qv::RomBuffer rom{};
    rom[0x3451 + 512] = 0xE8;
    rom[0x3456 + 512] = 0x81;
    fields.load(rom, 512);
    const auto& offs = fields.offsets();
    const auto at = [&](int off) {
        return fields.values()[static_cast<std::size_t>(std::find(offs.begin(), offs.end(), off) -
                                                        offs.begin())];
    };
    EXPECT_EQ(at(0x3451), -24);
    EXPECT_EQ(at(0x3456), -127);
    EXPECT_EQ(fields.state(item("EditMaAutoWk")), (ItemState{false, 129}));
    fields.set(item("EditMaAutoWk"), -126);
    fields.set(item("EditMaWalk_L"), -128); // not accepted: field unchanged
    fields.set(item("ChkFireOne"), 1);
    qv::RomBuffer out{};
    fields.store(out, 512);
    EXPECT_EQ(out[0x3456 + 512], 0x82);
    EXPECT_EQ(out[0x3451 + 512], 0xE8);
    EXPECT_EQ(out[0x3671 + 512], 0xEA);
    EXPECT_EQ(out[0x3672 + 512], 0xEA);
    EXPECT_EQ(out[0x3673 + 512], 0xEA);
    EXPECT_EQ(out[0x3456], 0x00);
}

TEST(Items, AnOperandInTheClearedPatternMatchesAnyByteAndIsLeftAsItStands) {
    // CMP #nn / BCC when clear, JMP $D40A when ticked; nn belongs to another item.
    const qv::Item it = qv::withOperandWhenCleared(
        qv::check("ChkOp", "&Op", 0x100, {0x4C, 0x0A, 0xD4}, {0xC9, 0x00, 0x90}), 1);
    const auto state = [&](std::vector<int> f) { return it.decode(f); };
    EXPECT_EQ(state({0xC9 - 256, 0x21, 0x90 - 256}), (ItemState{false, 0}));
    EXPECT_EQ(state({0xC9 - 256, -1, 0x90 - 256}), (ItemState{false, 0}));
    EXPECT_EQ(state({0x4C, 0x0A, 0xD4 - 256}), (ItemState{false, 1}));
    EXPECT_EQ(state({0x4C, 0x0B, 0xD4 - 256}), (ItemState{true, 0})); // the operand counts here
    EXPECT_EQ(state({0xC9 - 256, 0x21, 0x91 - 256}), (ItemState{true, 0}));

    std::vector<int> f{0x4C, 0x0A, 0xD4 - 256};
    it.encode(0, f);
    EXPECT_EQ(f, (std::vector<int>{0xC9 - 256, 0x0A, 0x90 - 256}));
    f = {0xC9 - 256, 0x21, 0x90 - 256};
    it.encode(1, f);
    EXPECT_EQ(f, (std::vector<int>{0x4C, 0x0A, 0xD4 - 256}));
}

TEST(Registry, FindsTheMarioDialogAndItsItemsByName) {
    EXPECT_NE(std::find(qv::dialogTables().begin(), qv::dialogTables().end(), &qv::tables::mario()),
              qv::dialogTables().end());
    EXPECT_EQ(qv::findTable("TFormMario"), &qv::tables::mario());
    const qv::ItemRef r = qv::findItem("EditMaZanki");
    ASSERT_TRUE(r);
    EXPECT_EQ(r.table->className, "TFormMario");
    EXPECT_EQ(r.item->spinName(), "UdMaZanki");
    EXPECT_FALSE(qv::findItem("EditNothing"));
}

} // namespace
