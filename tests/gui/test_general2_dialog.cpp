// The General 2 dialog on images built in memory: out-of-bounds lists and pairs, the
// frozen bridge, the numeric encodings, the flagpole preview, and what OK leaves alone.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "core/tables/general2.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/flagpolepreview.h"
#include "gui/dialogs/general2.h"
#include "gui/dialogs/updown.h"

namespace {

using qv::Answer;
using qv::test::at;
using qv::test::FakeHost;
using qv::test::put;
using qv::test::ScriptedPlatform;

class Zenpan2Session : public qv::test::DialogSessionDriver<qv::TFormZenpan2> {
  public:
    explicit Zenpan2Session(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::general2(), &qv::makeGeneral2Dialog) {}
    QString preview() const { return dialog()->preview()->text(); }
};

const std::vector<std::uint8_t> kBridge{0x98, 0x96, 0x94, 0x92, 0x90, 0x8E, 0x8C,
                                        0x8A, 0x88, 0x86, 0x84, 0x82, 0x80};

// The unmodified game's bytes at every offset the dialog edits.
std::vector<std::uint8_t> gameImage(int shift = 0) {
    auto img = qv::test::blankImage(shift ? 41488 : 40976);
    const std::pair<int, std::uint8_t> bytes[] = {
        {0x19B1, 0xA1}, {0x19D1, 0x30}, {0x387E, 0xAA}, {0x19B4, 0x01}, {0x19B6, 0x08},
        {0x19BF, 0xAB}, {0x19D5, 0xB0}, {0x32C7, 0x9E}, {0x3884, 0xA2}, {0x3892, 0x01},
        {0x38A2, 0x01}, {0x1871, 0x90}, {0x5361, 0x72}, {0x4FED, 0x1A}, {0x4FEE, 0x58},
        {0x1A12, 0x0C}, {0x5060, 0x0F}, {0x1A0B, 0x06}, {0x1A0C, 0x07}, {0x1A0D, 0x08},
        {0x502B, 0x04}, {0x4318, 0xB8}, {0x03DA, 0x60}, {0x3C5A, 0x2E}, {0x00AD, 0x1E}};
    for (const auto& [off, b] : bytes)
        img[static_cast<std::size_t>(off + shift)] = b;
    put(img, 0x4FEF + shift, kBridge);
    return img;
}

const QString kGamePreview = QString::fromUtf8("-1         \r\n"
                                               " 0 ＿●    \r\n"
                                               " 1 ＼┃    \r\n"
                                               " 2 ↓│    \r\n"
                                               " 3   │    \r\n"
                                               " 4   │    \r\n"
                                               " 5   │    \r\n"
                                               " 6   │    \r\n"
                                               " 7   │    \r\n"
                                               " 8   │↑  \r\n"
                                               " 9 止│00←\r\n"
                                               "10   ■  ※\r\n"
                                               "11 □□□□\r\n"
                                               "12 □□□□");

TEST(Zenpan2Dialog, ShapeHelpAndReopenedPage) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(gameImage());
    {
        Zenpan2Session s(host);
        EXPECT_EQ(s.dialog()->objectName(), "TFormZenpan2");
        EXPECT_EQ(s.dialog()->windowTitle(), "General Settings 2");
        auto* pages = s.find<QTabWidget>("Page1");
        ASSERT_EQ(pages->count(), 5);
        EXPECT_EQ(pages->tabText(0), "Flagpole");
        EXPECT_EQ(pages->currentWidget()->objectName(), "TabPole");
        EXPECT_EQ(s.label("LabPole1"), "Vertical Position");
        EXPECT_EQ(s.label("LabPole2"), "Vertical Position");
        EXPECT_FALSE(s.find<QWidget>("PnlPole2")->isEnabled());
        EXPECT_EQ(s.edit("EditKpbgDelX1")->maxLength(), 2);
        EXPECT_EQ(s.edit("EditDelKpbgSpd")->maxLength(), 3);
        EXPECT_EQ(s.edit("EditPoleFlagDown")->maxLength(), 4);
        EXPECT_EQ(s.spin("UdDelKpbgSpd")->maximum(), 256);
        EXPECT_EQ(s.spin("UdKpbgDelX13")->maximum(), 15);
        s.click("BtnHelp");
        ASSERT_EQ(platform.shown().size(), 1u);
        EXPECT_EQ(platform.shown()[0].text, "300");
        pages->setCurrentIndex(3);
        EXPECT_FALSE(s.cancel());
    }
    Zenpan2Session s(host);
    EXPECT_EQ(s.find<QTabWidget>("Page1")->currentWidget()->objectName(), "TabKino");
}

