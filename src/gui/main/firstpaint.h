#pragma once
// Ends the event loop once the watched window has been painted for the first time:
// the start-up benchmark times a whole start with it, of the editor and of its floors.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>

namespace qv {

class QuitAfterFirstPaint final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // Queued, so the paint under way and its flush to the screen finish first.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};

} // namespace qv
