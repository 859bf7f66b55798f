#pragma once
// Every settings dialog's table, in the order of the Edit menu. A new dialog adds
// its table here; the CLI and the tests walk this list.
#include <span>
#include <string_view>

#include "core/tables/table.h"

namespace qv {

std::span<const DialogTable* const> dialogTables();
const DialogTable* findTable(std::string_view className);

struct ItemRef {
    const DialogTable* table = nullptr;
    const Item* item = nullptr;
    explicit operator bool() const { return item != nullptr; }
};
// The first item of that control name over all dialogs.
ItemRef findItem(std::string_view control);

} // namespace qv
