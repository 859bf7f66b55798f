#include "gui/dialogs/scoring.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "core/tables/scoring.h"
#include "gui/dialogs/choicemodels.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/dialogs/textlabel.h"

namespace qv {

namespace {

const QString kNoScoreShown = QStringLiteral("（点数非表示）");

// A grid cell as the builder laid it out.
struct Cell {
    QLayoutItem* item;
    int row, column, rowSpan, columnSpan;
};

// Empties the grid, keeping its widgets and nested layouts for re-adding.
std::vector<Cell> takeAll(QGridLayout* grid) {
    std::vector<Cell> cells;
    while (grid->count() > 0) {
        Cell c{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(0, &c.row, &c.column, &c.rowSpan, &c.columnSpan);
        c.item = grid->takeAt(0);
        cells.push_back(c);
    }
    return cells;
}

// The table's group whose box has this object name.
const Group& groupNamed(const DialogTable& t, std::string_view objectName) {
    for (std::size_t p = 0; p < t.pages.size(); ++p)
        for (std::size_t i = 0; i < t.pages[p].groups.size(); ++i)
            if (groupObjectName(t.pages[p].groups[i], static_cast<int>(p), static_cast<int>(i)) ==
                objectName)
                return t.pages[p].groups[i];
    throw std::logic_error("no group " + std::string(objectName));
}

QLabel* heading(const char* text, QWidget* parent) {
    return new TextLabel(QString::fromUtf8(text), parent);
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return line;
}

QLabel* panel(const QString& name, QWidget* parent) {
    auto* p = new TextLabel(parent);
    p->setObjectName(name);
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    p->setMinimumWidth(
        p->fontMetrics().horizontalAdvance(QStringLiteral("9,000,000 + 1UP  [Default]")));
    return p;
}

} // namespace

TFormPoint::TFormPoint(DialogHost& host, QWidget* parent)
    : SettingsDialog(tables::scoring(), host, parent) {
    for (const char* group : {"GrpPtKinoko", "GrpPtLift", "GrpPtFire", "GrpPtFumi", "GrpPtKeri"})
        arrangePanels(group);
    // The Items page's two groups line up: each label column as wide as the wider one.
    int labels = 0;
    std::vector<QGridLayout*> grids;
    for (const char* name : {"GrpPtKinoko", "GrpPtLift"}) {
        auto* grid =
            static_cast<QGridLayout*>(findChild<QGroupBox*>(QLatin1String(name))->layout());
        grids.push_back(grid);
        for (int r = 1; r < grid->rowCount(); ++r)
            if (QLayoutItem* item = grid->itemAtPosition(r, 0); item && item->widget())
                labels = std::max(labels, item->widget()->sizeHint().width());
    }
    for (QGridLayout* grid : grids)
        grid->setColumnMinimumWidth(0, labels);
    connect(pages(), &QTabWidget::currentChanged, this, &TFormPoint::Page1Change);
}

// Headings over the item combos and their two panels; in the Kicking group the note
// and a line come before the last row, which counts without the sequential bonus.
void TFormPoint::arrangePanels(const char* group) {
    auto* box = findChild<QGroupBox*>(QLatin1String(group));
    const Group& g = groupNamed(table(), group);
    const std::vector<int> tags = tables::pointTagsIn(g);
    auto* grid = static_cast<QGridLayout*>(box->layout());
    const std::vector<Cell> cells = takeAll(grid);
    grid->setColumnStretch(4, 0);
    grid->setColumnStretch(6, 1);
    grid->addWidget(heading("Set Value", box), 1, 1, 1, 3);
    grid->addWidget(heading("Actual Points", box), 1, 4);
    grid->addWidget(heading("Displayed Score", box), 1, 5);

    const int items = static_cast<int>(tags.size());
    const bool lineBeforeLast = QLatin1String(group) == QLatin1String("GrpPtKeri");
    // Old rows: 0 Reset panel, 1..items the items, then the notes.
    const auto newRow = [&](int oldRow) {
        if (oldRow == 0) return 0;
        if (!lineBeforeLast) return oldRow + 1;
        if (oldRow < items) return oldRow + 1;   // rows above the line
        if (oldRow == items) return items + 3;   // the last row, below note and line
        return items + 1 + (oldRow - items - 1); // the note, in the last row's place
    };
    for (const Cell& c : cells)
        grid->addItem(c.item, newRow(c.row), c.column, c.rowSpan,
                      c.row == 0 ? -1 : c.columnSpan); // Reset at the far right, over the panels
    if (lineBeforeLast) grid->addWidget(separator(box), items + 2, 0, 1, 6);

    for (int tag : tags) {
        const std::string_view control =
            tables::pointScoredItems()[static_cast<std::size_t>(tag - 1)];
        const QString stem = qs(control).mid(3); // "PtKinoko"
        Panels& p = panels_[static_cast<std::size_t>(tag - 1)];
        p.points = panel(QStringLiteral("Ppt") + stem, box);
        p.display = panel(QStringLiteral("Pvw") + stem, box);
        QComboBox* combo = controls(control)->combo;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(combo), &row, &column, &rowSpan, &columnSpan);
        grid->addWidget(p.points, row, 4);
        grid->addWidget(p.display, row, 5);
        // CmbPtKinokoChange, shared by the 17 combos.
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, tag] { UpdateScorePanels(tag); });
    }
    // After the group's Reset has put its combos back.
    connect(box->findChild<QToolButton*>(qs(g.reset)), &QToolButton::clicked, this, [this, tags] {
        for (int tag : tags)
            UpdateScorePanels(tag);
    });
}

void TFormPoint::showFields() {
    SettingsDialog::showFields();
    for (int tag = 1; tag <= 17; ++tag)
        UpdateScorePanels(tag);
}

void TFormPoint::UpdateScorePanels(int tag) {
    const Panels& p = panels_[static_cast<std::size_t>(tag - 1)];
    const QComboBox* combo =
        controls(tables::pointScoredItems()[static_cast<std::size_t>(tag - 1)])->combo;
    if (!combo->isEnabled()) {
        p.points->setText(qs(kOutOfBounds));
        p.display->setText(qs(kOutOfBounds));
        return;
    }
    const int k = combo->currentIndex();
    if (k <= 0) {
        p.points->setText(QStringLiteral("0"));
        p.display->setText(drawableText(kNoScoreShown, p.display->font()));
        return;
    }
    p.points->setText(controls(tables::pointSlotPoints(k))->combo->currentText());
    p.display->setText(controls(tables::pointSlotDisplay(k))->combo->currentText());
}

void TFormPoint::Page1Change(int index) {
    for (int tag : tables::pointTagsOnPage(index))
        UpdateScorePanels(tag);
}

SettingsDialog* makeScoringDialog(const DialogTable&, DialogHost& host, QWidget* parent) {
    return new TFormPoint(host, parent);
}

} // namespace qv
