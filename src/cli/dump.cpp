// `qorv dump`: every item of every dialog, as an aligned table or as JSON.
#include <array>
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "core/catalog.h"
#include "core/itemtext.h"

namespace qv::cli {
namespace {

std::string_view kindName(ItemKind k) {
    switch (k) {
    case ItemKind::Numeric:
        return "numeric";
    case ItemKind::Check:
    case ItemKind::Flag:
        return "check";
    case ItemKind::Choice:
        return "choice";
    }
    return "";
}

std::string_view stateName(const ItemState& s) {
    return s.outOfBounds ? "out-of-bounds" : "ok";
}

// Columns line up in characters, not bytes: captions may hold non-ASCII text.
std::size_t width(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

constexpr std::size_t kColumns = 9;
using Line = std::array<std::string, kColumns>;

void printTable(const std::vector<Line>& lines) {
    std::array<std::size_t, kColumns> widths{};
    for (const Line& l : lines)
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], width(l[c]));
    for (const Line& l : lines) {
        std::string out;
        for (std::size_t c = 0; c < kColumns; ++c) {
            out += l[c];
            if (c + 1 < kColumns) out += std::string(widths[c] - width(l[c]) + 2, ' ');
        }
        std::cout << out << "\n";
    }
}

} // namespace

void dump(const std::string& file, bool json, const std::optional<std::string>& dialog) {
    const DialogTable* only = nullptr;
    if (dialog && !(only = findDialog(*dialog)))
        throw Failure{Exit::BadInput,
                      "no dialog is named \"" + *dialog + "\"; the dialogs are " + dialogNames()};
    const auto doc = loadImage(file);
    const auto rows = itemRows(only);

    if (json) {
        // A file name need not be valid UTF-8; replace what JSON cannot carry.
        const auto text = [](const nlohmann::ordered_json& j) {
            return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        };
        // One item per line: still one JSON object, and easy to grep.
        std::cout << "{\"file\": " << text(file) << ", \"size\": " << doc->fileSize()
                  << ", \"trainer\": " << (doc->trainer() ? "true" : "false") << ", \"items\": [";
        const char* separator = "\n";
        for (const ItemRow& r : rows) {
            const Item& it = *r.item;
            const ItemState s = it.read(doc->image(), doc->shift());
            const nlohmann::ordered_json item{{"dialog", dialogName(*r.table)},
                                              {"page", r.page->caption},
                                              {"group", r.group->caption},
                                              {"control", it.control},
                                              {"label", labelOf(r)},
                                              {"kind", std::string(kindName(it.kind))},
                                              {"offsets", it.offsets},
                                              {"bytes", itemBytes(it, doc->image(), doc->shift())},
                                              {"value", shownText(it, s)},
                                              {"default", defaultText(it)},
                                              {"state", std::string(stateName(s))}};
            std::cout << separator << "  " << text(item);
            separator = ",\n";
        }
        std::cout << "\n]}\n";
        return;
    }

    std::vector<Line> lines{
        {"DIALOG", "PAGE", "GROUP", "CONTROL", "OFFSETS", "BYTES", "VALUE", "DEFAULT", "STATE"}};
    for (const ItemRow& r : rows) {
        const Item& it = *r.item;
        const ItemState s = it.read(doc->image(), doc->shift());
        lines.push_back({dialogName(*r.table), r.page->caption, r.group->caption, it.control,
                         offsetsText(it.offsets),
                         bytesText(itemBytes(it, doc->image(), doc->shift())), shownText(it, s),
                         defaultText(it), std::string(stateName(s))});
    }
    printTable(lines);
}

} // namespace qv::cli
