// The Enemy 2 dialog on images built in memory: the Piranha Plant patches and their
// range, pivot rows, character lists, and what OK leaves alone.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "core/tables/enemy2.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/enemy2.h"
#include "gui/dialogs/updown.h"

namespace {

using qv::Answer;
using qv::test::at;
using qv::test::FakeHost;
using qv::test::put;
using qv::test::ScriptedPlatform;

class Enemy2Session : public qv::test::DialogSessionDriver<qv::TFormEnemy2> {
  public:
    explicit Enemy2Session(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::enemy2(), &qv::makeEnemy2Dialog) {}
};

TEST(Enemy2Dialog, AppearFromOneOnePatchTicksClearsOrGreys) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x1905, {0x0D, 0x5F, 0x07, 0xF0, 0x2B});
    host.open(img);
    {
        Enemy2Session s(host);
        QCheckBox* box = s.check("ChkIiPakkun");
        EXPECT_EQ(box->text(), "Piranha Plants A&ppear From 1-1");
        EXPECT_EQ(box->checkState(), Qt::Unchecked);
        EXPECT_TRUE(box->isEnabled());
        box->click();
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x1905, 5), (std::vector<std::uint8_t>{0xEA, 0xEA, 0xEA, 0xEA, 0xEA}));
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Enemy 2)");

    put(img, 0x1905, {0x0D, 0x5F, 0x07, 0xF0, 0x2C});
    put(img, 0x53E1, {0xC9, 0x21, 0x90}); // the range at its default, for the Reset
    host.open(img);
    Enemy2Session s(host);
    EXPECT_EQ(s.check("ChkIiPakkun")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.check("ChkIiPakkun")->isEnabled());
    s.click("SpdIiPakkun"); // the Reset passes over it
    EXPECT_EQ(s.check("ChkIiPakkun")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(at(host, 0x1905, 5), (std::vector<std::uint8_t>{0x0D, 0x5F, 0x07, 0xF0, 0x2C}));
}

TEST(Enemy2Dialog, DisablePatchLocksTheRangeAndRemembersIt) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x53E1, {0xC9, 0x21, 0x90});
    host.open(img);
    { // tick: JMP written, the range shows 10 and is locked
        Enemy2Session s(host);
        QCheckBox* box = s.check("ChkDtPakkun");
        QLineEdit* range = s.edit("EditDsPakkun");
        EXPECT_EQ(box->checkState(), Qt::Unchecked);
        EXPECT_EQ(range->text(), "33");
        EXPECT_EQ(s.dialog()->rememberedRange(), 33);
        box->click();
        EXPECT_EQ(range->text(), "10");
        EXPECT_FALSE(range->isEnabled());
        EXPECT_FALSE(s.spin("UdDsPakkun")->isEnabled());
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0x4C, 0x0A, 0xD4}));
    host.open(img);
    { // tick and untick: 33 comes back and CMP #$21 / BCC is written again
        Enemy2Session s(host);
        s.check("ChkDtPakkun")->click();
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "33");
        EXPECT_TRUE(s.edit("EditDsPakkun")->isEnabled());
        EXPECT_TRUE(s.spin("UdDsPakkun")->isEnabled());
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0xC9, 0x21, 0x90}));
    { // a typed range is what ticking remembers; 300 comes back, OK stores the default
        Enemy2Session s(host);
        s.set("EditDsPakkun", "50");
        s.check("ChkDtPakkun")->click();
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "50");
        s.set("EditDsPakkun", "300");
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.dialog()->rememberedRange(), 300);
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "300");
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0xC9, 0x21, 0x90}));

    // Loaded ticked: locked at 10, and clearing brings back the default range.
    put(img, 0x53E1, {0x4C, 0x0A, 0xD4});
    host.open(img);
    {
        Enemy2Session s(host);
        EXPECT_EQ(s.check("ChkDtPakkun")->checkState(), Qt::Checked);
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "10");
        EXPECT_FALSE(s.edit("EditDsPakkun")->isEnabled());
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "33");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0xC9, 0x21, 0x90}));
}

TEST(Enemy2Dialog, UnknownDisablePatchKeepsItsOpcodesButTheRangeFollowsTheBox) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x53E1, {0x4C, 0x21, 0xD4}); // a JMP elsewhere
    host.open(img);
    {
        Enemy2Session s(host);
        EXPECT_EQ(s.check("ChkDtPakkun")->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(s.check("ChkDtPakkun")->isEnabled());
        EXPECT_TRUE(s.edit("EditDsPakkun")->isEnabled());
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "33");
        s.set("EditDsPakkun", "50");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0x4C, 0x32, 0xD4}));
    {
        Enemy2Session s(host);
        s.set("EditDsPakkun", "x"); // the default
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0x4C, 0x21, 0xD4}));
}

