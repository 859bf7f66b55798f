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

struct PresetChange {
    const Item* item = nullptr;
    int value = 0;
    ItemState before; // in the image the preset was checked against
    // The bytes form `qorv get` prints for bytes no value reproduces: stored as given.
    std::optional<std::vector<std::uint8_t>> bytes;
};

struct PresetPlan {
    std::string error;                 // empty when every entry is accepted
    std::vector<PresetChange> entries; // every entry, in the preset's order
    std::vector<PresetChange> changes; // the entries that change a value
    bool ok() const { return error.empty(); }
};
// Checks the text and every entry against the image (a whole file) with the rules of
// `qorv set`: an unknown control, a value not accepted, an item out of bounds in this
// image or one given twice refuses the whole preset, naming the entry.
PresetPlan planPreset(std::string_view text, std::span<const std::uint8_t> file);

// Writes a checked plan into the image (`shift` is its layout's). A change that would
// leave another item unreadable refuses the whole plan: the image is then unchanged
// and the message names that item.
std::string applyPreset(const PresetPlan& plan, std::span<std::uint8_t> image, int shift);

// "EditMaWalk_R: 24 -> 32" for one change.
std::string changeLine(const PresetChange& c);

} // namespace qv
