// The main window as a user meets it on a desktop: the menu bar whatever is hidden, one
// width with or without a file, the saved place restored exactly (and brought back onto
// a screen), and the menus' shortcuts working from the address bar's boxes.
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/document.h"
#include "core/settings.h"
#include "gui/about/aboutdialog.h"
#include "gui/ips/ipsmakedialog.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/main/placement.h"
#include "gui/settings/optionsdialog.h"
#include "gui/support/fixtures.h"
#include "gui/support/printqstring.h"

using qv::test::readText;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;

namespace {

QLineEdit* edit(WindowFixture& f, const char* name) {
    return f.window->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void showActive(WindowFixture& f) {
    f.window->FormShow();
    f.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
}

TEST(MainWindowDesktop, HidingEveryBarKeepsTheMenuBarAndTheWindow) {
    WindowFixture f("[qorv]\r\nToolBar=1\r\nAddress=1\r\nButton=1\r\nStatusBar=1\r\n");
    f.window->FormShow();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.window->menuBar()->isVisible());
    EXPECT_GE(f.window->height(), f.window->menuBar()->sizeHint().height());
    EXPECT_GE(f.window->width(), 200);

    // Shown again one by one, then hidden in the session: the menu bar stays.
    f.window->mmmToolBarClick();
    f.window->mmmStBarClick();
    const int height = f.window->height();
    f.window->mmmToolBarClick();
    f.window->mmmStBarClick();
    EXPECT_TRUE(f.window->menuBar()->isVisible());
    EXPECT_LT(f.window->height(), height);
    EXPECT_GE(f.window->height(), f.window->menuBar()->sizeHint().height());
    EXPECT_TRUE(readText(f.iniPath()).contains("StatusBar=1\r\n"));
}

TEST(MainWindowDesktop, OneWidthWithAndWithoutAFileAndNoGapRightOfTheButtons) {
    WindowFixture f;
    f.window->FormShow();
    const int empty = f.window->width();
    f.window->LoadNesFile(writeImage(f.path("game.nes"), 41488));
    f.window->UpdateFileStamp();
    QApplication::processEvents();
    EXPECT_EQ(f.window->width(), empty);
    f.window->mmmCloseClick();
    QApplication::processEvents();
    EXPECT_EQ(f.window->width(), empty);
    // The rightmost button (x 224, 97 wide) leaves about as much room as the leftmost's 12.
    auto* panel = f.window->findChild<QWidget*>("PnlButton");
    auto* pallet = f.window->findChild<QPushButton*>("BtnPallet");
    EXPECT_LE(panel->width() - (pallet->x() + pallet->width()), 16);
}

TEST(MainWindowDesktop, TheSavedPlaceIsWhereTheWindowOpensAndIsSavedAgain) {
    WindowFixture f("[qorv]\r\nFormPos=2\r\nFormTop=120\r\nFormLeft=210\r\n");
    f.window->FormShow();
    EXPECT_EQ(f.window->frameGeometry().topLeft(), QPoint(210, 120));
    f.window->close();
    const QByteArray ini = readText(f.iniPath());
    EXPECT_TRUE(ini.contains("FormTop=120\r\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("FormLeft=210\r\n")) << ini.toStdString();
}

TEST(MainWindowDesktop, ASavedPlaceOffTheScreenIsBroughtBack) {
    WindowFixture f("[qorv]\r\nFormPos=2\r\nFormTop=-900\r\nFormLeft=-3000\r\n");
    f.window->FormShow();
    const QRect area = qv::workArea(f.window.get());
    EXPECT_EQ(f.window->frameGeometry().topLeft(), area.topLeft());
}

TEST(MainWindowDesktop, MenuShortcutsWorkInTheAddressBarAndTheValueShowsTheImage) {
    WindowFixture f("[qorv]\r\nWriteCheck=1\r\nSave=1\r\n");
    const QString game = writeImage(f.path("game.nes"), 40976, {{0x0010, 0x12}});
    f.window->LoadNesFile(game);
    showActive(f);
    QLineEdit* address = edit(f, "EditAdr1");
    QLineEdit* value = edit(f, "EditAdr2");
    address->setText(QStringLiteral("0010"));
    EXPECT_EQ(value->text(), "12");
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, QStringLiteral("34"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(f.window->document().image()[0x0010], 0x34);
    EXPECT_EQ(f.window->windowTitle(), "game.nes * - Quorvane");
    ASSERT_TRUE(value->hasFocus());

    // Ctrl+Z in the value box is the Edit menu's Undo, not the box's own.
    QTest::keyClick(value, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.window->document().image()[0x0010], 0x12);
    EXPECT_EQ(f.window->windowTitle(), "game.nes - Quorvane");
    EXPECT_EQ(value->text(), "12");
    EXPECT_FALSE(f.window->findChild<QToolButton*>("SpBtnAdr2")->isEnabled());

    // Ctrl+A is Save As, Ctrl+O Open, F5 Open IPS File: each opens its file dialog
    // (cancelled here), from either box.
    f.platform.choosePath(QString());
    QTest::keyClick(value, Qt::Key_A, Qt::ControlModifier);
    f.platform.choosePath(QString());
    QTest::keyClick(address, Qt::Key_O, Qt::ControlModifier);
    f.platform.choosePath(QString());
    QTest::keyClick(address, Qt::Key_F5);
    ASSERT_EQ(f.platform.shown().size(), 3u);
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::SaveDialog);
    EXPECT_EQ(f.platform.shown()[1].kind, Shown::OpenDialog);
    EXPECT_EQ(f.platform.shown()[2].kind, Shown::OpenDialog);
    EXPECT_EQ(address->text(), "0010"); // not selected and typed over
    EXPECT_TRUE(f.platform.scriptUsedUp());

    // Ctrl+C, Ctrl+X and Ctrl+V stay with the box.
    value->selectAll();
    QTest::keyClick(value, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(value->text(), "");
    QTest::keyClick(value, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value->text(), "12");

    // Reload and Close: the box shows what the image holds, or nothing.
    value->setText(QStringLiteral("56"));
    f.window->mmmReloadClick();
    EXPECT_EQ(value->text(), "12");
    f.window->mmmCloseClick();
    EXPECT_EQ(value->text(), "");
}

} // namespace

// A window manager may minimize a modal dialog (and its owner with it) from a button the
// dialog never asked for: the dialog comes straight back. Windows that are not modal
// minimize as asked.
TEST(MainWindowDesktop, AModalDialogThatIsMinimizedComesBack) {
    WindowFixture f;
    showActive(f);
    QDialog modal(f.window.get());
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    modal.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !modal.isMinimized(); }, 2000));
    EXPECT_TRUE(modal.isVisible());

