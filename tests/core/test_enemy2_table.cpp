// The Enemy 2 table against hand-worked bytes.
#include <gtest/gtest.h>

#include "support/tabledefaults.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/enemy2.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::enemy2();
}
const qv::Item& item(const char* control) {
    return qvtest::itemIn(T(), control);
}

// The bytes of an unmodified game at every offset the dialog edits, from each item's
// default: 0x49D8 negated 7 = 0xF9, CmbFireThrough2's 0x2A stored as 0x2B, the pivot
// rows of 2, 3, ... 12 bars, 0x53E2 the retract range 33 inside CMP #$21 / BCC.
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x1905, {0x0D, 0x5F, 0x07, 0xF0, 0x2B}},
    {0x53E1, {0xC9, 0x21, 0x90}},
    {0x1963, {0x05}},
    {0x5416, {0x40}},
    {0x445F, {0x28, 0x38, 0x28, 0x38, 0x28}},
    {0x4464, {0x00, 0x00, 0x10, 0x10}},
    {0x4D9D, {0x05}},
    {0x4DA5, {0x0B}},
    {0x4CD7, {0, 1,  3,  4,  5,  6,  7,  7,  8,  //
              0, 3,  6,  9,  11, 13, 14, 15, 16, //
              0, 4,  9,  13, 16, 19, 22, 23, 24, //
              0, 6,  12, 18, 22, 26, 29, 31, 32, //
              0, 7,  15, 22, 28, 33, 37, 39, 40, //
              0, 9,  18, 27, 33, 39, 44, 47, 48, //
              0, 11, 21, 31, 39, 46, 51, 55, 56, //
              0, 12, 24, 36, 45, 53, 59, 62, 64, //
              0, 14, 27, 40, 50, 59, 66, 70, 72, //
              0, 15, 31, 45, 56, 66, 74, 78, 80, //
              0, 17, 34, 49, 62, 73, 81, 86, 88}},
    {0x49D8, {0xF9}},
    {0x58BC, {0x0D}},
    {0x58C0, {0x0C}},
    {0x58C8, {0x15}},
    {0x597C, {0x12}},
    {0x58C4, {0x33}},
    {0x58B8, {0x12}},
    {0x5765, {0x02}},
    {0x579A, {0x08}},
    {0x579E, {0x0C}},
    {0x57A2, {0x15}},
    {0x58E0, {0x06}},
    {0x5988, {0x14}},
    {0x598C, {0x08}},
    {0x5990, {0x33}},
    {0x5994, {0x0C}},
    {0x5999, {0x05}},
    {0x599E, {0x11}},
    {0x59A3, {0x07}},
    {0x60F5, {0x03}},
    {0x570F, {0x24}},
    {0x5713, {0x2B}},
    {0x60B8, {0x06}},
};

void put(qv::RomBuffer& rom, int offset, std::vector<std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        rom[static_cast<std::size_t>(offset) + i] = bytes[i];
}

std::string show(qv::RomBuffer& rom, const char* control, int offset,
                 std::vector<std::uint8_t> bytes) {
    put(rom, offset, std::move(bytes));
    const qv::Item& it = item(control);
    return it.text(it.read(rom, 0));
}

