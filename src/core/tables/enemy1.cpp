// The Enemy 1 dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/enemy1.h"

#include <array>
#include <string_view>

#include "core/tables/builders.h"
#include "core/tables/codecs.h"

namespace qv::tables {
namespace {

using enc::negated;
using enc::plusOne;
using enc::signedByte;
using enc::unsignedByte;

// Enemy and object codes 0x00..0x35; the index is the code.
constexpr std::array<std::string_view, 0x36> kCodesA = {
    "00 Green Koopa Troopa",
    "01 Red Koopa Troopa",
    "02 Buzzy Beetle",
    "03 Red Koopa Troopa (Loop)",
    "04 Green Koopa Troopa (Still)",
    "05 Hammer Bros.",
    "06 Goomba",
    "07 Blooper",
    "08 Bullet Bill",
    "09 G. Paratroopa (Still)→R. Koopa Troopa",
    "0A G. Cheep-Cheep (Swim)→G. Koopa Troopa",
    "0B R. Cheep-Cheep (Swim)→R. Koopa Troopa",
    "0C Podoboo (From Ground)",
    "0D Piranha Plant",
    "0E Green Paratroopa (Jump)",
    "0F Red Paratroopa (U/D)",
    "10 Green Paratroopa (L/R)",
    "11 Lakitu",
    "12 Spiny (Still)",
    "13 Unknown (Still)→Red Koopa Troopa",
    "14 Flying Red Cheep-Cheep",
    "15 Bowser Flame (Multi)",
    "16 -",
    "17 Multi Bullet Bill + Cheep-Cheep",
    "18 NULL",
    "19 NULL",
    "1A NULL",
    "1B Firebar (Rotate Right)",
    "1C Firebar (Rotate Right Fast)",
    "1D Firebar (Rotate Left)",
    "1E Firebar (Rotate Left Fast)",
    "1F Long Firebar (Rotate Right)",
    "20 Long Firebar (Static, Odd Behavior)",
    "21 Long Firebar (Static, Odd Behavior)",
    "22 Long Firebar (Static, Odd Behavior)",
    "23 NULL",
    "24 Lift (Unridable)",
    "25 Lift (U/D)",
    "26 Lift (Up)",
    "27 Lift (Down)",
    "28 Lift (L/R)",
    "29 Lift (Sinking)",
    "2A Lift (Ride Horz.)",
    "2B Small Lift (Up)",
    "2C Small Lift (Down)",
    "2D Bowser",
    "2E NULL",
    "2F NULL",
    "30 NULL",
    "31 NULL",
    "32 Springboard (Unusable)",
    "33 NULL",
    "34 NULL",
    "35 Toad / Peach",
};

// List B: list A with these four rows worded otherwise.
constexpr std::array<std::pair<int, std::string_view>, 4> kCodesB = {{
    {0x14, "14 Flying Cheep-Cheep and G. Koopa Troopa"},
    {0x24, "24 Lift (Balance)"},
    {0x2D, "2D Bowser (2nd, Fireball Resistant)"},
    {0x33, "33 Bullet Bill"},
}};

enum class Codes { A, B };

// Entry `code` of a code list, with `marker` after the marked one.
std::string codeEntry(Codes which, int code, int marked, std::string_view marker) {
    std::string s(kCodesA[static_cast<std::size_t>(code)]);
    if (which == Codes::B)
        for (const auto& [c, caption] : kCodesB)
            if (c == code) s = caption;
    if (code == marked) s += marker;
    return s;
}

// A code list with its default entry marked.
ChoiceListRef codeList(Codes which, int marked) {
    return entryList(static_cast<int>(kCodesA.size()),
                     [=](int code) { return codeEntry(which, code, marked, "  [Default]"); });
}

Item code(RowText control, RowText label, int offset, ChoiceListRef list, int defaultCode) {
    return choice(control, label, offset, list, rule::byteIndex(), defaultCode);
}

// ChkJugemRestHei, "+0.5": the low nibble of the revival elevation byte, 8 or 0.
const Item& revivalRaisedBox() {
    static const Item box = flag("ChkJugemRestHei", "Set &revival elevation to +0.5 by default.",
                                 kJugemRestHei, 0x0F, 0x08, 0x00);
    return box;
}

// The high nibble with a low nibble of 8 allowed too: that nibble belongs to
// ChkJugemRestHei (see revivalRaisedBox()), so the list keeps it when it writes its own.
int decodeRevivalElevation(std::span<const int> f, std::span<const int>) {
    return revivalRaised(f[0]) ? unsignedField(f[0]) >> 4 : -1;
}
void encodeRevivalElevation(int index, std::span<int> f, std::span<const int>) {
    f[0] = signExtend(low8(index * 16 + (unsignedField(f[0]) & 0x08)));
}

} // namespace

const RuleKind revivalElevationKind{"high nibble, low nibble 0 or 8", &decodeRevivalElevation,
                                    &encodeRevivalElevation};

namespace {

ChoiceRule revivalElevation() {
    return {&revivalElevationKind, 1, {}};
}

// Elevations -1..14 (index * 16 is the byte); the last two are hidden.
ChoiceListRef elevations(int marked) {
    return entryList(16, [=](int index) {
        const int n = index - 1;
        std::string s = std::to_string(n);
        if (n == marked) s += "  [Default]";
        if (n >= 13) s += " (Hidden)";
        return s;
    });
}

// The flying Cheep-Cheep speed table: twelve consecutive bytes, four per player
// state, laid out one row per state. Grid groups list their items column by column.
Group cheepCheepSpeeds() {
    // 0x80 reads as -128 but is also what 128 stores: OK accepts -128 too, so an
    // untouched 0x80 is written back as it was instead of turning into the default.
    constexpr int defaults[3][4] = {{14, 5, 6, 14}, {28, 32, 16, 12}, {30, 34, 24, 20}};
    std::vector<Item> items;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 3; ++row) {
            const int n = row * 4 + column; // 0-based: EditPukuSpeed1 at 0x44A8
            items.push_back(
                withSpin(numeric("EditPukuSpeed" + std::to_string(n + 1), "", 0x44A8 + n,
                                 signedByte, -128, 128, defaults[row][column], ""),
                         -127, 128));
        }
    Group g = group("Flying Red Cheep-Cheep Speed", 17576, "SpdPukuSpeed", std::move(items));
    g.grid = GridLayout{
        {"", "", "", ""},
        {"Player &Stopped:", "Player &Walking:", "Player &Running:"},
        {"[-127～128 Default: 14, 5, 6, 14]", "[-127～128 Default: 28, 32, 16, 12]",
         "[-127～128 Default: 30, 34, 24, 20]"},
    };
    return g;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormEnemy1";
    t.caption = "Enemy Settings 1";
    t.undoSuffix = "(Enemy 1)";
    t.helpContext = 400;

