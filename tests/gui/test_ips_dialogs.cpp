#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/document.h"
#include "core/settings.h"
#include "gui/ips/ipsmakedialog.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/support/fixtures.h"
#include "gui/support/printqstring.h"

using qv::Answer;
using qv::test::readFile;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;
using qv::test::writeText;
using Bytes = std::vector<std::uint8_t>;

namespace {

template <class W = QAbstractButton> W* child(QWidget& d, const char* name) {
    W* w = d.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void click(QWidget& d, const char* name) {
    child(d, name)->click();
}
QString text(QWidget& d, const char* name) {
    return child<QLineEdit>(d, name)->text();
}
bool enabled(QWidget& d, const char* name) {
    return child<QWidget>(d, name)->isEnabled();
}

// "PATCH", the records as given, "EOF".
QByteArray patch(std::initializer_list<int> records) {
    QByteArray b("PATCH");
    for (int v : records)
        b.append(static_cast<char>(v));
    return b + "EOF";
}

const QString kCloseUnsaved =
    QStringLiteral("The current file has been modified.\r\nSave changes before closing?");

} // namespace

TEST(IpsApply, OnTheOpenDocumentPatchesItInMemory) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976, {{0x107A, 0x02}, {0x10, 0x4E}});
    const QString fix = f.path("fix.ips");
    // 0x107A <- 08; a run of three EA at 0x3457.
    writeText(fix, patch({0x00, 0x10, 0x7A, 0x00, 0x01, 0x08, //
                          0x00, 0x34, 0x57, 0x00, 0x00, 0x00, 0x03, 0xEA}));
    f.window->LoadNesFile(game);
    f.platform.driveDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Open IPS File - fix.ips");
        EXPECT_FALSE(enabled(d, "RadIps1")); // no base files set
        click(d, "RadIps3");
        EXPECT_TRUE(child(d, "RadIpsSh1")->isChecked());
        EXPECT_FALSE(enabled(d, "RadIpsSh2"));
        EXPECT_FALSE(enabled(d, "RadIpsSh3"));
        EXPECT_FALSE(enabled(d, "EditIpsSh"));
        EXPECT_FALSE(enabled(d, "RadSpe3")); // the plain patch's correction needs a trainer
        EXPECT_TRUE(enabled(d, "RadSpe5"));
        click(d, "BtnOk");
    });
    EXPECT_TRUE(f.window->ApplyIpsFile(fix, false));
    const qv::RomDocument& doc = f.window->document();
    EXPECT_EQ(doc.image()[0x107A], 0x08);
    EXPECT_EQ(doc.image()[0x3457], 0xEA);
    EXPECT_EQ(doc.image()[0x3459], 0xEA);
    EXPECT_EQ(doc.image()[0x345A], 0x00);
    EXPECT_EQ(f.window->windowTitle(), "game.nes * - Quorvane");
    EXPECT_EQ(readFile(game)[0x107A], 0x02); // not written
    EXPECT_FALSE(f.enabled("mmmUndo"));
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "Cannot &Undo");
    EXPECT_TRUE(f.platform.messages().isEmpty());
    const QByteArray ini = qv::test::readText(f.iniPath());
    EXPECT_TRUE(ini.contains("IpsOpen=1\r\nIpsPatch=3\r\n"));

    // Expanding with a trainer area: 41,488 bytes, the program moved up by 512.
    const QString empty = f.path("empty.ips");
    writeText(empty, "PATCHEOF");
    f.platform.driveDialog([](QDialog& d) {
        EXPECT_TRUE(child(d, "RadIps3")->isChecked()); // remembered
        EXPECT_FALSE(child<QWidget>(d, "GrpSpe")->isVisibleTo(&d));
        click(d, "BtnAdv");
        EXPECT_TRUE(child<QWidget>(d, "GrpSpe")->isVisibleTo(&d));
        EXPECT_FALSE(enabled(d, "BtnAdv"));
        click(d, "RadSpe5");
        click(d, "BtnOk");
    });
    EXPECT_TRUE(f.window->ApplyIpsFile(empty, false));
    EXPECT_EQ(doc.fileSize(), 41488);
    EXPECT_EQ(f.window->statusPanel(1), "41,488 bytes");
    EXPECT_EQ(doc.image()[0x10], 0x00);
    EXPECT_EQ(doc.image()[0x210], 0x4E);
    EXPECT_EQ(doc.image()[0x127A], 0x08);
}

