#include "gui/dialogs/smallwidgets.h"

#include <QToolButton>

namespace qv {

QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setText(text);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus); // flat speed buttons never take the focus
    return b;
}

} // namespace qv
