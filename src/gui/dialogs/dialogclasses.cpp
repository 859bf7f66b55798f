#include "gui/dialogs/dialogclasses.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QWidget>
#include <map>
#include <string>

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

namespace qv {

namespace {
struct Factory {
    std::string_view className;
    SettingsDialog* (*make)(const DialogTable&, DialogHost&, QWidget*);
};
// The sub-dialogs of General 1 are opened by its own code.
constexpr Factory kFactories[] = {
    {"TFormMario", &makeMarioDialog},      {"TFormZenpan1", &makeGeneral1Dialog},
    {"TFormZenpan2", &makeGeneral2Dialog}, {"TFormEnemy1", &makeEnemy1Dialog},
    {"TFormEnemy2", &makeEnemy2Dialog},    {"TFormEnemy3", &makeEnemy3Dialog},
    {"TFormPoint", &makeScoringDialog},    {"TFormColor", &makeColorDialog},
    {"TFormPallet", &makePaletteDialog},
};
} // namespace

DialogFactory dialogFactory(std::string_view className) {
    for (const Factory& f : kFactories)
        if (f.className == className) return f.make;
    return {};
}

namespace {
// A turn while a window is modal (a dialog in use) waits this long before looking again.
constexpr int kBusyRetryMs = 250;
// The first turn after the window's first paint: sooner than anyone opens a dialog.
constexpr int kStartDelayMs = 200;

SettingsDialog* build(DialogHost& host, const DialogTable& table) {
    const DialogFactory factory = dialogFactory(table.className);
    return factory ? factory(table, host, host.hostWindow())
                   : new SettingsDialog(table, host, host.hostWindow());
}

// Whatever its opening would otherwise make is made now, while idle (the rows "Open ...,
// warm" of bench/run.py): the glyphs, style pieces and widgets' own measures its painting
// makes, and its window with a backing store of its size, every page already touched.
void prepare(SettingsDialog* spare) {
    spare->layout()->activate();
    const QRect whole(QPoint(), spare->size());
    QImage scratch(whole.size(), QImage::Format_RGB32);
    spare->render(&scratch);
    // Measured again once filled: a list showing another value may be wider, and a layout
    // measured once would keep the old width.
    for (QWidget* w : spare->findChildren<QWidget*>())
        w->updateGeometry();
    for (QLayout* l : spare->findChildren<QLayout*>())
        l->invalidate();
    (void)spare->winId();
    if (QBackingStore* store = spare->backingStore()) {
        store->resize(whole.size());
        store->beginPaint(whole);
        QPainter(store->paintDevice()).fillRect(whole, spare->palette().window());
        store->endPaint();
    }
}
} // namespace

DialogSpares::DialogSpares(DialogHost& host, QObject* parent) : QObject(parent), host_(host) {}

DialogSpares::~DialogSpares() {
    for (auto& [table, spare] : ready_)
        delete spare; // none left once the window that owns them has gone
}

void DialogSpares::startAfterFirstPaint(QWidget* window) {
    window->installEventFilter(this);
}

bool DialogSpares::eventFilter(QObject* watched, QEvent* event) {
    // A modal window's opening and closing tell every other window, and each passes it on
    // to all its widgets: a hidden spare needs none of it (the rows "Open ..., warm" of
    // bench/run.py).
    if ((event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked) &&
        qobject_cast<SettingsDialog*>(watched))
        return true;
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        // A moment later, once the start has settled; a start that quits after its
        // first paint (the start-up rows of bench/run.py) builds nothing.
        turn_.start(kStartDelayMs, this);
    }
    return QObject::eventFilter(watched, event);
}

SettingsDialog* DialogSpares::take(const DialogTable& table) {
    const auto it = ready_.find(&table);
    if (it == ready_.end()) return nullptr;
    SettingsDialog* dialog = it->second;
    if (dialog) dialog->removeEventFilter(this);
    ready_.erase(it);
    return dialog;
}

void DialogSpares::refill() {
    turn_.start(0, this);
}

void DialogSpares::timerEvent(QTimerEvent* event) {
    if (event->timerId() != turn_.timerId()) return QObject::timerEvent(event);
    // A build takes a frame or two: never while the user works in a dialog or a menu.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        turn_.start(kBusyRetryMs, this);
        return;
    }
    turn_.stop();
    const DialogTable* table = nextMissing();
    if (!table) return;
    SettingsDialog* spare = build(host_, *table);
    prepare(spare);
    spare->installEventFilter(this);
    ready_[table] = spare;
    if (nextMissing()) turn_.start(0, this); // one dialog a turn
}

const DialogTable* DialogSpares::nextMissing() const {
    for (const DialogEntry& e : dialogEntries()) {
        if (!e.inMenu()) continue;
        const auto it = ready_.find(&e.table());
        if (it == ready_.end() || !it->second) return &e.table();
    }
    return nullptr;
}

bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry, DialogSpares* spares) {
    const DialogTable& table = entry.table();
    DialogFactory factory = dialogFactory(table.className);
    if (SettingsDialog* spare = spares ? spares->take(table) : nullptr)
        factory = [spare](const DialogTable&, DialogHost&, QWidget*) { return spare; };
    const bool changed = runSettingsDialog(host, table, factory);
    if (spares) spares->refill();
    return changed;
}

} // namespace qv
