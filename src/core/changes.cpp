#include "core/changes.h"

#include <set>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

ChangeList changedParameters(std::span<const std::uint8_t> image, int shift) {
    ChangeList out;
    for (const Param& p : params()) {
        const ItemState value = p.read(image, shift);
        const ItemState def{false, p.defaultValue};
        if (value.outOfBounds)
            out.outOfBounds.push_back({&p, value, def});
        else if (value != def)
            out.changed.push_back({&p, value, def});
    }
    return out;
}

static bool sameBytes(std::span<const int> offsets, std::span<const std::uint8_t> a, int shiftA,
                      std::span<const std::uint8_t> b, int shiftB) {
    for (int off : offsets)
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
    for (const Param& p : params()) {
        const std::span<const int> offsets = p.offsets();
        for (int off : offsets)
            owned[static_cast<std::size_t>(off)] = 1;
        const bool bytesEqual = sameBytes(offsets, a, shiftA, b, shiftB);
        const ItemState va = p.read(a, shiftA), vb = p.read(b, shiftB);
        if (va.outOfBounds || vb.outOfBounds) {
            if (!bytesEqual) d.outOfBounds.push_back({&p, va, vb});
        } else if (va != vb) {
            d.changed.push_back({&p, va, vb});
        } else if (!bytesEqual) {
            for (int off : offsets)
                if (a[static_cast<std::size_t>(shifted(off, shiftA))] !=
                    b[static_cast<std::size_t>(shifted(off, shiftB))])
                    hidden.insert(off);
        }
    }
    // A byte of a parameter that some other listed item explains is not hidden.
    if (!hidden.empty())
        for (const auto* list : {&d.changed, &d.outOfBounds})
            for (const Change& c : *list)
                for (int off : c.param->offsets())
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
