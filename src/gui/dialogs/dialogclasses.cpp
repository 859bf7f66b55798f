#include "gui/dialogs/dialogclasses.h"

#include "core/tables/registry.h"
#include "gui/dialogs/color.h"
#include "gui/dialogs/enemy1.h"
#include "gui/dialogs/enemy2.h"
#include "gui/dialogs/enemy3.h"
#include "gui/dialogs/general1.h"
#include "gui/dialogs/general2.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/palette.h"
#include "gui/dialogs/scoring.h"

namespace qv {

namespace {
struct Factory {
    std::string_view className;
    SettingsDialog* (*make)(const DialogTable&, DialogHost&, QWidget*);
};
// The sub-dialogs of General 1 are opened by its own code.
constexpr Factory kFactories[] = {
    {"TFormMario", &makeMarioDialog},      {"TFormZenpan1", &makeGeneral1Dialog},
    {"TFormZenpan2", &makeGeneral2Dialog}, {"TFormEnemy1", &makeEnemy1Dialog},
    {"TFormEnemy2", &makeEnemy2Dialog},    {"TFormEnemy3", &makeEnemy3Dialog},
    {"TFormPoint", &makeScoringDialog},    {"TFormColor", &makeColorDialog},
    {"TFormPallet", &makePaletteDialog},
};
} // namespace

DialogFactory dialogFactory(std::string_view className) {
    for (const Factory& f : kFactories)
        if (f.className == className) return f.make;
    return {};
}

bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry) {
    const DialogTable& table = entry.table();
    return runSettingsDialog(host, table, dialogFactory(table.className));
}

} // namespace qv
