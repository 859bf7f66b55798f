#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "gui/support/fixtures.h"

using qv::Answer;
using qv::test::readFile;
using qv::test::readText;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;
using qv::test::writeText;

namespace {

QStringList actionTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        if (a->isVisible() && !a->isSeparator()) out << a->text();
    return out;
}

const QString kSaveBeforeOpen = QStringLiteral(
    "The file has been modified.\r\nDo you want to save changes before opening a new file?");

} // namespace

TEST(MainWindow, StartsWithoutADocument) {
    WindowFixture f;
    EXPECT_EQ(f.window->windowTitle(), "Quorvane");
    EXPECT_EQ(f.window->statusPanel(0), "478 Modifiable Items");
    EXPECT_EQ(f.window->statusPanel(1), "");
    EXPECT_EQ(f.window->statusPanel(2), "");
    for (const char* name :
         {"mmmSave", "mmmSaveAs", "mmmClose", "mmmReload", "mmmIpsMake", "mmmMario", "mmmPallet",
          "BtnMario", "BtnPallet", "EditAdr1", "EditAdr2", "SpBtnAdr2", "mmmUndo"})
        EXPECT_FALSE(f.enabled(name)) << name;
    for (const char* name : {"mmmOpen", "mmmIpsOpen", "mmmOption", "mmmHelpFinder", "mmmExit"})
        EXPECT_TRUE(f.enabled(name)) << name;
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "Cannot &Undo");
    EXPECT_EQ(f.window->findChild<QAction*>("mmmSaveAs")->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_EQ(f.window->findChild<QAction*>("mmmStBar")->shortcut(), QKeySequence("Ctrl+F4"));
    EXPECT_TRUE(f.window->handleCommandLine({}));
    EXPECT_TRUE(f.platform.messages().isEmpty());
}

TEST(MainWindow, CommandLineOpensTheFirstFileAndStartsInstancesForTheRest) {
    WindowFixture f;
    const QString a = writeImage(f.path("some.nes"), 40976);
    const QString b = writeImage(f.path("other.nes"), 40976);
    EXPECT_TRUE(f.window->handleCommandLine({a, b}));
    EXPECT_EQ(f.window->windowTitle(), "some.nes - Quorvane");
    EXPECT_EQ(f.window->statusPanel(1), "40,976 bytes");
    EXPECT_FALSE(f.window->statusPanel(2).isEmpty());
    ASSERT_EQ(f.platform.shown().size(), 1u);
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::Start);
    EXPECT_EQ(f.platform.shown()[0].text, "/opt/quorvane/quorvane");
    EXPECT_EQ(f.platform.shown()[0].arguments, QStringList{b});
    EXPECT_TRUE(f.enabled("BtnMario"));
    EXPECT_TRUE(f.enabled("EditAdr1"));
    EXPECT_FALSE(f.enabled("mmmSave")); // nothing to save until an edit, by default
}

TEST(MainWindow, CommandLineFailuresEndTheProgram) {
    {
        WindowFixture f;
        EXPECT_FALSE(f.window->handleCommandLine({f.path("missing.nes")}));
        EXPECT_EQ(f.platform.messages(), QStringList{"The file does not exist."});
    }
    {
        // A patch is applied, not opened: one too short to hold anything is refused.
        WindowFixture f;
        writeImage(f.path("patch.ips"), 7);
        EXPECT_FALSE(f.window->handleCommandLine({f.path("patch.ips")}));
        EXPECT_EQ(f.platform.messages(),
                  QStringList{"The file cannot be opened.\r\nThe filesize is invalid."});
    }
    {
        WindowFixture f;
        writeImage(f.path("notes.txt"), 40976);
        EXPECT_FALSE(f.window->handleCommandLine({f.path("notes.txt")}));
        EXPECT_EQ(f.platform.messages(), QStringList{"The specified file is in the wrong format."});
    }
    {
        WindowFixture f;
        writeImage(f.path("short.nes"), 100);
        EXPECT_FALSE(f.window->handleCommandLine({f.path("short.nes")}));
        EXPECT_EQ(f.platform.messages(),
                  QStringList{"The file cannot be opened.\r\nThe filesize is invalid."});
    }
}

