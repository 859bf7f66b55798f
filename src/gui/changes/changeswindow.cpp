#include "gui/changes/changeswindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/changereport.h"
#include "core/document.h"
#include "core/itemtext.h"
#include "core/knowngames.h"
#include "gui/dialogs/smallwidgets.h"

namespace qv {

QString changesHeading(const RomDocument& doc, int count) {
    if (!doc.isOpen()) return QStringLiteral("No file open");
    if (recognise(doc.fileBytes())) return QStringLiteral("Unmodified game image");
    return count == 1 ? QStringLiteral("1 parameter changed")
                      : QStringLiteral("%1 parameters changed").arg(count);
}

ChangedParametersWindow::ChangedParametersWindow(const RomDocument& doc, QWidget* parent)
    : QWidget(parent, Qt::Window), doc_(doc) {
    setObjectName(QStringLiteral("FormChanges"));
    setWindowTitle(QStringLiteral("Changed Parameters"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("LabChanges"));
    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("GridChanges"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Dialog"), QStringLiteral("Group"),
                                       QStringLiteral("Label"), QStringLiteral("Value"),
                                       QStringLiteral("Default")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    // One line of text per row, as in a list, rather than the style's roomy default.
    table_->verticalHeader()->setMinimumSectionSize(table_->fontMetrics().height() + 4);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(table_);
    resize(640, 360);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(rows_.size()))
            emit openRequested(*rows_[static_cast<std::size_t>(row)]);
    });
    refresh();
    following_ = doc_.subscribe([this](const DocumentEvent&) { refresh(); });
}

ChangedParametersWindow::~ChangedParametersWindow() {
    doc_.unsubscribe(following_);
}

void ChangedParametersWindow::refresh() {
    rows_.clear();
    ChangeList list;
    if (doc_.isOpen()) list = changedParameters(doc_.image(), doc_.shift());
    heading_->setText(changesHeading(doc_, list.count()));
    // The changed parameters, then those whose bytes the editor does not understand.
    std::vector<Change> all = list.changed;
    all.insert(all.end(), list.outOfBounds.begin(), list.outOfBounds.end());
    table_->setRowCount(static_cast<int>(all.size()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Change& c = all[i];
        const ItemRow& r = *c.row;
        const QStringList cells{utf8(dialogName(*r.table)), utf8(stripMnemonic(r.group->caption)),
                                utf8(labelOf(r)), utf8(shownText(*r.item, c.value)),
                                utf8(defaultText(*r.item))};
        const QString tip = utf8(r.item->control) + QStringLiteral(" at ") +
                            utf8(offsetsIn(r.item->offsets, doc_.shift()));
        for (int col = 0; col < cells.size(); ++col) {
            auto* cell = new QTableWidgetItem(cells[col]);
            cell->setToolTip(tip);
            table_->setItem(static_cast<int>(i), col, cell);
        }
        rows_.push_back(c.row);
    }
    table_->resizeColumnsToContents();
}

} // namespace qv
