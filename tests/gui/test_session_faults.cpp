// The editor through sessions with faults: hostile files, other writers, full disks
// and signals. Whatever happens, no byte of the user's work is lost.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/fileio.h"
#include "gui/main/testplay.h"
#include "gui/support/fixtures.h"

using qv::Answer;
using qv::test::readFile;
using qv::test::readText;
using qv::test::Shown;
using qv::test::WindowFixture;
using qv::test::writeImage;
using qv::test::writeText;

namespace {

// Sets a file's modification time to the second and nanosecond.
void setModified(const QString& path, time_t seconds, long nanoseconds) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

timespec modifiedAt(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

void reactivate(WindowFixture& f) {
    f.window->applicationStateChanged(Qt::ApplicationInactive);
    f.window->applicationStateChanged(Qt::ApplicationActive);
}

const QString kChangedOutside =
    QStringLiteral("The file has been modified by another program.\r\nDo you want to reload it?");

} // namespace

TEST(SessionFaults, ADeeplyNestedPresetIsRefusedAndTheUnsavedEditStays) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976));
    f.edit(0x3454, 0x20);
    const QString deep = f.path("deep.json");
    writeText(deep, "{\"a\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + ",\"b\":1}");
    f.platform.choosePath(deep);
    f.window->mmmImportParamsClick();
    ASSERT_EQ(f.platform.messages().size(), 1);
    EXPECT_EQ(f.platform.messages()[0],
              "The parameters in " + deep +
                  " were not imported; nothing has changed.\r\n\r\nnot a preset: it nests "
                  "deeper than the 3 levels of a preset");
    EXPECT_EQ(f.window->document().image()[0x3454], 0x20);
    EXPECT_TRUE(f.window->document().modified());
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "&Undo (Mario)");
}

TEST(SessionFaults, AChangeWithinTheSameTwoSecondsIsNoticedAndTheStampShowsAsBefore) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976);
    setModified(game, 1000000000, 100000000); // an even second
    f.window->LoadNesFile(game);
    const QString shown = f.window->statusPanel(2);
    EXPECT_EQ(shown.size(), 19); // "2001/09/09 01:46:40" in local time
    EXPECT_EQ(shown.right(1).toInt() % 2, 0);

    // Another program writes the file in place 0.8 s later: same size, same second pair.
    writeImage(game, 40976, {{0x107A, 0x08}});
    setModified(game, 1000000000, 900000000);
    f.platform.answer(Answer::Yes);
    reactivate(f);
    EXPECT_EQ(f.platform.messages(), QStringList{kChangedOutside});
    EXPECT_EQ(f.window->document().image()[0x107A], 0x08);
    EXPECT_EQ(f.window->statusPanel(2), shown);

    // A new file put in its place with the same time and size is another file.
    f.platform.clear();
    const QString other = writeImage(f.path("other.nes"), 40976, {{0x107A, 0x03}});
    setModified(other, 1000000000, 900000000);
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(game).constData()),
              0);
    f.platform.answer(Answer::No);
    reactivate(f);
    EXPECT_EQ(f.platform.messages(), QStringList{kChangedOutside});
}

TEST(SessionFaults, AWriteInTheSameClockTickAsTheLoadIsFoundByItsContents) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    // Written in place so quickly that time, size and file are all as they were.
    const timespec loaded = modifiedAt(game);
    writeImage(game, 40976, {{0x107A, 0x08}});
    setModified(game, loaded.tv_sec, loaded.tv_nsec);
    f.platform.answer(Answer::No);
    reactivate(f);
    EXPECT_EQ(f.platform.messages(), QStringList{kChangedOutside});

    // Nothing is asked while the file is the one loaded.
    f.platform.clear();
    f.window->LoadNesFile(game);
    reactivate(f);
    EXPECT_TRUE(f.platform.messages().isEmpty());
}

