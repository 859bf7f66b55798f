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

std::unique_ptr<qv::PlayWindow, void (*)(qv::PlayWindow*)> openWindow(qv::RomDocument& doc,
                                                                      qv::Settings& settings) {
    QString error;
    qv::PlayWindow* w = qv::PlayWindow::open(doc, settings, {}, {}, nullptr, error);
    if (w) {
        w->setPaused(true); // the benchmark runs the frames
        w->show();
    }
    return {w, [](qv::PlayWindow* p) { delete p; }};
}

bool loadCart(qv::RomDocument& doc) {
    return doc.replace(qvtest::testCartridge(), "/tmp/quorvane-bench-cart.nes");
}

void BM_CoreRun(benchmark::State& state) {
    qv::RomDocument doc;
    qv::Settings settings;
    if (!loadCart(doc)) return state.SkipWithError("the cartridge was refused");
    auto w = openWindow(doc, settings);
    if (!w) return state.SkipWithError("no libretro NES core");
    for (auto _ : state)
        w->host().runCoreOnly();
}

void BM_HostFrame(benchmark::State& state) {
    qv::RomDocument doc;
    qv::Settings settings;
    settings.play.scale = 2;
    if (!loadCart(doc)) return state.SkipWithError("the cartridge was refused");
    auto w = openWindow(doc, settings);
    if (!w) return state.SkipWithError("no libretro NES core");
    for (auto _ : state) {
        w->runFrames(1);
        w->screen()->repaint();
    }
}

void BM_HotReload(benchmark::State& state) {
    qv::RomDocument doc;
    qv::Settings settings;
    if (!loadCart(doc)) return state.SkipWithError("the cartridge was refused");
    auto w = openWindow(doc, settings);
    if (!w) return state.SkipWithError("no libretro NES core");
    w->runFrames(30);
    std::uint8_t speed = 24;
    for (auto _ : state) {
        speed = speed == 24 ? 40 : 24;
        const qv::RomBuffer before = doc.image();
        doc.image()[0x3454] = speed;
        doc.commitEdit(before, "(Mario)");
        w->documentChanged(qv::DocumentChange::Edited);
        w->runFrames(1);
        if (w->host().ram()[0x57] != speed) state.SkipWithError("the new byte did not arrive");
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