// Ticking over text that is no number reports it and stays ticked with the text; OK
// still writes the whole JMP, since the range is read before the patch.
TEST(Enemy2Dialog, TickingOverTextThatIsNoNumberReportsItAndOkStillWritesTheJump) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x53E1, {0xC9, 0x40, 0x90});
    host.open(img);
    {
        Enemy2Session s(host);
        s.set("EditDsPakkun", "abc");
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(platform.messages(), QStringList{"'abc' is not a valid integer value"});
        EXPECT_EQ(s.check("ChkDtPakkun")->checkState(), Qt::Checked);
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "abc");
        EXPECT_TRUE(s.edit("EditDsPakkun")->isEnabled());
        EXPECT_EQ(s.dialog()->rememberedRange(), 64);
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0x4C, 0x0A, 0xD4}));
    host.open(img);
    { // cleared again, the remembered range returns
        Enemy2Session s(host);
        s.set("EditDsPakkun", "");
        s.check("ChkDtPakkun")->click();
        s.check("ChkDtPakkun")->click();
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "64");
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0xC9, 0x40, 0x90}));
}

TEST(Enemy2Dialog, PiranhaResetClearsBothPatchesAndShows33) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    put(img, 0x1905, {0xEA, 0xEA, 0xEA, 0xEA, 0xEA});
    put(img, 0x53E1, {0x4C, 0x0A, 0xD4});
    host.open(img);
    host.resets = true;
    {
        Enemy2Session s(host);
        platform.answer(Answer::No);
        s.click("SpdIiPakkun");
        EXPECT_EQ(s.check("ChkDtPakkun")->checkState(), Qt::Checked);
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "10");
        platform.answer(Answer::Yes);
        s.click("SpdIiPakkun");
        EXPECT_EQ(platform.messages(), (QStringList{"Reset the selection to its default value?",
                                                    "Reset the selection to its default value?"}));
        EXPECT_EQ(s.check("ChkIiPakkun")->checkState(), Qt::Unchecked);
        EXPECT_EQ(s.check("ChkDtPakkun")->checkState(), Qt::Unchecked);
        EXPECT_EQ(s.edit("EditDsPakkun")->text(), "33");
        EXPECT_TRUE(s.edit("EditDsPakkun")->isEnabled());
        EXPECT_TRUE(s.spin("UdDsPakkun")->isEnabled());
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x1905, 5), (std::vector<std::uint8_t>{0x0D, 0x5F, 0x07, 0xF0, 0x2B}));
    EXPECT_EQ(at(host, 0x53E1, 3), (std::vector<std::uint8_t>{0xC9, 0x21, 0x90}));
    EXPECT_TRUE(platform.scriptUsedUp());
}

