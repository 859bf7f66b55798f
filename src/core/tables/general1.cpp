// The General 1 dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/general1.h"

#include "core/tables/basicblocks.h"
#include "core/tables/builders.h"
#include "core/tables/staircaseblocks.h"

namespace qv::tables {
namespace {

using enc::complement;
using enc::negated;
using enc::plusOne;
using enc::signedByte;
using enc::unsignedByte;

// Elevations 0..13, the last one hidden.
ChoiceListRef elevations(int marked) {
    return numberList(0, 13, marked, {{13, " (Hidden)"}});
}

// Bridge elevations -1..14 (byte + 1); the outermost three are hidden.
ChoiceListRef bridgeElevations(int marked) {
    return numberList(-1, 14, marked, {{-1, " (Hidden)"}, {13, " (Hidden)"}, {14, " (Hidden)"}});
}

// Fireworks 0..9: none, the bare numbers up to the default, then "may appear anywhere".
ChoiceListRef fireworks(int marked) {
    return entryList(10, [=](int n) {
        if (n == 0 && marked != 0) return std::string("0 (None)");
        std::string s = std::to_string(n);
        if (n == marked) s += "  [Default]";
        if (n > marked) s += " (May Appear Anywhere)";
        return s;
    });
}

ChoiceListRef initialTime(const std::string& marked) {
    return lazyList(11, [=] {
        std::vector<std::string> out{"0",   "100", "200", "300", "400",        "500",
                                     "600", "700", "800", "900", "A00 = 1,000"};
        for (std::string& s : out)
            if (s == marked) s += "  [Default]";
        return out;
    });
}

ChoiceListRef blockItems(const std::string& marked) {
    return lazyList(6, [=] {
        std::vector<std::string> out{"Magic Mushroom",       "Starman",
                                     "1UP Mushroom",         "Invincibility Shell",
                                     "Invincibility Flower", "Static Starman"};
        for (std::string& s : out)
            if (s == marked) s += "  [Default]";
        return out;
    });
}
ChoiceRule blockItemBytes() {
    return rule::byteTable({{0x00}, {0x02}, {0x03}, {0x37}, {0x41}, {0x42}});
}

// Sprites 0x00..0x1A; the three springboard frames are worded per list.
ChoiceListRef sprites(std::string e18, std::string e19, std::string e1a) {
    static constexpr std::string_view kFixed[] = {
        "00 Green Koopa Shell (Flipped, Respawning)",
        "01 Red Koopa Shell (Flipped, Respawning)",
        "02 Buzzy Beetle (Flipped)",
        "03 Red Koopa Shell (Flipped, Respawning)",
        "04 Green Koopa Troopa (Odd)",
        "05 Hammer Bros.",
        "06 Goomba (Odd)",
        "07 Blooper",
        "08 Bullet Bill",
        "09 Green Koopa Paratroopa (Odd)",
        "0A Green Cheep-Cheep (Odd)",
        "0B Green Koopa Paratroopa (Odd)",
        "0C Podoboo (Flipped)",
        "0D Piranha Plant",
        "0E Green Koopa Paratroopa (Odd)",
        "0F Red Koopa Paratroopa (Odd)",
        "10 Black Koopa Paratroopa",
        "11 Lakitu (Retracted)",
        "12 Spiny",
        "13 Unknown",
        "14 Red Cheep-Cheep (Odd)",
        "15 Toad / Peach (Odd)",
        "16 Bowser (Odd)",
        "17 Bowser (Odd)",
    };
    return entryList(27, [=](int index) {
        switch (index) {
        case 0x18:
            return e18;
        case 0x19:
            return e19;
        case 0x1A:
            return e1a;
        default:
            return std::string(kFixed[index]);
        }
    });
}

ChoiceListRef handrail() {
    return entryList(28, [](int index) {
        const int n = index - 15;
        std::string s = "Bridge " + std::string(n > 0 ? "+" : "") + std::to_string(n);
        if (n == -1) s += "  [Default]";
        if (n == 0) s += " (Not Visible)";
        return s;
    });
}

Group blockConfiguration() {
    Group g;
    g.caption = "Block Configuration";
    g.objectName = "GrpBlocConfig";
    g.buttons = {
        {"BtnKihonBloc", "Basic &Block Settings...", 5100, "LabKihonBloc", "TFormKihonBloc"},
        {"BtnKaidanBloc", "Staircase B&lock Settings...", 6854, "LabKaidanBloc",
         "TFormKaidanBloc"}};
    return g;
}

Group lifts() {
    // The 16-bit speeds accept -32767..32768 while their spinners run -32768..32767.
    return group("Lift Speed", 18529, "SpdLift",
                 {withSpin(numericAt("EditUpLift", "&Ascending:", {0x4861, 0x485C}, enc::split16,
                                     -32767, 32768, -240, "[-32,767～32,768 Default: -240]", 6),
                           -32768, 32767),
                  withSpin(numericAt("EditDownLift", "&Descending:", {0x486D, 0x4868}, enc::split16,
                                     -32767, 32768, 240, "[-32,767～32,768 Default: 240]", 6),
                           -32768, 32767),
                  numeric("EditGoLiftBfr", "&Before Riding:", 0x481C, signedByte, -128, 127, 0),
                  numeric("EditGoLiftAft", "&While Riding:", 0x5658, signedByte, -128, 127, 16)});
}

Group stageSelectWorld() {
    // 29 xx is AND #xx; "256" replaces it by two NOPs, and AND #FF means the same.
    const ChoiceRule r = rule::byteTable({{0x29, 0x00},
                                          {0x29, 0x01},
                                          {0x29, 0x03},
                                          {0x29, 0x07},
                                          {0x29, 0x0F},
                                          {0x29, 0x1F},
                                          {0x29, 0x3F},
                                          {0x29, 0x7F},
                                          {0xEA, 0xEA}},
                                         {{{0x29, 0xFF}, 8}});
    return group(
        "Max Stage Select World", 689, "SpdStSelWorld",
        {choice("CmbStSelWorld", "&World:", 0x02B1,
                makeList({"1", "2", "4", "8  [Default]", "16", "32", "64", "128", "256"}), r, 3)});
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormZenpan1";
    t.caption = "General Settings 1";
    t.undoSuffix = "(General 1)";
    t.helpContext = 200;
    t.subDialogs = {&basicBlocks(), &staircaseBlocks()};

    const ChoiceListRef sprites19 =
        sprites("18 Springboard", "19 Springboard (Half Pressed)  [Default]",
                "1A Springboard (Fully Pressed)");
    const ChoiceRule nokori = rule::byteTable(
        {{0x00}, {0x01}, {0x02}, {0x03}, {0x04}, {0x05}, {0x06}, {0x07}, {0x08}, {0x09}, {0x14}});
    const ChoiceRule bridge = rule::indexOffset(2, false);

    t.pages = pageList({
        page(
            "Blocks", "TabBloc",
            {
                group("10 Coin Block Timer", 15682, "SpdTenCoin",
                      {numeric("EditTenCoin", "Set &Value:", 0x3D42, unsignedByte, 0, 255, 11, 3)}),
                group("Replace Ocean with Castle Blocks", 5254, "SpdCsBrkWorld",
                      {numeric("EditCsBrkWorld", "Wo&rld:", 0x1486, plusOne, 1, 256, 8, 3)}),
                blockConfiguration(),
                group("? Block Row Elevations", 6521, "SpdHatenaHeight",
                      {choice("CmbHatenaHeight1", "Normal Elevation &3:", 0x1979, elevations(3),
                              rule::byteIndex(), 3),
                       choice("CmbHatenaHeight2", "Normal Elevation &7:", 0x197C, elevations(7),
                              rule::byteIndex(), 7)}),
                group("Broken Block Piece Bounce", 15996, "SpdBlocHane",
                      {numeric("EditBlocHaneUp", "&Upper:", 0x3E7C, negated, -127, 128, 6),
                       numeric("EditBlocHaneLw", "Lo&wer:", 0x3E61, negated, -127, 128, 4)}),
            }),
        page(
            "Items", "TabItem",
            {
                group("Mushroom and Starman Speed", 15572, "SpdItemSpeed",
                      {numeric("EditItemSpeed", "Set &Value:", 0x3CD4, signedByte, -128, 127, 16)}),
                group("Items In Blocks", 15843, "SpdBlocItem",
                      {choice("CmbBlocItemPk", "&Magic Mushroom:", 0x3DE3,
                              blockItems("Magic Mushroom"), blockItemBytes(), 0),
                       choice("CmbBlocItemSt", "&Starman:", 0x3DE6, blockItems("Starman"),
                              blockItemBytes(), 1),
                       choice("CmbBlocItemOu", "&1UP Mushroom:", 0x3DE9, blockItems("1UP Mushroom"),
                              blockItemBytes(), 2)}),
                [] {
                    Group g =
                        group("Hidden 1UP Mushroom Blocks", 6935, "SpdAlwaysOneUp",
                              {check("ChkAlwaysOneUp", "Hidden Blocks &Always Give 1UP Mushrooms",
                                     0x1B17, {0x01}, {0x00})});
                    g.resetPanel = "PanelMilZero";
                    return g;
                }(),
                group("Hit Coin Bounce", 15229, "SpdCoinHane",
                      {numeric("EditCoinHane", "Set Va&lue:", 0x3B7D, negated, -127, 128, 5)}),
                notes("Miscellaneous", "GrpItemMisc",
                      {"Additional item settings may be found in [Enemies 1]-[Mario Interaction]: "
                       "[Bounce When Hit From Below] and [Enemy, Mushroom Rebound Momentum].",
                       "[Paratroopa, Starman Jump Height] may be found in [Enemies "
                       "1]-[Paratroopa]."}),
            }),
        page("Springboard", "TabJump",
             {
                 notes("Springboard Jump Power", "GrpJumpDaiInfo",
                       {"These settings can be changed in [Mario Settings]-[Jump Ability 2]-"
                        "[Springboard Jump Power]."}),
                 group("Springboard Animation Sprites", 26760, "SpdJumpDaoChr",
                       {choice("CmbJumpDaoChr0", "&Normal:", 0x6888,
                               sprites("18 Springboard  [Default]",
                                       "19 Springboard (Half Pressed, Floating)",
                                       "1A Springboard (Fully Pressed, Floating)"),
                               rule::byteIndex(), 0x18),
                        choice("CmbJumpDaoChr1", "H&alf Pressed:", 0x6889, sprites19,
                               rule::byteIndex(), 0x19),
                        choice("CmbJumpDaoChr2", "Fu&lly Pressed:", 0x688A,
                               sprites("18 Springboard", "19 Springboard (Half Pressed)",
                                       "1A Springboard (Fully Pressed)  [Default]"),
                               rule::byteIndex(), 0x1A),
                        choice("CmbJumpDaoChr3", "Half &Restored:", 0x688B, sprites19,
                               rule::byteIndex(), 0x19)}),
             }),
        page("Lifts", "TabLift", {lifts()}),
        page("Bridge", "TabSusBridge",
             {
                 group("Bridge Elevation", 6538, "SpdSusBridge",
                       {choice("CmbSusBridge1", "Originally &7:", 0x198A, bridgeElevations(7),
                               bridge, 8),
                        choice("CmbSusBridge2", "Originally &8:", 0x198D, bridgeElevations(8),
                               bridge, 9),
                        choice("CmbSusBridge3", "Originally &10:", 0x1990, bridgeElevations(10),
                               bridge, 11)}),
                 group("Bridge Handrail Offset", 6554, "SpdSusBrgTesuri",
                       {choice("CmbSusBrgTesuri", "Set &Value:", 0x199A, handrail(),
                               rule::indexOffset(-0x93, true), 14)}),
             }),
        page("Horizontal Rope", "TabMaruChr",
             {
                 group("Elevation of Horizontal Rope", 6568, "SpdMaruChrHeight",
                       {choice("CmbMaruChrHeight", "Set &Value:", 0x19A8, elevations(2),
                               rule::byteIndex(), 2)}),
             }),
        page("Time", "TabTime",
             {
                 group("Decrement Rate", 14231, "SpdTimeDecSpd",
                       {numeric("EditTimeDecSpd", "Set &Value:", 0x3797, complement, 0, 255, 231,
                                3)}),
                 group("Default Initial Time", 4414, "SpdNokoriTime",
                       {choice("CmbNokoriTime0", "Normally &400:", 0x113E, initialTime("400"),
                               nokori, 4),
                        choice("CmbNokoriTime1", "Normally 3&00:", 0x113F, initialTime("300"),
                               nokori, 3),
                        choice("CmbNokoriTime2", "Normally &200:", 0x1140, initialTime("200"),
                               nokori, 2)}),
                 group("Timer Setting", 14237, "SpdTimeNoDown",
                       {check("ChkTimeNoDown", "Do &Not Decrement Timer", 0x379D,
                              {0xA9, 0x00, 0x8D, 0x39}, {0xA9, 0xFF, 0x8D, 0x39})}),
                 group("Time + Fireworks Displayed", 21256, "SpdFireFrower",
                       {choice("CmbFireFrower0", "Normally &1:", 0x5308, fireworks(1),
                               rule::byteIndex(), 1),
                        choice("CmbFireFrower1", "Normally &3:", 0x530E, fireworks(3),
                               rule::byteIndex(), 3),
                        choice("CmbFireFrower2", "Normally &6:", 0x5314, fireworks(6),
                               rule::byteIndex(), 6)}),
             }),
        page("Stages", "TabStage",
             {
                 stageSelectWorld(),
                 group("Stage Select Setting", 638, "SpdStSelTrue",
                       {check("ChkStSelTrue", "Enable &Stage Select at Start", 0x027D,
                              {0xFC, 0x07, 0xEA}, {0xFC, 0x07, 0xF0})}),
                 group("Difficulty Increase", 4171, "SpdNnd",
                       {numeric("EditNndWorld", "W&orld:", 0x104B, plusOne, 1, 256, 5, 3),
                        numeric("EditNndArea", "&Level:", 0x1054, plusOne, 1, 256, 3, 3)}),
             }),
    });
    return t;
}

} // namespace

const DialogTable& general1() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

} // namespace qv::tables
