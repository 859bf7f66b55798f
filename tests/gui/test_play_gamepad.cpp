// Game controllers, through a virtual pad of SDL's own: the NES buttons each pad
// button gives, and pads plugged in after the start.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/play/host.h"
#include "gui/play/gamepad.h"

TEST(PlayGamepad, PadButtonsAndStickBecomeNesButtons) {
    qv::Gamepads pads;
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
