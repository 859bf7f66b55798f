#include "gui/main/okcancelhelp.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "gui/main/helpcontext.h"

namespace qv {

namespace {

constexpr int kHelpOk = 501, kHelpCancel = 502, kHelpHelp = 503;

QPushButton* button(QDialog* dialog, const QString& caption, const QString& name, int help) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(name);
    setHelpContext(b, help);
    return b;
}

} // namespace

OkCancelHelp okCancelHelpRow(QDialog* dialog) {
    OkCancelHelp r;
    r.ok = button(dialog, QStringLiteral("OK"), QStringLiteral("BtnOk"), kHelpOk);
    r.ok->setDefault(true);
    r.cancel = button(dialog, QStringLiteral("Cancel"), QStringLiteral("BtnCancel"), kHelpCancel);
    r.help = button(dialog, QStringLiteral("&Help"), QStringLiteral("BtnHelp"), kHelpHelp);
    r.help->setAutoDefault(false);
    r.row = new QHBoxLayout;
    r.row->addStretch();
    r.row->addWidget(r.ok);
    r.row->addWidget(r.cancel);
    r.row->addWidget(r.help);
    return r;
}

} // namespace qv