    const ChoiceRule kuriAnim =
        rule::byteTable({{0x01}, {0x02}, {0x04}, {0x08}, {0x10}, {0x20}, {0x40}, {0x80}, {0x00}});
    const ChoiceRule jugemAppear =
        rule::byteTable({{0x12}, {0x14}, {0x15}, {0x17}, {0x18}, {0x19}});

    t.pages = pageList({
        page("Koopa Troopa", "TabNoko1",
             {
                 group("Koopa, Goomba, Buzzy Beetle Speed", 17180, "SpdNokoSpeed",
                       {numeric("EditNokoSpeed", "Set &Value:", 0x431C, negated, -127, 128, 8),
                        numeric("EditNokoSpeedU", "H&ard Mode:", 0x431D, negated, -127, 128, 12)}),
                 group("Speed After Stomping Paratroopa", 22625, "SpdPtFmSpeed",
                       {numeric("EditPtFmSpeed_R", "Ri&ght:", 0x5861, signedByte, -128, 127, 8),
                        numeric("EditPtFmSpeed_L", "Le&ft:", 0x5862, negated, -127, 128, 8)}),
                 [] {
                     Group g = group("Koopa, Buzzy Shell Revive Time", 23010, "SpdNkFkTime",
                                     {numeric("EditNkFkTime", "Set Val&ue:", 0x59E2, unsignedByte,
                                              0, 255, 16, 3),
                                      numeric("EditNkFkTimeU", "Hard &Mode:", 0x59E3, unsignedByte,
                                              0, 255, 11, 3)});
                     g.notes = {"Also affects the time Goombas are stomped.  If below 13 Goombas "
                                "will revive."};
                     g.noteNames = {{0, "LabLabNkFkTime3"}};
                     return g;
                 }(),
                 group("Koopa, Buzzy Speed After Revive", 18916, "SpdNkFkSpeed",
                       {numeric("EditNkFkSpeed_R", "&Right:", 0x49E4, signedByte, -128, 127, 8),
                        numeric("EditNkFkSpeed_L", "&Left:", 0x49E5, negated, -127, 128, 8),
                        numeric("EditNkFkSpeedU_R", "R&ight (Hard):", 0x49E6, signedByte, -128, 127,
                                12),
                        numeric("EditNkFkSpeedU_L", "L&eft (Hard):", 0x49E7, negated, -127, 128,
                                12)}),
             }),
        page("Paratroopa", "TabPata",
             {
                 group("Paratroopa, Starman Jump Height", 24975, "SpdPataJump",
                       {numeric("EditPataJump", "Set V&alue:", 0x618F, negated, -127, 128, 3)}),
                 group("Jumping Paratroopa Speed", 18406, "SpdPataIdo",
                       {numeric("EditPataIdo", "Set &Value:", 0x47E6, negated, -127, 128, 8)}),
             }),
        page("Lakitu", "TabJugem",
             {
                 group("Spiny Egg Throw Offset", 17491, "SpdPaipoThrow",
                       {numeric("EditPaipoThrow", "Set Va&lue:", 0x4453, negated, -127, 128, 3)}),
                 group("Lakitu Speed", 20277, "SpdJugemSpeed",
                       {numeric("EditJugemSpeed1", "&General:", 0x4F35, signedByte, -128, 127, 21),
                        // 128 is stored as 0x80, which reads back as -128: see cheepCheepSpeeds().
                        withSpin(numeric("EditJugemSpeed2", "Pursu&it At:", 0x4F36, signedByte,
                                         -128, 128, 48),
                                 -127, 128),
                        numeric("EditJugemSpeed3", "Ra&nge:", 0x4F37, signedByte, -128, 127, 64)}),
                 group("Lakitu Revival Time", 17365, "SpdJugemRestore",
                       {numeric("EditJugemRestore", "Set &Value:", 0x43D5, unsignedByte, 0, 255, 7,
                                3)}),
                 // The list and the "+0.5" box share this byte, one nibble each.
                 group("Lakitu Revival Elevation", 17391, "SpdJugemRestHei",
                       {choice("CmbJugemRestHei", "Set V&alue:", kJugemRestHei,
                               makeList({"-1.5", "-0.5", "0.5  [Default]", "1.5", "2.5", "3.5",
                                         "4.5", "5.5", "6.5", "7.5", "8.5", "9.5", "10.5", "11.5",
                                         "12.5", "13.5"}),
                               revivalElevation(), 2),
                        revivalRaisedBox()}),
                 group("Behavior With Other Characters", 20305, "SpdJugemAppear",
                       {choice("CmbJugemAppear", "Set Val&ue:", 0x4F51,
                               makeList({"Throw Spiny Eggs  [Default]",
                                         "No Eggs; flying Cheep-Cheeps.", "No Eggs; Bowser Flame.",
                                         "No Eggs; Bullet Bills, flying Cheep-Cheeps.",
                                         "Lakitu passes by without throwing anything.",
                                         "Eggs not thrown."}),
                               jugemAppear, 0)}),
             }),
        page("Spiny", "TabTogezo",
             {
                 group("Spiny Speed", 24772, "SpdTogeSpeed",
                       {numeric("EditTogeSpeed", "Set &Value:", 0x60C4, signedByte, -128, 127, 8)}),
             }),
        page("Goomba", "TabKuri",
             {
                 group("Goomba Step Interval", 26922, "SpdKuriAnim",
                       {choice("CmbKuriAnim", "Set &Value:", 0x692A,
                               makeList({"01 Fastest", "02", "04", "08 Normal  [Default]", "10",
                                         "20", "40", "80 Slowest", "00 Stopped"}),
                               kuriAnim, 3)}),
                 group("Goomba Settings", 16910, "SpdKuriOneChr",
                       {code("CmbKuriTwoChr", "Combined &Goombas→Hard Mode:", 0x4217,
                             codeList(Codes::A, 0x02), 0x02),
                        code("CmbKuriChange", "Combined &Buzzy Beetles→Hard Mode:", 0x420E,
                             codeList(Codes::A, 0x06), 0x06)}),
             }),
        page("Multiple Occurrence", "TabFukusu",
             {
                 // 16919 is 0x4217, the Goomba Settings byte, not this group's first.
                 group("Sequential Character Settings", 16919, "SpdKuriTwoChr",
                       {code("CmbKuriTwoChrU", "Single Goombas→Co&mbined:", 0x473E,
                             codeList(Codes::B, 0x02), 0x02),
                        code("CmbKuriFukuChr", "Sequential Characters &1:", 0x4737,
                             codeList(Codes::B, 0x06), 0x06),
                        code("CmbNokoFukuChr", "Sequential Characters &2:", 0x472C,
                             codeList(Codes::B, 0x00), 0x00)}),
                 group("#Multiple Goombas, Green Koopas", 18263, "SpdKuriAppear",
                       {choice("CmbKuriAppear", "Set V&alue:", 0x4757,
                               makeList({"1 and 2", "2 and 3  [Default]", "3 and 4", "4 and 5 (4)",
                                         "5 and 6 (4)"}),
                               rule::indexOffset(-1, false), 1)}),
                 group("Multiple Goomba, Green Koopa Elevation", 18249, "SpdKuriAppHei",
                       {choice("CmbKuriAppHei6", "Elevation &6:", 0x4749, elevations(6),
                               rule::highNibble(0), 7),
                        choice("CmbKuriAppHei10", "Elevation 1&0:", 0x4743, elevations(10),
                               rule::highNibble(0), 11)}),
                 group("Multiple Goomba, Green Koopa Interval", 18297, "SpdKuriAppItv",
                       {numeric("EditKuriAppItv", "Set &Value:", 0x4779, unsignedByte, 0, 255, 24,
                                3)}),
             }),
        page("Cheep-Cheep 1", "TabSheet2",
             {
                 group("Flying Red Cheep-Cheep Height", 17636, "SpdPukuJump",
                       {numeric("EditPukuJump", "Set Val&ue:", 0x44E4, negated, -127, 128, 5)}),
                 cheepCheepSpeeds(),
             }),
        page("Cheep-Cheep 2", "TabSheet1",
             {
                 [] {
                     Group g = group("Multi Cheep-Cheep Rate", 18112, "SpdPukuRitsu",
                                     {numeric("EditPukuRitsu", "Set &Value:", 0x46C0, unsignedByte,
                                              0, 255, 170, 3)});
                     g.objectName = "GupPukuRitsu";
                     return g;
                 }(),
                 group("World for Rate Reversal", 18120, "SpdPukuGkWorld",
                       {numeric("EditPukuGkWorld", "&World:", 0x46C8, plusOne, 1, 256, 2, 3)}),
                 group("Multi Cheep-Cheep Interval", 18182, "SpdPukuInterval",
                       {numeric("EditPukuInterval", "Set V&alue:", 0x4706, unsignedByte, 0, 255, 32,
                                3)}),
                 notes("Multi Cheep-Cheep Elevation", "GrpPukuHeight",
                       {"Changes settings for [Enemy 3], [Bullet Bill 2], [Multi Bullet Bill, "
                        "Cheep-Cheep Elevation]."}),
             }),
        page("Blooper", "TabGesso",
             {
                 group("Blooper Bounce When Stomped", 24665, "SpdGessoHane",
                       {numeric("EditGessoHane", "Set V&alue:", 0x6059, negated, -127, 128, 1)}),
             }),
        page("Mario Interaction", "TabKanyo",
             {
                 group("Kicked Shell Speed", 22623, "SpdKetobashi",
                       {numeric("EditKetobashi_R", "&Right:", 0x585F, signedByte, -128, 127, 48),
                        numeric("EditKetobashi_L", "&Left:", 0x5860, negated, -127, 128, 48)}),
                 // 0x49E2, between the two, belongs to neither.
                 group("Falling Kicked Shell Speed Change", 18913, "SpdKeriochi",
                       {numeric("EditKeriochi_R", "R&ight:", 0x49E1, signedByte, -128, 127, -24),
                        numeric("EditKeriochi_L", "L&eft:", 0x49E3, negated, -127, 128, -24)}),
                 group("Enemy, Mushroom Rebound Momentum", 24527, "SpdFukitobi",
                       {numeric("EditFukitobi_R", "Ri&ght:", 0x5FCF, signedByte, -128, 127, 16),
                        numeric("EditFukitobi_L", "Le&ft:", 0x5FD0, negated, -127, 128, 16)}),
                 group("Bounce When Hit From Below", 24658, "SpdTekiTuki",
                       {numeric("EditTekiTuki", "&Set Value:", 0x6052, negated, -127, 128, 3)}),
             }),
    });
    return t;
}

} // namespace

std::optional<bool> revivalRaised(int field) {
    const ItemState s = revivalRaisedBox().decode(std::span<const int>(&field, 1));
    if (s.outOfBounds) return std::nullopt;
    return s.value != 0;
}

int withRevivalRaised(int field, bool raised) {
    if (!revivalRaised(field)) return field;
    revivalRaisedBox().encode(raised ? 1 : 0, std::span<int>(&field, 1));
    return field;
}

const DialogTable& enemy1() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

} // namespace qv::tables
