#pragma once
// The game's picture at a whole-number scale, nearest neighbour, with NES pixels
// optionally 8:7 wide as a television showed them.
#include <QWidget>

#include "core/play/pixels.h"

namespace qv {

class PlayScreen : public QWidget {
    Q_OBJECT
  public:
    explicit PlayScreen(QWidget* parent = nullptr);
    // The frame is shown until the next call; it must live as long.
    void setFrame(const play::Frame* frame);
    void setScale(int scale, bool aspect);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize pictureSize() const;
    const play::Frame* frame_ = nullptr;
    int scale_ = 2;
    bool aspect_ = false;
};

} // namespace qv
