// The General 2 table and the flagpole preview against hand-worked bytes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/flagpole.h"
#include "core/rom.h"
#include "core/tables/general2.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"
#include "support/tabledefaults.h"

namespace {

using qv::ItemState;
const qv::DialogTable& T() {
    return qv::tables::general2();
}
const qv::Item& item(const char* control) {
    return qvtest::itemIn(T(), control);
}

// The bytes of an unmodified game at every offset General 2 edits, from each item's
// default: finial 0xA0 + 1, flag 3 in the high nibble, axe row 0 column 13 = 0x1A,
// rope row 1 column 12 = 0x58, bridge row 2 columns 12..0 = 0x98 .. 0x80, erase rate
// 253 = 257 - 4, ...
const std::map<int, std::vector<std::uint8_t>> kDefaultBytes = {
    {0x19B1, {0xA1}},
    {0x19D1, {0x30}},
    {0x387E, {0xAA}},
    {0x19B4, {0x01}},
    {0x19B6, {0x08}},
    {0x19BF, {0xAB}},
    {0x19D5, {0xB0}},
    {0x32C7, {0x9E}},
    {0x3884, {0xA2}},
    {0x3892, {0x01}},
    {0x38A2, {0x01}},
    {0x1871, {0x90}},
    {0x5361, {0x72}},
    {0x4FED, {0x1A}},
    {0x4FEE, {0x58}},
    {0x4FEF, {0x98, 0x96, 0x94, 0x92, 0x90, 0x8E, 0x8C, 0x8A, 0x88, 0x86, 0x84, 0x82, 0x80}},
    {0x1A12, {0x0C}},
    {0x5060, {0x0F}},
    {0x1A0B, {0x06}},
    {0x1A0C, {0x07}},
    {0x1A0D, {0x08}},
    {0x502B, {0x04}},
    {0x4318, {0xB8}},
    {0x03DA, {0x60}},
    {0x3C5A, {0x2E}},
    {0x00AD, {0x1E}},
};

void put(qv::RomBuffer& rom, int off, std::vector<std::uint8_t> seq, int shift = 0) {
    for (std::size_t i = 0; i < seq.size(); ++i)
        rom[static_cast<std::size_t>(off + shift) + i] = seq[i];
}
qv::RomBuffer defaultImage(int shift = 0) {
    qv::RomBuffer rom{};
    for (const auto& [off, seq] : kDefaultBytes)
        put(rom, off, seq, shift);
    return rom;
}
ItemState read(const qv::RomBuffer& rom, const char* control, int shift = 0) {
    return item(control).read(rom, shift);
}
std::string caption(const char* control, int index) {
    return item(control).list->captions().at(static_cast<std::size_t>(index));
}

TEST(Zenpan2Table, ShapePagesGroupsAndResetButtons) {
    EXPECT_EQ(T().className, "TFormZenpan2");
    EXPECT_EQ(T().caption, "General Settings 2");
    EXPECT_EQ(T().undoSuffix, "(General 2)");
    EXPECT_EQ(T().helpContext, 300);
    EXPECT_EQ(qv::findTable("TFormZenpan2"), &T());
    std::vector<std::string> pages, names, groups, resets;
    std::vector<int> helps;
    for (const qv::Page& p : T().pages) {
        pages.push_back(p.caption);
        names.push_back(p.objectName);
        for (const qv::Group& g : p.groups) {
            groups.push_back(g.caption);
            helps.push_back(g.helpContext);
            resets.push_back(g.reset);
        }
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"Flagpole", "Castle Flag", "Bowser Bridge", "Toad",
                                               "Advanced"}));
    EXPECT_EQ(names, (std::vector<std::string>{"TabPole", "TabCastleFlag", "TabKpbg", "TabKino",
                                               "TabAdvance"}));
    EXPECT_EQ(groups, (std::vector<std::string>{"Flagpole Object and Behavior", "Flag Elevation",
                                                "Objects Repositioned When Axe Collected",
                                                "Elevations", "Erase Rate",
                                                "Toad / Peach Elevation", "Mario Stop Position",
                                                "Item Block Character", "Screen Setting"}));
    EXPECT_EQ(helps, (std::vector<int>{6609, 6257, 20463, 6669, 20523, 17176, 986, 15450, 173}));
    EXPECT_EQ(resets, (std::vector<std::string>{
                          "SpdPole", "SpdCsFlag", "SpdKpbgDel", "SpdKpbgHeight", "SpdDelKpbgSpd",
                          "SpdKinoHeight", "SpdMaStopWidth", "SpdBlocItemAdvc", "SpdMonoView"}));
    EXPECT_EQ(T().items().size(), 41u); // 11 + 2 + 20 + 3 + 1 + 2 + 2, the bridge as 13 pieces
}