TEST(SessionFaults, SaveAsksBeforeReplacingAFileAnotherProgramChanged) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    // The editor stays active; another program writes the lives.
    writeImage(game, 40976, {{0x107A, 0x08}});
    setModified(game, 1000000000, 0);
    f.edit(0x3454, 0x20);
    const QString question =
        "The file " + game +
        " has been changed by another program since it was opened or saved.\r\n"
        "Yes: replace it with this version\r\nNo: reload it, discarding your changes\r\n"
        "Cancel: leave both as they are";

    // Cancel: both stay as they are.
    f.platform.answer(Answer::Yes); // Overwrite the file?
    f.platform.answer(Answer::Cancel);
    f.window->mmmSaveClick();
    EXPECT_EQ(f.platform.messages(), (QStringList{"Overwrite the file?", question}));
    EXPECT_EQ(readFile(game)[0x107A], 0x08);
    EXPECT_EQ(readFile(game)[0x3454], 0x00);
    EXPECT_TRUE(f.window->document().modified());

    // No: the other program's file is loaded.
    f.platform.clear();
    f.platform.answer(Answer::Yes);
    f.platform.answer(Answer::No);
    f.window->mmmSaveClick();
    EXPECT_EQ(f.platform.messages(), (QStringList{"Overwrite the file?", question}));
    EXPECT_EQ(f.window->document().image()[0x107A], 0x08);
    EXPECT_EQ(f.window->document().image()[0x3454], 0x00);
    EXPECT_FALSE(f.window->document().modified());

    // Yes: this version replaces it; the next save asks nothing more.
    writeImage(game, 40976, {{0x107A, 0x03}});
    setModified(game, 1000000002, 0);
    f.edit(0x3454, 0x20);
    f.platform.clear();
    f.platform.answer(Answer::Yes);
    f.platform.answer(Answer::Yes);
    f.window->mmmSaveClick();
    EXPECT_EQ(readFile(game)[0x107A], 0x08);
    EXPECT_EQ(readFile(game)[0x3454], 0x20);
    f.edit(0x3454, 0x21);
    f.platform.clear();
    f.platform.answer(Answer::Yes);
    f.window->mmmSaveClick();
    EXPECT_EQ(f.platform.messages(), QStringList{"Overwrite the file?"});
    EXPECT_EQ(readFile(game)[0x3454], 0x21);
}

TEST(SessionFaults, WithoutASettingsFileTheSettingsLiveInMemory) {
    qv::test::ScriptedPlatform platform;
    QTemporaryDir dir;
    qv::TForm1 window(QString(), QStringLiteral("/opt/quorvane/quorvane"));
    EXPECT_EQ(window.statusPanel(2), "Settings not saved");
    EXPECT_EQ(window.findChild<QLabel*>("StBar1Panel2")->toolTip(),
              "No home folder was found: the settings are kept in memory until the editor "
              "ends.");
    window.mmmToolBarClick();
    EXPECT_FALSE(window.settings().toolBar);
    const QString game = writeImage(dir.filePath("g.nes"), 40976);
    window.LoadNesFile(game);
    window.BuildRecentMenus();
    bool listed = false;
    for (QAction* a : window.recentMenu()->actions())
        listed = listed || a->text() == "&1 " + game;
    EXPECT_TRUE(listed);
    EXPECT_TRUE(platform.messages().isEmpty());
    window.setAttribute(Qt::WA_DeleteOnClose, false);
}

