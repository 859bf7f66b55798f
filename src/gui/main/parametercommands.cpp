// Parameters as a whole: File > Export / Import Parameters (presets) and View >
// Changed Parameters. The work is in core; this is the window's side of it.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>

#include "core/changes.h"
#include "core/fileio.h"
#include "core/itemtext.h"
#include "core/preset.h"
#include "gui/changes/changeswindow.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/main/addressbar.h"
#include "gui/main/mainwindow.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

const QString kPresetFilter = QStringLiteral("Parameter presets (*.json);;All files (*)");
constexpr std::string_view kImportSuffix = "Import Parameters";
// How long the status bar says what Export or Import did.
constexpr int kStatusMessageTime = 8000;

// The Edit menu item that opens a dialog: its caption, without "&" and "...".
QAction* dialogAction(QWidget* window, const DialogTable& table) {
    for (QAction* a : window->findChildren<QAction*>()) {
        std::string text = stripMnemonic(a->text().toStdString());
        if (text.ends_with("...")) text.resize(text.size() - 3);
        if (text == table.caption && a->objectName().startsWith(QLatin1String("mmm"))) return a;
    }
    return nullptr;
}

} // namespace

void TForm1::mmmExportParamsClick() {
    if (!doc_.isOpen()) return;
    postTopmostReassertion();
    const QFileInfo source(QFile::decodeName(QByteArray::fromStdString(doc_.fileName())));
    const QString path = platform().saveFile(
        this, QStringLiteral("Export Parameters"),
        source.dir().filePath(source.completeBaseName() + QStringLiteral(".json")), kPresetFilter,
        QStringLiteral("json"));
    if (path.isEmpty()) return;
    const std::string text = exportPreset(doc_.fileBytes(), source.fileName().toStdString(), false);
    const WriteResult r =
        writeFileAtomic(QFile::encodeName(path).toStdString(),
                        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!r.ok) {
        platform().error(
            this, QStringLiteral("Cannot write the file %1.\r\n%2").arg(path, utf8(r.error)));
        return;
    }
    const int n = changedParameters(doc_.image(), doc_.shift()).count();
    statusBar()->showMessage(
        QStringLiteral("Exported %1 %2 to %3")
            .arg(n)
            .arg(n == 1 ? QStringLiteral("parameter") : QStringLiteral("parameters"))
            .arg(QFileInfo(path).fileName()),
        kStatusMessageTime);
}

void TForm1::mmmImportParamsClick() {
    if (!doc_.isOpen()) return;
    postTopmostReassertion();
    const QString path = platform().openFile(this, QStringLiteral("Import Parameters"),
                                             QStringLiteral("*.json"), kPresetFilter);
    if (path.isEmpty()) return;
    // A preset names at most every parameter once; anything much larger is not one.
    constexpr std::uintmax_t kLimit = 16u << 20;
    const std::string local = QFile::encodeName(path).toStdString();
    if (const auto size = readableFileSize(local); size && *size > kLimit) {
        platform().warn(this, QStringLiteral("The file is too large (limit 16 MiB):\r\n") + path);
        return;
    }
    const auto bytes = readWholeFile(local, kLimit);
    if (!bytes) {
        platform().warn(this, QStringLiteral("The file cannot be read:\r\n") + path);
        return;
    }
    std::string error;
    int n = 0, changed = 0; // the preset's entries, and those that change a value
    // Whatever the file holds, the editor and its unsaved work carry on: a preset that
    // cannot be taken is refused with a message, never by ending the program. The
    // whole preset is one edit: one Undo takes it back.
    try {
        const PresetPlan plan = planPreset(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
            doc_.fileBytes());
        error = plan.error;
        n = static_cast<int>(plan.entries.size());
        changed = static_cast<int>(plan.changes.size());
        if (error.empty()) error = doc_.apply(plan.entries, kImportSuffix);
    } catch (const std::exception& e) {
        error = e.what();
    }
    if (!error.empty()) {
        QString text = utf8(error);
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        platform().warn(this, QStringLiteral("The parameters in %1 were not imported; nothing "
                                             "has changed.\r\n\r\n")
                                      .arg(path) +
                                  text);
        return;
    }
    QString said = QStringLiteral("Imported %1 %2 from %3")
                       .arg(n)
                       .arg(n == 1 ? QStringLiteral("parameter") : QStringLiteral("parameters"))
                       .arg(QFileInfo(path).fileName());
    if (changed != n) said += QStringLiteral(" (%1 changed a value)").arg(changed);
    statusBar()->showMessage(said, kStatusMessageTime);
}

void TForm1::mmmChangesClick() {
    if (!changesWindow_) {
        changesWindow_ = new ChangedParametersWindow(
            doc_, [this] { return settings_.paletteSource; }, this);
        connect(changesWindow_, &ChangedParametersWindow::openRequested, this,
                [this](const ItemRow& row) { openParameter(row); });
        // Ctrl+1 to Ctrl+9 open the dialogs from the list as from the main window.
        changesWindow_->addActions(dialogActions_);
        // Beside the main window, narrowed to the room there rather than over it; its
        // frame will be as thick as ours.
        const QSize border = frameGeometry().size() - size();
        const QRect frame = frameBeside(frameGeometry(), changesWindow_->size() + border,
                                        QSize(360, 200) + border, workArea(this));
        changesWindow_->resize(frame.size() - border);
        moveFrameTo(changesWindow_, frame.topLeft());
    }
    changesWindow_->show();
    changesWindow_->raise();
    changesWindow_->activateWindow();
}

void TForm1::openParameter(const ItemRow& row) {
    if (!doc_.isOpen()) return;
    // A sub-dialog's items are edited through the dialog that opens it: that dialog
    // opens on the page of the sub-dialog's button and presses it.
    const DialogTable* table = row.table;
    const Page* page = row.page;
    QString press;
    for (const DialogTable* t : dialogTables())
        for (const Page& p : t->pages)
            for (const Group& g : p.groups)
                for (const GroupButton& b : g.buttons)
                    if (b.opens == row.table->className) {
                        table = t;
                        page = &p;
                        press = utf8(b.control);
                    }
    QAction* open = dialogAction(this, *table);
    if (!open || !open->isEnabled()) return;
    int index = 0;
    for (std::size_t i = 0; i < table->pages.size(); ++i)
        if (&table->pages[i] == page) index = static_cast<int>(i);
    dialogMemory().tabPage[utf8(table->className)] = index;
    dialogMemory().focusControl = utf8(row.item->control);
    dialogMemory().pressButton = press;
    open->trigger();
}

} // namespace qv
