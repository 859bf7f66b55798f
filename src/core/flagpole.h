#pragma once
// The text preview of the end-of-level flagpole: 14 rows, each a row label and four
// cells two half-width columns wide (flag, pole, score, Mario). It is drawn from the
// list positions the dialog shows, not from stored bytes.
#include <array>
#include <string>
#include <string_view>

namespace qv::flagpole {

inline constexpr int kRows = 14;
inline constexpr int kCells = 4;

// List positions (entry indexes) of the nine flagpole lists.
struct Positions {
    int flag = 3;      // F, CmbPoleFlag
    int flagStop = 10; // S, CmbPoleFlagStop
    int finial = 1;    // M, CmbPoleMaru
    int poleStart = 1; // L, CmbPoleLine
    int poleEnd = 8;   // N, CmbPoleLineLen
    int block = 10;    // K, CmbPoleBlock
    int score = 11;    // P, CmbPoleScore
    int marioStop = 9; // Q, CmbPoleMario
    int dropDown = 10; // D, CmbPoleMaDown
};

using Row = std::array<std::string_view, kCells>;

// "-1 ", " 0 " … "12 ": the row's label r - 1, right-aligned in two columns, a blank.
std::string rowLabel(int r);
// The four cells of row r (0..13); the first matching rule of each cell wins.
Row cells(const Positions& p, int r);
// The 14 lines joined by CR LF, without a break after the last.
std::string text(const Positions& p);

} // namespace qv::flagpole
