// View > Changed Parameters, File > Export / Import Parameters, the IPS dialog's
// Details and the help window's history and search, on synthetic images.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/tables/mario.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/settingssession.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/main/helpwindow.h"
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
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Walking / Swimming Speed", "Right", "32", "24"}));

    f.window->mmmUndoClick();
    EXPECT_EQ(heading(f), "Unmodified game image");
    EXPECT_EQ(f.window->changesWindow()->table()->rowCount(), 0);

    f.edit(0x107A, 0x04); // five lives
    EXPECT_EQ(heading(f), "1 parameter changed");
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Initial #Lives", "Set Value", "5", "3"}));
    f.platform.answer(Answer::Yes); // discard and reload
    f.window->mmmReloadClick();
    EXPECT_EQ(heading(f), "Unmodified game image");

    // 0x30B8 0x92 is no pipe height: listed after the changes, not counted among them.
    f.window->LoadNesFile(
        writeClean(f.path("two.nes"), {{0x3454, 0x20}, {0x107A, 0x04}, {0x30B8, 0x92}}));
    EXPECT_EQ(heading(f), "2 parameters changed");
    ASSERT_EQ(f.window->changesWindow()->table()->rowCount(), 3);
    EXPECT_EQ(row(f, 2), (QStringList{"Mario", "Pipe Exit Height", "Set Value", "(Out of bounds)",
                                      "8  [Default]"}));
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
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Initial #Lives", "Set Value", "10", "3"}));
    value->setText("04");
    f.window->findChild<QToolButton*>("SpBtnAdr2")->click();
    EXPECT_EQ(row(f, 0), (QStringList{"Mario", "Initial #Lives", "Set Value", "5", "3"}));

    qv::test::writeText(f.path("fast.json"),
                        R"({"format":"quorvane-preset","version":1,"parameters":[
                            {"control":"EditMaWalk_R","value":"32"}]})");
    f.platform.choosePath(f.path("fast.json"));
    f.window->mmmImportParamsClick();
    EXPECT_EQ(heading(f), "2 parameters changed");
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
        dialogClass = QString::fromStdString(d->table().className);
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
    platform.driveDialog([&](QDialog& details) {
        shown = details.findChild<QPlainTextEdit*>("MemoDetails")->toPlainText();
        details.findChild<QPushButton*>("BtnClose")->click();
    });
    d.findChild<QPushButton*>("BtnDetails")->click();
    EXPECT_EQ(shown, "1 parameter changes (before -> after)\n"
                     "Mario > Speed > Walking / Swimming Speed\n"
                     "  Right: EditMaWalk_R = 24 -> 32 at 0x3454\n");
    EXPECT_EQ(doc.image()[0x3454], 0x18); // only explained, not applied

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
