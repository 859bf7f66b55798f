#include "core/changes.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <set>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

ChangeList changedParameters(std::span<const std::uint8_t> image, int shift) {
    ChangeList out;
    out.changed.reserve(parameterRows().size());
    for (const ItemRow& r : parameterRows()) {
        const ItemState value = r.item->read(image, shift);
        const ItemState def{false, r.item->defaultValue};
        if (value.outOfBounds)
            out.outOfBounds.push_back({&r, value, def});
        else if (value != def)
            out.changed.push_back({&r, value, def});
    }
    return out;
}

// The first offset from `i` on whose bit in `bits` (one per offset of the 40,976-byte
// layout) is `set`; kPlainSize when none is.
static int nextWith(std::span<const std::uint64_t> bits, int i, bool set) {
    while (i < kPlainSize) {
        const std::uint64_t word = set ? bits[i / 64] : ~bits[i / 64];
        if (const std::uint64_t from = word >> (i % 64))
            return std::min(kPlainSize, i + std::countr_zero(from));
        i = (i / 64 + 1) * 64;
    }
    return kPlainSize;
}

const std::vector<ByteRange>& outsideRuns() {
    // A bit per offset, read a word at a time: the gaps between the parameters are few
    // and long (the rows "qorv diff" of make bench).
    static const std::vector<ByteRange> runs = [] {
        std::vector<std::uint64_t> inside(kPlainSize / 64 + 1, 0);
        for (const ItemRow& r : parameterRows())
            for (int off : r.item->offsets)
                inside[static_cast<std::size_t>(off / 64)] |= std::uint64_t{1} << (off % 64);
        std::vector<ByteRange> out;
        for (int first = 0; (first = nextWith(inside, first, false)) < kPlainSize;) {
            const int end = nextWith(inside, first, true);
            // A run never crosses the end of the header: a trainer comes between.
            if (first < kHeaderSize && end > kHeaderSize) {
                out.push_back({first, kHeaderSize - 1});
                first = kHeaderSize;
            }
            out.push_back({first, end - 1});
            first = end;
        }
        return out;
    }();
    return runs;
}

// Where two runs of `n` bytes next agree (equal) or disagree (!equal) from `i`; `n` when
// nowhere. Eight bytes at a time: an image compared with a random one differs almost
// everywhere.
static std::size_t nextWhere(bool equal, const std::uint8_t* a, const std::uint8_t* b,
                             std::size_t i, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t x = 0, y = 0;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            const std::uint64_t v = x ^ y;
            // The lowest flagged byte of (v - ones) & ~v & highs is the first zero byte.
            const std::uint64_t hit = equal ? (v - kOnes) & ~v & kHighs : v;
            if (hit) return i + static_cast<std::size_t>(std::countr_zero(hit) / 8);
        }
    }
    while (i < n && (a[i] == b[i]) != equal)
        ++i;
    return i;
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

    std::set<int> hidden;
    for (const ItemRow& r : parameterRows()) {
        const std::span<const int> offsets = r.item->offsets;
        // The same bytes read the same: nothing to list.
        const bool bytesEqual = sameBytes(offsets, a, shiftA, b, shiftB);
        if (bytesEqual) continue;
        const ItemState va = r.item->read(a, shiftA), vb = r.item->read(b, shiftB);
        if (va.outOfBounds || vb.outOfBounds) {
            d.outOfBounds.push_back({&r, va, vb});
        } else if (va != vb) {
            d.changed.push_back({&r, va, vb});
        } else {
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
                for (int off : c.row->item->offsets)
                    hidden.erase(off);
    d.hiddenCount = static_cast<int>(hidden.size());

    for (const ByteRange& run : outsideRuns()) {
        // The header sits before the trainer; everything after it moves with it.
        const bool header = run.first < kHeaderSize;
        const std::uint8_t* pa = a.data() + (header ? run.first : shifted(run.first, shiftA));
        const std::uint8_t* pb = b.data() + (header ? run.first : shifted(run.first, shiftB));
        const auto n = static_cast<std::size_t>(run.count());
        if (std::memcmp(pa, pb, n) == 0) continue;
        // Stretches of equal bytes, then of differing ones, each taken whole.
        for (std::size_t i = 0; i < n;) {
            i = nextWhere(false, pa, pb, i, n);
            const std::size_t j = nextWhere(true, pa, pb, i, n);
            if (j == i) break;
            const int first = run.first + static_cast<int>(i);
            const int last = run.first + static_cast<int>(j) - 1;
            d.outsideCount += static_cast<int>(j - i);
            if (!d.outside.empty() && d.outside.back().last + 1 == first)
                d.outside.back().last = last;
            else
                d.outside.push_back({first, last});
            i = j;
        }
    }
    if (d.trainerA && d.trainerB)
        for (int i = kHeaderSize; i < kHeaderSize + kTrainerShift; ++i)
            d.trainerBytes += a[static_cast<std::size_t>(i)] != b[static_cast<std::size_t>(i)];
    return d;
}

std::string rangeOffsets(const ByteRange& r) {
    char text[kOffsetRangeSize];
    return {text, putOffsetRange(text, r.first, r.last)};
}

void appendRangeText(std::string& out, const ByteRange& r) {
    // Each line of a report of two unrelated images has one: written in one piece.
    const int n = r.count();
    char text[kOffsetRangeSize + 16];
    char* p = putOffsetRange(text, r.first, r.last);
    *p++ = ' ', *p++ = '(';
    p = std::to_chars(p, text + sizeof text, n).ptr;
    const std::string_view unit = n == 1 ? " byte)" : " bytes)";
    out.append(text, p).append(unit);
}

std::string rangeText(const ByteRange& r) {
    std::string out;
    appendRangeText(out, r);
    return out;
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
