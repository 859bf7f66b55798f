#include "core/staircase.h"

#include <algorithm>

namespace qv::staircase {

Grid cells(std::span<const std::optional<Step>, kSteps> steps) {
    Grid g{};
    for (int s = 0; s < kSteps; ++s) {
        const auto& step = steps[static_cast<std::size_t>(s)];
        for (int r = 0; r < kRows; ++r) {
            Cell c = r < kFirstGroundRow ? Cell::Open : Cell::Ground;
            if (!step)
                c = Cell::Invalid;
            else if (r >= step->start && r < std::min(step->start + step->count, kRows))
                c = Cell::Block;
            g[static_cast<std::size_t>(r)][static_cast<std::size_t>(s)] = c;
        }
    }
    return g;
}

std::string_view cellText(Cell c) {
    switch (c) {
    case Cell::Open:
        return "- ";
    case Cell::Ground:
        return "□";
    case Cell::Block:
        return "■";
    case Cell::Invalid:
        return "×";
    }
    return "  ";
}

std::string rowLabel(int row) {
    return (row < 10 ? " " : "") + std::to_string(row) + " ";
}

std::string text(const Grid& grid) {
    std::string out;
    for (int r = 0; r < kRows; ++r) {
        if (r) out += "\r\n";
        out += rowLabel(r);
        for (Cell c : grid[static_cast<std::size_t>(r)])
            out += cellText(c);
    }
    return out;
}

} // namespace qv::staircase
