#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "gui/main/addressbar.h"
#include "gui/support/fixtures.h"

using qv::Answer;
using qv::test::WindowFixture;
using qv::test::writeImage;

namespace {

struct Bar {
    WindowFixture& f;
    QLineEdit* adr() const { return f.window->findChild<QLineEdit*>("EditAdr1"); }
    QLineEdit* val() const { return f.window->findChild<QLineEdit*>("EditAdr2"); }
    QToolButton* write() const { return f.window->findChild<QToolButton*>("SpBtnAdr2"); }
    qv::AddressBar* bar() const { return f.window->findChild<qv::AddressBar*>("PnlAdr"); }
    QString undoText() const { return f.window->findChild<QAction*>("mmmUndo")->text(); }
};

} // namespace

TEST(AddressBar, ParsesAddressesAndShowsTheByte) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976, {{0x0001, 0x5A}, {0x00A0, 0xC3}}));
    Bar b{f};
    EXPECT_EQ(b.adr()->text(), "0000");
    EXPECT_EQ(b.val()->text(), "00");
    b.adr()->setText("1");
    EXPECT_EQ(b.val()->text(), "5A");
    // Lower-case hex typed into the box is shown in upper case.
    b.adr()->clear();
    QTest::keyClicks(b.adr(), "a0");
    EXPECT_EQ(b.adr()->text(), "A0");
    EXPECT_EQ(b.val()->text(), "C3");
    // Other keys are swallowed.
    QTest::keyClicks(b.adr(), "xyz");
    EXPECT_EQ(b.adr()->text(), "A0");

    // A010 is past a 40,976-byte file: the value side is emptied and disabled.
    b.adr()->setText("A010");
    EXPECT_EQ(b.val()->text(), "");
    EXPECT_FALSE(b.val()->isEnabled());
    EXPECT_FALSE(b.write()->isEnabled());
    b.adr()->setText("A00F");
    EXPECT_TRUE(b.val()->isEnabled());

    // With a trainer the same address is valid; the bar keeps the typed address on load.
    f.window->LoadNesFile(writeImage(f.path("t.nes"), 41488, {{0xA010, 0x99}}));
    b.adr()->setText("A010");
    EXPECT_EQ(b.val()->text(), "99");
    b.adr()->setText("A210");
    EXPECT_FALSE(b.val()->isEnabled());
    b.adr()->setText("0001");
    f.window->LoadNesFile(f.path("g.nes"));
    EXPECT_EQ(b.adr()->text(), "0001");
    EXPECT_EQ(b.val()->text(), "5A");

    // Close empties and disables the bar; the next load starts at 0000.
    f.window->mmmCloseClick();
    EXPECT_EQ(b.adr()->text(), "");
    EXPECT_FALSE(b.adr()->isEnabled());
    f.window->LoadNesFile(f.path("g.nes"));
    EXPECT_EQ(b.adr()->text(), "0000");
}

TEST(AddressBar, SpinsWrapWithinTheValidRange) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976));
    Bar b{f};
    b.adr()->setText("A00F");
    b.bar()->UdAdr1Click(true);
    EXPECT_EQ(b.adr()->text(), "0000");
    b.bar()->UdAdr1Click(false);
    EXPECT_EQ(b.adr()->text(), "A00F");
    // From an out-of-range address: up lands on 0001, down on the last address.
    b.adr()->setText("FFFF");
    b.bar()->UdAdr1Click(true);
    EXPECT_EQ(b.adr()->text(), "0001");
    b.adr()->setText("FFFF");
    b.bar()->UdAdr1Click(false);
    EXPECT_EQ(b.adr()->text(), "A00F");
    // The arrow keys step like the buttons.
    QTest::keyClick(b.adr(), Qt::Key_Down);
    EXPECT_EQ(b.adr()->text(), "A00E");

    f.window->LoadNesFile(writeImage(f.path("t.nes"), 41488));
    b.adr()->setText("A20F");
    b.bar()->UdAdr1Click(true);
    EXPECT_EQ(b.adr()->text(), "0000");
    b.bar()->UdAdr1Click(false);
    EXPECT_EQ(b.adr()->text(), "A20F");

    // Value spin: an empty box steps down to FF; FF steps up to 00.
    b.val()->clear();
    b.bar()->UdAdr2Click(false);
    EXPECT_EQ(b.val()->text(), "FF");
    EXPECT_TRUE(b.write()->isEnabled());
    b.bar()->UdAdr2Click(true);
    EXPECT_EQ(b.val()->text(), "00");
    EXPECT_FALSE(b.write()->isEnabled()); // 00 is what is stored
}

