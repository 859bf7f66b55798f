#pragma once
// TFormEnemy1: the Enemy 1 table plus what it cannot say: the "+0.5" check box that
// shares Lakitu's revival elevation byte with its list, and the Lakitu page's help.
#include "gui/dialogs/settingsdialog.h"

class QCheckBox;

namespace qv {

class TFormEnemy1 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormEnemy1(DialogHost& host, QWidget* parent);

    // Also sets ChkJugemRestHei from its nibble, grey and disabled when the byte is
    // out of bounds.
    void showFields() override;

  public slots:
    // The list back to "0.5  [Default]" and the check box cleared, each only if enabled.
    void SpdJugemRestHeiClick();

  private:
    QCheckBox* raised_ = nullptr; // ChkJugemRestHei
};

// mmmEnemy1Click / BtnEnemy1: the launcher for this dialog. True when the image changed.
bool runEnemy1Dialog(DialogHost& host);
SettingsDialog* makeEnemy1Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
