// The Edit menu's settings dialogs: each runs its registered launcher on the open document.
#include "core/document.h"
#include "gui/dialogs/dialogclasses.h"
#include "gui/main/mainwindow.h"

namespace qv {

void TForm1::runDialog(const DialogEntry& entry) {
    if (!doc_.isOpen()) return;
    postTopmostReassertion();
    runRegisteredDialog(*this, entry, dialogSpares_);
}

} // namespace qv