TEST(AddressBar, WriteAsksCommitsAndUndoes) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976, {{0x0123, 0x10}});
    f.window->LoadNesFile(game);
    Bar b{f};
    b.adr()->setText("123");
    EXPECT_EQ(b.val()->text(), "10");

    // The stored value leaves Write disabled, so Enter does nothing.
    b.val()->setText("10");
    EXPECT_FALSE(b.write()->isEnabled());
    QTest::keyClick(b.val(), Qt::Key_Return);
    EXPECT_TRUE(f.platform.messages().isEmpty());

    // Answered No: image, snapshot and caption unchanged.
    const qv::RomBuffer snapshot = f.window->document().snapshot();
    b.val()->setText("ff");
    EXPECT_TRUE(b.write()->isEnabled());
    f.platform.answer(Answer::No);
    QTest::keyClick(b.val(), Qt::Key_Return);
    EXPECT_EQ(f.platform.messages(), QStringList{"Set '0123' to 'FF'?"});
    EXPECT_EQ(f.window->document().image()[0x0123], 0x10);
    EXPECT_EQ(f.window->document().snapshot(), snapshot);
    EXPECT_EQ(b.undoText(), "Cannot &Undo");
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");

    f.platform.answer(Answer::Yes);
    b.bar()->SpBtnAdr2Click();
    EXPECT_EQ(f.window->document().image()[0x0123], 0xFF);
    EXPECT_EQ(b.undoText(), "&Undo Write Value");
    EXPECT_EQ(f.window->windowTitle(), "g.nes * - Quorvane");
    EXPECT_FALSE(b.write()->isEnabled());

    // Undo puts the byte back and the bar shows it.
    f.window->mmmUndoClick();
    EXPECT_EQ(f.window->document().image()[0x0123], 0x10);
    EXPECT_EQ(b.val()->text(), "10");
    EXPECT_EQ(b.undoText(), "Cannot &Undo");
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");
    EXPECT_FALSE(f.enabled("mmmUndo"));
}

// Raw positions: on a 41,488-byte image the bar shows and writes the byte at the typed
// position itself, never the one 512 bytes on.
TEST(AddressBar, OnATrainerImageTheWriteChangesExactlyTheByteShown) {
    WindowFixture f("[qorv]\r\nWriteCheck=1\r\n");
    f.window->LoadNesFile(
        writeImage(f.path("t.nes"), 41488, {{0x107A, 0x11}, {0x107A + 512, 0x22}, {0xA20F, 0x33}}));
    Bar b{f};
    const qv::RomBuffer before = f.window->document().image();
    b.adr()->setText("107A");
    EXPECT_EQ(b.val()->text(), "11");
    b.val()->setText("44");
    b.bar()->SpBtnAdr2Click();
    b.adr()->setText("A20F"); // the last byte of the file
    b.val()->setText("55");
    b.bar()->SpBtnAdr2Click();
    qv::RomBuffer expected = before;
    expected[0x107A] = 0x44;
    expected[0xA20F] = 0x55;
    EXPECT_EQ(f.window->document().image(), expected);
    EXPECT_EQ(b.val()->text(), "55");
}

