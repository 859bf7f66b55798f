#pragma once
// Starting the game at any world, level and page through its own continue
// mechanism: on the title screen the continue world, level, area and page are
// written to RAM and Start is pressed; no code of the game is changed.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::play {

struct Place {
    int world = 1; // 1 to 8
    int level = 1; // 1 to 4
    int page = 0;  // the screen the level starts on; 0 is its start

    bool operator==(const Place&) const = default;
};

// "8-4" or "8-4:3"; nothing for anything else or a place out of range (page 0 to 63).
std::optional<Place> parsePlace(std::string_view text);
// "8-4", or "8-4:3" with a page.
std::string placeText(const Place& place);

// The game's area index of a level within its world, read from the image's table of
// each world's first area, so that a hack that reorders areas still starts right. A
// world with five areas has a pipe intro before its level 2; its level L >= 2 is
// area L, in a world of four it is area L - 1. The table's last world's size is not
// written anywhere: it is taken to have no intro.
int areaIndex(std::span<const std::uint8_t> image, int world, int level);

// Where the table lies in the file (+512 with a trainer).
inline constexpr int kWorldTableOffset = 0x1CC4;

// The start, a frame at a time: before each frame the caller passes the RAM as the
// last frame left it and holds the buttons returned.
class StartSequence {
  public:
    StartSequence(const Place& place, int areaIndex) : place_(place), area_(areaIndex) {}

    std::uint16_t beforeFrame(std::span<std::uint8_t> ram);
    bool done() const { return state_ == State::Started || state_ == State::Failed; }
    // Done and the game plays a level (where, started() says).
    bool playing() const { return state_ == State::Started; }
    // Playing at the place asked for.
    bool reached() const { return playing() && actual_ == Place{place_.world, place_.level, 0}; }
    // "Started 8-4", "Asked for 8-4, the game started 1-1", or why it did not start.
    std::string message() const;
    // Frames run before the level was being played.
    int frames() const { return frame_; }

    // The longest the sequence waits for the level once Start is pressed.
    static constexpr int kWaitFrames = 600;

  private:
    enum class State { PoweringOn, PressingStart, Waiting, Started, Failed };
    Place place_;
    int area_ = 0;
    State state_ = State::PoweringOn;
    int frame_ = 0;
    int stateFrames_ = 0;
    Place actual_;
    int lastMode_ = -1;
};

class PlayHost;
// Powers the game on from `image` and runs the start to its end, as fast as the core
// runs (the sound of those frames is dropped). The buttons are left released.
StartSequence startGame(PlayHost& host, std::span<const std::uint8_t> image, const Place& place,
                        std::string& error);

// RAM the sequence reads and writes.
namespace ram {
inline constexpr int kWorld = 0x075F;
inline constexpr int kLevel = 0x075C;
inline constexpr int kArea = 0x0760;
inline constexpr int kPage = 0x075B;
inline constexpr int kGameMode = 0x0770; // 0 title, 1 playing, 2 ending, 3 game over
inline constexpr int kOperMode = 0x0772;
inline constexpr int kRoutine = 0x000E;
} // namespace ram

} // namespace qv::play
