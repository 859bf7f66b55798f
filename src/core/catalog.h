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

// One parameter of one dialog, each control once, in registry order.
const std::vector<ItemRow>& parameterRows();

// The item's label without "&" and trailing ":", or its control name when it has none.
std::string labelOf(const Item& item);
// labelOf(row), added to the end of `out`.
void appendLabel(std::string& out, const ItemRow& row);
// The same, where an item without a label of its own is named after its place: a
// table cell by its row and column ("Walking, Rise Rate", "Player Stopped 2"), an item
// continuing a labelled one by the label and its place in the run ("Set Value 3").
std::string labelOf(const ItemRow& row);

} // namespace qv
