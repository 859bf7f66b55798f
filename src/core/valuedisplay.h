#pragma once
// Parameters named and shown as their dialogs show them, for the windows that list
// them outside the dialogs (Changed Parameters, the address bar): a Color character's
// attribute byte as its palette group and boxes, a palette entry as "$0F", a basic
// block column as the rows it fills, a list entry without its "[Default]" mark.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog.h"
#include "core/items.h"

namespace qv {

// The value as the row's dialog shows it: "Red Group, Behind BG", "$0F", "Rows 0-2, 11,
// 12", "As Fire Mario", "(Out of bounds)".
std::string dialogValueText(const ItemRow& row, const ItemState& state);

// The NES colour index a palette entry holds; nothing for any other item.
std::optional<int> paletteColorIndex(const ItemRow& row, const ItemState& state);

// A caption without a trailing "[Default]" mark and the blanks before it.
std::string_view withoutDefaultMark(std::string_view caption);

// "Mario > Initial #Lives"; the item's label follows when its group holds more than one
// ("Mario > Walking / Swimming Speed > Right").
std::string parameterName(const ItemRow& row);

// The parameters whose bytes include the raw file position `position` (header and
// trainer included) of an image whose layout shift is `shift`, in registry order.
std::vector<const ItemRow*> parametersAt(int position, int shift);

} // namespace qv
