#pragma once
// The one list of settings dialogs, in the order of the Edit menu and the button
// panel. Each entry names its table (built on first use), what the main window shows
// for it and what the command line calls it. A new dialog is one entry here and its
// table; a dialog with widget code of its own (for what no table can say) adds that
// code and one line to the factory list in gui/dialogs/dialogclasses.cpp. The main
// window's menu items, buttons and enable list, the command line's dialog names, the
// tests that open every dialog and the dialog benchmarks follow from the entries.
#include <span>
#include <string>
#include <string_view>

#include "core/tables/table.h"

namespace qv {

struct DialogEntry {
    const DialogTable& (*table)();
    std::string_view name;          // "General 1": the command line's name, the undo suffix
    std::string_view command;       // "Zenpan1": Edit menu item mmmZenpan1, button BtnZenpan1
    std::string_view menuCaption;   // "&General Settings 1..."; empty: a sub-dialog,
                                    // opened from another dialog and kept in its fields
    std::string_view buttonCaption; // "&General 1"
    int shortcut = 0;               // Ctrl + this digit; 0: no shortcut

    bool inMenu() const { return !menuCaption.empty(); }
    std::string undoSuffix() const { return "(" + std::string(name) + ")"; }
    std::string actionName() const { return "mmm" + std::string(command); }
    std::string buttonName() const { return "Btn" + std::string(command); }
};

std::span<const DialogEntry> dialogEntries();
// The entry whose table has this class name; nullptr when none.
const DialogEntry* findEntry(std::string_view className);

// Every table, in the entries' order (each built when this is first called).
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
