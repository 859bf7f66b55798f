#include "gui/dialogs/mario.h"

#include <QToolButton>

#include "core/tables/mario.h"

namespace qv {

namespace {
const QString kLuigiQuestion =
    QStringLiteral("Set all options to the same values as Luigi in SMB2 (J)?");
}

TFormMario::TFormMario(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::mario(), host, parent) {
    QToolButton* luigi =
        addGroupButton("SpdJump", QStringLiteral("SpdJumpLuigi"), QStringLiteral("Luigi"));
    connect(luigi, &QToolButton::clicked, this, &TFormMario::SpdJumpLuigiClick);
}

void TFormMario::SpdJumpLuigiClick() {
    if (!ConfirmReset(kLuigiQuestion)) return;
    for (const tables::PresetValue& p : tables::marioLuigiJump())
        setNumber(*controls(p.control), p.value);
}

SettingsDialog* makeMarioDialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormMario(host, parent);
}

} // namespace qv
