// Opening a settings dialog: from the launcher's start to the dialog shown and
// painted. As in the editor, a main window with menus and a status text is shown
// and painted first. The first opening in the process is the cold one, which builds
// the dialog's table as the editor's first opening does; the dialog is then closed and
// opened again for the warm figure. Prints one line of key=value pairs for bench/run.py:
//   dialog_open NAME [WARM_RUNS]   one dialog ("Enemy 2", as qorv names them)
//   dialog_open --write-image PATH writes the image the others open (below)
//   dialog_open --list-dialogs     the Edit menu's dialogs, "DIGIT NAME" a line, where
//                                  Ctrl+DIGIT opens NAME in the editor
// The image has every item at its default, so that every control shows a value (an
// empty image would leave many lists out of bounds, and cheap). Making it needs every
// table, so it is written by a run of its own and named by QV_BENCH_IMAGE; without
// that, it is made in the process, and the cold figure then lacks the table's building.
// Run with QT_QPA_PLATFORM=offscreen (the default here).
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "benchhost.h"
#include "core/document.h"
#include "core/tables/registry.h"
#include "gui/dialogs/color.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/enemy1.h"
#include "gui/dialogs/enemy2.h"
#include "gui/dialogs/enemy3.h"
#include "gui/dialogs/general1.h"
#include "gui/dialogs/general2.h"
#include "gui/dialogs/mario.h"
#include "gui/dialogs/palette.h"
#include "gui/dialogs/scoring.h"
#include "gui/dialogs/settingsdialog.h"
#include "gui/dialogs/settingssession.h"

namespace {

struct Entry {
    const char* name;
    const char* className;
    qv::DialogFactory factory;
};

const std::vector<Entry>& dialogs() {
    static const std::vector<Entry> all{
        {"Mario", "TFormMario", &qv::makeMarioDialog},
        {"General 1", "TFormZenpan1", &qv::makeGeneral1Dialog},
        {"General 2", "TFormZenpan2", &qv::makeGeneral2Dialog},
        {"Enemy 1", "TFormEnemy1", &qv::makeEnemy1Dialog},
        {"Enemy 2", "TFormEnemy2", &qv::makeEnemy2Dialog},
        {"Enemy 3", "TFormEnemy3", &qv::makeEnemy3Dialog},
        {"Scoring", "TFormPoint", &qv::makeScoringDialog},
        {"Color", "TFormColor", &qv::makeColorDialog},
        {"Palette", "TFormPallet", &qv::makePaletteDialog},
    };
    return all;
}

std::vector<std::uint8_t> defaultsImage() {
    std::vector<std::uint8_t> img(40976, 0);
    for (const qv::DialogTable* t : qv::dialogTables())
        for (const qv::Item* it : t->items())
            it->write(img, 0, it->defaultValue);
    return img;
}

// The image named by QV_BENCH_IMAGE, else one made here.
void loadImage(BenchHost& host) {
    const QByteArray path = qgetenv("QV_BENCH_IMAGE");
    if (path.isEmpty() || host.doc.load(path.toStdString()) != qv::LoadStatus::Ok)
        host.doc.replace(defaultsImage(), "/tmp/bench.nes");
}

class PaintWatch final : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(o, e);
    }
};

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Timing {
    double wall = 0, cpu = 0;
};

Timing openOnce(BenchHost& host, const Entry& e) {
    const qv::DialogTable* table = qv::findTable(e.className);
    const double cpu0 = cpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    qv::SettingsSession session(host, *table, e.factory);
    session.load();
    PaintWatch watch;
    session.dialog()->installEventFilter(&watch);
    session.dialog()->show();
    for (int k = 0; k < 1000 && !watch.painted; ++k)
        QCoreApplication::processEvents();
    const auto t1 = std::chrono::steady_clock::now();
    const double cpu1 = cpuMs();
    session.dialog()->removeEventFilter(&watch);
    session.finish(false);
    QCoreApplication::processEvents();
    return {std::chrono::duration<double, std::milli>(t1 - t0).count(), cpu1 - cpu0};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--list-dialogs") {
        for (const qv::DialogEntry& e : qv::dialogEntries())
            if (e.inMenu() && e.shortcut)
                std::printf("%d %.*s\n", e.shortcut, static_cast<int>(e.name.size()),
                            e.name.data());
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: dialog_open NAME [WARM_RUNS] | --write-image PATH | --list-dialogs\n");
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--write-image" && argc > 2) {
        const std::vector<std::uint8_t> img = defaultsImage();
        std::FILE* f = std::fopen(argv[2], "wb");
        const bool ok = f && std::fwrite(img.data(), 1, img.size(), f) == img.size();
        return (f && std::fclose(f) == 0 && ok) ? 0 : 1;
    }
    BenchHost host;
    loadImage(host);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Tools", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.statusBar()->showMessage(QStringLiteral("478 Modifiable Items"));
    PaintWatch windowPainted;
    window.installEventFilter(&windowPainted);
    window.show();
    for (int k = 0; k < 1000 && !windowPainted.painted; ++k)
        QCoreApplication::processEvents();
    window.removeEventFilter(&windowPainted);
    const auto it = std::find_if(dialogs().begin(), dialogs().end(),
                                 [&](const Entry& e) { return name == e.name; });
    if (it == dialogs().end()) {
        std::fprintf(stderr, "unknown dialog %s\n", name.c_str());
        return 1;
    }
    const int warmRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const Timing cold = openOnce(host, *it);
    std::vector<double> wall, cpu;
    for (int k = 0; k < warmRuns; ++k) {
        const Timing t = openOnce(host, *it);
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::printf("cold_ms=%.3f cold_cpu_ms=%.3f warm_ms=%.3f warm_cpu_ms=%.3f\n", cold.wall,
                cold.cpu, median(wall), median(cpu));
    return 0;
}
