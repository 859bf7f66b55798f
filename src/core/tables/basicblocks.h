#pragma once
// TFormKihonBloc, "Basic Blocks - General Settings 1": the 16 basic block patterns and
// the cloud pattern, a grid of 13 elevations per column. Its bytes travel through
// General 1's value fields.
#include <span>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& basicBlocks();

// One column of the grid. A pattern column fills rows 0..7 from the bits of its low
// byte and rows 8..12 from bits 0..4 of its high byte; the cloud column has rows
// 8..12 only. A high byte outside 0..31 cannot be shown and is kept as it is.
struct BlockColumn {
    char name;     // '0'..'F', 'Z' for the clouds: ChkKb<row><name>, RadKb<name>
    int lowOffset; // -1 for the cloud column
    int highOffset;
    std::uint8_t defaultLow, defaultHigh;
};
inline constexpr int kBlockRows = 13;
inline constexpr int kBlockColumns = 17; // patterns 0..15, then the clouds
std::span<const BlockColumn> blockColumns();

// Whether a high or cloud byte (as its field holds it) can be shown in rows 8..12.
bool blockHighEditable(int field);

} // namespace qv::tables
