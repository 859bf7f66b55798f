// SettingsDialog's construction from its table. The layout beyond names, captions
// and order is ours: groups flow in two columns on pages with three or more.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/textlabel.h"
#include "gui/dialogs/updown.h"
#include "gui/dialogs/valuemarks.h"
#include "gui/main/glyphs.h"
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
    auto* tabs = new MarkedTabWidget(this);
    tabs_ = tabs->markedBar();
    pages_ = tabs;
    pages_->setObjectName(QStringLiteral("Page1"));
    pages_->setUsesScrollButtons(false); // every tab in view at once
    pages_->tabBar()->setElideMode(Qt::ElideNone);
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

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is, also on a
    // control beside the tab control.
    const auto turn = [this](int step) {
        const int n = pages_->count();
        if (n > 1) pages_->setCurrentIndex((pages_->currentIndex() + step + n) % n);
    };
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Tab)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [turn] { turn(1); });
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [turn] { turn(-1); });
}

QWidget* SettingsDialog::buildPage(const Page& page, int pageIndex) {
    auto* w = new QWidget;
    w->setObjectName(qs(pageObjectName(page, pageIndex)));
    if (page.customControls) return w;
    auto* grid = new QGridLayout(w);
    const int columns = page.groups.size() >= 3 ? 2 : 1;
    int n = 0, cell = 0; // cell: the next free place, row by row
    for (const Group& g : page.groups) {
        if (g.wide && cell % columns) ++cell; // a wide group starts a row of its own
        grid->addWidget(buildGroup(g, pageIndex, n), cell / columns, cell % columns, 1,
                        g.wide ? columns : 1, Qt::AlignTop);
        cell += g.wide ? columns : 1;
        ++n;
    }
    grid->setRowStretch((cell + columns - 1) / columns, 1);
    return w;
}

void SettingsDialog::addNumber(const Item& item, QWidget* parent, Controls& c) {
    c.edit = new QLineEdit(QStringLiteral("0"), parent);
    c.edit->setObjectName(qs(item.control));
    c.edit->setMaxLength(item.maxLength);
    // Two-digit boxes (the bridge columns, thirteen across) need only room for their digits.
    c.edit->setFixedWidth(item.maxLength <= 2
                              ? fontMetrics().horizontalAdvance(QStringLiteral("88")) + 12
                              : editWidth_);
    c.edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    c.spin = new UpDown(c.edit, item.spinMin, item.spinMax, parent);
    c.spin->setObjectName(qs(item.spinName()));
    watch(c);
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
        resetPanels_[std::string(g.reset)] = panel;
    }

    const std::size_t base = controls_.size();
    for (const Item& it : g.items) {
        controls_.push_back(Controls{&it});
        controls_.back().page = pageIndex;
    }

    if (g.grid) {
        const int rows = static_cast<int>(g.grid->rows.size());
        const int cols = static_cast<int>(g.grid->columns.size());
        // The heading and range rows, unless all their texts are empty.
        bool headings = false, ranges = false;
        for (int c = 0; c < cols; ++c) {
            headings = headings || !g.grid->columns[static_cast<std::size_t>(c)].empty();
            ranges = ranges || !g.at(0, c).rangeLabel().empty();
        }
        for (int c = 0; c < cols && headings; ++c)
            grid->addWidget(new TextLabel(qs(g.grid->columns[static_cast<std::size_t>(c)]), box),
                            row, 1 + 2 * c, 1, 2);
        row += headings ? 1 : 0;
        for (int c = 0; c < cols && ranges; ++c)
            grid->addWidget(new TextLabel(qs(g.at(0, c).rangeLabel()), box), row, 1 + 2 * c, 1, 2);
        row += ranges ? 1 : 0;
        for (int r = 0; r < rows; ++r, ++row) {
            auto* label = new TextLabel(qs(g.grid->rows[static_cast<std::size_t>(r)]), box);
            label->setReserveBold(true);
            grid->addWidget(label, row, 0);
            for (int c = 0; c < cols; ++c) {
                Controls& ctl = controls_[base + static_cast<std::size_t>(c * rows + r)];
                ctl.label = label;
                addNumber(*ctl.item, box, ctl);
                grid->addWidget(ctl.edit, row, 1 + 2 * c);
                grid->addWidget(ctl.spin, row, 2 + 2 * c);
                if (c == 0) label->setBuddy(ctl.edit);
            }
            grid->addWidget(new TextLabel(qs(g.grid->rowNotes[static_cast<std::size_t>(r)]), box),
                            row, 1 + 2 * cols);
        }
        addExtras(g, box, grid, row);
        return box;
    }

    std::size_t i = 0;
    if (!g.blocks.empty()) {
        auto* across = new QHBoxLayout;
        across->setSpacing(16);
        for (const Block& b : g.blocks) {
            // Rows as far apart as the group's own (a nested grid would take the 16).
            QGridLayout* cells = buildBlock(b, box, base + i);
            cells->setVerticalSpacing(grid->verticalSpacing());
            across->addLayout(cells, 0);
            i += static_cast<std::size_t>(b.items);
        }
        across->addStretch(1);
        grid->addLayout(across, row++, 0, 1, -1);
    }
    for (; i < g.items.size(); ++i, ++row)
        addRow(controls_[base + i], box, grid, row);
    addExtras(g, box, grid, row);
    grid->setColumnStretch(4, 1);
    return box;
}

