// The host on the installed core, with the tests' own cartridge (play/testcart.h):
// frames, input, RAM, the picture, save states and the hot reload.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/play/host.h"
#include "core/play/start.h"
#include "play/playtest.h"
#include "play/testcart.h"

using namespace qv::play;

namespace {

std::unique_ptr<PlayHost> openHost(const std::string& core) {
    std::string error;
    auto host = PlayHost::open(core, error);
    EXPECT_TRUE(host) << error;
    return host;
}

void runFrames(PlayHost& host, int n) {
    for (int i = 0; i < n; ++i)
        host.run();
}

std::uint32_t centre(const PlayHost& host) {
    const Frame& f = host.frame();
    return f.at(f.width / 2, f.height / 2);
}

// The colour's strongest component: 0 red, 1 green, 2 blue.
int strongest(std::uint32_t rgb) {
    const int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
    return r > g && r > b ? 0 : g > r && g > b ? 1 : b > r && b > g ? 2 : -1;
}

} // namespace

TEST(PlayHost, RunsFramesTakesInputAndShowsRam) {
    const std::string core = qvtest::installedCore();
    QV_REQUIRE_CORE(core);
    auto host = openHost(core);
    ASSERT_TRUE(host);
    std::string error;
    ASSERT_TRUE(host->load(qvtest::testCartridge(), error)) << error;
    EXPECT_NEAR(host->fps(), 60.05, 0.1); // NTSC: 60.0 to 60.1 as cores round it
    EXPECT_GT(host->sampleRate(), 0);
    EXPECT_FALSE(host->coreName().empty());

    runFrames(*host, 10);
    EXPECT_EQ(host->frameCount(), 10u);
    ASSERT_EQ(host->ram().size(), 2048u);
    // One NMI a frame: the counter goes up by exactly the frames run.
    const int counter = host->ram()[0x00];
    EXPECT_GT(counter, 0);
    runFrames(*host, 25);
    EXPECT_EQ(host->ram()[0x00], counter + 25);
    EXPECT_EQ(host->ram()[0x02], 0x18); // the ROM byte at 0x3454
    EXPECT_EQ(host->ram()[0x57], 0x18);
    EXPECT_EQ(host->frame().width, 256);
    EXPECT_GE(host->frame().height, 224);
    // The cartridge's tone: about 800 stereo samples a frame at 48 kHz, not silent.
    ASSERT_GT(host->audio().size(), 35u * 2 * 700);
    int peak = 0;
    for (const std::int16_t s : host->audio())
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 1000);
    host->audio().clear();

    host->setButtons(kButtonRight | kButtonA);
    runFrames(*host, 2);
    EXPECT_EQ(host->ram()[0x01], 0x81);
    host->setButtons(kButtonStart | kButtonB | kButtonUp);
    runFrames(*host, 2);
    EXPECT_EQ(host->ram()[0x01], 0x58);
    host->setButtons(0);
    runFrames(*host, 2);
    EXPECT_EQ(host->ram()[0x01], 0x00);

    // A poke is what the game sees next.
    host->ram()[0x00] = 0x40;
    runFrames(*host, 1);
    EXPECT_EQ(host->ram()[0x00], 0x41);

    // A save state brings the counter back.
    const std::vector<std::uint8_t> state = host->saveState();
    ASSERT_FALSE(state.empty());
    runFrames(*host, 5);
    EXPECT_EQ(host->ram()[0x00], 0x46);
    ASSERT_TRUE(host->loadState(state));
    EXPECT_EQ(host->ram()[0x00], 0x41);

    // One player per core at a time.
    std::string busy;
    EXPECT_FALSE(PlayHost::open(core, busy));
    EXPECT_NE(busy.find("already playing"), std::string::npos) << busy;
}

TEST(PlayHost, HotReloadGoesOnWithTheNewBytes) {
    const std::string core = qvtest::installedCore();
    QV_REQUIRE_CORE(core);
    auto host = openHost(core);
    ASSERT_TRUE(host);
    std::vector<std::uint8_t> image = qvtest::testCartridge(0x18, 0x16); // red
    std::string error;
    ASSERT_TRUE(host->load(image, error)) << error;
    runFrames(*host, 30);
    EXPECT_EQ(host->ram()[0x57], 0x18);
    EXPECT_EQ(strongest(centre(*host)), 0);
    host->ram()[0x00] = 0x70;

    image[0x3454] = 0x28;
    image[0x111] = 0x2A; // green
    ASSERT_TRUE(host->reload(image, error)) << error;
    runFrames(*host, 1);
    EXPECT_EQ(host->ram()[0x57], 0x28);
    EXPECT_EQ(host->ram()[0x02], 0x28);
    EXPECT_EQ(host->ram()[0x00], 0x71); // the state came back: no power-on
    runFrames(*host, 1);
    EXPECT_EQ(strongest(centre(*host)), 1);

    image[0x111] = 0x12; // blue
    ASSERT_TRUE(host->reload(image, error)) << error;
    runFrames(*host, 2);
    EXPECT_EQ(strongest(centre(*host)), 2);
    EXPECT_EQ(host->ram()[0x00], 0x74);

    // An image the core refuses leaves the game running as it was.
    const std::vector<std::uint8_t> junk(10, 0);
    EXPECT_FALSE(host->reload(junk, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(host->loaded());
    runFrames(*host, 1);
    EXPECT_EQ(host->ram()[0x00], 0x75);
    EXPECT_EQ(host->ram()[0x57], 0x28);

    // A power-on starts the count again.
    ASSERT_TRUE(host->load(image, error)) << error;
    EXPECT_EQ(host->frameCount(), 0u);
    runFrames(*host, 5);
    EXPECT_LT(host->ram()[0x00], 5);
}

TEST(PlayHost, StartSaysSoWhenTheLevelWasNotReached) {
    const std::string core = qvtest::installedCore();
    QV_REQUIRE_CORE(core);
    auto host = openHost(core);
    ASSERT_TRUE(host);
    std::string error;
    // The cartridge is no game with a continue: its RAM never says a level is played.
    const StartSequence start = startGame(*host, qvtest::testCartridge(), {8, 4, 0}, error);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_TRUE(start.done());
    EXPECT_FALSE(start.playing());
    EXPECT_EQ(start.message(), "Could not start 8-4: no level was being played 646 frames "
                               "after power-on (game mode 0)");
    // The sequence wrote the continue and the game ran on.
    EXPECT_EQ(host->ram()[0x075F], 7);
    EXPECT_EQ(host->ram()[0x075C], 3);
    EXPECT_EQ(host->frameCount(), 646u);
}
