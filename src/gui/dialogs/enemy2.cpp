#include "gui/dialogs/enemy2.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/tables/enemy2.h"
#include "gui/dialogs/settingssession.h"
#include "gui/dialogs/updown.h"
#include "gui/main/platform.h"

namespace qv {

namespace {
constexpr int kLockedRange = 10; // what the locked box shows: JMP $D40A's low byte
constexpr int kDefaultRange = 33;
} // namespace

TFormEnemy2::TFormEnemy2(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::enemy2(), host, parent), patch_(controls("ChkDtPakkun")),
      range_(controls("EditDsPakkun")), rangePalette_(range_->edit->palette()) {
    connect(patch_->check, &QCheckBox::clicked, this, &TFormEnemy2::ChkDtPakkunClick);

    // The group's own Reset replaces the generic one, since it also unlocks the range.
    auto* spd = findChild<QToolButton*>(QStringLiteral("SpdIiPakkun"));
    disconnect(spd, &QToolButton::clicked, this, nullptr);
    connect(spd, &QToolButton::clicked, this, &TFormEnemy2::SpdIiPakkunClick);

    connect(findChild<QPushButton*>(QStringLiteral("BtnOk")), &QPushButton::clicked, this,
            &TFormEnemy2::storePatchOverRange);

    const QString pivotNote = QString::fromStdString(table().groupByReset("SpdFiBerPos")->notes[0]);
    for (QLabel* l : findChildren<QLabel*>())
        if (l->text() == pivotNote) l->setObjectName(QStringLiteral("LabFiBerPos"));
}

void TFormEnemy2::lockRange(bool locked) {
    range_->edit->setEnabled(!locked);
    range_->spin->setEnabled(!locked);
    if (locked) {
        paintButtonFace(range_->edit);
        setNumber(*range_, kLockedRange);
    } else {
        range_->edit->setPalette(rangePalette_);
        setNumber(*range_, remembered_);
    }
}

void TFormEnemy2::showFields() {
    SettingsDialog::showFields();
    const ItemState patch = fields().state(*patch_->item);
    if (patch.outOfBounds) { // greyed; the range stays usable and is written alone
        remembered_ = kDefaultRange;
    } else if (patch.value) {
        remembered_ = kDefaultRange;
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
        remembered_ = kDefaultRange;
        lockRange(false);
    }
}

void TFormEnemy2::storePatchOverRange() {
    if (patch_->check->isEnabled() && patch_->check->checkState() == Qt::Checked)
        fields().set(*patch_->item, 1);
}

SettingsDialog* makeEnemy2Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormEnemy2(host, parent);
}

bool runEnemy2Dialog(DialogHost& host) {
    return runSettingsDialog(host, tables::enemy2(), &makeEnemy2Dialog);
}

} // namespace qv