TEST(IpsApply, OnBaseFileOneOpensUnderTheNewNameWithoutSaving) {
    WindowFixture f;
    const QString base = writeImage(f.path("base.nes"), 40976, {{0x107A, 0x02}});
    f.window->settings().nesFile[0] = base.toStdString();
    const QString hack = f.path("hack.ips");
    writeText(hack, patch({0x00, 0x10, 0x7A, 0x00, 0x01, 0x08}));
    f.platform.driveDialog([&](QDialog& d) {
        EXPECT_TRUE(child(d, "RadIps1")->isChecked());
        EXPECT_FALSE(enabled(d, "RadIps2"));
        EXPECT_FALSE(enabled(d, "RadIps3")); // no document
        EXPECT_TRUE(child(d, "RadIpsSh1")->isChecked());
        EXPECT_EQ(child<QLabel>(d, "LabIpsSh")->text(), "Temporary Patched NES &File Name:");
        EXPECT_EQ(text(d, "EditIpsSh"), f.path("hack.nes"));
        click(d, "RadIpsSh2");
        EXPECT_EQ(child<QLabel>(d, "LabIpsSh")->text(), "Save Patched NES &File As:");
        click(d, "RadIpsSh1");
        click(d, "BtnOk");
    });
    EXPECT_TRUE(f.window->ApplyIpsFile(hack, false));
    EXPECT_EQ(f.window->windowTitle(), "hack.nes * - Quorvane");
    EXPECT_FALSE(QFile::exists(f.path("hack.nes")));
    EXPECT_EQ(readFile(base)[0x107A], 0x02);
    EXPECT_EQ(f.window->document().image()[0x107A], 0x08);
    EXPECT_TRUE(f.enabled("BtnMario"));
    EXPECT_EQ(f.window->findChild<QLineEdit*>("EditAdr1")->text(), "0000");

    f.platform.answer(Answer::Cancel);
    f.window->mmmCloseClick();
    EXPECT_EQ(f.platform.messages(), QStringList{kCloseUnsaved});
    EXPECT_EQ(f.window->windowTitle(), "hack.nes * - Quorvane");

    // Save has no file to overwrite: it asks for a name, starting at the new one.
    f.platform.choosePath(f.path("hack.nes"));
    f.window->mmmSaveClick();
    EXPECT_EQ(f.platform.shown().back().kind, Shown::SaveDialog);
    EXPECT_EQ(f.platform.shown().back().text, f.path("hack.nes"));
    EXPECT_EQ(readFile(f.path("hack.nes")).size(), 40976u);
    EXPECT_EQ(readFile(f.path("hack.nes"))[0x107A], 0x08);
    EXPECT_EQ(f.window->windowTitle(), "hack.nes - Quorvane");
}

