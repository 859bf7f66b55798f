#pragma once
// Shorthands the table files write their rows with, so that each row reads like
// the dialog row it makes.
#include <string>
#include <utility>
#include <vector>

#include "core/tables/table.h"

namespace qv::tables {

// A group box with its caption, help context, Reset button and items.
Group group(std::string caption, int help, std::string reset, std::vector<Item> items);
// A group without items or Reset button: information labels only.
Group notes(std::string caption, std::string objectName, std::vector<std::string> texts);
// "first" .. "last" as bare numbers; the default entry gets "  [Default]", the given
// entries a suffix of their own.
std::vector<std::string> numbers(int first, int last, int marked,
                                 std::vector<std::pair<int, std::string>> suffixes = {});
// A page named "Tab" and its number, or `objectName`.
Page page(std::string caption, std::vector<Group> groups);
Page page(std::string caption, std::string objectName, std::vector<Group> groups);

} // namespace qv::tables
