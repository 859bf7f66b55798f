#pragma once
// TFormKihonBloc: the basic block patterns as a grid of check boxes, one column per
// pattern plus the cloud column. It edits General 1's value fields only: read when
// shown, replaced on OK, untouched on Cancel.
#include <QDialog>
#include <array>

#include "core/tables/basicblocks.h"

class QCheckBox;
class QRadioButton;

namespace qv {

class DialogHost;
class ValueFields;

class TFormKihonBloc final : public QDialog {
    Q_OBJECT
  public:
    TFormKihonBloc(ValueFields& fields, DialogHost& host, QWidget* parent);

    // Rows r of column c (0..15 the patterns, 16 the clouds); nullptr for the cloud
    // column's rows 0..7.
    QCheckBox* box(int row, int column) const {
        return boxes_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
    }

    // The grid from the fields; columns whose high byte lies outside 0..31 get their
    // rows 8..12 greyed and disabled for the rest of the showing.
    void FormShow();
    // Selects the column of the item named `control` ("KbPattern3", "KbClouds") and puts
    // the focus on its button.
    void focusItem(const QString& control);

  public slots:
    // The checked rows back into the fields; disabled rows keep their byte.
    void BtnOkClick();
    // Tag 0 ("Reset"): every column; tag 1 ("Sel. Reset"): the selected column.
    void SpdKihonBlocClick(int tag);
    void BtnHelpClick();

  private:
    void build();
    void resetColumn(int column);
    void markColumns();

    ValueFields& fields_;
    DialogHost& host_;
    std::array<std::array<QCheckBox*, tables::kBlockRows>, tables::kBlockColumns> boxes_{};
    std::array<QRadioButton*, tables::kBlockColumns> radios_{};
    std::array<QWidget*, tables::kBlockColumns> numbers_{}; // the column headings
};

} // namespace qv
