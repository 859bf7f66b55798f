// The Color dialog on images built in memory: the panel shows and composes attribute
// bytes, Do Not Modify keeps what it cannot show, Reset and Fixed Palette, the
// remembered characters, a trainer, and random images left alone by OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <random>

#include "core/tables/color.h"
#include "gui/dialogfixture.h"
#include "gui/dialogs/color.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::ScriptedPlatform;

class ColorSession : public qv::test::DialogSessionDriver<qv::TFormColor> {
  public:
    explicit ColorSession(FakeHost& host)
        : DialogSessionDriver(host, qv::tables::color(), &qv::makeColorDialog) {}
    void showTab(const char* name) const {
        dialog()->pages()->setCurrentWidget(find<QWidget>(name));
    }
    QRadioButton* radio(const char* name) const { return find<QRadioButton>(name); }
    QString title() const { return find<QGroupBox>("GrpColor")->title(); }
};

TEST(ColorDialog, ShowsTheAttributeBitsOfTheSelectedCharacter) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x64EA] = 0xC3;
    img[0x6871] = 0x24;
    img[0x686B] = 0x21;
    host.open(img);
    ColorSession s(host);

    // The first Enemies character is down: Koopa Troopa, green group, behind the background.
    // Its caption names its colour, which the text colour alone would not tell everyone.
    EXPECT_EQ(s.title(), "Koopa Troopa (green)");
    EXPECT_TRUE(s.on("Rad1"));
    EXPECT_TRUE(s.on("Chk1"));
    EXPECT_FALSE(s.on("Chk2"));
    EXPECT_EQ(s.label("LabColor"),
              "This color is also applied to green Paratroopas, Koopas, and Cheep-Cheeps.");
    EXPECT_TRUE(s.enabled("LabColor"));

    s.click("Spd64EA");
    EXPECT_EQ(s.title(), "Hammer 3");
    EXPECT_TRUE(s.on("Rad3"));
    EXPECT_TRUE(s.on("Chk2"));
    EXPECT_TRUE(s.on("Chk3"));
    EXPECT_FALSE(s.on("Chk1"));
    EXPECT_FALSE(s.enabled("Rad5"));
    EXPECT_EQ(s.label("LabColor"), "Item has no description.");
    EXPECT_FALSE(s.enabled("LabColor"));

    // Bits 2-4 set: Do Not Modify, everything else disabled.
    s.click("Spd6871");
    EXPECT_EQ(s.title(), "Goomba");
    EXPECT_TRUE(s.on("Rad5"));
    EXPECT_TRUE(s.enabled("Rad5"));
    for (const char* name : {"Rad1", "Rad2", "Rad3", "Rad4", "Chk1", "Chk2", "Chk3"}) {
        EXPECT_FALSE(s.enabled(name)) << name;
        EXPECT_FALSE(s.on(name)) << name;
    }
    s.click("Spd686D"); // a zero byte: Mario group, the panel editable again
    EXPECT_TRUE(s.on("Rad4"));
    EXPECT_TRUE(s.enabled("Rad1"));
    EXPECT_FALSE(s.ok()); // nothing edited: 0x24 written back as it was
    EXPECT_EQ(host.at(0x6871), 0x24);
    EXPECT_EQ(host.at(0x64EA), 0xC3);
}

// Buttons that differ in their text colour say the colour in words; a keyboard user
// reaches the characters with Tab and chooses one with the arrow keys or Space.
TEST(ColorDialog, CharactersAreNamedAndChosenFromTheKeyboard) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(qv::test::blankImage());
    ColorSession s(host);
    EXPECT_EQ(s.find<QToolButton>("Spd686B")->text(), "Koopa Troopa (green)");
    EXPECT_EQ(s.find<QToolButton>("Spd686C")->text(), "Koopa Troopa (red)");
    EXPECT_EQ(s.find<QToolButton>("Spd6875")->text(), "Cheep-Cheep (Multi) (green)");
    EXPECT_EQ(s.find<QToolButton>("Spd6876")->text(), "Cheep-Cheep (Multi) (red)");
    EXPECT_EQ(s.find<QToolButton>("Spd686F")->text(), "Koopa Troopa (Stopped)"); // one of its kind
    EXPECT_EQ(s.find<QToolButton>("Spd6878")->text(), "Piranha Plant");

    s.dialog()->show();
    s.dialog()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.dialog()));
    QToolButton* first = s.find<QToolButton>("Spd686B");
    EXPECT_TRUE(first->focusPolicy() & Qt::TabFocus);
    first->setFocus();
    // Down: the next button of the column is chosen and shown in the panel.
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_TRUE(s.find<QToolButton>("Spd686F")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), s.find<QToolButton>("Spd686F"));
    EXPECT_EQ(s.title(), "Koopa Troopa (Stopped)");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(s.title(), "Koopa Troopa (red)");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(s.title(), "Koopa Troopa (Stopped)");
    // Space on a button that has the focus chooses it.
    QToolButton* goomba = s.find<QToolButton>("Spd6871");
    goomba->setFocus();
    QTest::keyClick(goomba, Qt::Key_Space);
    EXPECT_TRUE(goomba->isChecked());
    EXPECT_EQ(s.title(), "Goomba");
    // The panel's Reset is in the Tab order too.
    EXPECT_TRUE(s.find<QToolButton>("SpdColor")->focusPolicy() & Qt::TabFocus);
    s.dialog()->hide();
}

