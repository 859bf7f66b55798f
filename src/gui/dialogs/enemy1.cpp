#include "gui/dialogs/enemy1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

#include "core/tables/enemy1.h"
#include "gui/dialogs/settingssession.h"
#include "gui/main/helpcontext.h"

namespace qv {

namespace {
const QString kRevivalNote =
    QStringLiteral("Also affects the time Goombas are stomped.  If below 13 Goombas will revive.");
}

TFormEnemy1::TFormEnemy1(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::enemy1(), host, parent) {
    auto* box = findChild<QGroupBox*>(QStringLiteral("GrpJugemRestHei"));
    auto* grid = static_cast<QGridLayout*>(box->layout());
    raised_ = new QCheckBox(QStringLiteral("Set &revival elevation to +0.5 by default."), box);
    raised_->setObjectName(QStringLiteral("ChkJugemRestHei"));
    grid->addWidget(raised_, grid->rowCount(), 0, 1, 4);
    // The box and the list share one value field: the box owns its low nibble, and
    // the list writes its high nibble around it on OK.
    connect(raised_, &QCheckBox::stateChanged, this, [this] {
        if (!raised_->isEnabled()) return;
        const int field = fields().value(tables::kJugemRestHei);
        fields().setValue(tables::kJugemRestHei,
                          tables::withRevivalRaised(field, raised_->checkState() == Qt::Checked));
    });

    // Its Reset also clears the check box, which is no item of the group.
    auto* reset = findChild<QToolButton*>(QStringLiteral("SpdJugemRestHei"));
    disconnect(reset, nullptr, this, nullptr);
    connect(reset, &QToolButton::clicked, this, &TFormEnemy1::SpdJugemRestHeiClick);

    for (QLabel* l : findChildren<QLabel*>())
        if (l->text() == kRevivalNote) l->setObjectName(QStringLiteral("LabLabNkFkTime3"));
    setHelpContext(findChild<QWidget*>(QStringLiteral("TabJugem")), 4008);
}

void TFormEnemy1::showFields() {
    SettingsDialog::showFields();
    const std::optional<bool> raised = tables::revivalRaised(fields().value(tables::kJugemRestHei));
    const QSignalBlocker quiet(raised_);
    raised_->setTristate(!raised);
    raised_->setCheckState(!raised ? Qt::PartiallyChecked : *raised ? Qt::Checked : Qt::Unchecked);
    raised_->setEnabled(raised.has_value());
}

void TFormEnemy1::SpdJugemRestHeiClick() {
    if (!ConfirmReset(kResetQuestion)) return;
    const Controls& c = *controls("CmbJugemRestHei");
    if (c.combo->isEnabled()) c.combo->setCurrentIndex(c.item->defaultValue);
    if (raised_->isEnabled()) raised_->setChecked(false);
}

SettingsDialog* makeEnemy1Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormEnemy1(host, parent);
}

bool runEnemy1Dialog(DialogHost& host) {
    return runSettingsDialog(host, tables::enemy1(), &makeEnemy1Dialog);
}

} // namespace qv