void SettingsDialog::addRow(Controls& ctl, QWidget* box, QGridLayout* grid, int row) {
    const Item& it = *ctl.item;
    switch (it.kind) {
    case ItemKind::Numeric: {
        auto* label = new TextLabel(qs(it.label), box);
        label->setReserveBold(true);
        ctl.label = label;
        addNumber(it, box, ctl);
        label->setBuddy(ctl.edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(ctl.edit, row, 1);
        grid->addWidget(ctl.spin, row, 2);
        grid->addWidget(new TextLabel(qs(it.rangeLabel()), box), row, 3);
        break;
    }
    case ItemKind::Check:
    case ItemKind::Flag:
        addControl(ctl, box);
        grid->addWidget(ctl.check, row, 0, 1, 4);
        break;
    case ItemKind::Choice: {
        auto* label = new TextLabel(qs(it.label), box);
        label->setReserveBold(true);
        ctl.label = label;
        addControl(ctl, box);
        label->setBuddy(ctl.combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(ctl.combo, row, 1, 1, 3);
        break;
    }
    }
}

// The widgets of one item (a numeric item's edit and up-down, a check box or a list).
void SettingsDialog::addControl(Controls& ctl, QWidget* box) {
    const Item& it = *ctl.item;
    switch (it.kind) {
    case ItemKind::Numeric:
        addNumber(it, box, ctl);
        break;
    case ItemKind::Check:
    case ItemKind::Flag:
        ctl.check = new QCheckBox(qs(it.label), box);
        ctl.check->setObjectName(qs(it.control));
        ctl.label = ctl.check; // its own caption is marked
        watch(ctl);
        break;
    case ItemKind::Choice:
        ctl.combo = new ChoiceCombo(box);
        ctl.combo->setObjectName(qs(it.control));
        ctl.combo->setChoices(choiceModel(*it.list));
        watch(ctl);
        break;
    }
}

// One block: its heading, the column headings, then its rows. Each control of a row has
// two grid columns (a list spans both, a number has its edit and up-down); a row's range
// label stands after a lone number, or under the controls of a longer row.
QGridLayout* SettingsDialog::buildBlock(const Block& b, QWidget* box, std::size_t first) {
    auto* cells = new QGridLayout;
    cells->setHorizontalSpacing(4);
    cells->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    if (!b.heading.empty()) cells->addWidget(new TextLabel(qs(b.heading), box), row++, 0, 1, -1);
    for (std::size_t k = 0; k < b.columns.size(); ++k)
        cells->addWidget(new TextLabel(qs(b.columns[k]), box), row, 1 + 2 * static_cast<int>(k), 1,
                         2);
    if (!b.columns.empty()) ++row;

    std::size_t i = first;
    const std::size_t end = first + static_cast<std::size_t>(b.items);
    for (int rowIndex = 0; i < end; ++rowIndex) {
        Controls& lead = controls_[i];
        QLabel* label = nullptr;
        if (lead.item->kind != ItemKind::Check && lead.item->kind != ItemKind::Flag) {
            auto* text = new TextLabel(qs(lead.item->label), box);
            text->setReserveBold(true);
            label = text;
            cells->addWidget(label, row, 0);
        }
        // The row: this item and those after it without a label of their own.
        std::size_t rowEnd = i + 1;
        while (rowEnd < end && controls_[rowEnd].item->label.empty())
            ++rowEnd;
        const bool alone = rowEnd - i == 1;
        int slot = 0;
        std::string range;
        for (; i < rowEnd; ++i) {
            Controls& ctl = controls_[i];
            addControl(ctl, box);
            if (label) ctl.label = label;
            const int column = 1 + 2 * slot++;
            if (ctl.edit && !alone) { // one of a row of numbers: edit and arrows together
                auto* pair = new QHBoxLayout;
                pair->setSpacing(0);
                pair->addWidget(ctl.edit);
                pair->addWidget(ctl.spin);
                cells->addLayout(pair, row, column, 1, 2);
            } else if (ctl.edit) {
                cells->addWidget(ctl.edit, row, column);
                cells->addWidget(ctl.spin, row, column + 1);
            } else if (ctl.combo && alone) { // keeps its own width beside longer rows
                cells->addWidget(ctl.combo, row, column, 1, -1, Qt::AlignLeft);
            } else if (ctl.combo) {
                cells->addWidget(ctl.combo, row, column, 1, 2);
            } else {
                cells->addWidget(ctl.check, row, 0, 1, 3);
            }
            // Only numbers have a range; a list shows its entries.
            if (range.empty() && ctl.edit) range = ctl.item->rangeLabel();
            if (label && !label->buddy())
                label->setBuddy(ctl.edit ? static_cast<QWidget*>(ctl.edit) : ctl.combo);
        }
        if (!range.empty()) {
            if (slot == 1)
                cells->addWidget(new TextLabel(qs(range), box), row, 3);
            else
                cells->addWidget(new TextLabel(qs(range), box), ++row, 1, 1, 2 * slot);
        }
        ++row;
        if (rowIndex == b.lineAfterRow) {
            auto* line = new QFrame(box);
            line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            cells->addWidget(line, row++, 0, 1, -1);
        }
    }
    cells->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), row, 0);
    cells->setRowStretch(row, 1);
    return cells;
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
            auto* status = new TextLabel(box);
            status->setObjectName(qs(b.statusLabel));
            grid->addWidget(status, row, 2, 1, 2);
        }
        ++row;
    }
    for (std::size_t i = 0; i < g.notes.size(); ++i) {
        auto* label = new TextLabel(qs(g.notes[i]), box);
        label->setWordWrap(true);
        for (const auto& [index, name] : g.noteNames)
            if (index == i) label->setObjectName(qs(name));
        grid->addWidget(label, row++, 0, 1, -1);
    }
    // Height a wrapped note asked for beyond its lines goes below, not between the rows.
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), row, 0);
    grid->setRowStretch(row, 1);
}

} // namespace qv
