#pragma once
// The flagpole preview (MemoPole): 14 text lines drawn on a fixed grid, the row label
// in three half-width columns and each symbol in a cell two half-widths wide, so that
// the columns line up whatever widths the font gives the symbols.
#include <QFrame>

#include "core/flagpole.h"

namespace qv {

class FlagpolePreview final : public QFrame {
    Q_OBJECT
public:
    explicit FlagpolePreview(QWidget* parent);

    void setPositions(const flagpole::Positions& p);
    const flagpole::Positions& positions() const { return positions_; }
    // The 14 lines joined by CR LF, as the preview reads.
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int halfWidth() const;
    int cellWidth() const;

    flagpole::Positions positions_;
};

} // namespace qv
