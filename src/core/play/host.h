#pragma once
// One player: a libretro core with one game image loaded, run a frame at a time.
// It takes the image from memory, hands out the picture as 32-bit pixels, the
// sound as 16-bit stereo samples, system RAM and save states, and takes the
// buttons of controller 1 for each frame.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/play/pixels.h"

namespace qv::play {

struct CoreLibrary;

// Controller buttons, one bit each, numbered as libretro numbers the joypad's.
enum Button : std::uint16_t {
    kButtonB = 1u << 0,
    kButtonSelect = 1u << 2,
    kButtonStart = 1u << 3,
    kButtonUp = 1u << 4,
    kButtonDown = 1u << 5,
    kButtonLeft = 1u << 6,
    kButtonRight = 1u << 7,
    kButtonA = 1u << 8,
};

class PlayHost {
  public:
    // A host on the core at `path`; null with `error` set when the core cannot be
    // opened or another host plays on it now.
    static std::unique_ptr<PlayHost> open(const std::string& path, std::string& error);
    ~PlayHost();
    PlayHost(const PlayHost&) = delete;
    PlayHost& operator=(const PlayHost&) = delete;

    // Powers the game on from `image` (a whole .nes file). On failure the host
    // has no game and `error` says why.
    bool load(std::span<const std::uint8_t> image, std::string& error);
    // Goes on with `image` from the frame the game is at: a save state taken now
    // is restored over the new image. On failure the old image plays on.
    bool reload(std::span<const std::uint8_t> image, std::string& error);
    bool loaded() const { return loaded_; }

    void run(); // one frame with the buttons set
    void reset();
    void setButtons(std::uint16_t buttons) { buttons_ = buttons; }
    std::uint16_t buttons() const { return buttons_; }

    const Frame& frame() const { return frame_; }
    // The samples since the last call (interleaved left, right); the caller clears.
    std::vector<std::int16_t>& audio() { return audio_; }
    // System RAM (2 KiB on the NES); empty without a game.
    std::span<std::uint8_t> ram();
    std::vector<std::uint8_t> saveState();
    bool loadState(std::span<const std::uint8_t> state);

    double fps() const { return fps_; }
    double sampleRate() const { return sampleRate_; }
    // "Nestopia 1.52.0"
    const std::string& coreName() const { return coreName_; }
    const std::string& corePath() const;
    // Frames run since the last power-on.
    std::uint64_t frameCount() const { return frames_; }
    // The core's own frame call alone, for the benchmark's floor.
    void runCoreOnly();

  private:
    // The core calls back through plain functions; they reach the host calling into it.
    friend struct CoreCallbacks;
    bool environment(unsigned cmd, void* data);
    void video(const void* data, unsigned width, unsigned height, std::size_t pitch);
    explicit PlayHost(CoreLibrary& core);
    bool loadGame(std::span<const std::uint8_t> image, std::string& error);
    void unloadGame();

    CoreLibrary& core_;
    bool loaded_ = false;
    bool needPath_ = false;
    std::vector<std::uint8_t> image_; // the image the game runs on
    std::string tempPath_;            // the image as a file, for a core that reads only files
    std::string coreName_;
    PixelFormat format_ = PixelFormat::Rgb1555;
    Frame frame_;
    double fps_ = 60.0;
    double sampleRate_ = 44100.0;
    std::uint64_t frames_ = 0;
    std::vector<std::int16_t> audio_;
    std::uint16_t buttons_ = 0;
    std::string lastLog_; // the last warning or error the core logged
};

} // namespace qv::play
