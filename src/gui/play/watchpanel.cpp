#include "gui/play/watchpanel.h"

#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QColor kXColour(0xD0, 0x30, 0x20);
const QColor kYColour(0x20, 0x60, 0xD0);

QString powerName(int value) {
    switch (value) {
    case 0:
        return QStringLiteral("Small");
    case 1:
        return QStringLiteral("Super");
    case 2:
        return QStringLiteral("Fire");
    default:
        return QString::number(value);
    }
}

} // namespace

SpeedPlot::SpeedPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SpeedPlot"));
    setMinimumSize(240, 140);
}

void SpeedPlot::add(int xspeed, int yspeed) {
    points_.emplace_back(xspeed, yspeed);
    while (static_cast<int>(points_.size()) > length_)
        points_.pop_front();
}

void SpeedPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRect area = rect().adjusted(30, 6, -6, -18);
    // The scale grows in steps of 16 with the largest speed shown, at least ±48.
    int top = 48;
    for (const auto& [x, y] : points_)
        top = std::max({top, std::abs(x), std::abs(y)});
    top = (top + 15) / 16 * 16;
    const auto yAt = [&](int v) {
        return area.center().y() - static_cast<double>(v) * area.height() / (2.0 * top);
    };
    p.setPen(palette().color(QPalette::Mid));
    for (int v = -top; v <= top; v += top / 2) {
        p.drawLine(QPointF(area.left(), yAt(v)), QPointF(area.right(), yAt(v)));
        p.drawText(QRectF(0, yAt(v) - 8, 26, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v));
    }
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), 16), Qt::AlignLeft,
               QStringLiteral("5 s"));
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), 16), Qt::AlignRight,
               QStringLiteral("now"));
    p.setRenderHint(QPainter::Antialiasing);
    for (int which = 0; which < 2; ++which) {
        QPainterPath path;
        const int n = static_cast<int>(points_.size());
        for (int i = 0; i < n; ++i) {
            const int v = which == 0 ? points_[i].first : points_[i].second;
            const double x = area.right() - static_cast<double>(n - 1 - i) * area.width() /
                                                std::max(1, length_ - 1);
            if (i == 0)
                path.moveTo(x, yAt(v));
            else
                path.lineTo(x, yAt(v));
        }
        p.setPen(QPen(which == 0 ? kXColour : kYColour, 1.5));
        p.drawPath(path);
    }
    p.setPen(kXColour);
    p.drawText(area.adjusted(4, 0, 0, 0), Qt::AlignTop | Qt::AlignLeft,
               QStringLiteral("horizontal"));
    p.setPen(kYColour);
    p.drawText(area.adjusted(4, 14, 0, 0), Qt::AlignTop | Qt::AlignLeft,
               QStringLiteral("vertical"));
}

WatchPanel::WatchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WatchPanel"));
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    for (std::size_t i = 0; i < std::size(play::kWatches); ++i) {
        const play::WatchInfo& w = play::kWatches[i];
        values_[i] = new QLabel(QStringLiteral("-"), this);
        values_[i]->setObjectName(QStringLiteral("Watch_") + QString::fromLatin1(w.name));
        values_[i]->setMinimumWidth(
            values_[i]->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
        form->addRow(QString::fromLatin1(w.label) + QLatin1Char(':'), values_[i]);
    }
    column->addLayout(form);
    plot_ = new SpeedPlot(this);
    column->addWidget(plot_, 1);
}

void WatchPanel::frameRun(std::span<const std::uint8_t> ram, double fps) {
    if (ram.size() < 0x800) return;
    plot_->setLength(static_cast<int>(std::lround(5 * fps)));
    plot_->add(play::watchValue(play::Watch::XSpeed, ram),
               play::watchValue(play::Watch::YSpeed, ram));
    for (std::size_t i = 0; i < std::size(play::kWatches); ++i) {
        const play::Watch w = play::kWatches[i].watch;
        texts_[i] = w == play::Watch::Power ? powerName(play::watchValue(w, ram))
                                            : QString::fromStdString(play::watchText(w, ram));
    }
}

void WatchPanel::refresh() {
    for (std::size_t i = 0; i < values_.size(); ++i)
        if (values_[i]->text() != texts_[i] && !texts_[i].isEmpty()) values_[i]->setText(texts_[i]);
    plot_->update();
}

QString WatchPanel::value(play::Watch watch) const {
    return values_[static_cast<std::size_t>(watch)]->text();
}

} // namespace qv
