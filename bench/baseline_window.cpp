// The floor of the start-up benchmark: a main window with a menu bar of five menus
// and a status bar text, built on the same Qt, that exits right after its first
// paint as the editor does with --quit-after-show.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>

namespace {

class QuitAfterFirstPaint final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
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
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    for (const char* title : {"&File", "&Edit", "&View", "&Tools", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        menu->addAction(QStringLiteral("Item"));
    }
    window.statusBar()->showMessage(QStringLiteral("478 Modifiable Items"));
    window.installEventFilter(new QuitAfterFirstPaint(&window));
    window.show();
    return app.exec();
}
