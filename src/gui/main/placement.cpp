#include "gui/main/placement.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace qv {

QRect workArea(const QWidget* w) {
    QScreen* screen = w ? w->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void setDialogBorder(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowContextHelpButtonHint);
}

} // namespace qv
