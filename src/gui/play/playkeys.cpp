#include "gui/play/playkeys.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace qv {

namespace {
// X11 key symbols of the two Shift keys (what xcb reports as the native key).
constexpr quint32 kXkShiftL = 0xffe1;
constexpr quint32 kXkShiftR = 0xffe2;
} // namespace

QString playKeyName(const QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Shift) {
        if (event->nativeVirtualKey() == kXkShiftL) return QStringLiteral("Left Shift");
        if (event->nativeVirtualKey() == kXkShiftR) return QStringLiteral("Right Shift");
        return QStringLiteral("Shift");
    }
    if (key == Qt::Key_Control) return QStringLiteral("Ctrl");
    if (key == Qt::Key_Alt) return QStringLiteral("Alt");
    if (key == 0 || key == Qt::Key_unknown) return {};
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

KeyButton::KeyButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &KeyButton::listen);
}

void KeyButton::setKey(const QString& name) {
    key_ = name;
    setText(name.isEmpty() ? QStringLiteral("(none)") : name);
}

void KeyButton::listen() {
    listening_ = true;
    setText(QStringLiteral("Press a key..."));
    grabKeyboard();
}

void KeyButton::stopListening() {
    listening_ = false;
    releaseKeyboard();
    setKey(key_);
}

void KeyButton::keyPressEvent(QKeyEvent* event) {
    if (!listening_) {
        QPushButton::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)
        key_.clear();
    else if (event->key() != Qt::Key_Escape)
        if (const QString name = playKeyName(event); !name.isEmpty()) key_ = name;
    stopListening();
}

void KeyButton::focusOutEvent(QFocusEvent* event) {
    if (listening_) stopListening();
    QPushButton::focusOutEvent(event);
}

} // namespace qv
