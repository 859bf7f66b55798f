#include "gui/dialogs/dialogclasses.h"

#include <map>
#include <string>

#include "core/tables/registry.h"

namespace qv {

namespace {
// Filled while static objects are constructed, hence a function-local map.
std::map<std::string, DialogFactory, std::less<>>& factories() {
    static std::map<std::string, DialogFactory, std::less<>> all;
    return all;
}
} // namespace

DialogClassRegistration::DialogClassRegistration(std::string_view className,
                                                 DialogFactory factory) {
    factories().emplace(std::string(className), std::move(factory));
}

DialogFactory dialogFactory(std::string_view className) {
    const auto it = factories().find(className);
    return it == factories().end() ? DialogFactory{} : it->second;
}

bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry) {
    const DialogTable& table = entry.table();
    return runSettingsDialog(host, table, dialogFactory(table.className));
}

} // namespace qv
