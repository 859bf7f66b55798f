// Tools > Play on the tests' cartridge (play/testcart.h), whose NMI copies the
// walking-speed byte (0x3454) to the speed Mario's watch reads ($57) and the
// controller to $01: edits through the document reach the running game, the window's
// commands, and the message when no core is installed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "core/play/corefind.h"
#include "gui/play/playscreen.h"
#include "gui/play/playwindow.h"
#include "gui/play/watchpanel.h"
#include "gui/support/fixtures.h"
#include "play/playtest.h"
#include "play/testcart.h"

using qv::PlayWindow;
using qv::test::readText;
using qv::test::WindowFixture;

namespace {

QString writeCart(const WindowFixture& f) {
    const QString path = f.path(QStringLiteral("cart.nes"));
    const auto bytes = qvtest::testCartridge(0x18, 0x16);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

void triggerPlay(WindowFixture& f) {
    f.window->findChild<QAction*>(QStringLiteral("mmmPlay"))->trigger();
}

int ram(PlayWindow& w, int address) {
    return w.host().ram()[static_cast<std::size_t>(address)];
}

} // namespace

TEST(PlayWindow, WithoutACoreSaysWhichPackageAndNothingElseChanges) {
    const QTemporaryDir empty;
    ::setenv("QUORVANE_LIBRETRO_PATH", empty.path().toLocal8Bit().constData(), 1);
    WindowFixture f;
    EXPECT_FALSE(f.enabled("mmmPlay")); // no document yet
    f.window->LoadNesFile(writeCart(f));
    EXPECT_TRUE(f.enabled("mmmPlay"));
    const QByteArray iniBefore = readText(f.iniPath());
    const QString title = f.window->windowTitle();
    EXPECT_EQ(f.window->findChild<QAction*>(QStringLiteral("mmmPlay"))->shortcut(),
              QKeySequence(Qt::Key_F8));
    triggerPlay(f);
    ::unsetenv("QUORVANE_LIBRETRO_PATH");
    EXPECT_EQ(f.platform.messages(),
              QStringList{QStringLiteral(
                  "No libretro NES core was found for Play.\r\nInstall the package "
                  "libretro-nestopia (sudo apt-get install libretro-nestopia), or name a core "
                  "under Tools > Editor Options > Play.")});
    EXPECT_EQ(f.window->playWindow(), nullptr);
    EXPECT_EQ(f.window->findChildren<PlayWindow*>().size(), 0);
    EXPECT_EQ(f.window->windowTitle(), title);
    EXPECT_FALSE(f.window->document().modified());
    EXPECT_EQ(readText(f.iniPath()), iniBefore);
}

TEST(PlayWindow, EveryDocumentChangeReachesTheRunningGame) {
    QV_REQUIRE_CORE(qvtest::installedCore());
    WindowFixture f;
    f.window->LoadNesFile(writeCart(f));
    struct sigaction termBefore {
    }, termAfter{};
    ::sigaction(SIGTERM, nullptr, &termBefore);
    triggerPlay(f);
    PlayWindow* w = f.window->playWindow();
    ASSERT_NE(w, nullptr) << f.platform.messages().join(QStringLiteral(" | ")).toStdString();
    // The game controllers' library leaves the editor's signals alone.
    ::sigaction(SIGTERM, nullptr, &termAfter);
    EXPECT_EQ(termAfter.sa_handler, termBefore.sa_handler);
    EXPECT_TRUE(f.platform.messages().isEmpty());
    // The cartridge has no continue: the window says where it could not start.
    EXPECT_EQ(w->status(), "Could not start 1-1: no level was being played 646 frames after "
                           "power-on (game mode 0)");
    w->setPaused(true); // frames below run only when the test says so

    w->runFrames(10);
    EXPECT_EQ(ram(*w, 0x57), 24);
    EXPECT_EQ(w->watchPanel()->value(qv::play::Watch::XSpeed), "24");
    const int counter = ram(*w, 0x00);

    // Mario Settings' walking speed, as its OK commits it.
    f.edit(0x3454, 40);
    EXPECT_EQ(w->status(), "Reloaded with 1 changed parameter");
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x57), 40);
    EXPECT_EQ(ram(*w, 0x00), (counter + 1) & 0xFF); // went on: no power-on
    EXPECT_EQ(w->watchPanel()->value(qv::play::Watch::XSpeed), "40");
    ASSERT_FALSE(w->watchPanel()->plot()->points().empty());
    EXPECT_EQ(w->watchPanel()->plot()->points().back(), std::make_pair(40, 0));

    f.window->mmmUndoClick();
    EXPECT_EQ(w->status(), "Reloaded with 1 changed parameter");
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x57), 24);

    // A byte no parameter holds: the backdrop colour, green.
    f.edit(0x111, 0x2A);
    EXPECT_EQ(w->status(), "Reloaded with changed bytes outside the parameters");
    w->runFrames(2);
    const qv::play::Frame& frame = w->host().frame();
    const std::uint32_t pixel = frame.at(100, 100);
    EXPECT_GT((pixel >> 8) & 255, (pixel >> 16) & 255);
    EXPECT_GT((pixel >> 8) & 255, pixel & 255);

    // An edit that changes no byte, and a save, reload nothing.
    w->loadSlot(2);
    EXPECT_EQ(w->status(), "State 2 is empty");
    f.edit(0x111, 0x2A);
    EXPECT_EQ(w->status(), "State 2 is empty");

    // Quick states, frame advance.
    w->saveSlot(1);
    EXPECT_EQ(w->status(), "Saved state 1");
    const int saved = ram(*w, 0x00);
    w->runFrames(3);
    w->loadSlot(1);
    EXPECT_EQ(w->status(), "Loaded state 1");
    EXPECT_EQ(ram(*w, 0x00), saved);
    const auto before = w->host().frameCount();
    w->frameAdvance();
    EXPECT_EQ(w->host().frameCount(), before + 1);
    EXPECT_EQ(w->status(), QStringLiteral("Paused at frame %1").arg(before + 1));

    // Restart Level starts the last place again.
    w->restartLevel();
    EXPECT_TRUE(w->status().startsWith("Could not start 1-1")) << w->status().toStdString();

    // Scale and 8:7 pixels, kept in the settings file.
    w->setScale(3);
    EXPECT_EQ(w->screen()->size(), QSize(768, 720));
    w->setAspect(true);
    EXPECT_EQ(w->screen()->size(), QSize(878, 720));
    const QByteArray ini = readText(f.iniPath());
    EXPECT_TRUE(ini.contains("PlayScale=3\r\nPlayAspect=2\r\n")) << ini.toStdString();

    // One window a document: Play again brings the same one forward.
    triggerPlay(f);
    EXPECT_EQ(f.window->playWindow(), w);
    EXPECT_EQ(f.window->findChildren<PlayWindow*>().size(), 1);

    // Closing the document closes the game.
    f.window->document().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.window->playWindow(), nullptr);
}

