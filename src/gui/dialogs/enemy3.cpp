#include "gui/dialogs/enemy3.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/tables/enemy3.h"
#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/updown.h"

namespace qv {

TFormEnemy3::TFormEnemy3(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::enemy3(), host, parent), count_(controls("CmbKoppaFiPatCnt")) {
    for (std::size_t n = 0; n < intervals_.size(); ++n)
        intervals_[n] = controls("EditKoppaFiPat" + std::to_string(n));
    intervalPalette_ = intervals_[0]->edit->palette();

    connect(count_->combo, &QComboBox::currentIndexChanged, this,
            &TFormEnemy3::CmbKoppaFiPatCntChange);

    // The flame group's own Reset: it resets the boxes out of use too and applies the
    // pattern count afterwards.
    setResetHandler("SpdKoppaFiPat", [this] { SpdKoppaFiPatClick(); });
}

void TFormEnemy3::showFields() {
    SettingsDialog::showFields();
    CmbKoppaFiPatCntChange();
}

void TFormEnemy3::CmbKoppaFiPatCntChange() {
    const int inUse =
        count_->combo->isEnabled() ? tables::flameIntervalsInUse(count_->combo->currentIndex()) : 1;
    for (std::size_t n = 0; n < intervals_.size(); ++n) {
        const Controls& c = *intervals_[n];
        const bool used = static_cast<int>(n) < inUse;
        c.edit->setEnabled(used);
        c.spin->setEnabled(used);
        if (used)
            c.edit->setPalette(intervalPalette_);
        else
            paintButtonFace(c.edit);
    }
}

void TFormEnemy3::SpdKoppaFiPatClick() {
    if (!ConfirmReset(kResetQuestion)) return;
    for (const Item& it : table().groupByReset("SpdKoppaFiPat")->items) {
        const Controls& c = *controls(it.control);
        if (it.kind == ItemKind::Numeric)
            setNumber(c, it.defaultValue);
        else if (c.combo->isEnabled())
            c.combo->setCurrentIndex(it.defaultValue);
    }
    CmbKoppaFiPatCntChange();
}

void TFormEnemy3::storeExtras() {
    for (const Controls* c : intervals_)
        if (!c->edit->isEnabled())
            fields().set(*c->item, c->item->acceptText(c->edit->text().toStdString()));
}

SettingsDialog* makeEnemy3Dialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormEnemy3(host, parent);
}

} // namespace qv