TEST(Zenpan2Table, DefaultsWriteAndReadTheUnmodifiedBytes) {
    // Every item's Reset value, stored over a zero image, gives the game's bytes.
    qv::RomBuffer rom{};
    qv::ValueFields fields(T());
    fields.load(rom, 0);
    for (const qv::Item* it : T().items())
        fields.set(*it, it->defaultValue);
    fields.store(rom, 0);
    EXPECT_EQ(rom, defaultImage());

    // And those bytes read back as the defaults, none out of bounds.
    for (const qv::Item* it : T().items())
        EXPECT_EQ(it->read(defaultImage(), 0), (ItemState{false, it->defaultValue})) << it->control;
    EXPECT_EQ(item("CmbBlocItemAdvc").defaultValue, 0x2E);
}

TEST(Zenpan2Table, NumericEncodings) {
    qv::RomBuffer rom{};
    // Erase rate: the byte counts down, 0 standing for 256 steps.
    rom[0x502B] = 0xFF;
    EXPECT_EQ(read(rom, "EditDelKpbgSpd"), (ItemState{false, 2}));
    EXPECT_EQ(item("EditDelKpbgSpd").acceptText("0"), 253);
    EXPECT_TRUE(item("EditDelKpbgSpd").write(rom, 0, 1));
    EXPECT_EQ(rom[0x502B], 0x00);

    // Flag descent: 0x80 reads as +128, 0x81 as -127.
    rom[0x3892] = 0x81;
    EXPECT_EQ(read(rom, "EditPoleFlagDown"), (ItemState{false, -127}));
    rom[0x38A2] = 0x7F;
    EXPECT_EQ(read(rom, "EditPoleScoreUp"), (ItemState{false, 127}));
    EXPECT_EQ(item("EditPoleFlagDown").acceptText("128"), 128);
    EXPECT_TRUE(item("EditPoleFlagDown").write(rom, 0, 128));
    EXPECT_EQ(rom[0x3892], 0x80);
    EXPECT_TRUE(item("EditPoleScoreUp").write(rom, 0, -127));
    EXPECT_EQ(rom[0x38A2], 0x81);
}

