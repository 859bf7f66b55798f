#pragma once
// Values given as text for items (qorv set, presets, fuzzing and tests): one check
// against an image and one way of storing what was checked. The document's edit
// service stores them; the messages name offsets as the image has them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/items.h"

namespace qv {

struct ValueEdit {
    const Item* item = nullptr;
    int value = 0;    // an accepted value, unless `bytes` is given
    ItemState before; // the item in the image it was checked against
    // The bytes form `qorv get` prints for bytes no value reproduces: stored as given.
    std::optional<std::vector<std::uint8_t>> bytes;

    // Whether storing it changes what the image holds.
    bool changes(std::span<const std::uint8_t> file) const;
};

// `text` for `item`, checked against a whole file of a game image's size: the bytes
// form exactly as `get` prints it, or a value parseValue() accepts for an item that
// reads in this image. Nothing otherwise, with the reason in `problem` (without the
// item's name: the caller says which entry it was).
std::optional<ValueEdit> checkValue(const Item& item, std::string_view text,
                                    std::span<const std::uint8_t> file, std::string& problem);

// Stores checked edits into a whole file: values through the items' value fields (so
// that items sharing a byte see each other's changes), bytes forms as they stand.
// When that would leave an item of any dialog unreadable that read before, the file is
// left as it was and the problem names each such item.
std::string storeValues(std::span<const ValueEdit> edits, std::span<std::uint8_t> file);

} // namespace qv
