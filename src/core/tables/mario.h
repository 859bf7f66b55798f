#pragma once
// TFormMario, "Mario Settings": movement, jumping, swimming, fireball, pipe, vine and
// damage parameters.
#include <span>
#include <string_view>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& mario();

struct PresetValue {
    std::string_view control;
    int value; // display value
};
// What the "Luigi" button (SpdJumpLuigi) puts into the twenty jump-table edits.
std::span<const PresetValue> marioLuigiJump();

} // namespace qv::tables
