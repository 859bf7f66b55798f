#include "gui/dialogs/settingsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include "core/itemtext.h"
#include "core/valuedisplay.h"
#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/updown.h"
#include "gui/dialogs/valuemarks.h"
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

void showOutOfBounds(ChoiceCombo* combo) {
    combo->setChoices(outOfBoundsModel());
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
                c.combo->setChoices(choiceModel(*c.item->list));
                c.combo->setCurrentIndex(s.value);
                c.combo->setEnabled(true);
            }
            break;
        }
    }
}

void SettingsDialog::markControl(Controls& c) {
    const Item& it = *c.item;
    FieldMark mark = FieldMark::None;
    QString tip;
    bool differs = false;
    QWidget* field = nullptr;
    switch (it.kind) {
    case ItemKind::Numeric:
        field = c.edit;
        if (!c.edit->isEnabled()) break; // out of bounds: shown by its button face
        if (const auto problem = numberProblem(it, c.edit->text())) {
            mark = FieldMark::Invalid;
            tip = *problem;
        } else {
            differs = parseDecimal(c.edit->text().toStdString()) != it.defaultValue;
        }
        break;
    case ItemKind::Check:
    case ItemKind::Flag:
        field = c.check;
        differs = c.check->isEnabled() &&
                  (c.check->checkState() == Qt::Checked) != (it.defaultValue != 0);
        break;
    case ItemKind::Choice:
        field = c.combo;
        differs = c.combo->isEnabled() && c.combo->currentIndex() != it.defaultValue;
        break;
    }
    if (mark == FieldMark::None && differs) {
        mark = FieldMark::Changed;
        tip = QStringLiteral("The game's own value: ") + qs(withoutDefaultMark(defaultText(it)));
    }
    c.differs = differs;
    // Only a change is drawn; the tip of a refused number follows its text.
    if (!field || (static_cast<int>(mark) == c.mark && field->toolTip() == tip)) return;
    c.mark = static_cast<int>(mark);
    markField(field, mark, tip);
}

bool SettingsDialog::markCustomPage(int page) {
    for (const Group& g : table_.pages[static_cast<std::size_t>(page)].groups)
        for (const Item& it : g.items) {
            const ItemState s = fields_.state(it);
            if (!s.outOfBounds && s.value != it.defaultValue) return true;
        }
    return false;
}

void SettingsDialog::refreshMarks() {
    marking_ = true;
    std::vector<bool> pages(table_.pages.size(), false);
    std::map<QWidget*, bool> labels;
    for (Controls& c : controls_) {
        markControl(c);
        if (c.label) labels[c.label] = labels[c.label] || c.differs;
        if (c.differs) pages[static_cast<std::size_t>(c.page)] = true;
    }
    for (const auto& [label, marked] : labels)
        markBold(label, marked);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const bool marked =
            table_.pages[i].customControls ? markCustomPage(static_cast<int>(i)) : pages[i];
        tabs_->setMarked(static_cast<int>(i), marked);
    }
}

bool SettingsDialog::pageMarked(int index) const {
    return tabs_->isMarked(index);
}

void SettingsDialog::watch(Controls& c) {
    const auto changed = [this] {
        if (marking_) refreshMarks();
    };
    if (c.edit) connect(c.edit, &QLineEdit::textChanged, this, changed);
    if (c.check) connect(c.check, &QCheckBox::stateChanged, this, changed);
    if (c.combo) connect(c.combo, &QComboBox::currentIndexChanged, this, changed);
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
    // bench/run.py). What shows is laid out now, the innermost first: a layout left to
    // the showing posts a relayout that can reach the tab control after its first paint
    // and have it all painted again.
    const QList<QLayout*> inner = findChildren<QLayout*>();
    for (auto l = inner.rbegin(); l != inner.rend(); ++l)
        if ((*l)->parentWidget()->isVisibleTo(this)) (*l)->activate();
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
