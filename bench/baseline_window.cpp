// The floor of the start-up benchmark: a main window with a menu bar of five menus
// and a status bar text, built on the same Qt, that exits right after its first
// paint as the editor does with --quit-after-show.
// With --dialogs it stays open instead, and Ctrl+1 ... Ctrl+9 open an empty modal
// dialog: the floor of a dialog's opening in the editor, measured the same way.
#include <QAction>
#include <QApplication>
#include <QDialog>
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
    if (app.arguments().contains(QStringLiteral("--dialogs"))) {
        for (int digit = 1; digit <= 9; ++digit) {
            auto* open = new QAction(&window);
            open->setShortcut(
                QKeyCombination(Qt::ControlModifier, static_cast<Qt::Key>(Qt::Key_0 + digit)));
            QObject::connect(open, &QAction::triggered, &window, [&window] {
                QDialog dialog(&window);
                dialog.exec();
            });
            window.addAction(open);
        }
    } else {
        window.installEventFilter(new qv::QuitAfterFirstPaint(&window));
    }
    window.show();
    return app.exec();
}
