// Changed parameters, image differences, presets and explained patches on synthetic
// images: a clean image holds every default, and edits are made at literal offsets.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "core/changereport.h"
#include "core/ips/ips.h"
#include "core/knowngames.h"
#include "core/preset.h"
#include "core/valuedisplay.h"
#include "support/cleanimage.h"

using namespace qvtest;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Walking speed right, EditMaWalk_R: one signed byte at 0x3454, default 24.
Bytes editedImage(bool trainer = false) {
    Bytes b = cleanImage(trainer);
    b[0x3454 + (trainer ? 512 : 0)] = 0x20; // 32
    return b;
}

std::vector<std::string> controls(const std::vector<qv::Change>& list) {
    std::vector<std::string> out;
    for (const qv::Change& c : list)
        out.emplace_back(c.row->item->control);
    return out;
}

} // namespace

TEST(KnownGames, RecognisesTheBodyWhateverTheHeaderAndTrainer) {
    registerCleanImage();
    Bytes clean = cleanImage();
    ASSERT_NE(qv::recognise(clean), nullptr);
    EXPECT_EQ(qv::recognise(clean)->name, "Synthetic clean game");
    EXPECT_EQ(qv::gameStatus(clean), "unmodified game");

    clean[0x0007] = 0x55; // the header does not count
    EXPECT_NE(qv::recognise(clean), nullptr);
    Bytes withTrainer = cleanImage(true);
    for (int i = 16; i < 528; ++i)
        withTrainer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_NE(qv::recognise(withTrainer), nullptr);

    EXPECT_EQ(qv::recognise(editedImage()), nullptr);
    EXPECT_EQ(qv::gameStatus(editedImage()), "modified: 1 parameter differs from the game");
    Bytes outside = cleanImage();
    outside[0x9000] ^= 1; // no parameter lives here
    EXPECT_EQ(qv::recognise(outside), nullptr);
    EXPECT_EQ(qv::gameStatus(outside), "modified: 0 parameters differ from the game");
    EXPECT_EQ(qv::recognise(Bytes(40975, 0)), nullptr);

    // The table's first entry is the real game, by the digests ROM lists give.
    ASSERT_FALSE(qv::knownGames().empty());
    EXPECT_EQ(qv::knownGames()[0].bodySha1, "facee9c577a5262dbe33ac4930bb0b58c8c037f7");
    EXPECT_EQ(qv::knownGames()[0].bodyCrc32, 0xD445F698u);
    EXPECT_EQ(qv::knownGames()[0].fileSha1, "ea343f4e445a9050d4b4fbac2c77d0693b1d0922");
    EXPECT_EQ(qv::knownGames()[0].fileCrc32, 0x3337EC46u);
}

