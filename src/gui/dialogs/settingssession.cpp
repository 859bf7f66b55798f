#include "gui/dialogs/settingssession.h"
#include "gui/main/placement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "core/document.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/dialogs/settingsdialog.h"

namespace qv {

namespace {

// The hourglass from the start of loading until the dialog is ready, however load() ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString key(const DialogTable& t) {
    return QString::fromUtf8(t.className.data(), static_cast<qsizetype>(t.className.size()));
}

} // namespace

SettingsSession::SettingsSession(DialogHost& host, const DialogTable& table, DialogFactory factory)
    : host_(host), table_(table), factory_(std::move(factory)) {}

SettingsSession::~SettingsSession() = default;

void SettingsSession::load() {
    WaitCursor wait;
    const RomDocument& doc = host_.document();
    QWidget* parent = host_.hostWindow();
    dialog_.reset(factory_ ? factory_(table_, host_, parent)
                           : new SettingsDialog(table_, host_, parent));
    dialog_->fields().load(doc.image(), doc.shift());
    dialog_->showFields();
    dialog_->refreshMarks();
    const auto& pages = host_.dialogMemory().tabPage;
    if (const auto it = pages.find(key(table_)); it != pages.end())
        dialog_->pages()->setCurrentIndex(it->second);
    DialogMemory& mem = host_.dialogMemory();
    if (!mem.pressButton.isEmpty()) {
        if (auto* b = dialog_->findChild<QAbstractButton*>(mem.pressButton)) {
            b->setFocus();
            // Pressed once the dialog's own loop runs, as the user would press it.
            QTimer::singleShot(0, b, &QAbstractButton::click);
        }
        mem.pressButton.clear();
    } else if (!mem.focusControl.isEmpty()) {
        if (auto* w = dialog_->findChild<QWidget*>(mem.focusControl)) w->setFocus();
        mem.focusControl.clear();
    }
    place();
}

// At the place the last settings dialog was closed, else centred over the main window;
// then kept inside the screen's work area.
void SettingsSession::place() {
    dialog_->fixSizeOverPages();
    const DialogMemory& mem = host_.dialogMemory();
    QWidget* over = host_.hostWindow();
    // Not yet shown, the dialog has no frame: the main window's stands in for it, so that
    // the whole title bar is kept inside the work area.
    QSize size = dialog_->frameGeometry().size();
    if (over && !dialog_->isVisible())
        size += over->frameGeometry().size() - over->geometry().size();
    const QRect area = workArea(over);
    const QPoint at = mem.closedOnce ? clampToArea(mem.position, size, area)
                                     : placeOver(over ? over->frameGeometry() : area, size, area);
    moveFrameTo(dialog_.get(), at);
}

void SettingsSession::store() {
    const RomDocument& doc = host_.document();
    stored_.assign(doc.fileBytes().begin(), doc.fileBytes().end());
    dialog_->fields().store(stored_, doc.shift());
}

bool SettingsSession::commit() {
    return !host_.document().commit(stored_, table_.undoSuffix).empty();
}

void SettingsSession::close() {
    if (!dialog_) return;
    DialogMemory& mem = host_.dialogMemory();
    mem.tabPage[key(table_)] = dialog_->pages()->currentIndex();
    mem.closedOnce = true;
    mem.position = dialog_->pos();
    dialog_.reset();
}

bool SettingsSession::finish(bool accepted) {
    bool changed = false;
    if (accepted) {
        store();
        changed = commit();
    }
    close();
    return changed;
}

bool runSettingsDialog(DialogHost& host, const DialogTable& table, DialogFactory factory) {
    SettingsSession session(host, table, std::move(factory));
    session.load();
    const bool accepted = session.dialog()->exec() == QDialog::Accepted;
    return session.finish(accepted);
}

} // namespace qv
