// The Play window's two figures, on the tests' own cartridge (no game image here):
//   BM_CoreRun    the core's own retro_run alone, the floor;
//   BM_HostFrame  one frame of the host as the window runs it: retro_run, the picture
//                 converted to 32-bit pixels, and the picture painted at 2x;
//   BM_HotReload  a document change to the first frame with the new bytes: the
//                 window's reload (save state, load of the changed image, restore)
//                 and one frame.
// Run with QT_QPA_PLATFORM=offscreen (bench/run.py sets it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "core/document.h"
#include "core/play/corefind.h"
#include "core/play/host.h"
#include "core/settings.h"
#include "gui/play/playscreen.h"
#include "gui/play/playwindow.h"
#include "play/testcart.h"

namespace {

// The window on the cartridge, paused (the benchmark runs the frames) and shown.
struct Player {
    qv::RomDocument doc;
    qv::Settings settings;
    std::unique_ptr<qv::PlayWindow> window;

    bool open(benchmark::State& state) {
        if (!doc.replace(qvtest::testCartridge(), "/tmp/quorvane-bench-cart.nes")) {
            state.SkipWithError("the cartridge was refused");
            return false;
        }
        QString error;
        window.reset(qv::PlayWindow::open(doc, settings, {}, {}, nullptr, error));
        if (!window) {
            state.SkipWithError("no libretro NES core");
            return false;
        }
        window->setPaused(true);
        window->show();
        return true;
    }
};

void BM_CoreRun(benchmark::State& state) {
    Player p;
    if (!p.open(state)) return;
    for (auto _ : state)
        p.window->host().runCoreOnly();
}

void BM_HostFrame(benchmark::State& state) {
    Player p;
    p.settings.play.scale = 2;
    if (!p.open(state)) return;
    for (auto _ : state) {
        p.window->runFrames(1);
        p.window->screen()->repaint();
    }
}

void BM_HotReload(benchmark::State& state) {
    Player p;
    if (!p.open(state)) return;
    p.window->runFrames(30);
    std::uint8_t speed = 24;
    for (auto _ : state) {
        speed = speed == 24 ? 40 : 24;
        p.doc.writeByte(0x3454, speed, "(Mario)"); // the window follows the document
        p.window->runFrames(1);
        if (p.window->host().ram()[0x57] != speed)
            state.SkipWithError("the new byte did not arrive");
    }
}

BENCHMARK(BM_CoreRun)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HostFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HotReload)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