TEST(MainWindow, OpenAsksToSaveAModifiedDocument) {
    WindowFixture f;
    const QString first = writeImage(f.path("first.nes"), 40976);
    const QString second = writeImage(f.path("second.nes"), 41488);
    f.window->LoadNesFile(first);
    f.edit(0x107A, 0x08);
    EXPECT_EQ(f.window->windowTitle(), "first.nes * - Quorvane");
    EXPECT_TRUE(f.enabled("mmmSave"));

    // Cancel keeps everything.
    f.platform.choosePath(second);
    f.platform.answer(Answer::Cancel);
    f.window->mmmOpenClick();
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::OpenDialog);
    EXPECT_EQ(f.platform.shown()[0].text, f.dir.path() + "/*.nes");
    EXPECT_EQ(f.platform.messages(), QStringList{kSaveBeforeOpen});
    EXPECT_EQ(f.window->windowTitle(), "first.nes * - Quorvane");

    // Yes writes the edit, then opens the other file.
    f.platform.choosePath(second);
    f.platform.answer(Answer::Yes);
    f.window->mmmOpenClick();
    EXPECT_EQ(readFile(first)[0x107A], 0x08);
    EXPECT_EQ(f.window->windowTitle(), "second.nes - Quorvane");
    EXPECT_EQ(f.window->statusPanel(1), "41,488 bytes");

    // No discards the edit.
    f.edit(0x107A, 0x09);
    f.platform.choosePath(first);
    f.platform.answer(Answer::No);
    f.window->mmmOpenClick();
    EXPECT_EQ(readFile(second)[0x107A], 0x00);
    EXPECT_EQ(f.window->windowTitle(), "first.nes - Quorvane");

    // Cancelling the Open dialog asks nothing.
    f.platform.clear();
    f.platform.choosePath(QString());
    f.window->mmmOpenClick();
    EXPECT_TRUE(f.platform.messages().isEmpty());
    EXPECT_TRUE(f.platform.scriptUsedUp());
}

TEST(MainWindow, CloseAndExitPrompts) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976);
    f.window->LoadNesFile(game);
    f.edit(0x10, 0x01);

    f.platform.answer(Answer::Cancel);
    f.window->mmmCloseClick();
    EXPECT_EQ(f.platform.messages().last(),
              "The file has been modified.\r\nSave changes before closing?");
    EXPECT_EQ(f.window->windowTitle(), "game.nes * - Quorvane");
    EXPECT_TRUE(f.window->document().modified());

    f.platform.answer(Answer::No);
    f.window->mmmCloseClick();
    EXPECT_EQ(f.window->windowTitle(), "Quorvane");
    EXPECT_FALSE(f.enabled("BtnMario"));
    EXPECT_EQ(f.window->statusPanel(1), "");
    EXPECT_EQ(readFile(game)[0x10], 0x00);

    // Exit with edits: Cancel keeps running, and the position is written all the same.
    f.window->LoadNesFile(game);
    f.edit(0x10, 0x02);
    f.platform.answer(Answer::Cancel);
    EXPECT_FALSE(f.window->close());
    EXPECT_TRUE(readText(f.iniPath()).contains("FormTop="));
    f.platform.answer(Answer::Yes);
    EXPECT_TRUE(f.window->close());
    EXPECT_EQ(readFile(game)[0x10], 0x02);

    // A document whose file was deleted counts as unsaved.
    f.window->LoadNesFile(game);
    QFile::remove(game);
    f.platform.clear();
    f.platform.answer(Answer::No);
    EXPECT_TRUE(f.window->close());
    EXPECT_EQ(f.platform.messages(),
              QStringList{"The file has not been saved.\r\nSave changes before exiting?"});
    f.platform.answer(Answer::Cancel);
    f.window->mmmCloseClick();
    EXPECT_EQ(f.platform.messages().last(),
              "The current file has been modified.\r\nSave changes before closing?");
}

