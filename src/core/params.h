#pragma once
// Every parameter of every dialog as constant data, generated from the dialog tables
// when the program is built (tools/genparams.cpp). Reading what an image changes then
// builds no table: a short `qorv changes` would otherwise spend most of its time
// making the tables' thousands of captions only to compare a few hundred bytes.
// The tables stay the one place a parameter is defined; this is their compiled form.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/catalog.h"
#include "core/items.h"

namespace qv {

// A run of the generated text.
struct TextSpan {
    std::uint32_t at = 0;
    std::uint32_t size = 0;
};

// One parameter, each control once, as its first table has it. Plain integers only:
// the data needs no relocation when the program is loaded.
struct Param {
    std::uint16_t dialogIndex = 0; // its position in dialogEntries()
    std::uint16_t groupIndex = 0;  // the same for every parameter of one group
    ItemKind kind = ItemKind::Numeric;
    std::uint8_t offsetCount = 0;
    std::uint32_t offsetsAt = 0;
    TextSpan lineStartText, labelText, controlText;
    TextSpan plainOffsetsText, trainerOffsetsText;
    TextSpan defaultTextSpan;
    std::int32_t defaultValue = 0;
    // How its fields read (see ItemCodec); indexes into encodings() and ruleKinds().
    std::int16_t encodingIndex = -1, ruleIndex = -1;
    std::int32_t acceptMin = 0, acceptMax = 0;
    bool strictRange = false;
    std::uint8_t tickedSize = 0, clearedSize = 0, operandCount = 0;
    std::uint32_t tickedAt = 0, clearedAt = 0, operandsAt = 0;
    std::uint8_t flagMask = 0, flagTicked = 0, flagCleared = 0;
    bool flagOthersClear = false;
    std::uint32_t ruleParamsAt = 0, ruleParamCount = 0;
    std::uint32_t entriesAt = 0, entryCount = 0;

    std::string_view dialog() const;  // "General 1"
    std::string_view page() const;    // the page's caption without "&"
    std::string_view group() const;   // the group's caption without "&"; may be empty
    std::string_view label() const;   // as labelOf() names its row
    std::string_view control() const; // "EditMaWalk_R"
    std::span<const int> offsets() const;
    // Its offsets in an image's layout (a shift of 0 or 512), as offsetsIn() writes them.
    std::string_view offsetsText(int shift) const;
    // A report line's start: "  Right: EditMaWalk_R".
    std::string_view lineStart() const;
    std::string_view defaultText() const;
    std::string_view entry(int index) const; // a choice entry's caption without "&"

    ItemCodec codec() const;
    ItemState read(std::span<const std::uint8_t> image, int shift) const;
    // What the dialog shows, as shownText() has it for the item.
    std::string text(const ItemState& state) const;
    // The same, added to the end of `out`.
    void appendText(std::string& out, const ItemState& state) const;
};

// Every parameter, in registry and table order (the order of parameterRows()).
std::span<const Param> params();

// The bytes of the 40,976-byte layout that belong to no parameter, as runs of
// [first, last] that do not cross the end of the header (a trainer moves what
// follows it), in order.
std::span<const std::array<int, 2>> outsideRuns();

// The table row the parameter was generated from (builds that dialog's table).
ItemRow rowOf(const Param& param);

} // namespace qv