TEST(Enemy2Table, ShapePagesGroupsAndResetButtons) {
    EXPECT_EQ(T().className, "TFormEnemy2");
    EXPECT_EQ(T().caption, "Enemy Settings 2");
    EXPECT_EQ(T().undoSuffix, "(Enemy 2)");
    EXPECT_EQ(T().helpContext, 500);
    EXPECT_EQ(qv::findTable("TFormEnemy2"), &T());
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
    EXPECT_EQ(pages, (std::vector<std::string>{"Piranha Plant", "Firebar 1", "Firebar 2", "Podoboo",
                                               "Special 1", "Special 2"}));
    EXPECT_EQ(names, (std::vector<std::string>{"TabPakkun", "TabFireBar1", "TabFireBar2",
                                               "TabBubble", "TabChara1", "TabChara2"}));
    EXPECT_EQ(resets, (std::vector<std::string>{"SpdIiPakkun", "SpdVwPakkun", "SpdTmPakkun",
                                                "SpdFiBarSpeed", "SpdFiBarTurn", "SpdFiBarLen",
                                                "SpdFiBerPos", "SpdBubbleJump", "SpdFumiDamage",
                                                "SpdFireTole", "SpdFumiNotKeri", "SpdFumiFall",
                                                "SpdOfukuChr", "SpdFireThrough", "SpdNotTurn"}));
    EXPECT_EQ(helps, (std::vector<int>{6405, 6499, 21526, 17503, 17508, 19869, 19671, 18904, 22716,
                                       22373, 22752, 22920, 24821, 22287, 24760}));
    EXPECT_EQ(T().groupByReset("SpdFiBerPos")->notes,
              (std::vector<std::string_view>{
                  "All firebars share the same pivot position, which does not change."}));
    EXPECT_EQ(T().groupByReset("SpdFumiDamage")->items.size(), 6u);
    EXPECT_EQ(T().groupByReset("SpdFumiFall")->items.size(), 7u);
    EXPECT_EQ(T().groupByReset("SpdFiBerPos")->items.size(), 11u);
    EXPECT_EQ(item("EditDsPakkun").rangeLabel(), "[0～255 Default: 33]");
    EXPECT_EQ(item("EditFiBarSpeed2").rangeLabel(), "[0～255 Default: 56]");
    EXPECT_EQ(item("EditBubbleJump").rangeLabel(), "[-127～128 Default: 7]");
    EXPECT_EQ(item("EditTmPakkun").maxLength, 3);
    EXPECT_EQ(item("EditBubbleJump").maxLength, 4);
    EXPECT_EQ(item("CmbFiBerPos12").label, "1&2 Bars:");
}

// Each box is named after the way the game turns its firebar (0x00 clockwise, anything
// else counterclockwise) and says what ticking it does; the bytes stay as they were.
TEST(Enemy2Table, FirebarRotationBoxesSayWhatTickingDoes) {
    const struct {
        const char* control;
        const char* caption;
        int offset;
        std::uint8_t ticked, cleared;
    } boxes[] = {
        {"ChkFiBarTurn1", "Clockwise Firebar Turns &Counterclockwise", 0x4464, 0x10, 0x00},
        {"ChkFiBarTurn2", "&Fast Clockwise Firebar Turns Counterclockwise", 0x4465, 0x10, 0x00},
        {"ChkFiBarTurn3", "Counterclockwise Firebar Turns Clock&wise", 0x4466, 0x00, 0x10},
        {"ChkFiBarTurn4", "F&ast Counterclockwise Firebar Turns Clockwise", 0x4467, 0x00, 0x10},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.control);
        EXPECT_EQ(item(b.control).label, b.caption);
        EXPECT_EQ(item(b.control).defaultValue, 0);
        qv::RomBuffer rom{};
        rom[static_cast<std::size_t>(b.offset)] = 0x55;
        ASSERT_TRUE(item(b.control).write(rom, 0, 1));
        EXPECT_EQ(rom[static_cast<std::size_t>(b.offset)], b.ticked);
        ASSERT_TRUE(item(b.control).write(rom, 0, 0));
        EXPECT_EQ(rom[static_cast<std::size_t>(b.offset)], b.cleared);
        // On a trainer image the same byte sits 512 further on.
        qv::RomBuffer trained{};
        ASSERT_TRUE(item(b.control).write(trained, 512, 1));
        EXPECT_EQ(trained[static_cast<std::size_t>(b.offset + 512)], b.ticked);
    }
    EXPECT_EQ(T().groupByReset("SpdFiBarTurn")->caption, "Firebar Rotation");
}

// Every item reads its default from an unmodified game, and every byte belongs to one
// item, except the retract range that the disable patch carries as its operand.
TEST(Enemy2Table, AnUnmodifiedGameShowsEveryDefault) {
    auto [rom, bytes, owners] = qvtest::checkDefaults(T(), kDefaultBytes);
    EXPECT_EQ(bytes, 143u);
    EXPECT_EQ(owners.size(), 143u);
    for (const auto& [off, names] : owners)
        EXPECT_EQ(names.size(), off == 0x53E2 ? 2u : 1u) << off;
    EXPECT_EQ(owners[0x53E2], (std::set<std::string>{"ChkDtPakkun", "EditDsPakkun"}));
    EXPECT_EQ(qv::ValueFields(T()).offsets().size(), 143u);
}

