// The launcher and the shared dialog mechanics, exercised through the Mario dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "gui/dialogfixture.h"
#include "gui/dialogs/updown.h"

namespace {

using qv::Answer;
using qv::test::FakeHost;
using qv::test::MarioSession;
using qv::test::ScriptedPlatform;
using qv::test::Shown;

std::vector<std::uint8_t> exampleImage() {
    auto img = qv::test::blankImage();
    img[0x3454] = 0x18;
    img[0x3451] = 0xE8;
    img[0x107A] = 0x02;
    return img;
}

TEST(SettingsSession, CommitFollowsWhetherTheImageChanged) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    {
        MarioSession s(host);
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(host.doc.title(false), "test.nes - Quorvane");
    EXPECT_EQ(host.doc.undoCaption(), "Cannot &Undo");
    EXPECT_EQ(host.edited, 1); // refreshed even without a change
    {
        MarioSession s(host);
        s.set("EditMaWalk_R", "25");
        EXPECT_TRUE(s.ok());
    }
    EXPECT_EQ(host.doc.title(false), "test.nes * - Quorvane");
    EXPECT_EQ(host.doc.undoCaption(), "&Undo (Mario)");
    EXPECT_EQ(host.doc.snapshot()[0x3454], 0x18);
    EXPECT_EQ(host.at(0x3454), 0x19);
    {
        MarioSession s(host);
        EXPECT_FALSE(s.ok());
    }
    EXPECT_EQ(host.doc.undoState(), qv::UndoState::BackToSaved);
    EXPECT_EQ(host.doc.snapshot()[0x3454], 0x18);
}

TEST(SettingsSession, CancelWritesNothing) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    const qv::RomBuffer before = host.doc.image();
    MarioSession s(host);
    s.set("EditMaWalk_R", "1");
    s.set("EditMaZanki", "9");
    s.check("ChkMaSwimNo")->setChecked(true); // out of bounds on a blank image anyway
    EXPECT_FALSE(s.cancel());
    EXPECT_EQ(host.doc.image(), before);
    EXPECT_FALSE(host.doc.modified());
    EXPECT_EQ(host.edited, 0);
}

TEST(SettingsSession, RemembersTheTabPagePerDialogForTheRun) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    {
        MarioSession s(host);
        EXPECT_EQ(s.dialog()->pages()->currentIndex(), 0);
        s.dialog()->pages()->setCurrentIndex(1);
        s.cancel();
    }
    EXPECT_EQ(host.memory.tabPage.at("TFormMario"), 1);
    {
        MarioSession s(host);
        EXPECT_EQ(s.dialog()->pages()->currentIndex(), 1);
        s.dialog()->pages()->setCurrentIndex(6);
        s.ok();
    }
    MarioSession s(host);
    EXPECT_EQ(s.dialog()->pages()->currentIndex(), 6);
    FakeHost fresh; // a new run starts on the first page
    fresh.open(exampleImage());
    MarioSession other(fresh);
    EXPECT_EQ(other.dialog()->pages()->currentIndex(), 0);
}

TEST(SettingsSession, PlacementCentredThenRememberedAndKeptOnScreen) {
    ScriptedPlatform platform;
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget mainWindow;
    mainWindow.setGeometry(work.left() + 10, work.top() + 10, 200, 100);
    FakeHost host;
    host.window = &mainWindow;
    host.open(exampleImage());
    QSize size;
    {
        MarioSession s(host);
        size = s.dialog()->frameGeometry().size();
        const QPoint centre =
            mainWindow.frameGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
        // Centred over the main window, then pushed inside the work area.
        EXPECT_EQ(s.dialog()->pos().x(), std::max(centre.x(), work.left()));
        EXPECT_EQ(s.dialog()->pos().y(), std::max(centre.y(), work.top()));
        s.dialog()->move(work.left() + 3, work.top() + 4);
        s.cancel();
    }
    EXPECT_TRUE(host.memory.closedOnce);
    {
        MarioSession s(host);
        EXPECT_EQ(s.dialog()->pos(), QPoint(work.left() + 3, work.top() + 4));
        s.cancel();
    }
    host.memory.position = work.bottomRight() + QPoint(500, 500);
    MarioSession s(host);
    EXPECT_EQ(s.dialog()->pos(), QPoint(std::max(work.right() + 1 - size.width(), work.left()),
                                        std::max(work.bottom() + 1 - size.height(), work.top())));
}

