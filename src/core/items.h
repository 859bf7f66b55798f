#pragma once
// The item kinds of the settings dialogs (numeric, check, choice): where each lives
// in the image, how its bytes read as what the dialog shows, what OK accepts, and
// how a value goes back into bytes. Front ends (the dialogs, the CLI) share this.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/encodings.h"

namespace qv {

// Flag: a check box over some bits of one byte (the rest of the byte belongs to others).
enum class ItemKind { Numeric, Check, Choice, Flag };

// The captions of one drop-down list. Items showing the same entries share one list,
// so a front end builds the entries once per list, not once per control. Reading a
// value needs only the length, so a list's captions are written out when first asked
// for: most runs of qorv read every parameter and show the captions of a few (the
// row "qorv changes" of make bench).
class ChoiceList {
  public:
    using Make = std::function<std::vector<std::string>()>;
    using Entry = std::function<std::string(int index)>;
    ChoiceList(int size, Make make, Entry entry)
        : size_(size), make_(std::move(make)), entry_(std::move(entry)) {}

    int size() const { return size_; }
    // One caption, without writing the others where the list can.
    std::string caption(int index) const;
    const std::vector<std::string>& captions() const;

  private:
    int size_;
    mutable Make make_; // gone once the captions are made
    Entry entry_;       // empty: the list is written whole
    mutable std::vector<std::string> captions_;
};
using ChoiceListRef = std::shared_ptr<const ChoiceList>;
ChoiceListRef makeList(std::vector<std::string> captions);
ChoiceListRef makeList(std::initializer_list<std::string_view> captions);
// A list of `size` captions that `make` writes, all at once, when they are first asked for.
ChoiceListRef lazyList(int size, ChoiceList::Make make);
// A list of `size` captions that `entry` writes one at a time.
ChoiceListRef entryList(int size, ChoiceList::Entry entry);

inline constexpr std::string_view kOutOfBounds = "(Out of bounds)";
inline constexpr int kMaxItemBytes = 16;

// What an item shows. value: numeric -> the display value; check -> 1 ticked, 0 clear;
// choice -> the entry index. Out of bounds: the bytes hold nothing the item
// understands; the control is disabled and the bytes are never rewritten (a strict
// numeric item still reports the number it read).
struct ItemState {
    bool outOfBounds = false;
    int value = 0;
    bool operator==(const ItemState&) const = default;
};

// A check box's state as text.
inline std::string_view checkText(bool ticked) {
    return ticked ? "checked" : "unchecked";
}

// What reading an item's fields needs, as views into the item or into constant data.
struct ItemCodec {
    ItemKind kind = ItemKind::Numeric;
    const Encoding* encoding = nullptr;
    int acceptMin = 0, acceptMax = 0;
    bool strictRange = false;
    std::span<const std::uint8_t> ticked, cleared;
    std::span<const int> clearedOperands;
    std::uint8_t flagMask = 0, flagTicked = 0, flagCleared = 0;
    bool flagOthersClear = false;
    const RuleKind* rule = nullptr;
    std::span<const int> ruleParams;
    int listSize = 0; // choice: the number of entries
};
// What the fields (an item's bytes sign-extended, in its offsets' order) show.
ItemState decodeFields(const ItemCodec& codec, std::span<const int> fields);

struct Item {
    ItemKind kind = ItemKind::Numeric;
    std::string control;      // "EditMaWalk_R", "ChkMuteki1", "CmbFireShot"
    std::string label;        // caption label (with "&"), or the check box's caption
    std::vector<int> offsets; // one per value field, in the 40,976-byte layout
    int defaultValue = 0;     // numeric: display value; check: 1/0; choice: Reset index

    // Numeric.
    const Encoding* encoding = nullptr;
    int spinMin = 0, spinMax = 0;     // up-down limits (wrapping)
    int acceptMin = 0, acceptMax = 0; // what OK accepts; the up-down's unless stated
    int maxLength = 4;
    // A range label of the row's own, where it departs on purpose from the one derived
    // from the up-down's limits and the default (see rangeLabel()).
    std::optional<std::string> ownRangeLabel;
    // Stored bytes that read outside the accepted range are out of bounds (disabled and
    // kept) instead of being replaced by the default on OK.
    bool strictRange = false;

    // Check: pattern A ticks the box, pattern B clears it.
    std::vector<std::uint8_t> ticked, cleared;
    // Positions in pattern B that match any byte and are written back as they stand:
    // an instruction's operand that another item of the dialog edits.
    std::vector<int> clearedOperands;

