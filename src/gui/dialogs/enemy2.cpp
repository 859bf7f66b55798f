#include "gui/dialogs/enemy2.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/tables/enemy2.h"
#include "gui/dialogs/updown.h"
#include "gui/main/platform.h"

namespace qv {

TFormEnemy2::TFormEnemy2(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::enemy2(), host, parent), patch_(controls("ChkDtPakkun")),
      range_(controls("EditDsPakkun")), rangePalette_(range_->edit->palette()) {
    connect(patch_->check, &QCheckBox::clicked, this, &TFormEnemy2::ChkDtPakkunClick);

    // The group's own Reset, since it also unlocks the range.
    setResetHandler("SpdIiPakkun", [this] { SpdIiPakkunClick(); });
}

void TFormEnemy2::lockRange(bool locked) {
    range_->edit->setEnabled(!locked);
    range_->spin->setEnabled(!locked);
    if (locked) {
        paintButtonFace(range_->edit);
        setNumber(*range_, tables::pakkunLockedRange());
    } else {
        range_->edit->setPalette(rangePalette_);
        setNumber(*range_, remembered_);
    }
}

void TFormEnemy2::showFields() {
    SettingsDialog::showFields();
    const ItemState patch = fields().state(*patch_->item);
    if (patch.outOfBounds) { // greyed; the range stays usable and is written alone
        remembered_ = range_->item->defaultValue;
    } else if (patch.value) {
        remembered_ = range_->item->defaultValue;
        lockRange(true);
    } else {
        remembered_ = fields().state(*range_->item).value;
    }
}

void TFormEnemy2::ChkDtPakkunClick() {
    if (patch_->check->isChecked()) {
        const QString text = range_->edit->text();
        const auto v = parseDecimal(text.toStdString());
        if (!v) { // the box stays ticked, the text and the remembered range as they were
            platform().error(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
            return;
        }
        remembered_ = *v;
        lockRange(true);
    } else {
        lockRange(false);
    }
}

void TFormEnemy2::SpdIiPakkunClick() {
    const bool wasLocked = !range_->edit->isEnabled();
    SpdClick(*table().groupByReset("SpdIiPakkun"));
    if (wasLocked && !patch_->check->isChecked()) { // reset went ahead
        remembered_ = range_->item->defaultValue;
        lockRange(false);
    }
}

void TFormEnemy2::storeExtras() {
    if (patch_->check->isEnabled() && patch_->check->checkState() == Qt::Checked)
        fields().set(*patch_->item, 1);
}

SettingsDialog* makeEnemy2Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormEnemy2(host, parent);
}

} // namespace qv
