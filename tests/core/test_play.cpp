// The player's parts that need no core: pixel conversion, places, the area index,
// the start sequence against a game simulated in RAM, the watches, input scripts
// and where a core is looked for.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/play/corefind.h"
#include "core/play/host.h"
#include "core/play/inputscript.h"
#include "core/play/pacer.h"
#include "core/play/pixels.h"
#include "core/play/start.h"
#include "core/play/watch.h"
#include "core/system.h"

namespace fs = std::filesystem;
using namespace qv::play;

TEST(PlayPixels, EveryCoreFormatBecomes32BitRgb) {
    Frame f;
    // Two pixels a row, rows 6 bytes apart (2 bytes of padding).
    const std::uint16_t rgb565[] = {0xF800, 0x07E0, 0, 0x001F, 0x8410, 0};
    convertFrame(PixelFormat::Rgb565, rgb565, 2, 2, 6, f);
    EXPECT_EQ(f.pixels,
              (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848284}));
    const std::uint16_t rgb1555[] = {0x7C00, 0x03E0, 0x801F, 0x4210};
    convertFrame(PixelFormat::Rgb1555, rgb1555, 2, 2, 4, f);
    EXPECT_EQ(f.pixels,
              (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848484}));
    const std::uint32_t xrgb[] = {0x00123456, 0x7F000001, 0xDEADBEEF, 0x80FFFFFF};
    convertFrame(PixelFormat::Xrgb8888, xrgb, 1, 2, 8, f);
    EXPECT_EQ(f.width, 1);
    EXPECT_EQ(f.height, 2);
    EXPECT_EQ(f.pixels, (std::vector<std::uint32_t>{0xFF123456, 0xFFADBEEF}));
}

TEST(PlayPlace, ParsesWorldLevelAndPage) {
    EXPECT_EQ(parsePlace("8-4"), (Place{8, 4, 0}));
    EXPECT_EQ(parsePlace("1-2:5"), (Place{1, 2, 5}));
    EXPECT_EQ(parsePlace("3-1:63"), (Place{3, 1, 63}));
    for (const char* bad : {"0-1", "9-1", "1-0", "1-5", "1-1:64", "1-1:", "1", "a-b", "1-1:-1", "",
                            "-", "1--1", "1-1 "})
        EXPECT_FALSE(parsePlace(bad)) << bad;
    EXPECT_EQ(placeText({8, 4, 0}), "8-4");
    EXPECT_EQ(placeText({5, 2, 3}), "5-2:3");
}

TEST(PlayStart, AreaIndexComesFromTheImagesWorldTable) {
    std::vector<std::uint8_t> image(40976, 0);
    const std::uint8_t game[] = {0x00, 0x05, 0x0A, 0x0E, 0x13, 0x17, 0x1B, 0x20};
    std::copy(std::begin(game), std::end(game), image.begin() + 0x1CC4);
    EXPECT_EQ(areaIndex(image, 1, 1), 0);
    EXPECT_EQ(areaIndex(image, 1, 2), 2); // past the pipe intro
    EXPECT_EQ(areaIndex(image, 1, 4), 4);
    EXPECT_EQ(areaIndex(image, 3, 2), 1); // four areas, no intro
    EXPECT_EQ(areaIndex(image, 4, 3), 3);
    EXPECT_EQ(areaIndex(image, 8, 4), 3);

    // A hack that gives world 1 four areas and world 3 five; with a trainer.
    std::vector<std::uint8_t> hack(41488, 0);
    const std::uint8_t reordered[] = {0x00, 0x04, 0x09, 0x0E, 0x12, 0x17, 0x1B, 0x20};
    std::copy(std::begin(reordered), std::end(reordered), hack.begin() + 0x1EC4);
    EXPECT_EQ(areaIndex(hack, 1, 2), 1);
    EXPECT_EQ(areaIndex(hack, 2, 2), 2);
    EXPECT_EQ(areaIndex(hack, 3, 3), 3);
    EXPECT_EQ(areaIndex(hack, 3, 4), 4);
    EXPECT_EQ(areaIndex(hack, 4, 2), 1);
}

