#include "core/changereport.h"

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

namespace {

// The pieces joined, with one allocation: a report has a line for every parameter.
std::string cat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view p : pieces)
        size += p.size();
    std::string out;
    out.reserve(size);
    for (std::string_view p : pieces)
        out += p;
    return out;
}

} // namespace

std::string groupPath(const Param& p) {
    if (p.group().empty()) return cat({p.dialog(), " > ", p.page()});
    return cat({p.dialog(), " > ", p.page(), " > ", p.group()});
}

std::string changedCountText(int count) {
    return std::to_string(count) + (count == 1 ? " parameter differs" : " parameters differ") +
           " from the game";
}

std::string gameStatus(std::span<const std::uint8_t> file) {
    if (recognise(file)) return "unmodified game";
    const int shift = layoutShift(file);
    if (shift < 0) return {};
    const int n = changedParameters(file, shift).count();
    return "modified: " + changedCountText(n);
}

namespace {

// "Bytes outside every parameter: N in M ranges", then the ranges; nothing when N is 0.
void outsideLines(std::vector<std::string>& lines, int count,
                  const std::vector<ByteRange>& ranges) {
    if (count == 0) return;
    lines.push_back("Bytes outside every parameter: " + std::to_string(count) + " in " +
                    std::to_string(ranges.size()) + (ranges.size() == 1 ? " range" : " ranges"));
    for (const ByteRange& r : ranges)
        lines.push_back("  " + rangeText(r));
}

// Group headings are written once for a run of rows of the same group.
struct Grouped {
    std::vector<std::string>& lines;
    int last = -1;
    void row(const Param& p, std::string text) {
        if (p.groupIndex != last) lines.push_back(groupPath(p));
        last = p.groupIndex;
        lines.push_back(std::move(text));
    }
};

} // namespace

std::vector<std::string> changesReport(const ChangeList& list, int shift) {
    std::vector<std::string> lines;
    Grouped g{lines};
    for (const Change& c : list.changed) {
        const Param& p = *c.param;
        g.row(p, cat({"  ", p.label(), ": ", p.control(), " = ", p.text(c.value), " (default ",
                      p.defaultText(), ") at ", offsetsIn(p.offsets(), shift)}));
    }
    if (!list.outOfBounds.empty()) {
        lines.push_back("Out of bounds (" + std::to_string(list.outOfBounds.size()) + "):");
        Grouped o{lines};
        for (const Change& c : list.outOfBounds) {
            const Param& p = *c.param;
            o.row(p, cat({"  ", p.label(), ": ", p.control(), " (default ", p.defaultText(),
                          ") at ", offsetsIn(p.offsets(), shift)}));
        }
    }
    return lines;
}

std::vector<std::string> diffReport(const ImageDiff& d, int shiftA, int shiftB) {
    std::vector<std::string> lines;
    // Changed and out-of-bounds parameters read alike: before -> after, at both layouts.
    const auto line = [&](const Change& c) {
        const Param& p = *c.param;
        std::string text =
            cat({"  ", p.label(), ": ", p.control(), " = ", p.text(c.value), " -> ",
                 p.text(c.other), " at ", offsetsIn(p.offsets(), shiftA)});
        if (shiftA != shiftB) text += cat({" / ", offsetsIn(p.offsets(), shiftB)});
        return text;
    };
    Grouped g{lines};
    for (const Change& c : d.changed)
        g.row(*c.param, line(c));
    if (!d.outOfBounds.empty()) {
        lines.push_back("Out of bounds in either image (" + std::to_string(d.outOfBounds.size()) +
                        "):");
        Grouped o{lines};
        for (const Change& c : d.outOfBounds)
            o.row(*c.param, line(c));
    }
    if (d.hiddenCount > 0)
        lines.push_back("Bytes of parameters that still read the same: " +
                        std::to_string(d.hiddenCount));
    outsideLines(lines, d.outsideCount, d.outside);
    if (d.trainerA != d.trainerB)
        lines.push_back(std::string("Trainer: only in the ") + (d.trainerA ? "first" : "second") +
                        " image");
    else if (d.trainerBytes > 0)
        lines.push_back("Trainer: " + std::to_string(d.trainerBytes) + " bytes differ");
    return lines;
}

PatchExplanation explainPatch(std::span<const std::uint8_t> patch,
                              std::span<const std::uint8_t> base,
                              const ips::ApplyOptions& options) {
    PatchExplanation e;
    if (!base.empty()) {
        e.withBase = true;
        std::vector<std::uint8_t> patched(base.begin(), base.end());
        e.status = ips::applyPatch(patch, patched, options);
        if (!e.status.ok()) return e;
        e.shiftBase = layoutShift(base);
        e.shiftPatched = layoutShift(patched);
        if (e.shiftBase < 0 || e.shiftPatched < 0) {
            e.status = ips::Status{ips::Result::NotGameImage};
            return e;
        }
        e.diff = diffImages(base, patched);
        return e;
    }
    const ips::Parsed parsed = ips::parse(patch);
    e.status = parsed.status;
    if (!e.status.ok()) return e;
    std::vector<bool> written(static_cast<std::size_t>(kPlainSize), false);
    for (const ips::Record& r : parsed.records)
        for (std::uint32_t i = 0; i < r.length; ++i)
            if (r.offset + i < static_cast<std::uint32_t>(kPlainSize)) written[r.offset + i] = true;
    std::vector<bool> owned(static_cast<std::size_t>(kPlainSize), false);
    for (const Param& p : params()) {
        bool touched = false;
        for (int off : p.offsets()) {
            owned[static_cast<std::size_t>(off)] = true;
            touched = touched || written[static_cast<std::size_t>(off)];
        }
        if (touched) e.touched.push_back(&p);
    }
    std::vector<int> outside;
    for (int off = 0; off < kPlainSize; ++off)
        if (written[static_cast<std::size_t>(off)] && !owned[static_cast<std::size_t>(off)])
            outside.push_back(off);
    e.untouchedCount = static_cast<int>(outside.size());
    e.untouched = mergeRanges(outside);
    return e;
}

std::vector<std::string> explanationReport(const PatchExplanation& e) {
    if (e.withBase) {
        std::vector<std::string> lines;
        const int n = static_cast<int>(e.diff.changed.size());
        lines.push_back(std::to_string(n) + (n == 1 ? " parameter changes" : " parameters change") +
                        " (before -> after)");
        for (std::string& l : diffReport(e.diff, e.shiftBase, e.shiftPatched))
            lines.push_back(std::move(l));
        return lines;
    }
    std::vector<std::string> lines;
    const int n = static_cast<int>(e.touched.size());
    lines.push_back(std::to_string(n) + (n == 1 ? " parameter is" : " parameters are") +
                    " written by the records (no base image; 40,976-byte layout)");
    Grouped g{lines};
    for (const Param* p : e.touched)
        g.row(*p, cat({"  ", p->label(), ": ", p->control(), " at ", offsetsIn(p->offsets(), 0)}));
    outsideLines(lines, e.untouchedCount, e.untouched);
    return lines;
}

} // namespace qv
