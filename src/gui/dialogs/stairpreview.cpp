#include "gui/dialogs/stairpreview.h"

#include <QPainter>

namespace qv {

StairPreview::StairPreview(QWidget* parent)
    : CellGridPreview(parent, QStringLiteral("MemoKaidan"), staircase::kRows, staircase::kSteps) {}

void StairPreview::setGrid(const staircase::Grid& grid) {
    grid_ = grid;
    update();
}

QString StairPreview::text() const {
    return QString::fromStdString(staircase::text(grid_));
}

QStringList StairPreview::symbols() const {
    QStringList out;
    for (auto c : {staircase::Cell::Ground, staircase::Cell::Block, staircase::Cell::Invalid})
        out << drawable(staircase::cellText(c));
    return out;
}

void StairPreview::drawCell(QPainter& p, const QRect& at, int row, int cell) const {
    const auto c = grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(cell)];
    if (c == staircase::Cell::Open) // "- ": the hyphen in the left half
        p.drawText(at.adjusted(0, 0, -at.width() / 2, 0), Qt::AlignCenter, QStringLiteral("-"));
    else
        p.drawText(at, Qt::AlignCenter, drawable(staircase::cellText(c)));
}

} // namespace qv
