// What `qorv get` prints, `qorv set` takes back without changing a byte: checked
// for every item over random images, and through the program on literal bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cli/qorvrun.h"
#include "core/catalog.h"
#include "core/itemtext.h"
#include "core/preset.h"
#include "core/rom.h"

using namespace qvtest;

namespace {

// Random bytes, biased towards the values at the edges of the encodings, with about
// half of the items then given a random accepted value so that readable states are
// common too.
Bytes randomImage(std::mt19937& rng, std::size_t size) {
    static constexpr std::uint8_t kEdges[] = {0x00, 0x01, 0x7F, 0x80, 0x81, 0xFE, 0xFF};
    Bytes image(size);
    for (auto& b : image)
        b = rng() % 3 ? static_cast<std::uint8_t>(rng()) : kEdges[rng() % 7];
    const int shift = size == 41488 ? 512 : 0;
    for (const qv::ItemRow& row : qv::itemRows()) {
        const qv::Item& item = *row.item;
        if (rng() % 2) continue;
        int lo = 0, hi = 1;
        if (item.kind == qv::ItemKind::Numeric) {
            lo = item.acceptMin;
            hi = item.acceptMax;
        } else if (item.kind == qv::ItemKind::Choice) {
            hi = static_cast<int>(item.list->captions().size()) - 1;
        }
        item.write(image, shift, lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)));
    }
    return image;
}

} // namespace

TEST(ValueText, SetOfWhatGetPrintsChangesNoByteForEveryItemOverRandomImages) {
    std::mt19937 rng(20261207);
    int asBytes = 0, asValues = 0;
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = round % 3 == 2 ? 41488 : 40976;
        const int shift = size == 41488 ? 512 : 0;
        const Bytes image = randomImage(rng, size);
        for (const qv::ItemRow& row : qv::itemRows()) {
            const qv::Item& item = *row.item;
            const std::string text = qv::valueText(item, image, shift);
            std::string problem;
            const auto edit = qv::checkValue(item, text, image, problem);
            ASSERT_TRUE(edit) << item.control << "=" << text << ": " << problem;
            Bytes stored = image;
            ASSERT_EQ(qv::storeValues(std::span(&*edit, 1), stored), "");
            ASSERT_EQ(stored, image) << item.control << "=" << text;
            (text.starts_with('(') ? asBytes : asValues)++;
        }
    }
    // Both forms were met many times.
    EXPECT_GT(asBytes, 1000);
    EXPECT_GT(asValues, 1000);
}

TEST(ValueText, BytesNoValueReproducesArePrintedWithTheirMeaning) {
    const qv::Item& up = *qv::findItem("EditMaTsuruUp").item;
    const qv::Item& down = *qv::findItem("EditMaTsuruDown").item;
    EXPECT_EQ(qv::valueTextOfBytes(up, Bytes{0x80}), "(Out of range 128: 80)");
    EXPECT_EQ(qv::valueTextOfBytes(down, Bytes{0x80}), "(Out of range -128: 80)");
    EXPECT_EQ(qv::valueTextOfBytes(down, Bytes{0x81}), "-127");
    EXPECT_EQ(qv::parseStoredBytes(down, "(Out of range -128: 80)"), Bytes{0x80});
    // Only the exact text: other bytes, other spellings and readable values are not
    // taken as bytes.
    EXPECT_FALSE(qv::parseStoredBytes(down, "(Out of range -128: 81)"));
    EXPECT_FALSE(qv::parseStoredBytes(down, "(Out of range -128: 80 )"));
    EXPECT_FALSE(qv::parseStoredBytes(down, "(out of range -128: 80)"));
    EXPECT_FALSE(qv::parseStoredBytes(down, "(Out of range -128: 8)"));
    EXPECT_FALSE(qv::parseStoredBytes(down, "(-127: 81)"));
    const qv::Item& pipe = *qv::findItem("CmbMaDokanHeight").item;
    EXPECT_EQ(qv::valueTextOfBytes(pipe, Bytes{0x30}), "(Out of bounds: 30)");
}

TEST(ValueText, QorvSetsWhatItPrintedAndChangesNothing) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), blank = dir.file("blank.nes");
    Bytes image(40976, 0);
    image[0x345B] = 0x80; // EditMaTsuruUp
    image[0x345C] = 0x80; // EditMaTsuruDown
    image[0x30B8] = 0x30; // CmbMaDokanHeight: not 1 more than a multiple of 16
    writeBytes(game, image);
    writeBytes(blank, Bytes(40976, 0));

    const Outcome g =
        qorv(dir, {"get", game, "EditMaTsuruUp", "EditMaTsuruDown", "CmbMaDokanHeight"});
    ASSERT_EQ(g.status, 0) << g.err;
    EXPECT_EQ(g.out, "EditMaTsuruUp=(Out of range 128: 80)\nEditMaTsuruDown=(Out of range -128: "
                     "80)\nCmbMaDokanHeight=(Out of bounds: 30)\n");
    const std::vector<std::string> printed{"EditMaTsuruUp=(Out of range 128: 80)",
                                           "EditMaTsuruDown=(Out of range -128: 80)",
                                           "CmbMaDokanHeight=(Out of bounds: 30)"};
    std::vector<std::string> args{"set", game};
    args.insert(args.end(), printed.begin(), printed.end());
    Outcome s = qorv(dir, args);
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(readBytes(game), image);

    // On another image the same text stores those bytes.
    args[1] = blank;
    s = qorv(dir, args);
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(readBytes(blank), image);

    // The dialogs' ranges still hold for plain numbers.
    s = qorv(dir, {"set", blank, "EditMaTsuruDown=-128"});
    EXPECT_EQ(s.status, 2);
    EXPECT_EQ(readBytes(blank), image);
}

TEST(ValueText, ListIndexesAreDigitsAsPrinted) {
    const qv::Item& shot = *qv::findItem("CmbFireShot").item;
    EXPECT_EQ(qv::parseValue(shot, "#0"), 0);
    EXPECT_EQ(qv::parseValue(shot, "#3"), 3);
    for (const char* bad : {"#-0", "#01", "#00", "#+1", "# 1", "#1 ", "#", "#4", "#-1"})
        EXPECT_FALSE(qv::parseValue(shot, bad)) << bad;
    const qv::Item& lives = *qv::findItem("EditMaZanki").item;
    EXPECT_EQ(qv::parseValue(lives, "5 "), 5);
    EXPECT_EQ(qv::parseValue(lives, "5\t"), 5);
}

TEST(ValueText, APresetCarriesBytesNoValueReproducesAndPutsThemBack) {
    Bytes image(40976, 0);
    image[0x345C] = 0x80; // EditMaTsuruDown: -128, outside -127..128
    const std::string preset = qv::exportPreset(image, "g.nes", true);
    EXPECT_NE(preset.find(R"("control": "EditMaTsuruDown",)"), std::string::npos);
    EXPECT_NE(preset.find(R"x("value": "(Out of range -128: 80)")x"), std::string::npos) << preset;

    // Into a blank image: the bytes come back; into the image itself: nothing changes.
    Bytes blank(40976, 0);
    const qv::PresetPlan plan = qv::planPreset(preset, blank);
    ASSERT_TRUE(plan.ok()) << plan.error;
    EXPECT_EQ(qv::storeValues(plan.entries, blank), "");
    EXPECT_EQ(blank, image);
    const qv::PresetPlan same = qv::planPreset(preset, image);
    ASSERT_TRUE(same.ok()) << same.error;
    EXPECT_TRUE(same.changes.empty());
}
