// The editor on the desktop: its window icon, and Test Play with stub emulators
// (shell scripts that record what they were given).
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "core/fileio.h"
#include "gui/about/aboutdialog.h"
#include "gui/main/testplay.h"
#include "gui/settings/optionsdialog.h"
#include "gui/support/fixtures.h"

using qv::test::readFile;
using qv::test::readText;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;
using qv::test::writeText;

namespace {

const QString kNoEmulator = QStringLiteral(
    "No emulator was found for Test Play.\r\n"
    "Enter its command under Tools > Editor Options > External Editors > Test Play Emulator "
    "(%f stands for the game file), or install fceux, nestopia or mednafen.");

// PATH for the length of a test: only the folder given.
class PathOnly {
  public:
    explicit PathOnly(const QString& folder) : saved_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(folder));
    }
    ~PathOnly() { qputenv("PATH", saved_); }

  private:
    QByteArray saved_;
};

// The games folders for the length of a test: only those given.
class GameFoldersOnly {
  public:
    explicit GameFoldersOnly(const QStringList& folders) : saved_(qv::gameFolders()) {
        qv::gameFolders() = folders;
    }
    ~GameFoldersOnly() { qv::gameFolders() = saved_; }

  private:
    QStringList saved_;
};

// An emulator that copies the game it is given and then lists its name and
// arguments, one a line, in `record` (written last, so its presence means done).
void writeStub(const QString& path, const QString& record, const QString& copy) {
    writeText(path, QStringLiteral("#!/bin/sh\n"
                                   "/bin/cat \"$1\" > '%2'\n"
                                   "/usr/bin/printf '%s\\n' \"${0##*/}\" \"$#\" \"$@\" > '%1.tmp'\n"
                                   "/bin/mv '%1.tmp' '%1'\n")
                        .arg(record, copy)
                        .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(TestPlay, HandsTheEditedImageToTheFirstEmulatorFoundAndRemovesItAtExit) {
    WindowFixture f;
    const QString bin = f.path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QString record = f.path(QStringLiteral("args.txt"));
    const QString copy = f.path(QStringLiteral("played.nes"));
    // No fceux here: nestopia is the first of the three on PATH.
    writeStub(bin + QStringLiteral("/nestopia"), record, copy);
    writeStub(bin + QStringLiteral("/mednafen"), record, copy);
    PathOnly path(bin);
    GameFoldersOnly games({});

    QAction* play = f.window->findChild<QAction*>(QStringLiteral("mmmTestPlay"));
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(play->text(), QStringLiteral("&Test Play"));
    EXPECT_FALSE(play->isEnabled()); // nothing to play without a game

    const QString game = writeImage(f.path(QStringLiteral("game.nes")), 40976, {{0x107A, 0x02}});
    f.window->LoadNesFile(game);
    ASSERT_TRUE(play->isEnabled());
    f.edit(0x107A, 0x08); // lives, not saved
    ASSERT_EQ(readFile(game)[0x107A], 0x02);

    // The real platform starts the stub; the scripted one would only record it.
    qv::setPlatform(nullptr);
    play->trigger();
    qv::setPlatform(&f.platform);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(record); }, 10000));

    const QStringList lines = QString::fromUtf8(readText(record)).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("nestopia"));
    EXPECT_EQ(lines[1], QStringLiteral("1"));
    const QString played = lines[2];
    EXPECT_EQ(QFileInfo(played).fileName(), QStringLiteral("game.nes"));
    EXPECT_NE(QFileInfo(played).absolutePath(), QFileInfo(game).absolutePath());
    const std::vector<std::uint8_t> bytes = readFile(copy);
    ASSERT_EQ(bytes.size(), 40976u);
    EXPECT_EQ(bytes[0x107A], 0x08);
    EXPECT_EQ(bytes[0x0000], 0x00);
    EXPECT_TRUE(QFileInfo::exists(played));
    EXPECT_EQ(readFile(game)[0x107A], 0x02); // the game file itself is untouched
    EXPECT_TRUE(f.window->document().modified());
    EXPECT_TRUE(f.platform.messages().isEmpty());

    f.window.reset(); // the editor exits
    EXPECT_FALSE(QFileInfo::exists(played));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(played).absolutePath()));
}

