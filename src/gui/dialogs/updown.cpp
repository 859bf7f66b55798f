#include "gui/dialogs/updown.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "core/items.h"

namespace qv {

namespace {
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;
} // namespace

UpDown::UpDown(QLineEdit* buddy, int min, int max, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max), position_(std::clamp(0, min, max)) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Arrow keys in the edit step like the arrows do.
    buddy_->installEventFilter(this);
}

void UpDown::setPosition(int value) {
    position_ = std::clamp(value, min_, max_);
}

void UpDown::stepBy(int steps) {
    if (const auto typed = parseDecimal(buddy_->text().toStdString())) setPosition(*typed);
    int next = position_ + steps;
    if (next > max_) next = min_;
    if (next < min_) next = max_;
    position_ = next;
    buddy_->setText(QString::number(position_));
}

QSize UpDown::sizeHint() const {
    return {16, buddy_->sizeHint().height()};
}

void UpDown::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int half = height() / 2;
    for (int dir : {+1, -1}) {
        QStyleOption opt;
        opt.initFrom(this);
        opt.rect = dir > 0 ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
        opt.state |= pressed_ == dir ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, this);
        opt.rect.adjust(3, 2, -3, -2);
        style()->drawPrimitive(
            dir > 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &opt, &p, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    pressed_ = e->position().y() < height() / 2.0 ? +1 : -1;
    stepBy(pressed_);
    buddy_->setFocus(Qt::MouseFocusReason); // clicking an arrow moves the focus to the edit
    repeat_.start(kFirstRepeatMs, this);
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent*) {
    pressed_ = 0;
    repeat_.stop();
    update();
}

void UpDown::timerEvent(QTimerEvent* e) {
    if (e->timerId() != repeat_.timerId()) return QWidget::timerEvent(e);
    if (!pressed_) return repeat_.stop();
    stepBy(pressed_);
    repeat_.start(kRepeatMs, this);
}

bool UpDown::eventFilter(QObject* watched, QEvent* e) {
    if (watched == buddy_ && e->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace qv
