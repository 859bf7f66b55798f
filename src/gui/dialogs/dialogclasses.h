#pragma once
// The dialog classes made for registered tables, found by the table's class name.
// Each dialog with widget code of its own registers its factory beside that code;
// a table without one gets the plain built dialog. (The editor links the GUI library
// whole, so that every registration runs.)
#include <string_view>

#include "gui/dialogs/settingssession.h"

namespace qv {

struct DialogEntry;

struct DialogClassRegistration {
    DialogClassRegistration(std::string_view className, DialogFactory factory);
};

// The factory registered for this class name; empty when none was.
DialogFactory dialogFactory(std::string_view className);

// The launcher of a registered dialog: load, show modally, finish. True when the image
// changed.
bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry);

} // namespace qv