TEST(IpsApply, SaveOnlyAndSaveAndOpenWriteTheResult) {
    WindowFixture f("[qorv]\r\nBackup=2\r\n");
    const QString base = writeImage(f.path("base.nes"), 40976);
    f.window->settings().nesFile[0] = base.toStdString();
    const QString game = writeImage(f.path("game.nes"), 40976);
    const QString out = writeImage(f.path("out.nes"), 40976, {{0x10, 0x77}});
    const QString hack = f.path("hack.ips");
    writeText(hack, patch({0x00, 0x10, 0x7A, 0x00, 0x01, 0x08}));
    f.window->LoadNesFile(game);

    f.platform.driveDialog([&](QDialog& d) {
        click(d, "RadIps1");
        click(d, "RadIpsSh3");
        child<QLineEdit>(d, "EditIpsSh")->setText(out);
        click(d, "BtnOk");
    });
    f.platform.answer(Answer::Yes);
    EXPECT_TRUE(f.window->ApplyIpsFile(hack, false));
    EXPECT_EQ(f.platform.messages(),
              QStringList{"A file with the same name as the patched NES file already exists.\r\n"
                          "Do you want to overwrite the file?"});
    EXPECT_EQ(readFile(out)[0x107A], 0x08);
    EXPECT_EQ(readFile(out)[0x10], 0x00);
    EXPECT_EQ(readFile(f.path("out.~nes"))[0x10], 0x77);
    EXPECT_EQ(f.window->windowTitle(), "game.nes - Quorvane"); // the document is not touched

    // Save and open, after declining to save the edited document first.
    f.edit(0x20, 0x01);
    f.platform.clear();
    f.platform.driveDialog([&](QDialog& d) {
        EXPECT_TRUE(child(d, "RadIpsSh3")->isChecked()); // remembered
        click(d, "RadIpsSh2");
        child<QLineEdit>(d, "EditIpsSh")->setText(f.path("saved.nes"));
        click(d, "BtnOk");
    });
    f.platform.answer(Answer::No);
    EXPECT_TRUE(f.window->ApplyIpsFile(hack, false));
    EXPECT_EQ(f.platform.messages(),
              QStringList{
                  "The current file has been modified\r\nSave changes before applying the patch?"});
    EXPECT_EQ(readFile(f.path("saved.nes"))[0x107A], 0x08);
    EXPECT_EQ(readFile(game)[0x20], 0x00);
    EXPECT_EQ(f.window->windowTitle(), "saved.nes - Quorvane");
    EXPECT_FALSE(f.window->statusPanel(2).isEmpty());
    EXPECT_TRUE(qv::test::readText(f.iniPath()).contains("IpsOpen=2\r\nIpsPatch=1\r\n"));
}

TEST(IpsApply, ARefusedPatchChangesNothing) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976, {{0x107A, 0x02}});
    f.window->settings().nesFile[0] = writeImage(f.path("base.nes"), 40976).toStdString();
    f.window->LoadNesFile(game);
    const QString bad = f.path("bad.ips");
    struct Case {
        QByteArray bytes;
        int mode; // the RadSpe button, 1 = none
        const char* message;
    };
    const Case cases[] = {
        {QByteArray("PATCH\x00\x10\x7A\x00\x01\x08", 11), 1, "EOF cannot be found."},
        {QByteArray("PATCX\x00\x10\x7A\x00\x01\x08"
                    "EOF",
                    14),
         1, "Invalid data in IPS file."},
        {patch({0x00, 0xA0, 0x10, 0x00, 0x01, 0x08}), 1,
         "Addresses beyond 40,976 bytes are written by the IPS file."},
        // A good record first: nothing of it may be written either.
        {patch({0x00, 0x10, 0x7A, 0x00, 0x01, 0x08, 0x00, 0x00, 0x14, 0x00, 0x01, 0x08}), 2,
         "Unable to patch the trainer area using the selected correction feature.\r\n"
         "The patch cannot be applied with current settings."},
    };
    for (const Case& c : cases) {
        writeText(bad, c.bytes);
        for (const char* source : {"RadIps3", "RadIps1"}) {
            f.platform.clear();
            f.platform.driveDialog([&](QDialog& d) {
                click(d, source);
                click(d, "RadIpsSh3");
                child<QLineEdit>(d, "EditIpsSh")->setText(f.path("out.nes"));
                click(d, "BtnAdv");
                click(d, QByteArray("RadSpe" + QByteArray::number(c.mode)).constData());
                click(d, "BtnOk");
            });
            EXPECT_FALSE(f.window->ApplyIpsFile(bad, false)) << c.message;
            EXPECT_EQ(f.platform.messages(), QStringList{c.message}) << source;
            EXPECT_FALSE(QFile::exists(f.path("out.nes")));
            EXPECT_EQ(f.window->document().image()[0x107A], 0x02);
            EXPECT_EQ(f.window->windowTitle(), "game.nes - Quorvane");
        }
    }
}

