// The Basic blocks sub-dialog's columns. For the command line each column is one
// item whose value has bit r set when row r is filled (the cloud column: its byte,
// bit k for row 8 + k); a column whose high byte lies outside 0..31 is out of bounds.
#include "core/tables/basicblocks.h"

#include <array>
#include <string>

#include "core/tables/builders.h"
#include "core/tables/codecs.h"

namespace qv::tables {
namespace {

struct Default {
    std::uint8_t low, high;
};
// Pattern i at 0x13EC + 2i (low byte) and 0x13ED + 2i (high byte).
constexpr std::array<Default, 16> kPatterns{{
    {0x00, 0x00}, // 0  none
    {0x00, 0x18}, // 1  11, 12
    {0x01, 0x18}, // 2  0; 11, 12
    {0x07, 0x18}, // 3  0..2; 11, 12
    {0x0F, 0x18}, // 4  0..3; 11, 12
    {0xFF, 0x18}, // 5  0..7; 11, 12
    {0x01, 0x1F}, // 6  0; 8..12
    {0x07, 0x1F}, // 7  0..2; 8..12
    {0x0F, 0x1F}, // 8  0..3; 8..12
    {0x81, 0x1F}, // 9  0, 7; 8..12
    {0x01, 0x00}, // 10 0
    {0x8F, 0x1F}, // 11 0..3, 7; 8..12
    {0xF1, 0x1F}, // 12 0, 4..7; 8..12
    {0xF9, 0x18}, // 13 0, 3..7; 11, 12
    {0xF1, 0x18}, // 14 0, 4..7; 11, 12
    {0xFF, 0x1F}, // 15 0..12
}};
constexpr int kFirstPattern = 0x13EC;
constexpr int kCloud = 0x14B5;
constexpr std::uint8_t kCloudDefault = 0x08; // row 11

// Fields [low, high]; the value is the 16-bit pattern, rows 0..12 as bits 0..12.
int decodeColumn(std::span<const int> f) {
    return unsignedField(f[0]) | unsignedField(f[1]) << 8;
}
void encodeColumn(int v, std::span<int> f) {
    f[0] = signExtend(low8(v));
    f[1] = signExtend(low8(v >> 8));
}

} // namespace

const Encoding blockColumnEncoding{"block column", 2, &decodeColumn, &encodeColumn};

namespace {

DialogTable build() {
    DialogTable t;
    t.className = "TFormKihonBloc";
    t.caption = "Basic Blocks - General Settings 1";
    // Never committed on its own (General 1 writes its bytes); the suffix names the
    // dialog on the command line.
    t.undoSuffix = "(Basic blocks)";
    t.helpContext = 5100;

    std::vector<Item> items;
    for (std::size_t i = 0; i < kPatterns.size(); ++i) {
        const int value = kPatterns[i].low | kPatterns[i].high << 8;
        const int low = kFirstPattern + 2 * static_cast<int>(i);
        items.push_back(
            strict(numericAt("KbPattern" + std::to_string(i), "Pattern " + std::to_string(i),
                             {low, low + 1}, blockColumnEncoding, 0, 8191, value)));
    }
    items.push_back(
        strict(numeric("KbClouds", "Clouds↑", kCloud, enc::unsignedByte, 0, 31, kCloudDefault)));
    Group g = group("Basic Block Settings", 5100, "SpdKihonBloc", std::move(items));
    g.objectName = "GrpKihonBloc";
    t.pages = pageList({page("Basic Block Settings", {std::move(g)})});
    return t;
}

std::array<BlockColumn, kBlockColumns> buildColumns() {
    std::array<BlockColumn, kBlockColumns> out{};
    for (int i = 0; i < 16; ++i) {
        const auto& d = kPatterns[static_cast<std::size_t>(i)];
        out[static_cast<std::size_t>(i)] = {"0123456789ABCDEF"[i], kFirstPattern + 2 * i,
                                            kFirstPattern + 2 * i + 1, d.low, d.high};
    }
    out[16] = {'Z', -1, kCloud, 0, kCloudDefault};
    return out;
}

} // namespace

const DialogTable& basicBlocks() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

std::span<const BlockColumn> blockColumns() {
    static const std::array<BlockColumn, kBlockColumns> columns = buildColumns();
    return columns;
}

bool blockHighEditable(int field) {
    const int v = signExtend(low8(field));
    return v >= 0 && v <= 31;
}

} // namespace qv::tables
