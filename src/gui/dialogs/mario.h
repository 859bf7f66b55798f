#pragma once
// TFormMario: the Mario table plus its one hand-written button, "Luigi".
#include "gui/dialogs/settingsdialog.h"

namespace qv {

class TFormMario final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormMario(DialogHost& host, QWidget* parent);

  public slots:
    // Fills the twenty jump-table edits with Luigi's values, after its own question.
    void SpdJumpLuigiClick();
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeMarioDialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
