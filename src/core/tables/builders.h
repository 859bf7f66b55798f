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
// holds const elements, so every group and page of a table would be copied on its way
// into the vectors, with the vectors it holds (items are views, copied for nothing).
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

inline std::vector<Page> pageList(std::initializer_list<Movable<Page>> list) {
    return moveAll<Page>(list);
}

// A group box with its caption, help context, Reset button and items.
Group group(RowText caption, int help, RowText reset, std::vector<Item> items);
// A group without items or Reset button: information labels only.
Group notes(RowText caption, RowText objectName, std::vector<std::string_view> texts);
// "first" .. "last" as bare numbers, each written when it is shown; the default entry
// gets "  [Default]", the given entries a suffix of their own.
ChoiceListRef numberList(int first, int last, int marked,
                         std::vector<std::pair<int, std::string>> suffixes = {});
// A character code as two upper-case hex digits ("0A"), as the lists show codes.
inline std::string hex2(int code) {
    return hexDigits(code, 2);
}
// `count` codes from 00 with their names ("0A Blooper"), each written when it is shown.
// `names` lists the names when the first entry is shown: most runs of qorv never show
// one, and the rows "qorv changes" and "qorv diff" of make bench build every table.
ChoiceListRef codeNames(int count, std::vector<std::string_view> (*names)());

// A page named "Tab" and its number, or `objectName`.
Page page(RowText caption, std::vector<Group> groups);
Page page(RowText caption, RowText objectName, std::vector<Group> groups);
inline Page page(RowText caption, std::initializer_list<Movable<Group>> groups) {
    return page(caption, moveAll<Group>(groups));
}
inline Page page(RowText caption, RowText objectName,
                 std::initializer_list<Movable<Group>> groups) {
    return page(caption, objectName, moveAll<Group>(groups));
}

} // namespace qv::tables
