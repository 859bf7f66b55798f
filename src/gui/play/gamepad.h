#pragma once
// Game controllers through SDL2's game-controller API: any pad SDL knows gives the
// NES buttons (the face buttons on the left and bottom are B, right and top A;
// Back is Select; the d-pad and the left stick steer).
#include <cstdint>
#include <vector>

struct _SDL_GameController;

namespace qv {

class Gamepads {
  public:
    Gamepads();
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;
    // The buttons held on every pad now (play::Button bits).
    std::uint16_t buttons();
    bool available() const { return ready_; }

  private:
    void openNew();
    bool ready_ = false;
    int polls_ = 0;
    std::vector<_SDL_GameController*> pads_;
};

} // namespace qv
