#include "core/itemtext.h"

#include <charconv>
#include <cstdio>

#include "core/rom.h"

namespace qv {

std::string stripMnemonic(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // "&&" keeps one "&"
        else if (caption[i] == '&')
            continue;
        out += caption[i];
    }
    return out;
}

std::string valueText(const Item& item, const ItemState& state) {
    return stripMnemonic(item.text(state));
}

std::string defaultText(const Item& item) {
    return valueText(item, {false, item.defaultValue});
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
    const std::vector<std::string>& captions = item.list->captions;
    const int count = static_cast<int>(captions.size());
    if (text.starts_with('#')) {
        int index = -1;
        const char* end = text.data() + text.size();
        const auto [p, ec] = std::from_chars(text.data() + 1, end, index);
        if (text.size() < 2 || ec != std::errc() || p != end || index < 0 || index >= count)
            return std::nullopt;
        return index;
    }
    for (int i = 0; i < count; ++i)
        if (captions[static_cast<std::size_t>(i)] == text) return i;
    for (int i = 0; i < count; ++i)
        if (stripMnemonic(captions[static_cast<std::size_t>(i)]) == text) return i;
    // The decoration is only a hint to the user; dropping it must not make two
    // entries read alike.
    std::optional<int> found;
    for (int i = 0; i < count; ++i) {
        if (undecorated(stripMnemonic(captions[static_cast<std::size_t>(i)])) != text) continue;
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
        for (const std::string& c : item.list->captions)
            out += " \"" + stripMnemonic(c) + "\",";
        return out + " or #0 to #" + std::to_string(item.list->captions.size() - 1);
    }
    }
    return {};
}

std::vector<std::uint8_t> itemBytes(const Item& item, std::span<const std::uint8_t> image,
                                    int shift) {
    std::vector<std::uint8_t> out;
    for (int off : item.offsets)
        out.push_back(image[static_cast<std::size_t>(shifted(off, shift))]);
    return out;
}

static std::string hex(int value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(digits), '0');
    auto v = static_cast<unsigned>(value);
    for (int i = digits - 1; i >= 0; --i, v >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[v & 0xFu];
    return out;
}

std::string offsetsText(const std::vector<int>& offsets) {
    std::string out;
    for (std::size_t i = 0; i < offsets.size();) {
        std::size_t j = i;
        while (j + 1 < offsets.size() && offsets[j + 1] == offsets[j] + 1)
            ++j;
        if (!out.empty()) out += ",";
        out += "0x" + hex(offsets[i], 4);
        if (j > i) out += "-0x" + hex(offsets[j], 4);
        i = j + 1;
    }
    return out;
}

std::string bytesText(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (std::uint8_t b : bytes)
        out += (out.empty() ? "" : " ") + hex(b, 2);
    return out;
}

} // namespace qv
