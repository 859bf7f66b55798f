// qorv's value parser: numbers agree with a plain reference parser of its own
// (blanks, one sign, decimal digits, the range of int); list captions and
// "#INDEX" round trip; bytes printed by get are taken back only as printed.
#include <climits>
#include <optional>
#include <string>

#include "core/catalog.h"
#include "core/items.h"
#include "core/itemtext.h"
#include "fuzzsupport.h"

using qvfuzz::check;

namespace {

std::optional<int> reference(std::string_view t) {
    std::size_t a = 0, b = t.size();
    while (a < b && (t[a] == ' ' || t[a] == '\t'))
        ++a;
    while (b > a && (t[b - 1] == ' ' || t[b - 1] == '\t'))
        --b;
    t = t.substr(a, b - a);
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty()) return std::nullopt;
    long long v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 1LL + INT_MAX) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qvfuzz::Input in(data, size);
    static const std::vector<qv::ItemRow> rows = qv::itemRows();
    const qv::Item& item = *rows[in.word() % rows.size()].item;
    const auto rest = in.rest();
    const std::string text(reinterpret_cast<const char*>(rest.data()), rest.size());

    check(qv::parseDecimal(text) == reference(text));
    const std::optional<int> v = qv::parseValue(item, text);
    if (v) check(item.accepts(*v));
    if (item.kind == qv::ItemKind::Numeric) {
        const auto r = reference(text);
        check(v == (r && item.accepts(*r) ? r : std::nullopt));
    }

    if (item.kind == qv::ItemKind::Choice) {
        const auto& captions = item.list->captions();
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const int index = static_cast<int>(i);
            check(qv::parseValue(item, "#" + std::to_string(i)) == index);
            // A caption as shown names its entry, or an earlier one of the same text.
            const auto byCaption = qv::parseValue(item, qv::shownText(item, {false, index}));
            check(byCaption && *byCaption <= index &&
                  qv::stripMnemonic(captions[static_cast<std::size_t>(*byCaption)]) ==
                      qv::stripMnemonic(captions[i]));
        }
        // "#" and digits only, as printed.
        if (!text.empty() && text[0] == '#' && v) check(std::to_string(*v) == text.substr(1));
    }

    // The bytes form: taken only when get would print exactly this text.
    if (const auto bytes = qv::parseStoredBytes(item, text)) {
        check(bytes->size() == item.offsets.size());
        check(qv::valueTextOfBytes(item, *bytes) == text);
    }
    return 0;
}
