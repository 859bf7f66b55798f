// The Scoring dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/scoring.h"

#include <algorithm>

#include <array>
#include <cassert>
#include <map>

#include "core/tables/builders.h"
#include "core/tables/codecs.h"

namespace qv::tables {
namespace {

// ---- Lists -------------------------------------------------------------------------

// Entry index = item score index = score-table slot.
const std::vector<std::string> kItemEntries{"0 (Hidden)", "100",   "200",   "400",
                                            "500",        "800",   "1,000", "2,000",
                                            "4,000",      "5,000", "8,000", "1UP"};

// Tile pairs that draw a floating score; "0 " keeps its trailing blank.
const std::vector<std::string> kDisplayEntries{
    "(Hidden)", "0 ",  "10",  "20",    "40",    "50",    "80",    "100",   "200",
    "400",      "500", "800", "1,000", "2,000", "4,000", "5,000", "8,000", "1UP"};
const std::vector<std::vector<std::uint8_t>> kDisplayTiles{
    {0xFC, 0xFC}, {0xFB, 0xFC}, {0xF6, 0xFC}, {0xF7, 0xFC}, {0xF8, 0xFC}, {0xF9, 0xFC},
    {0xFA, 0xFC}, {0xF6, 0xFB}, {0xF7, 0xFB}, {0xF8, 0xFB}, {0xF9, 0xFB}, {0xFA, 0xFB},
    {0xF6, 0x50}, {0xF7, 0x50}, {0xF8, 0x50}, {0xF9, 0x50}, {0xFA, 0x50}, {0xFD, 0xFE}};

std::string withCommas(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

// "0", then one digit 1..9 at each place from the tens to the millions: 55 entries.
constexpr int kPoints = 55;
std::string pointsEntry(int index) {
    if (index == 0) return "0";
    long long place = 10;
    for (int p = (index - 1) / 9; p > 0; --p)
        place *= 10;
    return withCommas(((index - 1) % 9 + 1) * place);
}

// Slot 11 awards an extra life besides its points.
std::string oneUpPointsEntry(int index) {
    return index == 0 ? "1UP" : pointsEntry(index) + " + 1UP";
}

// The coin counter has two digits: 0..9 at the ones, 10..90 at the tens.
constexpr int kCoinSteps = 19;
std::string coinStepEntry(int index) {
    return std::to_string(index <= 9 ? index : (index - 9) * 10);
}

// The `size` entries that `entry` writes, the default one marked.
template <class Entry> ChoiceListRef marked(int size, Entry entry, int index) {
    return entryList(size, [=](int i) { return i == index ? entry(i) + "  [Default]" : entry(i); });
}
// The same for a list that lives as long as the program.
ChoiceListRef marked(const std::vector<std::string>& entries, int index) {
    return marked(
        static_cast<int>(entries.size()),
        [&entries](int i) { return entries[static_cast<std::size_t>(i)]; }, index);
}

// ---- Rules -------------------------------------------------------------------------

// Points-list index <-> one digit at a place: index 0 is no points; index i >= 1 is
// digit (i - 1) mod 9 + 1 at place (i - 1) div 9 counted up from the tens.
int pointsIndex(int digit, int placeFromTens) {
    return placeFromTens * 9 + digit;
}
int digitOf(int index) {
    return (index - 1) % 9 + 1;
}
int placeOf(int index) {
    return (index - 1) / 9;
}

// Score-table points: digit position (0 = millions .. 5 = tens) x 16 + digit.
int decodeScoreDigit(std::span<const int> f, std::span<const int>) {
    const int b = unsignedField(f[0]);
    if (b == 0x00) return 0;
    const int position = b >> 4, digit = b & 0x0F;
    if (position > 5 || digit < 1 || digit > 9) return -1;
    return pointsIndex(digit, 5 - position);
}
void encodeScoreDigit(int index, std::span<int> f, std::span<const int>) {
    const int b = index == 0 ? 0 : 16 * (5 - placeOf(index)) + digitOf(index);
    f[0] = signExtend(low8(b));
}

// LDA #digit / STA $07xx, where xx selects the counter digit: 0x39 the lowest, down to
// `highest` (the parameter). Value 10 at the lowest digit carries into the next one, so
// it reads as the entry above 9 and is written back in that canonical form.
int decodeDigitAdd(std::span<const int> f, std::span<const int> params) {
    const int highest = params[0];
    const int sel = unsignedField(f[3]), digit = unsignedField(f[1]);
    if (unsignedField(f[0]) != 0xA9 || unsignedField(f[2]) != 0x8D) return -1;
    if (sel < highest || sel > 0x39) return -1;
    if (sel == 0x39 && digit == 0) return 0;
    if (sel == 0x39 && digit == 10) return 10;
    if (digit < 1 || digit > 9) return -1;
    return pointsIndex(digit, 0x39 - sel);
}
void encodeDigitAdd(int index, std::span<int> f, std::span<const int>) {
    f[0] = signExtend(0xA9);
    f[1] = index == 0 ? 0 : digitOf(index);
    f[2] = signExtend(0x8D);
    f[3] = index == 0 ? 0x39 : 0x39 - placeOf(index);
}

// Flagpole: fields [digit, position], positions as in the score table.
int decodeFlagpoleDigits(std::span<const int> f, std::span<const int>) {
    const int digit = unsignedField(f[0]), position = unsignedField(f[1]);
    if (digit == 0 && position == 5) return 0;
    if (digit < 1 || digit > 9 || position > 5) return -1;
    return pointsIndex(digit, 5 - position);
}
void encodeFlagpoleDigits(int index, std::span<int> f, std::span<const int>) {
    f[0] = index == 0 ? 0 : digitOf(index);
    f[1] = index == 0 ? 5 : 5 - placeOf(index);
}

// Two ADC #index instructions that must agree.
int decodeShellChain(std::span<const int> f, std::span<const int>) {
    if (unsignedField(f[0]) != 0x69 || unsignedField(f[2]) != 0x69) return -1;
    if (unsignedField(f[1]) != unsignedField(f[3])) return -1;
    return unsignedField(f[1]); // the list's length bounds it
}
void encodeShellChain(int index, std::span<int> f, std::span<const int>) {
    f[0] = f[2] = signExtend(0x69);
    f[1] = f[3] = index;
}

} // namespace

const RuleKind scoreDigitKind{"score digit", &decodeScoreDigit, &encodeScoreDigit};
const RuleKind digitAddKind{"digit add", &decodeDigitAdd, &encodeDigitAdd};
const RuleKind flagpoleDigitsKind{"flagpole digits", &decodeFlagpoleDigits, &encodeFlagpoleDigits};
const RuleKind shellChainKind{"shell chain", &decodeShellChain, &encodeShellChain};

namespace {

ChoiceRule scoreDigit() {
    return {&scoreDigitKind, 1, {}};
}
ChoiceRule digitAdd(int highest) {
    return {&digitAddKind, 4, keep(std::array{highest})};
}
ChoiceRule flagpoleDigits() {
    return {&flagpoleDigitsKind, 2, {}};
}
ChoiceRule shellChain() {
    return {&shellChainKind, 4, {}};
}

// A drop-down list whose bytes lie apart, in its rule's field order.
Item choiceAt(RowText control, RowText label, std::initializer_list<int> offsets,
              ChoiceListRef list, ChoiceRule rule, int resetIndex) {
    assert(static_cast<int>(offsets.size()) == rule.bytes);
    Item it = choice(control, label, *offsets.begin(), list, rule, resetIndex);
    it.offsets = keep(std::span(offsets));
    return it;
}

Group named(Group g, RowText objectName) {
    g.objectName = objectName.view;
    return g;
}

// ---- The dialog --------------------------------------------------------------------

// Points-list and Display-list indexes of the defaults, by their captions.
constexpr int P50 = 5, P100 = 10, P200 = 11, P400 = 13, P500 = 14, P800 = 17, P1000 = 19,
              P2000 = 20, P4000 = 22, P5000 = 23, P8000 = 26;
constexpr int D100 = 7, D200 = 8, D400 = 9, D500 = 10, D800 = 11, D1000 = 12, D2000 = 13,
              D4000 = 14, D5000 = 15, D8000 = 16, D1UP = 17;
constexpr int I100 = 1, I200 = 2, I400 = 3, I500 = 4, I800 = 5, I1000 = 6, I5000 = 9, I8000 = 10,
              I1UP = 11;

// Lists are built once per default entry and shared by the combos marking the same one.
class Lists {
  public:
    ChoiceListRef points(int def) {
        return cached(points_, def, [def] { return marked(kPoints, pointsEntry, def); });
    }
    ChoiceListRef display(int def) {
        return cached(display_, def, [def] { return marked(kDisplayEntries, def); });
    }
    ChoiceListRef items(int def) {
        return cached(items_, def, [def] { return marked(kItemEntries, def); });
    }

