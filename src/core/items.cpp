#include "core/items.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "core/rom.h"
#include "core/valuefields.h"

namespace qv {

const std::vector<std::string>& ChoiceList::captions() const {
    if (make_) {
        captions_ = make_();
        make_ = nullptr;
        // The length was stated when the list was made; a list that disagrees is a fault
        // of its table, caught by any test that shows it.
        if (static_cast<int>(captions_.size()) != size_) {
            std::fprintf(stderr, "a list of %d captions made %zu\n", size_, captions_.size());
            std::abort();
        }
    }
    return captions_;
}

ChoiceListRef makeList(std::vector<std::string> captions) {
    const int size = static_cast<int>(captions.size());
    return lazyList(size, [c = std::move(captions)]() mutable { return std::move(c); });
}

ChoiceListRef makeList(std::initializer_list<std::string_view> captions) {
    return lazyList(static_cast<int>(captions.size()),
                    [c = std::vector<std::string_view>(captions)] {
                        return std::vector<std::string>(c.begin(), c.end());
                    });
}

std::string ChoiceList::caption(int index) const {
    if (entry_ && make_) return entry_(index);
    return captions()[static_cast<std::size_t>(index)];
}

ChoiceListRef lazyList(int size, ChoiceList::Make make) {
    return std::make_shared<const ChoiceList>(size, std::move(make), nullptr);
}

ChoiceListRef entryList(int size, ChoiceList::Entry entry) {
    auto all = [size, entry] {
        std::vector<std::string> out;
        out.reserve(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i)
            out.push_back(entry(i));
        return out;
    };
    return std::make_shared<const ChoiceList>(size, std::move(all), std::move(entry));
}

std::string Item::rangeLabel() const {
    return ownRangeLabel ? *ownRangeLabel : rangeLabelFor(spinMin, spinMax, defaultValue);
}

std::string Item::stem() const {
    for (std::string_view prefix : {"Edit", "Chk", "Cmb"})
        if (std::string_view(control).starts_with(prefix)) return control.substr(prefix.size());
    return control;
}

std::string Item::spinName() const {
    return "Ud" + stem();
}

static bool isOperand(std::span<const int> operands, std::size_t i) {
    return std::find(operands.begin(), operands.end(), static_cast<int>(i)) != operands.end();
}

static bool matches(std::span<const int> fields, std::span<const std::uint8_t> pattern,
                    std::span<const int> operands = {}) {
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (low8(fields[i]) != pattern[i] && !isOperand(operands, i)) return false;
    return true;
}

ItemState decodeFields(const ItemCodec& c, std::span<const int> fields) {
    switch (c.kind) {
    case ItemKind::Numeric: {
        const int value = c.encoding->decode(fields);
        if (c.strictRange && (value < c.acceptMin || value > c.acceptMax))
            return {true, value}; // the value, for display
        return {false, value};
    }
    case ItemKind::Check:
        if (matches(fields, c.ticked)) return {false, 1};
        if (matches(fields, c.cleared, c.clearedOperands)) return {false, 0};
        return {true, 0};
    case ItemKind::Choice: {
        const int index = c.rule && c.rule->decode ? c.rule->decode(fields, c.ruleParams) : -1;
        if (index < 0 || index >= c.listSize) return {true, 0};
        return {false, index};
    }
    case ItemKind::Flag: {
        const int bits = unsignedField(fields[0]) & c.flagMask;
        if (bits == c.flagTicked) return {false, 1};
        if (bits == c.flagCleared || c.flagOthersClear) return {false, 0};
        return {true, 0};
    }
    }
    return {true, 0};
}

ItemCodec Item::codec() const {
    ItemCodec c;
    c.kind = kind;
    c.encoding = encoding;
    c.acceptMin = acceptMin;
    c.acceptMax = acceptMax;
    c.strictRange = strictRange;
    c.ticked = ticked;
    c.cleared = cleared;
    c.clearedOperands = clearedOperands;
    c.flagMask = flagMask;
    c.flagTicked = flagTicked;
    c.flagCleared = flagCleared;
    c.flagOthersClear = flagOthersClear;
    c.rule = rule.kind;
    c.ruleParams = rule.params;
    c.listSize = list ? list->size() : 0;
    return c;
}

bool Item::accepts(int value) const {
    switch (kind) {
    case ItemKind::Numeric:
        return value >= acceptMin && value <= acceptMax;
    case ItemKind::Check:
    case ItemKind::Flag:
        return value == 0 || value == 1;
    case ItemKind::Choice:
        return value >= 0 && value < list->size();
    }
    return false;
}

void Item::encode(int value, std::span<int> fields) const {
    if (!accepts(value)) return;
    switch (kind) {
    case ItemKind::Numeric:
        encoding->encode(value, fields);
        break;
    case ItemKind::Check: {
        const auto& pattern = value ? ticked : cleared;
        for (std::size_t i = 0; i < pattern.size(); ++i)
            if (value || !isOperand(clearedOperands, i)) fields[i] = signExtend(pattern[i]);
        break;
    }
    case ItemKind::Choice:
        rule.encode(value, fields);
        break;
    case ItemKind::Flag: {
        // Bits that already read as the wanted state stay as they are.
        const ItemState now = decode(fields);
        if (!now.outOfBounds && now.value == value) break;
        const int others = unsignedField(fields[0]) & ~flagMask & 0xFF;
        fields[0] = signExtend(low8(others | (value ? flagTicked : flagCleared)));
        break;
    }
    }
}

std::optional<int> parseDecimal(std::string_view text) {
    // Blanks around the number are all alike, tabs as much as spaces.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt; // "+-1"
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int Item::acceptText(std::string_view text) const {
    const auto v = parseDecimal(text);
    return v && accepts(*v) ? *v : defaultValue;
}

std::string Item::text(const ItemState& s) const {
    if (s.outOfBounds) return std::string(kOutOfBounds);
    switch (kind) {
    case ItemKind::Numeric:
        return std::to_string(s.value);
    case ItemKind::Check:
    case ItemKind::Flag:
        return std::string(checkText(s.value != 0));
    case ItemKind::Choice:
        return list->caption(s.value);
    }
    return {};
}

void readFields(std::span<const std::uint8_t> image, int shift, std::span<const int> offsets,
                std::span<int> fields) {
    for (std::size_t i = 0; i < offsets.size(); ++i)
        fields[i] = signExtend(image[static_cast<std::size_t>(shifted(offsets[i], shift))]);
}

void writeFields(std::span<std::uint8_t> image, int shift, std::span<const int> offsets,
                 std::span<const int> fields) {
    for (std::size_t i = 0; i < offsets.size(); ++i)
        image[static_cast<std::size_t>(shifted(offsets[i], shift))] = low8(fields[i]);
}

ItemState Item::read(std::span<const std::uint8_t> image, int shift) const {
    assert(offsets.size() <= kMaxItemBytes);
    std::array<int, kMaxItemBytes> fields{};
    const std::span<int> f(fields.data(), offsets.size());
    readFields(image, shift, offsets, f);
    return decode(f);
}

bool Item::write(std::span<std::uint8_t> image, int shift, int value) const {
    const Assignment one{this, value};
    return writeValues(image, shift, std::span(&one, 1));
}

// What every row starts with: its kind, names and `bytes` consecutive offsets.
static Item itemAt(ItemKind kind, std::string control, std::string label, int offset, int bytes) {
    Item it;
    it.kind = kind;
    it.control = std::move(control);
    it.label = std::move(label);
    for (int i = 0; i < bytes; ++i)
        it.offsets.push_back(offset + i);
    return it;
}

std::string rangeLabelFor(int min, int max, int defaultValue) {
    return "[" + std::to_string(min) + "～" + std::to_string(max) +
           " Default: " + std::to_string(defaultValue) + "]";
}

Item numeric(std::string control, std::string label, int offset, const Encoding& encoding, int min,
             int max, int defaultValue, int maxLength) {
    Item it =
        itemAt(ItemKind::Numeric, std::move(control), std::move(label), offset, encoding.bytes);
    it.defaultValue = defaultValue;
    it.encoding = &encoding;
    it.spinMin = it.acceptMin = min;
    it.spinMax = it.acceptMax = max;
    it.maxLength = maxLength;
    return it;
}

Item numeric(std::string control, std::string label, int offset, const Encoding& encoding, int min,
             int max, int defaultValue, std::string rangeLabel, int maxLength) {
    Item it = numeric(std::move(control), std::move(label), offset, encoding, min, max,
                      defaultValue, maxLength);
    it.ownRangeLabel = std::move(rangeLabel);
    return it;
}

Item numericAt(std::string control, std::string label, std::vector<int> offsets,
               const Encoding& encoding, int min, int max, int defaultValue, int maxLength) {
    assert(static_cast<int>(offsets.size()) == encoding.bytes);
    Item it = numeric(std::move(control), std::move(label), 0, encoding, min, max, defaultValue,
                      maxLength);
    it.offsets = std::move(offsets);
    return it;
}

Item numericAt(std::string control, std::string label, std::vector<int> offsets,
               const Encoding& encoding, int min, int max, int defaultValue, std::string rangeLabel,
               int maxLength) {
    Item it = numericAt(std::move(control), std::move(label), std::move(offsets), encoding, min,
                        max, defaultValue, maxLength);
    it.ownRangeLabel = std::move(rangeLabel);
    return it;
}

Item withSpin(Item item, int spinMin, int spinMax) {
    item.spinMin = spinMin;
    item.spinMax = spinMax;
    return item;
}

Item strict(Item item) {
    item.strictRange = true;
    return item;
}

Item check(std::string control, std::string caption, int offset, std::vector<std::uint8_t> ticked,
           std::vector<std::uint8_t> cleared) {
    assert(ticked.size() == cleared.size());
    Item it = itemAt(ItemKind::Check, std::move(control), std::move(caption), offset,
                     static_cast<int>(ticked.size()));
    it.defaultValue = 0;
    it.ticked = std::move(ticked);
    it.cleared = std::move(cleared);
    return it;
}

Item withOperandWhenCleared(Item item, int position) {
    assert(position >= 0 && position < static_cast<int>(item.cleared.size()));
    item.clearedOperands.push_back(position);
    return item;
}

Item flag(std::string control, std::string caption, int offset, std::uint8_t mask,
          std::uint8_t ticked, std::uint8_t cleared) {
    assert((ticked & ~mask) == 0 && (cleared & ~mask) == 0 && ticked != cleared);
    Item it = itemAt(ItemKind::Flag, std::move(control), std::move(caption), offset, 1);
    it.defaultValue = 0;
    it.flagMask = mask;
    it.flagTicked = ticked;
    it.flagCleared = cleared;
    return it;
}

Item withOthersClear(Item item) {
    item.flagOthersClear = true;
    return item;
}

Item choice(std::string control, std::string label, int offset, ChoiceListRef list, ChoiceRule rule,
            int resetIndex) {
    Item it = itemAt(ItemKind::Choice, std::move(control), std::move(label), offset, rule.bytes);
    it.defaultValue = resetIndex;
    it.list = std::move(list);
    it.rule = std::move(rule);
    return it;
}

} // namespace qv
