#pragma once
// View > Changed Parameters: the parameters of the open image whose values differ
// from the game's own, as a table beside the main window (not modal), read as the
// dialogs show them. It follows the document's announcements; a double-click or Enter
// asks for the row's dialog, Copy puts the selected rows on the clipboard.
#include <QWidget>
#include <functional>
#include <vector>

#include "core/catalog.h"

class QLabel;
class QTableWidget;

namespace qv {

class RomDocument;

class ChangedParametersWindow : public QWidget {
    Q_OBJECT
  public:
    enum Column {
        DialogColumn,
        PageColumn,
        GroupColumn,
        LabelColumn,
        ValueColumn,
        DefaultColumn,
        OffsetColumn,
        ColumnCount
    };

    // `paletteSource` gives the Editor Options' colour table for the palette swatches.
    ChangedParametersWindow(const RomDocument& doc, std::function<int()> paletteSource,
                            QWidget* parent);
    ~ChangedParametersWindow() override;

    // Reads the document again: the heading and one row per changed parameter.
    void refresh();
    const std::vector<const ItemRow*>& rows() const { return rows_; }
    QTableWidget* table() const { return table_; }
    QLabel* heading() const { return heading_; }

    // The selected rows, one line each, their cells parted by tabs.
    QString selectedText() const;
    void copySelection() const;
    // Column widths that fit the table's width: each column as wide as its widest text
    // where there is room, the widest ones cut down alike where there is not.
    void fitColumns();

  signals:
    // The user wants to edit this parameter in its dialog.
    void openRequested(const qv::ItemRow& row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openCurrent();

    const RomDocument& doc_;
    std::function<int()> paletteSource_;
    int following_ = 0;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<const ItemRow*> rows_; // table order, one per row of the table
};

// "Unmodified game image", "1 parameter changed", "3 parameters changed"; empty text
// with no document.
QString changesHeading(const RomDocument& doc, int count);

} // namespace qv
