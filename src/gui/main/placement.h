#pragma once
// Where windows open: centred over an owner, then pushed back inside the work area
// (left of its right edge and above its bottom first, so that a window larger than
// the area keeps its top-left corner visible); and the dialog border they share.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QDialog;
class QWidget;

namespace qv {

inline QPoint clampToArea(QPoint at, const QSize& size, const QRect& area) {
    int x = at.x(), y = at.y();
    if (x + size.width() > area.left() + area.width())
        x = area.left() + area.width() - size.width();
    if (x < area.left()) x = area.left();
    if (y + size.height() > area.top() + area.height())
        y = area.top() + area.height() - size.height();
    if (y < area.top()) y = area.top();
    return {x, y};
}

inline QPoint placeOver(const QRect& owner, const QSize& size, const QRect& area) {
    return clampToArea({owner.left() + owner.width() / 2 - size.width() / 2,
                        owner.top() + owner.height() / 2 - size.height() / 2},
                       size, area);
}

// Beside the owner's frame, on its right when that fits in the area, else on its left;
// when neither fits, on the roomier side, pushed back inside the area. A window read
// next to its owner (a list of changes) hides as little of it as it can.
inline QPoint placeBeside(const QRect& owner, const QSize& size, const QRect& area) {
    const int right = area.right() - owner.right(), left = owner.left() - area.left();
    const int x =
        (right >= size.width() || right >= left) ? owner.right() + 1 : owner.left() - size.width();
    return clampToArea({x, owner.top()}, size, area);
}

// A frame for a window read next to its owner that never covers it where the area has
// room: `wanted` wide beside the owner (right first), else as wide as the roomier side
// allows down to `least.width()`, else above or below the owner at least
// `least.height()` high; only when no side has that much room is it placed as
// placeBeside() places it.
QRect frameBeside(const QRect& owner, const QSize& wanted, const QSize& least, const QRect& area);

// A saved frame position `at` of a window of frame size `size`, kept when the window's
// title bar (its top kTitleBar pixels, at least kGrip of its width) is on one of
// `screens`; otherwise moved inside the screen nearest to it, so that it can be reached.
constexpr int kTitleBar = 30;
constexpr int kGrip = 100;
QPoint keepTitleBarOnScreen(QPoint at, const QSize& size, const QList<QRect>& screens);
// The same over the work areas of the screens attached.
QPoint keepTitleBarOnScreen(QPoint at, const QSize& size);

// The work area of the screen that shows `w` (the primary screen when it has none).
QRect workArea(const QWidget* w);

// Moves the frame of the top-level `w` to `at` and keeps it there once the window manager
// has framed it: some managers place a window that is not yet mapped with its client area,
// not its frame, at the position asked for (20 pixels low, 1 right); a move after mapping
// is exact, so the place is made good then.
void moveFrameTo(QWidget* w, QPoint at);

// Moves `window` over its owner (its parent's window, else the active window) and
// inside the owner's work area; to the middle of its own work area when it has none.
void placeOverOwner(QWidget* window);

// A fixed dialog border with the system menu, close and context-help buttons.
void setDialogBorder(QDialog* dialog);

// From now on a modal window that gets minimized is shown again at once. Some window
// managers draw a minimize button on every dialog whatever the window asks for (openbox
// does), and minimizing a modal dialog there minimizes its owner with it: the program
// seemed to vanish, its one usable window out of sight. Installed once per application.
void keepModalWindowsRestored();

} // namespace qv
