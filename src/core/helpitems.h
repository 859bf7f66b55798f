#pragma once
// Every item explained for the help book: label, control name, accepted values,
// default, offsets in both image layouts and how its bytes hold the value.
#include <string>

#include "core/items.h"

namespace qv {

// "signed byte (two's complement)", "pattern A (checked) A9 01, pattern B ...",
// "entries as bytes: Always = 00, ...".
std::string encodingText(const Item& item);
// "0x3454 (with trainer 0x3654)".
std::string bothLayouts(const Item& item);
// Plain text lines, label first; the help book escapes and lays them out.
struct ItemDetails {
    std::string label, control, accepted, defaultValue, offsets, encoding;
};
ItemDetails itemDetails(const Item& item);

} // namespace qv
