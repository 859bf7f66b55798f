#pragma once
// TFormZenpan2, "General Settings 2": the end-of-level flagpole, the castle flag, the
// objects at Bowser's bridge, Toad's and Mario's end positions, the item block's
// object and the monochrome screen switch.
#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& zenpan2();

} // namespace qv::tables
