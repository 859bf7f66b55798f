#include "gui/dialogs/smallwidgets.h"

#include <QToolButton>

namespace qv {

QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setText(text);
    b->setAutoRaise(true);
    // In the Tab order like every other control, but a click leaves the focus where it
    // was (on the edit whose group was just reset, say).
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace qv
