// The Color table against the character list: pages, offsets, defaults, notes, and
// the attribute byte the panel composes.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "core/tables/color.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"
#include "support/offsets.h"

namespace {

using qv::tables::colorCharacters;
using qv::tables::findColorCharacter;

TEST(ColorTable, DialogFactsAndPages) {
    const qv::DialogTable& t = qv::tables::color();
    EXPECT_EQ(t.className, "TFormColor");
    EXPECT_EQ(t.caption, "Color Settings");
    EXPECT_EQ(t.undoSuffix, "(Color)");
    EXPECT_EQ(t.helpContext, 800);
    ASSERT_EQ(t.pages.size(), 3u);
    EXPECT_EQ(t.pages[0].caption, "Enemies");
    EXPECT_EQ(t.pages[0].objectName, "TabEnemy");
    EXPECT_EQ(t.pages[1].caption, "General");
    EXPECT_EQ(t.pages[1].objectName, "TabZenpan");
    EXPECT_EQ(t.pages[2].caption, "Special");
    EXPECT_EQ(t.pages[2].objectName, "TabAdvance");
    EXPECT_EQ(t.pages[0].groups.at(0).items.size(), 27u);
    EXPECT_EQ(t.pages[1].groups.at(0).items.size(), 23u);
    // Five characters and the Unknown's "Fixed Palette" box.
    EXPECT_EQ(t.pages[2].groups.at(0).items.size(), 6u);
    EXPECT_EQ(t.pages[2].groups.at(0).items.back().control, "Chk687E");
    EXPECT_EQ(qv::findTable("TFormColor"), &t);
}

// 55 one-byte characters, each button named after its own offset, none shared.
TEST(ColorTable, EveryCharacterIsOneByteNamedAfterItsOffset) {
    EXPECT_EQ(colorCharacters().size(), 55u);
    std::set<int> offsets;
    for (const auto& c : colorCharacters()) {
        char name[8];
        std::snprintf(name, sizeof name, "Spd%04X", c.offset);
        EXPECT_EQ(c.control, name);
        EXPECT_TRUE(offsets.insert(c.offset).second) << c.control;
        const qv::Item* it = qv::tables::color().find(c.control);
        ASSERT_NE(it, nullptr) << c.control;
        EXPECT_EQ(qvtest::offsetsOf(*it), std::vector<int>{c.offset});
        EXPECT_EQ(it->defaultValue, c.defaultByte);
    }
    qv::ValueFields fields(qv::tables::color());
    EXPECT_EQ(fields.offsets().size(), 55u);
}

TEST(ColorTable, DefaultsCaptionsAndNotesOfSelectedRows) {
    struct Row {
        int offset;
        int page;
        const char* caption;
        int defaultByte;
    };
    const Row rows[] = {
        {0x686C, 0, "Koopa Troopa", 0x02},
        {0x6878, 0, "Piranha Plant", 0x21},
        {0x5244, 0, "Bowser Flame 2", 0x82},
        {0x64EB, 0, "Hammer 4", 0xC3},
        {0x538E, 1, "Castle Flag", 0x22},
        {0x6E12, 1, "Air Bubble", 0x02},
        {0x687E, 2, "Unknown", 0xFF},
        // The attribute bytes the unmodified game loads for these (the LDA #imm operand
        // it stores as the sprite attribute), which Reset must put back.
        {0x6614, 1, "Lift", 0x02},
        {0x6D81, 1, "Small Lift", 0x02},
        {0x6D0D, 1, "Firebar", 0x02},
        {0x6D67, 1, "Fireworks (UR)", 0x42},
        {0x6D6C, 1, "Fireworks (LR)", 0xC2},
        {0x6ADF, 1, "Peach (LR)", 0x42},
    };
    for (const Row& r : rows) {
        const auto* c = findColorCharacter(r.offset);
        ASSERT_NE(c, nullptr) << r.caption;
        EXPECT_EQ(c->page, r.page) << r.caption;
        EXPECT_EQ(c->caption, r.caption);
        EXPECT_EQ(c->defaultByte, r.defaultByte) << r.caption;
    }
    EXPECT_EQ(findColorCharacter(0x686B)->captionColor, qv::tables::CaptionColor::Green);
    EXPECT_EQ(findColorCharacter(0x686C)->captionColor, qv::tables::CaptionColor::Red);
    EXPECT_EQ(findColorCharacter(0x6871)->captionColor, qv::tables::CaptionColor::Plain);

    EXPECT_TRUE(findColorCharacter(0x686F)->note.empty());
    EXPECT_EQ(findColorCharacter(0x6873)->note,
              "Setting \"Behind BG\" also applies to the Bill Launcher.\r\n"
              "Bill Launcher's color does not change.");
    EXPECT_EQ(findColorCharacter(0x6D6C)->note, "Also applied to fireball impacts on walls, etc.");
    EXPECT_EQ(findColorCharacter(0x6884)->note,
              "Color setting while plate is partly pressed down.\r\n"
              "Only applicable when springboard sprites set in [General 1]-[Springboard].");
    EXPECT_EQ(findColorCharacter(0x1234), nullptr);

    // The range label (shown by the help and qorv) names the game's byte in decimal.
    EXPECT_EQ(qv::tables::color().find("Spd6D6C")->rangeLabel(), "[0～255 Default: 194]");
    EXPECT_EQ(qv::tables::color().find("Spd6614")->rangeLabel(), "[0～255 Default: 2]");
}

// Group + 0x20 behind + 0x80 upside down + 0x40 mirrored, above 127 as two's complement.
TEST(ColorTable, AttributeByteFromThePanel) {
    using qv::tables::attributeField;
    EXPECT_EQ(attributeField(2, true, false, false), 0x22);
    EXPECT_EQ(attributeField(3, true, true, true), 0xE3 - 256);
    EXPECT_EQ(attributeField(3, false, true, true), 0xC3 - 256);
    EXPECT_EQ(attributeField(0, false, false, true), 0x40);
    EXPECT_EQ(attributeField(2, false, true, false), 0x82 - 256);

    using qv::tables::attributeEditable;
    EXPECT_TRUE(attributeEditable(0xE3));
    EXPECT_FALSE(attributeEditable(0x24));
    EXPECT_FALSE(attributeEditable(0x08));
    EXPECT_FALSE(attributeEditable(0x10));
    EXPECT_FALSE(attributeEditable(0xFF));
}

} // namespace