TEST(Zenpan2Table, ListRulesAndTheirLimits) {
    qv::RomBuffer rom{};
    struct Case {
        const char* control;
        int offset;
        std::uint8_t byte;
        ItemState want;
    };
    const std::vector<Case> cases{
        {"CmbPoleFlag", 0x19D1, 0x35, {true, 0}}, // low nibble not 0
        {"CmbPoleFlag", 0x19D1, 0xF0, {false, 15}},
        {"CmbPoleMaru", 0x19B1, 0x9F, {true, 0}},
        {"CmbPoleMaru", 0x19B1, 0xA0, {false, 0}},
        {"CmbPoleMaru", 0x19B1, 0xAF, {false, 15}},
        {"CmbPoleMaru", 0x19B1, 0xB0, {true, 0}},
        {"CmbPoleFlagStop", 0x387E, 0x0A, {false, 0}},
        {"CmbPoleFlagStop", 0x387E, 0xAB, {true, 0}},
        {"CmbPoleLine", 0x19B4, 0x0D, {false, 13}},
        {"CmbPoleLine", 0x19B4, 0x0E, {true, 0}},
        {"CmbPoleLine", 0x19B4, 0xFF, {true, 0}},
        {"CmbPoleLineLen", 0x19B6, 0x0E, {true, 0}},
        {"CmbPoleBlock", 0x19BF, 0xA0, {true, 0}},
        {"CmbPoleBlock", 0x19BF, 0xA1, {false, 0}},
        {"CmbPoleBlock", 0x19BF, 0xAE, {false, 13}},
        {"CmbPoleBlock", 0x19BF, 0xAF, {true, 0}},
        {"CmbPoleMario", 0x32C7, 0xFE, {false, 15}},
        {"CmbPoleMaDown", 0x3884, 0x03, {true, 0}},
        {"CmbCsFlagStop", 0x5361, 0xF2, {false, 15}},
        {"CmbKpbgLen", 0x1A12, 0x10, {true, 0}},
        {"CmbDelObjVal", 0x5060, 0x00, {true, 0}},
        {"CmbDelObjVal", 0x5060, 0x01, {false, 0}},
        {"CmbDelObjVal", 0x5060, 0x10, {true, 0}},
        {"CmbOnoHeight", 0x1A0B, 0x0F, {true, 0}},
        {"CmbKinoHeight", 0x4318, 0x08, {false, 0}},
        {"CmbKinoHeight", 0x4318, 0x80, {true, 0}},
        {"CmbMaStopWidth", 0x03DA, 0xF0, {false, 15}},
        {"CmbBlocItemAdvc", 0x3C5A, 0x80, {false, 0x80}}, // every byte names an entry
        {"CmbBlocItemAdvc", 0x3C5A, 0xFF, {false, 0xFF}},
        {"ChkMonoView", 0x00AD, 0x1F, {false, 1}},
        {"ChkMonoView", 0x00AD, 0x1E, {false, 0}},
        {"ChkMonoView", 0x00AD, 0x00, {true, 0}},
    };
    for (const Case& c : cases) {
        rom[static_cast<std::size_t>(c.offset)] = c.byte;
        EXPECT_EQ(read(rom, c.control), c.want) << c.control << " " << int(c.byte);
    }

    EXPECT_TRUE(item("CmbOnoHeight").write(rom, 0, 14));
    EXPECT_EQ(rom[0x1A0B], 0x0E);
    EXPECT_TRUE(item("CmbBlocItemAdvc").write(rom, 0, 0xAE));
    EXPECT_EQ(rom[0x3C5A], 0xAE);
    EXPECT_TRUE(item("CmbPoleMaDown").write(rom, 0, 15));
    EXPECT_EQ(rom[0x3884], 0xF2);
    EXPECT_TRUE(item("CmbDelObjVal").write(rom, 0, 0));
    EXPECT_EQ(rom[0x5060], 0x01);
    EXPECT_TRUE(item("ChkMonoView").write(rom, 0, 1));
    EXPECT_EQ(rom[0x00AD], 0x1F);
}

TEST(Zenpan2Table, AxeAndRopePairsAreOneByteEach) {
    qv::RomBuffer rom{};
    rom[0x4FED] = 0x21; // bit 0 set: neither list can read it
    EXPECT_EQ(read(rom, "CmbOnoDelY"), (ItemState{true, 0}));
    EXPECT_EQ(read(rom, "CmbOnoDelX"), (ItemState{true, 0}));
    rom[0x4FED] = 0x20; // bit 5 set
    EXPECT_EQ(read(rom, "CmbOnoDelY"), (ItemState{true, 0}));
    EXPECT_EQ(read(rom, "CmbOnoDelX"), (ItemState{true, 0}));
    rom[0x4FEE] = 0xDE;
    EXPECT_EQ(read(rom, "CmbRopeDelY"), (ItemState{false, 3}));
    EXPECT_EQ(read(rom, "CmbRopeDelX"), (ItemState{false, 15}));

    // Each list keeps the other's half of the byte.
    rom[0x4FED] = 0x1A;
    EXPECT_TRUE(item("CmbOnoDelY").write(rom, 0, 2));
    EXPECT_EQ(rom[0x4FED], 0x9A);
    EXPECT_TRUE(item("CmbOnoDelX").write(rom, 0, 0));
    EXPECT_EQ(rom[0x4FED], 0x80);
    EXPECT_EQ(rom[0x4FEE], 0xDE);
}

