#pragma once
// TFormEnemy2, "Enemy Settings 2": Piranha Plants, firebars, Podoboos and the
// character property lists (who hurts when touched, resists fireballs, falls off-screen
// when stomped, paces, turns to face Mario).
#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& enemy2();

// What the retracted-range box (EditDsPakkun) shows while "Disable All Piranha Plants"
// (ChkDtPakkun) is ticked: the byte the ticked patch holds where the range lives.
int pakkunLockedRange();

} // namespace qv::tables
