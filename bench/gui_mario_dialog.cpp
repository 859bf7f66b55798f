// Opening the Mario dialog: from the launcher's start to the dialog shown and painted,
// then closing it; the same for the Color and Palette dialogs, whose buttons and strips
// are drawn from the image's CHR tiles. One frame is 16.7 ms. Run with
// QT_QPA_PLATFORM=offscreen (the default here).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <chrono>
#include <vector>

#include "benchhost.h"
#include "core/document.h"
#include "core/tables/color.h"
#include "core/tables/mario.h"
#include "core/tables/palette.h"
#include "gui/dialogs/color.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/palette.h"
#include "gui/dialogs/settingssession.h"

namespace {

// A few Mario bytes at their defaults and busy graphics in the CHR bank, so that every
// picture has pixels to draw.
void fillImage(BenchHost& host) {
    std::vector<std::uint8_t> img(40976, 0);
    img[0x3454] = 0x18;
    img[0x3451] = 0xE8;
    img[0x107A] = 0x02;
    img[0x30B8] = 0x91;
    std::uint32_t x = 12345;
    for (int i = 0x8010; i < 0x8010 + 8192; ++i) {
        x = x * 1103515245u + 12345u;
        img[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> 16);
    }
    host.doc.replace(img, "/tmp/bench.nes");
}

// Load, show and the first paint.
void openDialog(qv::SettingsSession& session) {
    session.load();
    session.dialog()->show();
    QCoreApplication::processEvents(); // expose and first paint
}

// A dialog opened on the same image again and again (Color's and Palette's tiles decoded
// once), or, with `newImage`, on an image whose CHR bank changed each time; only the
// opening is timed.
void timedOpenings(benchmark::State& state, const qv::DialogTable& table, qv::DialogFactory factory,
                   bool newImage) {
    BenchHost host;
    fillImage(host);
    for (auto _ : state) {
        if (newImage)
            host.doc.writeByte(0x8010, static_cast<std::uint8_t>(host.doc.at(0x8010) + 1));
        qv::SettingsSession session(host, table, factory);
        const auto start = std::chrono::steady_clock::now();
        openDialog(session);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        session.finish(false);
        QCoreApplication::processEvents();
    }
}

void BM_OpenMarioDialog(benchmark::State& state) {
    timedOpenings(state, qv::tables::mario(), &qv::makeMarioDialog, false);
}
BENCHMARK(BM_OpenMarioDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_OpenAndCloseMarioDialog(benchmark::State& state) {
    BenchHost host;
    fillImage(host);
    for (auto _ : state) {
        qv::SettingsSession session(host, qv::tables::mario(), &qv::makeMarioDialog);
        openDialog(session);
        session.finish(false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenAndCloseMarioDialog)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Each dialog opened on a cached CHR bank, and on one whose tiles must be decoded again.
void openChrDialogOf(benchmark::State& state, const qv::DialogTable& (*table)(),
                     qv::DialogFactory factory, bool newImage) {
    timedOpenings(state, table(), factory, newImage);
}
BENCHMARK_CAPTURE(openChrDialogOf, Color, &qv::tables::color, &qv::makeColorDialog, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK_CAPTURE(openChrDialogOf, ColorNewTiles, &qv::tables::color, &qv::makeColorDialog, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK_CAPTURE(openChrDialogOf, Palette, &qv::tables::palette, &qv::makePaletteDialog, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK_CAPTURE(openChrDialogOf, PaletteNewTiles, &qv::tables::palette, &qv::makePaletteDialog,
                  true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
