#pragma once
// TFormEnemy3, "Enemy Settings 3": Bill Blasters and Bullet Bills, Hammer Bros.,
// Bowser, Bowser's flames and the hammers.
#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& enemy3();

// "Patt&ern Count:" entry -> how many of the eight flame interval boxes are in use;
// anything else (an out-of-bounds list) counts as the first entry.
int flameIntervalsInUse(int patternCountEntry);

} // namespace qv::tables
