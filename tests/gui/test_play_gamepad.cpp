// The Play window's sound and pads module: where it is looked for, what is said when
// it is missing or broken, and game controllers through it, with a virtual pad of
// SDL's own: the NES buttons each pad button gives, and pads plugged in after the start.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <SDL.h>
#include <memory>

#include "core/play/host.h"
#include "gui/play/playio.h"
#include "gui/support/printqstring.h"

TEST(PlayIo, TheModuleIsFoundInTheFirstFolderThatHasItAndAFaultIsNamed) {
    const QTemporaryDir empty, broken;
    const QString bin = QCoreApplication::applicationDirPath();
    // Beside the program, then the library folder beside its own (lib or lib/<arch>).
    const QStringList folders = qv::playIoFolders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], bin);
    EXPECT_TRUE(folders[1].startsWith(QDir::cleanPath(bin + QStringLiteral("/../lib/"))));
    EXPECT_TRUE(folders[1].endsWith(QStringLiteral("/quorvane")));

    QString why;
    EXPECT_EQ(qv::openPlayIo({empty.path(), broken.path()}, why), nullptr);
    EXPECT_EQ(
        why,
        QStringLiteral("quorvane-playio.so is in none of %1, %2").arg(empty.path(), broken.path()));

    // Not a library: the loader's own words, with the path.
    QFile junk(broken.filePath(QStringLiteral("quorvane-playio.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(64, '\0'));
    junk.close();
    why.clear();
    EXPECT_EQ(qv::openPlayIo({empty.path(), broken.path(), bin}, why), nullptr);
    EXPECT_TRUE(why.contains(junk.fileName())) << why.toStdString();

    // The build puts it beside the programs.
    why.clear();
    const qv::PlayIo* io = qv::openPlayIo({empty.path(), bin}, why);
    ASSERT_NE(io, nullptr) << why.toStdString();
    EXPECT_TRUE(why.isEmpty());
    // With or without a sound device, the sound says which.
    const std::unique_ptr<qv::PlayAudio> audio(io->audio(48000.0));
    EXPECT_NE(audio->available(), !audio->problem().isEmpty()) << audio->problem().toStdString();
    audio->setVolume(50, false);
    audio->push(std::vector<std::int16_t>(1600, 0));
}

TEST(PlayGamepad, PadButtonsAndStickBecomeNesButtons) {
    QString why;
    const qv::PlayIo* io = qv::openPlayIo(qv::playIoFolders(), why);
    ASSERT_NE(io, nullptr) << why.toStdString();
    const std::unique_ptr<qv::Gamepads> made(io->gamepads());
    qv::Gamepads& pads = *made;
    ASSERT_TRUE(pads.available()) << SDL_GetError();
    EXPECT_EQ(pads.buttons(), 0);
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    SDL_Joystick* stick = nullptr;
    // A pad plugged in is found within a second of polls.
    for (int i = 0; i < 60; ++i)
        pads.buttons();
    stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr);

    const auto press = [&](SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0);
    };
    press(SDL_CONTROLLER_BUTTON_A, true); // the bottom face button
    EXPECT_EQ(pads.buttons(), qv::play::kButtonB);
    press(SDL_CONTROLLER_BUTTON_A, false);
    press(SDL_CONTROLLER_BUTTON_B, true); // the right one
    press(SDL_CONTROLLER_BUTTON_START, true);
    press(SDL_CONTROLLER_BUTTON_BACK, true);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(pads.buttons(), qv::play::kButtonA | qv::play::kButtonStart |
                                  qv::play::kButtonSelect | qv::play::kButtonUp);
    for (auto b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK,
                   SDL_CONTROLLER_BUTTON_DPAD_UP})
        press(b, false);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32000);
    EXPECT_EQ(pads.buttons(), qv::play::kButtonRight);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 8000); // within the dead zone
    EXPECT_EQ(pads.buttons(), 0);
    SDL_JoystickDetachVirtual(index);
}
