// The Enemy 1 table against hand-worked bytes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/enemy1.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"
#include "support/offsets.h"
#include "support/tabledefaults.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::enemy1();
}
const qv::Item& item(const char* control) {
    return qvtest::itemIn(T(), control);
}
ItemState readByte(const char* control, std::uint8_t b) {
    qv::RomBuffer rom{};
    const qv::Item& it = item(control);
    rom[static_cast<std::size_t>(it.offsets[0])] = b;
    return it.read(rom, 0);
}
// The byte OK writes for a display value (or entry index) over a zero image.
std::uint8_t stored(const char* control, int value) {
    qv::RomBuffer rom{};
    const qv::Item& it = item(control);
    EXPECT_TRUE(it.write(rom, 0, value)) << control << " " << value;
    return rom[static_cast<std::size_t>(it.offsets[0])];
}

// The bytes of an unmodified game at every offset Enemy 1 edits, worked out by hand
// from each item's default (0x431C negated 8 = 0xF8, 0x49E1 signed -24 = 0xE8,
// 0x49E3 negated -24 = 0x18, 0x46C8 world 2 = 0x01, ...).
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x431C, {0xF8, 0xF4}},
    {0x5861, {0x08, 0xF8}},
    {0x59E2, {0x10, 0x0B}},
    {0x49E4, {0x08, 0xF8, 0x0C, 0xF4}},
    {0x618F, {0xFD}},
    {0x47E6, {0xF8}},
    {0x4453, {0xFD}},
    {0x4F35, {0x15, 0x30, 0x40}},
    {0x43D5, {0x07}},
    {0x43EF, {0x20}},
    {0x4F51, {0x12}},
    {0x60C4, {0x08}},
    {0x692A, {0x08}},
    {0x4217, {0x02}},
    {0x420E, {0x06}},
    {0x473E, {0x02}},
    {0x4737, {0x06}},
    {0x472C, {0x00}},
    {0x4757, {0x02}},
    {0x4749, {0x70}},
    {0x4743, {0xB0}},
    {0x4779, {0x18}},
    {0x44E4, {0xFB}},
    {0x44A8, {0x0E, 0x05, 0x06, 0x0E, 0x1C, 0x20, 0x10, 0x0C, 0x1E, 0x22, 0x18, 0x14}},
    {0x46C0, {0xAA}},
    {0x46C8, {0x01}},
    {0x4706, {0x20}},
    {0x6059, {0xFF}},
    {0x585F, {0x30, 0xD0}},
    {0x49E1, {0xE8}},
    {0x49E3, {0x18}},
    {0x5FCF, {0x10, 0xF0}},
    {0x6052, {0xFD}},
};

TEST(Enemy1Table, ShapePagesAndResetButtons) {
    EXPECT_EQ(T().className, "TFormEnemy1");
    EXPECT_EQ(T().caption, "Enemy Settings 1");
    EXPECT_EQ(T().undoSuffix, "(Enemy 1)");
    EXPECT_EQ(T().helpContext, 400);
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
    EXPECT_EQ(pages, (std::vector<std::string>{"Koopa Troopa", "Paratroopa", "Lakitu", "Spiny",
                                               "Goomba", "Multiple Occurrence", "Cheep-Cheep 1",
                                               "Cheep-Cheep 2", "Blooper", "Mario Interaction"}));
    EXPECT_EQ(names, (std::vector<std::string>{"TabNoko1", "TabPata", "TabJugem", "TabTogezo",
                                               "TabKuri", "TabFukusu", "TabSheet2", "TabSheet1",
                                               "TabGesso", "TabKanyo"}));
    // Empty: the "Multi Cheep-Cheep Elevation" note.
    EXPECT_EQ(resets, (std::vector<std::string>{
                          "SpdNokoSpeed",    "SpdPtFmSpeed",    "SpdNkFkTime",     "SpdNkFkSpeed",
                          "SpdPataJump",     "SpdPataIdo",      "SpdPaipoThrow",   "SpdJugemSpeed",
                          "SpdJugemRestore", "SpdJugemRestHei", "SpdJugemAppear",  "SpdTogeSpeed",
                          "SpdKuriAnim",     "SpdKuriOneChr",   "SpdKuriTwoChr",   "SpdKuriAppear",
                          "SpdKuriAppHei",   "SpdKuriAppItv",   "SpdPukuJump",     "SpdPukuSpeed",
                          "SpdPukuRitsu",    "SpdPukuGkWorld",  "SpdPukuInterval", "",
                          "SpdGessoHane",    "SpdKetobashi",    "SpdKeriochi",     "SpdFukitobi",
                          "SpdTekiTuki"}));
    EXPECT_EQ(helps, (std::vector<int>{17180, 22625, 23010, 18916, 24975, 18406, 17491, 20277,
                                       17365, 17391, 20305, 24772, 26922, 16910, 16919, 18263,
                                       18249, 18297, 17636, 17576, 18112, 18120, 18182, 0,
                                       24665, 22623, 18913, 24527, 24658}));
    EXPECT_EQ(qv::groupObjectName(*T().groupByReset("SpdPukuRitsu"), 7, 0), "GupPukuRitsu");
    EXPECT_EQ(T().groupByReset("SpdNkFkSpeed")->items.size(), 4u);
    EXPECT_EQ(T().groupByReset("SpdPukuSpeed")->items.size(), 12u);
    EXPECT_EQ(qv::findTable("TFormEnemy1"), &T());
}

