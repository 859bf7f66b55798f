#pragma once
// TFormEnemy3: the Enemy 3 table plus the flame pattern count, which decides how many
// of the eight flame interval boxes are in use.
#include <QPalette>
#include <array>

#include "gui/dialogs/settingsdialog.h"

namespace qv {

class TFormEnemy3 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormEnemy3(DialogHost& host, QWidget* parent);

    // Also applies the pattern count to the interval boxes.
    void showFields() override;

  public slots:
    // Enables the interval boxes the chosen count uses (an out-of-bounds list counts as
    // "1") and disables the others with the button-face colour, spinners alike.
    void CmbKoppaFiPatCntChange();
    // Every text box of the flame group to its default, the count to "8" when the list
    // is enabled, then the pattern count applied again.
    void SpdKoppaFiPatClick();

  private:
    // OK's store step: the interval boxes out of use are read too.
    void storeExtras() override;

    std::array<const Controls*, 8> intervals_{};
    const Controls* count_ = nullptr;
    QPalette intervalPalette_;
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeEnemy3Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
