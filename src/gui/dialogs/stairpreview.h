#pragma once
// The staircase preview (MemoKaidan): 13 text lines, the row number and one step per cell.
#include "core/staircase.h"
#include "gui/dialogs/cellgridpreview.h"

namespace qv {

class StairPreview final : public CellGridPreview {
    Q_OBJECT
  public:
    explicit StairPreview(QWidget* parent);

    void setGrid(const staircase::Grid& grid);
    const staircase::Grid& grid() const { return grid_; }
    // The 13 lines joined by CR LF, as the preview reads.
    QString text() const;

  protected:
    QStringList symbols() const override;
    std::string rowLabel(int row) const override { return staircase::rowLabel(row); }
    void drawCell(QPainter& p, const QRect& at, int row, int cell) const override;

  private:
    staircase::Grid grid_{};
};

} // namespace qv
