#pragma once
// TFormEnemy2: the Enemy 2 table plus the coupling of the "Disable All Piranha Plants"
// patch with the retract range, which is that patch's operand.
#include <QPalette>

#include "gui/dialogs/settingsdialog.h"

namespace qv {

class TFormEnemy2 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormEnemy2(DialogHost& host, QWidget* parent);

    // Also locks the range while the patch is ticked and takes the remembered range.
    void showFields() override;

    int rememberedRange() const { return remembered_; }

  public slots:
    // Ticked: the range text becomes the remembered range, the range box is locked
    // showing 10 (the jump's operand byte). Cleared: unlocked with the remembered range.
    void ChkDtPakkunClick();
    // The group's Reset, after which the range box is unlocked and shows 33.
    void SpdIiPakkunClick();

  private:
    void lockRange(bool locked);
    // OK's store step: the range has been read; a ticked patch writes its whole JMP.
    void storeExtras() override;

    const Controls* patch_ = nullptr;
    const Controls* range_ = nullptr;
    QPalette rangePalette_;
    int remembered_ = 33;
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeEnemy2Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
