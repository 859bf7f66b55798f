#include "core/changereport.h"

#include <algorithm>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

namespace {

// Adds whole lines to a report's text.
struct Lines {
    std::string& text;
    void operator()(std::string_view line) const { (text += line) += '\n'; }
};

// A parameter's report line, built in a buffer that every line reuses: a report has a
// line for every parameter, and a short run would spend much of its time making them.
struct Line {
    std::string text;
    Line() { text.reserve(256); }
    Line& operator<<(std::string_view s) {
        text += s;
        return *this;
    }
    // "  Right: EditMaWalk_R"
    Line& start(const ItemRow& r) {
        text = "  ";
        appendLabel(text, r);
        return *this << ": " << r.item->control;
    }
    Line& value(const ItemRow& r, const ItemState& s) {
        appendShown(text, *r.item, s);
        return *this;
    }
    Line& defaultOf(const ItemRow& r) { return value(r, {false, r.item->defaultValue}); }
    Line& offsets(const ItemRow& r, int shift) {
        appendOffsets(text, r.item->offsets, shift);
        return *this;
    }
};

// "Mario > Mario > Walking / Swimming Speed".
void appendGroupPath(std::string& path, const ItemRow& r) {
    (path += dialogName(*r.table)) += " > ";
    appendStripped(path, r.page->caption);
    if (!r.group->caption.empty()) {
        path += " > ";
        appendStripped(path, r.group->caption);
    }
}

} // namespace

std::string differCountText(int count) {
    return std::to_string(count) + (count == 1 ? " parameter differs" : " parameters differ");
}

std::string changedCountText(int count) {
    return differCountText(count) + " from the game";
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
void outsideLines(const Lines& out, int count, const std::vector<ByteRange>& ranges) {
    if (count == 0) return;
    out("Bytes outside every parameter: " + std::to_string(count) + " in " +
        std::to_string(ranges.size()) + (ranges.size() == 1 ? " range" : " ranges"));
    std::string line;
    for (const ByteRange& r : ranges) {
        line = "  ";
        appendRangeText(line, r);
        out(line);
    }
}

// Group headings are written once for a run of rows of the same group.
struct Grouped {
    const Lines& out;
    const Group* last = nullptr;
    std::string heading{}; // reused, as the report's lines are
    void row(const ItemRow& r, const std::string& text) {
        if (r.group != last) {
            heading.clear();
            appendGroupPath(heading, r);
            out(heading);
        }
        last = r.group;
        out(text);
    }
};

template <class Report> std::vector<std::string> collected(const Report& report) {
    std::string text;
    report(Lines{text});
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        lines.emplace_back(text, start, end - start);
    }
    return lines;
}

} // namespace

void changesReport(const ChangeList& list, int shift, std::string& text) {
    const Lines out{text};
    Line line;
    Grouped g{out};
    for (const Change& c : list.changed) {
        const ItemRow& r = *c.row;
        line.start(r) << " = ";
        line.value(r, c.value) << " (default ";
        line.defaultOf(r) << ") at ";
        g.row(r, line.offsets(r, shift).text);
    }
    if (!list.outOfBounds.empty()) {
        out("Out of bounds (" + std::to_string(list.outOfBounds.size()) + "):");
        Grouped o{out};
        for (const Change& c : list.outOfBounds) {
            const ItemRow& r = *c.row;
            line.start(r) << " (default ";
            line.defaultOf(r) << ") at ";
            o.row(r, line.offsets(r, shift).text);
        }
    }
}

std::vector<std::string> changesReport(const ChangeList& list, int shift) {
    return collected([&](const Lines& out) { changesReport(list, shift, out.text); });
}