TEST(IpsApply, StartUpWithAPatchThatFailsOrIsCancelledEndsTheProgram) {
    {
        WindowFixture f;
        f.window->settings().nesFile[0] = writeImage(f.path("base.nes"), 40976).toStdString();
        writeImage(f.path("zeros.ips"), 20);
        f.platform.driveDialog([](QDialog& d) { click(d, "BtnOk"); });
        EXPECT_FALSE(f.window->handleCommandLine({f.path("zeros.ips")}));
        EXPECT_EQ(f.platform.messages(), QStringList{"Invalid data in IPS file."});
        EXPECT_FALSE(f.window->document().isOpen());
    }
    {
        // Nothing to patch: OK stays disabled and Cancel is the only way out.
        WindowFixture f;
        writeText(f.path("fix.ips"), "PATCHEOF");
        f.platform.driveDialog([](QDialog& d) {
            EXPECT_FALSE(enabled(d, "BtnOk"));
            click(d, "BtnOk");
            click(d, "BtnCancel");
        });
        EXPECT_FALSE(f.window->handleCommandLine({f.path("fix.ips")}));
        EXPECT_EQ(f.platform.messages(),
                  QStringList{"Applying the IPS file requires a NES file.\r\n"
                              "Set the file path in Editor Options."});
    }
    {
        WindowFixture f;
        f.window->settings().nesFile[1] = writeImage(f.path("base.nes"), 41488).toStdString();
        writeText(f.path("fix.ips"), "PATCHEOF");
        f.platform.driveDialog([](QDialog& d) {
            EXPECT_TRUE(child(d, "RadIps2")->isChecked()); // the one that can be used
            click(d, "BtnOk");
        });
        EXPECT_TRUE(f.window->handleCommandLine({f.path("fix.ips")}));
        EXPECT_EQ(f.window->windowTitle(), "fix.nes * - Quorvane");
        EXPECT_EQ(f.window->statusPanel(1), "41,488 bytes");
    }
}

TEST(IpsApply, MenuAndDroppedPatchesReachTheDialog) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("game.nes"), 40976));
    const QString dropped = f.path("drop.ips");
    writeText(dropped, "PATCHEOF");
    f.platform.driveDialog([](QDialog& d) { click(d, "BtnCancel"); });
    f.window->handleDroppedFiles({dropped});
    EXPECT_EQ(f.platform.shown().back().kind, Shown::Modal);
    EXPECT_EQ(f.platform.shown().back().text, "Open IPS File - drop.ips");

    // Open IPS File starts beside the document, then at the patch chosen last.
    f.platform.clear();
    f.platform.choosePath(dropped);
    f.platform.driveDialog([](QDialog& d) { click(d, "BtnCancel"); });
    f.window->findChild<QAction*>("mmmIpsOpen")->trigger();
    f.platform.choosePath(QString());
    f.window->mmmIpsOpenClick();
    ASSERT_EQ(f.platform.shown().size(), 3u);
    EXPECT_EQ(f.platform.shown()[0].text, f.path("*.ips"));
    EXPECT_EQ(f.platform.shown()[2].text, dropped);
    EXPECT_TRUE(f.platform.scriptUsedUp());
}

