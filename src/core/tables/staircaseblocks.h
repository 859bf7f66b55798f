#pragma once
// TFormKaidanBloc, "Staircase Blocks - General Settings 1": per step of the staircase
// the row where its unbreakable blocks start and how many there are. Its bytes travel
// through General 1's value fields.
#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& staircaseBlocks();

inline constexpr int kStairSteps = 9;
// Step s = 1..9: its start row (EditKaidanSp<s>) and block count (EditKaidanBk<s>).
const Item& stairStart(int step);
const Item& stairCount(int step);

} // namespace qv::tables
