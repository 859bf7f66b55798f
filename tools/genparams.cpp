// Build-time helper: builds every dialog table and writes its parameters as constant
// data (core/params.h), so that the programs read what an image changes without
// building a table. The tables stay the one place a parameter is defined.
//
//     qv_gen_params OUT.inc
#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/params.h"
#include "core/rom.h"
#include "core/tables/codecs.h"
#include "core/tables/registry.h"

namespace {

using namespace qv;

struct Writer {
    std::string text;
    std::map<std::string, TextSpan, std::less<>> seen;
    std::vector<int> ints;
    std::vector<unsigned> bytes;
    std::vector<TextSpan> entries;
    std::map<const ChoiceList*, std::uint32_t> lists;

    TextSpan add(const std::string& s) {
        if (const auto it = seen.find(s); it != seen.end()) return it->second;
        const TextSpan span{static_cast<std::uint32_t>(text.size()),
                            static_cast<std::uint32_t>(s.size())};
        text += s;
        seen.emplace(s, span);
        return span;
    }
    std::uint32_t addInts(std::span<const int> values) {
        const auto at = static_cast<std::uint32_t>(ints.size());
        ints.insert(ints.end(), values.begin(), values.end());
        return at;
    }
    std::uint32_t addBytes(std::span<const std::uint8_t> values) {
        const auto at = static_cast<std::uint32_t>(bytes.size());
        bytes.insert(bytes.end(), values.begin(), values.end());
        return at;
    }
    std::uint32_t addList(const ChoiceList& list) {
        if (const auto it = lists.find(&list); it != lists.end()) return it->second;
        const auto at = static_cast<std::uint32_t>(entries.size());
        for (const std::string& caption : list.captions)
            entries.push_back(add(stripMnemonic(caption)));
        lists.emplace(&list, at);
        return at;
    }
};

template <typename T>
int indexIn(std::span<const T* const> all, const T* one, const char* what,
            const std::string& control) {
    if (!one) return -1;
    const auto it = std::find(all.begin(), all.end(), one);
    if (it == all.end()) {
        std::fprintf(stderr, "qv_gen_params: %s's %s is not listed\n", control.c_str(), what);
        std::exit(1);
    }
    return static_cast<int>(it - all.begin());
}

std::string spanText(const TextSpan& s) {
    return "{" + std::to_string(s.at) + ", " + std::to_string(s.size) + "}";
}

const char* kindName(ItemKind k) {
    switch (k) {
    case ItemKind::Numeric:
        return "ItemKind::Numeric";
    case ItemKind::Check:
        return "ItemKind::Check";
    case ItemKind::Choice:
        return "ItemKind::Choice";
    case ItemKind::Flag:
        return "ItemKind::Flag";
    }
    return "ItemKind::Numeric";
}

template <typename T> void array(std::string& out, const char* decl, const std::vector<T>& values) {
    out += decl;
    out += "[] = {";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i % 16 == 0 ? "\n" : " ") + std::to_string(values[i]) + ",";
    if (values.empty()) out += "0"; // an array needs an element
    out += "\n};\n";
}

