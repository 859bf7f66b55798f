#include "gui/dialogs/stairpreview.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

namespace qv {

namespace {
constexpr int kMargin = 4;
constexpr int kLabelColumns = 3;  // "10 "
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
} // namespace

StairPreview::StairPreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("MemoKaidan"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StairPreview::setGrid(const staircase::Grid& grid) {
    grid_ = grid;
    update();
}

QString StairPreview::text() const { return QString::fromStdString(staircase::text(grid_)); }

int StairPreview::halfWidth() const { return fontMetrics().horizontalAdvance(QLatin1Char('0')); }

// Wide enough for two half-width characters and for the widest symbol.
int StairPreview::cellWidth() const {
    int w = 2 * halfWidth();
    for (auto c : {staircase::Cell::Ground, staircase::Cell::Block, staircase::Cell::Invalid})
        w = std::max(w, fontMetrics().horizontalAdvance(qs(staircase::cellText(c))));
    return w;
}

QSize StairPreview::sizeHint() const {
    const int f = 2 * frameWidth();
    return {f + 2 * kMargin + kLabelColumns * halfWidth() + staircase::kSteps * cellWidth(),
            f + 2 * kMargin + staircase::kRows * fontMetrics().lineSpacing()};
}

void StairPreview::paintEvent(QPaintEvent* e) {
    {
        QPainter p(this);
        // Read-only, never greyed: it sits on a disabled panel only to keep the focus away.
        p.fillRect(contentsRect(), palette().color(QPalette::Active, QPalette::Base));
        p.setPen(palette().color(QPalette::Active, QPalette::Text));
        const int half = halfWidth(), cell = cellWidth(), line = fontMetrics().lineSpacing();
        const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
        for (int r = 0; r < staircase::kRows; ++r) {
            const int y = origin.y() + r * line;
            const std::string label = staircase::rowLabel(r);
            for (int i = 0; i < kLabelColumns; ++i)
                p.drawText(QRect(origin.x() + i * half, y, half, line), Qt::AlignCenter,
                           QString(QLatin1Char(label[static_cast<std::size_t>(i)])));
            for (int s = 0; s < staircase::kSteps; ++s) {
                const auto c = grid_[static_cast<std::size_t>(r)][static_cast<std::size_t>(s)];
                const QRect at(origin.x() + kLabelColumns * half + s * cell, y, cell, line);
                if (c == staircase::Cell::Open)  // "- ": the hyphen in the left half
                    p.drawText(at.adjusted(0, 0, -cell / 2, 0), Qt::AlignCenter, QStringLiteral("-"));
                else
                    p.drawText(at, Qt::AlignCenter, qs(staircase::cellText(c)));
            }
        }
    }
    QFrame::paintEvent(e);
}

} // namespace qv
