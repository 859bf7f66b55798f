#include "core/valueedit.h"

#include <algorithm>
#include <array>

#include "core/itemtext.h"
#include "core/rom.h"
#include "core/tables/registry.h"
#include "core/valuefields.h"

namespace qv {

namespace {

// The bytes form is put back exactly as it stands.
void putItemBytes(const Item& item, std::span<const std::uint8_t> bytes,
                  std::span<std::uint8_t> file, int shift) {
    std::array<int, kMaxItemBytes> fields{};
    std::copy(bytes.begin(), bytes.end(), fields.begin());
    writeFields(file, shift, item.offsets, std::span<const int>(fields.data(), bytes.size()));
}

} // namespace

bool ValueEdit::changes(std::span<const std::uint8_t> file) const {
    if (bytes) return *bytes != itemBytes(*item, file, layoutShift(file));
    return before != ItemState{false, value};
}

std::optional<ValueEdit> checkValue(const Item& item, std::string_view text,
                                    std::span<const std::uint8_t> file, std::string& problem) {
    const int shift = layoutShift(file);
    const ItemState before = item.read(file, shift);
    if (auto bytes = parseStoredBytes(item, text)) return ValueEdit{&item, 0, before, bytes};
    if (before.outOfBounds) {
        // Bytes we do not understand are never rewritten.
        problem = "out of bounds in this image (" + offsetsIn(item.offsets, shift) + " holds " +
                  bytesText(itemBytes(item, file, shift)) + "), so it cannot be set";
        return std::nullopt;
    }
    const auto value = parseValue(item, text);
    if (!value) {
        problem = "\"" + std::string(text) + "\" is not accepted; expected " + acceptedValues(item);
        return std::nullopt;
    }
    return ValueEdit{&item, *value, before, std::nullopt};
}

std::string storeValues(std::span<const ValueEdit> edits, std::span<std::uint8_t> file) {
    const int shift = layoutShift(file);
    const std::vector<std::uint8_t> before(file.begin(), file.end());
    std::vector<Assignment> values;
    for (const ValueEdit& e : edits)
        if (!e.bytes) values.push_back({e.item, e.value});
    writeValues(file, shift, values);
    for (const ValueEdit& e : edits)
        if (e.bytes) putItemBytes(*e.item, *e.bytes, file, shift);
    // Items share bytes (an instruction whose operand is another item): a change that
    // leaves one unreadable would corrupt it.
    std::string problem;
    for (const DialogTable* table : dialogTables())
        for (const Item* item : table->items())
            if (!item->read(before, shift).outOfBounds && item->read(file, shift).outOfBounds)
                problem += (problem.empty() ? "" : "\n") + item->control +
                           ": would no longer be readable after this change (" +
                           offsetsIn(item->offsets, shift) + " would hold " +
                           bytesText(itemBytes(*item, file, shift)) + "), so nothing is written";
    if (!problem.empty()) std::copy(before.begin(), before.end(), file.begin());
    return problem;
}

} // namespace qv