TEST(PlayWindow, WithoutTheSoundAndPadsModuleTheGamePlaysSilentlyAndSaysWhy) {
    QV_REQUIRE_CORE(qvtest::installedCore());
    const QTemporaryDir empty;
    WindowFixture f;
    f.window->LoadNesFile(writeCart(f));
    QString error;
    std::unique_ptr<PlayWindow> w(PlayWindow::open(f.window->document(), f.window->settings(), {},
                                                   {}, nullptr, error, {empty.path()}));
    ASSERT_NE(w, nullptr) << error.toStdString();
    EXPECT_EQ(w->status(), QStringLiteral("Could not start 1-1: no level was being played 646 "
                                          "frames after power-on (game mode 0); no sound or pads: "
                                          "quorvane-playio.so is in none of %1")
                               .arg(empty.path()));
    QStringList disabled;
    for (const QAction* a : w->findChildren<QAction*>())
        if (!a->isEnabled()) disabled << a->text();
    EXPECT_EQ(disabled, QStringList{QStringLiteral("(no sound module)")});

    w->setPaused(true);
    const int counter = ram(*w, 0x00);
    w->runFrames(5);
    EXPECT_EQ(ram(*w, 0x00), (counter + 5) & 0xFF);
    EXPECT_EQ(ram(*w, 0x57), 24);
    w->setVolume(30);
    w->setMuted(true);
    EXPECT_EQ(f.window->settings().play.volume, 30);
    EXPECT_TRUE(f.window->settings().play.mute);
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x00), (counter + 6) & 0xFF);
}

TEST(PlayWindow, KeysReachTheGameOnlyWhileItHasTheFocus) {
    QV_REQUIRE_CORE(qvtest::installedCore());
    WindowFixture f;
    f.window->LoadNesFile(writeCart(f));
    triggerPlay(f);
    PlayWindow* w = f.window->playWindow();
    ASSERT_NE(w, nullptr);
    w->setPaused(true);
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyPress(w->screen(), Qt::Key_Right);
    QTest::keyPress(w->screen(), Qt::Key_X);
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x01), 0x81); // A and Right
    // A repeat the system did not mark comes as a release and a press at once.
    QTest::keyRelease(w->screen(), Qt::Key_X);
    QTest::keyPress(w->screen(), Qt::Key_X);
    QCoreApplication::processEvents();
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x01), 0x81);
    QTest::keyRelease(w->screen(), Qt::Key_X);
    QTest::qWait(10); // no press follows
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x01), 0x01);

    // Another window takes the focus: what was held is let go, and no key gets through.
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x01), 0x00);

    // Keys changed in Editor Options follow at once.
    f.window->settings().play.keys[5] = "C"; // A
    w->settingsChanged();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyPress(w->screen(), Qt::Key_C);
    w->runFrames(1);
    EXPECT_EQ(ram(*w, 0x01), 0x80);
    QTest::keyRelease(w->screen(), Qt::Key_C);
    w->close();
}