namespace {

// Just enough of the game for its continue: it shows the title from frame 20; Start
// held for two frames there begins the game, which plays a level 120 frames later,
// at the continue world and level unless `ignoreContinue`.
struct SimulatedGame {
    std::array<std::uint8_t, 2048> ram{};
    bool ignoreContinue = false;
    bool neverStarts = false;
    int frame = 0;
    int startHeld = 0;
    int startedAt = -1;
    std::vector<std::uint16_t> held;

    void run(std::uint16_t buttons) {
        held.push_back(buttons);
        ram[0x0770] = frame < 20 ? 0xFF : ram[0x0770];
        if (frame == 20) ram[0x0770] = 0;
        if (frame >= 20 && startedAt < 0 && (buttons & kButtonStart) && ++startHeld == 2 &&
            !neverStarts)
            startedAt = frame;
        if (startedAt >= 0 && frame == startedAt + 120) {
            if (ignoreContinue) ram[0x075F] = ram[0x075C] = 0;
            ram[0x0770] = 1;
            ram[0x0772] = 3;
            ram[0x000E] = 8;
        }
        ++frame;
    }
};

StartSequence runSimulated(SimulatedGame& game, const Place& place, int area) {
    StartSequence start(place, area);
    for (int guard = 0; guard < 5000; ++guard) {
        const std::uint16_t b = start.beforeFrame(game.ram);
        if (start.done()) break;
        game.run(b);
    }
    return start;
}

} // namespace

TEST(PlayStart, TheContinueMechanismStartsThePlaceAskedFor) {
    SimulatedGame game;
    StartSequence start = runSimulated(game, {8, 4, 2}, 3);
    ASSERT_TRUE(start.done());
    EXPECT_TRUE(start.reached());
    EXPECT_EQ(start.message(), "Started 8-4:2");
    EXPECT_EQ(game.ram[0x075F], 7);
    EXPECT_EQ(game.ram[0x075C], 3);
    EXPECT_EQ(game.ram[0x0760], 3);
    EXPECT_EQ(game.ram[0x075B], 2);
    // Nothing before frame 40, then Start for six frames, then nothing.
    ASSERT_GE(game.held.size(), 47u);
    for (int f = 0; f < 40; ++f)
        EXPECT_EQ(game.held[f], 0) << f;
    for (int f = 40; f < 46; ++f)
        EXPECT_EQ(game.held[f], kButtonStart) << f;
    for (std::size_t f = 46; f < game.held.size(); ++f)
        EXPECT_EQ(game.held[f], 0) << f;
    // Start counted from frame 41 (its second frame held); the level from frame 161.
    EXPECT_EQ(start.frames(), 162);
    EXPECT_EQ(game.frame, 162);

    SimulatedGame elsewhere;
    elsewhere.ignoreContinue = true;
    start = runSimulated(elsewhere, {5, 2, 0}, 1);
    EXPECT_TRUE(start.playing());
    EXPECT_FALSE(start.reached());
    EXPECT_EQ(start.message(), "Asked for 5-2, but the game started 1-1");

    SimulatedGame stuck;
    stuck.neverStarts = true;
    start = runSimulated(stuck, {1, 1, 0}, 0);
    EXPECT_TRUE(start.done());
    EXPECT_FALSE(start.playing());
    EXPECT_EQ(start.message(),
              "Could not start 1-1: no level was being played 646 frames after power-on "
              "(game mode 0)");

    // No title screen at all: the game mode never reads 0.
    SimulatedGame noTitle;
    noTitle.ram[0x0770] = 0xFF;
    StartSequence never({2, 1, 0}, 0);
    for (int f = 0; f < 5000 && !never.done(); ++f) {
        never.beforeFrame(noTitle.ram);
        noTitle.ram[0x0770] = 0xFF;
    }
    EXPECT_EQ(never.message(),
              "Could not start 2-1: no level was being played 240 frames after power-on "
              "(game mode 255)");
}

