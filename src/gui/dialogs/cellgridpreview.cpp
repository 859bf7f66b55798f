#include "gui/dialogs/cellgridpreview.h"

#include <QPainter>
#include <algorithm>

#include "gui/main/glyphs.h"

namespace qv {

namespace {
constexpr int kMargin = 4;
constexpr int kLabelColumns = 3; // "-1 ", "10 "
} // namespace

CellGridPreview::CellGridPreview(QWidget* parent, const QString& objectName, int rows, int cells)
    : QFrame(parent), rows_(rows), cells_(cells) {
    setObjectName(objectName);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFont(previewFont());
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString CellGridPreview::drawable(std::string_view s) {
    static const QFont font = previewFont();
    return drawableText(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())), font);
}

int CellGridPreview::halfWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

// Wide enough for two half-width characters and for the widest symbol.
int CellGridPreview::cellWidth() const {
    int w = 2 * halfWidth();
    for (const QString& s : symbols())
        w = std::max(w, fontMetrics().horizontalAdvance(s));
    return w;
}

QSize CellGridPreview::sizeHint() const {
    const int f = 2 * frameWidth();
    return {f + 2 * kMargin + kLabelColumns * halfWidth() + cells_ * cellWidth(),
            f + 2 * kMargin + rows_ * fontMetrics().lineSpacing()};
}

void CellGridPreview::paintEvent(QPaintEvent* e) {
    {
        QPainter p(this);
        // Read-only, never greyed: it sits on a disabled panel only to keep the focus away.
        p.fillRect(contentsRect(), palette().color(QPalette::Active, QPalette::Base));
        p.setPen(palette().color(QPalette::Active, QPalette::Text));
        const int half = halfWidth(), cell = cellWidth(), line = fontMetrics().lineSpacing();
        const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
        for (int r = 0; r < rows_; ++r) {
            const int y = origin.y() + r * line;
            const std::string label = rowLabel(r);
            for (int i = 0; i < kLabelColumns; ++i)
                p.drawText(QRect(origin.x() + i * half, y, half, line), Qt::AlignCenter,
                           QString(QLatin1Char(label[static_cast<std::size_t>(i)])));
            for (int c = 0; c < cells_; ++c)
                drawCell(p, QRect(origin.x() + kLabelColumns * half + c * cell, y, cell, line), r,
                         c);
        }
    }
    QFrame::paintEvent(e);
}

} // namespace qv
