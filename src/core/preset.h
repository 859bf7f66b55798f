#pragma once
// Presets: parameters as a portable JSON text, each value written as `qorv set`
// takes it. Exporting reads an image; importing checks every entry against an image
// before anything is written.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/items.h"
#include "core/valueedit.h"

namespace qv {

inline constexpr std::string_view kPresetFormat = "quorvane-preset";
inline constexpr int kPresetVersion = 1;
// The document, its "parameters" list and an entry: no preset nests deeper.
inline constexpr int kPresetDepth = 3;

// The changed parameters of a whole file (every readable one with `all`), with the
// source's name and SHA-1 for information. Items out of bounds cannot be set and are
// left out; `skipped` (when given) counts them.
std::string exportPreset(std::span<const std::uint8_t> file, const std::string& sourceName,
                         bool all, int* skipped = nullptr);

struct PresetPlan {
    std::string error;              // empty when every entry is accepted
    std::vector<ValueEdit> entries; // every entry, in the preset's order
    std::vector<ValueEdit> changes; // the entries that change a value
    bool ok() const { return error.empty(); }
};
// Checks the text and every entry against the image (a whole file) with the rules of
// `qorv set` (checkValue): an unknown control, a value not accepted, an item out of
// bounds in this image or one given twice refuses the whole preset, naming the entry.
// The entries are then stored as one edit (RomDocument::apply, or storeValues).
PresetPlan planPreset(std::string_view text, std::span<const std::uint8_t> file);

// "EditMaWalk_R: 24 -> 32" for one change.
std::string changeLine(const ValueEdit& c);

} // namespace qv
