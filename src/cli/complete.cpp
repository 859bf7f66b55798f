#include "cli/complete.h"

#include <iostream>
#include <set>

#include "core/catalog.h"

namespace qv::cli {

namespace {

std::string withoutAmpersand(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i; // "&&" stands for one "&"
        out += caption[i];
    }
    return out;
}

const Item* findControl(const std::string& name) {
    for (const ItemRow& row : itemRows())
        if (row.item->control == name) return row.item;
    return nullptr;
}

} // namespace

int complete(const std::vector<std::string>& args) {
    const std::string what = args.empty() ? std::string() : args[0];
    if (what == "commands" && args.size() == 1) {
        for (const char* c : {"info", "dump", "get", "set", "ips"})
            std::cout << c << "\n";
    } else if (what == "ips" && args.size() == 1) {
        for (const char* c : {"apply", "create", "show"})
            std::cout << c << "\n";
    } else if (what == "dialogs" && args.size() == 1) {
        for (const DialogEntry& e : dialogEntries()) // names only: no table is built
            std::cout << e.name << "\n";
    } else if (what == "controls" && args.size() <= 2) {
        const DialogTable* only = args.size() == 2 ? findDialog(args[1]) : nullptr;
        if (args.size() == 2 && !only) return 1;
        // A control shown in two places is offered once.
        std::set<std::string> seen;
        for (const ItemRow& row : itemRows(only))
            if (!row.item->control.empty() && seen.insert(row.item->control).second)
                std::cout << row.item->control << "\n";
    } else if (what == "values" && args.size() == 2) {
        const Item* item = findControl(args[1]);
        if (!item) return 1;
        if (item->isCheckBox()) {
            std::cout << "checked\nunchecked\n";
        } else if (item->kind == ItemKind::Choice && item->list) {
            for (const std::string& c : item->list->captions())
                std::cout << withoutAmpersand(c) << "\n";
        }
    } else {
        std::cerr << "qorv: --complete takes commands, ips, dialogs, controls [DIALOG] or "
                     "values CONTROL\n";
        return 1;
    }
    return 0;
}

} // namespace qv::cli