    // Flag: the bits under `flagMask` equal `flagTicked` (ticked) or `flagCleared`
    // (cleared); any other bits read out of bounds unless `flagOthersClear`, when they
    // read as cleared and are kept until the box is ticked.
    std::uint8_t flagMask = 0, flagTicked = 0, flagCleared = 0;
    bool flagOthersClear = false;

    // Choice.
    ChoiceListRef list;
    ChoiceRule rule;

    // "[-128～127 Default: 24]", or the row's own label.
    std::string rangeLabel() const;
    std::string stem() const;     // the control name without its type prefix
    std::string spinName() const; // "UdMaWalk_R" for "EditMaWalk_R"

    // Views into this item, for decodeFields(); valid while the item lives.
    ItemCodec codec() const;
    // Fields are the item's bytes sign-extended, in `offsets` order.
    ItemState decode(std::span<const int> fields) const { return decodeFields(codec(), fields); }
    // Puts an accepted value into the fields; a value not accepted leaves them alone.
    void encode(int value, std::span<int> fields) const;
    bool accepts(int value) const;
    // OK's rule for an edit's text: a decimal integer in the accepted range, else the
    // default. Never fails and never asks.
    int acceptText(std::string_view text) const;

    // The state as text: the number, "checked"/"unchecked", the entry's caption, or
    // "(Out of bounds)".
    std::string text(const ItemState& s) const;

    bool isCheckBox() const { return kind == ItemKind::Check || kind == ItemKind::Flag; }

    ItemState read(std::span<const std::uint8_t> image, int shift) const;
    // Stores a value through writeValues(); returns false and writes nothing when it is
    // not accepted.
    bool write(std::span<std::uint8_t> image, int shift, int value) const;
};

// The usual range label: "[min～max Default: d]".
std::string rangeLabelFor(int min, int max, int defaultValue);

// Row builders, so that each table row reads like the dialog row it makes. A numeric
// row's range label follows from its up-down limits and default; the overloads taking
// a `rangeLabel` are for the labels that depart from that on purpose.
Item numeric(std::string control, std::string label, int offset, const Encoding& encoding, int min,
             int max, int defaultValue, int maxLength = 4);
Item numeric(std::string control, std::string label, int offset, const Encoding& encoding, int min,
             int max, int defaultValue, std::string rangeLabel, int maxLength = 4);
// A numeric item whose bytes lie at the given offsets, in the encoding's field order
// (the two halves of a 16-bit value stored apart).
Item numericAt(std::string control, std::string label, std::vector<int> offsets,
               const Encoding& encoding, int min, int max, int defaultValue, int maxLength = 4);
Item numericAt(std::string control, std::string label, std::vector<int> offsets,
               const Encoding& encoding, int min, int max, int defaultValue, std::string rangeLabel,
               int maxLength = 4);
// The same item with up-down limits other than its accepted range (a derived range
// label follows them).
Item withSpin(Item item, int spinMin, int spinMax);
// The same item with strictRange set.
Item strict(Item item);
Item check(std::string control, std::string caption, int offset, std::vector<std::uint8_t> ticked,
           std::vector<std::uint8_t> cleared);
// The same check item with the byte at `position` of pattern B left to another item.
Item withOperandWhenCleared(Item item, int position);
// A check box over the bits `mask` of the byte at `offset`.
Item flag(std::string control, std::string caption, int offset, std::uint8_t mask,
          std::uint8_t ticked, std::uint8_t cleared);
// The same flag with any bits other than the ticked pattern reading as cleared.
Item withOthersClear(Item item);
Item choice(std::string control, std::string label, int offset, ChoiceListRef list, ChoiceRule rule,
            int resetIndex);

// How a parameter's bytes are read and written: the bytes at `offsets` (in the
// 40,976-byte layout, moved by `shift` into the image's) sign-extended into `fields`,
// and written back as their low 8 bits.
void readFields(std::span<const std::uint8_t> image, int shift, std::span<const int> offsets,
                std::span<int> fields);
void writeFields(std::span<std::uint8_t> image, int shift, std::span<const int> offsets,
                 std::span<const int> fields);

// A decimal integer with an optional sign (surrounding spaces and tabs allowed); nothing for
// anything else, including numbers too large for an int.
std::optional<int> parseDecimal(std::string_view text);

} // namespace qv
