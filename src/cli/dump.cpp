// `qorv dump`: every item of every dialog, as an aligned table or as JSON.
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

// Table text as a JSON string: quotes, backslashes and control characters escaped,
// any other byte as it is (the tables hold UTF-8).
void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t plain = 0; // where the run of bytes that need no escape starts
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            static constexpr char kHex[] = "0123456789abcdef";
            (out += "\\u00") += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

void appendDecimal(std::string& out, int value) {
    char text[16];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
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
        // Each line written as it goes, not built as JSON values first: the row
        // "qorv dump --json" of make bench.
        std::string line, label, value, byDefault;
        const char* separator = "\n  {";
        for (const ItemRow& r : rows) {
            const Item& it = *r.item;
            const ItemState s = it.read(doc->image(), doc->shift());
            label.clear();
            appendLabel(label, r);
            value.clear();
            appendShown(value, it, s);
            byDefault.clear();
            appendShown(byDefault, it, {false, it.defaultValue});
            line = separator;
            separator = ",\n  {";
            const auto field = [&](std::string_view name, std::string_view text) {
                if (line.back() != '{') line += ',';
                appendJsonString(line, name);
                line += ':';
                appendJsonString(line, text);
            };
            const auto numbers = [&](std::string_view name, const auto& values) {
                line += ',';
                appendJsonString(line, name);
                line += ":[";
                for (std::size_t i = 0; i < values.size(); ++i) {
                    if (i > 0) line += ',';
                    appendDecimal(line, values[i]);
                }
                line += ']';
            };
            field("dialog", dialogName(*r.table));
            field("page", r.page->caption);
            field("group", r.group->caption);
            field("control", it.control);
            field("label", label);
            field("kind", kindName(it.kind));
            numbers("offsets", it.offsets);
            numbers("bytes", itemBytes(it, doc->image(), doc->shift()));
            field("value", value);
            field("default", byDefault);
            field("state", stateName(s));
            line += '}';
            std::cout << line;
        }
        std::cout << "\n]}\n";
        return;
    }

    std::vector<Line> lines{
        {"DIALOG", "PAGE", "GROUP", "CONTROL", "OFFSETS", "BYTES", "VALUE", "DEFAULT", "STATE"}};
    for (const ItemRow& r : rows) {
        const Item& it = *r.item;
        const ItemState s = it.read(doc->image(), doc->shift());
        lines.push_back({dialogName(*r.table), std::string(r.page->caption),
                         std::string(r.group->caption), std::string(it.control),
                         offsetsText(it.offsets),
                         bytesText(itemBytes(it, doc->image(), doc->shift())), shownText(it, s),
                         defaultText(it), std::string(stateName(s))});
    }
    printTable(lines);
}

} // namespace qv::cli
