#pragma once
// The buttons a headless run holds, frame by frame, from a text of lines
// "FRAMES BUTTONS...": "150 RIGHT B" holds Right and B for 150 frames, "30" holds
// nothing for 30. Button names (any case): UP DOWN LEFT RIGHT A B START SELECT.
// Blank lines and text after '#' are ignored; after the last line nothing is held.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::play {

struct InputScript {
    struct Span {
        int frames;
        std::uint16_t buttons;
    };
    std::vector<Span> spans;

    // The buttons held in frame `frame` (counted from 0).
    std::uint16_t buttonsAt(long long frame) const;
};

// The button of that name, in any case.
std::optional<std::uint16_t> buttonByName(std::string_view name);

// Nothing, with `error` naming the line ("line 3: unknown button \"JUMP\""), for a
// text that does not follow the format.
std::optional<InputScript> parseInputScript(std::string_view text, std::string& error);

} // namespace qv::play