TEST(ColorDialog, PanelClicksComposeTheByte) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x6871] = 0x03;
    img[0x6872] = 0x03;
    img[0x66DE] = 0x02;
    host.open(img);
    {
        ColorSession s(host);
        s.click("Spd6871");
        s.click("Rad2");
        s.click("Chk1");
        s.click("Spd6872"); // another character: Goomba keeps its new value
        s.click("Rad3");
        s.click("Chk1");
        s.click("Chk2");
        s.click("Chk3");
        s.click("Rad4");
        s.click("Rad3");
        s.showTab("TabZenpan"); // Magic Mushroom: mirrored, Mario group
        EXPECT_EQ(s.title(), "Magic Mushroom");
        s.click("Chk3");
        s.click("Rad4");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x6871), 0x22);
    EXPECT_EQ(host.at(0x6872), 0xE3);
    EXPECT_EQ(host.at(0x66DE), 0x40);
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Color)");
}

TEST(ColorDialog, FixedPaletteOnUnknown) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x687E] = 0xFF;
    host.open(img);
    {
        ColorSession s(host);
        s.showTab("TabAdvance");
        EXPECT_EQ(s.title(), "Bill Blaster");
        EXPECT_TRUE(s.on("Chk687E"));
        EXPECT_FALSE(s.enabled("Chk687E")); // only while Unknown is selected
        s.click("Spd687E");
        EXPECT_TRUE(s.enabled("Chk687E"));
        EXPECT_TRUE(s.on("Rad5"));
        EXPECT_EQ(s.label("LabColor"),
                  "A strange glitchy enemy.\nThe default value is supposed to be 0xFF.");

        s.click("Chk687E"); // cleared: 0x01, editable
        EXPECT_TRUE(s.on("Rad1"));
        EXPECT_TRUE(s.enabled("Rad1"));
        EXPECT_FALSE(s.enabled("Rad5"));
        s.click("Chk687E"); // ticked again: 0xFF
        EXPECT_TRUE(s.on("Rad5"));
        EXPECT_FALSE(s.enabled("Chk1"));
        s.click("Chk687E");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x687E), 0x01);
}

TEST(ColorDialog, ResetRestoresTheSelectedCharacterOnly) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    auto img = qv::test::blankImage();
    img[0x6D62] = 0x1F; // Fireworks (LL) in the Do Not Modify state
    img[0x6D5D] = 0x41;
    img[0x687E] = 0x03;
    host.open(img);
    {
        ColorSession s(host);
        s.showTab("TabZenpan");
        s.click("Spd6D62");
        platform.answer(Answer::No);
        s.click("SpdColor");
        EXPECT_TRUE(s.on("Rad5"));
        platform.answer(Answer::Yes);
        s.click("SpdColor");
        EXPECT_EQ(platform.messages().back(), "Reset the selected character to its default value?");
        EXPECT_TRUE(s.on("Rad2"));
        EXPECT_TRUE(s.on("Chk2"));
        EXPECT_FALSE(s.on("Chk1"));
        EXPECT_FALSE(s.on("Chk3"));

        s.showTab("TabAdvance");
        s.click("Spd687E");
        EXPECT_FALSE(s.on("Chk687E"));
        host.resets = false; // the setting off: no question
        s.click("SpdColor");
        EXPECT_TRUE(s.on("Chk687E"));
        EXPECT_TRUE(s.on("Rad5"));
        EXPECT_TRUE(platform.scriptUsedUp());
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(platform.messages().size(), 2);
    EXPECT_EQ(host.at(0x6D62), 0x82);
    EXPECT_EQ(host.at(0x6D5D), 0x41); // Fireworks (UL) shares the note, not the byte
    EXPECT_EQ(host.at(0x687E), 0xFF);
}

