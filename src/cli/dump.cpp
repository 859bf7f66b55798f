// `qorv dump`: every item of every dialog, as an aligned table or as JSON.
#include <algorithm>
#include <array>
#include <charconv>
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

// A JSON string as nlohmann's writer gives it (UTF-8 kept, what is not valid UTF-8
// replaced). Written directly where nothing needs escaping, which is nearly every text:
// building and freeing a JSON value per field was most of a `qorv dump --json` (the row
// "qorv dump --json" of bench/run.py).
void appendString(std::string& out, std::string_view s) {
    const bool plain = std::all_of(
        s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (!plain) {
        out += nlohmann::json(std::string(s))
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out += '"';
    out += s;
    out += '"';
}

template <typename Number>
void appendNumbers(std::string& out, const std::vector<Number>& numbers) {
    out += '[';
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        if (k) out += ',';
        char digits[16];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, numbers[k]).ptr);
    }
    out += ']';
}

// One item per line: still one JSON object, and easy to grep.
void printJson(const std::string& file, const RomDocument& doc, const std::vector<ItemRow>& rows) {
    std::string out;
    out.reserve(300 * rows.size()); // about the length of an item's line
    out += "{\"file\": ";
    appendString(out, file);
    out += ", \"size\": " + std::to_string(doc.fileSize()) +
           ", \"trainer\": " + (doc.trainer() ? "true" : "false") + ", \"items\": [";
    const char* separator = "\n";
    for (const ItemRow& r : rows) {
        const Item& it = *r.item;
        const ItemState s = it.read(doc.image(), doc.shift());
        out += separator;
        out += "  {\"dialog\":";
        appendString(out, dialogName(*r.table));
        out += ",\"page\":";
        appendString(out, r.page->caption);
        out += ",\"group\":";
        appendString(out, r.group->caption);
        out += ",\"control\":";
        appendString(out, it.control);
        out += ",\"label\":";
        appendString(out, labelOf(r));
        out += ",\"kind\":";
        appendString(out, kindName(it.kind));
        out += ",\"offsets\":";
        appendNumbers(out, it.offsets);
        out += ",\"bytes\":";
        appendNumbers(out, itemBytes(it, doc.image(), doc.shift()));
        out += ",\"value\":";
        appendString(out, shownText(it, s));
        out += ",\"default\":";
        appendString(out, defaultText(it));
        out += ",\"state\":";
        appendString(out, stateName(s));
        out += '}';
        separator = ",\n";
    }
    out += "\n]}\n";
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
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
        printJson(file, *doc, rows);
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
