#pragma once
// The flagpole preview (MemoPole): 14 text lines, the row label and one symbol per cell.
#include "core/flagpole.h"
#include "gui/dialogs/cellgridpreview.h"

namespace qv {

class FlagpolePreview final : public CellGridPreview {
    Q_OBJECT
  public:
    explicit FlagpolePreview(QWidget* parent);

    void setPositions(const flagpole::Positions& p);
    const flagpole::Positions& positions() const { return positions_; }
    // The 14 lines joined by CR LF, as the preview reads.
    QString text() const;

  protected:
    QStringList symbols() const override;
    std::string rowLabel(int row) const override { return flagpole::rowLabel(row); }
    void drawCell(QPainter& p, const QRect& at, int row, int cell) const override;

  private:
    flagpole::Positions positions_;
};

} // namespace qv
