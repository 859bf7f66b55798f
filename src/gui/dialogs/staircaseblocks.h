#pragma once
// TFormKaidanBloc: start row and block count of the nine staircase steps, with a text
// preview redrawn on every change. It edits General 1's value fields only: read when
// shown, the valid steps replaced on OK, nothing changed on Cancel.
#include <QDialog>
#include <array>

#include "core/tables/staircaseblocks.h"

class QLineEdit;

namespace qv {

class DialogHost;
class StairPreview;
class UpDown;
class ValueFields;

class TFormKaidanBloc final : public QDialog {
    Q_OBJECT
  public:
    TFormKaidanBloc(ValueFields& fields, DialogHost& host, QWidget* parent);

    // Steps s = 1..9.
    QLineEdit* startEdit(int step) const { return starts_[static_cast<std::size_t>(step - 1)]; }
    QLineEdit* countEdit(int step) const { return counts_[static_cast<std::size_t>(step - 1)]; }
    StairPreview* preview() const { return memo_; }

    // Valid steps into their boxes; invalid ones disabled for the rest of the showing.
    void FormShow();

  public slots:
    // Each enabled step's texts (defaults for invalid text) into the fields.
    void BtnOkClick();
    void SpdKaidanClick();
    // Shared by all 18 boxes: redraws the preview.
    void EditKaidanSp1Change();
    void BtnHelpClick();

  private:
    void build();

    ValueFields& fields_;
    DialogHost& host_;
    std::array<QLineEdit*, tables::kStairSteps> starts_{}, counts_{};
    std::array<UpDown*, tables::kStairSteps> startSpins_{}, countSpins_{};
    StairPreview* memo_ = nullptr;
    QWidget* startLabel_ = nullptr; // bold while a step's start differs from the game's
    QWidget* countLabel_ = nullptr;
};

} // namespace qv
