#include "gui/dialogs/flagpolepreview.h"

#include <QPainter>

namespace qv {

FlagpolePreview::FlagpolePreview(QWidget* parent)
    : CellGridPreview(parent, QStringLiteral("MemoPole"), flagpole::kRows, flagpole::kCells) {}

void FlagpolePreview::setPositions(const flagpole::Positions& p) {
    positions_ = p;
    update();
}

QString FlagpolePreview::text() const {
    return QString::fromStdString(flagpole::text(positions_));
}

QStringList FlagpolePreview::symbols() const {
    QStringList out;
    for (const char* s : {"●", "＿", "＼", "止", "┃", "│", "■", "※", "←", "↓", "↑", "□"})
        out << drawable(s);
    return out;
}

void FlagpolePreview::drawCell(QPainter& p, const QRect& at, int row, int cell) const {
    const flagpole::Row cells = flagpole::cells(positions_, row);
    p.drawText(at, Qt::AlignCenter, drawable(cells[static_cast<std::size_t>(cell)]));
}

} // namespace qv