TEST(TestPlay, TheConfiguredCommandGetsTheFileWherePercentFStands) {
    QTemporaryDir dir;
    const QString emu = dir.filePath(QStringLiteral("emu"));
    writeStub(emu, dir.filePath(QStringLiteral("r")), dir.filePath(QStringLiteral("c")));
    PathOnly path(dir.path());
    GameFoldersOnly games({});
    const QString file = QStringLiteral("/tmp/x y/game.nes");

    auto c =
        qv::emulatorCommand(QStringLiteral("emu --fullscreen 1 \"--title=My Game\" %f -v"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, emu); // found on PATH, given as a full path
    EXPECT_EQ(c->arguments,
              (QStringList{QStringLiteral("--fullscreen"), QStringLiteral("1"),
                           QStringLiteral("--title=My Game"), file, QStringLiteral("-v")}));
    // %f inside a word; no %f at all puts the file last.
    c = qv::emulatorCommand(QStringLiteral("  emu --rom=%f"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->arguments, QStringList{QStringLiteral("--rom=/tmp/x y/game.nes")});
    c = qv::emulatorCommand(emu + QStringLiteral(" -f"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, emu);
    EXPECT_EQ(c->arguments, (QStringList{QStringLiteral("-f"), file}));
    // A shell's syntax is just text: nothing here is run by a shell.
    c = qv::emulatorCommand(QStringLiteral("emu %f; rm -rf ~"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->arguments, (QStringList{file + QStringLiteral(";"), QStringLiteral("rm"),
                                         QStringLiteral("-rf"), QStringLiteral("~")}));

    EXPECT_FALSE(qv::emulatorCommand(QStringLiteral("missing-emu %f"), file).has_value());
    EXPECT_FALSE(qv::emulatorCommand(dir.filePath(QStringLiteral("r")), file).has_value());
    EXPECT_FALSE(qv::emulatorCommand(QString(), file).has_value()); // none of the three
}

// Debian's emulators live in /usr/games, often not on PATH: found there too, after PATH,
// whether the command is empty or names one.
TEST(TestPlay, EmulatorsInTheGamesFoldersAreFoundOffThePath) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("bin")));
    QDir().mkpath(dir.filePath(QStringLiteral("games")));
    const QString games = dir.filePath(QStringLiteral("games"));
    writeStub(games + QStringLiteral("/mednafen"), dir.filePath(QStringLiteral("r")),
              dir.filePath(QStringLiteral("c")));
    writeStub(games + QStringLiteral("/nestopia"), dir.filePath(QStringLiteral("r")),
              dir.filePath(QStringLiteral("c")));
    PathOnly path(dir.filePath(QStringLiteral("bin")));
    GameFoldersOnly only({dir.filePath(QStringLiteral("none")), games});
    const QString file = QStringLiteral("/tmp/game.nes");

    auto c = qv::emulatorCommand(QString(), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, games + QStringLiteral("/nestopia")); // the order of the three holds
    EXPECT_EQ(c->arguments, QStringList{file});
    c = qv::emulatorCommand(QStringLiteral("mednafen -force_module nes %f"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, games + QStringLiteral("/mednafen"));

    // One on PATH comes first.
    writeStub(dir.filePath(QStringLiteral("bin/mednafen")), dir.filePath(QStringLiteral("r")),
              dir.filePath(QStringLiteral("c")));
    c = qv::emulatorCommand(QStringLiteral("mednafen %f"), file);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->program, dir.filePath(QStringLiteral("bin/mednafen")));
    EXPECT_FALSE(qv::emulatorCommand(QStringLiteral("fceux %f"), file).has_value());
}

TEST(TestPlay, WithoutAnEmulatorOrItsFileOnlyAMessageAppears) {
    WindowFixture f;
    const QString empty = f.path(QStringLiteral("empty"));
    QDir().mkpath(empty);
    PathOnly path(empty);
    GameFoldersOnly games({});
    f.window->LoadNesFile(writeImage(f.path(QStringLiteral("game.nes")), 41488));
    f.edit(0x107A + 512, 0x08);

    f.window->findChild<QAction*>(QStringLiteral("mmmTestPlay"))->trigger();
    ASSERT_EQ(f.platform.shown().size(), 1u);
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::Warning);
    EXPECT_EQ(f.platform.shown()[0].text, kNoEmulator);

    // A configured program that is not there is named in the message.
    f.platform.clear();
    f.window->settings().emulator = "snes9x-gtk %f";
    f.window->findChild<QAction*>(QStringLiteral("mmmTestPlay"))->trigger();
    EXPECT_EQ(f.platform.messages(),
              QStringList{QStringLiteral(
                  "The emulator \"snes9x-gtk\" was not found.\r\nCheck the Test Play Emulator "
                  "under Tools > Editor Options > External Editors.")});
    for (const Shown& s : f.platform.shown())
        EXPECT_NE(s.kind, Shown::Start);

    // The emulator is there, but the game cannot be written for it.
    const QString emu = f.path(QStringLiteral("empty/emu"));
    writeStub(emu, f.path(QStringLiteral("r")), f.path(QStringLiteral("c")));
    f.window->settings().emulator = "emu %f";
    f.platform.clear();
    qv::setWriteFailureForTesting(true);
    f.window->findChild<QAction*>(QStringLiteral("mmmTestPlay"))->trigger();
    qv::setWriteFailureForTesting(false);
    ASSERT_EQ(f.platform.shown().size(), 1u);
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::Error);
    EXPECT_TRUE(f.platform.shown()[0].text.startsWith(
        QStringLiteral("The game could not be written for Test Play.\r\n")));

    // Written and started: the scripted platform records the start.
    f.platform.clear();
    f.window->findChild<QAction*>(QStringLiteral("mmmTestPlay"))->trigger();
    ASSERT_EQ(f.platform.shown().size(), 1u);
    EXPECT_EQ(f.platform.shown()[0].kind, Shown::Start);
    EXPECT_EQ(f.platform.shown()[0].text, emu);
    ASSERT_EQ(f.platform.shown()[0].arguments.size(), 1);
    const std::vector<std::uint8_t> played = readFile(f.platform.shown()[0].arguments[0]);
    ASSERT_EQ(played.size(), 41488u);
    EXPECT_EQ(played[0x107A + 512], 0x08);
}

