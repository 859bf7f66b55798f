#include "gui/dialogs/enemy1.h"

#include "core/tables/enemy1.h"
#include "gui/main/helpcontext.h"

namespace qv {

TFormEnemy1::TFormEnemy1(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::enemy1(), host, parent) {
    setHelpContext(findChild<QWidget*>(QStringLiteral("TabJugem")), 4008);
}

SettingsDialog* makeEnemy1Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormEnemy1(host, parent);
}

} // namespace qv