TEST(Changes, OneEditIsExactlyOneRowInEitherLayout) {
    const qv::ChangeList none = qv::changedParameters(cleanImage(), 0);
    EXPECT_TRUE(none.changed.empty());
    EXPECT_TRUE(none.outOfBounds.empty());

    for (const bool trainer : {false, true}) {
        SCOPED_TRACE(trainer);
        const qv::ChangeList list = qv::changedParameters(editedImage(trainer), trainer ? 512 : 0);
        ASSERT_EQ(controls(list.changed), std::vector<std::string>{"EditMaWalk_R"});
        EXPECT_EQ(list.changed[0].value.value, 32);
        EXPECT_EQ(list.changed[0].other.value, 24);
        EXPECT_EQ(qv::changesReport(list, trainer ? 512 : 0),
                  (std::vector<std::string>{
                      "Mario > Speed > Walking / Swimming Speed",
                      trainer ? "  Right: EditMaWalk_R = 32 (default 24) at 0x3654"
                              : "  Right: EditMaWalk_R = 32 (default 24) at 0x3454"}));
    }

    // Bytes no item understands are listed apart: 0x30B8 0x92 is no pipe height.
    Bytes odd = cleanImage();
    odd[0x30B8] = 0x92;
    const qv::ChangeList list = qv::changedParameters(odd, 0);
    EXPECT_TRUE(list.changed.empty());
    EXPECT_EQ(controls(list.outOfBounds), std::vector<std::string>{"CmbMaDokanHeight"});
    const auto lines = qv::changesReport(list, 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Out of bounds (1):");
    EXPECT_EQ(lines[1], "Mario > Pipes > Pipe Exit Height");
    EXPECT_EQ(lines[2], "  Set Value: CmbMaDokanHeight (default 8  [Default]) at 0x30B8");

    // Items without a label of their own are named after their place: a jump table
    // cell by row and column, a Cheep-Cheep speed by row and number, a flame interval
    // by the run's label and its place in it.
    Bytes cells = cleanImage();
    for (const int offset : {0x3435, 0x44A9, 0x51E3})
        cells[static_cast<std::size_t>(offset)] ^= 0x01;
    std::string report;
    for (const std::string& l : qv::changesReport(qv::changedParameters(cells, 0), 0))
        report += l + "\n";
    for (const char* line :
         {"  Walking, Rise Rate: EditJumpRise2 = ", "  Player Stopped 2: EditPukuSpeed2 = ",
          "  Intervals Between Flames 3: EditKoppaFiPat2 = "})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}

TEST(Diff, BytesOutsideEveryParameterAsAByteByByteComparisonFindsThem) {
    std::vector<bool> owned(40976, false);
    for (const qv::ItemRow& r : qv::parameterRows())
        for (int off : r.item->offsets)
            owned[static_cast<std::size_t>(off)] = true;
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const bool trainerA = round % 2, trainerB = round % 4 >= 2;
        const int shiftA = trainerA ? 512 : 0, shiftB = trainerB ? 512 : 0;
        Bytes a(trainerA ? 41488 : 40976), b(trainerB ? 41488 : 40976);
        for (std::uint8_t& x : a)
            x = static_cast<std::uint8_t>(random());
        for (int off = 0; off < 40976; ++off) // the same body in b's layout
            b[static_cast<std::size_t>(off < 16 ? off : off + shiftB)] =
                a[static_cast<std::size_t>(off < 16 ? off : off + shiftA)];
        // Runs of differing bytes of any length, across the header's end, at the ends;
        // every tenth round differs almost everywhere.
        const int runs = round % 10 == 9 ? 4000 : static_cast<int>(random() % 60);
        for (int k = 0; k < runs; ++k) {
            int first = static_cast<int>(random() % 40976);
            if (k == 0) first = 12;
            if (k == 1) first = 40970;
            const int length = 1 + static_cast<int>(random() % 20);
            for (int off = first; off < std::min(first + length, 40976); ++off)
                b[static_cast<std::size_t>(off < 16 ? off : off + shiftB)] ^= 0x5A;
        }
        std::vector<qv::ByteRange> want;
        int count = 0;
        for (int off = 0; off < 40976; ++off) {
            const std::size_t pa = static_cast<std::size_t>(off < 16 ? off : off + shiftA);
            const std::size_t pb = static_cast<std::size_t>(off < 16 ? off : off + shiftB);
            if (owned[static_cast<std::size_t>(off)] || a[pa] == b[pb]) continue;
            ++count;
            if (!want.empty() && want.back().last + 1 == off)
                want.back().last = off;
            else
                want.push_back({off, off});
        }
        const qv::ImageDiff d = qv::diffImages(a, b);
        ASSERT_EQ(d.outsideCount, count) << "round " << round;
        ASSERT_EQ(d.outside.size(), want.size()) << "round " << round;
        for (std::size_t i = 0; i < want.size(); ++i) {
            ASSERT_EQ(d.outside[i].first, want[i].first) << "round " << round;
            ASSERT_EQ(d.outside[i].last, want[i].last) << "round " << round;
        }
    }
}