TEST(PlayWatch, ReadsTheGamesRam) {
    std::vector<std::uint8_t> ram(2048, 0);
    ram[0x0057] = 0xE8; // -24
    ram[0x009F] = 0x05;
    ram[0x006D] = 2;
    ram[0x0086] = 0x10;
    ram[0x00CE] = 0xB0;
    ram[0x0756] = 2;
    ram[0x075A] = 2;
    ram[0x07ED] = 1;
    ram[0x07EE] = 7;
    ram[0x07F8] = 3;
    ram[0x07F9] = 5;
    ram[0x07FA] = 9;
    ram[0x075F] = 7;
    ram[0x075C] = 3;
    EXPECT_EQ(watchValue(Watch::XSpeed, ram), -24);
    EXPECT_EQ(watchValue(Watch::YSpeed, ram), 5);
    EXPECT_EQ(watchValue(Watch::X, ram), 528);
    EXPECT_EQ(watchValue(Watch::Y, ram), 176);
    EXPECT_EQ(watchValue(Watch::Power, ram), 2);
    EXPECT_EQ(watchValue(Watch::Lives, ram), 3);
    EXPECT_EQ(watchValue(Watch::Coins, ram), 17);
    EXPECT_EQ(watchValue(Watch::Timer, ram), 359);
    EXPECT_EQ(watchValue(Watch::World, ram), 84);
    EXPECT_EQ(watchText(Watch::World, ram), "8-4");
    EXPECT_EQ(watchText(Watch::XSpeed, ram), "-24");
    EXPECT_EQ(watchByName("timer"), Watch::Timer);
    EXPECT_FALSE(watchByName("Timer"));
    EXPECT_EQ(watchValue(Watch::Timer, std::vector<std::uint8_t>(16, 9)), 0); // too short
}

