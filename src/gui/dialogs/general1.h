#pragma once
// TFormZenpan1: the General 1 table plus its two sub-dialog buttons, Basic blocks and
// Staircase blocks, whose values travel through this dialog's value fields and reach
// the image only when this dialog is closed with OK.
#include <map>
#include <memory>

#include "gui/dialogs/settingsdialog.h"

class QLabel;

namespace qv {

class TFormKaidanBloc;
class TFormKihonBloc;

class TFormZenpan1 final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormZenpan1(DialogHost& host, QWidget* parent);
    ~TFormZenpan1() override;

    // Also takes the reference copy of the sub-dialogs' values and clears both
    // "Changed" labels.
    void showFields() override;

    // Each sub-dialog in two steps around its modal loop (tests call them alone):
    // open builds, fills and places it; closed updates the status label after OK.
    std::unique_ptr<TFormKihonBloc> openKihonBloc();
    void kihonBlocClosed(bool accepted);
    std::unique_ptr<TFormKaidanBloc> openKaidanBloc();
    void kaidanBlocClosed(bool accepted);

  public slots:
    void BtnKihonBlocClick();
    void BtnKaidanBlocClick();

  private:
    // "Changed" when any of the sub-dialog's bytes differs from the reference copy.
    void updateStatus(const DialogTable& sub, const char* label);

    std::map<int, std::uint8_t> reference_; // by offset
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeGeneral1Dialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
