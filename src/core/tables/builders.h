#pragma once
// Shorthands the table files write their rows with, so that each row reads like
// the table it was written from.
#include <string>
#include <vector>

#include "core/tables/table.h"

namespace qv::tables {

// A group box with its caption, help context, Reset button and items.
Group group(std::string caption, int help, std::string reset, std::vector<Item> items);
// A group without items or Reset button: information labels only.
Group notes(std::string caption, std::string objectName, std::vector<std::string> texts);
// A page named "Tab" and its number, or `objectName`.
Page page(std::string caption, std::vector<Group> groups);
Page page(std::string caption, std::string objectName, std::vector<Group> groups);

} // namespace qv::tables
