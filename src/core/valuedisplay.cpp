#include "core/valuedisplay.h"

#include <algorithm>

#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/rom.h"
#include "core/tables/basicblocks.h"
#include "core/tables/codecs.h"
#include "core/tables/color.h"
#include "core/tables/palette.h"

namespace qv {

namespace {

// The panel of the Color dialog in words: the palette group, then the boxes ticked.
std::string attributeText(int field) {
    const std::uint8_t b = low8(field);
    if (!tables::attributeEditable(b)) return "Do Not Modify (" + hexDigits(b, 2) + ")";
    static constexpr std::string_view kGroups[] = {"Mario Group", "Green Group", "Red Group",
                                                   "Black Group"};
    std::string out(kGroups[b & 3]);
    if (b & 0x20) out += ", Behind BG";
    if (b & 0x40) out += ", Flip + Mirror";
    if (b & 0x80) out += ", Upside-Down";
    return out;
}

// "Rows 0-2, 11, 12" for the rows whose bits are set; runs of three or more joined.
std::string rowsText(int bits, int firstRow) {
    std::vector<int> rows;
    for (int r = 0; r < tables::kBlockRows; ++r)
        if (r >= firstRow && (bits >> (r - firstRow) & 1)) rows.push_back(r);
    if (rows.empty()) return "No rows";
    std::string out = rows.size() == 1 ? "Row " : "Rows ";
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        if (i) out += ", ";
        out += std::to_string(rows[i]);
        if (j - i >= 2) {
            out += "-" + std::to_string(rows[j]);
        } else if (j > i) {
            out += ", " + std::to_string(rows[j]);
        }
        i = j + 1;
    }
    return out;
}

constexpr int kCloudFirstRow = 8; // the cloud column's byte: bit k is row 8 + k

} // namespace

std::string_view withoutDefaultMark(std::string_view caption) {
    constexpr std::string_view kMark = "[Default]";
    if (!caption.ends_with(kMark)) return caption;
    caption.remove_suffix(kMark.size());
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    return caption;
}

std::optional<int> paletteColorIndex(const ItemRow& row, const ItemState& state) {
    if (state.outOfBounds || row.table != &tables::palette() ||
        row.item->kind != ItemKind::Numeric || !tables::findPaletteEntry(row.item->offsets[0]))
        return std::nullopt;
    return state.value;
}

std::string dialogValueText(const ItemRow& row, const ItemState& state) {
    const Item& item = *row.item;
    if (state.outOfBounds) return std::string(kOutOfBounds);
    if (item.kind == ItemKind::Numeric) {
        if (row.table == &tables::color()) return attributeText(state.value);
        if (const auto color = paletteColorIndex(row, state))
            return "$" + hexDigits(*color & 0xFF, 2);
        if (row.table == &tables::basicBlocks())
            return rowsText(state.value,
                            item.encoding == &tables::blockColumnEncoding ? 0 : kCloudFirstRow);
    }
    const std::string shown = shownText(item, state);
    return std::string(withoutDefaultMark(shown));
}

std::string parameterName(const ItemRow& row) {
    std::string out = dialogName(*row.table) + " > " + stripMnemonic(row.group->caption);
    if (row.group->items.size() > 1) out += " > " + labelOf(row);
    return out;
}

std::vector<const ItemRow*> parametersAt(int position, int shift) {
    // Each byte of the trainer-less layout with the parameters that own it, made once.
    static const std::vector<std::vector<const ItemRow*>> owners = [] {
        std::vector<std::vector<const ItemRow*>> out(static_cast<std::size_t>(kPlainSize));
        for (const ItemRow& r : parameterRows())
            for (int off : r.item->offsets) {
                auto& list = out[static_cast<std::size_t>(off)];
                if (std::ranges::find(list, &r) == list.end()) list.push_back(&r);
            }
        return out;
    }();
    // The header stays in front of a trainer; every parameter lies after both.
    const int offset = position - shift;
    if (position < kHeaderSize || offset < kHeaderSize || offset >= kPlainSize) return {};
    return owners[static_cast<std::size_t>(offset)];
}

} // namespace qv
