#include "core/play/start.h"

#include <charconv>

#include "core/play/host.h"
#include "core/rom.h"

namespace qv::play {

namespace {

bool number(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

// Title screen reached after about 40 frames; Start held for 6 (2 were not always
// enough); the level is being played some 150 frames later.
constexpr int kPowerOnFrames = 40;
constexpr int kTitleWaitFrames = 200;
constexpr int kStartFrames = 6;

} // namespace

std::optional<Place> parsePlace(std::string_view text) {
    Place p;
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        if (!number(text.substr(colon + 1), p.page) || p.page < 0 || p.page > 63)
            return std::nullopt;
        text = text.substr(0, colon);
    }
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos || !number(text.substr(0, dash), p.world) ||
        !number(text.substr(dash + 1), p.level))
        return std::nullopt;
    if (p.world < 1 || p.world > 8 || p.level < 1 || p.level > 4) return std::nullopt;
    return p;
}

std::string placeText(const Place& place) {
    std::string s = std::to_string(place.world) + "-" + std::to_string(place.level);
    if (place.page != 0) s += ":" + std::to_string(place.page);
    return s;
}

int areaIndex(std::span<const std::uint8_t> image, int world, int level) {
    if (level <= 1) return 0;
    const int shift = layoutShift(image);
    const std::size_t at = static_cast<std::size_t>(kWorldTableOffset + (shift < 0 ? 0 : shift));
    bool intro = false;
    if (world >= 1 && world < 8 && at + 8 <= image.size()) {
        const int areas = image[at + static_cast<std::size_t>(world)] -
                          image[at + static_cast<std::size_t>(world - 1)];
        intro = areas == 5;
    }
    return intro ? level : level - 1;
}

std::uint16_t StartSequence::beforeFrame(std::span<std::uint8_t> ram) {
    if (done()) return 0;
    const auto at = [&](int address) -> std::uint8_t& {
        return ram[static_cast<std::size_t>(address)];
    };
    if (ram.size() < 0x800) {
        state_ = State::Failed;
        return 0;
    }
    ++stateFrames_;
    std::uint16_t buttons = 0;
    switch (state_) {
    case State::PoweringOn:
        // The title screen is up once the game mode reads 0 after the power-on frames.
        if (frame_ >= kPowerOnFrames && at(ram::kGameMode) == 0) {
            at(ram::kWorld) = static_cast<std::uint8_t>(place_.world - 1);
            at(ram::kLevel) = static_cast<std::uint8_t>(place_.level - 1);
            at(ram::kArea) = static_cast<std::uint8_t>(area_);
            at(ram::kPage) = static_cast<std::uint8_t>(place_.page);
            state_ = State::PressingStart;
            stateFrames_ = 1;
            buttons = kButtonStart;
        } else if (frame_ >= kPowerOnFrames + kTitleWaitFrames) {
            lastMode_ = at(ram::kGameMode);
            state_ = State::Failed;
        }
        break;
    case State::PressingStart:
        if (stateFrames_ <= kStartFrames) {
            buttons = kButtonStart;
        } else {
            state_ = State::Waiting;
            stateFrames_ = 1;
        }
        break;
    case State::Waiting:
        if (at(ram::kGameMode) == 1 && at(ram::kOperMode) == 3 && at(ram::kRoutine) == 8) {
            actual_ = {at(ram::kWorld) + 1, at(ram::kLevel) + 1, 0};
            state_ = State::Started;
            return 0; // this frame is the level's first
        }
        if (stateFrames_ > kWaitFrames) {
            lastMode_ = at(ram::kGameMode);
            state_ = State::Failed;
        }
        break;
    case State::Started:
    case State::Failed:
        break;
    }
    if (!done()) ++frame_;
    return done() ? 0 : buttons;
}

StartSequence startGame(PlayHost& host, std::span<const std::uint8_t> image, const Place& place,
                        std::string& error) {
    StartSequence start(place, areaIndex(image, place.world, place.level));
    if (!host.load(image, error)) return start;
    while (true) {
        const std::uint16_t buttons = start.beforeFrame(host.ram());
        if (start.done()) break;
        host.setButtons(buttons);
        host.run();
        host.audio().clear();
    }
    host.setButtons(0);
    return start;
}

std::string StartSequence::message() const {
    const std::string asked = placeText(place_);
    switch (state_) {
    case State::Started:
        if (reached()) return "Started " + asked;
        return "Asked for " + asked + ", but the game started " + placeText(actual_);
    case State::Failed:
        if (lastMode_ < 0) return "Could not start " + asked + ": the game has no RAM to start it";
        return "Could not start " + asked + ": no level was being played " +
               std::to_string(frame_) + " frames after power-on (game mode " +
               std::to_string(lastMode_) + ")";
    default:
        return "Starting " + asked;
    }
}

} // namespace qv::play