// The bytes of the 40,976-byte layout that belong to no parameter, as runs [first,
// last] that do not cross the end of the header (a trainer moves what follows it).
std::vector<int> outsideRuns(const std::vector<std::vector<int>>& offsetLists) {
    // A bit per byte, set where a parameter owns it.
    std::array<std::uint64_t, (kPlainSize + 63) / 64> owned{};
    for (const std::vector<int>& offsets : offsetLists)
        for (int off : offsets)
            owned[static_cast<std::size_t>(off) / 64] |= std::uint64_t{1} << (off % 64);
    // The next byte from `from` that is owned (or not), kPlainSize when none is.
    const auto next = [&](int from, bool isOwned) {
        while (from < kPlainSize) {
            std::uint64_t word = owned[static_cast<std::size_t>(from) / 64];
            if (!isOwned) word = ~word;
            word >>= from % 64;
            if (word) return std::min(from + std::countr_zero(word), kPlainSize);
            from = (from / 64 + 1) * 64;
        }
        return kPlainSize;
    };
    std::vector<int> bounds;
    for (int first = next(0, false); first < kPlainSize;) {
        const int end = next(first, true);
        if (first < kHeaderSize && end > kHeaderSize) {
            bounds.insert(bounds.end(), {first, kHeaderSize - 1});
            first = kHeaderSize;
        }
        bounds.insert(bounds.end(), {first, end - 1});
        first = next(end, false);
    }
    return bounds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: qv_gen_params OUT.inc\n", stderr);
        return 2;
    }
    Writer w;
    std::string params;
    const auto tables = dialogTables();
    std::vector<TextSpan> dialogs;
    for (const DialogTable* t : tables)
        dialogs.push_back(w.add(dialogName(*t)));
    std::map<const Group*, int> groups;
    std::string groupRows;
    std::vector<std::vector<int>> offsetLists;
    for (const ItemRow& row : parameterRows()) {
        const Item& item = *row.item;
        offsetLists.push_back(item.offsets);
        auto [group, fresh] = groups.emplace(row.group, static_cast<int>(groups.size()));
        if (fresh)
            groupRows += "    {" + spanText(w.add(stripMnemonic(row.page->caption))) + ", " +
                         spanText(w.add(stripMnemonic(row.group->caption))) + "},\n";
        const ItemCodec c = item.codec();
        // Its report line's start, "  Right: EditMaWalk_R", holds the label and the
        // control name.
        const std::string label = labelOf(row);
        const TextSpan start = w.add("  " + label + ": " + item.control);
        const TextSpan labelText{start.at + 2, static_cast<std::uint32_t>(label.size())};
        const TextSpan controlText{labelText.at + labelText.size + 2,
                                   static_cast<std::uint32_t>(item.control.size())};
        const auto dialog = std::find(tables.begin(), tables.end(), row.table) - tables.begin();
        std::string p =
            "    {.dialogIndex = " + std::to_string(dialog) +
            ", .groupIndex = " + std::to_string(group->second) +
            ", .kind = " + kindName(item.kind) +
            ", .offsetCount = " + std::to_string(item.offsets.size()) +
            ", .offsetsAt = " + std::to_string(w.addInts(item.offsets)) +
            ",\n     .lineStartText = " + spanText(start) +
            ", .labelText = " + spanText(labelText) + ", .controlText = " + spanText(controlText) +
            ", .plainOffsetsText = " + spanText(w.add(offsetsIn(item.offsets, 0))) +
            ", .trainerOffsetsText = " + spanText(w.add(offsetsIn(item.offsets, kTrainerShift))) +
            ", .defaultTextSpan = " + spanText(w.add(defaultText(item))) +
            ", .defaultValue = " + std::to_string(item.defaultValue) + ",\n     .encodingIndex = " +
            std::to_string(indexIn(encodings(), c.encoding, "encoding", item.control)) +
            ", .ruleIndex = " + std::to_string(indexIn(ruleKinds(), c.rule, "rule", item.control)) +
            ", .acceptMin = " + std::to_string(c.acceptMin) +
            ", .acceptMax = " + std::to_string(c.acceptMax) +
            ", .strictRange = " + (c.strictRange ? "true" : "false") +
            ",\n     .tickedSize = " + std::to_string(c.ticked.size()) +
            ", .clearedSize = " + std::to_string(c.cleared.size()) +
            ", .operandCount = " + std::to_string(c.clearedOperands.size()) +
            ", .tickedAt = " + std::to_string(w.addBytes(c.ticked)) +
            ", .clearedAt = " + std::to_string(w.addBytes(c.cleared)) +
            ", .operandsAt = " + std::to_string(w.addInts(c.clearedOperands)) +
            ",\n     .flagMask = " + std::to_string(c.flagMask) +
            ", .flagTicked = " + std::to_string(c.flagTicked) +
            ", .flagCleared = " + std::to_string(c.flagCleared) +
            ", .flagOthersClear = " + (c.flagOthersClear ? "true" : "false") +
            ", .ruleParamsAt = " + std::to_string(w.addInts(c.ruleParams)) +
            ", .ruleParamCount = " + std::to_string(c.ruleParams.size()) +
            ", .entriesAt = " + std::to_string(item.list ? w.addList(*item.list) : 0) +
            ", .entryCount = " + std::to_string(item.list ? item.list->captions.size() : 0) +
            "},\n";
        params += p;
    }

    std::string out = "// Generated by qv_gen_params from the dialog tables. Do not edit.\n";
    std::vector<unsigned> text(w.text.begin(), w.text.end());
    for (unsigned& ch : text)
        ch &= 0xFF;
    array(out, "constexpr unsigned char kText", text);
    array(out, "constexpr int kInts", w.ints);
    array(out, "constexpr unsigned char kBytes", w.bytes);
    out += "constexpr TextSpan kEntries[] = {";
    for (const TextSpan& e : w.entries)
        out += spanText(e) + ",";
    if (w.entries.empty()) out += "{0, 0}";
    out += "};\nconstexpr TextSpan kDialogs[] = {";
    for (const TextSpan& d : dialogs)
        out += spanText(d) + ",";
    out += "};\nconstexpr GroupText kGroups[] = {\n" + groupRows + "};\n";
    out += "constexpr Param kParams[] = {\n" + params + "};\n";
    const std::vector<int> bounds = outsideRuns(offsetLists);
    out += "constexpr std::array<int, 2> kOutsideRuns[] = {";
    for (std::size_t i = 0; i < bounds.size(); i += 2)
        out += (i % 16 == 0 ? "\n" : " ") + std::string("{") + std::to_string(bounds[i]) + ", " +
               std::to_string(bounds[i + 1]) + "},";
    out += "\n};\n";

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "qv_gen_params: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
