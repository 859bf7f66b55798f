#include "gui/dialogs/subdialogframe.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "core/tables/table.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/main/helpcontext.h"
#include "gui/main/placement.h"

namespace qv {

namespace {} // namespace

SubDialogFrame buildSubDialogFrame(QDialog* dialog, const DialogTable& table) {
    const Group& g = table.pages.at(0).groups.at(0);
    dialog->setObjectName(qs(table.className));
    dialog->setWindowTitle(qs(table.caption));
    setDialogBorder(dialog);
    setHelpContext(dialog, table.helpContext);

    SubDialogFrame f;
    f.top = new QVBoxLayout(dialog);
    f.top->setSizeConstraint(QLayout::SetFixedSize);
    f.group = new QGroupBox(qs(g.caption), dialog);
    f.group->setObjectName(qs(g.objectName));
    setHelpContext(f.group, g.helpContext);
    f.top->addWidget(f.group);
    f.grid = new QGridLayout(f.group);
    f.grid->setHorizontalSpacing(2);
    return f;
}

} // namespace qv
