#include "core/itemtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "core/rom.h"

namespace qv {

void appendStripped(std::string& out, std::string_view caption) {
    for (std::size_t at; (at = caption.find('&')) != std::string_view::npos;) {
        out.append(caption.substr(0, at));
        if (at + 1 < caption.size()) out += caption[at + 1]; // "&&" keeps one "&"
        caption.remove_prefix(std::min(at + 2, caption.size()));
    }
    out.append(caption);
}

std::string stripMnemonic(std::string_view caption) {
    std::string out;
    appendStripped(out, caption);
    return out;
}

void appendShown(std::string& out, const Item& item, const ItemState& state) {
    if (state.outOfBounds) {
        out += kOutOfBounds;
        return;
    }
    switch (item.kind) {
    case ItemKind::Numeric: {
        char number[16];
        out.append(number, std::to_chars(number, number + sizeof number, state.value).ptr);
        break;
    }
    case ItemKind::Check:
    case ItemKind::Flag:
        out += checkText(state.value != 0);
        break;
    case ItemKind::Choice:
        appendStripped(out, item.list->caption(state.value));
        break;
    }
}

std::string shownText(const Item& item, const ItemState& state) {
    std::string out;
    appendShown(out, item, state);
    return out;
}

std::string defaultText(const Item& item) {
    return shownText(item, {false, item.defaultValue});
}

std::string valueTextOfBytes(const Item& item, std::span<const std::uint8_t> bytes) {
    std::array<int, kMaxItemBytes> fields{};
    const std::size_t n = std::min(bytes.size(), fields.size());
    for (std::size_t i = 0; i < n; ++i)
        fields[i] = signExtend(bytes[i]);
    const ItemState state = item.decode(std::span<const int>(fields.data(), n));
    if (state.outOfBounds) return "(Out of bounds: " + bytesText(bytes) + ")";
    const std::string shown = shownText(item, state);
    if (!item.accepts(state.value)) return "(Out of range " + shown + ": " + bytesText(bytes) + ")";
    // A value whose bytes would be written differently (another of the patterns that
    // read as the same entry) is given with its bytes, so that set keeps them.
    std::array<int, kMaxItemBytes> again = fields;
    item.encode(state.value, std::span<int>(again.data(), n));
    for (std::size_t i = 0; i < n; ++i)
        if (low8(again[i]) != bytes[i])
            return "(" + shown + " stored as: " + bytesText(bytes) + ")";
    return shown;
}

std::string valueText(const Item& item, std::span<const std::uint8_t> image, int shift) {
    return valueTextOfBytes(item, itemBytes(item, image, shift));
}

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> parseStoredBytes(const Item& item, std::string_view text) {
    if (!text.starts_with('(') || !text.ends_with(')')) return std::nullopt;
    const auto colon = text.rfind(": ");
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view hex = text.substr(colon + 2, text.size() - colon - 3);
    // "HH HH ...", upper case, one byte per offset: the form bytesText writes.
    if (hex.size() != item.offsets.size() * 3 - 1) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 3) {
        const int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0 || (i + 2 < hex.size() && hex[i + 2] != ' ')) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    // Only the exact text get would print for these bytes: a value that reads back
    // as something set accepts is given as that, not as bytes.
    if (valueTextOfBytes(item, bytes) != text) return std::nullopt;
    return bytes;
}

// "As Fire Mario [Default]" -> "As Fire Mario", "8  [Default]" -> "8".
static std::string_view undecorated(std::string_view caption) {
    constexpr std::string_view kMark = "[Default]";
    if (caption.ends_with(kMark)) caption.remove_suffix(kMark.size());
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    return caption;
}