TEST(ColorDialog, CancelKeepsTheImageAndEachPageRemembersItsCharacter) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    img[0x6873] = 0x03;
    host.open(img);
    {
        ColorSession s(host);
        EXPECT_EQ(s.dialog()->selectedOffset(0), 0x686B);
        EXPECT_EQ(s.dialog()->selectedOffset(1), 0x66DE);
        EXPECT_EQ(s.dialog()->selectedOffset(2), 0x68D5);
        s.click("Spd6873");
        s.click("Rad1");
        s.showTab("TabZenpan");
        s.click("Spd6E12");
        s.click("Chk2");
        s.showTab("TabAdvance");
        s.click("Spd6C29");
        EXPECT_FALSE(s.cancel());
    }
    EXPECT_EQ(host.at(0x6873), 0x03);
    EXPECT_EQ(host.at(0x6E12), 0x00);
    EXPECT_FALSE(host.doc.modified());

    ColorSession again(host);
    EXPECT_EQ(again.dialog()->pages()->currentWidget()->objectName(), "TabAdvance");
    EXPECT_EQ(again.title(), "Empty Block");
    EXPECT_TRUE(again.on("Spd6C29"));
    EXPECT_FALSE(again.on("Spd68D5"));
    EXPECT_TRUE(again.on("Spd6E12"));
    EXPECT_TRUE(again.on("Spd6873"));
    again.showTab("TabEnemy");
    EXPECT_EQ(again.title(), "Bullet Bill (Multi)");
    EXPECT_TRUE(again.on("Rad3")); // the ROM's 0x03, not the cancelled edit
    EXPECT_EQ(again.label("LabColor"), "Setting \"Behind BG\" also applies to the Bill Launcher.\n"
                                       "Bill Launcher's color does not change.");
}

TEST(ColorDialog, TrainerMovesEveryCharacter512On) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage(41488);
    img[0x64EA + 512] = 0xC3;
    img[0x64EA] = 0x24; // inside the trainer: not the character's byte
    img[0x523C + 512] = 0x02;
    host.open(img);
    {
        ColorSession s(host);
        s.click("Spd64EA");
        EXPECT_TRUE(s.on("Rad3"));
        EXPECT_TRUE(s.on("Chk3"));
        s.click("Rad1");
        s.click("Spd523C");
        EXPECT_TRUE(s.on("Rad2"));
        s.click("Chk1");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.at(0x64EA + 512), 0xC1);
    EXPECT_EQ(host.at(0x523C + 512), 0x22);
    EXPECT_EQ(host.at(0x64EA), 0x24);
    EXPECT_EQ(host.at(0x523C), 0x00);
}

// Every byte is either shown and recomposed to itself or kept as Do Not Modify, so OK
// without edits rewrites no byte at all, on any page the dialog opens on.
TEST(ColorDialog, OkWithoutChangesKeepsRandomImages) {
    ScriptedPlatform platform;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int shift = seed % 2 ? 0 : 512;
        auto img = qv::test::randomImage(rng, shift);
        FakeHost host;
        host.memory.tabPage["TFormColor"] = static_cast<int>(seed % 3);
        host.open(img);
        ColorSession s(host);
        // Walk through a few characters and pages: showing one never edits it.
        s.click("Spd64EB");
        s.showTab("TabAdvance");
        s.click("Spd687E");
        s.showTab("TabZenpan");
        s.click("Spd6ADF");
        EXPECT_FALSE(s.ok());
        EXPECT_TRUE(std::equal(img.begin(), img.end(), host.doc.image().begin()));
        EXPECT_FALSE(host.doc.modified());
    }
}

} // namespace

// A character whose byte differs from the game's own has its caption in bold and its
// page a dot on its tab; setting it back takes both away.
TEST(ColorDialog, ChangedCharactersAreMarked) {
    ScriptedPlatform platform;
    FakeHost host;
    auto img = qv::test::blankImage();
    for (const qv::tables::ColorCharacter& c : qv::tables::colorCharacters())
        img[static_cast<std::size_t>(c.offset)] = c.defaultByte;
    img[0x686B] = 0x21; // green Koopa behind the background
    host.open(img);
    ColorSession s(host);
    EXPECT_TRUE(s.find<QToolButton>("Spd686B")->font().bold());
    EXPECT_FALSE(s.find<QToolButton>("Spd686C")->font().bold());
    EXPECT_TRUE(s.dialog()->pageMarked(0));
    EXPECT_FALSE(s.dialog()->pageMarked(1));
    s.click("Chk1"); // the selected Koopa back in front
    EXPECT_FALSE(s.find<QToolButton>("Spd686B")->font().bold());
    EXPECT_FALSE(s.dialog()->pageMarked(0));
}
