// View > Changed Parameters, File > Export / Import Parameters, the IPS dialog's
// Details and the help window's history and search, on synthetic images.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/tables/mario.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/settingssession.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/main/helpwindow.h"
#include "gui/main/placement.h"
#include "gui/support/fixtures.h"
#include "gui/support/printqstring.h"
#include "support/cleanimage.h"

using qv::Answer;
using qv::test::Shown;
using qv::test::WindowFixture;
using Bytes = std::vector<std::uint8_t>;

namespace {

QString writeClean(const QString& path,
                   const std::vector<std::pair<int, std::uint8_t>>& edits = {}) {
    Bytes b = qvtest::cleanImage();
    for (const auto& [off, v] : edits)
        b[static_cast<std::size_t>(off)] = v;
    qv::test::writeText(path, QByteArray(reinterpret_cast<const char*>(b.data()),
                                         static_cast<qsizetype>(b.size())));
    return path;
}

QString heading(WindowFixture& f) {
    return f.window->changesWindow()->heading()->text();
}

QStringList row(WindowFixture& f, int r) {
    QStringList cells;
    QTableWidget* t = f.window->changesWindow()->table();
    for (int c = 0; c < t->columnCount(); ++c)
        cells << t->item(r, c)->text();
    return cells;
}

} // namespace

TEST(ChangedParameters, FollowsOkUndoReloadLoadAndClose) {
    qvtest::registerCleanImage();
    WindowFixture f;
    f.window->LoadNesFile(writeClean(f.path("clean.nes")));
    f.window->findChild<QAction*>("mmmChanges")->trigger();
    ASSERT_NE(f.window->changesWindow(), nullptr);
    EXPECT_FALSE(f.window->changesWindow()->isModal());
    EXPECT_EQ(heading(f), "Unmodified game image");
    EXPECT_EQ(f.window->changesWindow()->table()->rowCount(), 0);

    // OK in the Mario dialog with Right walking speed 32.
    qv::SettingsSession session(*f.window, qv::tables::mario());
    session.load();
    auto* edit = session.dialog()->findChild<QLineEdit*>("EditMaWalk_R");
    ASSERT_NE(edit, nullptr);
    edit->setText("32");
    session.dialog()->BtnOkClick();
    session.finish(true);
    EXPECT_EQ(f.window->document().image()[0x3454], 0x20);
    EXPECT_EQ(heading(f), "1 parameter changed");
    ASSERT_EQ(f.window->changesWindow()->table()->rowCount(), 1);
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Speed", "Walking / Swimming Speed", "Right", "32",
                                      "24", "0x3454"}));

    f.window->mmmUndoClick();
    EXPECT_EQ(heading(f), "Unmodified game image");
    EXPECT_EQ(f.window->changesWindow()->table()->rowCount(), 0);

    f.edit(0x107A, 0x04); // five lives
    EXPECT_EQ(heading(f), "1 parameter changed");
    EXPECT_EQ(row(f, 0),
              (QStringList{"Mario", "Damage", "Initial #Lives", "Set Value", "5", "3", "0x107A"}));
    f.platform.answer(Answer::Yes); // discard and reload
    f.window->mmmReloadClick();
    EXPECT_EQ(heading(f), "Unmodified game image");

    // 0x30B8 0x92 is no pipe height: listed after the changes, not counted among them.
    f.window->LoadNesFile(
        writeClean(f.path("two.nes"), {{0x3454, 0x20}, {0x107A, 0x04}, {0x30B8, 0x92}}));
    EXPECT_EQ(heading(f), "2 parameters changed");
    ASSERT_EQ(f.window->changesWindow()->table()->rowCount(), 3);
    EXPECT_EQ(row(f, 2), (QStringList{"Mario", "Pipes", "Pipe Exit Height", "Set Value",
                                      "(Out of bounds)", "8", "0x30B8"}));
    f.window->mmmCloseClick(); // not modified: nothing to ask
    EXPECT_EQ(heading(f), "No file open");
    EXPECT_TRUE(f.platform.scriptUsedUp());
}