TEST(MainWindow, SaveConfirmsWritesAndReportsAFailedWrite) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976);
    f.window->LoadNesFile(game);
    f.edit(0x3454, 0x20);

    f.platform.answer(Answer::No);
    f.window->mmmSaveClick();
    EXPECT_EQ(f.platform.messages(), QStringList{"Overwrite the file?"});
    EXPECT_EQ(readFile(game)[0x3454], 0x00);

    f.platform.answer(Answer::Yes);
    f.window->mmmSaveClick();
    EXPECT_EQ(readFile(game)[0x3454], 0x20);
    EXPECT_EQ(f.window->windowTitle(), "game.nes - Quorvane");
    EXPECT_TRUE(f.enabled("mmmUndo")); // a save keeps the undo

    // A write that fails shows an error; file, flag and title stay.
    f.edit(0x3454, 0x30);
    qv::setWriteFailureForTesting(true);
    f.platform.answer(Answer::Yes);
    f.window->mmmSaveClick();
    qv::setWriteFailureForTesting(false);
    ASSERT_EQ(f.platform.shown().back().kind, Shown::Error);
    EXPECT_EQ(readFile(game)[0x3454], 0x20);
    EXPECT_EQ(f.window->windowTitle(), "game.nes * - Quorvane");

    // Save As to a new name, then the title follows it.
    f.platform.choosePath(f.path("copy.nes"));
    EXPECT_TRUE(f.window->SaveAsDialog());
    EXPECT_EQ(readFile(f.path("copy.nes"))[0x3454], 0x30);
    EXPECT_EQ(f.window->windowTitle(), "copy.nes - Quorvane");
}

TEST(MainWindow, RecentListKeepsTheNewestWithoutDuplicates) {
    WindowFixture f("[qorv]\r\nMaxRecent=3\r\n");
    QStringList paths;
    for (const char* n : {"a.nes", "b.nes", "c.nes", "d.nes"})
        paths << writeImage(f.path(QString::fromLatin1(n)), 40976);
    for (const QString& p : paths)
        f.window->LoadNesFile(p);
    f.window->BuildRecentMenus();
    EXPECT_EQ(actionTexts(f.window->recentMenu()),
              (QStringList{"&1 " + paths[3], "&2 " + paths[2], "&3 " + paths[1]}));
    f.window->LoadNesFile(paths[1]);
    f.window->BuildRecentMenus();
    EXPECT_EQ(actionTexts(f.window->recentMenu()),
              (QStringList{"&1 " + paths[1], "&2 " + paths[3], "&3 " + paths[2]}));
    EXPECT_EQ(actionTexts(f.window->recentPopup()), actionTexts(f.window->recentMenu()));

    // Entry 3 opens; a path that has gone shows the message and leaves the list.
    f.window->openRecent(3);
    EXPECT_EQ(f.window->windowTitle(), "c.nes - Quorvane");
    QFile::remove(paths[3]);
    f.window->openRecent(3);
    EXPECT_EQ(f.platform.messages(), QStringList{"The file does not exist."});
    f.window->BuildRecentMenus();
    EXPECT_EQ(actionTexts(f.window->recentMenu()).size(), 3);
}

TEST(MainWindow, RecentCaptionsAndPlaceholder) {
    {
        WindowFixture f("[qorv]\r\nMaxRecent=0\r\nRecent1=/x/a.nes\r\n");
        f.window->BuildRecentMenus();
        EXPECT_TRUE(actionTexts(f.window->recentMenu()).isEmpty());
    }
    {
        WindowFixture f;
        f.window->BuildRecentMenus();
        EXPECT_EQ(actionTexts(f.window->recentMenu()), QStringList{"Recent Files"});
    }
    {
        QByteArray ini = "[qorv]\r\nMaxRecent=12\r\n";
        for (int n = 1; n <= 12; ++n)
            ini += "Recent" + QByteArray::number(n) +
                   (n == 5 ? QByteArray("=/r/R&D.nes\r\n")
                           : "=/r/f" + QByteArray::number(n) + ".nes\r\n");
        WindowFixture f(ini);
        f.window->BuildRecentMenus();
        const QStringList texts = actionTexts(f.window->recentMenu());
        ASSERT_EQ(texts.size(), 12);
        EXPECT_EQ(texts[0], "&1 /r/f1.nes");
        EXPECT_EQ(texts[9], "10 /r/f10.nes");
        EXPECT_EQ(texts[4], "&5 /r/R&&D.nes"); // shown as R&D, not as a mnemonic
    }
}

