// The Staircase sub-dialog's items. Both tables are stored with step 1 at their
// highest offset. A stored value outside its range makes the step invalid: it is shown
// disabled and kept, never replaced by a default.
#include "core/tables/staircaseblocks.h"

#include <array>
#include <string>

#include "core/tables/builders.h"

namespace qv::tables {
namespace {

constexpr std::array<int, kStairSteps> kStartDefaults{10, 9, 8, 7, 6, 5, 4, 3, 3};
constexpr std::array<int, kStairSteps> kCountDefaults{1, 2, 3, 4, 5, 6, 7, 8, 8};
const std::string kStartLabel = "Starting &Vertical Position of Unbreakable Blocks:";
const std::string kCountLabel = "Number of Unbre&akable Blocks:";
const std::string kStartHint = "[0～13 Default: 10, 9, 8, 7, 6, 5, 4, 3, 3]";
const std::string kCountHint = "[1～13 Default: 1, 2, 3, 4, 5, 6, 7, 8, 8]";

DialogTable build() {
    DialogTable t;
    t.className = "TFormKaidanBloc";
    t.caption = "Staircase Blocks - General Settings 1";
    // Never committed on its own (General 1 writes its bytes); the suffix names the
    // dialog on the command line.
    t.undoSuffix = "(Staircase)";
    t.helpContext = 6854;

    // Column by column: step s's start row, then its count.
    std::vector<Item> items;
    for (int s = 1; s <= kStairSteps; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        items.push_back(strict(numeric("EditKaidanSp" + std::to_string(s), kStartLabel, 0x1AC7 - s,
                                       enc::signedByte, 0, 13, kStartDefaults[i], kStartHint, 2)));
        items.push_back(strict(numeric("EditKaidanBk" + std::to_string(s), kCountLabel, 0x1ABE - s,
                                       enc::plusOne, 1, 13, kCountDefaults[i], kCountHint, 2)));
    }
    Group g = group("Staircase Block Settings", 6854, "SpdKaidan", std::move(items));
    g.objectName = "GrpKaidan";
    g.resetPanel = "PnlKaidan";
    GridLayout grid;
    for (int s = 1; s <= kStairSteps; ++s)
        grid.columns.push_back(std::to_string(s));
    grid.rows = {kStartLabel, kCountLabel};
    grid.rowNotes = {kStartHint, kCountHint};
    g.grid = std::move(grid);

    t.pages = pageList({page("Staircase Block Settings", {std::move(g)})});
    return t;
}

} // namespace

const DialogTable& staircaseBlocks() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

const Item& stairStart(int step) {
    return staircaseBlocks().pages[0].groups[0].at(0, step - 1);
}
const Item& stairCount(int step) {
    return staircaseBlocks().pages[0].groups[0].at(1, step - 1);
}

} // namespace qv::tables
