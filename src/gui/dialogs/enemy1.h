#pragma once
// TFormEnemy1: the Enemy 1 table plus what it cannot say: the Lakitu page's help.
#include "gui/dialogs/settingsdialog.h"

namespace qv {

class TFormEnemy1 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormEnemy1(DialogHost& host, QWidget* parent);
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeEnemy1Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
