#pragma once
// TFormPoint: the Scoring table plus what no table says: the points and picture
// columns side by side, and the two panels beside each item combo that show what its
// score-table slot really gives.
#include <array>

#include "gui/dialogs/settingsdialog.h"

class QLabel;

namespace qv {

class TFormPoint final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormPoint(DialogHost& host, QWidget* parent);

    // Also fills all 17 pairs of panels.
    void showFields() override;

    // The panels of the item combo with this Tag (1..17) from its entry and the
    // General tab's combos of that slot as they read now.
    void UpdateScorePanels(int tag);

  public slots:
    // Entering a tab of item combos refreshes its panels: the General tab may have
    // changed since.
    void Page1Change(int index);

  private:
    void arrangePanels(const char* group);

    struct Panels {
        QLabel* points = nullptr;
        QLabel* display = nullptr;
    };
    std::array<Panels, 17> panels_{};
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeScoringDialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
