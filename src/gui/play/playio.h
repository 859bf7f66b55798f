#pragma once
// The Play window's sound and game pads. They live in a module of their own
// (quorvane-playio), opened when Play is first opened, so that Qt Multimedia and SDL2
// and the many libraries they bring are not loaded at every start of the editor
// (bench row "Editor start with a game image to first paint"). Nothing here includes
// either library.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qv {

// The game's sound, 16-bit stereo at the core's rate. Where there is no sound device
// the game plays on silently.
class PlayAudio {
  public:
    virtual ~PlayAudio() = default;
    virtual bool available() const = 0;
    virtual QString problem() const = 0; // why there is no sound
    // A frame's samples (left, right, ...). What the device has no room for is
    // dropped, so that the sound never lags the picture.
    virtual void push(const std::vector<std::int16_t>& samples) = 0;
    virtual void setVolume(int percent, bool muted) = 0;
};

// Game controllers: any pad SDL knows gives the NES buttons (the face buttons on the
// left and bottom are B, right and top A; Back is Select; the d-pad and the left
// stick steer).
class Gamepads {
  public:
    virtual ~Gamepads() = default;
    // The buttons held on every pad now (play::Button bits).
    virtual std::uint16_t buttons() = 0;
    virtual bool available() const = 0;
};

// What the module's entry point returns: makers of new objects, each the caller's to
// delete.
struct PlayIo {
    PlayAudio* (*audio)(double sampleRate);
    Gamepads* (*gamepads)();
};
// The module's one exported C function, by name: const PlayIo* qv_play_io().
inline constexpr char kPlayIoEntry[] = "qv_play_io";

// The folders the module is looked for in: beside the program, then the installed
// library folder.
QStringList playIoFolders();
// The module from the first of `folders` that has it, or null with `why` set. Once
// opened it stays loaded.
const PlayIo* openPlayIo(const QStringList& folders, QString& why);
// What plays without the module: a silent sound ("no sound module") and no pads.
const PlayIo& silentPlayIo();

} // namespace qv
