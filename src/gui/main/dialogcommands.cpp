// The Edit menu's settings dialogs: each runs its launcher on the open document.
#include "gui/dialogs/color.h"
#include "gui/dialogs/enemy1.h"
#include "gui/dialogs/enemy2.h"
#include "gui/dialogs/enemy3.h"
#include "gui/dialogs/general1.h"
#include "gui/dialogs/general2.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/palette.h"
#include "gui/dialogs/scoring.h"
#include "gui/main/mainwindow.h"

namespace qv {

void TForm1::runSettingsDialog(bool (*run)(DialogHost&)) {
    if (!doc_.isOpen()) return;
    postTopmostReassertion();
    run(*this);
}

void TForm1::mmmMarioClick() {
    runSettingsDialog(runMarioDialog);
}
void TForm1::mmmZenpan1Click() {
    runSettingsDialog(runZenpan1Dialog);
}
void TForm1::mmmZenpan2Click() {
    runSettingsDialog(runZenpan2Dialog);
}
void TForm1::mmmEnemy1Click() {
    runSettingsDialog(runEnemy1Dialog);
}
void TForm1::mmmEnemy2Click() {
    runSettingsDialog(runEnemy2Dialog);
}
void TForm1::mmmEnemy3Click() {
    runSettingsDialog(runEnemy3Dialog);
}
void TForm1::mmmPointClick() {
    runSettingsDialog(runPointDialog);
}
void TForm1::mmmColorClick() {
    runSettingsDialog(runColorDialog);
}
void TForm1::mmmPalletClick() {
    runSettingsDialog(runPalletDialog);
}

} // namespace qv
