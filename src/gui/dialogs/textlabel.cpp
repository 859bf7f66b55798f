#include "gui/dialogs/textlabel.h"

#include <QFontMetrics>
#include <QHash>
#include <QStyle>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace qv {

TextLabel::Look TextLabel::look() const {
    Look l;
    l.text = text();
    l.font = font();
    l.contents = contentsMargins();
    l.least = minimumSize();
    l.style = style();
    l.buddy = buddy() != nullptr;
    l.reserveBold = reserveBold_ && !font().bold();
    l.wrap = wordWrap();
    l.format = textFormat();
    l.direction = layoutDirection();
    l.margin = margin();
    l.indent = indent();
    l.alignment = int(alignment());
    l.frame = frameWidth();
    return l;
}

TextLabel::Hints TextLabel::hints() const {
    ensurePolished(); // a style sheet may still change the font
    Look now = look();
    if (answered_ && now == lastLook_) return lastHints_;
    const bool rich =
        now.format == Qt::RichText || (now.format == Qt::AutoText && Qt::mightBeRichText(now.text));
    if (now.wrap || rich || now.text.isEmpty() || !pixmap().isNull()) {
        answered_ = false;
        return {QLabel::sizeHint(), QLabel::minimumSizeHint()};
    }

    QString key = now.text;
    key += QChar(0);
    key += now.font.key();
    for (int n :
         {now.contents.left(), now.contents.top(), now.contents.right(), now.contents.bottom(),
          now.least.width(), now.least.height(), now.margin, now.indent, now.alignment, now.frame,
          int(now.direction), int(now.buddy), int(now.reserveBold)}) {
        key += QLatin1Char('|');
        key += QString::number(n);
    }
    key += QLatin1Char('|');
    key += now.style->name();

    static QHash<QString, Hints> measured;
    auto it = measured.constFind(key);
    if (it == measured.constEnd()) {
        Hints h{QLabel::sizeHint(), QLabel::minimumSizeHint()};
        if (now.reserveBold) {
            QFont bold = now.font;
            bold.setBold(true);
            QString shown = now.text;
            shown.remove(QLatin1Char('&'));
            h.size.rwidth() += std::max(0, QFontMetrics(bold).horizontalAdvance(shown) -
                                               fontMetrics().horizontalAdvance(shown));
        }
        it = measured.insert(key, h);
    }
    lastLook_ = std::move(now);
    lastHints_ = *it;
    answered_ = true;
    return lastHints_;
}

QSize TextLabel::sizeHint() const {
    return hints().size;
}

QSize TextLabel::minimumSizeHint() const {
    return hints().minimum;
}

} // namespace qv
