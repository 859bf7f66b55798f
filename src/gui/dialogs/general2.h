#pragma once
// TFormZenpan2: the General 2 table plus what it cannot say: the flagpole preview
// with the symbol beside each flagpole list, and the frozen bridge columns.
#include "gui/dialogs/settingsdialog.h"

namespace qv {

class FlagpolePreview;

class TFormZenpan2 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormZenpan2(DialogHost& host, QWidget* parent);

    // Also shows the columns of a frozen bridge and draws the preview.
    void showFields() override;

    FlagpolePreview* preview() const { return preview_; }

  public slots:
    // The nine flagpole lists and the two castle-flag lists: redraw the preview.
    void CmbPoleFlagChange();

  private:
    void buildFlagpoleExtras();

    FlagpolePreview* preview_ = nullptr;
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeGeneral2Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
