#include "core/changes.h"

#include <set>
#include <unordered_set>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

int layoutShift(std::span<const std::uint8_t> file) {
    if (file.size() == static_cast<std::size_t>(kPlainSize)) return 0;
    if (file.size() == static_cast<std::size_t>(kTrainerSize)) return kTrainerShift;
    return -1;
}

const std::vector<ItemRow>& parameterRows() {
    // A control reachable from two tables is one parameter: the first table owns it.
    static const std::vector<ItemRow> rows = [] {
        std::vector<ItemRow> out;
        std::unordered_set<std::string_view> seen;
        seen.reserve(1024);
        for (const ItemRow& r : itemRows())
            if (seen.insert(r.item->control).second) out.push_back(r);
        return out;
    }();
    return rows;
}

ChangeList changedParameters(std::span<const std::uint8_t> image, int shift) {
    ChangeList out;
    for (const ItemRow& r : parameterRows()) {
        const ItemState value = r.item->read(image, shift);
        const ItemState def{false, r.item->defaultValue};
        if (value.outOfBounds)
            out.outOfBounds.push_back({r, value, def});
        else if (value != def)
            out.changed.push_back({r, value, def});
    }
    return out;
}

static bool sameBytes(const Item& item, std::span<const std::uint8_t> a, int shiftA,
                      std::span<const std::uint8_t> b, int shiftB) {
    for (int off : item.offsets)
        if (a[static_cast<std::size_t>(shifted(off, shiftA))] !=
            b[static_cast<std::size_t>(shifted(off, shiftB))])
            return false;
    return true;
}

ImageDiff diffImages(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    ImageDiff d;
    const int shiftA = layoutShift(a), shiftB = layoutShift(b);
    if (shiftA < 0 || shiftB < 0) return d;
    d.trainerA = shiftA != 0;
    d.trainerB = shiftB != 0;

    std::vector<std::uint8_t> owned(static_cast<std::size_t>(kPlainSize), 0);
    std::set<int> hidden;
    for (const ItemRow& r : parameterRows()) {
        const Item& item = *r.item;
        for (int off : item.offsets)
            owned[static_cast<std::size_t>(off)] = 1;
        const ItemState va = item.read(a, shiftA), vb = item.read(b, shiftB);
        const bool bytesEqual = sameBytes(item, a, shiftA, b, shiftB);
        if (va.outOfBounds || vb.outOfBounds) {
            if (!bytesEqual) d.outOfBounds.push_back({r, va, vb});
        } else if (va != vb) {
            d.changed.push_back({r, va, vb});
        } else if (!bytesEqual) {
            for (int off : item.offsets)
                if (a[static_cast<std::size_t>(shifted(off, shiftA))] !=
                    b[static_cast<std::size_t>(shifted(off, shiftB))])
                    hidden.insert(off);
        }
    }
    // A byte of a parameter that some other listed item explains is not hidden.
    for (const auto* list : {&d.changed, &d.outOfBounds})
        for (const Change& c : *list)
            for (int off : c.row.item->offsets)
                hidden.erase(off);
    d.hiddenCount = static_cast<int>(hidden.size());

    for (int off = 0; off < kPlainSize; ++off) {
        // The header sits before the trainer; everything after it moves with it.
        const int pa = off < kHeaderSize ? off : shifted(off, shiftA);
        const int pb = off < kHeaderSize ? off : shifted(off, shiftB);
        if (owned[static_cast<std::size_t>(off)] ||
            a[static_cast<std::size_t>(pa)] == b[static_cast<std::size_t>(pb)])
            continue;
        ++d.outsideCount;
        if (!d.outside.empty() && d.outside.back().last + 1 == off)
            d.outside.back().last = off;
        else
            d.outside.push_back({off, off});
    }
    if (d.trainerA && d.trainerB)
        for (int i = kHeaderSize; i < kHeaderSize + kTrainerShift; ++i)
            d.trainerBytes += a[static_cast<std::size_t>(i)] != b[static_cast<std::size_t>(i)];
    return d;
}

std::string offsetsIn(const Item& item, int shift) {
    std::vector<int> offsets;
    for (int off : item.offsets)
        offsets.push_back(shifted(off, shift));
    return offsetsText(offsets);
}

std::string rangeOffsets(const ByteRange& r) {
    std::string out = "0x" + hexDigits(r.first, 4);
    if (r.last != r.first) out += "-0x" + hexDigits(r.last, 4);
    return out;
}

std::string rangeText(const ByteRange& r) {
    const int n = r.count();
    return rangeOffsets(r) + " (" + std::to_string(n) + (n == 1 ? " byte)" : " bytes)");
}

std::vector<ByteRange> mergeRanges(const std::vector<int>& offsets) {
    std::vector<ByteRange> out;
    for (int off : offsets) {
        if (!out.empty() && out.back().last + 1 == off)
            out.back().last = off;
        else
            out.push_back({off, off});
    }
    return out;
}

} // namespace qv
