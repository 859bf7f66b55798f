#include "gui/play/playscreen.h"

#include <QImage>
#include <QPainter>

namespace qv {

PlayScreen::PlayScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlayScreen"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(pictureSize());
}

void PlayScreen::setFrame(const play::Frame* frame) {
    frame_ = frame;
    update();
}

void PlayScreen::setScale(int scale, bool aspect) {
    scale_ = scale;
    aspect_ = aspect;
    setFixedSize(pictureSize());
    update();
}

QSize PlayScreen::pictureSize() const {
    const int w = frame_ && frame_->width > 0 ? frame_->width : 256;
    const int h = frame_ && frame_->height > 0 ? frame_->height : 240;
    return {aspect_ ? (w * scale_ * 8 + 6) / 7 : w * scale_, h * scale_};
}

QSize PlayScreen::sizeHint() const {
    return pictureSize();
}

void PlayScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!frame_ || frame_->width <= 0) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    if (size() != pictureSize()) setFixedSize(pictureSize());
    // The frame's pixels are drawn where they are, without a copy.
    const QImage image(reinterpret_cast<const uchar*>(frame_->pixels.data()), frame_->width,
                       frame_->height, frame_->width * 4, QImage::Format_RGB32);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(QPoint(0, 0), pictureSize()), image);
}

} // namespace qv
