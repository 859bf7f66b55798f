#pragma once
// The staircase preview (MemoKaidan): 13 text lines drawn on a fixed grid, the row
// number in three half-width columns and each step in a cell two half-widths wide, so
// that the columns line up whatever widths the font gives the symbols.
#include <QFrame>

#include "core/staircase.h"

namespace qv {

class StairPreview final : public QFrame {
    Q_OBJECT
public:
    explicit StairPreview(QWidget* parent);

    void setGrid(const staircase::Grid& grid);
    const staircase::Grid& grid() const { return grid_; }
    // The 13 lines joined by CR LF, as the preview reads.
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int halfWidth() const;
    int cellWidth() const;

    staircase::Grid grid_{};
};

} // namespace qv