// The list shows each change as soon as it is made: a byte written through the address
// bar (stored before the list reads it) and an imported preset.
TEST(ChangedParameters, FollowsTheAddressBarAndAnImportAtOnce) {
    qvtest::registerCleanImage();
    WindowFixture f("[qorv]\r\nWriteCheck=1\r\n");
    f.window->LoadNesFile(writeClean(f.path("clean.nes")));
    f.window->findChild<QAction*>("mmmChanges")->trigger();
    auto* address = f.window->findChild<QLineEdit*>("EditAdr1");
    auto* value = f.window->findChild<QLineEdit*>("EditAdr2");
    address->setText("107A");
    value->setText("09");
    f.window->findChild<QToolButton*>("SpBtnAdr2")->click();
    EXPECT_EQ(f.window->document().image()[0x107A], 0x09);
    EXPECT_EQ(heading(f), "1 parameter changed");
    ASSERT_EQ(f.window->changesWindow()->table()->rowCount(), 1);
    EXPECT_EQ(row(f, 0)[4], "10");
    value->setText("04");
    f.window->findChild<QToolButton*>("SpBtnAdr2")->click();
    EXPECT_EQ(row(f, 0)[4], "5");

    qv::test::writeText(f.path("fast.json"),
                        R"({"format":"quorvane-preset","version":1,"parameters":[
                            {"control":"EditMaWalk_R","value":"32"}]})");
    f.platform.choosePath(f.path("fast.json"));
    f.window->mmmImportParamsClick();
    EXPECT_EQ(heading(f), "2 parameters changed");

    // A patch applied to the open image: lives back to 3 (0x107A <- 0x02).
    const QString patch = f.path("lives.ips");
    qv::test::writeText(patch, QByteArray("PATCH\x00\x10\x7A\x00\x01\x02"
                                          "EOF",
                                          14));
    f.platform.driveDialog([&](QDialog& d) {
        d.findChild<QRadioButton*>("RadIps3")->click(); // the open document
        d.findChild<QPushButton*>("BtnOk")->click();
    });
    EXPECT_TRUE(f.window->ApplyIpsFile(patch, false));
    EXPECT_EQ(f.window->document().image()[0x107A], 0x02);
    EXPECT_EQ(heading(f), "1 parameter changed");
    EXPECT_EQ(f.window->changesWindow()->table()->item(0, 0)->text(), "Mario");
    EXPECT_TRUE(f.platform.scriptUsedUp());
}

TEST(ChangedParameters, DoubleClickOpensTheDialogOnItsPageWithTheControlFocused) {
    WindowFixture f;
    f.window->LoadNesFile(writeClean(f.path("g.nes"), {{0x107A, 0x04}}));
    f.window->mmmChangesClick();
    ASSERT_EQ(f.window->changesWindow()->table()->rowCount(), 1);

    QString dialogClass, focused;
    int page = -1;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<qv::SettingsDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        dialogClass = QString::fromStdString(std::string(d->table().className));
        page = d->pages()->currentIndex();
        if (QWidget* w = d->focusWidget()) focused = w->objectName();
        d->reject();
    });
    emit f.window->changesWindow()->table()->cellDoubleClicked(0, 2);
    EXPECT_EQ(dialogClass, "TFormMario");
    EXPECT_EQ(page, 7); // Damage
    EXPECT_EQ(focused, "EditMaZanki");
    EXPECT_EQ(f.window->document().image()[0x107A], 0x04); // cancelled: nothing written
}

TEST(ParameterPresets, ExportThenImportIsOneUndoableEditOrRefusedWhole) {
    WindowFixture f;
    f.window->LoadNesFile(writeClean(f.path("src.nes"), {{0x3454, 0x20}, {0x107A, 0x04}}));
    const QString preset = f.path("p.json");
    f.platform.choosePath(preset);
    f.window->findChild<QAction*>("mmmExportParams")->trigger();
    ASSERT_TRUE(QFile::exists(preset));
    EXPECT_EQ(f.platform.shown().back().kind, Shown::SaveDialog);
    EXPECT_EQ(f.platform.shown().back().text, f.path("src.json"));

    f.window->LoadNesFile(writeClean(f.path("dst.nes")));
    f.platform.choosePath(preset);
    f.window->findChild<QAction*>("mmmImportParams")->trigger();
    EXPECT_EQ(f.window->document().image()[0x3454], 0x20);
    EXPECT_EQ(f.window->document().image()[0x107A], 0x04);
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "&Undo Import Parameters");
    EXPECT_TRUE(f.window->document().modified());
    f.window->mmmUndoClick(); // both values go back at once
    EXPECT_EQ(f.window->document().image()[0x3454], 0x18);
    EXPECT_EQ(f.window->document().image()[0x107A], 0x02);

    // One refused entry: one message, nothing written, nothing to undo.
    f.platform.clear();
    const qv::RomBuffer before = f.window->document().image();
    const QString undoBefore = f.window->findChild<QAction*>("mmmUndo")->text();
    qv::test::writeText(f.path("bad.json"),
                        R"({"format":"quorvane-preset","version":1,"parameters":[
                            {"control":"EditMaZanki","value":"5"},
                            {"control":"CmbFireShot","value":"Sometimes"}]})");
    f.platform.choosePath(f.path("bad.json"));
    f.window->mmmImportParamsClick();
    ASSERT_EQ(f.platform.messages().size(), 1);
    EXPECT_TRUE(f.platform.messages()[0].startsWith(
        "The parameters in " + f.path("bad.json") +
        " were not imported; nothing has changed.\r\n\r\nentry 2 (CmbFireShot): "));
    EXPECT_EQ(f.window->document().image(), before);
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), undoBefore);
}