TEST(Diff, ParametersThenMergedByteRangesAcrossLayouts) {
    EXPECT_TRUE(qv::diffImages(cleanImage(), cleanImage()).equal());
    // The same body with and without a trainer is not the same file.
    const qv::ImageDiff layouts = qv::diffImages(cleanImage(), cleanImage(true));
    EXPECT_FALSE(layouts.equal());
    EXPECT_TRUE(layouts.changed.empty());
    EXPECT_EQ(layouts.outsideCount, 0);

    Bytes b = editedImage(true);
    b[0x0004] = 0x02;                      // header: stays at its offset
    b[0x9000 + 512] = b[0x9001 + 512] = 1; // outside every parameter
    b[0x9003 + 512] = 1;
    const qv::ImageDiff d = qv::diffImages(cleanImage(), b);
    EXPECT_FALSE(d.equal());
    ASSERT_EQ(controls(d.changed), std::vector<std::string>{"EditMaWalk_R"});
    EXPECT_EQ(d.outsideCount, 4);
    ASSERT_EQ(d.outside.size(), 3u);
    EXPECT_EQ(qv::rangeText(d.outside[0]), "0x0004 (1 byte)");
    EXPECT_EQ(qv::rangeText(d.outside[1]), "0x9000-0x9001 (2 bytes)");
    EXPECT_EQ(qv::rangeText(d.outside[2]), "0x9003 (1 byte)");
    const auto lines = qv::diffReport(d, 0, 512);
    EXPECT_EQ(lines[1], "  Right: EditMaWalk_R = 24 -> 32 at 0x3454 / 0x3654");
    EXPECT_EQ(lines[2], "Bytes outside every parameter: 4 in 3 ranges");
    EXPECT_EQ(lines.back(), "Trainer: only in the second image");
}

TEST(Preset, ExportNamesTheChangeAndImportReproducesTheImage) {
    const nlohmann::json doc =
        nlohmann::json::parse(qv::exportPreset(editedImage(), "e.nes", false));
    EXPECT_EQ(doc["format"], "quorvane-preset");
    EXPECT_EQ(doc["version"], 1);
    EXPECT_EQ(doc["source"]["name"], "e.nes");
    EXPECT_EQ(doc["parameters"],
              nlohmann::json::parse(R"([{"control":"EditMaWalk_R","value":"32"}])"));

    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const bool trainer = seed % 3 == 0;
        const int shift = trainer ? 512 : 0;
        Bytes edited = cleanImage(trainer);
        randomEdits(edited, shift, rng, 1 + static_cast<int>(seed % 25));
        Bytes copy = cleanImage(trainer);
        const qv::PresetPlan plan = qv::planPreset(qv::exportPreset(edited, "x", false), copy);
        ASSERT_TRUE(plan.ok()) << plan.error;
        ASSERT_EQ(qv::storeValues(plan.entries, copy), "");
        EXPECT_EQ(copy, edited);

        // Every parameter, onto an image edited some other way.
        Bytes other = cleanImage(trainer);
        randomEdits(other, shift, rng, 20);
        const qv::PresetPlan all = qv::planPreset(qv::exportPreset(edited, "x", true), other);
        ASSERT_TRUE(all.ok()) << all.error;
        ASSERT_EQ(qv::storeValues(all.entries, other), "");
        EXPECT_EQ(qv::changedParameters(other, shift).changed.size(),
                  qv::changedParameters(edited, shift).changed.size());
    }
}