TEST(IpsOpenDialog, OutputNameChecksAndSourceRules) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::Settings settings;
    qv::RomDocument doc;
    doc.replace(Bytes(41488, 0), dir.filePath("game.nes").toStdString());
    int optionRuns = 0;
    qv::TFormIpsOpen d(dir.filePath("p.ips"), settings, doc, [&] {
        ++optionRuns;
        settings.nesFile[0] = writeImage(dir.filePath("base.nes"), 40976).toStdString();
    });
    d.prepare(1, 1);
    d.FormShow(false);
    EXPECT_TRUE(platform.messages().isEmpty()); // the document can be patched
    EXPECT_TRUE(child(d, "RadIps3")->isChecked());
    // A document with trainer takes only the plain patch's correction.
    EXPECT_TRUE(enabled(d, "RadSpe3"));
    for (const char* off : {"RadSpe2", "RadSpe4", "RadSpe5", "RadIps1"})
        EXPECT_FALSE(enabled(d, off));
    click(d, "BtnOption");
    EXPECT_EQ(optionRuns, 1);
    EXPECT_TRUE(enabled(d, "RadIps1"));
    click(d, "RadIps1");
    EXPECT_TRUE(enabled(d, "RadSpe2"));
    EXPECT_FALSE(enabled(d, "RadSpe3"));

    const std::pair<QString, const char*> refused[] = {
        {dir.filePath("none/x.nes"), "Invalid folder for patched NES file.\r\n"
                                     "Check the file path in the Editor Options menu."},
        {dir.filePath(".nes"), "Patched NES filename invalid.\r\n"
                               "Check the file path in the Editor Options menu."},
        {QString(),
         "Patched NES filename invalid.\r\nCheck the file path in the Editor Options menu."},
        {dir.filePath("x.bin"), "The extension for the patched NES file is not \".nes\".\r\n"
                                "Please set the extension to \".nes\"."},
    };
    for (const auto& [name, message] : refused) {
        platform.clear();
        child<QLineEdit>(d, "EditIpsSh")->setText(name);
        EXPECT_FALSE(d.FormCloseQuery()) << name.toStdString();
        EXPECT_EQ(platform.messages(), QStringList{message});
    }
    platform.clear();
    child<QLineEdit>(d, "EditIpsSh")->setText(dir.filePath("base.nes"));
    platform.answer(Answer::No);
    EXPECT_FALSE(d.FormCloseQuery());
    EXPECT_EQ(platform.messages(),
              QStringList{
                  "A file with the same name as the temporary patched NES file already exists.\r\n"
                  "The data will be overwritten and opened in Quorvane.\r\n"
                  "Are you sure you want to continue?"});
    child<QLineEdit>(d, "EditIpsSh")->setText(dir.filePath("new.NES"));
    EXPECT_TRUE(d.FormCloseQuery());

    // Dropped names: only over the file-name area, and only NES files.
    platform.clear();
    d.dropFile(dir.filePath("other.nes"), true);
    EXPECT_EQ(text(d, "EditIpsSh"), dir.filePath("other.nes"));
    d.dropFile(dir.filePath("p.ips"), true);
    d.dropFile(dir.filePath("x.nes"), false);
    EXPECT_EQ(platform.messages(), QStringList{"Only NES files may be used."});
    EXPECT_EQ(text(d, "EditIpsSh"), dir.filePath("other.nes"));
}

TEST(IpsCreate, IdenticalFilesAreRefusedUnderIpsIdentity) {
    WindowFixture f;
    const QString game = writeImage(f.path("game.nes"), 40976, {{0x107A, 0x02}});
    QFile::copy(game, f.path("base.nes"));
    f.window->settings().nesFile[0] = f.path("base.nes").toStdString();
    f.window->LoadNesFile(game);
    f.platform.driveDialog([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Create IPS File");
        EXPECT_EQ(child<QLabel>(d, "LabIpsNes")->text(), "40,976 byte NES files may be used.");
        EXPECT_TRUE(child(d, "RadIpsNes1")->isChecked());
        EXPECT_FALSE(enabled(d, "RadIpsNes2"));
        EXPECT_FALSE(enabled(d, "EditIpsNes"));
        EXPECT_EQ(text(d, "EditIpsNes"), f.path("base.nes"));
        EXPECT_EQ(text(d, "EditIpsName"), f.path("game.ips"));
        click(d, "BtnOk");
    });
    f.window->mmmIpsMakeClick();
    EXPECT_EQ(
        f.platform.messages(),
        QStringList{"The current NES file and comparison file are identical.\r\n"
                    "Either the file was not edited or the same file was used to create the IPS."});
    EXPECT_FALSE(QFile::exists(f.path("game.ips")));

    // Without the check the patch holds nothing but its header and end marker.
    f.window->settings().ipsIdentity = false;
    f.platform.clear();
    f.platform.driveDialog([](QDialog& d) { click(d, "BtnOk"); });
    f.window->findChild<QAction*>("mmmIpsMake")->trigger();
    EXPECT_EQ(f.platform.messages(), QStringList{"IPS file created successfully."});
    EXPECT_EQ(readFile(f.path("game.ips")), Bytes({'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'}));
}