  private:
    template <class Make>
    static ChoiceListRef cached(std::map<int, ChoiceListRef>& cache, int def, Make make) {
        ChoiceListRef& l = cache[def];
        if (!l) l = make();
        return l;
    }
    std::map<int, ChoiceListRef> points_, display_, items_;
};

DialogTable build() {
    DialogTable t;
    t.className = "TFormPoint";
    t.caption = "Scoring Settings";
    t.undoSuffix = "(Scoring)";
    t.helpContext = 700;

    Lists l;
    const ChoiceRule digit = scoreDigit();
    const ChoiceRule tiles = rule::byteTable(kDisplayTiles);
    const ChoiceRule index = rule::byteIndex();
    const ChoiceRule scoreAdd = digitAdd(0x34);
    const ChoiceRule pole = flagpoleDigits();
    // An item score index: the byte is the entry of the Item list.
    const auto scored = [&](RowText control, RowText label, int offset, int def) {
        return choice(control, label, offset, l.items(def), index, def);
    };

    // Score-table slot s: points at 0x04C8 + (s - 1), picture at 0x04B1 + 2(s - 1).
    const auto slot = [&](int s, RowText label, int pointsDefault, int displayDefault) {
        return std::array<Item, 2>{
            choice("CmbPtRenzoku" + std::to_string(s), label, 0x04C8 + (s - 1),
                   l.points(pointsDefault), digit, pointsDefault),
            choice("CmbVwRenzoku" + std::to_string(s), "", 0x04B1 + 2 * (s - 1),
                   l.display(displayDefault), tiles, displayDefault)};
    };
    std::vector<Item> renzoku;
    for (auto row : {slot(1, "100(&N):", P100, D100), slot(2, "200(&T):", P200, D200),
                     slot(3, "400(&F):", P400, D400), slot(4, "500(&V):", P500, D500),
                     slot(5, "800(&E):", P800, D800), slot(6, "&1,000:", P1000, D1000),
                     slot(7, "&2,000:", P2000, D2000), slot(8, "&4,000:", P4000, D4000),
                     slot(9, "&5,000:", P5000, D5000), slot(10, "&8,000:", P8000, D8000)})
        for (Item& it : row)
            renzoku.push_back(std::move(it));
    renzoku.push_back(
        choice("CmbPtRenzoku11", "1&UP:", 0x04D2, marked(kPoints, oneUpPointsEntry, 0), digit, 0));
    renzoku.push_back(choice("CmbVwRenzoku11", "", 0x04C5, l.display(D1UP), tiles, D1UP));
    Group general = group("General Scoring Overrides", 1201, "SpdRenzoku", std::move(renzoku));
    // Two columns of rows: slots 1 to 6, then 7 to 11.
    general.blocks = {{"", 12, {"Points Earned", "Displayed Score"}, -1},
                      {"", 10, {"Points Earned", "Displayed Score"}, -1}};
    general.notes = {
        "These overrides affect the score displayed and points given by almost all enemies / "
        "items.    For instance, Hammer Bros. normally give 1,000 points, but setting the "
        "\"1,000\" box above to 500 will net only 500 points instead."};

    const auto polePair = [&](std::string_view stem, RowText label, int value, int tile,
                              int pointsDefault, int displayDefault) {
        return std::array<Item, 2>{choiceAt("CmbPt" + std::string(stem), label, {value, value + 5},
                                            l.points(pointsDefault), pole, pointsDefault),
                                   choice("CmbVw" + std::string(stem), "", tile,
                                          l.display(displayDefault), tiles, displayDefault)};
    };
    std::vector<Item> coins{
        choice("CmbPtCoin", "Coi&n 200:", 0x3C32, l.points(P200), scoreAdd, P200),
        choiceAt("CmbVwCoin", "", {0x6686, 0x668B}, l.display(D200), tiles, D200),
    };
    for (auto row : {polePair("Pole5000", "Pole &5,000:", 0x385B, 0x6551, P5000, D5000),
                     polePair("Pole2000", "Pole &2,000:", 0x385C, 0x6553, P2000, D2000),
                     polePair("Pole800", "Pole &800:", 0x385D, 0x6555, P800, D800),
                     polePair("Pole400", "Pole &400:", 0x385E, 0x6557, P400, D400),
                     polePair("Pole100", "Pole &100:", 0x385F, 0x6559, P100, D100)})
        for (Item& it : row)
            coins.push_back(std::move(it));
    coins.push_back(choice("CmbVwGetCoin", "&Value Displayed Per Coin:", 0x3C0E,
                           marked(kCoinSteps, coinStepEntry, 1), digitAdd(0x38), 1));
    coins.push_back(
        numeric("EditOneUpCoin", "Coins Needed for 1&UP:", 0x3C23, enc::zeroIs256, 1, 256, 100, 3));

    t.pages = pageList({
        page("General", "TabSogo", {named(std::move(general), "GrpRenzoku")}),
        page(
            "Coins and Flagpoles", "TabPole",
            {
                [&] {
                    Group g = group("Coin and Flagpole Score Settings", 14427, "SpdPtPole",
                                    std::move(coins));
                    // The coin and flagpole rows, a line under the coin row; the coin
                    // step and the coins for an extra life beside them.
                    g.blocks = {{"", 12, {"Points Earned", "Displayed Score"}, 0}, {"", 2, {}, -1}};
                    return named(std::move(g), "GrpPtPole");
                }(),
            }),
        page("Items and Bonuses", "TabItem",
             {
                 named(group("Item Scoring", 22548, "SpdPtKinoko",
                             {scored("CmbPtKinoko", "Mushrooms, &Stars:", 0x5814, I1000),
                              scored("CmbPtOneUp", "1UP &Mushroom:", 0x584B, I1UP)}),
                       "GrpPtKinoko"),
                 named(group("Bonuses", 21934, "SpdPtLift",
                             {scored("CmbPtLift", "Falling Balance &Lift Bonus:", 0x55AE, I1000)}),
                       "GrpPtLift"),
             }),
        page("Fireballs", "TabFire",
             {
                 [&] {
                     Group g = group("Points for Defeating Enemies with Fireballs or Starman",
                                     22475, "SpdPtFireR",
                                     {scored("CmbPtFireKuri", "&Goomba:", 0x57CB, I100),
                                      scored("CmbPtFireHmBrs", "H&ammer Bros.:", 0x57C5, I1000),
                                      scored("CmbPtFireKoppa", "&Bowser:", 0x5796, I5000),
                                      scored("CmbPtFireOther", "O&ther Enemies:", 0x57BD, I200)});
                     g.notes = {
                         "[Hammer Bros.] score also applies to stomping or hitting the block below "
                         "them.  Defeating Bowser with a starman uses the [Other Enemies] score."};
                     return named(std::move(g), "GrpPtFire");
                 }(),
             }),
        page("Stomping", "TabFumi",
             {
                 [&] {
                     Group g = group("Points for Stomped Enemies", 22901, "SpdPtFumiR",
                                     {scored("CmbPtFumiKiller", "Bullet Bil&l:", 0x5975, I200),
                                      scored("CmbPtFumiPata", "P&aratroopa:", 0x59D0, I400),
                                      scored("CmbPtFumiJugem", "La&kitu:", 0x5977, I800),
                                      scored("CmbPtFumiGesso", "&Blooper:", 0x5978, I1000),
                                      scored("CmbPtFumiHmBrs", "Ha&mmer Bros.:", 0x5976, I1000)});
                     g.notes = {"Flying Cheep-Cheeps share scoring with [Bullet Bill] above.",
                                "Stomping other enemies nets [100] points."};
                     return named(std::move(g), "GrpPtFumi");
                 }(),
             }),
        page(
            "Kicking", "TabKeri",
            {
                [&] {
                    Group g = group("Points for Kicked Shells", 22774, "SpdPtKeriR",
                                    {scored("CmbPtKeri", "Shell On &Ground:", 0x58F6, I400),
                                     scored("CmbPtKeriFc", "&Reviving Shell:", 0x58A3, I1000),
                                     scored("CmbPtKeriKc", "Airborne Shel&l:", 0x58A2, I8000),
                                     choiceAt("CmbPtKeriTwo", "&First Enemy Hit By Shell:",
                                              {0x5AF4, 0x5AF5, 0x5B18, 0x5B19}, l.items(I500),
                                              shellChain(), I500),
                                     scored("CmbPtTuki", "&Enemy Hit From Below:", 0x6027, I100)});
                    g.notes = {
                        "Sequential hits without touching the ground net an extra 100 points.  For "
                        "example, hitting a character and then its [Shell On Ground] nets 500 "
                        "points, not 400."};
                    return named(std::move(g), "GrpPtKeri");
                }(),
            }),
        page("Special", "TabOther",
             {
                 named(group("Unaffected By General Scoring", 15907, "SpdEikyogai",
                             {choice("CmbPtLenga", "&Brick Block:", 0x3E23, l.points(P50), scoreAdd,
                                     P50),
                              choice("CmbPtNkTime", "&Time Remaining:", 0x5341, l.points(P50),
                                     scoreAdd, P50),
                              choice("CmbPtHanabi", "&Fireworks:", 0x52D5, l.points(P500), scoreAdd,
                                     P500)}),
                       "GrpEikyogai"),
                 [&] {
                     Group g =
                         group("Displayed Score", 15441, "SpdPtPointR",
                               {check("ChkMilZero", "&Zero in the Millions Place", 0x3C51,
                                      {0xA9, 0x00}, {0xA9, 0x24}),
                                check("ChkPtOneZero", "Score: No Z&ero in Ones Place", 0x077B,
                                      {0x24}, {0x00}),
                                check("ChkPtHiOneZero", "Hi-Score: No Ze&ro In Ones Place", 0x9FED,
                                      {0x24}, {0x00}),
                                check("ChkPtOneRtZero", "Score: Additional Zer&o After Ones Place",
                                      0x077C, {0x00}, {0x24})});
                     g.notes = {
                         "These options set how the score is displayed and have no effect on "
                         "in-game scoring."};
                     return named(std::move(g), "GrpPtPoint");
                 }(),
             }),
    });
    return t;
}

constexpr std::array<std::string_view, 17> kScoredItems{
    "CmbPtKinoko",    "CmbPtOneUp",     "CmbPtLift",       "CmbPtFireKuri", "CmbPtFireHmBrs",
    "CmbPtFireKoppa", "CmbPtFireOther", "CmbPtFumiKiller", "CmbPtFumiPata", "CmbPtFumiJugem",
    "CmbPtFumiGesso", "CmbPtFumiHmBrs", "CmbPtKeri",       "CmbPtKeriFc",   "CmbPtKeriKc",
    "CmbPtKeriTwo",   "CmbPtTuki"};

} // namespace

const DialogTable& scoring() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

std::span<const std::string_view> pointScoredItems() {
    return kScoredItems;
}
std::vector<int> pointTagsIn(const Group& group) {
    std::vector<int> tags;
    for (std::size_t t = 0; t < kScoredItems.size(); ++t)
        for (const Item& it : group.items)
            if (it.control == kScoredItems[t]) tags.push_back(static_cast<int>(t) + 1);
    return tags;
}

std::vector<int> pointTagsOnPage(int page) {
    std::vector<int> tags;
    const auto& pages = scoring().pages;
    if (page < 0 || page >= static_cast<int>(pages.size())) return tags;
    for (const Group& g : pages[static_cast<std::size_t>(page)].groups)
        for (int tag : pointTagsIn(g))
            tags.push_back(tag);
    std::sort(tags.begin(), tags.end());
    return tags;
}

std::string pointSlotPoints(int slot) {
    return "CmbPtRenzoku" + std::to_string(slot);
}
std::string pointSlotDisplay(int slot) {
    return "CmbVwRenzoku" + std::to_string(slot);
}

} // namespace qv::tables
