#include "core/catalog.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "core/itemtext.h"

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

const std::vector<ItemRow>& parameterRows() {
    // A control reachable from two tables is one parameter: the first table owns it.
    static const std::vector<ItemRow> rows = [] {
        std::vector<ItemRow> out;
        std::unordered_set<std::string_view> seen;
        seen.reserve(1024);
        for (const ItemRow& r : itemRows())
            if (seen.insert(r.item->control).second) out.push_back(r);
        return out;
    }();
    return rows;
}

namespace {

// A caption without "&" and without its trailing ":", added to `out`.
void appendBare(std::string& out, std::string_view caption) {
    const std::size_t start = out.size();
    appendStripped(out, caption);
    while (out.size() > start && (out.back() == ':' || out.back() == ' '))
        out.pop_back();
}

std::string bareLabel(std::string_view caption) {
    std::string label;
    appendBare(label, caption);
    return label;
}

} // namespace

std::string labelOf(const Item& item) {
    std::string label = bareLabel(item.label);
    return label.empty() ? item.control : label;
}

std::string labelOf(const ItemRow& row) {
    std::string out;
    appendLabel(out, row);
    return out;
}

void appendLabel(std::string& out, const ItemRow& row) {
    const Item& item = *row.item;
    const std::size_t start = out.size();
    if (!item.label.empty()) {
        appendBare(out, item.label);
        if (out.size() == start) out += item.control;
        return;
    }
    const std::vector<Item>& items = row.group->items;
    const std::less<const Item*> before;
    if (before(&item, items.data()) || !before(&item, items.data() + items.size())) {
        out += item.control;
        return;
    }
    const auto index = static_cast<std::size_t>(&item - items.data());
    if (const auto& grid = row.group->grid; grid && !grid->rows.empty()) {
        const std::size_t rows = grid->rows.size();
        const std::size_t r = index % rows, c = index / rows;
        appendBare(out, grid->rows[r]);
        if (c < grid->columns.size() && !grid->columns[c].empty()) {
            out += ", ";
            appendStripped(out, grid->columns[c]);
        } else {
            out += " " + std::to_string(c + 1);
        }
        return;
    }
    for (std::size_t lead = index; lead-- > 0;)
        if (!items[lead].label.empty()) {
            out += labelOf(items[lead]);
            out += " " + std::to_string(index - lead + 1);
            return;
        }
    out += item.control;
}

} // namespace qv
