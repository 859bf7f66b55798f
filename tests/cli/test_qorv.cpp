// Runs the real qorv binary on images built in a temporary folder.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/qorvrun.h"

using namespace qvtest;

namespace {

Bytes plainImage() {
    return Bytes(40976, 0);
}

// Every item of the Mario dialog.
const std::set<std::string> kMarioControls{
    "EditMaWalk_R",     "EditMaWalk_L",   "EditMaUmiWk_R",    "EditMaUmiWk_L",  "EditMaRun_R",
    "EditMaRun_L",      "EditMaAutoWk",   "EditJumpBase1",    "EditJumpBase2",  "EditJumpBase3",
    "EditJumpBase4",    "EditJumpBase5",  "EditJumpRev1",     "EditJumpRev2",   "EditJumpRev3",
    "EditJumpRev4",     "EditJumpRev5",   "EditJumpRise1",    "EditJumpRise2",  "EditJumpRise3",
    "EditJumpRise4",    "EditJumpRise5",  "EditJumpFall1",    "EditJumpFall2",  "EditJumpFall3",
    "EditJumpFall4",    "EditJumpFall5",  "EditMaFumi",       "EditMaFumiKl",   "EditJumpDai",
    "EditJumpDaiOn",    "EditMaSwimJump", "EditMaSwimJumpOc", "EditFiSpeed_R",  "EditFiSpeed_L",
    "EditFireBnd",      "EditFireGravit", "EditFireThrow",    "EditMaDokanOut", "EditMaDokanIn",
    "EditMaTsuruSlip",  "EditMaTsuruUp",  "EditMaTsuruDown",  "EditMuStar",     "EditMuToumei",
    "EditMaZanki",      "EditMaDeath",    "ChkLuigiSpeed",    "ChkMaSwimNo",    "ChkKoFiJump",
    "ChkFireSquat",     "ChkFireOne",     "ChkMuteki1",       "ChkMuteki2",     "CmbFireShot",
    "CmbMaDokanHeight",
};

// Bytes that two items of one dialog deliberately both edit: the retract range is the
// operand of the Piranha Plant disable patch; the axe, rope and bridge bytes each hold a
// row and a column, and every bridge piece reads all 13 bridge bytes.
const std::set<std::pair<std::string, int>> kSharedBytes{
    {"Enemy 2", 0x53E2},
    {"General 2", 0x4FED},
    {"General 2", 0x4FEE},
    {"General 2", 0x4FEF},
    {"General 2", 0x4FF0},
    {"General 2", 0x4FF1},
    {"General 2", 0x4FF2},
    {"General 2", 0x4FF3},
    {"General 2", 0x4FF4},
    {"General 2", 0x4FF5},
    {"General 2", 0x4FF6},
    {"General 2", 0x4FF7},
    {"General 2", 0x4FF8},
    {"General 2", 0x4FF9},
    {"General 2", 0x4FFA},
    {"General 2", 0x4FFB},
    // The bit-flag boxes share their byte with the list or the character they belong to.
    {"Enemy 1", 0x43EF},
    {"Color", 0x687E}};

} // namespace

