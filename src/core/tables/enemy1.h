#pragma once
// TFormEnemy1, "Enemy Settings 1": movement and behaviour of the common enemies
// (Koopa Troopas, Paratroopas, Lakitu, Spiny, Goombas, groups of enemies, flying
// Cheep-Cheeps, Bloopers) and how shells and enemies react to Mario.
#include <optional>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& enemy1();

// Lakitu's revival elevation byte holds two controls: the list (CmbJugemRestHei) in
// the high nibble and the "+0.5" check box (ChkJugemRestHei) as a low nibble of 8.
inline constexpr int kJugemRestHei = 0x43EF;
// Whether the check box is ticked; nothing when the low nibble is neither 0 nor 8
// (the byte is out of bounds and kept).
std::optional<bool> revivalRaised(int field);
// The field with the check box's nibble set or cleared; an out-of-bounds field is
// returned unchanged.
int withRevivalRaised(int field, bool raised);

} // namespace qv::tables