TEST(IpsOpenDialog, DetailsExplainsThePatchBeforeOk) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::Settings settings;
    qv::RomDocument doc;
    doc.replace(qvtest::cleanImage(), dir.filePath("game.nes").toStdString());
    // One record: 0x3454 <- 0x20.
    const QString patch = dir.filePath("p.ips");
    qv::test::writeText(patch, QByteArray("PATCH\x00\x34\x54\x00\x01\x20"
                                          "EOF",
                                          14));
    qv::TFormIpsOpen d(patch, settings, doc, {});
    d.prepare(3, 1);
    QString shown;
    Qt::WindowFlags flags;
    platform.driveDialog([&](QDialog& details) {
        flags = details.windowFlags();
        shown = details.findChild<QPlainTextEdit*>("MemoDetails")->toPlainText();
        details.findChild<QPushButton*>("BtnClose")->click();
    });
    d.findChild<QPushButton*>("BtnDetails")->click();
    EXPECT_EQ(shown, "1 parameter changes (before -> after)\n"
                     "Mario > Speed > Walking / Swimming Speed\n"
                     "  Right: EditMaWalk_R = 24 -> 32 at 0x3454\n");
    EXPECT_EQ(doc.image()[0x3454], 0x18); // only explained, not applied
    // A modal window: a close button and no minimize or maximize button.
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    // A patch that cannot be applied gets its usual message.
    qv::test::writeText(patch, QByteArray("PATCH\x00\xA0\x10\x00\x01\x05"
                                          "EOF",
                                          14));
    d.findChild<QPushButton*>("BtnDetails")->click();
    ASSERT_EQ(platform.messages().size(), 1) << platform.messages().join("|").toStdString();
    EXPECT_TRUE(platform.messages()[0].contains("40,976")) << platform.messages()[0].toStdString();
}

TEST(HelpWindow, BackForwardAndSearchOverAllTopics) {
    qv::HelpWindow w(nullptr);
    auto* back = w.findChild<QPushButton*>("BtnBack");
    auto* forward = w.findChild<QPushButton*>("BtnForward");
    EXPECT_FALSE(back->isEnabled());
    w.showTopic(13396);
    w.showTopic(100);
    EXPECT_TRUE(w.html().contains("Mario Settings"));
    back->click();
    EXPECT_TRUE(w.html().contains("EditMaWalk_R"));
    EXPECT_TRUE(forward->isEnabled());
    forward->click();
    EXPECT_TRUE(w.html().contains("<h2>Mario Settings</h2>"));
    EXPECT_FALSE(forward->isEnabled());

    auto* search = w.findChild<QLineEdit*>("EditSearch");
    search->setText("editmazanki");
    emit search->returnPressed();
    EXPECT_TRUE(w.html().contains("<a href=\"topic:4218\">")) << w.html().toStdString();
    back->click();
    EXPECT_TRUE(w.html().contains("<h2>Mario Settings</h2>"));
    search->setText("no such words anywhere");
    emit search->returnPressed();
    EXPECT_TRUE(w.html().contains("No topic mentions it."));
}