TEST(Zenpan2Dialog, OutOfBoundsListsPairsAndCheckBoxKeepTheirBytes) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = gameImage();
    img[0x19D1] = 0x35; // flag: low nibble not 0
    img[0x4FED] = 0x21; // axe: bit 0 set
    img[0x00AD] = 0x00; // neither 0x1E nor 0x1F
    host.open(img);
    Zenpan2Session s(host);
    EXPECT_EQ(s.combo("CmbPoleFlag")->currentText(), "(Out of bounds)");
    EXPECT_FALSE(s.combo("CmbPoleFlag")->isEnabled());
    for (const char* c : {"CmbOnoDelY", "CmbOnoDelX"}) {
        EXPECT_EQ(s.combo(c)->currentText(), "(Out of bounds)") << c;
        EXPECT_FALSE(s.combo(c)->isEnabled()) << c;
    }
    EXPECT_EQ(s.combo("CmbRopeDelY")->currentText(), "7  [Default]");
    EXPECT_EQ(s.check("ChkMonoView")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.check("ChkMonoView")->isEnabled());
    // Reset leaves them alone; the rope list next to them is reset.
    s.combo("CmbRopeDelX")->setCurrentIndex(3);
    s.click("SpdKpbgDel");
    s.click("SpdMonoView");
    EXPECT_EQ(s.combo("CmbOnoDelY")->currentText(), "(Out of bounds)");
    EXPECT_EQ(s.combo("CmbRopeDelX")->currentIndex(), 12);
    EXPECT_EQ(s.check("ChkMonoView")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(host.at(0x19D1), 0x35);
    EXPECT_EQ(host.at(0x4FED), 0x21);
    EXPECT_EQ(host.at(0x00AD), 0x00);
    EXPECT_FALSE(host.doc.modified());
}

TEST(Zenpan2Dialog, NumbersShowTheirEncodingsAndBadTextBecomesTheDefault) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = gameImage();
    img[0x502B] = 0x00;
    img[0x3892] = 0x80;
    img[0x38A2] = 0x81;
    img[0x4FF3] = 0x82; // piece 5 at column 1
    host.open(img);
    {
        Zenpan2Session s(host);
        EXPECT_EQ(s.edit("EditDelKpbgSpd")->text(), "1");
        EXPECT_EQ(s.edit("EditPoleFlagDown")->text(), "128");
        EXPECT_EQ(s.edit("EditPoleScoreUp")->text(), "-127");
        EXPECT_FALSE(s.ok()); // 0x80 and 0x81 survive
        EXPECT_EQ(host.at(0x3892), 0x80);
        EXPECT_EQ(host.at(0x38A2), 0x81);
        EXPECT_EQ(host.at(0x502B), 0x00);
    }
    {
        Zenpan2Session s(host);
        s.set("EditDelKpbgSpd", "256");
        EXPECT_TRUE(s.ok());
        EXPECT_EQ(host.at(0x502B), 0x01);
        EXPECT_EQ(host.doc.undoCaption(), "&Undo (General 2)");
    }
    Zenpan2Session s(host);
    EXPECT_EQ(s.edit("EditDelKpbgSpd")->text(), "256");
    s.set("EditDelKpbgSpd", "257");
    s.set("EditPoleFlagDown", "-128");
    s.set("EditPoleScoreUp", "abc");
    s.set("EditKpbgDelX5", "16");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x502B), 0x04); // 253
    EXPECT_EQ(host.at(0x3892), 0x01);
    EXPECT_EQ(host.at(0x38A2), 0x01);
    EXPECT_EQ(host.at(0x4FF3), 0x90); // piece 5's default column 8, row 2
}

