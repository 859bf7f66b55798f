#include "core/params.h"

#include <array>
#include <cassert>

#include "core/tables/codecs.h"

namespace qv {
namespace {

struct GroupText {
    TextSpan page, group;
};

#include "paramdata.inc"

std::string_view textOf(TextSpan s) {
    return {reinterpret_cast<const char*>(kText) + s.at, s.size};
}

} // namespace

std::span<const Param> params() {
    return kParams;
}

std::string_view Param::dialog() const {
    return textOf(kDialogs[dialogIndex]);
}
std::string_view Param::page() const {
    return textOf(kGroups[groupIndex].page);
}
std::string_view Param::group() const {
    return textOf(kGroups[groupIndex].group);
}
std::string_view Param::label() const {
    return textOf(labelText);
}
std::string_view Param::control() const {
    return textOf(controlText);
}
std::span<const int> Param::offsets() const {
    return {kInts + offsetsAt, offsetCount};
}
std::string_view Param::defaultText() const {
    return textOf(defaultTextSpan);
}
std::string_view Param::entry(int index) const {
    return textOf(kEntries[entriesAt + static_cast<std::uint32_t>(index)]);
}

ItemCodec Param::codec() const {
    ItemCodec c;
    c.kind = kind;
    if (encodingIndex >= 0) c.encoding = encodings()[static_cast<std::size_t>(encodingIndex)];
    c.acceptMin = acceptMin;
    c.acceptMax = acceptMax;
    c.strictRange = strictRange;
    c.ticked = {kBytes + tickedAt, tickedSize};
    c.cleared = {kBytes + clearedAt, clearedSize};
    c.clearedOperands = {kInts + operandsAt, operandCount};
    c.flagMask = flagMask;
    c.flagTicked = flagTicked;
    c.flagCleared = flagCleared;
    c.flagOthersClear = flagOthersClear;
    if (ruleIndex >= 0) c.rule = ruleKinds()[static_cast<std::size_t>(ruleIndex)];
    c.ruleParams = {kInts + ruleParamsAt, ruleParamCount};
    c.listSize = static_cast<int>(entryCount);
    return c;
}

ItemState Param::read(std::span<const std::uint8_t> image, int shift) const {
    assert(offsetCount <= kMaxItemBytes);
    std::array<int, kMaxItemBytes> fields{};
    const std::span<int> f(fields.data(), offsetCount);
    readFields(image, shift, offsets(), f);
    return decodeFields(codec(), f);
}

std::string Param::text(const ItemState& s) const {
    if (s.outOfBounds) return std::string(kOutOfBounds);
    switch (kind) {
    case ItemKind::Numeric:
        return std::to_string(s.value);
    case ItemKind::Check:
    case ItemKind::Flag:
        return s.value ? "checked" : "unchecked";
    case ItemKind::Choice:
        return std::string(entry(s.value));
    }
    return {};
}

ItemRow rowOf(const Param& param) {
    const DialogTable& table = dialogEntries()[param.dialogIndex].table();
    for (const Page& p : table.pages)
        for (const Group& g : p.groups)
            for (const Item& it : g.items)
                if (it.control == param.control()) return {&table, &p, &g, &it};
    return {};
}

} // namespace qv
