#pragma once
// Keyboard keys by the names the settings file keeps: Qt's own ("Z", "Return",
// "Up"), and "Left Shift" / "Right Shift" for the two Shift keys.
#include <QPushButton>
#include <QString>

class QKeyEvent;

namespace qv {

QString playKeyName(const QKeyEvent* event);

// A button that shows a key and, clicked, takes the next key pressed (Escape keeps
// the old one, Delete leaves none).
class KeyButton : public QPushButton {
    Q_OBJECT
  public:
    explicit KeyButton(QWidget* parent = nullptr);
    void setKey(const QString& name);
    QString key() const { return key_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void listen();
    void stopListening();
    QString key_;
    bool listening_ = false;
};

} // namespace qv