TEST(PlayInput, ScriptLinesHoldButtonsForFrames) {
    std::string error;
    const auto script =
        parseInputScript("150 RIGHT B\n# a comment\n\n  30\n10 start Select # both\r\n", error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(script->buttonsAt(0), kButtonRight | kButtonB);
    EXPECT_EQ(script->buttonsAt(149), kButtonRight | kButtonB);
    EXPECT_EQ(script->buttonsAt(150), 0);
    EXPECT_EQ(script->buttonsAt(179), 0);
    EXPECT_EQ(script->buttonsAt(180), kButtonStart | kButtonSelect);
    EXPECT_EQ(script->buttonsAt(189), kButtonStart | kButtonSelect);
    EXPECT_EQ(script->buttonsAt(190), 0);
    EXPECT_EQ(kButtonRight, 0x80);
    EXPECT_EQ(kButtonA, 0x100);

    EXPECT_FALSE(parseInputScript("10 RIGHT\n5 JUMP\n", error));
    EXPECT_EQ(error, "line 2: unknown button \"JUMP\" (UP DOWN LEFT RIGHT A B START SELECT)");
    EXPECT_FALSE(parseInputScript("RIGHT 10\n", error));
    EXPECT_EQ(error, "line 1: \"RIGHT\" is not a number of frames");
    EXPECT_FALSE(parseInputScript("-3 A\n", error));
    EXPECT_EQ(error, "line 1: \"-3\" is not a number of frames");
}

#ifdef _WIN32
constexpr const char* kLib = ".dll";
#else
constexpr const char* kLib = ".so";
#endif

TEST(PlayCoreFinder, ConfiguredFirstThenTheFoldersNestopiaFirst) {
    const fs::path root =
        fs::temp_directory_path() / ("qv-corefind-" + std::to_string(qv::processId()));
    fs::remove_all(root);
    for (const char* d : {"a", "b", "mine"})
        fs::create_directories(root / d);
    const auto touch = [](const fs::path& p) { std::ofstream(p) << "x"; };
    const auto lib = [](const char* stem) { return std::string(stem) + kLib; };
    const std::vector<std::string> folders = {(root / "a").string(), (root / "b").string()};
    EXPECT_EQ(findCore("", folders), "");
    touch(root / "a" / lib("quicknes_libretro"));
    touch(root / "a" / lib("fceumm_libretro"));
    touch(root / "b" / lib("nestopia_libretro"));
    EXPECT_EQ(findCore("", folders), (root / "b" / lib("nestopia_libretro")).string());
    touch(root / "mine" / lib("mesen_libretro"));
    EXPECT_EQ(findCore((root / "mine").string(), folders),
              (root / "mine" / lib("mesen_libretro")).string());
    touch(root / "mine" / lib("custom"));
    EXPECT_EQ(findCore((root / "mine" / lib("custom")).string(), folders),
              (root / "mine" / lib("custom")).string());
    // A configured core that is not there: the usual places still serve.
    EXPECT_EQ(findCore((root / lib("gone")).string(), folders),
              (root / "b" / lib("nestopia_libretro")).string());
    fs::remove_all(root);

#ifdef _WIN32
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", "C:\\one;D:\\two;;E:\\three");
    EXPECT_EQ(coreFolders(), (std::vector<std::string>{"C:\\one", "D:\\two", "E:\\three"}));
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", std::nullopt);
    const auto appData = qv::environmentValue("APPDATA");
    ASSERT_TRUE(appData.has_value());
    EXPECT_EQ(coreFolders().at(0), *appData + "\\RetroArch\\cores");

    EXPECT_EQ(noCoreMessage(),
              "No libretro NES core was found for Play.\r\nInstall RetroArch with its Nestopia "
              "core (its Online Updater puts nestopia_libretro.dll in RetroArch's cores folder), "
              "or name a core under Tools > Editor Options > Play.");
#else
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", "/one:/two::/three");
    EXPECT_EQ(coreFolders(), (std::vector<std::string>{"/one", "/two", "/three"}));
    qv::setEnvironmentValue("QUORVANE_LIBRETRO_PATH", std::nullopt);
    const std::string debian = coreFolders().at(0); // /usr/lib/<triplet>/libretro
    EXPECT_TRUE(debian.starts_with("/usr/lib/") && debian.ends_with("-linux-gnu/libretro"))
        << debian;

    EXPECT_EQ(noCoreMessage(),
              "No libretro NES core was found for Play.\r\nInstall the package "
              "libretro-nestopia (sudo apt-get install libretro-nestopia), or name a core under "
              "Tools > Editor Options > Play.");
#endif
}

TEST(PlayPacer, FramesKeepTheCoresRateWithoutDrift) {
    // Ticks come late by up to 20 ms each, for ten simulated minutes.
    const double fps = 60.0988;
    FramePacer pacer(fps);
    pacer.restart(0);
    double now = 0;
    long long frames = 0;
    unsigned seed = 7;
    while (now < 600e9) {
        const int n = pacer.due(now);
        EXPECT_LE(n, 3);
        frames += n;
        seed = seed * 1103515245u + 12345u;
        now = pacer.nextNs() + static_cast<double>(seed % 20000000u);
    }
    frames += pacer.due(now);
    // Exactly the frames whose time has come: frame k is due at k * period.
    EXPECT_EQ(frames, static_cast<long long>(std::floor(now * fps / 1e9)) + 1);

    // After a stall the game goes on from now: one frame, then the period again.
    FramePacer stalled(60.0);
    stalled.restart(0);
    EXPECT_EQ(stalled.due(0), 1);
    EXPECT_EQ(stalled.due(10e6), 0);
    EXPECT_EQ(stalled.due(16.7e6), 1);
    EXPECT_EQ(stalled.due(1e9), 1);
    EXPECT_DOUBLE_EQ(stalled.nextNs(), 1e9 + 1e9 / 60.0);
    EXPECT_EQ(stalled.due(1e9 + 3 * 1e9 / 60.0 + 1), 3);
}
