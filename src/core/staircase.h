#pragma once
// The text preview of the staircase object: 13 rows, one two-column cell per step.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::staircase {

inline constexpr int kSteps = 9;
inline constexpr int kRows = 13;
inline constexpr int kFirstGroundRow = 11;

struct Step {
    int start = 0; // row of the first block, 0..13
    int count = 0; // 1..13; cut off at the bottom row
};

enum class Cell { Open, Ground, Block, Invalid };
using Grid = std::array<std::array<Cell, kSteps>, kRows>;

// A step without a value is invalid: its whole column is marked so.
Grid cells(std::span<const std::optional<Step>, kSteps> steps);

// Each cell's text, two columns wide: "- ", "□", "■", "×".
std::string_view cellText(Cell c);
// " 0 " .. "12 ": the row number right-aligned in two columns, then a blank.
std::string rowLabel(int row);
// The 13 lines, row label and cells, joined by CR LF without a break after the last.
std::string text(const Grid& grid);

} // namespace qv::staircase
