// The Enemy 2 dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/enemy2.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/tables/builders.h"

namespace qv::tables {
namespace {

using enc::negated;
using enc::unsignedByte;

// Every character list holds the codes 0x00..0x34; the code is the entry index.
constexpr int kCodes = 0x35;

// A caption that replaces the base one of its code.
struct Override {
    int code;
    std::string_view caption;
};
using Overrides = std::span<const Override>;

// The name after the code, for the codes that have one.
constexpr std::array<std::string_view, kCodes> kBaseNames = [] {
    std::array<std::string_view, kCodes> names{};
    names[0x00] = "Green Koopa Troopa";
    names[0x01] = "Red Koopa Troopa";
    names[0x02] = "Buzzy Beetle";
    names[0x03] = "Red Koopa Troopa (Loop)";
    names[0x04] = "Green Koopa Troopa (Still)";
    names[0x05] = "Hammer Bros.";
    names[0x06] = "Goomba";
    names[0x07] = "Blooper";
    names[0x08] = "Bullet Bill";
    names[0x09] = "Green Paratroopa (Still)";
    names[0x0A] = "Green Cheep-Cheep (Swim)";
    names[0x0B] = "Red Cheep-Cheep (Swim)";
    names[0x0C] = "Podoboo";
    names[0x0D] = "Piranha Plant";
    names[0x0E] = "Green Paratroopa (Jump)";
    names[0x0F] = "Red Paratroopa (U/D)";
    names[0x10] = "Green Paratroopa (L/R)";
    names[0x11] = "Lakitu";
    names[0x12] = "Spiny Egg";
    names[0x13] = "Unknown (Still)";
    names[0x14] = "Flying Cheep-Cheep";
    names[0x15] = "Bowser Flame";
    names[0x2D] = "Bowser";
    names[0x33] = "Bullet Bill";
    return names;
}();

// The caption of `code` in the last of `sets` that replaces it; empty when none does.
std::string_view replaced(std::span<const Overrides> sets, int code) {
    for (auto set = sets.rbegin(); set != sets.rend(); ++set)
        for (auto o = set->rbegin(); o != set->rend(); ++o)
            if (o->code == code) return o->caption;
    return {};
}

// The base captions with those of some codes replaced and the default entry marked;
// each written when it is shown. The replacements are literals, so that showing an
// entry makes no list of them (the rows "qorv changes" and "qorv diff" of make bench
// show an entry of nearly every list).
ChoiceListRef codes(std::string_view between, std::vector<Overrides> sets, int marked) {
    return entryList(kCodes, [between, sets = std::move(sets), marked](int code) {
        std::string s(replaced(sets, code));
        if (s.empty()) {
            // The code, `between` ("" or "～FF"), and the base name when there is one.
            s = hex2(code);
            s += between;
            if (const std::string_view name = kBaseNames[static_cast<std::size_t>(code)];
                !name.empty())
                (s += ' ') += name;
        }
        if (code == marked) s += "  [Default]";
        return s;
    });
}

ChoiceListRef plain(int marked) {
    return codes("", {}, marked);
}

// The nine lifts, 0x24..0x2C.
constexpr Override kLifts[] = {
    {0x24, "24 Lift (Balance)"},    {0x25, "25 Lift (U/D)"},      {0x26, "26 Lift (Up)"},
    {0x27, "27 Lift (Down)"},       {0x28, "28 Lift (L/R)"},      {0x29, "29 Lift (Sinking)"},
    {0x2A, "2A Lift (Ride Horz.)"}, {0x2B, "2B Small Lift (Up)"}, {0x2C, "2C Small Lift (Down)"}};
constexpr Override kLiftsUp[] = {
    {0x24, "24～FF Lift (Balance)"},    {0x25, "25～FF Lift (U/D)"},
    {0x26, "26～FF Lift (Up)"},         {0x27, "27～FF Lift (Down)"},
    {0x28, "28～FF Lift (L/R)"},        {0x29, "29～FF Lift (Sinking)"},
    {0x2A, "2A～FF Lift (Ride Horz.)"}, {0x2B, "2B～FF Small Lift (Up)"},
    {0x2C, "2C～FF Small Lift (Down)"}};

constexpr Override kBlaster[] = {{0x33, "33～FF Bill Blaster"}};

constexpr Override kOdd[] = {{0x00, "00 Green Koopa Troopa (Odd)"},
                             {0x01, "01 Red Koopa Troopa (Odd)"},
                             {0x02, "02 Buzzy Beetle (Odd)"},
                             {0x03, "03 Red Koopa Troopa (Loop, Odd)"},
                             {0x04, "04 Green Koopa Troopa (Still, Odd)"}};

ChoiceListRef touchedSet3() {
    static constexpr Override kInvalid[] = {{0x09, "09 Green Paratroopa (Still, Invalid)"},
                                            {0x0E, "0E G. Paratroopa (Jump, Invalid)"},
                                            {0x0F, "0F Red Paratroopa (U/D, Invalid)"},
                                            {0x10, "10 Green Paratroopa (L/R, Invalid)"},
                                            {0x13, "13 Unknown (Still, Invalid)"}};
    return codes("", {kOdd, kInvalid}, 0x12);
}

// "00～FF Green Koopa Troopa": the code and every code above it.
ChoiceListRef range(std::initializer_list<Overrides> more) {
    static constexpr Override kCheep[] = {{0x0A, "0A～FF G. Cheep-Cheep (Swim)"}};
    std::vector<Overrides> sets{kCheep};
    sets.insert(sets.end(), more.begin(), more.end());
    return codes("～FF", std::move(sets), 0x15);
}

ChoiceListRef fireImmune(int marked) {
    return codes("", {kLifts}, marked);
}

ChoiceListRef fireThrough(int marked) {
    static constexpr Override kThrough[] = {{0x0A, "0A Green Cheep-Cheep"},
                                            {0x0B, "0B Red Cheep-Cheep"},
                                            {0x0C, "0C Podoboo (From Ground)"},
                                            {0x33, "33"}};
    return codes("", {kLifts, kThrough}, marked);
}

// The base names followed by " (No Effect)".
constexpr Override kNoEffect[] = {
    {0x05, "05 Hammer Bros. (No Effect)"},  {0x07, "07 Blooper (No Effect)"},
    {0x08, "08 Bullet Bill (No Effect)"},   {0x0C, "0C Podoboo (No Effect)"},
    {0x0D, "0D Piranha Plant (No Effect)"}, {0x11, "11 Lakitu (No Effect)"},
    {0x15, "15 Bowser Flame (No Effect)"},  {0x2D, "2D Bowser (No Effect)"},
    {0x33, "33 Bullet Bill (No Effect)"}};

ChoiceListRef pacing() {
    static constexpr Override kPacing[] = {{0x03, "03 Red Koopa Troopa"},
                                           {0x04, "04 Green Koopa Troopa"},
                                           {0x12, "12 Spiny"},
                                           {0x09, "09 Green Paratroopa (No Effect)"},
                                           {0x0A, "0A G. Cheep-Cheep (No Effect)"},
                                           {0x0B, "0B Red Cheep-Cheep (No Effect)"},
                                           {0x0E, "0E Green Paratroopa (No Effect)"},
                                           {0x0F, "0F Red Paratroopa (No Effect)"},
                                           {0x10, "10 Green Paratroopa (No Effect)"},
                                           {0x13, "13 Unknown (No Effect)"},
                                           {0x14, "14 Red Cheep-Cheep (No Effect)"}};
    return codes("", {kNoEffect, kPacing}, 0x03);
}

ChoiceListRef notTurning() {
    static constexpr Override kNotTurning[] = {{0x0A, "0A Green Cheep-Cheep"},
                                               {0x0B, "0B Red Cheep-Cheep"},
                                               {0x14, "14 Red Cheep-Cheep (No Effect)"}};
    return codes("", {kNoEffect, kNotTurning}, 0x06);
}

Item code(RowText control, RowText label, int offset, ChoiceListRef list, int def) {
    return choice(control, label, offset, list, rule::byteIndex(), def);
}

// The stored byte is one more than the entry index.
ChoiceRule indexPlusOne() {
    return rule::indexOffset(-1, false);
}

ChoiceListRef counts(int first, int last, int marked) {
    return entryList(last - first + 1, [=](int index) {
        const int n = first + index;
        return std::to_string(n) + (n == marked ? "  [Default]" : "");
    });
}

// The firebar pivot rows, entry n ("1", "1.5", ... "12") is row n; the last byte is 4n.
constexpr int kPivotRows = 23;
constexpr std::array<std::array<std::uint8_t, 9>, kPivotRows> kPivot{{
    {0, 0, 0, 0, 0, 0, 0, 0, 0},         {0, 0, 1, 2, 2, 3, 3, 3, 4},
    {0, 1, 3, 4, 5, 6, 7, 7, 8},         {0, 2, 4, 6, 8, 9, 10, 11, 12},
    {0, 3, 6, 9, 11, 13, 14, 15, 16},    {0, 3, 7, 11, 13, 16, 18, 19, 20},
    {0, 4, 9, 13, 16, 19, 22, 23, 24},   {0, 5, 10, 15, 19, 22, 25, 27, 28},
    {0, 6, 12, 18, 22, 26, 29, 31, 32},  {0, 6, 13, 20, 25, 29, 33, 35, 36},
    {0, 7, 15, 22, 28, 33, 37, 39, 40},  {0, 8, 16, 24, 30, 36, 40, 43, 44},
    {0, 9, 18, 27, 33, 39, 44, 47, 48},  {0, 10, 19, 29, 36, 42, 47, 51, 52},
    {0, 11, 21, 31, 39, 46, 51, 55, 56}, {0, 11, 22, 33, 42, 49, 55, 58, 60},
    {0, 12, 24, 36, 45, 53, 59, 62, 64}, {0, 13, 25, 38, 47, 56, 62, 66, 68},
    {0, 14, 27, 40, 50, 59, 66, 70, 72}, {0, 14, 29, 42, 53, 62, 70, 74, 76},
    {0, 15, 31, 45, 56, 66, 74, 78, 80}, {0, 16, 32, 47, 59, 69, 77, 82, 84},
    {0, 17, 34, 49, 62, 73, 81, 86, 88},
}};

// Entry n is n / 2 + 1 bars long: "1", "1.5", ... "12"; the first match wins.
Item pivot(RowText control, RowText label, int offset, int marked) {
    static const ChoiceRule rows = [] {
        std::vector<std::vector<std::uint8_t>> entries;
        for (const auto& r : kPivot)
            entries.emplace_back(r.begin(), r.end());
        return rule::byteTable(std::move(entries));
    }();
    const ChoiceListRef rowsList = entryList(kPivotRows, [marked](int n) {
        std::string s = std::to_string(n / 2 + 1) + (n % 2 ? ".5" : "");
        if (n == marked) s += "  [Default]";
        return s;
    });
    return choice(control, label, offset, rowsList, rows, marked);
}

Group piranhaPlantSettings() {
    // CMP #nn / BCC is the plants' retract test; JMP $D40A skips them altogether. nn is
    // the retract range, edited by its own text box even while the patch is clear.
    return group(
        "Piranha Plant Settings", 6405, "SpdIiPakkun",
        {check("ChkIiPakkun", "Piranha Plants A&ppear From 1-1", 0x1905,
               {0xEA, 0xEA, 0xEA, 0xEA, 0xEA}, {0x0D, 0x5F, 0x07, 0xF0, 0x2B}),
         withOperandWhenCleared(check("ChkDtPakkun", "&Disable All Piranha Plants", 0x53E1,
                                      {0x4C, 0x0A, 0xD4}, {0xC9, 0x21, 0x90}),
                                1),
         numeric("EditDsPakkun", "&Remain Retracted Range:", 0x53E2, unsignedByte, 0, 255, 33, 3)});
}

Item speed(RowText control, RowText label, int offset, int def) {
    return numeric(control, label, offset, unsignedByte, 0, 255, def, 3);
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormEnemy2";
    t.caption = "Enemy Settings 2";
    t.undoSuffix = "(Enemy 2)";
    t.helpContext = 500;

    t.pages = pageList({
        page("Piranha Plant", "TabPakkun",
             {
                 piranhaPlantSettings(),
                 group("Maximum Displayed", 6499, "SpdVwPakkun",
                       {choice("CmbVwPakkun", "Set Val&ue:", 0x1963, counts(1, 6, 5),
                               indexPlusOne(), 4)}),
                 group("Extend / Retract Speed", 21526, "SpdTmPakkun",
                       {speed("EditTmPakkun", "Set V&alue:", 0x5416, 64)}),
             }),
        page("Firebar 1", "TabFireBar1",
             {
                 group("Firebar Rotation Speed", 17503, "SpdFiBarSpeed",
                       {speed("EditFiBarSpeed1", "&Right:", 0x445F, 40),
                        speed("EditFiBarSpeed2", "R&ight, Fast:", 0x4460, 56),
                        speed("EditFiBarSpeed3", "&Left:", 0x4461, 40),
                        speed("EditFiBarSpeed4", "L&eft, Fast:", 0x4462, 56),
                        speed("EditFiBarSpeed5", "L&ong:", 0x4463, 40)}),
                 // One direction byte per firebar kind: 0x00 turns it clockwise on screen,
                 // anything else counterclockwise. Each box names the kind by the way the
                 // game turns it and says what ticking does to it.
                 group("Firebar Rotation", 17508, "SpdFiBarTurn",
                       {check("ChkFiBarTurn1", "Clockwise Firebar Turns &Counterclockwise", 0x4464,
                              {0x10}, {0x00}),
                        check("ChkFiBarTurn2", "&Fast Clockwise Firebar Turns Counterclockwise",
                              0x4465, {0x10}, {0x00}),
                        check("ChkFiBarTurn3", "Counterclockwise Firebar Turns Clock&wise", 0x4466,
                              {0x00}, {0x10}),
                        check("ChkFiBarTurn4", "F&ast Counterclockwise Firebar Turns Clockwise",
                              0x4467, {0x00}, {0x10})}),
                 group(
                     "Firebar Length", 19869, "SpdFiBarLen",
                     {choice("CmbFiBarLen", "&Normal:", 0x4D9D, counts(2, 6, 6), indexPlusOne(), 4),
                      choice("CmbFiBarLongLen", "Lon&g:", 0x4DA5, counts(2, 12, 12), indexPlusOne(),
                             10)}),
             }),
        page("Firebar 2", "TabFireBar2",
             {
                 [] {
                     Group g = group("Firebar Central Pivot Point", 19671, "SpdFiBerPos",
                                     {pivot("CmbFiBerPos2", "&Two Bars:", 0x4CD7, 2),
                                      pivot("CmbFiBerPos3", "T&hree Bars:", 0x4CE0, 4),
                                      pivot("CmbFiBerPos4", "&Four Bars:", 0x4CE9, 6),
                                      pivot("CmbFiBerPos5", "Fi&ve Bars:", 0x4CF2, 8),
                                      pivot("CmbFiBerPos6", "S&ix Bars:", 0x4CFB, 10),
                                      pivot("CmbFiBerPos7", "&Seven Bars:", 0x4D04, 12),
                                      pivot("CmbFiBerPos8", "Ei&ght Bars:", 0x4D0D, 14),
                                      pivot("CmbFiBerPos9", "Nin&e Bars:", 0x4D16, 16),
                                      pivot("CmbFiBerPos10", "1&0 Bars:", 0x4D1F, 18),
                                      pivot("CmbFiBerPos11", "1&1 Bars:", 0x4D28, 20),
                                      pivot("CmbFiBerPos12", "1&2 Bars:", 0x4D31, 22)});
                     g.notes = {
                         "All firebars share the same pivot position, which does not change."};
                     g.noteNames = {{0, "LabFiBerPos"}};
                     return g;
                 }(),
             }),
        page("Podoboo", "TabBubble",
             {
                 group("Podoboo Jump Height", 18904, "SpdBubbleJump",
                       {numeric("EditBubbleJump", "Set &Value:", 0x49D8, negated, -127, 128, 7)}),
             }),
        page(
            "Special 1", "TabChara1",
            {
                group("Damage When Touched", 22716, "SpdFumiDamage",
                      {code("CmbFumiDamage1", "&Set 1:", 0x58BC, plain(0x0D), 0x0D),
                       code("CmbFumiDamage2", "S&et 2:", 0x58C0, plain(0x0C), 0x0C),
                       code("CmbFumiDamage3", "&Range:", 0x58C8, range({}), 0x15),
                       code("CmbFumiDamage4", "Se&t 3:", 0x597C, touchedSet3(), 0x12),
                       code("CmbFumiDamage5", "Exce&ption:", 0x58C4, codes("", {kOdd}, 0x33), 0x33),
                       code("CmbFumiDamage6", "E&xception:", 0x58B8, touchedSet3(), 0x12)}),
                group("Fireball Immune Characters", 22373, "SpdFireTole",
                      {code("CmbFireTole1", "Set &1:", 0x5765, fireImmune(0x02), 0x02),
                       code("CmbFireTole2", "Set &2:", 0x579A, fireImmune(0x08), 0x08),
                       code("CmbFireTole3", "Set &3:", 0x579E, fireImmune(0x0C), 0x0C),
                       code("CmbFireTole4", "Set &4:", 0x57A2, range({kLiftsUp, kBlaster}), 0x15)}),
                group("Stomped Character Cannot Be Kicked", 22752, "SpdFumiNotKeri",
                      {code("CmbFumiNotKeri", "Set &Value:", 0x58E0, plain(0x06), 0x06)}),
            }),
        page("Special 2", "TabChara2",
             {
                 group("Stomped Characters That Fall Offscreen", 22920, "SpdFumiFall",
                       {code("CmbFumiFall1", "Set &1:", 0x5988, plain(0x14), 0x14),
                        code("CmbFumiFall2", "Set &2:", 0x598C, plain(0x08), 0x08),
                        code("CmbFumiFall3", "Set &3:", 0x5990, plain(0x33), 0x33),
                        code("CmbFumiFall4", "Set &4:", 0x5994, plain(0x0C), 0x0C),
                        code("CmbFumiFall5", "Set &5:", 0x5999, plain(0x05), 0x05),
                        code("CmbFumiFall6", "Set &6:", 0x599E, plain(0x11), 0x11),
                        code("CmbFumiFall7", "Set &7:", 0x59A3, plain(0x07), 0x07)}),
                 group("Character Pacing Back and Forth", 24821, "SpdOfukuChr",
                       {code("CmbOfukuChr", "Set &Value:", 0x60F5, pacing(), 0x03)}),
                 group("Fireball Immune Character Range", 22287, "SpdFireThrough",
                       {code("CmbFireThrough1", "&Start:", 0x570F, fireThrough(0x24), 0x24),
                        choice("CmbFireThrough2", "&End:", 0x5713, fireThrough(0x2A),
                               indexPlusOne(), 0x2A)}),
                 group("Falling Character Does Not Face Mario", 24760, "SpdNotTurn",
                       {code("CmbNotTurn", "Set Va&lue:", 0x60B8, notTurning(), 0x06)}),
             }),
    });
    return t;
}

} // namespace

const DialogTable& enemy2() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

int pakkunLockedRange() {
    const Item& patch = *enemy2().find("ChkDtPakkun");
    const int range = enemy2().find("EditDsPakkun")->offsets[0];
    for (std::size_t i = 0; i < patch.offsets.size(); ++i)
        if (patch.offsets[i] == range) return patch.ticked[i];
    return 0;
}

} // namespace qv::tables
