#include "core/play/inputscript.h"

#include <cctype>
#include <charconv>

#include "core/play/host.h"

namespace qv::play {

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

} // namespace

std::optional<std::uint16_t> buttonByName(std::string_view name) {
    static constexpr std::pair<const char*, std::uint16_t> kNames[] = {
        {"UP", kButtonUp},       {"DOWN", kButtonDown},    {"LEFT", kButtonLeft},
        {"RIGHT", kButtonRight}, {"A", kButtonA},          {"B", kButtonB},
        {"START", kButtonStart}, {"SELECT", kButtonSelect}};
    const std::string u = upper(name);
    for (const auto& [n, bit] : kNames)
        if (u == n) return bit;
    return std::nullopt;
}

std::uint16_t InputScript::buttonsAt(long long frame) const {
    for (const Span& s : spans) {
        if (frame < s.frames) return s.buttons;
        frame -= s.frames;
    }
    return 0;
}

std::optional<InputScript> parseInputScript(std::string_view text, std::string& error) {
    InputScript script;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string_view> w = words(line);
        if (w.empty()) continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        int frames = 0;
        const auto r = std::from_chars(w[0].data(), w[0].data() + w[0].size(), frames);
        if (r.ec != std::errc() || r.ptr != w[0].data() + w[0].size() || frames < 0) {
            error = where + "\"" + std::string(w[0]) + "\" is not a number of frames";
            return std::nullopt;
        }
        std::uint16_t buttons = 0;
        for (std::size_t k = 1; k < w.size(); ++k) {
            const auto bit = buttonByName(w[k]);
            if (!bit) {
                error = where + "unknown button \"" + std::string(w[k]) +
                        "\" (UP DOWN LEFT RIGHT A B START SELECT)";
                return std::nullopt;
            }
            buttons |= *bit;
        }
        script.spans.push_back({frames, buttons});
    }
    return script;
}

} // namespace qv::play