    QWidget loose(f.window.get(), Qt::Window);
    loose.show();
    loose.setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    EXPECT_TRUE(loose.isMinimized());
}

// The program's modal dialogs ask for the buttons of their kind: close, and context help
// where they have it; never minimize or maximize (a window manager that draws no button
// it is not asked for then draws none).
TEST(MainWindowDesktop, ModalDialogsAskForCloseAndHelpOnly) {
    QTemporaryDir dir;
    qv::Settings settings;
    qv::RomDocument doc;
    const auto buttons = [](const QWidget& w) {
        const Qt::WindowFlags f = w.windowFlags();
        EXPECT_TRUE(f & Qt::CustomizeWindowHint) << w.objectName().toStdString();
        return f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                    Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    };
    const Qt::WindowFlags close = Qt::WindowCloseButtonHint;
    const Qt::WindowFlags help = Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint;
    EXPECT_EQ(buttons(qv::TFormAbout()), close);
    EXPECT_EQ(buttons(qv::TFormIpsMake(settings, 40976, dir.filePath("game.nes"), {})), close);
    EXPECT_EQ(buttons(qv::TFormIpsOpen(dir.filePath("p.ips"), settings, doc, {})), close);
    EXPECT_EQ(buttons(qv::TFormOption(dir.filePath("q.ini"))), help);
}