TEST(MainWindow, DroppedFiles) {
    WindowFixture f;
    const QString text = f.path("notes.txt");
    writeText(text, "hello");
    f.window->handleDroppedFiles({text});
    EXPECT_EQ(f.platform.messages(), QStringList{"The specified file is in the wrong format."});
    EXPECT_EQ(f.window->windowTitle(), "Quorvane");

    const QString a = writeImage(f.path("a.NES"), 40976);
    const QString b = writeImage(f.path("b.nes"), 40976);
    f.platform.clear();
    f.window->handleDroppedFiles({a, b});
    EXPECT_EQ(f.window->windowTitle(), "a.NES - Quorvane");
    ASSERT_EQ(f.platform.shown().size(), 1u);
    EXPECT_EQ(f.platform.shown()[0].arguments, QStringList{b});

    f.edit(0x20, 0x01);
    f.platform.answer(Answer::Cancel);
    f.window->handleDroppedFiles({b});
    EXPECT_EQ(f.platform.messages().last(), kSaveBeforeOpen);
    EXPECT_EQ(f.window->windowTitle(), "a.NES * - Quorvane");
}

TEST(MainWindow, OutsideChangeIsNoticedOnActivation) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976);
    f.window->LoadNesFile(game);
    // Unchanged file: nothing is asked.
    f.window->applicationStateChanged(Qt::ApplicationInactive);
    f.window->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(f.platform.messages().isEmpty());

    writeImage(game, 40976, {{0x10, 0x77}});
    struct utimbuf times {
        1000000000, 1000000000
    };
    ASSERT_EQ(::utime(QFile::encodeName(game).constData(), &times), 0);
    f.window->applicationStateChanged(Qt::ApplicationInactive);
    f.platform.answer(Answer::No);
    f.window->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(
        f.platform.messages(),
        QStringList{"The file has been modified by another program.\r\nDo you want to reload it?"});
    // Asked once per activation.
    f.window->Timer1Timer();
    EXPECT_EQ(f.platform.messages().size(), 1);

    f.window->applicationStateChanged(Qt::ApplicationInactive);
    f.platform.answer(Answer::Yes);
    f.window->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(f.window->document().image()[0x10], 0x77);
}