namespace {

// A child process that writes a Test Play copy, says so through a pipe, and waits.
pid_t childWithTestPlayCopy() {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        qv::TestPlayFiles files;
        QString error;
        const std::vector<std::uint8_t> image(40976, 0);
        const QString path = files.write(image, QStringLiteral("g.nes"), error);
        const char ok = path.isEmpty() ? '0' : '1';
        if (::write(ready[1], &ok, 1) != 1) ::_exit(2);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    const bool written = ::read(ready[0], &ok, 1) == 1 && ok == '1';
    ::close(ready[0]);
    if (!written) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

} // namespace

TEST(SessionFaults, TestPlayCopiesDoNotOutliveASignalOrACrash) {
    QTemporaryDir tmp;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const auto entries = [&] {
        return QDir(tmp.path())
            .entryList({QStringLiteral("quorvane-play*")}, QDir::AllEntries | QDir::Hidden);
    };
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t pid = childWithTestPlayCopy();
        ASSERT_GT(pid, 0);
        EXPECT_EQ(entries().size(), 1);
        ::kill(pid, sig);
        int ws = 0;
        ::waitpid(pid, &ws, 0);
        EXPECT_TRUE(WIFSIGNALED(ws) && WTERMSIG(ws) == sig) << sig;
        EXPECT_TRUE(entries().isEmpty()) << sig << " left " << entries().join(' ').toStdString();
    }

    // A crash leaves the copy; the next editor to start removes it.
    const pid_t pid = childWithTestPlayCopy();
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(entries().size(), 1);
    // Another program's folder of the same look is not ours.
    QDir(tmp.path()).mkdir(QStringLiteral("quorvane-play-notours"));
    {
        WindowFixture f;
        QCoreApplication::processEvents();
        EXPECT_EQ(entries(), QStringList{"quorvane-play-notours"});
    }
    if (previous.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previous);
}

TEST(SessionFaults, LongSettingsValuesSurviveASession) {
    const QByteArray editor = "/" + QByteArray(1508, 'e');
    const QByteArray emulator = "/" + QByteArray(1211, 'm');
    const QByteArray base = "/" + QByteArray(1108, 'b');
    WindowFixture f("[qorv]\r\nEditor1=" + editor + "\r\nEmulator=" + emulator +
                    "\r\nNESFile1=" + base + "\r\n");
    f.window->mmmStBarClick();
    f.window->mmmStBarClick();
    const QByteArray ini = readText(f.iniPath());
    EXPECT_TRUE(ini.contains("Editor1=" + editor + "\r\n"));
    EXPECT_TRUE(ini.contains("Emulator=" + emulator + "\r\n"));
    EXPECT_TRUE(ini.contains("NESFile1=" + base + "\r\n"));
}

TEST(SessionFaults, ASettingsWriteThatFailsIsSaidOnceAndTheSettingsStay) {
    WindowFixture f;
    f.window->mmmStBarClick();
    EXPECT_TRUE(readText(f.iniPath()).contains("StatusBar=1\r\n"));
    qv::setWriteFailureForTesting(true);
    f.window->mmmStBarClick();
    f.window->mmmToolBarClick();
    qv::setWriteFailureForTesting(false);
    EXPECT_EQ(f.platform.messages(),
              QStringList{"The settings could not be saved to " + f.iniPath() +
                          ".\r\nNo space left on device\r\nThey are kept until the editor "
                          "ends, and saved with the next change that can be."});
    EXPECT_TRUE(f.window->settings().statusBar);
    EXPECT_FALSE(f.window->settings().toolBar);
    // Once the disk has room again, the next change saves them all.
    f.window->mmmButtonClick();
    const QByteArray ini = readText(f.iniPath());
    EXPECT_TRUE(ini.contains("StatusBar=2\r\n") && ini.contains("ToolBar=1\r\n") &&
                ini.contains("Button=1\r\n"))
        << ini.constData();
    EXPECT_EQ(f.platform.messages().size(), 1);
}

TEST(SessionFaults, ExportOnAFullDiskNamesTheFile) {
    WindowFixture f;
    f.window->LoadNesFile(writeImage(f.path("g.nes"), 40976));
    const QString preset = f.path("g.json");
    f.platform.choosePath(preset);
    qv::setWriteFailureForTesting(true);
    f.window->mmmExportParamsClick();
    qv::setWriteFailureForTesting(false);
    ASSERT_EQ(f.platform.messages().size(), 1);
    EXPECT_EQ(f.platform.messages()[0],
              "Cannot write the file " + preset + ".\r\nNo space left on device");
    EXPECT_FALSE(QFile::exists(preset));
}

