#pragma once
// TFormZenpan2, "General Settings 2": the end-of-level flagpole, the castle flag, the
// objects at Bowser's bridge, Toad's and Mario's end positions, the item block's
// object and the monochrome screen switch.
#include <optional>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& general2();

// The column a bridge piece's byte names, when the byte is a valid row/column pair
// (bits 5 and 0 clear); a frozen bridge shows each piece's own column this way.
std::optional<int> bridgePieceColumn(int field);

} // namespace qv::tables
