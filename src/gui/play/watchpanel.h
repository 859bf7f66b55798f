#pragma once
// Beside the picture: the values a parameter edit changes, live, and a plot of
// Mario's horizontal and vertical speed over the last 5 seconds.
#include <QWidget>
#include <array>
#include <cstdint>
#include <deque>
#include <span>

#include "core/play/watch.h"

class QLabel;

namespace qv {

class SpeedPlot : public QWidget {
    Q_OBJECT
  public:
    explicit SpeedPlot(QWidget* parent = nullptr);
    void setLength(int frames) { length_ = frames; }
    void add(int xspeed, int yspeed);
    const std::deque<std::pair<int, int>>& points() const { return points_; }
    QSize sizeHint() const override { return {300, 160}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::deque<std::pair<int, int>> points_;
    int length_ = 300;
};

class WatchPanel : public QWidget {
    Q_OBJECT
  public:
    explicit WatchPanel(QWidget* parent = nullptr);
    // After each frame; `fps` sets how many frames 5 seconds are.
    void frameRun(std::span<const std::uint8_t> ram, double fps);
    // Once per paint: the labels follow the last frame.
    void refresh();
    QString value(play::Watch watch) const;
    SpeedPlot* plot() const { return plot_; }

  private:
    std::array<QLabel*, std::size(play::kWatches)> values_{};
    std::array<QString, std::size(play::kWatches)> texts_;
    SpeedPlot* plot_ = nullptr;
};

} // namespace qv
