// Game controllers through SDL2's game-controller API.
#include <SDL.h>
#include <algorithm>

#include "core/play/host.h"
#include "playio/makers.h"

namespace qv {

namespace {

class SdlGamepads : public Gamepads {
  public:
    SdlGamepads();
    ~SdlGamepads() override;
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;
    std::uint16_t buttons() override;
    bool available() const override { return ready_; }

  private:
    void openNew();
    bool ready_ = false;
    int polls_ = 0;
    std::vector<SDL_GameController*> pads_;
};

SdlGamepads::SdlGamepads() {
    // The Play window says when the game gets input; SDL has no window to ask.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL would turn SIGINT and SIGTERM into events nobody reads: the editor would no
    // longer end on them, nor remove a half-written file as it does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (ready_) openNew();
}

SdlGamepads::~SdlGamepads() {
    for (SDL_GameController* pad : pads_)
        SDL_GameControllerClose(pad);
    if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepads::openNew() {
    pads_.erase(std::remove_if(pads_.begin(), pads_.end(),
                               [](SDL_GameController* pad) {
                                   if (SDL_GameControllerGetAttached(pad)) return false;
                                   SDL_GameControllerClose(pad);
                                   return true;
                               }),
                pads_.end());
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        const bool open = std::any_of(pads_.begin(), pads_.end(), [&](SDL_GameController* pad) {
            return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
        });
        if (!open)
            if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads_.push_back(pad);
    }
}

std::uint16_t SdlGamepads::buttons() {
    if (!ready_) return 0;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    // Pads plugged in or out are looked for about once a second.
    if (++polls_ % 60 == 0) openNew();
    SDL_GameControllerUpdate();
    std::uint16_t held = 0;
    constexpr Sint16 kStick = 16000;
    for (SDL_GameController* pad : pads_) {
        const auto down = [&](SDL_GameControllerButton b) {
            return SDL_GameControllerGetButton(pad, b) != 0;
        };
        const Sint16 x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        const Sint16 y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        if (down(SDL_CONTROLLER_BUTTON_DPAD_UP) || y < -kStick) held |= play::kButtonUp;
        if (down(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y > kStick) held |= play::kButtonDown;
        if (down(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x < -kStick) held |= play::kButtonLeft;
        if (down(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x > kStick) held |= play::kButtonRight;
        if (down(SDL_CONTROLLER_BUTTON_A) || down(SDL_CONTROLLER_BUTTON_X)) held |= play::kButtonB;
        if (down(SDL_CONTROLLER_BUTTON_B) || down(SDL_CONTROLLER_BUTTON_Y)) held |= play::kButtonA;
        if (down(SDL_CONTROLLER_BUTTON_START)) held |= play::kButtonStart;
        if (down(SDL_CONTROLLER_BUTTON_BACK)) held |= play::kButtonSelect;
    }
    return held;
}

} // namespace

Gamepads* newGamepads() {
    return new SdlGamepads();
}

} // namespace qv