void diffReport(const ImageDiff& d, int shiftA, int shiftB, std::string& report) {
    const Lines out{report};
    // Changed and out-of-bounds parameters read alike: before -> after, at both layouts.
    Line text;
    const auto line = [&](const Change& c) -> const std::string& {
        const ItemRow& r = *c.row;
        text.start(r) << " = ";
        text.value(r, c.value) << " -> ";
        text.value(r, c.other) << " at ";
        text.offsets(r, shiftA);
        if (shiftA != shiftB) (text << " / ").offsets(r, shiftB);
        return text.text;
    };
    Grouped g{out};
    for (const Change& c : d.changed)
        g.row(*c.row, line(c));
    if (!d.outOfBounds.empty()) {
        out("Out of bounds in either image (" + std::to_string(d.outOfBounds.size()) + "):");
        Grouped o{out};
        for (const Change& c : d.outOfBounds)
            o.row(*c.row, line(c));
    }
    if (d.hiddenCount > 0)
        out("Bytes of parameters that still read the same: " + std::to_string(d.hiddenCount));
    outsideLines(out, d.outsideCount, d.outside);
    if (d.trainerA != d.trainerB)
        out(std::string("Trainer: only in the ") + (d.trainerA ? "first" : "second") + " image");
    else if (d.trainerBytes > 0)
        out("Trainer: " + std::to_string(d.trainerBytes) + " bytes differ");
}

std::vector<std::string> diffReport(const ImageDiff& d, int shiftA, int shiftB) {
    return collected([&](const Lines& out) { diffReport(d, shiftA, shiftB, out.text); });
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
        // Said when nothing changes: a patch that is already applied writes bytes too.
        if (e.diff.equal()) {
            std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
            for (const ips::Record& r : ips::parse(patch).records)
                if (r.length) spans.emplace_back(r.offset, r.offset + r.length);
            std::ranges::sort(spans);
            std::uint32_t end = 0;
            for (const auto& [first, last] : spans) {
                const std::uint32_t from = std::max(first, end);
                if (last > from) e.writtenBytes += static_cast<int>(last - from);
                end = std::max(end, last);
            }
        }
        return e;
    }
    const ips::Parsed parsed = ips::parse(patch);
    e.status = parsed.status;
    if (!e.status.ok()) return e;
    std::vector<bool> written(static_cast<std::size_t>(kPlainSize), false);
    for (const ips::Record& r : parsed.records)
        for (std::uint32_t i = 0; i < r.length; ++i)
            if (r.offset + i < static_cast<std::uint32_t>(kPlainSize)) written[r.offset + i] = true;
    const auto isWritten = [&](int off) { return written[static_cast<std::size_t>(off)]; };
    for (const ItemRow& r : parameterRows())
        if (std::ranges::any_of(r.item->offsets, isWritten)) e.touched.push_back(&r);
    std::vector<int> outside;
    for (const ByteRange& run : outsideRuns())
        for (int off = run.first; off <= run.last; ++off)
            if (isWritten(off)) outside.push_back(off);
    e.untouchedCount = static_cast<int>(outside.size());
    e.untouched = mergeRanges(outside);
    return e;
}

std::vector<std::string> explanationReport(const PatchExplanation& e) {
    return collected([&](const Lines& out) {
        if (e.withBase && e.diff.equal() && e.writtenBytes > 0) {
            out("already applied: all " + std::to_string(e.writtenBytes) +
                (e.writtenBytes == 1 ? " byte already holds the patched value"
                                     : " bytes already hold the patched values"));
            return;
        }
        if (e.withBase) {
            const int n = static_cast<int>(e.diff.changed.size());
            out(std::to_string(n) + (n == 1 ? " parameter changes" : " parameters change") +
                " (before -> after)");
            diffReport(e.diff, e.shiftBase, e.shiftPatched, out.text);
            return;
        }
        const int n = static_cast<int>(e.touched.size());
        out(std::to_string(n) + (n == 1 ? " parameter is" : " parameters are") +
            " written by the records (no base image; 40,976-byte layout)");
        Grouped g{out};
        Line line;
        for (const ItemRow* r : e.touched) {
            line.start(*r) << " at ";
            g.row(*r, line.offsets(*r, 0).text);
        }
        outsideLines(out, e.untouchedCount, e.untouched);
    });
}

} // namespace qv