TEST(MainWindow, ViewTogglesAndFlagsFromTheSettingsFile) {
    WindowFixture f("[qorv]\r\nToolBar=0\r\nBackup=0\r\nMaxRecent=40\r\n");
    EXPECT_FALSE(f.window->findChild<QAction*>("mmmToolBar")->isChecked());
    EXPECT_TRUE(f.window->findChild<QToolBar*>("ToolBar1")->isHidden());
    EXPECT_TRUE(f.window->settings().backup);
    EXPECT_EQ(f.window->settings().maxRecent, 8);

    f.window->mmmToolBarClick();
    EXPECT_FALSE(f.window->findChild<QToolBar*>("ToolBar1")->isHidden());
    // Separators stand between groups of buttons, never after the last.
    const QList<QAction*> tools = f.window->findChild<QToolBar*>("ToolBar1")->actions();
    ASSERT_FALSE(tools.isEmpty());
    EXPECT_FALSE(tools.first()->isSeparator());
    EXPECT_FALSE(tools.last()->isSeparator());
    EXPECT_TRUE(readText(f.iniPath()).contains("ToolBar=2\r\n"));
    f.window->mmmStBarClick();
    EXPECT_TRUE(readText(f.iniPath()).contains("StatusBar=1\r\n"));
    f.window->mmmAlTopClick();
    EXPECT_TRUE(f.window->findChild<QAction*>("mmmAlTop")->isChecked());
    EXPECT_TRUE(f.window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(readText(f.iniPath()).contains("Top=2\r\n"));
}

TEST(MainWindow, ExternalEditorsFromTheToolsMenu) {
    WindowFixture f(
        "[qorv]\r\nEditor1=/usr/bin/hexer\r\nEditor3=/usr/bin/tiles\r\nEditorEx3=1\r\n");
    auto* e1 = f.window->findChild<QAction*>("mmmEditor1");
    auto* e2 = f.window->findChild<QAction*>("mmmEditor2");
    EXPECT_TRUE(e1->isVisible());
    EXPECT_EQ(e1->text(), "Start Editor 1 (&1)...");
    EXPECT_FALSE(e2->isVisible());
    EXPECT_EQ(e2->text(), "");
    // Without a document the file is not passed.
    f.window->startEditor(1);
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    f.window->startEditor(1);
    f.window->startEditor(3);
    f.window->startEditor(2);
    ASSERT_EQ(f.platform.shown().size(), 3u);
    EXPECT_EQ(f.platform.shown()[0].arguments, QStringList{});
    EXPECT_EQ(f.platform.shown()[1].text, "/usr/bin/hexer");
    EXPECT_EQ(f.platform.shown()[1].arguments, QStringList{game});
    EXPECT_EQ(f.platform.shown()[2].arguments, QStringList{});
}

TEST(MainWindow, AfterEditorOptionsTheToolsMenuAndSettingsFileFollow) {
    WindowFixture f;
    f.window->settings().editors[1].path = "/usr/bin/tiles";
    f.window->settings().editors[1].menu.clear();
    f.window->settings().maxRecent = 0;
    f.window->afterOptions();
    EXPECT_EQ(f.window->findChild<QAction*>("mmmEditor2")->text(), "Start Editor2(&2)...");
    const QByteArray ini = readText(f.iniPath());
    EXPECT_TRUE(ini.contains("Editor2=/usr/bin/tiles\r\nEditorMenu2=Start Editor2(&2)...\r\n"));
    EXPECT_TRUE(ini.contains("MaxRecent=0\r\n"));
    EXPECT_TRUE(actionTexts(f.window->recentMenu()).isEmpty());
}

TEST(MainWindow, StartsOnAGarbledSettingsFile) {
    static const char head[] = "[qorv]\r\nMaxRecent=\xff\xfe\x00\x01zz\r\nToolBar=";
    QByteArray garbage(head, sizeof head - 1);
    garbage += QByteArray(5000, '0') + "\r\nRecent1=" + QByteArray(5000, '/') + "\r\n";
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 73) & 0xFF);
    WindowFixture f(garbage);
    EXPECT_EQ(f.window->settings().maxRecent, 8);
    EXPECT_FALSE(f.window->settings().toolBar); // 0, however long, is not 2
    f.window->BuildRecentMenus();
    f.window->mmmStBarClick(); // writing all settings back keeps the file readable
    qv::IniFile ini(f.iniPath().toStdString());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("StatusBar", ""), "1");
}

TEST(MainWindow, ASettingsFileTooLargeToReadIsReportedOnceAndNeverWritten) {
    QByteArray huge(16 * 1024 * 1024 + 1, '\n');
    WindowFixture f(huge);
    EXPECT_EQ(f.window->statusPanel(2), "Settings not read");
    EXPECT_EQ(f.window->findChild<QLabel*>("StBar1Panel2")->toolTip(),
              "The settings file " + f.iniPath() +
                  " is larger than 16 MiB and is not read; the defaults are used and nothing "
                  "is saved to it.");
    EXPECT_TRUE(f.window->settings().toolBar); // the defaults
    f.window->mmmStBarClick();                 // writes every setting
    f.window->BuildRecentMenus();
    EXPECT_EQ(QFileInfo(f.iniPath()).size(), 16 * 1024 * 1024 + 1);
    EXPECT_TRUE(f.platform.messages().isEmpty());
}

TEST(MainWindow, SaveAsNeverReplacesWhatIsNotARegularFile) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976);
    f.window->LoadNesFile(game);
    f.edit(0x3454, 0x20);
    const QString fifo = f.path("pipe.nes");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0644), 0);
    f.platform.choosePath(fifo);
    EXPECT_FALSE(f.window->SaveAsDialog());
    ASSERT_FALSE(f.platform.shown().empty());
    EXPECT_EQ(f.platform.shown().back().kind, Shown::Error);
    EXPECT_EQ(f.platform.shown().back().text,
              "Cannot write the file " + fifo + ".\r\nNot a regular file");
    EXPECT_TRUE(QFileInfo(fifo).isSymLink() == false && !QFileInfo(fifo).isFile());
    EXPECT_EQ(f.window->windowTitle(), "game.nes * - Quorvane");
}
