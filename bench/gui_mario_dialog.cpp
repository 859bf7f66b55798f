// Opening the Mario dialog: from the launcher's start to the dialog shown and painted,
// then closing it. Run with QT_QPA_PLATFORM=offscreen (the default here).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <chrono>
#include <vector>

#include "core/document.h"
#include "core/tables/mario.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/settingssession.h"

namespace {

class BenchHost final : public qv::DialogHost {
  public:
    BenchHost() {
        std::vector<std::uint8_t> img(40976, 0);
        img[0x3454] = 0x18;
        img[0x3451] = 0xE8;
        img[0x107A] = 0x02;
        img[0x30B8] = 0x91;
        doc.replace(img, "/tmp/bench.nes");
    }
    qv::RomDocument doc;
    qv::DialogMemory memory;
    qv::RomDocument& document() override { return doc; }
    bool confirmResets() const override { return true; }
    qv::DialogMemory& dialogMemory() override { return memory; }
    QWidget* hostWindow() override { return nullptr; }
    void documentEdited() override {}
};

void openMario(qv::SettingsSession& session) {
    session.load();
    session.dialog()->show();
    QCoreApplication::processEvents(); // expose and first paint
}

void BM_OpenMarioDialog(benchmark::State& state) {
    BenchHost host;
    for (auto _ : state) {
        qv::SettingsSession session(host, qv::tables::mario(), &qv::makeMarioDialog);
        const auto start = std::chrono::steady_clock::now();
        openMario(session);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        session.finish(false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenMarioDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_OpenAndCloseMarioDialog(benchmark::State& state) {
    BenchHost host;
    for (auto _ : state) {
        qv::SettingsSession session(host, qv::tables::mario(), &qv::makeMarioDialog);
        openMario(session);
        session.finish(false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenAndCloseMarioDialog)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
