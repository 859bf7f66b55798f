// The Mario dialog's rows. Offsets are in the 40,976-byte layout.
#include "core/tables/mario.h"

#include <array>

#include "core/tables/builders.h"

namespace qv::tables {
namespace {

using enc::negated;
using enc::signedByte;
using enc::unsignedByte;

// One column of the jump table: five consecutive bytes, row 1 at the lowest offset.
void jumpColumn(std::vector<Item>& out, const std::string& stem, int first, const Encoding& e,
                int min, int max, const std::string& rangeLabel, std::array<int, 5> defaults) {
    for (int row = 0; row < 5; ++row)
        out.push_back(numeric(stem + std::to_string(row + 1), "", first + row, e, min, max,
                              defaults[static_cast<std::size_t>(row)], rangeLabel));
}

Group jumpTable() {
    std::vector<Item> items;
    jumpColumn(items, "EditJumpBase", 0x3442, negated, -127, 128, "[-127～128]", {4, 4, 4, 5, 5});
    jumpColumn(items, "EditJumpRev", 0x3449, enc::complement, 0, 255, "[0～255]",
               {255, 255, 255, 255, 255});
    jumpColumn(items, "EditJumpRise", 0x3434, enc::complement, 0, 255, "[0～255]",
               {223, 223, 225, 215, 215});
    jumpColumn(items, "EditJumpFall", 0x343B, unsignedByte, 0, 255, "[0～255]",
               {112, 112, 96, 144, 144});
    Group g = group("Jump Power When Walking, Running", 13378, "SpdJump", std::move(items));
    g.grid = GridLayout{
        {"Base Value", "Correction", "Rise Rate", "Fall Rate"},
        {"&Slow / Stopped:", "W&alking:", "S&low Run:", "R&un:", "&Fast Run:"},
        {"[Defaults: 4, 255, 223, 112]", "[Defaults: 4, 255, 223, 112]",
         "[Defaults: 4, 255, 225, 96]", "[Defaults: 5, 255, 215, 144]",
         "[Defaults: 5, 255, 215, 144]"},
    };
    return g;
}

DialogTable build() {
    DialogTable t;
    t.className = "TFormMario";
    t.caption = "Mario Settings";
    t.undoSuffix = "(Mario)";
    t.helpContext = 100;

    const ChoiceListRef fireShot =
        makeList({"Always", "As Super Mario", "As Fire Mario  [Default]", "Never"});
    const ChoiceListRef pipeHeight =
        makeList({"-1", "0", "1", "2", "3", "4", "5", "6", "7", "8  [Default]", "9", "10",
                  "11 (Ground)", "12 (Ground)", "13 (Ground)", "14 (Ground)"});

    t.pages = pageList({
        page("Speed",
             {
                 group("Walking / Swimming Speed", 13396, "SpdMaWalk",
                       {numeric("EditMaWalk_R", "&Right:", 0x3454, signedByte, -128, 127, 24),
                        numeric("EditMaWalk_L", "&Left:", 0x3451, negated, -127, 128, 24)}),
                 group("Ocean Floor Walking Speed", 13397, "SpdMaUmiWk",
                       {numeric("EditMaUmiWk_R", "Ri&ght:", 0x3455, signedByte, -128, 127, 16),
                        numeric("EditMaUmiWk_L", "Le&ft:", 0x3452, negated, -127, 128, 16)}),
                 group("Running Speed", 13395, "SpdMaRun",
                       {numeric("EditMaRun_R", "R&ight:", 0x3453, signedByte, -128, 127, 40),
                        numeric("EditMaRun_L", "L&eft:", 0x3450, negated, -127, 128, 40)}),
                 group("Automatic Walking Speed", 13398, "SpdMaAutoWk",
                       {numeric("EditMaAutoWk", "Set &Value:", 0x3456, enc::autoWalk, -126, 129,
                                12)}),
                 group("Acceleration / Deceleration Rate", 13399, "SpdLuigiSpeed",
                       {check("ChkLuigiSpeed", "Match Settings for Luigi in &SMB2", 0x3457,
                              {0xB4, 0x68, 0x50}, {0xE4, 0x98, 0xD0})}),
             }),
        page("Jump Ability 1", {jumpTable()}),
        page("Jump Ability 2",
             {
                 group("Bounce Off of Enemies", 23042, "SpdMaFumi",
                       {numeric("EditMaFumi", "Set &Value:", 0x5A02, negated, -127, 128, 4),
                        numeric("EditMaFumiKl", "&Bill, etc.:", 0x59BF, negated, -127, 128, 3)}),
                 group("Springboard Jump Power", 14592, "SpdJumpDai",
                       {numeric("EditJumpDai", "Set Va&lue:", 0x3900, negated, -127, 128, 12),
                        numeric("EditJumpDaiOn", "&Riding:", 0x5EDF, negated, -127, 128, 7)}),
             }),
        page(
            "Swimming",
            {
                group("Rise Per Stroke When Swimming", 13383, "SpdMaSwimJump",
                      {numeric("EditMaSwimJump", "Open Wat&er:", 0x3447, negated, -127, 128, 2),
                       numeric("EditMaSwimJumpOc", "In &Current:", 0x3448, negated, -127, 128, 1)}),
                group("Swimming Mario Settings", 13483, "SpdMaSwimNo",
                      {check("ChkMaSwimNo", "Floating While Desce&nding", 0x34AB, {0x70}, {0x10})}),
            }),
        page(
            "Fireballs",
            {
                group("Fireball Speed", 13975, "SpdFiSpeed",
                      {numeric("EditFiSpeed_R", "&Right:", 0x3697, signedByte, -128, 127, 64),
                       numeric("EditFiSpeed_L", "&Left:", 0x3698, negated, -127, 128, 64)}),
                group("Fireball Behavior", 25073, "SpdFireBnd",
                      {numeric("EditFireBnd", "&Bounce:", 0x61F1, negated, -127, 128, 3),
                       numeric("EditFireGravit", "Gr&avity:", 0x36D8, signedByte, -128, 127, 3),
                       check("ChkKoFiJump", "SML Superball Bounc&e", 0x36D6, {0x07}, {0x00})}),
                group("Thrown Fireball Direction", 14020, "SpdFireThrow",
                      {numeric("EditFireThrow", "Set Val&ue:", 0x36C4, negated, -127, 128, -4)}),
                group("Throwing Fireballs", 13880, "SpdFireShot",
                      {choice("CmbFireShot", "Set &Value:", 0x3638, fireShot, rule::byteIndex(), 2),
                       check("ChkFireSquat", "Throw Fireball&s When Crouched", 0x3657, {0xEA, 0xEA},
                             {0xD0, 0x1B}),
                       check("ChkFireOne", "Only O&ne Fireball At A Time", 0x3671,
                             {0xEA, 0xEA, 0xEA}, {0xEE, 0xCE, 0x06})}),
            }),
        page("Pipes",
             {
                 group("Pipe Ascent Speed", 12465, "SpdMaDokanOut",
                       {numeric("EditMaDokanOut", "Set &Value:", 0x30B1, negated, -127, 128, 1)}),
                 group("Pipe Descent Speed", 12790, "SpdMaDokanIn",
                       {numeric("EditMaDokanIn", "Set Va&lue:", 0x31F6, signedByte, -128, 127, 1)}),
                 group("Pipe Exit Height", 12472, "SpdMaDokanHeight",
                       {choice("CmbMaDokanHeight", "Set V&alue:", 0x30B8, pipeHeight,
                               rule::pipeExitHeight(), 9)}),
             }),
        page("Vines",
             {
                 group("Vine Slippage", 13405, "SpdMaTsuruSlip",
                       {numeric("EditMaTsuruSlip", "Set Va&lue:", 0x345D, unsignedByte, 0, 255, 0,
                                3)}),
                 // The vine speeds' ranges deliberately do not match their encodings: a
                 // stored 0x80 reads as 128 (ascent) or -128 (descent), outside the range,
                 // so OK replaces it with the default.
                 group("Vine Ascent Speed", 13403, "SpdMaTsuruUp",
                       {numeric("EditMaTsuruUp", "Set &Value:", 0x345B, negated, -128, 127, 1)}),
                 group(
                     "Vine, Pole Descent Speed", 13404, "SpdMaTsuruDown",
                     {numeric("EditMaTsuruDown", "Set V&alue:", 0x345C, signedByte, -127, 128, 1)}),
             }),
        page("Damage",
             {
                 group("Time Invincible", 22567, "SpdMuTime",
                       {numeric("EditMuStar", "&Starman:", 0x5827, unsignedByte, 0, 255, 35, 3),
                        numeric("EditMuToumei", "&Translucent:", 0x594A, unsignedByte, 0, 255, 8,
                                3)}),
                 group(
                     "Initial #Lives", 4218, "SpdMaZanki",
                     {numeric("EditMaZanki", "Set &Value:", 0x107A, enc::livesPlusOne, 0, 255, 3)}),
                 group("At Death Jump Height", 22894, "SpdMaDeath",
                       {numeric("EditMaDeath", "Set Val&ue:", 0x596E, negated, -127, 128, 4)}),
                 group("Damage Assignment", 22844, "SpdMuteki",
                       {check("ChkMuteki1", "&Disable Damage from Enemies", 0x593C,
                              {0xA6, 0x08, 0x60}, {0xAD, 0x9E, 0x07}),
                        check("ChkMuteki2", "Kick &All Enemies (Except Hammers, etc.)", 0x589B,
                              {0x9F, 0x07, 0xEA, 0xEA}, {0x9F, 0x07, 0xF0, 0x06})}),
             }),
    });
    return t;
}

constexpr std::array<PresetValue, 20> kLuigiJump{{
    {"EditJumpBase1", 4},   {"EditJumpBase2", 4},   {"EditJumpBase3", 4},   {"EditJumpBase4", 5},
    {"EditJumpBase5", 5},   {"EditJumpRev1", 255},  {"EditJumpRev2", 255},  {"EditJumpRev3", 255},
    {"EditJumpRev4", 255},  {"EditJumpRev5", 255},  {"EditJumpRise1", 231}, {"EditJumpRise2", 231},
    {"EditJumpRise3", 231}, {"EditJumpRise4", 221}, {"EditJumpRise5", 221}, {"EditJumpFall1", 66},
    {"EditJumpFall2", 66},  {"EditJumpFall3", 46},  {"EditJumpFall4", 93},  {"EditJumpFall5", 93},
}};

} // namespace

const DialogTable& mario() {
    static const DialogTable& table = *new DialogTable(build());
    return table;
}

std::span<const PresetValue> marioLuigiJump() {
    return kLuigiJump;
}

} // namespace qv::tables
