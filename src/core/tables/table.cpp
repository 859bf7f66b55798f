#include "core/tables/table.h"

namespace qv {

std::vector<const Item*> DialogTable::items() const {
    std::vector<const Item*> out;
    for (const Page& p : pages)
        for (const Group& g : p.groups)
            for (const Item& it : g.items)
                out.push_back(&it);
    return out;
}

const Item* DialogTable::find(std::string_view control) const {
    for (const Page& p : pages)
        for (const Group& g : p.groups)
            for (const Item& it : g.items)
                if (it.control == control) return &it;
    return nullptr;
}

const Group* DialogTable::groupByReset(std::string_view resetButton) const {
    for (const Page& p : pages)
        for (const Group& g : p.groups)
            if (!g.reset.empty() && g.reset == resetButton) return &g;
    return nullptr;
}

std::string groupObjectName(const Group& g, int page, int index) {
    if (!g.objectName.empty()) return g.objectName;
    if (g.reset.size() > 3) return "Grp" + g.reset.substr(3);
    return "GrpPage" + std::to_string(page + 1) + "_" + std::to_string(index + 1);
}

std::string pageObjectName(const Page& p, int page) {
    return p.objectName.empty() ? "Tab" + std::to_string(page + 1) : p.objectName;
}

} // namespace qv