TEST(Zenpan2Dialog, BridgeOnTwoRowsIsFrozenWhileAxeAndRopeAreWritten) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = gameImage();
    img[0x4FF3] = 0x50; // piece 5 on row 1, column 8
    host.open(img);
    Zenpan2Session s(host);
    EXPECT_EQ(s.combo("CmbKpbgDelY")->currentText(), "(Out of bounds)");
    for (int k = 1; k <= 13; ++k) {
        const std::string e = "EditKpbgDelX" + std::to_string(k),
                          u = "UdKpbgDelX" + std::to_string(k);
        EXPECT_FALSE(s.edit(e.c_str())->isEnabled()) << k;
        EXPECT_FALSE(s.spin(u.c_str())->isEnabled()) << k;
    }
    EXPECT_EQ(s.edit("EditKpbgDelX1")->text(), "12");
    EXPECT_EQ(s.edit("EditKpbgDelX5")->text(), "8");
    s.set("EditKpbgDelX1", "3");
    s.combo("CmbOnoDelX")->setCurrentIndex(2);  // 0x1A -> 0x04
    s.combo("CmbRopeDelY")->setCurrentIndex(3); // 0x58 -> 0xD8
    s.click("SpdKpbgHeight");                   // unrelated group, no question asked
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x4FED), 0x04);
    EXPECT_EQ(host.at(0x4FEE), 0xD8);
    auto bridge = kBridge;
    bridge[4] = 0x50;
    EXPECT_EQ(at(host, 0x4FEF, 13), bridge);
}

TEST(Zenpan2Dialog, BridgeRowAndColumnsGoIntoTheirBits) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = gameImage();
    put(img, 0x4FEF, std::vector<std::uint8_t>(13, 0x40)); // all on row 1, column 0
    host.open(img);
    Zenpan2Session s(host);
    EXPECT_EQ(s.combo("CmbKpbgDelY")->currentText(), "7");
    EXPECT_EQ(s.edit("EditKpbgDelX7")->text(), "0");
    s.combo("CmbKpbgDelY")->setCurrentIndex(3);
    s.set("EditKpbgDelX1", "15");
    s.set("EditKpbgDelX13", "1");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(at(host, 0x4FEF, 13),
              (std::vector<std::uint8_t>{0xDE, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0,
                                         0xC0, 0xC0, 0xC2}));
}

TEST(Zenpan2Dialog, ResetRestoresBridgeGroupAndAsksFirst) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = gameImage();
    put(img, 0x4FED, {0xC0, 0x00});
    put(img, 0x4FEF, std::vector<std::uint8_t>(13, 0x00));
    img[0x1A12] = 0x00;
    img[0x5060] = 0x01;
    host.open(img);
    Zenpan2Session s(host);
    platform.answer(Answer::No);
    s.click("SpdKpbgDel");
    EXPECT_EQ(s.combo("CmbOnoDelY")->currentIndex(), 3);
    platform.answer(Answer::Yes);
    s.click("SpdKpbgDel");
    EXPECT_EQ(platform.messages(), (QStringList{"Reset the selection to its default value?",
                                                "Reset the selection to its default value?"}));
    EXPECT_EQ(s.edit("EditKpbgDelX1")->text(), "12");
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(at(host, 0x4FED, 15),
              (std::vector<std::uint8_t>{0x1A, 0x58, 0x98, 0x96, 0x94, 0x92, 0x90, 0x8E, 0x8C, 0x8A,
                                         0x88, 0x86, 0x84, 0x82, 0x80}));
    EXPECT_EQ(host.at(0x1A12), 0x0C);
    EXPECT_EQ(host.at(0x5060), 0x0F);
}

TEST(Zenpan2Dialog, ListsStoreTheirBytesWithATrainer) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(gameImage(512));
    Zenpan2Session s(host);
    EXPECT_EQ(s.combo("CmbPoleFlag")->currentText(), "1  [Default]");
    EXPECT_EQ(s.combo("CmbBlocItemAdvc")->count(), 256);
    EXPECT_EQ(s.combo("CmbBlocItemAdvc")->currentText(),
              "2E Mushrooms, Flower, Starman  [Default]");
    EXPECT_EQ(s.check("ChkMonoView")->checkState(), Qt::Unchecked);
    s.combo("CmbOnoHeight")->setCurrentIndex(14);
    EXPECT_EQ(s.combo("CmbOnoHeight")->currentText(), "14 (Hidden)");
    s.combo("CmbBlocItemAdvc")->setCurrentIndex(0xAE);
    EXPECT_EQ(s.combo("CmbBlocItemAdvc")->currentText(),
              "AE Airborne Poison Mushroom, Flower, Star");
    s.check("ChkMonoView")->setChecked(true);
    EXPECT_TRUE(s.ok());
    EXPECT_EQ(host.at(0x1A0B + 512), 0x0E);
    EXPECT_EQ(host.at(0x3C5A + 512), 0xAE);
    EXPECT_EQ(host.at(0x00AD + 512), 0x1F);
    EXPECT_EQ(host.at(0x1A0B), 0x00); // nothing at the unshifted offsets
    EXPECT_EQ(host.at(0x3C5A), 0x00);
}

