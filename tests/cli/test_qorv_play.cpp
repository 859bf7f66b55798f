// qorv play on the tests' cartridge: the watches print what the RAM holds, input
// files reach the game, screenshots are PNG files; and the errors.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/system.h"
#include "play/playtest.h"
#include "play/testcart.h"
#include "qorvrun.h"

using qvtest::qorv;
using qvtest::TempDir;
namespace fs = std::filesystem;

namespace {

// No settings file of the developer's names another core.
struct Env {
    explicit Env(const TempDir& dir) {
        qv::setEnvironmentValue("QUORVANE_INI", dir.file("qorv.ini"));
    }
    ~Env() { qv::setEnvironmentValue("QUORVANE_INI", std::nullopt); }
};

std::string cart(const TempDir& dir) {
    const std::string path = dir.file("cart.nes");
    qvtest::writeBytes(path, qvtest::testCartridge(0x18, 0x16));
    return path;
}

} // namespace

TEST(QorvPlay, WatchesPrintWhatTheRamHolds) {
    QV_REQUIRE_CORE(qvtest::installedCore());
    TempDir dir;
    const Env env(dir);
    const std::string game = cart(dir);
    auto r = qorv(
        dir, {"play", game, "--frames", "20", "--every", "10", "--watch", "xspeed,world,lives"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " frame  xspeed   world   lives\n"
                     "    10      24     1-1       1\n"
                     "    20      24     1-1       1\n");

    // The controller, copied to $9F, shows as the vertical speed: Right and A are $81.
    qvtest::writeText(dir.file("input.txt"), "5   # nothing yet\n10 right A\n");
    r = qorv(dir, {"play", game, "--frames", "17", "--every", "5", "--watch", "yspeed", "--input",
                   dir.file("input.txt"), "--json", "--screenshot", dir.file("last.png")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"frame\":5,\"yspeed\":0}\n"
                     "{\"frame\":10,\"yspeed\":-127}\n"
                     "{\"frame\":15,\"yspeed\":-127}\n"
                     "{\"frame\":17,\"yspeed\":0}\n");
    const auto png = qvtest::readBytes(dir.file("last.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
    // The width and height in the header: 256 x 240.
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin() + 16, png.begin() + 24),
              (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 0, 0, 240}));

    // All the watches when none is named.
    r = qorv(dir, {"play", game, "--frames", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              " frame  xspeed  yspeed       x       y   power   lives   coins   timer   world");
}

TEST(QorvPlay, BadInputIsAnErrorAndNothingIsWritten) {
    QV_REQUIRE_CORE(qvtest::installedCore());
    TempDir dir;
    const Env env(dir);
    const std::string game = cart(dir);
    const std::string shot = dir.file("shot.png");
    qvtest::writeText(dir.file("bad.txt"), "10 RIGHT\n4 JUMP\n");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--at", "9-1"},
         "qorv: --at 9-1: not a place W-L[:PAGE] (world 1-8, level 1-4, page 0-63)\n"},
        {{"--watch", "speed"},
         "qorv: unknown watch \"speed\" (xspeed, yspeed, x, y, power, lives, coins, timer, "
         "world)\n"},
        {{"--input", dir.file("bad.txt")},
         "qorv: " + dir.file("bad.txt") +
             ": line 2: unknown button \"JUMP\" (UP DOWN LEFT RIGHT A B START SELECT)\n"},
        {{"--every", "0"}, "qorv: --every must be 1 or more\n"},
        // The cartridge has no continue to start a level with.
        {{"--at", "8-4"},
         "qorv: Could not start 8-4: no level was being played 646 frames after power-on "
         "(game mode 0)\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"play", game, "--frames", "5", "--screenshot", shot};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = qorv(dir, args);
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(shot));
    }
}

TEST(QorvPlay, WithoutACoreItNamesThePackage) {
    TempDir dir;
    const Env env(dir);
    fs::create_directories(dir.file("no-cores"));
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", dir.file("no-cores"));
    const auto r = qorv(dir, {"play", cart(dir), "--frames", "5"});
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", std::nullopt);
    EXPECT_EQ(r.status, 2);
#ifdef _WIN32
    EXPECT_EQ(r.err, "qorv: no libretro NES core was found: install RetroArch with its Nestopia "
                     "core (its Online Updater puts nestopia_libretro.dll in RetroArch's cores "
                     "folder)\n");
#else
    EXPECT_EQ(r.err, "qorv: no libretro NES core was found: install the package libretro-nestopia "
                     "(sudo apt-get install libretro-nestopia)\n");
#endif
    EXPECT_EQ(r.out, "");
}
