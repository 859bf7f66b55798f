// SettingsDialog's construction from its table. The layout beyond names, captions
// and order is ours: groups flow in two columns on pages with three or more.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/updown.h"
#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"
#include "gui/main/placement.h"

namespace qv {
void SettingsDialog::build() {
    setObjectName(qs(table_.className));
    setWindowTitle(qs(table_.caption));
    setDialogBorder(this);
    setHelpContext(this, table_.helpContext);
    editWidth_ = fontMetrics().horizontalAdvance(QStringLiteral("-88888")) + 8;

    std::size_t count = 0;
    for (const Page& p : table_.pages)
        for (const Group& g : p.groups)
            count += g.items.size();
    controls_.reserve(count);

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog border
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("Page1"));
    for (std::size_t i = 0; i < table_.pages.size(); ++i)
        pages_->addTab(buildPage(table_.pages[i], static_cast<int>(i)),
                       qs(table_.pages[i].caption));
    top->addWidget(pages_);

    const OkCancelHelp buttons = okCancelHelpRow(this);
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        BtnOkClick();
        accept();
    });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &SettingsDialog::BtnHelpClick);
    top->addLayout(buttons.row);
    installContextHelp(this, table_.helpContext);
}

QWidget* SettingsDialog::buildPage(const Page& page, int pageIndex) {
    auto* w = new QWidget;
    w->setObjectName(qs(pageObjectName(page, pageIndex)));
    if (page.customControls) return w;
    auto* grid = new QGridLayout(w);
    const int columns = page.groups.size() >= 3 ? 2 : 1;
    int n = 0;
    for (const Group& g : page.groups) {
        grid->addWidget(buildGroup(g, pageIndex, n), n / columns, n % columns, Qt::AlignTop);
        ++n;
    }
    grid->setRowStretch((n + columns - 1) / columns, 1);
    return w;
}

void SettingsDialog::addNumber(const Item& item, QWidget* parent, Controls& c) {
    c.edit = new QLineEdit(QStringLiteral("0"), parent);
    c.edit->setObjectName(qs(item.control));
    c.edit->setMaxLength(item.maxLength);
    c.edit->setFixedWidth(editWidth_);
    c.edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    c.spin = new UpDown(c.edit, item.spinMin, item.spinMax, parent);
    c.spin->setObjectName(qs(item.spinName()));
}

QWidget* SettingsDialog::buildGroup(const Group& g, int pageIndex, int groupIndex) {
    auto* box = new QGroupBox(qs(g.caption));
    box->setObjectName(qs(groupObjectName(g, pageIndex, groupIndex)));
    if (g.helpContext) setHelpContext(box, g.helpContext);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    int row = 0;

    if (!g.reset.empty()) { // the Reset panel at the group's top right
        QWidget* owner = box;
        auto* panel = new QHBoxLayout;
        if (!g.resetPanel.empty()) { // a panel with a name of its own
            owner = new QWidget(box);
            owner->setObjectName(qs(g.resetPanel));
            owner->setLayout(panel);
            panel->setContentsMargins(0, 0, 0, 0);
            grid->addWidget(owner, row++, 0, 1, -1);
        } else {
            grid->addLayout(panel, row++, 0, 1, -1);
        }
        panel->addStretch();
        QToolButton* spd = flatButton(owner, qs(g.reset), QStringLiteral("Reset"));
        connect(spd, &QToolButton::clicked, this, [this, &g] { resetClicked(g); });
        panel->addWidget(spd);
        resetPanels_[g.reset] = panel;
    }

    const std::size_t base = controls_.size();
    for (const Item& it : g.items)
        controls_.push_back(Controls{&it});

    if (g.grid) {
        const int rows = static_cast<int>(g.grid->rows.size());
        const int cols = static_cast<int>(g.grid->columns.size());
        for (int c = 0; c < cols; ++c) {
            grid->addWidget(new QLabel(qs(g.grid->columns[static_cast<std::size_t>(c)]), box), row,
                            1 + 2 * c, 1, 2);
            grid->addWidget(new QLabel(qs(g.at(0, c).rangeLabel), box), row + 1, 1 + 2 * c, 1, 2);
        }
        row += 2;
        for (int r = 0; r < rows; ++r, ++row) {
            auto* label = new QLabel(qs(g.grid->rows[static_cast<std::size_t>(r)]), box);
            grid->addWidget(label, row, 0);
            for (int c = 0; c < cols; ++c) {
                Controls& ctl = controls_[base + static_cast<std::size_t>(c * rows + r)];
                addNumber(*ctl.item, box, ctl);
                grid->addWidget(ctl.edit, row, 1 + 2 * c);
                grid->addWidget(ctl.spin, row, 2 + 2 * c);
                if (c == 0) label->setBuddy(ctl.edit);
            }
            grid->addWidget(new QLabel(qs(g.grid->rowNotes[static_cast<std::size_t>(r)]), box), row,
                            1 + 2 * cols);
        }
        addExtras(g, box, grid, row);
        return box;
    }

    for (std::size_t i = 0; i < g.items.size(); ++i, ++row) {
        Controls& ctl = controls_[base + i];
        const Item& it = *ctl.item;
        switch (it.kind) {
        case ItemKind::Numeric: {
            auto* label = new QLabel(qs(it.label), box);
            addNumber(it, box, ctl);
            label->setBuddy(ctl.edit);
            grid->addWidget(label, row, 0);
            grid->addWidget(ctl.edit, row, 1);
            grid->addWidget(ctl.spin, row, 2);
            grid->addWidget(new QLabel(qs(it.rangeLabel), box), row, 3);
            break;
        }
        case ItemKind::Check:
        case ItemKind::Flag:
            ctl.check = new QCheckBox(qs(it.label), box);
            ctl.check->setObjectName(qs(it.control));
            grid->addWidget(ctl.check, row, 0, 1, 4);
            break;
        case ItemKind::Choice: {
            auto* label = new QLabel(qs(it.label), box);
            ctl.combo = new ChoiceCombo(box);
            ctl.combo->setObjectName(qs(it.control));
            ctl.combo->setModel(choiceModel(*it.list));
            label->setBuddy(ctl.combo);
            grid->addWidget(label, row, 0);
            grid->addWidget(ctl.combo, row, 1, 1, 3);
            break;
        }
        }
    }
    addExtras(g, box, grid, row);
    grid->setColumnStretch(4, 1);
    return box;
}

// Sub-dialog buttons with their status labels, then the information labels.
void SettingsDialog::addExtras(const Group& g, QWidget* box, QGridLayout* grid, int row) {
    for (const GroupButton& b : g.buttons) {
        auto* button = new QPushButton(qs(b.caption), box);
        button->setObjectName(qs(b.control));
        button->setAutoDefault(false);
        if (b.helpContext) setHelpContext(button, b.helpContext);
        grid->addWidget(button, row, 0, 1, 2);
        if (!b.statusLabel.empty()) {
            auto* status = new QLabel(box);
            status->setObjectName(qs(b.statusLabel));
            grid->addWidget(status, row, 2, 1, 2);
        }
        ++row;
    }
    for (std::size_t i = 0; i < g.notes.size(); ++i) {
        auto* label = new QLabel(qs(g.notes[i]), box);
        label->setWordWrap(true);
        for (const auto& [index, name] : g.noteNames)
            if (index == i) label->setObjectName(qs(name));
        grid->addWidget(label, row++, 0, 1, -1);
    }
}

} // namespace qv
