#pragma once
// Where a dialog of `size` opens: centred over its owner, then pushed back inside
// the work area (left of its right edge and above its bottom first, so that a
// dialog larger than the area keeps its top-left corner visible).
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qv {

inline QPoint placeOver(const QRect& owner, const QSize& size, const QRect& area) {
    int x = owner.left() + owner.width() / 2 - size.width() / 2;
    int y = owner.top() + owner.height() / 2 - size.height() / 2;
    if (x + size.width() > area.left() + area.width())
        x = area.left() + area.width() - size.width();
    if (x < area.left()) x = area.left();
    if (y + size.height() > area.top() + area.height())
        y = area.top() + area.height() - size.height();
    if (y < area.top()) y = area.top();
    return {x, y};
}

} // namespace qv