TEST(Zenpan2Dialog, FlagpolePreviewFollowsTheListsAndTheirReset) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(gameImage());
    Zenpan2Session s(host);
    EXPECT_EQ(s.preview(), kGamePreview);
    // Its symbols are named in words under the lists.
    EXPECT_EQ(s.label("LabPoleLegend"),
              QString::fromUtf8("● finial   ┃│ pole   ■ block   ＿＼↓ flag   止 flag stop   00↑ "
                                "score   ← Mario stops   ※ Mario drops   □ ground"));
    s.combo("CmbPoleFlag")->setCurrentIndex(5);   // F 5: flag rows 3..5
    s.combo("CmbPoleMaru")->setCurrentIndex(0);   // M 0: no finial
    s.combo("CmbPoleMaDown")->setCurrentIndex(0); // D 0: ※ on row 1
    const QStringList lines = s.preview().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[1], QString::fromUtf8(" 0       ※"));
    EXPECT_EQ(lines[2], QString::fromUtf8(" 1   ┃    "));
    EXPECT_EQ(lines[3], QString::fromUtf8(" 2 ＿│    "));
    EXPECT_EQ(lines[5], QString::fromUtf8(" 4 ↓│    "));
    // Castle-flag lists redraw too (nothing of theirs is drawn).
    s.combo("CmbCsFlagStart")->setCurrentIndex(0);
    EXPECT_EQ(s.preview().split(QStringLiteral("\r\n"))[3], QString::fromUtf8(" 2 ＿│    "));
    s.click("SpdPole"); // the Reset setting is off: no question
    EXPECT_EQ(s.preview(), kGamePreview);
    EXPECT_TRUE(platform.messages().isEmpty());

    // An out-of-bounds list is drawn at position 0.
    FakeHost other;
    auto img = gameImage();
    img[0x19D5] = 0xB1; // score: low nibble not 0
    other.open(img);
    Zenpan2Session t(other);
    EXPECT_EQ(t.preview().split(QStringLiteral("\r\n"))[9], QString::fromUtf8(" 8   │    "));
}

// Every byte value reads as something the dialog writes back the same (the speeds and
// the erase rate accept all 256 bytes; pairs, nibbles and offsets re-encode exactly), or
// is kept out of bounds; so no item is rewritten and OK without changes keeps every
// byte, with or without a trainer. The game's bytes are planted at random so that
// valid bridges, pairs and check states are met too.
TEST(Zenpan2Dialog, OkWithoutChangesKeepsRandomImagesWhole) {
    ScriptedPlatform platform;
    const qv::test::PlantedRun known[] = {
        {0x4FEF, {kBridge, std::vector<std::uint8_t>(13, 0xDE)}},
        {0x4FED, {{0x1A, 0x58}, {0xC0, 0xDE}}},
        {0x00AD, {{0x1E}, {0x1F}}},
        {0x19D1, {{0x30}}},
        {0x387E, {{0xAA}}},
        {0x19B1, {{0xA1}}},
        {0x19BF, {{0xAB}}},
        {0x19B4, {{0x01}}},
        {0x19B6, {{0x08}}},
        {0x19D5, {{0xB0}}},
        {0x32C7, {{0x9E}}},
        {0x3884, {{0xA2}}},
        {0x1871, {{0x90}}},
        {0x5361, {{0x72}}},
        {0x1A12, {{0x0C}}},
        {0x5060, {{0x0F}}},
        {0x1A0B, {{0x06}}},
        {0x4318, {{0xB8}}},
        {0x03DA, {{0x60}}},
    };
    qv::test::expectOkKeepsRandomImages<Zenpan2Session>(known, 30);
}

} // namespace
