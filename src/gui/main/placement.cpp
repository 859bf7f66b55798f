#include "gui/main/placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace qv {

QRect workArea(const QWidget* w) {
    QScreen* screen = w ? w->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint keepTitleBarOnScreen(QPoint at, const QSize& size, const QList<QRect>& screens) {
    if (screens.isEmpty()) return at;
    const QRect title(at, QSize(size.width(), kTitleBar));
    const int grip = std::min(size.width(), kGrip);
    const QRect* nearest = nullptr;
    int distance = 0;
    for (const QRect& s : screens) {
        const QRect on = s.intersected(title);
        if (on.height() == kTitleBar && on.width() >= grip) return at;
        const QPoint d = title.center() - s.center();
        const int away = std::max(0, std::abs(d.x()) - s.width() / 2) +
                         std::max(0, std::abs(d.y()) - s.height() / 2);
        if (!nearest || away < distance) nearest = &s, distance = away;
    }
    return clampToArea(at, size, *nearest);
}

QRect frameBeside(const QRect& owner, const QSize& wanted, const QSize& least, const QRect& area) {
    const int right = area.right() - owner.right(), left = owner.left() - area.left();
    const int below = area.bottom() - owner.bottom(), above = owner.top() - area.top();
    const int height = std::min(wanted.height(), area.height());
    const auto at = [&](int x, int w) {
        const int y = std::clamp(owner.top(), area.top(), area.bottom() + 1 - height);
        return QRect(x, y, w, height);
    };
    if (right >= wanted.width()) return at(owner.right() + 1, wanted.width());
    if (left >= wanted.width()) return at(owner.left() - wanted.width(), wanted.width());
    if (std::max(right, left) >= least.width())
        return right >= left ? at(owner.right() + 1, right) : at(area.left(), left);
    if (std::max(below, above) >= least.height()) {
        const int w = std::min(wanted.width(), area.width());
        const int x = std::clamp(owner.left(), area.left(), area.right() + 1 - w);
        const int h = std::min(wanted.height(), std::max(below, above));
        return below >= above ? QRect(x, owner.bottom() + 1, w, h)
                              : QRect(x, owner.top() - h, w, h);
    }
    return QRect(placeBeside(owner, wanted, area), wanted);
}

QPoint keepTitleBarOnScreen(QPoint at, const QSize& size) {
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas << s->availableGeometry();
    return keepTitleBarOnScreen(at, size, areas);
}

void moveFrameTo(QWidget* w, QPoint at) {
    w->move(at);
    // Wait (briefly) for the frame to be known, then correct once.
    auto tries = std::make_shared<int>(20);
    auto check = std::make_shared<std::function<void()>>();
    QPointer<QWidget> window(w);
    *check = [window, at, tries, check] {
        const bool framed =
            window && window->isVisible() && window->frameGeometry() != window->geometry();
        if (window && !framed && --*tries > 0) {
            QTimer::singleShot(25, window, *check);
            return;
        }
        if (framed && window->frameGeometry().topLeft() != at) window->move(at);
        *check = nullptr; // breaks the cycle
    };
    QTimer::singleShot(0, w, *check);
}

void placeOverOwner(QWidget* window) {
    QWidget* owner =
        window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    const QRect area = workArea(owner ? owner : window);
    const QRect over = owner && owner != window ? owner->frameGeometry() : area;
    moveFrameTo(window, placeOver(over, window->frameGeometry().size(), area));
}

namespace {

// Undoes the minimizing of a modal window (see keepModalWindowsRestored).
class ModalRestorer final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && w->windowModality() != Qt::NonModal && w->isMinimized())
                // After the window manager has finished minimizing it.
                QTimer::singleShot(0, w, [w] {
                    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
                    w->show();
                    w->raise();
                    w->activateWindow();
                });
        }
        return false;
    }
};

} // namespace

void keepModalWindowsRestored() {
    static QPointer<ModalRestorer> restorer;
    if (restorer || !qApp) return;
    restorer = new ModalRestorer(qApp);
    qApp->installEventFilter(restorer);
}

void setDialogBorder(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowContextHelpButtonHint);
}

} // namespace qv
