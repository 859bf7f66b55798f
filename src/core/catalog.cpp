#include "core/catalog.h"

#include <algorithm>
#include <cctype>

namespace qv {

std::string dialogName(const DialogTable& table) {
    std::string_view s = table.undoSuffix;
    if (s.size() > 2 && s.front() == '(' && s.back() == ')')
        return std::string(s.substr(1, s.size() - 2));
    if (!s.empty()) return std::string(s);
    return table.caption;
}

static bool equalNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

const DialogTable* findDialog(std::string_view name) {
    for (const DialogEntry& e : dialogEntries())
        if (equalNoCase(e.name, name)) return &e.table();
    return nullptr;
}

// From the registry's names alone: listing them builds no table.
std::string dialogNames() {
    std::string out;
    for (const DialogEntry& e : dialogEntries())
        out += (out.empty() ? "" : ", ") + std::string(e.name);
    return out;
}

std::vector<ItemRow> itemRows(const DialogTable* only) {
    std::vector<ItemRow> rows;
    for (const DialogTable* t : dialogTables()) {
        if (only && t != only) continue;
        for (const Page& p : t->pages)
            for (const Group& g : p.groups)
                for (const Item& it : g.items)
                    rows.push_back({t, &p, &g, &it});
    }
    return rows;
}

} // namespace qv