// A row of a sub-dialog (Basic Blocks, Staircase) opens General Settings 1 on the page of
// the sub-dialog's button and presses it: that sub-dialog opens, at the row's column or
// box.
TEST(ChangedParameters, DoubleClickOnASubDialogRowOpensThatDialog) {
    qvtest::registerCleanImage();
    WindowFixture f;
    // Pattern 3 without row 2 (0x07 -> 0x03); staircase step 1 from row 11.
    f.window->LoadNesFile(writeClean(f.path("g.nes"), {{0x13F2, 0x03}, {0x1AC6, 0x0B}}));
    f.window->mmmChangesClick();
    QTableWidget* table = f.window->changesWindow()->table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "Basic blocks");
    EXPECT_EQ(table->item(1, 0)->text(), "Staircase");

    for (int r = 0; r < 2; ++r) {
        QString sub, owner, ownerPage, focused;
        bool checked = false;
        // The sub-dialog is pressed as soon as General 1 runs: it is recorded and closed
        // first, then General 1 under it.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            if (d->objectName() == "TFormZenpan1") {
                if (!sub.isEmpty()) d->reject();
                return;
            }
            sub = d->objectName();
            if (QWidget* parent = d->parentWidget()) {
                owner = parent->objectName();
                if (auto* pages = parent->findChild<QTabWidget*>("Page1"))
                    ownerPage = pages->tabText(pages->currentIndex());
            }
            if (QWidget* w = d->focusWidget()) focused = w->objectName();
            if (auto* radio = qobject_cast<QAbstractButton*>(d->focusWidget()))
                checked = radio->isChecked();
            d->reject();
        });
        poll.start(10);
        emit table->cellDoubleClicked(r, 2);
        poll.stop();
        EXPECT_EQ(owner, "TFormZenpan1");
        EXPECT_EQ(ownerPage, "Blocks");
        if (r == 0) {
            EXPECT_EQ(sub, "TFormKihonBloc");
            EXPECT_EQ(focused, "RadKb3"); // pattern 3's column, selected
            EXPECT_TRUE(checked);
        } else {
            EXPECT_EQ(sub, "TFormKaidanBloc");
            EXPECT_EQ(focused, "EditKaidanSp1");
        }
    }
    // Both cancelled: nothing written; nothing left to press for the next opening.
    EXPECT_EQ(f.window->document().image()[0x13F2], 0x03);
    EXPECT_TRUE(f.window->dialogMemory().pressButton.isEmpty());
    EXPECT_TRUE(f.window->dialogMemory().focusControl.isEmpty());
}