static std::optional<int> parseChoice(const Item& item, std::string_view text) {
    const std::vector<std::string>& captions = item.list->captions();
    const int count = static_cast<int>(captions.size());
    if (text.starts_with('#')) {
        // Digits only, as the index is printed: "#-0" and "#01" name no entry.
        const std::string_view digits = text.substr(1);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos ||
            (digits.size() > 1 && digits.front() == '0'))
            return std::nullopt;
        int index = -1;
        const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (ec != std::errc() || index >= count) return std::nullopt;
        return index;
    }
    for (int i = 0; i < count; ++i)
        if (captions[static_cast<std::size_t>(i)] == text) return i;
    for (int i = 0; i < count; ++i)
        if (stripMnemonic(captions[static_cast<std::size_t>(i)]) == text) return i;
    // The decoration is only a hint to the user; dropping it must not make two
    // entries read alike.
    std::optional<int> found;
    // Either side may carry the mark, spaced as an older caption had it.
    const std::string_view bare = undecorated(text);
    for (int i = 0; i < count; ++i) {
        if (undecorated(stripMnemonic(captions[static_cast<std::size_t>(i)])) != bare) continue;
        if (found) return std::nullopt;
        found = i;
    }
    return found;
}

std::optional<int> parseValue(const Item& item, std::string_view text) {
    std::optional<int> v;
    switch (item.kind) {
    case ItemKind::Numeric:
        v = parseDecimal(text);
        break;
    case ItemKind::Check:
    case ItemKind::Flag:
        if (text == "checked")
            v = 1;
        else if (text == "unchecked")
            v = 0;
        break;
    case ItemKind::Choice:
        v = parseChoice(item, text);
        break;
    }
    if (v && !item.accepts(*v)) return std::nullopt;
    return v;
}

std::string acceptedValues(const Item& item) {
    switch (item.kind) {
    case ItemKind::Numeric:
        return "a whole number from " + std::to_string(item.acceptMin) + " to " +
               std::to_string(item.acceptMax);
    case ItemKind::Check:
    case ItemKind::Flag:
        return "checked or unchecked";
    case ItemKind::Choice: {
        std::string out = "one of";
        for (const std::string& c : item.list->captions())
            out += " \"" + stripMnemonic(c) + "\",";
        return out + " or #0 to #" + std::to_string(item.list->captions().size() - 1);
    }
    }
    return {};
}

std::vector<std::uint8_t> itemBytes(const Item& item, std::span<const std::uint8_t> image,
                                    int shift) {
    return bytesAt(image, shift, item.offsets);
}

std::vector<std::uint8_t> bytesAt(std::span<const std::uint8_t> image, int shift,
                                  std::span<const int> offsets) {
    std::vector<int> fields(offsets.size());
    readFields(image, shift, offsets, fields);
    std::vector<std::uint8_t> out;
    out.reserve(offsets.size());
    for (int f : fields)
        out.push_back(low8(f));
    return out;
}

char* putHex(char* p, int value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    digits = std::clamp(digits, 0, 8);
    auto v = static_cast<unsigned>(value);
    for (int i = digits - 1; i >= 0; --i, v >>= 4)
        p[i] = kDigits[v & 0xFu];
    return p + digits;
}

void appendHex(std::string& out, int value, int digits) {
    char text[8];
    out.append(text, putHex(text, value, digits));
}

char* putOffsetRange(char* p, int first, int last) {
    *p++ = '0', *p++ = 'x';
    p = putHex(p, first, 4);
    if (last != first) {
        *p++ = '-', *p++ = '0', *p++ = 'x';
        p = putHex(p, last, 4);
    }
    return p;
}

std::string hexDigits(int value, int digits) {
    std::string out;
    appendHex(out, value, digits);
    return out;
}

std::string offsetsText(std::span<const int> offsets) {
    return offsetsIn(offsets, 0);
}

std::string offsetsIn(std::span<const int> offsets, int shift) {
    std::string out;
    appendOffsets(out, offsets, shift);
    return out;
}

void appendOffsets(std::string& out, std::span<const int> offsets, int shift) {
    for (std::size_t i = 0; i < offsets.size();) {
        std::size_t j = i;
        while (j + 1 < offsets.size() && offsets[j + 1] == offsets[j] + 1)
            ++j;
        if (i > 0) out += ',';
        char text[kOffsetRangeSize];
        out.append(text,
                   putOffsetRange(text, shifted(offsets[i], shift), shifted(offsets[j], shift)));
        i = j + 1;
    }
}

std::string bytesText(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (std::uint8_t b : bytes)
        out += (out.empty() ? "" : " ") + hexDigits(b, 2);
    return out;
}

} // namespace qv
