#pragma once
// Shorthands the table files write their rows with, so that each row reads like
// the dialog row it makes.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/itemtext.h"
#include "core/tables/table.h"

namespace qv::tables {

// An element of a braced list that can be moved out again. A plain std::initializer_list
// holds const elements, so every item, group and page of a table would be copied on its
// way into the vectors, two or three times over; building the tables is most of what
// `qorv` and a dialog's first opening do.
template <class T> struct Movable {
    Movable(T&& v) : value(std::move(v)) {}
    Movable(const T& v) : value(v) {}
    mutable T value;
};

template <class T> std::vector<T> moveAll(std::initializer_list<Movable<T>> list) {
    std::vector<T> out;
    out.reserve(list.size());
    for (const Movable<T>& m : list)
        out.push_back(std::move(m.value));
    return out;
}

inline std::vector<Item> itemList(std::initializer_list<Movable<Item>> list) {
    return moveAll<Item>(list);
}
inline std::vector<Page> pageList(std::initializer_list<Movable<Page>> list) {
    return moveAll<Page>(list);
}

// A group box with its caption, help context, Reset button and items.
Group group(std::string caption, int help, std::string reset, std::vector<Item> items);
inline Group group(std::string caption, int help, std::string reset,
                   std::initializer_list<Movable<Item>> items) {
    return group(std::move(caption), help, std::move(reset), moveAll<Item>(items));
}
// A group without items or Reset button: information labels only.
Group notes(std::string caption, std::string objectName, std::vector<std::string> texts);
// "first" .. "last" as bare numbers; the default entry gets "  [Default]", the given
// entries a suffix of their own.
std::vector<std::string> numbers(int first, int last, int marked,
                                 std::vector<std::pair<int, std::string>> suffixes = {});
// A character code as two upper-case hex digits ("0A"), as the lists show codes.
inline std::string hex2(int code) {
    return hexDigits(code, 2);
}
// Codes from 00 with their names ("0A Blooper"), each written when it is shown.
ChoiceListRef codeNames(std::vector<std::string_view> names);

// A page named "Tab" and its number, or `objectName`.
Page page(std::string caption, std::vector<Group> groups);
Page page(std::string caption, std::string objectName, std::vector<Group> groups);
inline Page page(std::string caption, std::initializer_list<Movable<Group>> groups) {
    return page(std::move(caption), moveAll<Group>(groups));
}
inline Page page(std::string caption, std::string objectName,
                 std::initializer_list<Movable<Group>> groups) {
    return page(std::move(caption), std::move(objectName), moveAll<Group>(groups));
}

} // namespace qv::tables
