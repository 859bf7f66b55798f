#include "core/changereport.h"

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qv {

std::string dialogOf(const ItemRow& row) {
    return dialogName(*row.table);
}

std::string groupPath(const ItemRow& row) {
    std::string path = dialogOf(row) + " > " + stripMnemonic(row.page->caption);
    if (!row.group->caption.empty()) path += " > " + stripMnemonic(row.group->caption);
    return path;
}

namespace {

// A caption without "&" and without its trailing ":".
std::string bareLabel(std::string_view caption) {
    std::string label = stripMnemonic(caption);
    while (!label.empty() && (label.back() == ':' || label.back() == ' '))
        label.pop_back();
    return label;
}

} // namespace

std::string labelOf(const Item& item) {
    std::string label = bareLabel(item.label);
    return label.empty() ? item.control : label;
}

std::string labelOf(const ItemRow& row) {
    const Item& item = *row.item;
    if (!item.label.empty()) return labelOf(item);
    const std::vector<Item>& items = row.group->items;
    std::size_t index = 0;
    while (index < items.size() && &items[index] != &item)
        ++index;
    if (index == items.size()) return item.control;
    if (const auto& grid = row.group->grid; grid && !grid->rows.empty()) {
        const std::size_t rows = grid->rows.size();
        const std::size_t r = index % rows, c = index / rows;
        const std::string label = bareLabel(grid->rows[r]);
        if (c < grid->columns.size() && !grid->columns[c].empty())
            return label + ", " + stripMnemonic(grid->columns[c]);
        return label + " " + std::to_string(c + 1);
    }
    for (std::size_t lead = index; lead-- > 0;)
        if (!items[lead].label.empty())
            return labelOf(items[lead]) + " " + std::to_string(index - lead + 1);
    return item.control;
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
    const Group* last = nullptr;
    void row(const ItemRow& r, const std::string& text) {
        if (r.group != last) lines.push_back(groupPath(r));
        last = r.group;
        lines.push_back("  " + text);
    }
};

} // namespace

std::vector<std::string> changesReport(const ChangeList& list, int shift) {
    std::vector<std::string> lines;
    Grouped g{lines};
    for (const Change& c : list.changed) {
        const Item& item = *c.row.item;
        g.row(c.row, labelOf(c.row) + ": " + item.control + " = " + shownText(item, c.value) +
                         " (default " + defaultText(item) + ") at " + offsetsIn(item, shift));
    }
    if (!list.outOfBounds.empty()) {
        lines.push_back("Out of bounds (" + std::to_string(list.outOfBounds.size()) + "):");
        Grouped o{lines};
        for (const Change& c : list.outOfBounds) {
            const Item& item = *c.row.item;
            o.row(c.row, labelOf(c.row) + ": " + item.control + " (default " + defaultText(item) +
                             ") at " + offsetsIn(item, shift));
        }
    }
    return lines;
}

std::vector<std::string> diffReport(const ImageDiff& d, int shiftA, int shiftB) {
    std::vector<std::string> lines;
    // Changed and out-of-bounds parameters read alike: before -> after, at both layouts.
    const auto line = [&](const Change& c) {
        const Item& item = *c.row.item;
        std::string text = labelOf(c.row) + ": " + item.control + " = " + shownText(item, c.value) +
                           " -> " + shownText(item, c.other) + " at " + offsetsIn(item, shiftA);
        if (shiftA != shiftB) text += " / " + offsetsIn(item, shiftB);
        return text;
    };
    Grouped g{lines};
    for (const Change& c : d.changed)
        g.row(c.row, line(c));
    if (!d.outOfBounds.empty()) {
        lines.push_back("Out of bounds in either image (" + std::to_string(d.outOfBounds.size()) +
                        "):");
        Grouped o{lines};
        for (const Change& c : d.outOfBounds)
            o.row(c.row, line(c));
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
    for (const ItemRow& row : parameterRows()) {
        bool touched = false;
        for (int off : row.item->offsets) {
            owned[static_cast<std::size_t>(off)] = true;
            touched = touched || written[static_cast<std::size_t>(off)];
        }
        if (touched) e.touched.push_back(row);
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
    for (const ItemRow& r : e.touched)
        g.row(r, labelOf(r) + ": " + r.item->control + " at " + offsetsIn(*r.item, 0));
    outsideLines(lines, e.untouchedCount, e.untouched);
    return lines;
}

} // namespace qv