// The list reads like the dialogs: groups by name, colours as "$0F" with a swatch,
// block columns as rows, no "[Default]"; Copy takes the selected rows as text; the keys
// work; the columns fit the window, which stands beside the main window.
TEST(ChangedParameters, ReadsLikeTheDialogsAndWorksFromTheKeyboard) {
    qvtest::registerCleanImage();
    WindowFixture f;
    f.window->LoadNesFile(writeClean(f.path("g.nes"), {{0x3638, 0x03},    // fireballs: Never
                                                       {0x13F2, 0x03},    // pattern 3
                                                       {0x686B, 0x22},    // green Koopa
                                                       {0x05E0, 0x0F}})); // Ground backdrop
    f.window->mmmChangesClick();
    qv::ChangedParametersWindow* w = f.window->changesWindow();
    ASSERT_EQ(w->table()->rowCount(), 4);
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Fireballs", "Throwing Fireballs", "Set Value",
                                      "Never", "As Fire Mario", "0x3638"}));
    EXPECT_EQ(row(f, 1),
              (QStringList{"Basic blocks", "Basic Block Settings", "Basic Block Settings",
                           "Pattern 3", "Rows 0, 1, 11, 12", "Rows 0-2, 11, 12", "0x13F2-0x13F3"}));
    EXPECT_EQ(row(f, 2), (QStringList{"Color", "Enemies", "Enemies", "Koopa Troopa (green)",
                                      "Red Group, Behind BG", "Green Group", "0x686B"}));
    EXPECT_EQ(row(f, 3), (QStringList{"Palette", "Ground", "Ground Palette", "Background Color",
                                      "$0F", "$22", "0x05E0"}));
    // The swatch is the colour's own: 0x0F is black in every colour table.
    EXPECT_EQ(w->table()->item(3, 4)->data(Qt::DecorationRole).value<QColor>(), QColor(0, 0, 0));
    EXPECT_FALSE(w->table()->item(0, 4)->data(Qt::DecorationRole).isValid());

    // Copy: the selected rows, in order, cells parted by tabs.
    w->table()->selectRow(3);
    w->table()->selectionModel()->select(w->table()->model()->index(0, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->findChild<QAction*>("ActCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Mario\tFireballs\tThrowing Fireballs\tSet Value\tNever\tAs Fire Mario\t0x3638\n"
              "Palette\tGround\tGround Palette\tBackground Color\t$0F\t$22\t0x05E0\n");
    EXPECT_EQ(w->findChild<QAction*>("ActCopy")->shortcut(), QKeySequence(QKeySequence::Copy));

    // Shown, the columns fill the table: each whole where there is room (the offsets
    // too), the widest cut alike where there is not.
    const auto total = [&] {
        int sum = 0;
        for (int c = 0; c < w->table()->columnCount(); ++c)
            sum += w->table()->horizontalHeader()->sectionSize(c);
        return sum;
    };
    w->resize(760, 360);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QApplication::processEvents();
    const int room = w->table()->viewport()->width();
    EXPECT_LE(total(), room);
    EXPECT_GE(total(), room - w->table()->columnCount());
    EXPECT_GE(
        w->table()->horizontalHeader()->sectionSize(qv::ChangedParametersWindow::OffsetColumn),
        w->table()->fontMetrics().horizontalAdvance("0x13F2-0x13F3"));
    w->resize(420, 300);
    QApplication::processEvents();
    EXPECT_LE(total(), w->table()->viewport()->width());
    EXPECT_GE(total(), w->table()->viewport()->width() - w->table()->columnCount());

    // Enter opens the current row's dialog; Ctrl+1 the Mario dialog; Escape closes.
    const auto opened = [&](auto press) {
        QString name;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                name = d->objectName();
                d->reject();
            }
        });
        press();
        return name;
    };
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->table()->setFocus();
    w->table()->setCurrentCell(2, 0);
    EXPECT_EQ(opened([&] { QTest::keyClick(w->table(), Qt::Key_Return); }), "TFormColor");
    // The closed dialog gives the activation back to the main window, its owner.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_EQ(opened([&] { QTest::keyClick(w->table(), Qt::Key_1, Qt::ControlModifier); }),
              "TFormMario");
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->table(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

// Export and Import say in the status bar what they did.
TEST(ParameterPresets, ExportAndImportSayWhatTheyDid) {
    qvtest::registerCleanImage();
    WindowFixture f;
    f.window->LoadNesFile(writeClean(f.path("hard.nes"), {{0x3454, 0x20}, {0x107A, 0x04}}));
    f.platform.choosePath(f.path("hard.json"));
    f.window->mmmExportParamsClick();
    EXPECT_EQ(f.window->statusBar()->currentMessage(), "Exported 2 parameters to hard.json");

    f.window->LoadNesFile(writeClean(f.path("easy.nes"), {{0x107A, 0x04}}));
    f.platform.choosePath(f.path("hard.json"));
    f.window->mmmImportParamsClick();
    EXPECT_EQ(f.window->statusBar()->currentMessage(),
              "Imported 2 parameters from hard.json (1 changed a value)");
    EXPECT_EQ(f.window->document().image()[0x3454], 0x20);
    EXPECT_TRUE(f.platform.scriptUsedUp());
}

// Beside the owner, narrowed to the room there, never over it where any side has room.
TEST(ChangedParameters, TheFrameBesideTheOwnerNeverCoversIt) {
    const QRect area(0, 0, 1366, 740);
    const QRect owner(505, 288, 357, 214);
    const QRect frame = qv::frameBeside(owner, QSize(762, 392), QSize(362, 232), area);
    EXPECT_EQ(frame, QRect(0, 288, 505, 392));
    EXPECT_FALSE(frame.intersects(owner));
    // Room on the right for all of it.
    EXPECT_EQ(qv::frameBeside(QRect(0, 0, 300, 200), QSize(600, 300), QSize(300, 200), area),
              QRect(300, 0, 600, 300));
    // A wide owner: below it.
    const QRect wide(100, 100, 1200, 200);
    const QRect under = qv::frameBeside(wide, QSize(762, 392), QSize(362, 232), area);
    EXPECT_FALSE(under.intersects(wide));
    EXPECT_EQ(under.top(), 300);
    EXPECT_LE(under.bottom(), area.bottom());
}
