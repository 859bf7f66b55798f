#include "core/params.h"

#include <array>
#include <cassert>
#include <charconv>

#include "core/rom.h"
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

std::span<const std::array<int, 2>> outsideRuns() {
    return kOutsideRuns;
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
std::string_view Param::offsetsText(int shift) const {
    assert(shift == 0 || shift == kTrainerShift);
    return textOf(shift == 0 ? plainOffsetsText : trainerOffsetsText);
}
std::string_view Param::lineStart() const {
    return textOf(lineStartText);
}
std::string_view Param::defaultText() const {
    return textOf(defaultTextSpan);
}
std::string_view Param::entry(int index) const {
    return textOf(kEntries[entriesAt + static_cast<std::uint32_t>(index)]);
}

ItemCodec Param::codec() const {
    // Only what its kind reads: a report reads every parameter.
    ItemCodec c;
    c.kind = kind;
    switch (kind) {
    case ItemKind::Numeric:
        if (encodingIndex >= 0) c.encoding = encodings()[static_cast<std::size_t>(encodingIndex)];
        c.acceptMin = acceptMin;
        c.acceptMax = acceptMax;
        c.strictRange = strictRange;
        break;
    case ItemKind::Check:
        c.ticked = {kBytes + tickedAt, tickedSize};
        c.cleared = {kBytes + clearedAt, clearedSize};
        c.clearedOperands = {kInts + operandsAt, operandCount};
        break;
    case ItemKind::Flag:
        c.flagMask = flagMask;
        c.flagTicked = flagTicked;
        c.flagCleared = flagCleared;
        c.flagOthersClear = flagOthersClear;
        break;
    case ItemKind::Choice:
        if (ruleIndex >= 0) c.rule = ruleKinds()[static_cast<std::size_t>(ruleIndex)];
        c.ruleParams = {kInts + ruleParamsAt, ruleParamCount};
        c.listSize = static_cast<int>(entryCount);
        break;
    }
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
    std::string out;
    appendText(out, s);
    return out;
}

void Param::appendText(std::string& out, const ItemState& s) const {
    if (s.outOfBounds) {
        out += kOutOfBounds;
        return;
    }
    switch (kind) {
    case ItemKind::Numeric: {
        char number[16];
        out.append(number, std::to_chars(number, number + sizeof number, s.value).ptr);
        break;
    }
    case ItemKind::Check:
    case ItemKind::Flag:
        out += checkText(s.value != 0);
        break;
    case ItemKind::Choice:
        out += entry(s.value);
        break;
    }
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
