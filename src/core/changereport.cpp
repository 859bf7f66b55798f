#include "core/changereport.h"

#include <algorithm>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

namespace {

// "Mario > Mario > Walking / Swimming Speed".
void appendGroupPath(std::string& path, const ItemRow& r) {
    (path += dialogName(*r.table)) += " > ";
    appendStripped(path, r.page->caption);
    if (!r.group->caption.empty()) {
        path += " > ";
        appendStripped(path, r.group->caption);
    }
}

// A report's text, written straight into it: a report has a line for every parameter,
// and a short run would spend much of its time making them (the rows "qorv changes"
// and "qorv diff" of make bench).
struct Report {
    std::string& text;
    const Group* lastGroup = nullptr;

    // A whole line.
    void operator()(std::string_view line) const { (text += line) += '\n'; }
    // A parameter's line, "  Right: EditMaWalk_R", under its group heading when it starts
    // a run of rows of another group; ended by end().
    Report& start(const ItemRow& r) {
        if (r.group != lastGroup) {
            appendGroupPath(text, r);
            text += '\n';
            lastGroup = r.group;
        }
        text += "  ";
        appendLabel(text, r);
        return *this << ": " << r.item->control;
    }
    // The rows that follow start with their group heading again.
    void newSection(std::string_view heading) {
        (*this)(heading);
        lastGroup = nullptr;
    }
    Report& operator<<(std::string_view s) {
        text += s;
        return *this;
    }
    Report& value(const ItemRow& r, const ItemState& s) {
        appendShown(text, *r.item, s);
        return *this;
    }
    Report& defaultOf(const ItemRow& r) { return value(r, {false, r.item->defaultValue}); }
    Report& offsets(const ItemRow& r, int shift) {
        appendOffsets(text, r.item->offsets, shift);
        return *this;
    }
    void end() { text += '\n'; }
};

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
void outsideLines(const Report& out, int count, const std::vector<ByteRange>& ranges) {
    if (count == 0) return;
    out("Bytes outside every parameter: " + std::to_string(count) + " in " +
        std::to_string(ranges.size()) + (ranges.size() == 1 ? " range" : " ranges"));
    for (const ByteRange& r : ranges) {
        out.text += "  ";
        appendRangeText(out.text, r);
        out.text += '\n';
    }
}

template <class Write> std::vector<std::string> collected(const Write& write) {
    std::string text;
    write(text);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        lines.emplace_back(text, start, end - start);
    }
    return lines;
}

// Room for a report of `rows` parameter lines and `shortLines` shorter ones, asked for once:
// grown by doubling, the text would touch twice the memory (the rows "qorv changes" and
// "qorv diff" of make bench). Room never written is never touched.
void makeRoom(std::string& text, std::size_t rows, std::size_t shortLines = 0) {
    text.reserve(text.size() + 256 + 160 * rows + 40 * shortLines);
}

} // namespace

void changesReport(const ChangeList& list, int shift, std::string& text) {
    makeRoom(text, list.changed.size() + list.outOfBounds.size());
    Report out{text};
    for (const Change& c : list.changed) {
        const ItemRow& r = *c.row;
        out.start(r) << " = ";
        out.value(r, c.value) << " (default ";
        out.defaultOf(r) << ") at ";
        out.offsets(r, shift).end();
    }
    if (!list.outOfBounds.empty()) {
        out.newSection("Out of bounds (" + std::to_string(list.outOfBounds.size()) + "):");
        for (const Change& c : list.outOfBounds) {
            const ItemRow& r = *c.row;
            out.start(r) << " (default ";
            out.defaultOf(r) << ") at ";
            out.offsets(r, shift).end();
        }
    }
}

std::vector<std::string> changesReport(const ChangeList& list, int shift) {
    return collected([&](std::string& text) { changesReport(list, shift, text); });
}

void diffReport(const ImageDiff& d, int shiftA, int shiftB, std::string& text) {
    makeRoom(text, d.changed.size() + d.outOfBounds.size(), d.outside.size());
    Report out{text};
    // Changed and out-of-bounds parameters read alike: before -> after, at both layouts.
    const auto line = [&](const Change& c) {
        const ItemRow& r = *c.row;
        out.start(r) << " = ";
        out.value(r, c.value) << " -> ";
        out.value(r, c.other) << " at ";
        out.offsets(r, shiftA);
        if (shiftA != shiftB) (out << " / ").offsets(r, shiftB);
        out.end();
    };
    for (const Change& c : d.changed)
        line(c);
    if (!d.outOfBounds.empty()) {
        out.newSection("Out of bounds in either image (" + std::to_string(d.outOfBounds.size()) +
                       "):");
        for (const Change& c : d.outOfBounds)
            line(c);
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
    return collected([&](std::string& text) { diffReport(d, shiftA, shiftB, text); });
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
    return collected([&](std::string& text) {
        Report out{text};
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
            diffReport(e.diff, e.shiftBase, e.shiftPatched, text);
            return;
        }
        const int n = static_cast<int>(e.touched.size());
        out(std::to_string(n) + (n == 1 ? " parameter is" : " parameters are") +
            " written by the records (no base image; 40,976-byte layout)");
        for (const ItemRow* r : e.touched) {
            out.start(*r) << " at ";
            out.offsets(*r, 0).end();
        }
        outsideLines(out, e.untouchedCount, e.untouched);
    });
}

} // namespace qv
