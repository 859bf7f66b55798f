#include "gui/main/placement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace qv {

QRect workArea(const QWidget* w) {
    QScreen* screen = w ? w->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void placeOverOwner(QWidget* window) {
    QWidget* owner =
        window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    const QRect area = workArea(owner ? owner : window);
    const QRect over = owner && owner != window ? owner->frameGeometry() : area;
    window->move(placeOver(over, window->frameGeometry().size(), area));
}

void setDialogBorder(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowContextHelpButtonHint);
}

} // namespace qv