TEST(Qorv, SetStoresWhatTheDialogWouldStore) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    Bytes image = plainImage();
    image[0x593C] = 0xAD; // ChkMuteki1 clear
    image[0x593D] = 0x9E;
    image[0x593E] = 0x07;
    image[0x30B8] = 0x21; // pipe exit height 1
    writeBytes(game, image);
    const Outcome r =
        qorv(dir, {"set", game, "EditMaZanki=0", "EditMaWalk_L=128", "CmbFireShot=Never",
                   "ChkMuteki1=checked", "CmbMaDokanHeight=8", "EditMaWalk_R=-128"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    Bytes want = image;
    want[0x107A] = 0xFF; // lives are stored one less
    want[0x3451] = 0x80; // negated
    want[0x3638] = 0x03;
    want[0x593C] = 0xA6;
    want[0x593D] = 0x08;
    want[0x593E] = 0x60;
    want[0x30B8] = 0x91; // "8  [Default]" without its decoration
    want[0x3454] = 0x80;
    EXPECT_EQ(readBytes(game), want);

    // Captions match exactly, without the decoration, or by index.
    ASSERT_EQ(qorv(dir, {"set", game, "CmbFireShot=As Fire Mario [Default]"}).status, 0);
    EXPECT_EQ(readBytes(game)[0x3638], 0x02);
    ASSERT_EQ(qorv(dir, {"set", game, "CmbFireShot=As Super Mario", "CmbMaDokanHeight=#0"}).status,
              0);
    EXPECT_EQ(readBytes(game)[0x3638], 0x01);
    EXPECT_EQ(readBytes(game)[0x30B8], 0x01);
    EXPECT_EQ(dir.entries(), 1u); // no temporary file left behind
}

TEST(Qorv, SetRefusesBadAssignmentsGetShowsOutOfBounds) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    Bytes image = plainImage();
    image[0x3451] = 0xE8;
    image[0x30B8] = 0x92; // no pipe height: out of bounds
    writeBytes(game, image);

    const Outcome r = qorv(dir, {"set", game, "EditMaWalk_L=-128"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("qorv: EditMaWalk_L:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("-127 to 128"), std::string::npos) << r.err;

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"EditMaWalk_L=129"},
             {"EditMaWalk_R=128"},
             {"EditMaWalk_R=12x"},
             {"EditMaWalk_R="},
             {"EditMaZanki=256"},
             {"CmbFireShot=Sometimes"},
             {"CmbFireShot=#4"},
             {"CmbFireShot=#-1"},
             {"CmbFireShot=2"},
             {"ChkKoFiJump=yes"},
             {"NoSuchControl=1"},
             {"CmbMaDokanHeight=#0"},
             {"EditMaWalk_R=30", "EditMaWalk_L=30", "CmbFireShot=Sometimes"},
             {"EditMaWalk_R=30", "EditMaWalk_R=31"},
         }) {
        std::vector<std::string> args{"set", game};
        args.insert(args.end(), bad.begin(), bad.end());
        const Outcome b = qorv(dir, args);
        EXPECT_EQ(b.status, 2) << bad.back();
        EXPECT_EQ(b.err.rfind("qorv: ", 0), 0u) << b.err;
    }
    EXPECT_EQ(readBytes(game), image);

    const Outcome g = qorv(dir, {"get", game, "CmbMaDokanHeight", "CmbFireShot"});
    EXPECT_EQ(g.status, 0);
    EXPECT_EQ(g.out, "CmbMaDokanHeight=(Out of bounds: 92)\nCmbFireShot=Always\n");
    const Outcome unknown = qorv(dir, {"get", game, "EditMaWalk_R", "EditNothing"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");

    const Outcome noEquals = qorv(dir, {"set", game, "EditMaWalk_R"});
    EXPECT_EQ(noEquals.status, 64);
    EXPECT_EQ(readBytes(game), image);
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(Qorv, OutputOptionLeavesTheInputAlone) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), out = dir.file("out.nes");
    writeBytes(game, plainImage());
    ASSERT_EQ(qorv(dir, {"set", game, "EditMaWalk_R=24", "-o", out}).status, 0);
    EXPECT_EQ(readBytes(game), plainImage());
    Bytes want = plainImage();
    want[0x3454] = 0x18;
    EXPECT_EQ(readBytes(out), want);

    // A refused assignment creates no output file either.
    EXPECT_EQ(qorv(dir, {"set", game, "EditMaWalk_R=999", "-o", dir.file("no.nes")}).status, 2);
    EXPECT_FALSE(fs::exists(dir.file("no.nes")));
}

TEST(Qorv, TrainerShiftsEveryItem512Bytes) {
    TempDir dir;
    const std::string game = dir.file("t.nes");
    Bytes image(41488, 0);
    image[0x3454 + 512] = 0x18;
    image[0x3454] = 0x7F; // what a missing shift would read
    writeBytes(game, image);

    const auto j = nlohmann::json::parse(qorv(dir, {"dump", game, "--json"}).out);
    EXPECT_EQ(j["size"], 41488);
    EXPECT_EQ(j["trainer"], true);
    const auto& first = j["items"][0];
    EXPECT_EQ(first["control"], "EditMaWalk_R");
    EXPECT_EQ(first["offsets"], nlohmann::json::array({13396}));
    EXPECT_EQ(first["bytes"], nlohmann::json::array({24}));
    EXPECT_EQ(first["value"], "24");
    EXPECT_EQ(qorv(dir, {"get", game, "EditMaWalk_R"}).out, "EditMaWalk_R=24\n");
    // The world bytes of Bowser's fire, under the captions that say what they do.
    for (const auto& item : j["items"]) {
        if (item["control"] == "EditKoopaNoFire") {
            EXPECT_EQ(item["group"], "First World Bowser Does Not Breathe Fire");
            EXPECT_EQ(item["offsets"], nlohmann::json::array({0x5161}));
        }
        // The firebar boxes say what ticking does, over the same bytes.
        if (item["control"] == "ChkFiBarTurn1") {
            EXPECT_EQ(item["label"], "Clockwise Firebar Turns Counterclockwise");
            EXPECT_EQ(item["offsets"], nlohmann::json::array({0x4464}));
            EXPECT_EQ(item["default"], "unchecked");
        }
        if (item["control"] == "ChkFiBarTurn3") {
            EXPECT_EQ(item["label"], "Counterclockwise Firebar Turns Clockwise");
            EXPECT_EQ(item["offsets"], nlohmann::json::array({0x4466}));
            EXPECT_EQ(item["bytes"], nlohmann::json::array({0x00}));
            EXPECT_EQ(item["value"], "checked");
        }
        if (item["control"] == "EditKoopaExFire") {
            EXPECT_EQ(item["group"], "World Bowser Breathes Fire Anyway");
            EXPECT_EQ(item["offsets"], nlohmann::json::array({0x515D}));
        }
    }

    ASSERT_EQ(qorv(dir, {"set", game, "EditMaWalk_L=128"}).status, 0);
    image[0x3451 + 512] = 0x80;
    EXPECT_EQ(readBytes(game), image);
}

// The bytes form that get prints, given back through set or a preset, lands 512 bytes on
// in an image with a trainer, as values do; messages name the offsets the file has.
TEST(Qorv, SetAndImportOfTheBytesFormOnATrainerImage) {
    TempDir dir;
    Bytes image(41488, 0);
    image[0x345C] = 0x80;       // where a missing shift would write
    image[0x30B8 + 512] = 0x92; // CmbMaDokanHeight: out of bounds here
    const std::string game = dir.file("t.nes");
    writeBytes(game, image);

    Outcome r = qorv(dir, {"set", game, "EditMaTsuruDown=(Out of range -128: 80)"});
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes want = image;
    want[0x365C] = 0x80;
    EXPECT_EQ(readBytes(game), want);
    EXPECT_EQ(qorv(dir, {"get", game, "EditMaTsuruDown"}).out,
              "EditMaTsuruDown=(Out of range -128: 80)\n");

    // The same through a preset, onto a fresh copy.
    writeBytes(game, image);
    writeText(dir.file("p.json"), R"x({"format": "quorvane-preset", "version": 1, "parameters": [
        {"control": "EditMaTsuruDown", "value": "(Out of range -128: 80)"}]})x");
    r = qorv(dir, {"import", game, dir.file("p.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game), want);

    // An item out of bounds is named at the offset it has in this file, by both.
    r = qorv(dir, {"set", game, "CmbMaDokanHeight=#0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "qorv: CmbMaDokanHeight: out of bounds in this image (0x32B8 holds 92), so "
                     "it cannot be set\n");
    writeText(dir.file("q.json"), R"x({"format": "quorvane-preset", "version": 1, "parameters": [
        {"control": "CmbMaDokanHeight", "value": "#0"}]})x");
    r = qorv(dir, {"import", game, dir.file("q.json")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("entry 1 (CmbMaDokanHeight): out of bounds in this image (0x32B8 holds "
                         "92), so it cannot be set"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(game), want);
}

TEST(Qorv, DumpJsonCoversEveryMarioItemWithoutOverlap) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    Bytes image = plainImage();
    image[0x3454] = 0x18;
    image[0x3638] = 0x02;
    image[0x30B8] = 0x92;
    writeBytes(game, image);

    const Outcome r = qorv(dir, {"dump", game, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["file"], game);
    EXPECT_EQ(j["size"], 40976);
    EXPECT_EQ(j["trainer"], false);
    EXPECT_EQ(j["items"][0], nlohmann::json::parse(R"({"dialog": "Mario", "page": "Speed",
        "group": "Walking / Swimming Speed", "control": "EditMaWalk_R", "label": "Right",
        "kind": "numeric", "offsets": [13396], "bytes": [24], "value": "24", "default": "24", "state": "ok"})"));

    std::set<std::string> mario;
    std::map<std::string, std::map<int, std::string>> owner; // dialog -> offset -> control
    for (const auto& it : j["items"]) {
        const std::string dialog = it["dialog"], control = it["control"], kind = it["kind"];
        if (dialog == "Mario") {
            EXPECT_TRUE(mario.insert(control).second) << control;
            EXPECT_EQ(kind, control.starts_with("Chk")   ? "check"
                            : control.starts_with("Cmb") ? "choice"
                                                         : "numeric");
        }
        for (int off : it["offsets"]) {
            const auto [pos, fresh] = owner[dialog].emplace(off, control);
            EXPECT_TRUE(fresh || kSharedBytes.count({dialog, off}))
                << dialog << ": " << control << " and " << pos->second << " both edit " << off;
        }
        if (control == "CmbFireShot") {
            EXPECT_EQ(it["value"], "As Fire Mario  [Default]");
        }
        if (control == "CmbMaDokanHeight") {
            EXPECT_EQ(it["bytes"], nlohmann::json::array({0x92}));
            EXPECT_EQ(it["default"], "8  [Default]");
            EXPECT_EQ(it["state"], "out-of-bounds");
        }
        if (control == "ChkKoFiJump") {
            EXPECT_EQ(it["value"], "unchecked");
        }
    }
    EXPECT_EQ(mario.size(), 56u);
    EXPECT_EQ(mario, kMarioControls);

    // The same items, one dialog, any case.
    const auto only =
        nlohmann::json::parse(qorv(dir, {"dump", game, "--json", "--dialog", "mARIO"}).out);
    EXPECT_EQ(only["items"].size(), 56u);
    EXPECT_EQ(qorv(dir, {"dump", game, "--dialog", "Luigi"}).status, 2);

    const Outcome text = qorv(dir, {"dump", game});
    EXPECT_EQ(text.out.rfind("DIALOG  ", 0), 0u);
    EXPECT_TRUE(std::regex_search(text.out, std::regex("\n(Mario +Speed +Walking / Swimming Speed +"
                                                       "EditMaWalk_R +0x3454 +18 +24 +24 +ok)\n")))
        << text.out;
}

// qorv writes the JSON lines itself: byte for byte what nlohmann's writer makes of the
// same values (UTF-8 kept, invalid UTF-8 replaced, one item a line), on images whose
// items read in bounds, out of bounds and as choices, with and without a trainer, and
// under a file name that needs escaping and is not UTF-8.
TEST(Qorv, DumpJsonIsTheGenericWritersTextByteForByte) {
    TempDir dir;
    Bytes random(40976);
    std::uint32_t seed = 12345;
    for (std::uint8_t& b : random)
        b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    Bytes edited(40976, 0);
    edited[0x3454] = 0x18;
    edited[0x3638] = 0x02;
    edited[0x30B8] = 0x92;
    Bytes trained(41488, 0);
    std::fill(trained.begin() + 16, trained.begin() + 16 + 512, 0xA5);
    std::copy(random.begin() + 16, random.end(), trained.begin() + 16 + 512);
    std::vector<std::pair<std::string, Bytes>> images{{"zero.nes", Bytes(40976, 0)},
                                                      {"random.nes", random},
                                                      {"edited.nes", edited},
                                                      {"zero-trainer.nes", Bytes(41488, 0)},
                                                      {"random-trainer.nes", trained}};
#ifndef _WIN32
    // Names Windows does not allow: a backslash, quotes, control characters and bytes
    // that are no UTF-8.
    images.insert(images.end(), {{"back\\slash.nes", edited},
                                 {"\"quoted\".nes", edited},
                                 {"\x01\xff\xc3(\xe2\x82\xac\t\x7f.nes", edited}});
#endif
    for (const auto& [name, image] : images) {
        const std::string game = dir.file(name);
        writeBytes(game, image);
        const Outcome r = qorv(dir, {"dump", game, "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto j = nlohmann::ordered_json::parse(r.out);
        const auto text = [](const nlohmann::ordered_json& v) {
            return v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        };
        std::string expected = "{\"file\": " + text(game) + ", \"size\": " + text(j["size"]) +
                               ", \"trainer\": " + text(j["trainer"]) + ", \"items\": [";
        const char* separator = "\n";
        for (const auto& item : j["items"]) {
            expected += separator + ("  " + text(item));
            separator = ",\n";
        }
        expected += "\n]}\n";
        EXPECT_EQ(r.out, expected) << name;
        EXPECT_GT(j["items"].size(), 500u);
    }
}

// The attribute and colour bytes the unmodified game holds read as their own defaults.
TEST(Qorv, GameBytesOfLiftsFireworksPeachAndWaterBlocksAreTheirDefaults) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    Bytes image = plainImage();
    const std::map<std::string, std::pair<int, int>> bytes{
        {"Spd6614", {0x6614, 0x02}}, {"Spd6D81", {0x6D81, 0x02}}, {"Spd6D0D", {0x6D0D, 0x02}},
        {"Spd6D67", {0x6D67, 0x42}}, {"Spd6D6C", {0x6D6C, 0xC2}}, {"Spd6ADF", {0x6ADF, 0x42}},
        {"Rad0CBC", {0x0CBC, 0x3A}},
    };
    for (const auto& [control, at] : bytes)
        image[static_cast<std::size_t>(at.first)] = static_cast<std::uint8_t>(at.second);
    writeBytes(game, image);

    const auto j = nlohmann::json::parse(qorv(dir, {"dump", game, "--json"}).out);
    int seen = 0;
    for (const auto& it : j["items"]) {
        const auto found = bytes.find(it["control"]);
        if (found == bytes.end()) continue;
        ++seen;
        SCOPED_TRACE(found->first);
        EXPECT_EQ(it["offsets"], nlohmann::json::array({found->second.first}));
        EXPECT_EQ(it["bytes"], nlohmann::json::array({found->second.second}));
        EXPECT_EQ(it["value"], it["default"]);
        EXPECT_EQ(it["state"], "ok");
    }
    EXPECT_EQ(seen, 7);
}

TEST(Qorv, InfoReportsSizeChecksumsAndOutOfBoundsCount) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    writeBytes(game, plainImage());
    const Outcome r = qorv(dir, {"info", game});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("40,976 bytes"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Trainer:        no"), std::string::npos);
    EXPECT_NE(r.out.find("47C20647"), std::string::npos);
    EXPECT_NE(r.out.find("db91ba5e113b2cca38edfc99a7445fdcda124018"), std::string::npos);
    // All-zero bytes match neither pattern of six Mario check items, and no pipe height;
    // they do read as a fireball rule and as ChkKoFiJump's clear pattern.
    const std::string listed = r.out.substr(r.out.find("Out of bounds:"));
    for (const char* c : {"ChkLuigiSpeed,", "ChkMaSwimNo,", "ChkFireSquat,", "ChkFireOne,",
                          "CmbMaDokanHeight,", "ChkMuteki1,", "ChkMuteki2"})
        EXPECT_NE(listed.find(c), std::string::npos) << c << " in " << listed;
    EXPECT_EQ(listed.find("ChkKoFiJump"), std::string::npos);
    EXPECT_EQ(listed.find("CmbFireShot"), std::string::npos);
}

TEST(Qorv, BadFilesAndBadCommandLines) {
    TempDir dir;
    writeBytes(dir.file("short.nes"), Bytes(40975, 0));
    writeBytes(dir.file("g.bin"), plainImage());

    const Outcome size = qorv(dir, {"dump", dir.file("short.nes")});
    EXPECT_EQ(size.status, 2);
    EXPECT_EQ(size.err, "qorv: " + dir.file("short.nes") +
                            ": The file cannot be opened. The filesize is invalid.\n");
    EXPECT_EQ(size.out, "");
    const Outcome format = qorv(dir, {"info", dir.file("g.bin")});
    EXPECT_EQ(format.status, 2);
    EXPECT_EQ(format.err,
              "qorv: " + dir.file("g.bin") + ": The specified file is in the wrong format.\n");
    const Outcome missing = qorv(dir, {"set", dir.file("none.nes"), "EditMaWalk_R=1"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "qorv: " + dir.file("none.nes") + ": The file does not exist.\n");
    EXPECT_FALSE(fs::exists(dir.file("none.nes")));

    EXPECT_EQ(qorv(dir, {"frobnicate", dir.file("g.bin")}).status, 64);
    EXPECT_EQ(qorv(dir, {}).status, 64);
    EXPECT_EQ(qorv(dir, {"get", dir.file("g.bin")}).status, 64);
    EXPECT_EQ(qorv(dir, {"dump", "--bogus", dir.file("g.bin")}).status, 64);

    const Outcome version = qorv(dir, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qorv 0.1.0\n");
    const Outcome help = qorv(dir, {"set", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("[Default]"), std::string::npos);
}

TEST(Qorv, DumpHelpNamesEveryDialog) {
    TempDir dir;
    // The names come from the tables, which are read for help only when it is shown.
    const Outcome help = qorv(dir, {"dump", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Only this dialog, in any case: Mario, General 1, Basic blocks, "
                            "Staircase, General 2, Enemy 1, Enemy 2, Enemy 3, Scoring, Color, "
                            "Palette\n"),
              std::string::npos)
        << help.out;
}

TEST(Qorv, SetRefusesAChangeThatBreaksAnItemSharingItsBytes) {
    TempDir dir;
    const std::string game = dir.file("g.nes");
    Bytes image = plainImage();
    // The Piranha Plant switch ticked: a jump whose operand is the retract range's byte.
    image[0x53E1] = 0x4C;
    image[0x53E2] = 0x0A;
    image[0x53E3] = 0xD4;
    writeBytes(game, image);

    const Outcome r = qorv(dir, {"set", game, "EditDsPakkun=33"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("qorv: ChkDtPakkun: would no longer be readable"), std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(game), image);

    // Cleared, the same byte is the range and can be set.
    EXPECT_EQ(qorv(dir, {"set", game, "ChkDtPakkun=unchecked"}).status, 0);
    EXPECT_EQ(qorv(dir, {"set", game, "EditDsPakkun=33"}).status, 0);
    const Bytes after = readBytes(game);
    EXPECT_EQ(after[0x53E1], 0xC9);
    EXPECT_EQ(after[0x53E2], 0x21);
    EXPECT_EQ(after[0x53E3], 0x90);
}

// The check boxes over part of a byte are items too: "+0.5" owns the low nibble of
// Lakitu's revival elevation, "Fixed Palette" the Unknown character's 0xFF.
TEST(Qorv, BitFlagBoxesReadAndSetByName) {
    TempDir dir;
    const std::string game = dir.file("t.nes");
    Bytes image(41488, 0);
    image[0x43EF + 512] = 0x20; // elevation 0.5, not raised
    image[0x687E + 512] = 0xFF; // fixed palette
    writeBytes(game, image);
    EXPECT_EQ(qorv(dir, {"get", game, "ChkJugemRestHei", "Chk687E"}).out,
              "ChkJugemRestHei=unchecked\nChk687E=checked\n");

    ASSERT_EQ(qorv(dir, {"set", game, "ChkJugemRestHei=checked", "Chk687E=unchecked"}).status, 0);
    image[0x43EF + 512] = 0x28; // the list's nibble kept, 8 below it
    image[0x687E + 512] = 0x01;
    EXPECT_EQ(readBytes(game), image);
    EXPECT_EQ(qorv(dir, {"get", game, "ChkJugemRestHei", "CmbJugemRestHei", "Chk687E"}).out,
              "ChkJugemRestHei=checked\nCmbJugemRestHei=0.5  [Default]\nChk687E=unchecked\n");

    // The list and the box in one command both land in the shared byte.
    ASSERT_EQ(qorv(dir, {"set", game, "CmbJugemRestHei=#5", "ChkJugemRestHei=unchecked"}).status,
              0);
    image[0x43EF + 512] = 0x50;
    EXPECT_EQ(readBytes(game), image);

    // A low nibble other than 0 or 8 is out of bounds for both, and kept.
    image[0x43EF + 512] = 0x23;
    writeBytes(game, image);
    const auto r = qorv(dir, {"set", game, "ChkJugemRestHei=checked"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(readBytes(game), image);
    // get prints the bytes, which set takes back unchanged.
    EXPECT_EQ(qorv(dir, {"get", game, "ChkJugemRestHei"}).out,
              "ChkJugemRestHei=(Out of bounds: 23)\n");
}
