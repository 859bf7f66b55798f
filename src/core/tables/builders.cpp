#include "core/tables/builders.h"

namespace qv::tables {

Group group(std::string caption, int help, std::string reset, std::vector<Item> items) {
    Group g;
    g.caption = std::move(caption);
    g.helpContext = help;
    g.reset = std::move(reset);
    g.items = std::move(items);
    return g;
}

std::vector<std::string> numbers(int first, int last, int marked,
                                 std::vector<std::pair<int, std::string>> suffixes) {
    std::vector<std::string> out;
    for (int n = first; n <= last; ++n) {
        std::string s = std::to_string(n);
        if (n == marked) s += "  [Default]";
        for (const auto& [at, suffix] : suffixes)
            if (at == n) s += suffix;
        out.push_back(std::move(s));
    }
    return out;
}

ChoiceListRef codeNames(std::vector<std::string_view> names) {
    const auto shared = std::make_shared<const std::vector<std::string_view>>(std::move(names));
    return entryList(static_cast<int>(shared->size()), [shared](int code) {
        return hex2(code) + " " + std::string((*shared)[static_cast<std::size_t>(code)]);
    });
}

Group notes(std::string caption, std::string objectName, std::vector<std::string> texts) {
    Group g;
    g.caption = std::move(caption);
    g.objectName = std::move(objectName);
    g.notes = std::move(texts);
    return g;
}

Page page(std::string caption, std::vector<Group> groups) {
    return page(std::move(caption), {}, std::move(groups));
}

Page page(std::string caption, std::string objectName, std::vector<Group> groups) {
    Page p;
    p.caption = std::move(caption);
    p.objectName = std::move(objectName);
    p.groups = std::move(groups);
    return p;
}

} // namespace qv::tables
