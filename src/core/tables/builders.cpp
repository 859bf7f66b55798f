#include "core/tables/builders.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tables {

Group group(RowText caption, int help, RowText reset, std::vector<Item> items) {
    Group g;
    g.caption = caption.view;
    g.helpContext = help;
    g.reset = reset.view;
    g.items = std::move(items);
    return g;
}

static std::string numberEntry(int n, int marked,
                               const std::vector<std::pair<int, std::string>>& suffixes) {
    std::string s = std::to_string(n);
    if (n == marked) s += "  [Default]";
    for (const auto& [at, suffix] : suffixes)
        if (at == n) s += suffix;
    return s;
}

ChoiceListRef numberList(int first, int last, int marked,
                         std::vector<std::pair<int, std::string>> suffixes) {
    return entryList(last - first + 1, [=, s = std::move(suffixes)](int index) {
        return numberEntry(first + index, marked, s);
    });
}

ChoiceListRef codeNames(int count, std::vector<std::string_view> (*names)()) {
    return entryList(
        count, [count, names, listed = std::vector<std::string_view>()](int code) mutable {
            if (listed.empty()) {
                listed = names();
                // A table whose names disagree with its count is at fault, caught by any test
                // that shows the list.
                if (static_cast<int>(listed.size()) != count) {
                    std::fprintf(stderr, "a list of %d codes named %zu\n", count, listed.size());
                    std::abort();
                }
            }
            return hex2(code) + " " + std::string(listed[static_cast<std::size_t>(code)]);
        });
}

Group notes(RowText caption, RowText objectName, std::vector<std::string_view> texts) {
    Group g;
    g.caption = caption.view;
    g.objectName = objectName.view;
    g.notes = std::move(texts);
    return g;
}

Page page(RowText caption, std::vector<Group> groups) {
    return page(caption, "", std::move(groups));
}

Page page(RowText caption, RowText objectName, std::vector<Group> groups) {
    Page p;
    p.caption = caption.view;
    p.objectName = objectName.view;
    p.groups = std::move(groups);
    return p;
}

} // namespace qv::tables
