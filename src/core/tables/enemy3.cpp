// The Enemy 3 dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/enemy3.h"

#include <array>
#include <string_view>
#include <utility>

#include "core/tables/builders.h"
#include "core/tables/codecs.h"

namespace qv::tables {
namespace {

using enc::negated;
using enc::plusOne;
using enc::signedByte;
using enc::unsignedByte;
using enc::zeroIs256;

// Hammer hold time: the game counts from 130, so every byte reads as -130..125.
int decodeMinus130(std::span<const int> f) {
    return unsignedField(f[0]) - 130;
}
void encodeMinus130(int v, std::span<int> f) {
    f[0] = signExtend(low8(v + 130));
}

} // namespace

const Encoding minus130{"minus 130", 1, &decodeMinus130, &encodeMinus130};

namespace {

// "Launched Character Sprite": codes 0x00..0x32, the index is the code.
std::vector<std::string_view> launchedSpriteNames() {
    std::vector<std::string_view> names(0x33, "Unknown"); // 0x1B..0x31 among them
    for (int c : {0x00, 0x01, 0x03, 0x04})
        names[static_cast<std::size_t>(c)] = "Koopa Troopa";
    for (int c : {0x09, 0x0E, 0x0F, 0x10})
        names[static_cast<std::size_t>(c)] = "Koopa Paratroopa";
    for (int c : {0x0A, 0x0B, 0x14})
        names[static_cast<std::size_t>(c)] = "Cheep-Cheep";
    for (int c : {0x16, 0x17})
        names[static_cast<std::size_t>(c)] = "Bowser (Odd)";
    const std::pair<int, const char*> single[] = {
        {0x02, "Buzzy Beetle"},
        {0x05, "Hammer Bros."},
        {0x06, "Goomba"},
        {0x07, "Blooper"},
        {0x08, "Bullet Bill  [Default]"},
        {0x0C, "Podoboo (Flipped)"},
        {0x0D, "Piranha Plant"},
        {0x11, "Lakitu (Retracted, Bad Palette)"},
        {0x12, "Spiny"},
        {0x13, "Unknown"},
        {0x15, "Toad / Peach"},
        {0x18, "Springboard (Odd)"},
        {0x19, "Springboard (Half Pressed, Odd)"},
        {0x1A, "Springboard (Fully Pressed, Odd)"},
        {0x32, "Springboard"},
    };
    for (const auto& [c, n] : single)
        names[static_cast<std::size_t>(c)] = n;
    return names;
}

// "Bowser True Form": codes 0x00..0x41, the index is the code.
constexpr std::array<std::string_view, 0x42> kTrueForms = {
    "Green Koopa Troopa",
    "Red Koopa Troopa",
    "Buzzy Beetle",
    "Red Koopa Troopa",
    "Green Koopa Troopa (Odd)",
    "Hammer Bros.",
    "Goomba",
    "Blooper", // 00..07
    "Bullet Bill",
    "Green Paratroopa (Odd)",
    "Green Cheep-Cheep",
    "Red Cheep-Cheep",
    "Podoboo (From Ground)",
    "Piranha Plant (Odd)",
    "Green Paratroopa (Odd)",
    "Red Paratroopa (Odd)", // 08..0F
    "Green Paratroopa (Odd)",
    "Lakitu",
    "Spiny",
    "Unknown",
    "Red Cheep-Cheep",
    "NULL",
    "Fireworks",
    "NULL", // 10..17
    "NULL",
    "NULL",
    "NULL",
    "Firebar (Odd)",
    "Firebar (Odd)",
    "Firebar (Odd)",
    "Firebar (Odd)",
    "Long Firebar (Odd)", // 18..1F
    "Long Firebar (Odd)",
    "Long Firebar (Odd)",
    "Long Firebar (Odd)",
    "NULL",
    "Lift",
    "Lift (Odd)",
    "Lift (Odd)",
    "Lift (Odd)", // 20..27
    "Lift (Odd)",
    "Lift (Odd)",
    "Lift (Odd)",
    "Small Lift (Odd)",
    "Small Lift (Odd)",
    "Bowser",
    "NULL",
    "NULL", // 28..2F
    "NULL",
    "NULL",
    "Springboard (Odd)",
    "Bullet Bill",
    "NULL",
    "Unknown",
    "-",
    "NULL", // 30..37
    "-",
    "-",
    "Unknown",
    "-",
    "NULL",
    "-",
    "NULL",
    "-", // 38..3F
    "-",
    "Unknown", // 40..41
};

ChoiceListRef trueForms(int marked) {
    return entryList(0x42, [marked](int c) {
        std::string s = hex2(c) + " " + std::string(kTrueForms[static_cast<std::size_t>(c)]);
        if (c == marked) s += "  [Default]";
        return s;
    });
}

// "Bill Blaster Launched Character": every code 0x00..0xFF; codes not named are "-".
std::vector<std::string_view> blasterCharacterNames() {
    struct Run {
        int first, last;
    };
    struct Name {
        const char* name;
        std::vector<Run> codes;
    };
    const std::vector<Name> names = {
        {"Green Koopa Troopa (Falling, Unknown Speed)", {{0x00, 0x00}, {0x04, 0x04}}},
        {"Red Koopa Troopa (Falling, Unknown Speed)", {{0x01, 0x01}}},
        {"Buzzy Beetle (Falling, Unknown Speed)", {{0x02, 0x02}}},
        {"Red Koopa Troopa (Still at Launch)", {{0x03, 0x03}}},
        {"Hammer Bros. (Rushes Player)", {{0x05, 0x05}}},
        {"Goomba (Falling, Unknown Speed)", {{0x06, 0x06}}},
        {"Blooper", {{0x07, 0x07}}},
        {"Bullet Bill (Only Left, Mirror)", {{0x08, 0x08}}},
        {"G. Paratroopa (Still at Launch)→R. Koopa Troopa", {{0x09, 0x09}}},
        {"G. Cheep-Cheep (Mirror)→G. Koopa Troopa", {{0x0A, 0x0A}}},
        {"R. Cheep-Cheep (Mirror)→R. Koopa Troopa", {{0x0B, 0x0B}}},
        {"Podoboo (From Ground)", {{0x0C, 0x0C}}},
        {"Piranha Plant (Errors)", {{0x0D, 0x0D}}},
        {"Green Paratroopa (Unknown Speed)", {{0x0E, 0x0E}}},
        {"Red Paratroopa (Up Only)", {{0x0F, 0x0F}}},
        {"Green Paratroopa (L/R)", {{0x10, 0x10}}},
        {"Lakitu", {{0x11, 0x11}}},
        {"Spiny", {{0x12, 0x12}}},
        {"Unknown (Still at Launch)→R. Koopa Troopa", {{0x13, 0x13}}},
        {"Red Cheep-Cheep (Down Only)", {{0x14, 0x14}}},
        {"Bowser Flame (Fired One Block Above)", {{0x15, 0x15}}},
        {"Fireworks", {{0x16, 0x16}, {0x96, 0x96}}},
        {"Firebar (Static)", {{0x1B, 0x1E}}},
        {"Long Firebar (Static)", {{0x1F, 0x22}, {0x6F, 0x6F}, {0x9B, 0xA2}, {0xEF, 0xEF}}},
        {"Lift (Fall At Given Time, Errors)", {{0x24, 0x24}}},
        {"Lift (Fall At Fixed Time, Errors)", {{0xA4, 0xA4}}},
        {"Lift (Up, Errors)", {{0x25, 0x25}, {0xA5, 0xA5}}},
        {"Lift (Errors)", {{0x26, 0x27}, {0x29, 0x29}, {0xA6, 0xA7}, {0xA9, 0xA9}}},
        {"Lift (L/R, Errors)", {{0x28, 0x28}, {0xA8, 0xA8}}},
        {"Lift (Horz. At Fixed Time, Errors)", {{0x2A, 0x2A}, {0xAA, 0xAA}}},
        {"Small Lift (Errors)", {{0x2B, 0x2C}, {0xAB, 0xAC}}},
        {"Bowser (Errors)", {{0x2D, 0x2D}, {0xAD, 0xAD}}},
        {"Springboard (Unusable)", {{0x32, 0x32}}},
        {"Bullet Bill  [Default]", {{0x33, 0x33}}},
        {"Toad / Peach", {{0x35, 0x35}}},
        {"Unknown", {{0x3A, 0x3A}, {0x41, 0x41}, {0xB2, 0xB2}, {0xBA, 0xBA}, {0xC1, 0xC1}}},
        {"Unknown (Down Only)", {{0x94, 0x94}}},
        {"Bowser Flame (Fired One Block Above, Odd Collisions)",
         {{0x66, 0x66}, {0x95, 0x95}, {0xE6, 0xE6}}},
        {"Glitchy", {{0x86, 0x86}, {0x90, 0x90}}},
        {"Glitchy (Floats In Air)", {{0x91, 0x91}}},
        {"Glitchy (Floats Near Pole)", {{0x92, 0x92}}},
        {"Springboard-ish (Unusable)", {{0xB5, 0xB5}}},
        {"NULL",
         {{0x17, 0x1A}, {0x23, 0x23}, {0x2E, 0x31}, {0x34, 0x34}, {0x37, 0x37}, {0x3C, 0x3C},
          {0x3E, 0x3E}, {0x44, 0x44}, {0x47, 0x47}, {0x50, 0x64}, {0x69, 0x69}, {0x6C, 0x6C},
          {0x72, 0x72}, {0x75, 0x75}, {0x78, 0x78}, {0x7B, 0x7B}, {0x7E, 0x7E}, {0x81, 0x81},
          {0x88, 0x89}, {0x8B, 0x8B}, {0x97, 0x9A}, {0xA3, 0xA3}, {0xAE, 0xB1}, {0xB3, 0xB4},
          {0xB7, 0xB7}, {0xBE, 0xBE}, {0xC4, 0xC4}, {0xC7, 0xC7}, {0xD0, 0xE4}, {0xE9, 0xE9},
          {0xEC, 0xEC}, {0xF2, 0xF2}, {0xF5, 0xF5}, {0xF8, 0xF8}, {0xFB, 0xFB}, {0xFE, 0xFE}}},
    };
    std::vector<std::string_view> out(256, "-");
    for (const Name& n : names)
        for (const Run& r : n.codes)
            for (int c = r.first; c <= r.last; ++c)
                out[static_cast<std::size_t>(c)] = n.name;
    return out;
}

// Bullet Bill and Cheep-Cheep elevations: entries -1..12, then the two special rows.
ChoiceListRef elevations(int markedEntry) {
    return entryList(16, [=](int index) {
        std::string s = index == 14   ? "-3 (Off-Screen)"
                        : index == 15 ? "-2 (No Collisions)"
                                      : std::to_string(index - 1);
        if (index == markedEntry) s += "  [Default]";
        return s;
    });
}

ChoiceListRef movementHeights() {
    return entryList(16, [](int index) {
        const int n = index - 1;
        return std::to_string(n) + (n == 7 ? "  [Default]" : "");
    });
}

// The byte is the code, read as two's complement: codes past 0x7F are out of bounds.
Item code(RowText control, RowText label, int offset, ChoiceListRef list, int def) {
    return choice(control, label, offset, list, rule::byteIndex(), def);
}

Item unsigned3(RowText control, RowText label, int offset, int def) {
    return numeric(control, label, offset, unsignedByte, 0, 255, def, 3);
}
Item signed4(RowText control, RowText label, int offset, int def) {
    return numeric(control, label, offset, signedByte, -128, 127, def);
}
Item negated4(RowText control, RowText label, int offset, int def) {
    return numeric(control, label, offset, negated, -127, 128, def);
}
Item world(RowText control, RowText label, int offset, int def) {
    return numeric(control, label, offset, plusOne, 1, 256, def, 3);
}

Group billBlasterSpeed() {
    return group("Bill Blaster Speed", 14913, "SpdKiller",
                 {signed4("EditKiller_R", "&Right:", 0x3A41, 24),
                  negated4("EditKiller_L", "&Left:", 0x3A42, 24)});
}

Group holdFireRange() {
    // Unsigned, yet four characters wide. "L&eft:" shows 256 as its label's upper end
    // although it accepts 0..255; the label text is kept as it stands.
    Group g = group("Bill Blaster Hold Fire Range", 14952, "SpdHodai",
                    {numeric("EditHodai_R", "R&ight:", 0x3A68, unsignedByte, 0, 255, 40),
                     numeric("EditHodai_L", "L&eft:", 0x3A6A, unsignedByte, 0, 255, 80,
                             "[0～256 Default: 80]")});
    // Advice only: nothing enforces it.
    g.notes = {"[Left] value must not exceed [Right] x2 and must not be less than [Right]."};
    return g;
}

Group bulletBillElevations() {
    constexpr int defaults[8] = {4, 3, 9, 5, 2, 6, 10, 7};
    std::vector<Item> items;
    for (int n = 0; n < 8; ++n)
        items.push_back(choice("CmbKillerHeight" + std::to_string(n + 1),
                               n == 0 ? "Set V&alue:" : "", 0x46A2 + n, elevations(defaults[n]),
                               rule::highNibble(0), defaults[n]));
    return group("Bullet Bill, Cheep-Cheep Elevations", 18082, "SpdKillerHeight", std::move(items));
}

Group bowserTrueForm() {
    constexpr int defaults[8] = {0x06, 0x00, 0x02, 0x12, 0x11, 0x07, 0x05, 0x2D};
    std::vector<Item> items;
    for (int n = 0; n < 8; ++n)
        items.push_back(code("CmbKoopaTrueChr" + std::to_string(n + 1),
                             "World &" + std::to_string(n + 1) + ":", 0x5746 + n,
                             trueForms(defaults[n]), defaults[n]));
    return group("Bowser True Form", 22342, "SpdKoopaTrueChr", std::move(items));
}

Group flameSettings() {
    constexpr int defaults[8] = {191, 64, 191, 191, 191, 64, 64, 191};
    std::vector<Item> items;
    for (int n = 0; n < 8; ++n)
        items.push_back(numeric(
            "EditKoppaFiPat" + std::to_string(n), n == 0 ? "Intervals Between F&lames:" : "",
            0x51E1 + n, unsignedByte, 0, 255, defaults[n],
            n == 0 ? "[0～255 Default: 191, 64, 191, 191, 191, 64, 64, 191]" : "", 3));
    items.push_back(choice("CmbKoppaFiPatCnt", "Patt&ern Count:", 0x51F3,
                           makeList({"1", "2", "4", "8  [Default]"}),
                           rule::byteTable({{0x00}, {0x01}, {0x03}, {0x07}}), 3));
    items.push_back(
        unsigned3("EditKoppaFiPatMns", "&Shorter Flame Interval After 5-3:", 0x5182, 16));
    Group g = group("Bowser Flame Settings", 20961, "SpdKoppaFiPat", std::move(items));
    g.notes = {"Consecutive flames ignore setting if above 16."};
    return g;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormEnemy3";
    t.caption = "Enemy Settings 3";
    t.undoSuffix = "(Enemy 3)";
    t.helpContext = 600;

    t.pages = pageList({
        page("Bill Blaster", "TabKiller1",
             {
                 billBlasterSpeed(),
                 holdFireRange(),
                 group("Launched Character Sprite", 26852, "SpdHodaiChr",
                       {code("CmbHodaiChr", "Set &Value:", 0x68E4,
                             codeNames(0x33, launchedSpriteNames), 0x08)}),
                 group("Collision Settings", 14993, "SpdKillerStat",
                       {choice("CmbKillerStat", "Set Val&ue:", 0x3A91,
                               makeList({"Normal  [Default]", "Background", "Obstacle"}),
                               rule::byteTable({{0xD8}, {0xD9}, {0xDB}}), 0)}),
             }),
        page("Bullet Bill (Const. Fire)", "TabKiller2",
             {
                 group("Bullet Bill Speed", 19536, "SpdKillerCnt",
                       {negated4("EditKillerCnt", "Set &Value:", 0x4C50, 24)}),
                 bulletBillElevations(),
             }),
        page("Hammer Bros.", "TabBrs",
             {
                 group("Hammer Bros. Throw Interval", 18910, "SpdHmBrsHmKan",
                       {unsigned3("EditHmBrsHmKan", "Until &5-2:", 0x49DE, 48),
                        unsigned3("EditHmBrsHmKanU", "After 5-&2:", 0x49DF, 28)}),
                 group("Hammer Bros. Time Until Rush", 17206, "SpdHmBrsIdo",
                       {unsigned3("EditHmBrsIdo", "&Until 5-2:", 0x4336, 128),
                        unsigned3("EditHmBrsIdoU", "&After 5-2:", 0x4337, 80)}),
                 group("Hammer Bros. Speed", 19074, "SpdHmBrsSpeed",
                       {signed4("EditHmBrsSpeed_R", "&Right:", 0x4A71, 4),
                        negated4("EditHmBrsSpeed_L", "&Left:", 0x4A69, 4),
                        negated4("EditHmBrsSpeed", "Rushin&g:", 0x4A82, 8)}),
                 group("Hammer Bros. Bounce When Hit", 24994, "SpdHmBrsTuki",
                       {negated4("EditHmBrsTuki", "Se&t Value:", 0x61A2, 4)}),
             }),
        page("Bowser 1", "TabKoopa1",
             {
                 group("Bowser Speed (Mario on Left)", 20758, "SpdKoopaSpeed",
                       {signed4("EditKoopaSpeed_R", "&Right:", 0x5116, 1),
                        negated4("EditKoopaSpeed_L", "&Left:", 0x5109, 1)}),
                 group("Bowser Speed (Mario on Right)", 20687, "SpdKoopaSpeedRt",
                       {signed4("EditKoopaSpeedRt", "Set &Value:", 0x50CF, 2)}),
                 bowserTrueForm(),
                 group("Bowser Movement Range", 20794, "SpdKoopaMove",
                       {choice("CmbKoopaMove", "Hei&ght:", 0x513A, movementHeights(),
                               rule::highNibble(0), 8)}),
             }),
        page("Bowser 2", "TabKoopa2",
             {
                 group("First World Bowser Does Not Breathe Fire", 20833, "SpdKoopaNoFire",
                       {world("EditKoopaNoFire", "&World:", 0x5161, 6)}),
                 group("World Bowser Breathes Fire Anyway", 20829, "SpdKoopaExFire",
                       {world("EditKoopaExFire", "Wo&rld:", 0x515D, 8)}),
                 group("First World Bowser Throws Hammers", 20779, "SpdKoopaThHammer",
                       {world("EditKoopaThHammer", "Worl&d:", 0x512B, 6)}),
                 group("Bowser Fireball Endurance", 17788, "SpdFiKoopa",
                       {numeric("EditFiKoopa", "Set &Value:", 0x457C, zeroIs256, 1, 256, 5, 3)}),
                 group("Bowser Jump Height", 20822, "SpdKoopaJump",
                       {negated4("EditKoopaJump", "Set V&alue:", 0x5156, 2)}),
                 group("Bounce When Attacking Bowser", 22394, "SpdKoppaTuki",
                       {negated4("EditKoppaTuki", "Set Va&lue:", 0x577A, 2)}),
             }),
        page("Bowser Flame", "TabKoopaFire",
             {
                 group("Bowser Flame Speed", 21015, "SpdKoopaSpFire",
                       {unsigned3("EditKoopaSpFire", "Set V&alue:", 0x5217, 1)}),
                 group("Time Between Bowser Flame Salvos", 20842, "SpdKoopaTmFire",
                       {unsigned3("EditKoopaTmFire", "Set &Value:", 0x516A, 32)}),
                 flameSettings(),
             }),
        page("Hammers", "TabHammer",
             {
                 group("Thrown Hammers", 15108, "SpdHammerThrow",
                       {negated4("EditHammerThrow", "Set V&alue:", 0x3B04, 2)}),
                 group("Hammer Distance", 15010, "SpdHammer",
                       {signed4("EditHammer_R", "&Right:", 0x3AA2, 16),
                        negated4("EditHammer_L", "&Left:", 0x3AA3, 16)}),
                 group("Hammer Hold Time", 15044, "SpdHammerHold",
                       {numeric("EditHammerHold", "Set &Value:", 0x3AC4, minus130, -130, 125, 14)}),
             }),
        page("Other", "TabAdvance",
             {
                 group("Bill Blaster Launched Character", 14884, "SpdHodaiChrAdvc",
                       {choice("CmbHodaiChrAdvc", "Ch&aracter:", 0x3A24,
                               codeNames(256, blasterCharacterNames), rule::indexOffset(0, true),
                               0x33)}),
                 group("Hammer Bros. Pattern Before Rush", 19053, "SpdHmBrsZengo",
                       {signed4("EditHmBrsZengo", "Set &Value:", 0x4A6D, 64)}),
             }),
    });
    return t;
}

} // namespace

int flameIntervalsInUse(int patternCountEntry) {
    switch (patternCountEntry) {
    case 1:
        return 2;
    case 2:
        return 4;
    case 3:
        return 8;
    default:
        return 1;
    }
}

const DialogTable& enemy3() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

} // namespace qv::tables
