// qorv on files that could lose a user's data: hostile presets, files written by
// several programs at once, outputs that are inputs, links planted by other users,
// signals and limits during a write, and messages that name what they are about.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qorvrun.h"

using namespace qvtest;

namespace {

// EditMaZanki (lives) is the byte at 0x107A; EditMaWalk_R the byte at 0x3454.
Bytes zeroImage() {
    return Bytes(40976, 0);
}

} // namespace

TEST(QorvSafety, ADeeplyNestedPresetIsRefusedBeforeItIsReadNamingTheFile) {
    TempDir dir;
    const std::string game = dir.file("g.nes"), deep = dir.file("deep.json"),
                      fine = dir.file("fine.json");
    writeBytes(game, zeroImage());
    // 100,000 levels in 200 KB: the value is never built.
    writeText(deep, "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + ",\"b\":1}");
    Outcome r = qorv(dir, {"import", game, deep});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "qorv: " + deep + ": not a preset: it nests deeper than the 3 levels of a preset\n");
    EXPECT_EQ(readBytes(game), zeroImage());
    // Four levels are already more than a preset has.
    writeText(deep, R"({"format":"quorvane-preset","version":1,"parameters":[[{}]]})");
    r = qorv(dir, {"import", game, deep});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nests deeper than the 3 levels"), std::string::npos) << r.err;

    // A preset at its own depth, with a source object beside the list, is taken.
    writeText(fine, R"({"format":"quorvane-preset","version":1,"source":{"name":"g.nes"},
                        "parameters":[{"control":"EditMaZanki","value":"5"}]})");
    r = qorv(dir, {"import", game, fine});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(game)[0x107A], 0x04);
}
