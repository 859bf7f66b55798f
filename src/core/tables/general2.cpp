// The General 2 dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/general2.h"

#include <array>
#include <cstdio>
#include <utility>

#include "core/tables/builders.h"
#include "core/tables/codecs.h"

namespace qv::tables {
namespace {

// Signed, except that 0x80 reads as +128: the speeds run -127..128.
int decodeSigned128(std::span<const int> f) {
    const int b = unsignedField(f[0]);
    return b <= 0x80 ? b : b - 256;
}

// The erase rate counts down from the byte to zero, so 0 is the slowest (256 steps).
int decodeReversed(std::span<const int> f) {
    const int u = unsignedField(f[0]);
    return 257 - (u == 0 ? 256 : u);
}
void encodeReversed(int v, std::span<int> f) {
    f[0] = low8(257 - v);
}

// A row/column pair: row in bits 7..6, column in bits 4..1; bits 5 and 0 stay clear.
bool validPair(int field) {
    return (field & 0x21) == 0;
}
int pairRow(int field) {
    return unsignedField(field) >> 6;
}
int pairColumn(int field) {
    return (field >> 1) & 0x0F;
}
int withRow(int field, int row) {
    return row * 64 + (field & 0x1E);
}
int withColumn(int field, int column) {
    return (field & 0xC0) + column * 2;
}

// The bridge is one object: its 13 pieces must all be valid pairs on one row.
constexpr int kPieces = kBridgePieces;
bool bridgeValid(std::span<const int> f) {
    for (int k = 0; k < kPieces; ++k)
        if (!validPair(f[k]) || pairRow(f[k]) != pairRow(f[0])) return false;
    return true;
}

// Piece K's column, read over all 13 bytes so that a broken bridge freezes every piece
// (-1 is outside every piece's range).
template <int K> int decodePiece(std::span<const int> f) {
    return bridgeValid(f) ? pairColumn(f[K]) : -1;
}
template <int K> void encodePiece(int v, std::span<int> f) {
    f[K] = withColumn(f[K], v);
}
template <std::size_t... K>
constexpr std::array<Encoding, kPieces> pieceEncodings(std::index_sequence<K...>) {
    return {Encoding{"bridge column", kPieces, &decodePiece<K>, &encodePiece<K>}...};
}

int decodePairRow(std::span<const int> f, std::span<const int>) {
    return validPair(f[0]) ? pairRow(f[0]) : -1;
}
void encodePairRow(int p, std::span<int> f, std::span<const int>) {
    f[0] = withRow(f[0], p);
}
int decodePairColumn(std::span<const int> f, std::span<const int>) {
    return validPair(f[0]) ? pairColumn(f[0]) : -1;
}
void encodePairColumn(int p, std::span<int> f, std::span<const int>) {
    f[0] = withColumn(f[0], p);
}
int decodeBridgeRow(std::span<const int> f, std::span<const int>) {
    return bridgeValid(f) ? pairRow(f[0]) : -1;
}
void encodeBridgeRow(int p, std::span<int> f, std::span<const int>) {
    for (int& field : f)
        field = withRow(field, p);
}

} // namespace

const Encoding signed128{"signed -127..128", 1, &decodeSigned128, &enc::encodeSigned};
const Encoding reversedCount{"reversed count", 1, &decodeReversed, &encodeReversed};
const std::array<Encoding, kBridgePieces> bridgePiece =
    pieceEncodings(std::make_index_sequence<kBridgePieces>{});
const RuleKind pairRowKind{"row of a row/column pair", &decodePairRow, &encodePairRow};
const RuleKind pairColumnKind{"column of a row/column pair", &decodePairColumn, &encodePairColumn};
const RuleKind bridgeRowKind{"row of all bridge pieces", &decodeBridgeRow, &encodeBridgeRow};

namespace {

using rule::highNibble;

ChoiceRule pairRowRule() {
    return {&pairRowKind, 1, {}};
}
ChoiceRule pairColumnRule() {
    return {&pairColumnKind, 1, {}};
}
ChoiceRule bridgeRowRule() {
    return {&bridgeRowKind, kPieces, {}};
}
// The byte is the position, read unsigned (every byte names an entry of a 256 list).
ChoiceRule unsignedIndex(int offset) {
    return rule::indexOffset(-offset, true);
}

ChoiceListRef list(int first, int last, int marked,
                   std::vector<std::pair<int, std::string>> suffixes = {}) {
    return numberList(first, last, marked, std::move(suffixes));
}

const std::string kHidden = " (Hidden)";
const std::string kUnerasable = " (Unerasable)";

// Elevations 0..14 at Bowser's bridge: only 6..9 can be erased; 14 is hidden.
ChoiceListRef erasableElevations(int marked) {
    std::vector<std::pair<int, std::string>> s{{14, kHidden}};
    for (int n : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13})
        s.emplace_back(n, kUnerasable);
    return list(0, 14, marked, std::move(s));
}

ChoiceListRef deleteTargets() {
    return lazyList(15, [=] {
        std::vector<std::string> out{"Axe Only", "Axe and Rope"};
        for (int n = 1; n <= 12; ++n)
            out.push_back("Bridge " + std::to_string(n) + " All");
        out.push_back("All  [Default]");
        return out;
    });
}

// The objects an item block can produce, by code; unnamed codes are "NULL".
std::vector<std::string_view> blockObjectNames() {
    std::vector<std::string_view> caption(256, "NULL");
    const auto name = [&](int first, int last, const char* text) {
        for (int c = first; c <= last; ++c)
            caption[static_cast<std::size_t>(c)] = text;
    };
    name(0x00, 0x00, "Green Koopa Troopa (Midair)");
    name(0x01, 0x01, "Red Koopa Troopa (Midair)");
    name(0x02, 0x02, "Buzzy Beetle (Midair)");
    name(0x03, 0x03, "Red Koopa Troopa (Midair)");
    name(0x04, 0x04, "Green Koopa Troopa (Midair)");
    name(0x05, 0x05, "Hammer Bros. (Falling)");
    name(0x06, 0x06, "Goomba (Midair)");
    name(0x07, 0x07, "Blooper");
    name(0x08, 0x08, "Bullet Bill (Reverses Direction)");
    name(0x09, 0x09, "G. Paratroopa (Still)→R. Koopa Troopa");
    name(0x0A, 0x0A, "G. Cheep-Cheep (Flipped)→G. Koopa");
    name(0x0B, 0x0B, "R. Cheep-Cheep (Flipped)→R. Koopa");
    name(0x0C, 0x0C, "Podoboo (From Ground)");
    name(0x0D, 0x0D, "Piranha Plant (Still)");
    name(0x0E, 0x0E, "Green Paratroopa (Bounce In-Place)");
    name(0x0F, 0x0F, "Red Paratroopa (Up)");
    name(0x10, 0x10, "Green Paratroopa (L/R)");
    name(0x11, 0x11, "Lakitu (Flees Left)");
    name(0x12, 0x12, "Spiny (Falling)");
    name(0x13, 0x13, "Unknown (Still)→Red Koopa Troopa");
    name(0x14, 0x14, "Red Cheep-Cheep (Falls Off-Screen)");
    name(0x16, 0x16, "Fireworks");
    name(0x1B, 0x1E, "Firebar (Static)");
    name(0x1F, 0x22, "Long Firebar (Static)");
    name(0x24, 0x24, "Lift (Still, Errors)");
    name(0x25, 0x25, "Lift (Up, Still)");
    name(0x26, 0x29, "Lift (Still, Errors)");
    name(0x2A, 0x2A, "Lift (Horz., Errors)");
    name(0x2B, 0x2C, "Small Lift (Still, Errors)");
    name(0x2D, 0x2D, "Bowser (Errors)");
    name(0x2E, 0x2E, "Mushrooms, Flower, Starman  [Default]");
    name(0x2F, 0x2F, "Glitch");
    name(0x30, 0x30, "Flag");
    name(0x32, 0x32, "Springboard (Unusable)");
    name(0x35, 0x35, "Toad / Peach");
    name(0x6F, 0x6F, "Long Firebar (Static)");
    name(0x86, 0x86, "Glitch");
    name(0x90, 0x90, "Glitch");
    name(0x91, 0x91, "Large Jump");
    name(0x92, 0x92, "Glitch (Floating Near Pole)");
    name(0x94, 0x94, "Unknown (Falls Off-Screen)");
    name(0x96, 0x96, "Fireworks");
    name(0x9B, 0xA2, "Long Firebar (Static)");
    name(0xA4, 0xA4, "Lift (Still, Errors)");
    name(0xA5, 0xA5, "Lift (Up, Still)");
    name(0xA6, 0xA9, "Lift (Still, Errors)");
    name(0xAA, 0xAA, "Lift (Horz., Errors)");
    name(0xAB, 0xAC, "Small Lift (Horz., Errors)");
    name(0xAD, 0xAD, "Bowser (Errors)");
    name(0xAE, 0xAE, "Airborne Poison Mushroom, Flower, Star");
    name(0xAF, 0xAF, "Glitch");
    name(0xB5, 0xB5, "Springboard-ish (Unusable)");
    name(0xEF, 0xEF, "Long Firebar (Static)");
    for (int c : {0x3A, 0x41, 0xB2, 0xBA, 0xC1})
        name(c, c, "-");
    for (auto [first, last] : std::initializer_list<std::pair<int, int>>{
             {0x36, 0x36}, {0x38, 0x39}, {0x3B, 0x3B}, {0x3D, 0x3D}, {0x3F, 0x40}, {0x42, 0x43},
             {0x45, 0x46}, {0x48, 0x4F}, {0x65, 0x65}, {0x67, 0x68}, {0x6A, 0x6B}, {0x6D, 0x6E},
             {0x70, 0x71}, {0x73, 0x74}, {0x76, 0x77}, {0x79, 0x7A}, {0x7C, 0x7D}, {0x7F, 0x80},
             {0x82, 0x85}, {0x87, 0x87}, {0x8A, 0x8A}, {0x8C, 0x8F}, {0x93, 0x93}, {0xB6, 0xB6},
             {0xB8, 0xB9}, {0xBB, 0xBD}, {0xBF, 0xC0}, {0xC2, 0xC3}, {0xC5, 0xC6}, {0xC8, 0xCF},
             {0xE5, 0xE5}, {0xE7, 0xE8}, {0xEA, 0xEB}, {0xED, 0xEE}, {0xF0, 0xF1}, {0xF3, 0xF4},
             {0xF6, 0xF7}, {0xF9, 0xFA}, {0xFC, 0xFD}, {0xFF, 0xFF}})
        name(first, last, "Unknown");
    return caption;
}

Group flagpole() {
    Group g = group(
        "Flagpole Object and Behavior", 6609, "SpdPole",
        {choice("CmbPoleMaru", "Fi&nial:", 0x19B1,
                list(-1, 14, 0, {{-1, kHidden}, {13, kHidden}, {14, kHidden}}), unsignedIndex(0xA0),
                1),
         choice("CmbPoleFlag", "&Flag:", 0x19D1, list(-2, 13, 1, {{13, kHidden}}), highNibble(0x0),
                3),
         choice("CmbPoleFlagStop", "F&lag Stop:", 0x387E, list(-1, 14, 9), highNibble(0xA), 10),
         choice("CmbPoleLine", "Pole Sta&rt:", 0x19B4, list(0, 13, 1, {{13, kHidden}}),
                rule::byteIndex(), 1),
         choice("CmbPoleLineLen", "Pole &End:", 0x19B6, list(1, 14, 9), rule::byteIndex(), 8),
         choice("CmbPoleBlock", "&Block:", 0x19BF, list(0, 13, 10, {{13, kHidden}}),
                unsignedIndex(0xA1), 10),
         choice("CmbPoleScore", "&Score:", 0x19D5, list(-2, 13, 9, {{13, kHidden}}),
                highNibble(0x0), 11),
         choice("CmbPoleMario", "&Mario Stop:", 0x32C7, list(0, 15, 9), highNibble(0xE), 9),
         choice("CmbPoleMaDown", "&Drop Down:", 0x3884, list(0, 15, 10), highNibble(0x2), 10),
         numeric("EditPoleFlagDown", "Fla&g Descent Speed:", 0x3892, signed128, -127, 128, 1),
         numeric("EditPoleScoreUp", "Score &Ascent Speed:", 0x38A2, signed128, -127, 128, 1)});
    g.notes = {"Also see [Mario Settings]-[Vines]-[Vine, Pole Descent Speed]."};
    return g;
}

Group bridgeObjects() {
    std::vector<Item> items{
        choice("CmbOnoDelY", "&Vertical:", 0x4FED, list(6, 9, 6), pairRowRule(), 0),
        choice("CmbOnoDelX", "H&orizontal:", 0x4FED, list(0, 15, 13), pairColumnRule(), 13),
        choice("CmbRopeDelY", "V&ertical:", 0x4FEE, list(6, 9, 7), pairRowRule(), 1),
        choice("CmbRopeDelX", "Ho&rizontal:", 0x4FEE, list(0, 15, 12), pairColumnRule(), 12),
        choice("CmbKpbgDelY", "Ver&tical:", 0x4FEF, list(6, 9, 8), bridgeRowRule(), 2),
    };
    // Piece k (1..13) sits at 0x4FEE + k; each reads all 13 bytes. Only the first
    // carries the shared label and range.
    for (int k = 1; k <= kPieces; ++k) {
        Item piece = strict(numericAt(
            "EditKpbgDelX" + std::to_string(k), k == 1 ? "Hori&zontal:" : "",
            {0x4FEF, 0x4FF0, 0x4FF1, 0x4FF2, 0x4FF3, 0x4FF4, 0x4FF5, 0x4FF6, 0x4FF7, 0x4FF8, 0x4FF9,
             0x4FFA, 0x4FFB},
            bridgePiece[static_cast<std::size_t>(k - 1)], 0, 15, 13 - k,
            k == 1 ? "[0～15 Default: 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0]" : "", 2));
        items.push_back(std::move(piece));
    }
    items.push_back(
        choice("CmbKpbgLen", "&Length:", 0x1A12, list(1, 16, 13), rule::byteIndex(), 12));
    items.push_back(
        choice("CmbDelObjVal", "T&arget:", 0x5060, deleteTargets(), unsignedIndex(1), 14));
    Group g =
        group("Objects Repositioned When Axe Collected", 20463, "SpdKpbgDel", std::move(items));
    // The three row/column pairs side by side under their headings, the bridge's 13
    // columns across; length and target below.
    g.blocks = {{"Axe", 2, {}, -1}, {"Rope", 2, {}, -1}, {"Bridge", 1 + kPieces, {}, -1}};
    g.wide = true;
    return g;
}

Group bridgeElevations() {
    Group g = group(
        "Elevations", 6669, "SpdKpbgHeight",
        {choice("CmbOnoHeight", "A&xe:", 0x1A0B, list(0, 14, 6, {{14, kHidden}}), rule::byteIndex(),
                6),
         choice("CmbRopeHeight", "Ro&pe:", 0x1A0C, erasableElevations(7), rule::byteIndex(), 7),
         choice("CmbKpbgHeight", "Br&idge:", 0x1A0D, erasableElevations(8), rule::byteIndex(), 8)});
    g.notes = {"See [Enemies 3]-[Bowser 1] -[Bowser Movement Range]."};
    return g;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormZenpan2";
    t.caption = "General Settings 2";
    t.undoSuffix = "(General 2)";
    t.helpContext = 300;

    t.pages = pageList({
        page("Flagpole", "TabPole", {flagpole()}),
        page("Castle Flag", "TabCastleFlag",
             {group("Flag Elevation", 6257, "SpdCsFlag",
                    {choice("CmbCsFlagStart", "&Lowered Elevation:", 0x1871, list(-2, 13, 7),
                            highNibble(0x0), 9),
                     choice("CmbCsFlagStop", "&Raised Elevation:", 0x5361, list(-2, 13, 5),
                            highNibble(0x2), 7)})}),
        page("Bowser Bridge", "TabKpbg",
             {bridgeObjects(), bridgeElevations(),
              group("Erase Rate", 20523, "SpdDelKpbgSpd",
                    {numeric("EditDelKpbgSpd", "&Set Value:", 0x502B, reversedCount, 1, 256, 253,
                             3)})}),
        page("Toad", "TabKino",
             {group("Toad / Peach Elevation", 17176, "SpdKinoHeight",
                    {choice("CmbKinoHeight", "Set V&alue:", 0x4318,
                            list(-1, 14, 10, {{13, " (Not Visible)"}, {14, " (Not Visible)"}}),
                            highNibble(0x8), 11)}),
              group("Mario Stop Position", 986, "SpdMaStopWidth",
                    {choice("CmbMaStopWidth", "Set &Value:", 0x03DA,
                            list(2, 17, 8,
                                 {{2, " (Shifted by Steps)"},
                                  {3, " (Shifted by Steps)"},
                                  {6, " "},
                                  {14, " (Off-Screen)"},
                                  {15, " (Off-Screen)"},
                                  {16, " (Off-Screen)"},
                                  {17, " (Off-Screen)"}}),
                            highNibble(0x0), 6)})}),
        page("Advanced", "TabAdvance",
             {group("Item Block Character", 15450, "SpdBlocItemAdvc",
                    {choice("CmbBlocItemAdvc", "Set &Character:", 0x3C5A,
                            codeNames(256, blockObjectNames), unsignedIndex(0), 0x2E)}),
              group("Screen Setting", 173, "SpdMonoView",
                    {check("ChkMonoView", "&Monochrome", 0x00AD, {0x1F}, {0x1E})})}),
    });
    return t;
}

} // namespace

std::optional<int> bridgePieceColumn(int field) {
    if (!validPair(field)) return std::nullopt;
    return pairColumn(field);
}

const DialogTable& general2() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

} // namespace qv::tables