// Every item reads its default from an unmodified game and every byte belongs to exactly
// one item: a wrong offset, encoding or default shows here.
TEST(Enemy1Table, AnUnmodifiedGameShowsEveryDefault) {
    qv::RomBuffer rom{};
    std::size_t bytes = 0;
    for (const auto& [off, seq] : kDefaultBytes) {
        for (std::size_t i = 0; i < seq.size(); ++i)
            rom[static_cast<std::size_t>(off) + i] = seq[i];
        bytes += seq.size();
    }
    EXPECT_EQ(bytes, 54u);
    std::set<int> claimed;
    for (const qv::Item* it : T().items()) {
        SCOPED_TRACE(it->control);
        const ItemState s = it->read(rom, 0);
        EXPECT_FALSE(s.outOfBounds);
        EXPECT_EQ(s.value, it->defaultValue);
        // The "+0.5" box owns the low nibble of the list's byte.
        for (int off : it->offsets)
            EXPECT_TRUE(claimed.insert(off).second || it->control == "ChkJugemRestHei") << off;
    }
    EXPECT_EQ(claimed.size(), 54u);
    EXPECT_EQ(claimed.count(0x49E2), 0u); // between the falling-shell pair, nobody's
    EXPECT_EQ(qv::ValueFields(T()).offsets().size(), 54u);
    // The Cheep-Cheep table, row by row: EditPukuSpeed n at 0x44A8 + n - 1.
    EXPECT_EQ(qvtest::offsetsOf(item("EditPukuSpeed1")), std::vector<int>{0x44A8});
    EXPECT_EQ(qvtest::offsetsOf(item("EditPukuSpeed5")), std::vector<int>{0x44AC});
    EXPECT_EQ(qvtest::offsetsOf(item("EditPukuSpeed12")), std::vector<int>{0x44B3});
    EXPECT_EQ(item("EditPukuSpeed7").defaultValue, 16);
}

TEST(Enemy1Table, NumbersAndTheirRanges) {
    EXPECT_EQ(readByte("EditNokoSpeed", 0x80).value, 128);
    EXPECT_EQ(stored("EditNokoSpeed", -127), 0x7F);
    EXPECT_EQ(stored("EditNokoSpeed", 128), 0x80);
    EXPECT_EQ(item("EditJugemRestore").acceptText("abc"), 7);
    EXPECT_EQ(item("EditJugemRestore").acceptText("300"), 7);
    EXPECT_EQ(item("EditNkFkSpeedU_R").acceptText("200"), 12);
    EXPECT_EQ(stored("EditTogeSpeed", -128), 0x80);
    EXPECT_EQ(item("EditTogeSpeed").acceptText("128"), 8);
    EXPECT_EQ(stored("EditPukuGkWorld", 256), 0xFF);
    EXPECT_EQ(stored("EditPukuGkWorld", 1), 0x00);
    EXPECT_EQ(readByte("EditPukuGkWorld", 0x01).value, 2);
    EXPECT_EQ(item("EditPukuGkWorld").acceptText("0"), 2);
    EXPECT_EQ(stored("EditKeriochi_L", -24), 0x18);

    // Pursuit and the Cheep-Cheep speeds store 128 as 0x80, which reads back as -128;
    // both numbers mean that byte, so both are taken and the byte survives OK.
    for (const char* c : {"EditJugemSpeed2", "EditPukuSpeed1", "EditPukuSpeed12"}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(stored(c, 128), 0x80);
        EXPECT_EQ(readByte(c, 0x80).value, -128);
        EXPECT_FALSE(readByte(c, 0x80).outOfBounds);
        EXPECT_EQ(item(c).acceptText("-128"), -128);
        EXPECT_EQ(item(c).acceptText("129"), item(c).defaultValue);
        EXPECT_EQ(item(c).spinMin, -127);
        EXPECT_EQ(item(c).spinMax, 128);
    }
    EXPECT_EQ(item("EditJugemSpeed2").acceptText("-129"), 48);
    EXPECT_EQ(item("EditNkFkTime").maxLength, 3);
    EXPECT_EQ(item("EditPukuGkWorld").maxLength, 3);
    EXPECT_EQ(item("EditNokoSpeed").maxLength, 4);
}

