// The byte rules that front ends share through the core: the bit-flag boxes, the
// bridge's row/column pairs, the Scoring tags of each page and group, the Piranha
// Plant patch's locked range, which IPS modes fit an image, and the captions' spelling.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/catalog.h"
#include "core/ips/ips.h"
#include "core/tables/enemy1.h"
#include "core/tables/enemy2.h"
#include "core/tables/general2.h"
#include "core/tables/registry.h"
#include "core/tables/scoring.h"

namespace {

using qv::ItemState;
using Bytes = std::vector<std::uint8_t>;

const qv::Item& item(const char* control) {
    return *qv::findItem(control).item;
}

ItemState readByte(const char* control, int offset, std::uint8_t b) {
    Bytes img(40976, 0);
    img[static_cast<std::size_t>(offset)] = b;
    return item(control).read(img, 0);
}

std::uint8_t writeByte(const char* control, int offset, std::uint8_t b, int value) {
    Bytes img(40976, 0);
    img[static_cast<std::size_t>(offset)] = b;
    EXPECT_TRUE(item(control).write(img, 0, value));
    return img[static_cast<std::size_t>(offset)];
}

TEST(SharedRules, RevivalRaisedBoxOwnsTheLowNibble) {
    EXPECT_EQ(readByte("ChkJugemRestHei", 0x43EF, 0x28), (ItemState{false, 1}));
    EXPECT_EQ(readByte("ChkJugemRestHei", 0x43EF, 0x20), (ItemState{false, 0}));
    EXPECT_EQ(readByte("ChkJugemRestHei", 0x43EF, 0xF8), (ItemState{false, 1}));
    EXPECT_EQ(readByte("ChkJugemRestHei", 0x43EF, 0x23), (ItemState{true, 0}));
    EXPECT_EQ(writeByte("ChkJugemRestHei", 0x43EF, 0x50, 1), 0x58);
    EXPECT_EQ(writeByte("ChkJugemRestHei", 0x43EF, 0xF8, 0), 0xF0);
    EXPECT_EQ(writeByte("ChkJugemRestHei", 0x43EF, 0x00, 1), 0x08);
    // The list keeps the box's nibble when it writes its own.
    EXPECT_EQ(writeByte("CmbJugemRestHei", 0x43EF, 0x28, 5), 0x58);
    EXPECT_EQ(item("ChkJugemRestHei").label, "Set &revival elevation to +0.5 by default.");
    EXPECT_EQ(qv::findItem("ChkJugemRestHei").table->className, "TFormEnemy1");
}

TEST(SharedRules, FixedPaletteBoxIsTheUnknownsFF) {
    EXPECT_EQ(readByte("Chk687E", 0x687E, 0xFF), (ItemState{false, 1}));
    EXPECT_EQ(readByte("Chk687E", 0x687E, 0x01), (ItemState{false, 0}));
    EXPECT_EQ(readByte("Chk687E", 0x687E, 0x03), (ItemState{false, 0})); // any other byte
    EXPECT_EQ(writeByte("Chk687E", 0x687E, 0xFF, 0), 0x01);
    EXPECT_EQ(writeByte("Chk687E", 0x687E, 0x03, 0), 0x03); // already clear: kept
    EXPECT_EQ(writeByte("Chk687E", 0x687E, 0x03, 1), 0xFF);
    EXPECT_EQ(item("Chk687E").label, "&Fixed Palette");
    EXPECT_EQ(qv::findItem("Chk687E").table->className, "TFormColor");
}

TEST(SharedRules, BridgePieceColumns) {
    EXPECT_EQ(qv::tables::bridgePieceColumn(0x18), 12);
    EXPECT_EQ(qv::tables::bridgePieceColumn(0xC4), 2); // row 3, column 2
    EXPECT_EQ(qv::tables::bridgePieceColumn(0x1E), 15);
    EXPECT_EQ(qv::tables::bridgePieceColumn(0x19), std::nullopt); // bit 0
    EXPECT_EQ(qv::tables::bridgePieceColumn(0x38), std::nullopt); // bit 5
    EXPECT_EQ(qv::tables::bridgePieceColumn(-0x40), 0);           // 0xC0 sign-extended
}

TEST(SharedRules, ScoringTagsOfEachPageAndGroup) {
    const qv::DialogTable& t = qv::tables::scoring();
    const auto onPage = [&](std::string_view objectName) {
        for (std::size_t p = 0; p < t.pages.size(); ++p)
            if (qv::pageObjectName(t.pages[p], static_cast<int>(p)) == objectName)
                return qv::tables::pointTagsOnPage(static_cast<int>(p));
        return std::vector<int>{-1};
    };
    EXPECT_EQ(onPage("TabItem"), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(onPage("TabFire"), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(onPage("TabFumi"), (std::vector<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(onPage("TabKeri"), (std::vector<int>{13, 14, 15, 16, 17}));
    EXPECT_EQ(qv::tables::pointTagsOnPage(0), std::vector<int>{}); // the General tab
    EXPECT_EQ(qv::tables::pointTagsOnPage(99), std::vector<int>{});
    const auto inGroup = [&](const char* reset) {
        const qv::Group* g = t.groupByReset(reset);
        return g ? qv::tables::pointTagsIn(*g) : std::vector<int>{-1};
    };
    EXPECT_EQ(inGroup("SpdPtKinoko"), (std::vector<int>{1, 2}));
    EXPECT_EQ(inGroup("SpdPtLift"), (std::vector<int>{3}));
    EXPECT_EQ(inGroup("SpdPtFireR"), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(inGroup("SpdPtFumiR"), (std::vector<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(inGroup("SpdPtKeriR"), (std::vector<int>{13, 14, 15, 16, 17}));
}

TEST(SharedRules, PiranhaPatchLocksTheRangeAtTen) {
    EXPECT_EQ(qv::tables::pakkunLockedRange(), 10); // JMP $D40A's low byte
}

TEST(SharedRules, IpsModesFitImageSizes) {
    using qv::ips::Mode;
    using qv::ips::modeFitsImage;
    for (std::size_t size : {std::size_t{40976}, std::size_t{41488}, std::size_t{100}})
        EXPECT_TRUE(modeFitsImage(Mode::None, size));
    EXPECT_TRUE(modeFitsImage(Mode::TrainerInput, 40976));
    EXPECT_FALSE(modeFitsImage(Mode::PlainInput, 40976));
    EXPECT_TRUE(modeFitsImage(Mode::Extend, 40976));
    EXPECT_TRUE(modeFitsImage(Mode::ExpandWithTrainer, 40976));
    EXPECT_FALSE(modeFitsImage(Mode::TrainerInput, 41488));
    EXPECT_TRUE(modeFitsImage(Mode::PlainInput, 41488));
    EXPECT_FALSE(modeFitsImage(Mode::Extend, 41488));
    EXPECT_FALSE(modeFitsImage(Mode::ExpandWithTrainer, 41488));
}

} // namespace

// Captions read as plain English, and every list marks its default the same way: two
// blanks and "[Default]" at the end, nothing after it.
TEST(SharedRules, CaptionsAreSpelledAndMarkedAlike) {
    EXPECT_EQ(item("EditDownLift").label, "&Descending:");
    EXPECT_EQ(item("CmbOnoDelX").label, "H&orizontal:");
    EXPECT_EQ(item("CmbRopeDelX").label, "Ho&rizontal:");
    EXPECT_EQ(item("EditKpbgDelX1").label, "Hori&zontal:");
    const auto& eggs = item("CmbJugemAppear").list->captions();
    EXPECT_EQ(eggs[0], "Throw Spiny Eggs  [Default]");
    EXPECT_EQ(eggs[4], "Lakitu passes by without throwing anything.");
    EXPECT_EQ(item("CmbFumiDamage1").list->captions()[0x0D], "0D Piranha Plant  [Default]");
    EXPECT_EQ(item("CmbFireShot").list->captions()[2], "As Fire Mario  [Default]");

    int marked = 0;
    for (const qv::ItemRow& r : qv::parameterRows()) {
        if (r.item->kind != qv::ItemKind::Choice) continue;
        for (const std::string& c : r.item->list->captions()) {
            const std::size_t at = c.find("[Default]");
            if (at == std::string::npos) continue;
            ++marked;
            EXPECT_TRUE(at >= 3 && c.compare(at - 2, 2, "  ") == 0 && c[at - 3] != ' ' &&
                        at + 9 == c.size())
                << r.item->control << ": \"" << c << '"';
        }
    }
    EXPECT_GT(marked, 100);
}
