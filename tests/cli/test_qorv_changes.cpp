// qorv changes, diff, export, import and ips explain on synthetic images: a clean
// image holds every default; edits are made at literal offsets.
#include <gtest/gtest.h>

#include <regex>

#include <nlohmann/json.hpp>

#include "cli/qorvrun.h"
#include "core/system.h"
#include "support/cleanimage.h"

using namespace qvtest;

namespace {

// The few JSON Schema rules the preset schema uses: type, const, required, properties,
// additionalProperties false, items and pattern. Returns the first violation, or "".
std::string violation(const nlohmann::json& schema, const nlohmann::json& v,
                      const std::string& where = "$") {
    if (schema.contains("const") && v != schema["const"])
        return where + ": not " + schema["const"].dump();
    if (schema.contains("type")) {
        const auto is = [&](const std::string& t) {
            return (t == "object" && v.is_object()) || (t == "array" && v.is_array()) ||
                   (t == "string" && v.is_string()) || (t == "integer" && v.is_number_integer());
        };
        bool ok = false;
        if (schema["type"].is_array()) {
            for (const auto& t : schema["type"])
                ok = ok || is(t.get<std::string>());
        } else {
            ok = is(schema["type"].get<std::string>());
        }
        if (!ok) return where + ": wrong type";
    }
    if (schema.contains("pattern") && v.is_string() &&
        !std::regex_search(v.get<std::string>(), std::regex(schema["pattern"].get<std::string>())))
        return where + ": does not match " + schema["pattern"].get<std::string>();
    if (v.is_object()) {
        for (const auto& r : schema.value("required", nlohmann::json::array()))
            if (!v.contains(r.get<std::string>())) return where + ": " + r.dump() + " missing";
        const nlohmann::json props = schema.value("properties", nlohmann::json::object());
        for (const auto& [k, sub] : v.items()) {
            if (props.contains(k)) {
                if (auto e = violation(props[k], sub, where + "." + k); !e.empty()) return e;
            } else if (schema.value("additionalProperties", true) == false) {
                return where + ": unexpected " + k;
            }
        }
    }
    if (v.is_array() && schema.contains("items"))
        for (std::size_t i = 0; i < v.size(); ++i)
            if (auto e = violation(schema["items"], v[i], where + "[" + std::to_string(i) + "]");
                !e.empty())
                return e;
    return "";
}

struct Images {
    TempDir dir;
    std::string clean = dir.file("clean.nes"), edited = dir.file("edited.nes");
    Images() {
        writeBytes(clean, cleanImage());
        Bytes e = cleanImage();
        e[0x3454] = 0x20; // EditMaWalk_R: 24 -> 32
        writeBytes(edited, e);
    }
};

} // namespace

TEST(QorvChanges, OneEditIsExactlyThatRowInChangesDiffExportAndExplain) {
    Images im;
    Outcome r = qorv(im.dir, {"changes", im.edited});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 parameter differs from the game\n"
                     "Mario > Speed > Walking / Swimming Speed\n"
                     "  Right: EditMaWalk_R = 32 (default 24) at 0x3454\n");
    r = qorv(im.dir, {"changes", im.clean});
    EXPECT_EQ(r.out, "0 parameters differ from the game\n"); // the real game is not registered here

    r = qorv(im.dir, {"changes", "--json", im.edited});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["changed"].size(), 1u);
    EXPECT_EQ(j["changed"][0]["control"], "EditMaWalk_R");
    EXPECT_EQ(j["changed"][0]["value"], "32");
    EXPECT_EQ(j["changed"][0]["default"], "24");
    EXPECT_EQ(j["changed"][0]["offsets"], "0x3454");
    EXPECT_EQ(j["changed"][0]["dialog"], "Mario");

    r = qorv(im.dir, {"info", im.edited});
    EXPECT_NE(r.out.find("Game:           modified: 1 parameter differs from the game\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Size:           40,976 bytes"), std::string::npos);

    r = qorv(im.dir, {"diff", im.clean, im.edited});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1 parameter differs (" + im.clean + " -> " + im.edited +
                         ")\nMario > Speed > Walking / Swimming Speed\n"
                         "  Right: EditMaWalk_R = 24 -> 32 at 0x3454\n");

    r = qorv(im.dir, {"export", im.edited});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["parameters"],
              nlohmann::json::parse(R"([{"control":"EditMaWalk_R","value":"32"}])"));

    const std::string patch = im.dir.file("p.ips");
    ASSERT_EQ(qorv(im.dir, {"ips", "create", im.clean, im.edited, "-o", patch}).status, 0);
    r = qorv(im.dir, {"ips", "explain", patch, im.clean});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Base: " + im.clean +
                         "\n1 parameter changes (before -> after)\n"
                         "Mario > Speed > Walking / Swimming Speed\n"
                         "  Right: EditMaWalk_R = 24 -> 32 at 0x3454\n");
}