TEST(Zenpan2Table, BridgeIsValidOnlyWholeAndOnOneRow) {
    qv::RomBuffer rom = defaultImage();
    EXPECT_EQ(read(rom, "CmbKpbgDelY"), (ItemState{false, 2}));
    EXPECT_EQ(read(rom, "EditKpbgDelX1"), (ItemState{false, 12}));
    EXPECT_EQ(read(rom, "EditKpbgDelX13"), (ItemState{false, 0}));

    // The row goes into all 13 bytes, the columns stay.
    EXPECT_TRUE(item("CmbKpbgDelY").write(rom, 0, 3));
    const std::vector<std::uint8_t> row3{0xD8, 0xD6, 0xD4, 0xD2, 0xD0, 0xCE, 0xCC,
                                         0xCA, 0xC8, 0xC6, 0xC4, 0xC2, 0xC0};
    EXPECT_EQ(std::vector<std::uint8_t>(rom.begin() + 0x4FEF, rom.begin() + 0x4FFC), row3);
    // A piece's column goes into its own byte only.
    EXPECT_TRUE(item("EditKpbgDelX13").write(rom, 0, 15));
    EXPECT_EQ(rom[0x4FFB], 0xDE);
    EXPECT_EQ(rom[0x4FFA], 0xC2);
    EXPECT_FALSE(item("EditKpbgDelX2").write(rom, 0, 16));
    EXPECT_EQ(rom[0x4FF0], 0xD6);

    // One piece on another row freezes the row list and every piece.
    rom = defaultImage();
    rom[0x4FF3] = 0x50; // piece 5, row 1
    EXPECT_EQ(read(rom, "CmbKpbgDelY"), (ItemState{true, 0}));
    for (int k = 1; k <= 13; ++k)
        EXPECT_TRUE(item(("EditKpbgDelX" + std::to_string(k)).c_str()).read(rom, 0).outOfBounds)
            << k;
    // So does one invalid pair.
    rom = defaultImage();
    rom[0x4FFB] = 0x81; // piece 13, bit 0
    EXPECT_TRUE(read(rom, "CmbKpbgDelY").outOfBounds);
    EXPECT_TRUE(read(rom, "EditKpbgDelX1").outOfBounds);
    // The axe and rope do not depend on the bridge.
    EXPECT_EQ(read(rom, "CmbOnoDelX"), (ItemState{false, 13}));
}