TEST(Enemy2Dialog, FirebarsPodobooAndListsWithATrainer) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    put(img, 0x4CE9 + 512, {0, 4, 9, 13, 16, 19, 22, 23, 24}); // 4 bars
    img[0x49D8 + 512] = 0x80;
    img[0x4464 + 512] = 0x20; // no rotation byte
    img[0x4465 + 512] = 0x10;
    img[0x5713 + 512] = 0x2B;
    img[0x570F + 512] = 0x35;
    img[0x58E0 + 512] = 0x34;
    img[0x4D9D + 512] = 0x03;
    img[0x4CE9] = 0x77; // where the row would be without the trainer
    host.open(img);
    {
        Enemy2Session s(host);
        EXPECT_EQ(s.combo("CmbFiBerPos4")->currentText(), "4  [Default]");
        EXPECT_EQ(s.combo("CmbFiBerPos4")->count(), 23);
        EXPECT_EQ(s.combo("CmbFiBerPos2")->currentText(), "1"); // nine zero bytes
        EXPECT_EQ(s.combo("CmbFiBerPos3")->currentText(), "1");
        EXPECT_EQ(s.edit("EditBubbleJump")->text(), "128");
        EXPECT_EQ(s.check("ChkFiBarTurn1")->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(s.check("ChkFiBarTurn1")->isEnabled());
        EXPECT_EQ(s.check("ChkFiBarTurn2")->checkState(), Qt::Checked);
        EXPECT_EQ(s.check("ChkFiBarTurn3")->checkState(), Qt::Checked); // 0x00 ticks it
        EXPECT_EQ(s.combo("CmbFireThrough2")->currentText(), "2A Lift (Ride Horz.)  [Default]");
        EXPECT_EQ(s.combo("CmbFireThrough1")->currentText(), "(Out of bounds)");
        EXPECT_FALSE(s.combo("CmbFireThrough1")->isEnabled());
        EXPECT_EQ(s.combo("CmbFumiNotKeri")->currentText(), "34");
        EXPECT_EQ(s.combo("CmbFiBarLen")->currentText(), "4");
        EXPECT_EQ(s.combo("CmbVwPakkun")->currentText(), "(Out of bounds)"); // byte 0
        EXPECT_EQ(s.find<QLabel>("LabFiBerPos")->text(),
                  "All firebars share the same pivot position, which does not change.");

        s.click("SpdFiBarTurn"); // clears the enabled three: 0x00, 0x10, 0x10
        EXPECT_EQ(s.check("ChkFiBarTurn1")->checkState(), Qt::PartiallyChecked);
        s.combo("CmbFiBerPos4")->setCurrentIndex(22);
        s.set("EditBubbleJump", "-127");
        s.combo("CmbFireThrough2")->setCurrentIndex(0x34);
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(at(host, 0x4CE9 + 512, 9),
              (std::vector<std::uint8_t>{0, 17, 34, 49, 62, 73, 81, 86, 88}));
    EXPECT_EQ(host.at(0x49D8 + 512), 0x7F);
    EXPECT_EQ(host.at(0x4464 + 512), 0x20);
    EXPECT_EQ(at(host, 0x4465 + 512, 3), (std::vector<std::uint8_t>{0x00, 0x10, 0x10}));
    EXPECT_EQ(host.at(0x5713 + 512), 0x35);
    EXPECT_EQ(host.at(0x570F + 512), 0x35);
    EXPECT_EQ(host.at(0x4CE9), 0x77);
    EXPECT_EQ(host.at(0x49D8), 0x00);

    { // invalid numbers become the defaults; the pivot Reset restores every row
        Enemy2Session s(host);
        s.set("EditBubbleJump", "300");
        s.set("EditFiBarSpeed2", "-1");
        s.set("EditTmPakkun", "");
        s.click("SpdFiBerPos");
        EXPECT_EQ(s.combo("CmbFiBerPos4")->currentText(), "4  [Default]");
        EXPECT_EQ(s.combo("CmbFiBerPos12")->currentText(), "12  [Default]");
        s.click("SpdFumiDamage");
        EXPECT_EQ(s.combo("CmbFumiDamage1")->currentText(), "0D Piranha Plant  [Default]");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x49D8 + 512), 0xF9);
    EXPECT_EQ(host.at(0x4460 + 512), 0x38);
    EXPECT_EQ(host.at(0x5416 + 512), 0x40);
    EXPECT_EQ(at(host, 0x4CE9 + 512, 9),
              (std::vector<std::uint8_t>{0, 4, 9, 13, 16, 19, 22, 23, 24}));
    EXPECT_EQ(at(host, 0x4CD7 + 512, 9), (std::vector<std::uint8_t>{0, 1, 3, 4, 5, 6, 7, 7, 8}));
    EXPECT_EQ(at(host, 0x4D31 + 512, 9),
              (std::vector<std::uint8_t>{0, 17, 34, 49, 62, 73, 81, 86, 88}));
    EXPECT_EQ(host.at(0x58BC + 512), 0x0D);
    EXPECT_EQ(host.at(0x58B8 + 512), 0x12);
    EXPECT_EQ(host.at(0x58C4 + 512), 0x33);
}

TEST(Enemy2Dialog, ReopensOnTheLastPage) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    {
        Enemy2Session s(host);
        EXPECT_EQ(s.find<QTabWidget>("Page1")->count(), 6);
        s.find<QTabWidget>("Page1")->setCurrentIndex(4);
        s.cancel();
    }
    Enemy2Session s(host);
    EXPECT_EQ(s.find<QTabWidget>("Page1")->currentIndex(), 4);
    EXPECT_EQ(s.find<QTabWidget>("Page1")->currentWidget()->objectName(), "TabChara1");
}

// Every byte value reads as something the dialog writes back the same, or is kept
// out of bounds; so OK without changes rewrites no byte at all, with or without a
// trainer. The patterns are planted too, so that ticked and cleared states are met.
TEST(Enemy2Dialog, OkWithoutChangesKeepsRandomImagesWhole) {
    ScriptedPlatform platform;
    const qv::test::PlantedRun known[] = {
        {0x1905, {{0x0D, 0x5F, 0x07, 0xF0, 0x2B}, {0xEA, 0xEA, 0xEA, 0xEA, 0xEA}}},
        {0x53E1, {{0x4C, 0x0A, 0xD4}, {0xC9, 0x21, 0x90}, {0xC9, 0xFE, 0x90}, {0x4C, 0x21, 0xD4}}},
        {0x4464, {{0x00}, {0x10}}},
        {0x4465, {{0x10}}},
        {0x4466, {{0x00}, {0x10}}},
        {0x4467, {{0x00}}},
        {0x1963, {{0x01}, {0x06}}},
        {0x4D9D, {{0x05}}},
        {0x4DA5, {{0x0B}, {0x01}}},
        {0x4CD7, {{0, 1, 3, 4, 5, 6, 7, 7, 8}, {0, 0, 0, 0, 0, 0, 0, 0, 0}}},
        {0x4D31, {{0, 17, 34, 49, 62, 73, 81, 86, 88}}},
        {0x5713, {{0x01}, {0x35}, {0x2B}}},
        {0x570F, {{0x00}, {0x34}}},
        {0x58C8, {{0x15}}},
        {0x60F5, {{0x03}, {0x2D}}},
    };
    qv::test::expectOkKeepsRandomImages<Enemy2Session>(known, 30);
}

} // namespace
