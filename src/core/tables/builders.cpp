#include "core/tables/builders.h"

#include <memory>

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

ChoiceListRef codeNames(std::vector<std::string_view> names) {
    const auto shared = std::make_shared<const std::vector<std::string_view>>(std::move(names));
    return entryList(static_cast<int>(shared->size()), [shared](int code) {
        return hex2(code) + " " + std::string((*shared)[static_cast<std::size_t>(code)]);
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
