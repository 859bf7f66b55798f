#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMetaObject>

#include "core/inipath.h"
#include "gui/main/deferredicons.h"
#include "gui/main/mainwindow.h"

namespace {

// Ends the event loop once the window has been painted for the first time: the
// start-up benchmark times a whole start with it. Not offered in any help text.
constexpr auto kQuitAfterShow = "--quit-after-show";

class QuitAfterFirstPaint final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // Queued, so the paint under way and its flush to the screen finish first.
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // The platform's style, taken over by the proxy (which becomes its parent).
    QApplication::setStyle(new qv::DeferredIconStyle(QApplication::style()));
    const QString iniPath = QString::fromStdString(qv::locateIniFile(
        QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString()));
    qv::TForm1 window(iniPath, QCoreApplication::applicationFilePath());
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const bool quitAfterShow = args.removeAll(QLatin1String(kQuitAfterShow)) > 0;
    if (!window.handleCommandLine(args)) return 0; // the command-line file failed to open
    if (quitAfterShow) window.installEventFilter(new QuitAfterFirstPaint(&window));
    window.FormShow();
    return app.exec();
}