TEST(SettingsSession, ResetAsksOnlyWhileTheSettingIsOn) {
    ScriptedPlatform platform;
    FakeHost host;
    host.resets = true;
    host.open(exampleImage());
    MarioSession s(host);
    s.set("EditMaWalk_R", "5");
    s.set("EditMaWalk_L", "6");
    platform.answer(Answer::No);
    s.click("SpdMaWalk");
    EXPECT_EQ(s.edit("EditMaWalk_R")->text(), "5");
    EXPECT_EQ(s.edit("EditMaWalk_L")->text(), "6");
    platform.answer(Answer::Yes);
    s.click("SpdMaWalk");
    EXPECT_EQ(s.edit("EditMaWalk_R")->text(), "24");
    EXPECT_EQ(s.edit("EditMaWalk_L")->text(), "24");
    EXPECT_EQ(platform.messages(), (QStringList{"Reset the selection to its default value?",
                                                "Reset the selection to its default value?"}));
    host.resets = false;
    s.set("EditFireThrow", "9");
    s.click("SpdFireThrow");
    EXPECT_EQ(s.edit("EditFireThrow")->text(), "-4");
    EXPECT_EQ(platform.messages().size(), 2);
    s.set("EditJumpFall3", "1");
    s.click("SpdJump");
    EXPECT_EQ(s.edit("EditJumpFall3")->text(), "96");
    EXPECT_EQ(s.edit("EditJumpRise4")->text(), "215");
    s.cancel();
}

TEST(SettingsSession, HelpButtonAndContextHelp) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    MarioSession s(host);
    s.click("BtnHelp");
    const auto whatsThis = [&](QWidget* w) {
        QHelpEvent e(QEvent::WhatsThis, QPoint(1, 1), w->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(w, &e);
    };
    whatsThis(s.edit("EditMaWalk_R"));
    whatsThis(s.check("ChkMuteki2"));
    whatsThis(s.find<QWidget>("BtnOk"));
    whatsThis(s.dialog()->pages());
    QStringList contexts;
    for (const Shown& x : platform.shown())
        if (x.kind == Shown::Help) contexts << x.text;
    EXPECT_EQ(contexts, (QStringList{"100", "13396", "22844", "501", "100"}));
    s.cancel();
}

TEST(SettingsSession, UpDownWrapsAndFocusesItsEdit) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    MarioSession s(host);
    s.dialog()->show();
    auto* ud = s.find<qv::UpDown>("UdMaWalk_R");
    QLineEdit* edit = s.edit("EditMaWalk_R");
    s.set("EditMaWalk_R", "127");
    s.edit("EditMaRun_R")->setFocus();
    ASSERT_EQ(s.dialog()->focusWidget(), s.edit("EditMaRun_R"));
    QTest::mouseClick(ud, Qt::LeftButton, {}, QPoint(ud->width() / 2, 2));
    EXPECT_EQ(edit->text(), "-128");
    EXPECT_EQ(s.dialog()->focusWidget(), edit);
    QTest::mouseClick(ud, Qt::LeftButton, {}, QPoint(ud->width() / 2, ud->height() - 2));
    EXPECT_EQ(edit->text(), "127");
    s.set("EditMaWalk_R", "xyz"); // steps from the last position
    ud->stepBy(-1);
    EXPECT_EQ(edit->text(), "126");
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "127");
    s.cancel();
}

TEST(SettingsSession, WidgetsCarryTheirNamesAndTexts) {
    ScriptedPlatform platform;
    FakeHost host;
    host.open(exampleImage());
    MarioSession s(host);
    EXPECT_EQ(s.dialog()->objectName(), "TFormMario");
    EXPECT_EQ(s.dialog()->windowTitle(), "Mario Settings");
    QTabWidget* pages = s.find<QTabWidget>("Page1");
    ASSERT_EQ(pages->count(), 8);
    EXPECT_EQ(pages->tabText(7), "Damage");
    EXPECT_EQ(s.find<QPushButton>("BtnOk")->text(), "OK");
    EXPECT_TRUE(s.find<QPushButton>("BtnOk")->isDefault());
    EXPECT_EQ(s.find<QPushButton>("BtnCancel")->text(), "Cancel");
    EXPECT_EQ(s.find<QPushButton>("BtnHelp")->text(), "&Help");
    EXPECT_EQ(s.find<QToolButton>("SpdMaWalk")->text(), "Reset");
    EXPECT_EQ(s.find<QToolButton>("SpdJumpLuigi")->text(), "Luigi");
    EXPECT_EQ(s.edit("EditMuStar")->maxLength(), 3);
    EXPECT_EQ(s.edit("EditMaWalk_R")->maxLength(), 4);
    QGroupBox* walk = s.find<QGroupBox>("GrpMaWalk");
    ASSERT_TRUE(walk);
    EXPECT_EQ(walk->title(), "Walking / Swimming Speed");
    QStringList labels;
    for (QLabel* l : walk->findChildren<QLabel*>()) {
        labels << l->text();
        if (l->text() == "&Left:") {
            EXPECT_EQ(l->buddy(), s.edit("EditMaWalk_L"));
        }
    }
    EXPECT_TRUE(labels.contains("[-127～128 Default: 24]"));
    QStringList jump;
    for (QLabel* l : s.find<QGroupBox>("GrpJump")->findChildren<QLabel*>()) {
        jump << l->text();
        if (l->text() == "S&low Run:") {
            EXPECT_EQ(l->buddy(), s.edit("EditJumpBase3"));
        }
    }
    EXPECT_TRUE(jump.contains("Rise Rate"));
    EXPECT_TRUE(jump.contains("[Defaults: 4, 255, 225, 96]"));
    s.cancel();
}

} // namespace
