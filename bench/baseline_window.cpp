// The floor of the start-up benchmark: a main window with a menu bar of five menus
// and a status bar text, built on the same Qt, that exits right after its first
// paint as the editor does with --quit-after-show.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

#include "gui/main/firstpaint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    for (const char* title : {"&File", "&Edit", "&View", "&Tools", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        menu->addAction(QStringLiteral("Item"));
    }
    window.statusBar()->showMessage(QStringLiteral("478 Modifiable Items"));
    window.installEventFilter(new qv::QuitAfterFirstPaint(&window));
    window.show();
    return app.exec();
}