TEST(Zenpan2Table, ListCaptions) {
    EXPECT_EQ(caption("CmbPoleMaru", 0), "-1 (Hidden)");
    EXPECT_EQ(caption("CmbPoleMaru", 1), "0  [Default]");
    EXPECT_EQ(caption("CmbPoleMaru", 14), "13 (Hidden)");
    EXPECT_EQ(caption("CmbPoleMaru", 15), "14 (Hidden)");
    EXPECT_EQ(caption("CmbPoleFlag", 3), "1  [Default]");
    EXPECT_EQ(caption("CmbPoleFlag", 15), "13 (Hidden)");
    EXPECT_EQ(caption("CmbOnoDelY", 0), "6  [Default]");
    EXPECT_EQ(caption("CmbKpbgDelY", 2), "8  [Default]");
    EXPECT_EQ(
        item("CmbDelObjVal").list->captions(),
        (std::vector<std::string>{"Axe Only", "Axe and Rope", "Bridge 1 All", "Bridge 2 All",
                                  "Bridge 3 All", "Bridge 4 All", "Bridge 5 All", "Bridge 6 All",
                                  "Bridge 7 All", "Bridge 8 All", "Bridge 9 All", "Bridge 10 All",
                                  "Bridge 11 All", "Bridge 12 All", "All  [Default]"}));
    EXPECT_EQ(
        item("CmbRopeHeight").list->captions(),
        (std::vector<std::string>{"0 (Unerasable)", "1 (Unerasable)", "2 (Unerasable)",
                                  "3 (Unerasable)", "4 (Unerasable)", "5 (Unerasable)", "6",
                                  "7  [Default]", "8", "9", "10 (Unerasable)", "11 (Unerasable)",
                                  "12 (Unerasable)", "13 (Unerasable)", "14 (Hidden)"}));
    EXPECT_EQ(caption("CmbKpbgHeight", 8), "8  [Default]");
    EXPECT_EQ(caption("CmbKinoHeight", 14), "13 (Not Visible)");
    EXPECT_EQ(caption("CmbMaStopWidth", 0), "2 (Shifted by Steps)");
    EXPECT_EQ(caption("CmbMaStopWidth", 4), "6 ");
    EXPECT_EQ(caption("CmbMaStopWidth", 6), "8  [Default]");
    EXPECT_EQ(caption("CmbMaStopWidth", 15), "17 (Off-Screen)");

    const auto& objects = item("CmbBlocItemAdvc").list->captions();
    ASSERT_EQ(objects.size(), 256u);
    EXPECT_EQ(objects[0x00], "00 Green Koopa Troopa (Midair)");
    EXPECT_EQ(objects[0x15], "15 NULL");
    EXPECT_EQ(objects[0x1E], "1E Firebar (Static)");
    EXPECT_EQ(objects[0x22], "22 Long Firebar (Static)");
    EXPECT_EQ(objects[0x2E], "2E Mushrooms, Flower, Starman  [Default]");
    EXPECT_EQ(objects[0x3A], "3A -");
    EXPECT_EQ(objects[0x4C], "4C Unknown");
    EXPECT_EQ(objects[0x9B], "9B Long Firebar (Static)");
    EXPECT_EQ(objects[0xA2], "A2 Long Firebar (Static)");
    EXPECT_EQ(objects[0xA3], "A3 NULL");
    EXPECT_EQ(objects[0xAC], "AC Small Lift (Horz., Errors)");
    EXPECT_EQ(objects[0xAE], "AE Airborne Poison Mushroom, Flower, Star");
    EXPECT_EQ(objects[0xCF], "CF Unknown");
    EXPECT_EQ(objects[0xFF], "FF Unknown");
    int unknown = 0, dash = 0;
    for (const std::string& s : objects) {
        unknown += s.substr(3) == "Unknown";
        dash += s.substr(3) == "-";
    }
    EXPECT_EQ(unknown, 87);
    EXPECT_EQ(dash, 5);
}

TEST(Zenpan2Table, FlagpolePreview) {
    // (The game's own flagpole is drawn whole in the dialog test.) Near the ground the
    // flag's top becomes ground; no finial at 0; the flag stop wins over the flag, the
    // block over the pole, the drop-down over Mario's stop.
    qv::flagpole::Positions p;
    p.flag = 13;
    p.flagStop = 13;
    p.finial = 0;
    p.poleStart = 0;
    p.poleEnd = 0;
    p.block = 0;
    p.score = 2;
    p.marioStop = 4;
    p.dropDown = 4;
    using Row = qv::flagpole::Row;
    EXPECT_EQ(qv::flagpole::cells(p, 0), (Row{"  ", "  ", "↑", "  "}));
    EXPECT_EQ(qv::flagpole::cells(p, 1), (Row{"  ", "■", "00", "  "}));
    EXPECT_EQ(qv::flagpole::cells(p, 2), (Row{"  ", "  ", "  ", "  "}));
    EXPECT_EQ(qv::flagpole::cells(p, 5), (Row{"  ", "  ", "  ", "※"}));
    EXPECT_EQ(qv::flagpole::cells(p, 11), (Row{"＿", "  ", "  ", "  "}));
    EXPECT_EQ(qv::flagpole::cells(p, 12), (Row{"＼", "□", "□", "□"}));
    EXPECT_EQ(qv::flagpole::cells(p, 13), (Row{"止", "□", "□", "□"}));
    p.flag = 14;
    EXPECT_EQ(qv::flagpole::cells(p, 12)[0], "□");
    EXPECT_EQ(qv::flagpole::cells(p, 13)[0], "止");
    p.flagStop = 0;
    EXPECT_EQ(qv::flagpole::cells(p, 13)[0], "＼");
    EXPECT_EQ(qv::flagpole::rowLabel(0), "-1 ");
    EXPECT_EQ(qv::flagpole::rowLabel(13), "12 ");
}

} // namespace
