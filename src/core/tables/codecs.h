#pragma once
// The rule kinds and encodings that table files define for their own items.
#include <array>

#include "core/encodings.h"

namespace qv::tables {

// Basic blocks: a pattern column's [low, high] bytes as one 16-bit pattern.
extern const Encoding blockColumnEncoding;

// General 2.
extern const Encoding signed128;     // signed, 0x80 reading as +128
extern const Encoding reversedCount; // the erase rate, counted down from the byte
// Bowser's bridge: piece k's column, each read over all 13 bytes of the bridge.
inline constexpr int kBridgePieces = 13;
extern const std::array<Encoding, kBridgePieces> bridgePiece;
extern const RuleKind pairRowKind;    // the row of a row/column pair
extern const RuleKind pairColumnKind; // the column of a row/column pair
extern const RuleKind bridgeRowKind;  // the row shared by all 13 bridge pieces

// Enemy 1: the revival elevation's high nibble, its low nibble 0 or 8.
extern const RuleKind revivalElevationKind;

// Enemy 3: the hammer hold time, counted from 130.
extern const Encoding minus130;

// Scoring.
extern const RuleKind scoreDigitKind;     // one digit at a place of the score table
extern const RuleKind digitAddKind;       // parameters {highest}: LDA #digit / STA $07xx
extern const RuleKind flagpoleDigitsKind; // [digit, position]
extern const RuleKind shellChainKind;     // two ADC #index that agree

} // namespace qv::tables
