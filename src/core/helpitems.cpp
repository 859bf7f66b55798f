#include "core/helpitems.h"

#include <map>

#include "core/catalog.h"
#include "core/itemtext.h"
#include "core/rom.h"

namespace qv {

namespace {

// What each numeric encoding does to the number, in words.
const std::map<std::string_view, std::string_view>& numericWords() {
    static const std::map<std::string_view, std::string_view> words{
        {"signed", "signed byte (two's complement)"},
        {"negated", "negated: the byte holds minus the value"},
        {"unsigned", "unsigned byte"},
        {"auto walk", "signed byte, except that 80 and 81 read as 128 and 129"},
        {"lives", "plus one: the byte holds one less than the value (0 is stored as FF)"},
        {"complement", "complement: the byte holds 255 minus the value"},
        {"plus one", "plus one: the byte holds the value minus one"},
        {"zero is 256", "unsigned byte, 00 meaning 256"},
        {"signed 16-bit split",
         "signed 16-bit number, high byte at the first offset and low byte at the second"},
        {"reversed count", "reversed count"},
        {"block column", "block column: the 13-bit number has bit n set when row n is filled "
                         "(row 0 at the top; bits 0-7 in the first byte, rows 8-12 in bits "
                         "0-4 of the second)"},
        {"bridge column", "bridge column"},
    };
    return words;
}

std::string pattern(std::span<const std::uint8_t> bytes, std::span<const int> operands) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bool operand = false;
        for (int p : operands)
            operand = operand || p == static_cast<int>(i);
        const std::uint8_t one[] = {bytes[i]};
        out += (i ? " " : "") + (operand ? std::string("??") : bytesText(one));
    }
    return out;
}

} // namespace

std::string encodingText(const Item& item) {
    switch (item.kind) {
    case ItemKind::Numeric: {
        const std::string_view name = item.encoding ? item.encoding->name : "signed";
        const auto it = numericWords().find(name);
        return std::string(it != numericWords().end() ? it->second : name);
    }
    case ItemKind::Check:
        return "pattern A (checked) " + pattern(item.ticked, {}) + ", pattern B (unchecked) " +
               pattern(item.cleared, item.clearedOperands) +
               (item.clearedOperands.empty() ? "" : " (?? is kept as it stands)");
    case ItemKind::Choice: {
        std::string out = std::string(item.rule.name()) + "; entries as bytes:";
        const std::size_t count = item.list ? item.list->captions().size() : 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::vector<int> fields(static_cast<std::size_t>(std::max(item.rule.bytes, 1)), 0);
            item.rule.encode(static_cast<int>(i), fields);
            std::vector<std::uint8_t> bytes;
            for (int f : fields)
                bytes.push_back(low8(f));
            out += (i ? ", " : " ") + stripMnemonic(item.list->captions()[i]) + " = " +
                   bytesText(bytes);
        }
        return out;
    }
    default: {
        // Any other check box: the bytes each state leaves in an image of zeros.
        std::vector<std::uint8_t> image(static_cast<std::size_t>(kTrainerSize), 0);
        std::string out;
        for (const int v : {1, 0}) {
            item.write(image, 0, v);
            out +=
                std::string(v ? "checked " : ", unchecked ") + bytesText(itemBytes(item, image, 0));
        }
        return out + " (bits of the byte that other items own are kept)";
    }
    }
}

std::string bothLayouts(const Item& item) {
    return offsetsIn(item.offsets, 0) + " (with trainer " + offsetsIn(item.offsets, kTrainerShift) +
           ")";
}

ItemDetails itemDetails(const Item& item) {
    return {labelOf(item),     std::string(item.control), acceptedValues(item),
            defaultText(item), bothLayouts(item),         encodingText(item)};
}

} // namespace qv