TEST(IpsCreate, WritesTheDifferenceAndKeepsOneBackup) {
    WindowFixture f("[qorv]\r\nBackup=2\r\nIpsMaking=1\r\n");
    const QString game = writeImage(f.path("game.nes"), 40976, {{0x107A, 0x02}});
    f.window->settings().nesFile[0] =
        writeImage(f.path("base.nes"), 40976, {{0x107A, 0x02}}).toStdString();
    f.window->LoadNesFile(game);
    f.edit(0x107A, 0x08);
    f.platform.driveDialog([](QDialog& d) { click(d, "BtnOk"); });
    f.window->mmmIpsMakeClick();
    const Bytes first{0x50, 0x41, 0x54, 0x43, 0x48, 0x00, 0x10,
                      0x7A, 0x00, 0x01, 0x08, 0x45, 0x4F, 0x46};
    EXPECT_EQ(readFile(f.path("game.ips")), first);
    EXPECT_TRUE(f.platform.messages().isEmpty()); // IpsMaking off: no report

    f.edit(0x593C, 0xA6);
    f.edit(0x593D, 0x08);
    f.edit(0x593E, 0x60);
    f.platform.driveDialog([](QDialog& d) { click(d, "BtnOk"); });
    f.platform.answer(Answer::Yes);
    f.window->mmmIpsMakeClick();
    EXPECT_EQ(f.platform.messages(),
              QStringList{"A file with the same name as the output IPS file already exists.\r\n"
                          "Do you want to overwrite the file?"});
    const Bytes second{0x50, 0x41, 0x54, 0x43, 0x48, 0x00, 0x10, 0x7A, 0x00, 0x01, 0x08,
                       0x00, 0x59, 0x3C, 0x00, 0x03, 0xA6, 0x08, 0x60, 0x45, 0x4F, 0x46};
    EXPECT_EQ(readFile(f.path("game.ips")), second);
    EXPECT_EQ(readFile(f.path("game.~ips")), first);
    EXPECT_EQ(QDir(f.dir.path()).entryList({"*ips*"}, QDir::Files).size(), 2);
}

