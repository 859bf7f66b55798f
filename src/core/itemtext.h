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
// The same, added to the end of `out`.
void appendStripped(std::string& out, std::string_view caption);

// What the dialog shows: the number, "checked"/"unchecked", the entry's caption, or
// "(Out of bounds)".
std::string shownText(const Item& item, const ItemState& state);
std::string defaultText(const Item& item);
// The same, added to the end of `out` (a report writes one for every parameter).
void appendShown(std::string& out, const Item& item, const ItemState& state);

// The item's value as `get` prints it: text that `set` takes back without changing
// a byte. That is what the dialog shows when storing that value gives the same
// bytes again; otherwise the bytes themselves, with what they mean:
// "(Out of bounds: 21)", "(Out of range -128: 80)" (a value set does not accept),
// "(Never stored as: A9 01)" (bytes the value would be written differently).
std::string valueText(const Item& item, std::span<const std::uint8_t> image, int shift);
// The same for the item's bytes alone, in `offsets` order.
std::string valueTextOfBytes(const Item& item, std::span<const std::uint8_t> bytes);
// The bytes named by a text of the second kind, when valueTextOfBytes prints
// exactly that text for them; nothing otherwise.
std::optional<std::vector<std::uint8_t>> parseStoredBytes(const Item& item, std::string_view text);

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
// The bytes at these offsets (offset plus shift), in their order.
std::vector<std::uint8_t> bytesAt(std::span<const std::uint8_t> image, int shift,
                                  std::span<const int> offsets);
// `value` as `digits` (at most 8) upper-case hex digits ("0A" for 10 in 2).
std::string hexDigits(int value, int digits);
// The same, added to the end of `out`.
void appendHex(std::string& out, int value, int digits);
// The same, written at p; returns the end.
char* putHex(char* p, int value, int digits);
// "0x3454", or "0x3457-0x3459" when last is not first, written at p (at most
// kOffsetRangeSize chars); returns the end.
inline constexpr int kOffsetRangeSize = 13;
char* putOffsetRange(char* p, int first, int last);
// "0x3454", runs of consecutive offsets as "0x3457-0x3459", runs separated by ",".
std::string offsetsText(std::span<const int> offsets);
// The same with the offsets shifted into an image's layout.
std::string offsetsIn(std::span<const int> offsets, int shift);
// "B4 68 50".
std::string bytesText(std::span<const std::uint8_t> bytes);

} // namespace qv
