#pragma once
// TFormPallet: seven pages of colour entries (one radio button per colour byte, painted
// in its colour; one selected per page) and a picker of the 64 NES colours that sets
// the selected entry's colour index. The Coins page animates the shine cycle of the
// coin and "?" block. The colour indices live in the dialog's value fields.
#include <QColor>
#include <array>
#include <vector>

#include "core/tables/palette.h"
#include "gui/dialogs/settingsdialog.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFrame;
class QGridLayout;
class QTimer;

namespace qv {

class ChoiceCombo;
class SceneStrips;

class TFormPallet final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormPallet(DialogHost& host, QWidget* parent);

    // FormShow without the timer: the count list, the painted picker and entries, each
    // page's remembered entry, the picker mark and the shine entries the count allows.
    void showFields() override;

    // ColorOf: the screen colour of a colour index under the host's colour source.
    QColor colorOf(int index) const;
    // The offset of the selected entry of page 0..6; -1 for none.
    int selectedOffset(int page) const;
    // The colour the coin example shows now.
    QColor exampleColor() const;
    int exampleStep() const { return step_; }

  public slots:
    void Rad05E0Click();
    void Page1Change(int index);
    void Rad00Click(int colorIndex);
    // Reset (tag 0) or Sel. Reset (tag 1) on the active page.
    void SpdPallet1Click(int tag);
    void CmbCoinCountChange();
    // Every 133 ms while the dialog is shown; tests call it directly.
    void Timer1Timer();
    // The same tick for the scene strips' shining "?" block and coin.
    void sceneTick();

  protected:
    void showEvent(QShowEvent* e) override;
    bool markCustomPage(int page) override;

  private:
    struct Entry {
        const tables::PaletteEntry* entry;
        QAbstractButton* button;
        QWidget* label; // the row's
    };
    void buildPage(int page);
    void buildPicker();
    void addRow(int page, QGridLayout* grid, int row, const tables::PaletteRow& r);
    void SyncSwatch();
    void PaintEntries();
    void paint(QWidget* w, int index) const;
    const Entry* selected(int page) const;
    const Entry* shine(int n) const; // 1..6
    QString memoryKey(int page) const;
    // The scene strip in view, in the colours being edited, and its shine cycle.
    void refreshScenes();
    int shineCount() const;

    std::array<std::vector<Entry>, tables::kPalletPages> entries_;
    std::array<QButtonGroup*, tables::kPalletPages> groups_{};
    std::array<QAbstractButton*, 64> picker_{};
    QFrame* pickerPanel_ = nullptr; // PnlPallet
    QFrame* example_ = nullptr;     // PnlPalKCoin
    ChoiceCombo* count_ = nullptr;  // CmbCoinCount
    QTimer* timer_ = nullptr;       // Timer1
    SceneStrips* scenes_ = nullptr;
    bool syncing_ = false;
    int step_ = 0;
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makePaletteDialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
