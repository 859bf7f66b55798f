#pragma once
// View > Changed Parameters: the parameters of the open image whose values differ
// from the game's own, as a table beside the main window (not modal). It follows the
// document's announcements; a double-click asks for the row's dialog.
#include <QWidget>
#include <vector>

#include "core/catalog.h"

class QLabel;
class QTableWidget;

namespace qv {

class RomDocument;

class ChangedParametersWindow : public QWidget {
    Q_OBJECT
  public:
    ChangedParametersWindow(const RomDocument& doc, QWidget* parent);
    ~ChangedParametersWindow() override;

    // Reads the document again: the heading and one row per changed parameter.
    void refresh();
    const std::vector<const ItemRow*>& rows() const { return rows_; }
    QTableWidget* table() const { return table_; }
    QLabel* heading() const { return heading_; }

  signals:
    // The user wants to edit this parameter in its dialog.
    void openRequested(const qv::ItemRow& row);

  private:
    const RomDocument& doc_;
    int following_ = 0;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<const ItemRow*> rows_; // table order, one per row of the table
};

// "Unmodified game image", "1 parameter changed", "3 parameters changed"; empty text
// with no document.
QString changesHeading(const RomDocument& doc, int count);

} // namespace qv
