#include "gui/dialogs/settingsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/updown.h"
#include "gui/main/platform.h"

namespace qv {

SettingsDialog::SettingsDialog(const DialogTable& table, DialogHost& host, QWidget* parent)
    : QDialog(parent), table_(table), host_(host), fields_(table) {
    build();
}

SettingsDialog::~SettingsDialog() = default;

const SettingsDialog::Controls* SettingsDialog::controls(std::string_view control) const {
    for (const Controls& c : controls_)
        if (c.item->control == control) return &c;
    return nullptr;
}

void SettingsDialog::setNumber(const Controls& c, int value) {
    c.edit->setText(QString::number(value));
    c.spin->setPosition(value);
}

void paintButtonFace(QWidget* w) {
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, pal.color(group, QPalette::Button));
    w->setPalette(pal);
}

static void showOutOfBounds(QComboBox* combo) {
    combo->setModel(outOfBoundsModel());
    combo->setCurrentIndex(0);
    combo->setEnabled(false);
    paintButtonFace(combo);
}

void SettingsDialog::showFields() {
    for (const Controls& c : controls_) {
        const ItemState s = fields_.state(*c.item);
        switch (c.item->kind) {
        case ItemKind::Numeric:
            if (s.outOfBounds) { // a strict item's stored value: shown, kept, not editable
                c.edit->setText(QString::number(s.value));
                c.edit->setEnabled(false);
                c.spin->setEnabled(false);
                paintButtonFace(c.edit);
            } else {
                setNumber(c, s.value);
            }
            break;
        case ItemKind::Check:
        case ItemKind::Flag:
            c.check->setTristate(s.outOfBounds);
            c.check->setCheckState(s.outOfBounds ? Qt::PartiallyChecked
                                   : s.value     ? Qt::Checked
                                                 : Qt::Unchecked);
            c.check->setEnabled(!s.outOfBounds);
            break;
        case ItemKind::Choice:
            if (s.outOfBounds) {
                showOutOfBounds(c.combo);
            } else {
                if (QAbstractItemModel* m = choiceModel(*c.item->list); c.combo->model() != m)
                    c.combo->setModel(m);
                c.combo->setCurrentIndex(s.value);
                c.combo->setEnabled(true);
            }
            break;
        }
    }
}

void SettingsDialog::BtnOkClick() {
    for (const Controls& c : controls_) {
        const Item& it = *c.item;
        switch (it.kind) {
        case ItemKind::Numeric:
            if (c.edit->isEnabled()) fields_.set(it, it.acceptText(c.edit->text().toStdString()));
            break;
        case ItemKind::Check:
        case ItemKind::Flag:
            if (c.check->isEnabled()) fields_.set(it, c.check->checkState() == Qt::Checked);
            break;
        case ItemKind::Choice:
            if (c.combo->isEnabled()) fields_.set(it, c.combo->currentIndex());
            break;
        }
    }
    storeExtras();
}

void SettingsDialog::BtnHelpClick() {
    platform().showHelp(this, table_.helpContext);
}

bool confirmReset(DialogHost& host, QWidget* parent, const QString& question) {
    if (!host.confirmResets()) return true;
    return platform().ask(parent, question, Buttons::YesNo) == Answer::Yes;
}

bool SettingsDialog::ConfirmReset(const QString& question) {
    return confirmReset(host_, this, question);
}

void SettingsDialog::SpdClick(const Group& group) {
    if (!ConfirmReset(kResetQuestion)) return;
    for (const Item& it : group.items) {
        const Controls& c = *controls(it.control);
        switch (it.kind) {
        case ItemKind::Numeric:
            if (c.edit->isEnabled()) setNumber(c, it.defaultValue);
            break;
        case ItemKind::Check: // an out-of-bounds box stays grey
        case ItemKind::Flag:
            if (c.check->isEnabled()) c.check->setChecked(it.defaultValue != 0);
            break;
        case ItemKind::Choice:
            if (c.combo->isEnabled()) c.combo->setCurrentIndex(it.defaultValue);
            break;
        }
    }
}

void SettingsDialog::fixSizeOverPages() {
    // The tab control asks for the largest of its pages: one pass of the layout measures
    // them all, without laying out each page in turn (the rows "Open ..." of
    // bench/run.py).
    layout()->activate();
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setFixedSize(size());
}

QToolButton* SettingsDialog::addGroupButton(const std::string& resetButton,
                                            const QString& objectName, const QString& text) {
    QHBoxLayout* panel = resetPanels_.at(resetButton);
    QToolButton* b = flatButton(panel->parentWidget(), objectName, text);
    panel->insertWidget(panel->count() - 1, b); // left of Reset
    return b;
}

void SettingsDialog::setResetHandler(const std::string& resetButton,
                                     std::function<void()> handler) {
    resetHandlers_[resetButton] = std::move(handler);
}

void SettingsDialog::resetClicked(const Group& group) {
    if (const auto it = resetHandlers_.find(group.reset); it != resetHandlers_.end())
        it->second();
    else
        SpdClick(group);
}

} // namespace qv
