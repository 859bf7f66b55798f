#include "gui/dialogs/flagpolepreview.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

namespace qv {

namespace {
constexpr int kMargin = 4;
constexpr int kLabelColumns = 3;  // "-1 "
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
} // namespace

FlagpolePreview::FlagpolePreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("MemoPole"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FlagpolePreview::setPositions(const flagpole::Positions& p) {
    positions_ = p;
    update();
}

QString FlagpolePreview::text() const { return QString::fromStdString(flagpole::text(positions_)); }

int FlagpolePreview::halfWidth() const { return fontMetrics().horizontalAdvance(QLatin1Char('0')); }

// Wide enough for two half-width characters and for the widest symbol.
int FlagpolePreview::cellWidth() const {
    int w = 2 * halfWidth();
    for (const char* s : {"●", "＿", "＼", "止", "┃", "│", "■", "※", "←", "↓", "↑", "□"})
        w = std::max(w, fontMetrics().horizontalAdvance(QString::fromUtf8(s)));
    return w;
}

QSize FlagpolePreview::sizeHint() const {
    const int f = 2 * frameWidth();
    return {f + 2 * kMargin + kLabelColumns * halfWidth() + flagpole::kCells * cellWidth(),
            f + 2 * kMargin + flagpole::kRows * fontMetrics().lineSpacing()};
}

void FlagpolePreview::paintEvent(QPaintEvent* e) {
    {
        QPainter p(this);
        // Read-only, never greyed: it sits on a disabled panel only to keep the focus away.
        p.fillRect(contentsRect(), palette().color(QPalette::Active, QPalette::Base));
        p.setPen(palette().color(QPalette::Active, QPalette::Text));
        const int half = halfWidth(), cell = cellWidth(), line = fontMetrics().lineSpacing();
        const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
        for (int r = 0; r < flagpole::kRows; ++r) {
            const int y = origin.y() + r * line;
            const std::string label = flagpole::rowLabel(r);
            for (int i = 0; i < kLabelColumns; ++i)
                p.drawText(QRect(origin.x() + i * half, y, half, line), Qt::AlignCenter,
                           QString(QLatin1Char(label[static_cast<std::size_t>(i)])));
            const flagpole::Row row = flagpole::cells(positions_, r);
            for (int c = 0; c < flagpole::kCells; ++c)
                p.drawText(QRect(origin.x() + kLabelColumns * half + c * cell, y, cell, line),
                           Qt::AlignCenter, qs(row[static_cast<std::size_t>(c)]));
        }
    }
    QFrame::paintEvent(e);
}

} // namespace qv
