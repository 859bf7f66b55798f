#pragma once
// Hand-assembled bytes for the IPS tests: "PATCH" and "EOF" stand for their five
// and three characters, everything else is hexadecimal pairs; blanks are ignored.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvtest {

inline std::vector<std::uint8_t> hex(std::string_view text) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
        } else if (text.substr(i, 5) == "PATCH") {
            out.insert(out.end(), {0x50, 0x41, 0x54, 0x43, 0x48});
            i += 5;
        } else if (text.substr(i, 3) == "EOF") {
            out.insert(out.end(), {0x45, 0x4F, 0x46});
            i += 3;
        } else {
            out.push_back(
                static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
            i += 2;
        }
    }
    return out;
}

} // namespace qvtest