TEST(IpsMakeDialog, ChecksTheBaseAgainstTheDocumentSize) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::Settings settings;
    settings.nesFile[1] = writeImage(dir.filePath("base2.nes"), 41488).toStdString();
    qv::TFormIpsMake d(settings, 41488, dir.filePath("game.nes"), {});
    d.FormShow();
    EXPECT_FALSE(enabled(d, "RadIpsNes1"));
    EXPECT_TRUE(child(d, "RadIpsNes2")->isChecked());
    EXPECT_EQ(child<QLabel>(d, "LabIpsNes")->text(), "41,488 byte NES files may be used.");
    EXPECT_TRUE(d.FormCloseQuery());

    // An external ROM must have the document's size too.
    click(d, "RadIpsNes3");
    EXPECT_TRUE(enabled(d, "EditIpsNes"));
    const std::pair<QString, const char*> refused[] = {
        {dir.filePath("none.nes"), "The NES file does not exist or its path is invalid.\r\n"
                                   "Check the NES file settings in Editor Options."},
        {writeImage(dir.filePath("base.bin"), 41488),
         "The NES file is not the correct format.\r\n"
         "Check the NES file settings in Editor Options."},
        {writeImage(dir.filePath("plain.nes"), 40976), "The NES file used is not 41,488 bytes.\r\n"
                                                       "Select a 41,488 byte NES file to use."},
    };
    for (const auto& [name, message] : refused) {
        platform.clear();
        child<QLineEdit>(d, "EditIpsNes")->setText(name);
        EXPECT_FALSE(d.FormCloseQuery()) << name.toStdString();
        EXPECT_EQ(platform.messages(), QStringList{message});
    }
    child<QLineEdit>(d, "EditIpsNes")->setText(QString());
    EXPECT_FALSE(enabled(d, "BtnOk"));
    child<QLineEdit>(d, "EditIpsNes")->setText(writeImage(dir.filePath("ext.nes"), 41488));
    EXPECT_TRUE(enabled(d, "BtnOk"));
    platform.clear();
    child<QLineEdit>(d, "EditIpsName")->setText(dir.filePath("game.txt"));
    EXPECT_FALSE(d.FormCloseQuery());
    EXPECT_EQ(platform.messages(),
              QStringList{"The extension for the output IPS file is not \".ips\".\r\n"
                          "Please set the extension to \".ips\"."});

    // A base dropped while a configured one is chosen becomes an external ROM.
    click(d, "RadIpsNes2");
    platform.clear();
    d.dropFile(dir.filePath("ext.nes"), qv::TFormIpsMake::InputArea);
    EXPECT_TRUE(child(d, "RadIpsNes3")->isChecked());
    EXPECT_EQ(text(d, "EditIpsNes"), dir.filePath("ext.nes"));
    d.dropFile(dir.filePath("ext.nes"), qv::TFormIpsMake::OutputArea);
    EXPECT_EQ(platform.messages(), QStringList{"Only IPS files may be used."});
}

// Without a Default NES File the dialog says where one is set and offers Browse...,
// which picks an external ROM instead.
TEST(IpsMakeDialog, WithoutADefaultFileItSaysWhereAndOffersBrowse) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::Settings settings; // no base file set
    qv::TFormIpsMake d(settings, 40976, dir.filePath("game.nes"), {});
    d.FormShow();
    EXPECT_TRUE(child(d, "RadIpsNes1")->isChecked());
    EXPECT_FALSE(enabled(d, "BtnOk"));
    auto* note = child<QLabel>(d, "LabIpsNesUnset");
    EXPECT_TRUE(note->isVisibleTo(&d));
    EXPECT_EQ(note->text(), "No Default NES File is set. Set it under Tools > Editor Options > "
                            "IPS (Options here), or choose the unmodified game with Browse...");

    const QString base = writeImage(dir.filePath("clean.nes"), 40976);
    platform.choosePath(base);
    click(d, "BtnIpsNesBrowse");
    EXPECT_TRUE(child(d, "RadIpsNes3")->isChecked());
    EXPECT_EQ(text(d, "EditIpsNes"), base);
    EXPECT_TRUE(enabled(d, "BtnOk"));
    EXPECT_FALSE(note->isVisibleTo(&d));
    EXPECT_TRUE(platform.scriptUsedUp());

    // A configured file: no note.
    settings.nesFile[0] = base.toStdString();
    click(d, "RadIpsNes1");
    EXPECT_FALSE(note->isVisibleTo(&d));
}

// Details on an image that already holds the patch says so instead of "0 parameters".
TEST(IpsOpenDialog, DetailsOnAnImageThatHoldsThePatchSaysItIsApplied) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::Settings settings;
    qv::RomDocument doc;
    std::vector<std::uint8_t> image(40976, 0);
    image[0x3454] = 0x20;
    image[0x3455] = 0x21;
    doc.replace(image, dir.filePath("game.nes").toStdString());
    const QString patch = dir.filePath("p.ips");
    writeText(patch, QByteArray("PATCH\x00\x34\x54\x00\x02\x20\x21"
                                "EOF",
                                15));
    qv::TFormIpsOpen d(patch, settings, doc, {});
    d.prepare(3, 1);
    EXPECT_EQ(d.detailsText(), "already applied: all 2 bytes already hold the patched values\n");
}
