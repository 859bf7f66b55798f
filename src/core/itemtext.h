#pragma once
// Item values as the tool prints and reads them: what the dialog would show, minus
// the mnemonic "&" of a caption.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/items.h"

namespace qv {

// "&Always" -> "Always", "A && B" -> "A & B".
std::string stripMnemonic(std::string_view caption);

// The number, "checked"/"unchecked", the entry's caption, or "(Out of bounds)".
std::string valueText(const Item& item, const ItemState& state);
std::string defaultText(const Item& item);

// A value as `set` takes it: a number in the accepted range, "checked"/"unchecked",
// or a choice entry given by its caption (exactly, without "&", or without a trailing
// "[Default]" when that leaves only one entry of that name) or by "#INDEX". Nothing
// when the text names no accepted value.
std::optional<int> parseValue(const Item& item, std::string_view text);
// What parseValue accepts for this item, for the error message.
std::string acceptedValues(const Item& item);

// The item's bytes as they are in the image (offset plus shift).
std::vector<std::uint8_t> itemBytes(const Item& item, std::span<const std::uint8_t> image,
                                    int shift);
// "0x3454", runs of consecutive offsets as "0x3457-0x3459", runs separated by ",".
std::string offsetsText(const std::vector<int>& offsets);
// "B4 68 50".
std::string bytesText(std::span<const std::uint8_t> bytes);

} // namespace qv
