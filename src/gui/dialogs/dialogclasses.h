#pragma once
// The dialog class of each registered table, in one list beside the registry: a table
// whose dialog has widget code of its own is made by that code's factory; any other
// gets the plain built dialog.
#include <string_view>

#include "gui/dialogs/settingssession.h"

namespace qv {

struct DialogEntry;

// The factory of the table with this class name; empty for a plain built dialog.
DialogFactory dialogFactory(std::string_view className);

// The launcher of a registered dialog: load, show modally, finish. True when the image
// changed.
bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry);

} // namespace qv
