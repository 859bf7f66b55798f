#pragma once
// What an image changes: the parameters whose values differ from the game's own
// (every item's default is the unmodified game's value), the parameters that differ
// between two images, and the bytes that differ outside every parameter.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/items.h"
#include "core/rom.h"

namespace qv {

struct Change {
    const ItemRow* row = nullptr; // one of parameterRows()
    ItemState value;              // in this image (changes) or in the first image (diff)
    ItemState other;              // the default (changes) or the value in the second image (diff)
};

struct ChangeList {
    std::vector<Change> changed;     // value differs from the default
    std::vector<Change> outOfBounds; // bytes the item does not understand
    int count() const { return static_cast<int>(changed.size()); }
};
// `image` holds the file from position 0; `shift` is its layout's.
ChangeList changedParameters(std::span<const std::uint8_t> image, int shift);

struct ImageDiff {
    std::vector<Change> changed;     // both readable, values differ
    std::vector<Change> outOfBounds; // out of bounds in either image, bytes differ
    std::vector<ByteRange> outside;  // differing bytes that belong to no parameter
    int outsideCount = 0;
    // Differing bytes of parameters whose values still read the same in both.
    int hiddenCount = 0;
    bool trainerA = false, trainerB = false;
    int trainerBytes = 0; // differing trainer bytes when both have one
    bool equal() const {
        return changed.empty() && outOfBounds.empty() && outsideCount == 0 && hiddenCount == 0 &&
               trainerA == trainerB && trainerBytes == 0;
    }
};
// Both are whole files of a valid size; either may have a trainer.
ImageDiff diffImages(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// The bytes of the 40,976-byte layout that belong to no parameter, as runs that do not
// cross the end of the header (a trainer moves what follows it), in order.
const std::vector<ByteRange>& outsideRuns();

// "0x0010-0x0013 (4 bytes)" or "0x0010 (1 byte)".
std::string rangeText(const ByteRange& r);
// The same, added to the end of `out`.
void appendRangeText(std::string& out, const ByteRange& r);
// Its offsets alone: "0x9000-0x9002", or "0x9000" for one byte.
std::string rangeOffsets(const ByteRange& r);
// Sorted offsets (no repeats) merged into ranges.
std::vector<ByteRange> mergeRanges(const std::vector<int>& offsets);

} // namespace qv
