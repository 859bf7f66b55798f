#pragma once
// TFormZenpan1, "General Settings 1": block, item, springboard, lift, bridge, rope,
// timer and stage-select values; host of the Basic blocks and Staircase sub-dialogs.
#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& general1();

} // namespace qv::tables