TEST(Preset, OneBadEntryRefusesTheWholePresetAndNamesIt) {
    Bytes image = cleanImage();
    const Bytes before = image;
    const auto plan = [&](const std::string& params) {
        return qv::planPreset(
            R"({"format":"quorvane-preset","version":1,"parameters":)" + params + "}", image);
    };
    const qv::PresetPlan good = plan(
        R"([{"control":"EditMaZanki","value":"5"},{"control":"CmbFireShot","value":"Never"}])");
    ASSERT_TRUE(good.ok()) << good.error;
    ASSERT_EQ(good.changes.size(), 2u);
    EXPECT_EQ(qv::changeLine(good.changes[1]), "CmbFireShot: As Fire Mario  [Default] -> Never");

    const std::pair<std::string, std::string> bad[] = {
        {R"([{"control":"EditMaZanki","value":"5"},{"control":"EditMaWalk_R","value":"128"}])",
         "entry 2 (EditMaWalk_R): \"128\" is not accepted; expected a whole number from -128 to "
         "127"},
        {R"([{"control":"NoSuch","value":"1"}])", "entry 1 (NoSuch): unknown control \"NoSuch\""},
        {R"([{"control":"EditMaZanki","value":"5"},{"control":"EditMaZanki","value":"6"}])",
         "entry 2 (EditMaZanki): given more than once"},
        {R"([{"control":"EditMaZanki"}])", "entry 1: needs \"control\" and \"value\" as text"},
    };
    for (const auto& [params, message] : bad) {
        const qv::PresetPlan p = plan(params);
        EXPECT_EQ(p.error, message);
        EXPECT_TRUE(p.entries.empty());
        // A refused preset has nothing to store.
        EXPECT_EQ(qv::storeValues(p.entries, image), "");
        EXPECT_EQ(image, before);
    }
    EXPECT_EQ(qv::planPreset(R"({"format":"other","version":1,"parameters":[]})", image).error,
              "not a preset: \"format\" must be \"quorvane-preset\"");
    EXPECT_EQ(
        qv::planPreset(R"({"format":"quorvane-preset","version":2,"parameters":[]})", image).error,
        "unsupported preset version 2; this version reads version 1");
    EXPECT_EQ(qv::planPreset("{not json", image).error,
              "not a preset: the file is not a JSON object");

    // Out of bounds here: 0x30B8 0x92 is no pipe height.
    image[0x30B8] = 0x92;
    EXPECT_EQ(plan(R"([{"control":"CmbMaDokanHeight","value":"#0"}])").error,
              "entry 1 (CmbMaDokanHeight): out of bounds in this image (0x30B8 holds 92), so it "
              "cannot be set");
}

TEST(ExplainPatch, WithABaseTheChangeWithoutOneWhatTheRecordsTouch) {
    const Bytes clean = cleanImage();
    Bytes edited = editedImage();
    edited[0x9000] = 7;
    const qv::ips::Created patch = qv::ips::create(clean, edited);
    ASSERT_TRUE(patch.status.ok());

    const qv::PatchExplanation e = qv::explainPatch(patch.patch, clean);
    ASSERT_TRUE(e.status.ok());
    EXPECT_EQ(controls(e.diff.changed), std::vector<std::string>{"EditMaWalk_R"});
    const auto lines = qv::explanationReport(e);
    EXPECT_EQ(lines[0], "1 parameter changes (before -> after)");
    EXPECT_EQ(lines[2], "  Right: EditMaWalk_R = 24 -> 32 at 0x3454");
    EXPECT_EQ(lines[4], "  0x9000 (1 byte)");

    const qv::PatchExplanation bare = qv::explainPatch(patch.patch, {});
    ASSERT_TRUE(bare.status.ok());
    ASSERT_EQ(bare.touched.size(), 1u);
    EXPECT_EQ(bare.touched[0]->item->control, "EditMaWalk_R");
    EXPECT_EQ(bare.untouchedCount, 1);

    // On the image that already holds it: said so, with the bytes it writes (two
    // records, 0x3454 and 0x9000, and a run of three over 0x9000-0x9002 counted once).
    const Bytes twice{'P',  'A',  'T',  'C',  'H',                    // header
                      0x00, 0x34, 0x54, 0x00, 0x01, 0x20,             // 0x3454 <- 20
                      0x00, 0x90, 0x00, 0x00, 0x01, 0x07,             // 0x9000 <- 07
                      0x00, 0x90, 0x00, 0x00, 0x00, 0x00, 0x03, 0x07, // 3 x 07 at 0x9000
                      'E',  'O',  'F'};
    Bytes applied = edited;
    applied[0x9001] = applied[0x9002] = 7;
    const qv::PatchExplanation done = qv::explainPatch(twice, applied);
    ASSERT_TRUE(done.status.ok());
    EXPECT_EQ(done.writtenBytes, 4);
    EXPECT_EQ(
        qv::explanationReport(done),
        std::vector<std::string>{"already applied: all 4 bytes already hold the patched values"});
    EXPECT_EQ(qv::explanationReport(qv::explainPatch(twice, edited))[0],
              "0 parameters change (before -> after)");

    // A record past the end of the image fails as applying it would.
    const Bytes beyond{'P', 'A', 'T', 'C', 'H', 0x00, 0xA0, 0x10, 0x00, 0x01, 0x05, 'E', 'O', 'F'};
    EXPECT_EQ(qv::explainPatch(beyond, clean).status.result, qv::ips::Result::AddressesBeyond);
    const Bytes cut{'P', 'A', 'T', 'C', 'H', 0x00, 0x34};
    EXPECT_FALSE(qv::explainPatch(cut, {}).status.ok());
}

// The values outside the dialogs read as the dialogs show them.
TEST(ValueDisplay, ValuesReadAsTheirDialogsShowThem) {
    const auto row = [](const char* control) -> const qv::ItemRow& {
        for (const qv::ItemRow& r : qv::parameterRows())
            if (r.item->control == control) return r;
        throw std::runtime_error(control);
    };
    const auto shown = [&](const char* control, int value) {
        return qv::dialogValueText(row(control), {false, value});
    };
    // Color: the attribute byte's palette group and boxes.
    EXPECT_EQ(shown("Spd686B", 0x01), "Green Group");
    EXPECT_EQ(shown("Spd686B", 0x22), "Red Group, Behind BG");
    EXPECT_EQ(shown("Spd686B", 0xC3), "Black Group, Flip + Mirror, Upside-Down");
    EXPECT_EQ(shown("Spd686B", 0x00), "Mario Group");
    EXPECT_EQ(shown("Spd687E", 0xFF), "Do Not Modify (FF)");
    // Palette: the colour index as the pickers name it, with its colour.
    EXPECT_EQ(shown("Rad05E0", 0x0F), "$0F");
    EXPECT_EQ(qv::paletteColorIndex(row("Rad05E0"), {false, 0x22}), 0x22);
    EXPECT_FALSE(qv::paletteColorIndex(row("CmbCoinCount"), {false, 2}).has_value());
    EXPECT_FALSE(qv::paletteColorIndex(row("EditMaWalk_R"), {false, 2}).has_value());
    // A block column: bit n is row n; the cloud column's bit k is row 8 + k.
    EXPECT_EQ(shown("KbPattern3", 0x1807), "Rows 0-2, 11, 12");
    EXPECT_EQ(shown("KbPattern3", 0x1803), "Rows 0, 1, 11, 12");
    EXPECT_EQ(shown("KbPattern0", 0), "No rows");
    EXPECT_EQ(shown("KbPattern10", 1), "Row 0");
    EXPECT_EQ(shown("KbClouds", 0x08), "Row 11");
    // Lists without their "[Default]" mark; numbers as they are.
    EXPECT_EQ(shown("CmbFireShot", 2), "As Fire Mario");
    EXPECT_EQ(shown("CmbMaDokanHeight", 9), "8");
    EXPECT_EQ(shown("EditMaWalk_R", 32), "32");
    EXPECT_EQ(qv::dialogValueText(row("EditMaWalk_R"), {true, 0}), "(Out of bounds)");
    EXPECT_EQ(qv::withoutDefaultMark("2 and 3  [Default]"), "2 and 3");
}

// The address bar's names: the parameters whose bytes include a raw file position.
TEST(ValueDisplay, ParametersAtARawPositionInEitherLayout) {
    const auto names = [](int position, int shift) {
        std::vector<std::string> out;
        for (const qv::ItemRow* r : qv::parametersAt(position, shift))
            out.push_back(qv::parameterName(*r));
        return out;
    };
    EXPECT_EQ(names(0x107A, 0), std::vector<std::string>{"Mario > Initial #Lives"});
    EXPECT_EQ(names(0x107A + 512, 512), std::vector<std::string>{"Mario > Initial #Lives"});
    EXPECT_EQ(names(0x3454, 0),
              std::vector<std::string>{"Mario > Walking / Swimming Speed > Right"});
    // Two lists of one byte (the axe's row and column), both named.
    EXPECT_EQ(names(0x4FED, 0).size(), 2u);
    EXPECT_TRUE(names(0x0004, 0).empty());        // the header
    EXPECT_TRUE(names(0x0100, 512).empty());      // the trainer
    EXPECT_TRUE(names(0x107A, 512).empty());      // lives lie 512 bytes on
    EXPECT_TRUE(names(40976 + 511, 512).empty()); // the last byte of a trainer image
    for (const qv::ItemRow& r : qv::parameterRows())
        for (int off : r.item->offsets)
            EXPECT_GE(off, 16) << r.item->control; // nothing in the header
}
