#pragma once
// A settings dialog as data: its pages in order, each page's group boxes, each group's
// items, help context and Reset button. One generic builder turns it into a window;
// the CLI walks the same rows. Text is held as views of the literals the rows are
// written with, or of text kept for the life of the process (see keep() in items.h).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/items.h"

namespace qv {

// A group laid out as a table (the jump table): the items are listed column by column,
// `rows.size()` per column; each row has a label (buddy of its first edit) and a note.
struct GridLayout {
    std::vector<std::string_view> columns;  // column headings
    std::vector<std::string_view> rows;     // row labels, with "&"
    std::vector<std::string_view> rowNotes; // "[Defaults: 4, 255, 223, 112]"
};

// A run of a group's items laid out as a column of rows beside the group's other blocks
// (the axe, rope and bridge pairs; score-table slots in two columns). Within a block an
// item without a label continues the row of the item before it, under `columns`.
struct Block {
    std::string_view heading;              // over the block ("Axe"); empty: none
    int items = 0;                         // how many of the group's items, in table order
    std::vector<std::string_view> columns; // headings over the controls of each row
    int lineAfterRow = -1;                 // a separator line under this row (0: the first)
};

// A push button in a group that opens a sub-dialog, with the status label beside it.
struct GroupButton {
    std::string_view control; // "BtnKihonBloc"
    std::string_view caption; // "Basic &Block Settings..."
    int helpContext = 0;
    std::string_view statusLabel; // "LabKihonBloc"; empty: none
    std::string_view opens;       // the class name of the sub-dialog it opens ("TFormKihonBloc")
};

struct Group {
    std::string_view caption;
    int helpContext = 0;    // 0: none of its own
    std::string_view reset; // "SpdMaWalk": resets every item of the group; empty: none
    std::vector<Item> items;
    std::optional<GridLayout> grid;
    // Side-by-side blocks for the first items; the items after them follow below.
    std::vector<Block> blocks;
    bool wide = false;           // on a page of two columns of groups, spans both
    std::string_view objectName; // empty: derived from the Reset button (SpdMaWalk -> GrpMaWalk)
    std::string_view resetPanel; // the Reset button's panel, when it has a name of its own
    std::vector<GroupButton> buttons;    // below the items
    std::vector<std::string_view> notes; // word-wrapped information labels, last
    // Object names of the notes that have one, by their index in `notes`.
    std::vector<std::pair<std::size_t, std::string_view>> noteNames;

    // The item at (row, column) of a grid group.
    const Item& at(int row, int column) const {
        return items[static_cast<std::size_t>(column) * grid->rows.size() +
                     static_cast<std::size_t>(row)];
    }
};

struct Page {
    std::string_view caption;
    std::vector<Group> groups;
    std::string_view objectName; // empty: "Tab" and the page's number from 1
    // The dialog lays out this page's controls itself; the builder leaves the page empty
    // and its groups only list the items (for the value fields, the CLI and the help).
    bool customControls = false;
};

// Each table is built on first use and lives until the process ends: it is never
// destroyed, so its items can hold views of what its rows computed.
struct DialogTable {
    std::string_view className;  // "TFormMario"
    std::string_view caption;    // window title
    std::string_view undoSuffix; // "(Mario)"
    int helpContext = 0;         // the Help button's topic
    std::vector<Page> pages;
    // Sub-dialogs whose bytes travel through this dialog's value fields and reach the
    // image only when this dialog is closed with OK.
    std::vector<const DialogTable*> subDialogs;

    // Every item, page by page and group by group.
    std::vector<const Item*> items() const;
    const Item* find(std::string_view control) const;
    const Group* groupByReset(std::string_view resetButton) const;
};

std::string groupObjectName(const Group& g, int page, int index);
std::string pageObjectName(const Page& p, int page);

} // namespace qv
