#pragma once
// The up-down arrows bound to a numeric edit: Min..Max, wrapping at the ends, decimal
// text without thousands separators. One light widget instead of a spin box, since
// the edit is a separate control with a name of its own.
#include <QBasicTimer>
#include <QWidget>

class QLineEdit;

namespace qv {

class UpDown final : public QWidget {
    Q_OBJECT
  public:
    UpDown(QLineEdit* buddy, int min, int max, QWidget* parent);

    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int position() const { return position_; }
    // Clamped to Min..Max; the edit's text is left alone.
    void setPosition(int value);
    // Steps from the number in the edit (the last position when it holds none),
    // wraps at the ends and writes the new number into the edit.
    void stepBy(int steps);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QLineEdit* buddy_;
    int min_, max_;
    int position_ = 0;
    int pressed_ = 0; // +1 up arrow held, -1 down arrow held
    QBasicTimer repeat_;
};

} // namespace qv