TEST(UndoReload, UndoFollowsTheSavedStateAndAsksWhenSetTo) {
    WindowFixture f("[qorv]\r\nUndoCheck=2\r\nSave=1\r\n");
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    f.edit(0x10, 0x01);
    f.platform.answer(Answer::No);
    f.window->mmmUndoClick();
    EXPECT_EQ(f.platform.messages(), QStringList{"Undo changes?"});
    EXPECT_EQ(f.window->document().image()[0x10], 0x01);

    // Edit, save, undo: modified again.
    f.window->mmmSaveClick();
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");
    f.platform.answer(Answer::Yes);
    f.window->mmmUndoClick();
    EXPECT_EQ(f.window->windowTitle(), "g.nes * - Quorvane");
    EXPECT_EQ(f.window->document().image()[0x10], 0x00);
}

TEST(UndoReload, ReloadAsksAndCopesWithAMissingFile) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    f.edit(0x10, 0x01);

    f.platform.answer(Answer::No);
    f.window->mmmReloadClick();
    EXPECT_EQ(f.platform.messages(),
              QStringList{"The file has been modified.\r\nDiscard changes and reload?"});
    EXPECT_EQ(f.window->document().image()[0x10], 0x01);
    EXPECT_TRUE(f.enabled("mmmUndo"));

    f.platform.answer(Answer::Yes);
    f.window->mmmReloadClick();
    EXPECT_EQ(f.window->document().image()[0x10], 0x00);
    EXPECT_FALSE(f.enabled("mmmUndo"));
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");

    // No edits and the Reload setting off: no question.
    f.platform.clear();
    f.window->mmmReloadClick();
    EXPECT_TRUE(f.platform.messages().isEmpty());

    f.edit(0x10, 0x02);
    QFile::remove(game);
    f.window->mmmReloadClick();
    EXPECT_EQ(f.platform.messages(), QStringList{"Original file cannot be found."});
    EXPECT_EQ(f.window->statusPanel(2), "Edited");
    EXPECT_EQ(f.window->document().image()[0x10], 0x02);
    // Save then asks for a name.
    f.platform.choosePath(f.path("new.nes"));
    f.window->mmmSaveClick();
    EXPECT_EQ(qv::test::readFile(f.path("new.nes"))[0x10], 0x02);
}

// Beside the Value box the bar names what the typed address edits, so that a one-byte
// write is not blind; the name never widens the window.
TEST(AddressBar, NamesTheParametersAtTheTypedAddress) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976));
    Bar b{f};
    const int width = f.window->width();
    b.adr()->setText("107A");
    EXPECT_EQ(b.bar()->parameterNames(), "Mario > Initial #Lives");
    b.adr()->setText("3454");
    EXPECT_EQ(b.bar()->parameterNames(), "Mario > Walking / Swimming Speed > Right");
    b.adr()->setText("4FED"); // the axe's row and column share a byte
    EXPECT_EQ(b.bar()->parameterNames(),
              "General 2 > Objects Repositioned When Axe Collected > Vertical; General 2 > "
              "Objects Repositioned When Axe Collected > Horizontal");
    EXPECT_EQ(f.window->width(), width);
    b.adr()->setText("0004");
    EXPECT_EQ(b.bar()->parameterNames(), "no parameter");
    b.adr()->setText("A010"); // past the file
    EXPECT_EQ(b.bar()->parameterNames(), "");

    // With a trainer the raw positions move: lives sit 512 bytes on, the trainer is none.
    f.window->LoadNesFile(writeImage(f.path("t.nes"), 41488));
    b.adr()->setText("127A");
    EXPECT_EQ(b.bar()->parameterNames(), "Mario > Initial #Lives");
    b.adr()->setText("0100");
    EXPECT_EQ(b.bar()->parameterNames(), "no parameter");
    f.window->mmmCloseClick();
    EXPECT_EQ(b.bar()->parameterNames(), "");
}
