#pragma once
// Every item of every dialog in the registry, in table order, with the names the
// tool shows for its dialog, page and group. Dialogs added to the registry appear
// here without any change to the tool.
#include <string>
#include <string_view>
#include <vector>

#include "core/tables/registry.h"

namespace qv {

struct ItemRow {
    const DialogTable* table = nullptr;
    const Page* page = nullptr;
    const Group* group = nullptr;
    const Item* item = nullptr;
};

// The short name users know a dialog by: its undo suffix without the parentheses
// ("(General 1)" -> "General 1"), or its caption when it has no suffix of its own.
std::string dialogName(const DialogTable& table);

// The table named so, compared without regard to case; nullptr when none is.
const DialogTable* findDialog(std::string_view name);
// "Mario, General 1, ..." for messages.
std::string dialogNames();

// Every item of one dialog (or of all when table is null), page by page, group by group.
std::vector<ItemRow> itemRows(const DialogTable* table = nullptr);

} // namespace qv
