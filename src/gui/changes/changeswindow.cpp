#include "gui/changes/changeswindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "core/changes.h"
#include "core/document.h"
#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/nescolors.h"
#include "core/valuedisplay.h"
#include "gui/dialogs/smallwidgets.h"

namespace qv {

QString changesHeading(const RomDocument& doc, int count) {
    if (!doc.isOpen()) return QStringLiteral("No file open");
    if (recognise(doc.fileBytes())) return QStringLiteral("Unmodified game image");
    return count == 1 ? QStringLiteral("1 parameter changed")
                      : QStringLiteral("%1 parameters changed").arg(count);
}

ChangedParametersWindow::ChangedParametersWindow(const RomDocument& doc,
                                                 std::function<int()> paletteSource,
                                                 QWidget* parent)
    : QWidget(parent, Qt::Window), doc_(doc), paletteSource_(std::move(paletteSource)) {
    setObjectName(QStringLiteral("FormChanges"));
    setWindowTitle(QStringLiteral("Changed Parameters"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("LabChanges"));
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("GridChanges"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Dialog"), QStringLiteral("Page"),
                                       QStringLiteral("Group"), QStringLiteral("Label"),
                                       QStringLiteral("Value"), QStringLiteral("Default"),
                                       QStringLiteral("Offset")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setTextElideMode(Qt::ElideRight);
    table_->setWordWrap(false);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->verticalHeader()->hide();
    // One line of text per row, as in a list, rather than the style's roomy default.
    table_->verticalHeader()->setMinimumSectionSize(table_->fontMetrics().height() + 4);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(table_);
    resize(760, 360);

    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(rows_.size()))
            emit openRequested(*rows_[static_cast<std::size_t>(row)]);
    });
    // Enter on a row does what a double-click does; Escape closes the window.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), table_, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, &ChangedParametersWindow::openCurrent);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    auto* copy = new QAction(QStringLiteral("&Copy"), table_);
    copy->setObjectName(QStringLiteral("ActCopy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ChangedParametersWindow::copySelection);
    table_->addAction(copy);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    refresh();
    following_ = doc_.subscribe([this](const DocumentEvent&) { refresh(); });
}

ChangedParametersWindow::~ChangedParametersWindow() {
    doc_.unsubscribe(following_);
}

void ChangedParametersWindow::openCurrent() {
    const int row = table_->currentRow();
    if (row >= 0 && row < static_cast<int>(rows_.size()))
        emit openRequested(*rows_[static_cast<std::size_t>(row)]);
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
    const int source = paletteSource_ ? paletteSource_() : 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Change& c = all[i];
        const ItemRow& r = *c.row;
        const QString offsets = utf8(offsetsIn(r.item->offsets, doc_.shift()));
        QStringList cells{utf8(dialogName(*r.table)),
                          utf8(stripMnemonic(r.page->caption)),
                          utf8(stripMnemonic(r.group->caption)),
                          utf8(labelOf(r)),
                          utf8(dialogValueText(r, c.value)),
                          utf8(dialogValueText(r, c.other)),
                          offsets};
        const QString tip = utf8(r.item->control) + QStringLiteral(" at ") + offsets;
        for (int col = 0; col < cells.size(); ++col) {
            auto* cell = new QTableWidgetItem(qs(cells[col].toStdString()));
            cell->setToolTip(cells[col] + QStringLiteral("\n") + tip);
            // A palette entry shows its colour beside its number.
            if (col == ValueColumn || col == DefaultColumn) {
                if (const auto index =
                        paletteColorIndex(r, col == ValueColumn ? c.value : c.other)) {
                    const Rgb rgb = nesColor(source, *index);
                    cell->setData(Qt::DecorationRole, QColor(rgb.r, rgb.g, rgb.b));
                }
            }
            table_->setItem(static_cast<int>(i), col, cell);
        }
        rows_.push_back(c.row);
    }
    fitColumns();
}

void ChangedParametersWindow::fitColumns() {
    QHeaderView* header = table_->horizontalHeader();
    const int count = table_->columnCount();
    // What each column would take: its widest text or heading.
    table_->resizeColumnsToContents();
    std::vector<int> wanted(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c)
        wanted[static_cast<std::size_t>(c)] = header->sectionSize(c);
    const int room = table_->viewport()->width();
    const int total = std::accumulate(wanted.begin(), wanted.end(), 0);
    std::vector<int> widths = wanted;
    if (total > room && room > 0) {
        // The widest columns lose alike: the largest cap at which all still fit.
        std::vector<int> sorted = wanted;
        std::ranges::sort(sorted);
        int below = 0, cap = 0;
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            const int rest = static_cast<int>(sorted.size() - k);
            const int even = (room - below) / rest;
            if (even <= sorted[k]) {
                cap = even;
                break;
            }
            below += sorted[k];
            cap = sorted[k];
        }
        for (int& w : widths)
            w = std::max(std::min(w, cap), header->minimumSectionSize());
    } else if (total < room) {
        // What is left goes to the group and label, the texts that are cut first.
        const int extra = room - total;
        widths[GroupColumn] += extra / 2;
        widths[LabelColumn] += extra - extra / 2;
    }
    for (int c = 0; c < count; ++c)
        header->resizeSection(c, widths[static_cast<std::size_t>(c)]);
}

bool ChangedParametersWindow::eventFilter(QObject* watched, QEvent* event) {
    // The table's own width decides, once the layout has given it: the window's resize
    // comes before the table's.
    if (watched == table_->viewport() && event->type() == QEvent::Resize) fitColumns();
    return QWidget::eventFilter(watched, event);
}

QString ChangedParametersWindow::selectedText() const {
    QList<int> selected;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        selected << i.row();
    std::ranges::sort(selected);
    QString text;
    for (int r : selected) {
        QStringList cells;
        for (int c = 0; c < table_->columnCount(); ++c)
            cells << table_->item(r, c)->text();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void ChangedParametersWindow::copySelection() const {
    const QString text = selectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

} // namespace qv