TEST(TestPlay, TheCommandIsAnEditorOptionKeptInTheSettingsFile) {
    WindowFixture f("[qorv]\r\nEmulator=fceux --no-gui %f\r\n");
    EXPECT_EQ(f.window->settings().emulator, "fceux --no-gui %f");

    qv::TFormOption dialog(f.iniPath());
    dialog.load(f.window->settings());
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("EditEmulator"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("fceux --no-gui %f"));
    edit->setText(QStringLiteral("mednafen %f"));
    qv::Settings s = f.window->settings();
    dialog.store(s);
    EXPECT_EQ(s.emulator, "mednafen %f");
    edit->clear();
    dialog.store(s);
    EXPECT_EQ(s.emulator, "");
}

TEST(Desktop, TheWindowIconIsTheInstalledArtworkAtEverySize) {
    WindowFixture f;
    const QIcon icon = f.window->windowIcon();
    EXPECT_EQ(
        icon.availableSizes(),
        (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    // The 256-pixel picture: the red field at a corner, the white magnifier ring at the
    // top of its circle, and the transparent margin.
    const QImage big = icon.pixmap(QSize(256, 256)).toImage();
    ASSERT_EQ(big.size(), QSize(256, 256));
    EXPECT_EQ(big.pixelColor(40, 220), QColor(0xc8, 0x32, 0x28));
    EXPECT_EQ(big.pixelColor(128, 52), QColor(0xff, 0xff, 0xff));
    EXPECT_EQ(big.pixelColor(2, 2).alpha(), 0);
}

TEST(Desktop, TheProgramIconHasThePixelsOfEachCommittedPicture) {
    // Built into the program as pixels: each size as the PNG the desktop installs.
    const QIcon icon = qv::programIcon();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString png =
            QStringLiteral(QV_SOURCE_DIR "/data/icons/hicolor/%1x%1/apps/quorvane.png").arg(size);
        const QImage expected = QImage(png).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(expected.isNull()) << png.toStdString();
        EXPECT_EQ(icon.pixmap(QSize(size, size))
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  expected)
            << size;
    }
}

TEST(Desktop, TheAboutBoxShowsTheBuildsVersion) {
    // QV_VERSION is the project version, given to this file by the build as to the
    // programs' --version and the package.
    qv::TFormAbout about;
    auto* version = about.findChild<QLabel*>(QStringLiteral("LabVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Version " QV_VERSION));
}