TEST(Enemy2Table, PatchesAndRotationBytes) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "ChkIiPakkun", 0x1905, {0x0D, 0x5F, 0x07, 0xF0, 0x2B}), "unchecked");
    EXPECT_EQ(show(rom, "ChkIiPakkun", 0x1905, {0x0D, 0x5F, 0x07, 0xF0, 0x2C}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "ChkIiPakkun", 0x1905, {0xEA, 0xEA, 0xEA, 0xEA, 0xEA}), "checked");
    ASSERT_TRUE(item("ChkIiPakkun").write(rom, 0, 0));
    EXPECT_EQ(rom[0x1905], 0x0D);
    EXPECT_EQ(rom[0x1909], 0x2B);

    // Clear whatever the range byte holds; ticked only as JMP $D40A.
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0xC9, 0x21, 0x90}), "unchecked");
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0xC9, 0xFF, 0x90}), "unchecked");
    EXPECT_EQ(show(rom, "EditDsPakkun", 0x53E1, {0xC9, 0xFF, 0x90}), "255");
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0x4C, 0x0A, 0xD4}), "checked");
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0x4C, 0x21, 0xD4}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0xC9, 0x21, 0xB0}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "ChkDtPakkun", 0x53E1, {0xC5, 0x21, 0x90}), "(Out of bounds)");
    put(rom, 0x53E1, {0xC9, 0x21, 0x90});
    ASSERT_TRUE(item("ChkDtPakkun").write(rom, 0, 1));
    EXPECT_EQ(rom[0x53E1], 0x4C);
    EXPECT_EQ(rom[0x53E2], 0x0A);
    EXPECT_EQ(rom[0x53E3], 0xD4);
    ASSERT_TRUE(item("EditDsPakkun").write(rom, 0, 50));
    ASSERT_TRUE(item("ChkDtPakkun").write(rom, 0, 0)); // the range written before stays
    EXPECT_EQ(rom[0x53E1], 0xC9);
    EXPECT_EQ(rom[0x53E2], 0x32);
    EXPECT_EQ(rom[0x53E3], 0x90);

    EXPECT_EQ(show(rom, "ChkFiBarTurn1", 0x4464, {0x10}), "checked");
    EXPECT_EQ(show(rom, "ChkFiBarTurn1", 0x4464, {0x20}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "ChkFiBarTurn2", 0x4465, {0x00}), "unchecked");
    EXPECT_EQ(show(rom, "ChkFiBarTurn3", 0x4466, {0x00}), "checked");
    EXPECT_EQ(show(rom, "ChkFiBarTurn4", 0x4467, {0x10}), "unchecked");
    EXPECT_EQ(show(rom, "ChkFiBarTurn4", 0x4467, {0x01}), "(Out of bounds)");
    ASSERT_TRUE(item("ChkFiBarTurn3").write(rom, 0, 0));
    EXPECT_EQ(rom[0x4466], 0x10);
}