namespace {

// Whether a save left a temporary file of g.nes: any, or the one of process `pid`.
bool hasTemporaryFile(const QString& folder, pid_t pid = 0) {
    const QString pattern =
        pid ? QStringLiteral(".g.nes~qv%1.*").arg(pid) : QStringLiteral(".g.nes~qv*");
    return !QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden).isEmpty();
}

} // namespace

// A whole session: edits, then every fault in turn, and at the end the file holds
// exactly the user's work.

TEST(SessionFaults, AWholeSessionWithFaultsLosesNoByteOfTheUsersWork) {
    WindowFixture f;
    const QString game = writeImage(f.path("g.nes"), 40976);
    f.window->LoadNesFile(game);
    std::vector<std::uint8_t> work = readFile(game);
    for (const auto& [offset, value] : {std::pair{0x3454, 0x20}, {0x107A, 0x08}, {0x0010, 0x77}}) {
        f.edit(offset, static_cast<std::uint8_t>(value));
        work[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
    }
    const auto workKept = [&] {
        const auto& image = f.window->document().image();
        return std::equal(work.begin(), work.end(), image.begin()) &&
               f.window->document().modified();
    };
    const std::vector<std::uint8_t> original = readFile(game);

    // A full disk: the save fails, the file and the edits stay.
    f.platform.answer(Answer::Yes);
    qv::setWriteFailureForTesting(true);
    f.window->mmmSaveClick();
    qv::setWriteFailureForTesting(false);
    EXPECT_EQ(f.platform.shown().back().kind, Shown::Error);
    EXPECT_EQ(readFile(game), original);
    EXPECT_TRUE(workKept());

    // A preset that used to end the editor.
    const QString deep = f.path("deep.json");
    writeText(deep, QByteArray(50000, '[') + QByteArray(50000, ']'));
    f.platform.choosePath(deep);
    f.window->mmmImportParamsClick();
    EXPECT_TRUE(workKept());

    // Saves killed at random points: the file is always the old one or the new one,
    // whole, and a save ended by SIGTERM leaves no temporary file.
    std::mt19937 random(25);
    std::vector<std::uint8_t> onDisk = original;
    for (int round = 0; round < 24; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // An earlier round's save is another program's change to this process.
            f.platform.answer(Answer::Yes);
            f.window->WriteNesFile();
            ::_exit(0);
        }
        ::usleep(random() % 1500);
        const int sig = round % 2 ? SIGKILL : SIGTERM;
        ::kill(pid, sig);
        int ws = 0;
        ::waitpid(pid, &ws, 0);
        const std::vector<std::uint8_t> now = readFile(game);
        ASSERT_TRUE(now == onDisk || now == work) << "round " << round;
        onDisk = now;
        if (WIFSIGNALED(ws) && WTERMSIG(ws) == SIGTERM) {
            EXPECT_FALSE(hasTemporaryFile(f.path("."), pid));
        }
        EXPECT_TRUE(workKept());
    }

    // Another program writes the file meanwhile: the save asks, and Yes keeps the work.
    writeImage(game, 40976, {{0x2000, 0x55}});
    setModified(game, 1000000000, 0);
    f.platform.answer(Answer::Yes); // Overwrite the file?
    f.platform.answer(Answer::Yes); // changed by another program: replace it
    f.window->mmmSaveClick();
    EXPECT_EQ(readFile(game), work);
    EXPECT_FALSE(f.window->document().modified());
    EXPECT_FALSE(hasTemporaryFile(f.path("."))); // those of killed saves went with it
    EXPECT_TRUE(f.platform.scriptUsedUp());
}