TEST(QorvChanges, DiffExitsZeroWhenEqualOneWhenNotTwoOnABadFile) {
    Images im;
    Outcome r = qorv(im.dir, {"diff", im.clean, im.clean});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "The images hold the same bytes\n");

    // Either may have a trainer; bytes outside every parameter come as merged ranges.
    Bytes t = cleanImage(true);
    t[0x3454 + 512] = 0x20;
    t[0x9000 + 512] = t[0x9001 + 512] = 0xEE;
    const std::string trained = im.dir.file("t.nes");
    writeBytes(trained, t);
    r = qorv(im.dir, {"diff", im.clean, trained});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("  Right: EditMaWalk_R = 24 -> 32 at 0x3454 / 0x3654\n"
                         "Bytes outside every parameter: 2 in 1 range\n"
                         "  0x9000-0x9001 (2 bytes)\n"
                         "Trainer: only in the second image\n"),
              std::string::npos)
        << r.out;
    r = qorv(im.dir, {"diff", "--json", im.clean, trained});
    EXPECT_EQ(r.status, 1);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["bytes_outside"]["count"], 2);
    EXPECT_EQ(j["bytes_outside"]["ranges"][0]["offsets"], "0x9000-0x9001");
    // A longer range is one span, not its two ends as two offsets.
    Bytes three = cleanImage(false);
    three[0x9100] = three[0x9101] = three[0x9102] = 0xEE;
    writeBytes(im.dir.file("three.nes"), three);
    r = qorv(im.dir, {"diff", "--json", im.clean, im.dir.file("three.nes")});
    const auto k = nlohmann::json::parse(r.out);
    EXPECT_EQ(k["bytes_outside"]["count"], 3);
    EXPECT_EQ(k["bytes_outside"]["ranges"][0]["offsets"], "0x9100-0x9102");

    writeBytes(im.dir.file("short.nes"), Bytes(40975, 0));
    r = qorv(im.dir, {"diff", im.clean, im.dir.file("short.nes")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("short.nes"), std::string::npos) << r.err;
    EXPECT_EQ(qorv(im.dir, {"diff", im.clean, im.dir.file("none.nes")}).status, 2);
}

TEST(QorvPresets, ExportImportReproducesTheImageAndValidatesAgainstTheSchema) {
    Images im;
    const auto schema =
        nlohmann::json::parse(readText(std::string(QV_SOURCE_DIR) + "/schema/preset.schema.json"));
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        Bytes edited = cleanImage();
        randomEdits(edited, 0, rng, 30);
        writeBytes(im.edited, edited);
        const std::string preset = im.dir.file("p.json"), copy = im.dir.file("copy.nes");
        ASSERT_EQ(qorv(im.dir, {"export", im.edited, "-o", preset}).status, 0);
        EXPECT_EQ(violation(schema, nlohmann::json::parse(readText(preset))), "");
        Outcome r = qorv(im.dir, {"export", "--all", im.edited});
        EXPECT_EQ(violation(schema, nlohmann::json::parse(r.out)), "");

        writeBytes(copy, cleanImage());
        r = qorv(im.dir, {"import", copy, preset, "--dry-run"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readBytes(copy), cleanImage()); // a dry run writes nothing
        r = qorv(im.dir, {"import", copy, preset});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readBytes(copy), edited);
    }
    // The schema's own rules catch what import refuses.
    EXPECT_NE(violation(schema, nlohmann::json::parse(
                                    R"({"format":"quorvane-preset","version":2,"parameters":[]})")),
              "");
}