TEST(Enemy2Table, NumbersCountsAndPivotRows) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "EditBubbleJump", 0x49D8, {0x80}), "128");
    ASSERT_TRUE(item("EditBubbleJump").write(rom, 0, -127));
    EXPECT_EQ(rom[0x49D8], 0x7F);
    EXPECT_EQ(item("EditBubbleJump").acceptText("-128"), 7);
    EXPECT_EQ(show(rom, "EditFiBarSpeed5", 0x4463, {0xFF}), "255");
    EXPECT_EQ(item("EditFiBarSpeed4").acceptText("256"), 56);
    EXPECT_EQ(item("EditDsPakkun").acceptText("x"), 33);

    EXPECT_EQ(show(rom, "CmbVwPakkun", 0x1963, {0x00}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbVwPakkun", 0x1963, {0x01}), "1");
    EXPECT_EQ(show(rom, "CmbVwPakkun", 0x1963, {0x05}), "5  [Default]");
    EXPECT_EQ(show(rom, "CmbVwPakkun", 0x1963, {0x06}), "6");
    EXPECT_EQ(show(rom, "CmbVwPakkun", 0x1963, {0x07}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbFiBarLen", 0x4D9D, {0x01}), "2");
    EXPECT_EQ(show(rom, "CmbFiBarLen", 0x4D9D, {0x05}), "6  [Default]");
    EXPECT_EQ(show(rom, "CmbFiBarLen", 0x4D9D, {0x06}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbFiBarLongLen", 0x4DA5, {0x0B}), "12  [Default]");
    EXPECT_EQ(show(rom, "CmbFiBarLongLen", 0x4DA5, {0x0C}), "(Out of bounds)");
    ASSERT_TRUE(item("CmbFiBarLongLen").write(rom, 0, 0));
    EXPECT_EQ(rom[0x4DA5], 0x01);

    EXPECT_EQ(show(rom, "CmbFiBerPos4", 0x4CE9, {0, 4, 9, 13, 16, 19, 22, 23, 24}), "4  [Default]");
    ASSERT_TRUE(item("CmbFiBerPos4").write(rom, 0, 22));
    const std::vector<std::uint8_t> twelve{0, 17, 34, 49, 62, 73, 81, 86, 88};
    EXPECT_EQ(std::vector<std::uint8_t>(rom.begin() + 0x4CE9, rom.begin() + 0x4CF2), twelve);
    EXPECT_EQ(rom[0x4CE8], 0x00); // its neighbours untouched
    EXPECT_EQ(rom[0x4CF2], 0x00);
    EXPECT_EQ(show(rom, "CmbFiBerPos4", 0x4CE9, {0, 17, 34, 49, 62, 73, 81, 86, 88}), "12");
    EXPECT_EQ(show(rom, "CmbFiBerPos2", 0x4CD7, {0, 0, 0, 0, 0, 0, 0, 0, 0}), "1");
    EXPECT_EQ(show(rom, "CmbFiBerPos2", 0x4CD7, {0, 1, 3, 4, 5, 6, 7, 7, 8}), "2  [Default]");
    EXPECT_EQ(show(rom, "CmbFiBerPos3", 0x4CE0, {0, 0, 1, 2, 2, 3, 3, 3, 4}), "1.5");
    EXPECT_EQ(show(rom, "CmbFiBerPos3", 0x4CE0, {0, 3, 6, 9, 11, 13, 14, 15, 16}), "3  [Default]");
    EXPECT_EQ(show(rom, "CmbFiBerPos12", 0x4D31, {0, 16, 32, 47, 59, 69, 77, 82, 84}), "11.5");
    EXPECT_EQ(show(rom, "CmbFiBerPos12", 0x4D31, {0, 17, 34, 49, 62, 73, 81, 86, 89}),
              "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbFiBerPos10", 0x4D1F, {0, 14, 29, 42, 53, 62, 70, 74, 76}), "10.5");
    EXPECT_EQ(item("CmbFiBerPos10").list->captions().size(), 23u);
}

TEST(Enemy2Table, CharacterListsNameTheirCodesPerList) {
    qv::RomBuffer rom{};
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x2B}), "2A Lift (Ride Horz.)  [Default]");
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x00}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x01}), "00 Green Koopa Troopa");
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x35}), "34");
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x36}), "(Out of bounds)");
    EXPECT_EQ(show(rom, "CmbFireThrough2", 0x5713, {0x34}), "33");
    ASSERT_TRUE(item("CmbFireThrough2").write(rom, 0, 0x0C));
    EXPECT_EQ(rom[0x5713], 0x0D);
    EXPECT_EQ(show(rom, "CmbFireThrough1", 0x570F, {0x24}), "24 Lift (Balance)  [Default]");
    EXPECT_EQ(show(rom, "CmbFireThrough1", 0x570F, {0x0C}), "0C Podoboo (From Ground)");
    EXPECT_EQ(show(rom, "CmbFireThrough1", 0x570F, {0x0A}), "0A Green Cheep-Cheep");

    for (const char* list : {"CmbFumiDamage1", "CmbFumiDamage3", "CmbFireTole2", "CmbFumiFall7",
                             "CmbOfukuChr", "CmbNotTurn", "CmbFumiNotKeri"}) {
        const qv::Item& it = item(list);
        put(rom, it.offsets[0], {0x35});
        EXPECT_EQ(it.text(it.read(rom, 0)), "(Out of bounds)") << list;
        put(rom, it.offsets[0], {0xFF});
        EXPECT_EQ(it.text(it.read(rom, 0)), "(Out of bounds)") << list;
        EXPECT_EQ(it.list->captions().size(), 53u) << list;
    }
    EXPECT_EQ(show(rom, "CmbFumiFall3", 0x5990, {0x34}), "34");
    EXPECT_EQ(show(rom, "CmbFumiFall3", 0x5990, {0x33}), "33 Bullet Bill  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiFall3", 0x5990, {0x16}), "16");
    EXPECT_EQ(show(rom, "CmbFumiFall3", 0x5990, {0x2D}), "2D Bowser");
    EXPECT_EQ(show(rom, "CmbFumiFall5", 0x5999, {0x05}), "05 Hammer Bros.  [Default]");

    EXPECT_EQ(show(rom, "CmbFumiDamage1", 0x58BC, {0x0D}), "0D Piranha Plant  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiDamage2", 0x58C0, {0x0C}), "0C Podoboo  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiDamage3", 0x58C8, {0x15}), "15～FF Bowser Flame  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiDamage3", 0x58C8, {0x0A}), "0A～FF G. Cheep-Cheep (Swim)");
    EXPECT_EQ(show(rom, "CmbFumiDamage3", 0x58C8, {0x16}), "16～FF");
    EXPECT_EQ(show(rom, "CmbFumiDamage3", 0x58C8, {0x24}), "24～FF");
    EXPECT_EQ(show(rom, "CmbFumiDamage3", 0x58C8, {0x33}), "33～FF Bullet Bill");
    EXPECT_EQ(show(rom, "CmbFumiDamage4", 0x597C, {0x12}), "12 Spiny Egg  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiDamage4", 0x597C, {0x03}), "03 Red Koopa Troopa (Loop, Odd)");
    EXPECT_EQ(show(rom, "CmbFumiDamage6", 0x58B8, {0x0E}), "0E G. Paratroopa (Jump, Invalid)");
    EXPECT_EQ(show(rom, "CmbFumiDamage6", 0x58B8, {0x13}), "13 Unknown (Still, Invalid)");
    EXPECT_EQ(show(rom, "CmbFumiDamage5", 0x58C4, {0x33}), "33 Bullet Bill  [Default]");
    EXPECT_EQ(show(rom, "CmbFumiDamage5", 0x58C4, {0x04}), "04 Green Koopa Troopa (Still, Odd)");
    EXPECT_EQ(show(rom, "CmbFumiDamage5", 0x58C4, {0x09}), "09 Green Paratroopa (Still)");

    EXPECT_EQ(show(rom, "CmbFireTole4", 0x57A2, {0x24}), "24～FF Lift (Balance)");
    EXPECT_EQ(show(rom, "CmbFireTole4", 0x57A2, {0x2C}), "2C～FF Small Lift (Down)");
    EXPECT_EQ(show(rom, "CmbFireTole4", 0x57A2, {0x33}), "33～FF Bill Blaster");
    EXPECT_EQ(show(rom, "CmbFireTole4", 0x57A2, {0x15}), "15～FF Bowser Flame  [Default]");
    EXPECT_EQ(show(rom, "CmbFireTole1", 0x5765, {0x02}), "02 Buzzy Beetle  [Default]");
    EXPECT_EQ(show(rom, "CmbFireTole3", 0x579E, {0x29}), "29 Lift (Sinking)");
    EXPECT_EQ(show(rom, "CmbFireTole3", 0x579E, {0x33}), "33 Bullet Bill");

    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x03}), "03 Red Koopa Troopa  [Default]");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x04}), "04 Green Koopa Troopa");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x12}), "12 Spiny");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x05}), "05 Hammer Bros. (No Effect)");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x0A}), "0A G. Cheep-Cheep (No Effect)");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x2D}), "2D Bowser (No Effect)");
    EXPECT_EQ(show(rom, "CmbOfukuChr", 0x60F5, {0x06}), "06 Goomba");
    EXPECT_EQ(show(rom, "CmbNotTurn", 0x60B8, {0x06}), "06 Goomba  [Default]");
    EXPECT_EQ(show(rom, "CmbNotTurn", 0x60B8, {0x0B}), "0B Red Cheep-Cheep");
    EXPECT_EQ(show(rom, "CmbNotTurn", 0x60B8, {0x14}), "14 Red Cheep-Cheep (No Effect)");
    EXPECT_EQ(show(rom, "CmbNotTurn", 0x60B8, {0x33}), "33 Bullet Bill (No Effect)");
    EXPECT_EQ(show(rom, "CmbNotTurn", 0x60B8, {0x09}), "09 Green Paratroopa (Still)");
    ASSERT_TRUE(item("CmbNotTurn").write(rom, 0, 0x34));
    EXPECT_EQ(rom[0x60B8], 0x34);
}

} // namespace
