#include "gui/ips/ipsparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "gui/ips/ipscommon.h"
#include "gui/main/platform.h"

namespace qv {

QPushButton* ipsButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QRadioButton* ipsRadio(QWidget* parent, const char* name, const QString& caption) {
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QHBoxLayout* ipsQuestion(QWidget* dialog, const QString& prompt) {
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(dialog);
    icon->setObjectName(QStringLiteral("ImgIcon"));
    icon->setPixmap(dialog->style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* lab = new QLabel(prompt, dialog);
    lab->setObjectName(QStringLiteral("LabIps"));
    row->addWidget(icon);
    row->addWidget(lab, 1);
    return row;
}

bool outputNameAccepted(QWidget* dialog, const QString& path, const char* upperExt,
                        const OutputNameRefusals& refusals) {
    switch (checkOutputName(path, upperExt)) {
    case OutputName::BadFolder:
        platform().warn(dialog, refusals.badFolder);
        return false;
    case OutputName::BadName:
        platform().warn(dialog, refusals.badName);
        return false;
    case OutputName::BadExtension:
        platform().warn(dialog, refusals.badExtension);
        return false;
    case OutputName::Ok:
        break;
    }
    return true;
}

} // namespace qv