TEST(QorvPresets, OneBadEntryWritesNothingAndNamesTheEntry) {
    Images im;
    const std::string preset = im.dir.file("bad.json");
    writeText(preset, R"({"format":"quorvane-preset","version":1,"parameters":[
        {"control":"EditMaZanki","value":"5"},
        {"control":"EditMaWalk_R","value":"200"}]})");
    Outcome r = qorv(im.dir, {"import", im.clean, preset, "-o", im.dir.file("out.nes")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("entry 2 (EditMaWalk_R): \"200\" is not accepted"), std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(im.clean), cleanImage());
    EXPECT_FALSE(fs::exists(im.dir.file("out.nes")));

    writeText(preset, R"({"format":"quorvane-preset","version":9,"parameters":[]})");
    r = qorv(im.dir, {"import", im.clean, preset});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unsupported preset version 9"), std::string::npos) << r.err;

    // A good one prints one line per changed parameter: lives are stored one less.
    writeText(preset, R"({"format":"quorvane-preset","version":1,"parameters":[
        {"control":"EditMaZanki","value":"5"},{"control":"EditMaWalk_R","value":"24"}]})");
    r = qorv(im.dir, {"import", im.clean, preset});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "EditMaZanki: 3 -> 5\n");
    EXPECT_EQ(readBytes(im.clean)[0x107A], 0x04);
}

TEST(QorvIpsExplain, WithoutABaseListsWhatTheRecordsTouchAndBadPatchesFail) {
    TempDir dir;
    // One record at 0x3454 (EditMaWalk_R) and one at 0x9000, outside every parameter.
    const Bytes patch{'P',  'A',  'T',  'C',  'H',  0x00, 0x34, 0x54, 0x00, 0x01, 0x20,
                      0x00, 0x90, 0x00, 0x00, 0x02, 0x01, 0x02, 'E',  'O',  'F'};
    writeBytes(dir.file("p.ips"), patch);
    const std::string ini = dir.file("empty.ini");
    writeText(ini, "");
    qv::setEnvironmentValue("QUORVANE_INI", ini);
    Outcome r = qorv(dir, {"ips", "explain", dir.file("p.ips")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 parameter is written by the records (no base image; 40,976-byte layout)\n"
                     "Mario > Speed > Walking / Swimming Speed\n"
                     "  Right: EditMaWalk_R at 0x3454\n"
                     "Bytes outside every parameter: 2 in 1 range\n"
                     "  0x9000-0x9001 (2 bytes)\n");

    // The default base from the settings file.
    writeBytes(dir.file("base.nes"), cleanImage());
    writeText(ini, "[qorv]\nNesFile1=" + dir.file("base.nes") + "\n");
    r = qorv(dir, {"ips", "explain", dir.file("p.ips")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  Right: EditMaWalk_R = 24 -> 32 at 0x3454\n"), std::string::npos)
        << r.out;

    const Bytes beyond{'P', 'A', 'T', 'C', 'H', 0x00, 0xA0, 0x10, 0x00, 0x01, 0x05, 'E', 'O', 'F'};
    writeBytes(dir.file("b.ips"), beyond);
    r = qorv(dir, {"ips", "explain", dir.file("b.ips"), dir.file("base.nes")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    qv::setEnvironmentValue("QUORVANE_INI", std::nullopt);
}