TEST(Enemy1Table, ListsAndTheirBytes) {
    // Codes 0x00..0x35 are the index; 0x36 and the negative bytes name none.
    EXPECT_EQ(readByte("CmbKuriTwoChr", 0x36), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbKuriTwoChr", 0xFF), (ItemState{true, 0}));
    const ItemState toad = readByte("CmbKuriTwoChr", 0x35);
    EXPECT_EQ(item("CmbKuriTwoChr").text(toad), "35 Toad / Peach");
    EXPECT_EQ(item("CmbKuriTwoChr").list->captions()[0x02], "02 Buzzy Beetle  [Default]");
    EXPECT_EQ(item("CmbKuriChange").list->captions()[0x06], "06 Goomba  [Default]");
    EXPECT_EQ(item("CmbKuriChange").list->captions()[0x14], "14 Flying Red Cheep-Cheep");
    EXPECT_EQ(item("CmbKuriChange").list->captions().size(), 54u);
    const auto& b = item("CmbKuriFukuChr").list->captions();
    EXPECT_EQ(b[0x06], "06 Goomba  [Default]");
    EXPECT_EQ(b[0x14], "14 Flying Cheep-Cheep and G. Koopa Troopa");
    EXPECT_EQ(b[0x24], "24 Lift (Balance)");
    EXPECT_EQ(b[0x2D], "2D Bowser (2nd, Fireball Resistant)");
    EXPECT_EQ(b[0x33], "33 Bullet Bill");
    EXPECT_EQ(item("CmbKuriTwoChrU").list->captions()[0x02], "02 Buzzy Beetle  [Default]");
    const auto& noko = item("CmbNokoFukuChr").list->captions();
    EXPECT_EQ(noko.front(), "00 Green Koopa Troopa  [Default]");
    EXPECT_EQ(noko.back(), "35 Toad / Peach");
    EXPECT_EQ(noko[0x33], "33 Bullet Bill");

    EXPECT_EQ(readByte("CmbKuriAnim", 0x03), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbKuriAnim", 0x00).value, 8);
    EXPECT_EQ(readByte("CmbKuriAnim", 0x80).value, 7);
    EXPECT_EQ(stored("CmbKuriAnim", 4), 0x10);
    EXPECT_EQ(readByte("CmbJugemAppear", 0x13), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbJugemAppear", 0x16), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbJugemAppear", 0x19).value, 5);
    EXPECT_EQ(stored("CmbJugemAppear", 3), 0x17);

    EXPECT_EQ(readByte("CmbKuriAppear", 0x00), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbKuriAppear", 0x06), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbKuriAppear", 0x05).value, 4);
    EXPECT_EQ(stored("CmbKuriAppear", 0), 0x01);

    EXPECT_EQ(readByte("CmbKuriAppHei6", 0x78), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbKuriAppHei6", 0xF0).value, 15);
    EXPECT_EQ(stored("CmbKuriAppHei10", 15), 0xF0);
    EXPECT_EQ(item("CmbKuriAppHei6").list->captions()[7], "6  [Default]");
    EXPECT_EQ(item("CmbKuriAppHei6").list->captions()[11], "10");
    EXPECT_EQ(item("CmbKuriAppHei10").list->captions()[11], "10  [Default]");
    EXPECT_EQ(item("CmbKuriAppHei10").list->captions()[7], "6");
    EXPECT_EQ(item("CmbKuriAppHei10").list->captions()[0], "-1");
    EXPECT_EQ(item("CmbKuriAppHei10").list->captions()[15], "14 (Hidden)");
}

// One byte, two controls: the list in the high nibble, "+0.5" as a low nibble of 8.
TEST(Enemy1Table, RevivalElevationSharesItsByteWithTheCheckBox) {
    using qv::tables::revivalRaised;
    using qv::tables::withRevivalRaised;
    EXPECT_EQ(qv::tables::kJugemRestHei, 0x43EF);
    EXPECT_EQ(readByte("CmbJugemRestHei", 0x28), (ItemState{false, 2}));
    EXPECT_EQ(readByte("CmbJugemRestHei", 0x20), (ItemState{false, 2}));
    EXPECT_EQ(readByte("CmbJugemRestHei", 0x23), (ItemState{true, 0}));
    EXPECT_EQ(readByte("CmbJugemRestHei", 0xF8), (ItemState{false, 15}));
    EXPECT_EQ(revivalRaised(0x28), true);
    EXPECT_EQ(revivalRaised(0x20), false);
    EXPECT_EQ(revivalRaised(0x23), std::nullopt);
    EXPECT_EQ(revivalRaised(-8), true); // 0xF8 sign-extended
    // The list keeps the check box's nibble, the check box the list's.
    qv::RomBuffer rom{};
    rom[0x43EF] = 0x28;
    item("CmbJugemRestHei").write(rom, 0, 5);
    EXPECT_EQ(rom[0x43EF], 0x58);
    rom[0x43EF] = 0x20;
    item("CmbJugemRestHei").write(rom, 0, 0);
    EXPECT_EQ(rom[0x43EF], 0x00);
    EXPECT_EQ(qv::low8(withRevivalRaised(0x50, true)), 0x58);
    EXPECT_EQ(qv::low8(withRevivalRaised(-8, false)), 0xF0);
    EXPECT_EQ(withRevivalRaised(0x23, true), 0x23); // out of bounds: kept
}

} // namespace
