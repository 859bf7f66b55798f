// Parameters as a whole: File > Export / Import Parameters (presets) and View >
// Changed Parameters. The work is in core; this is the window's side of it.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>

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
    if (!r.ok)
        platform().error(
            this, QStringLiteral("Cannot write the file %1.\r\n%2").arg(path, utf8(r.error)));
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
    // Whatever the file holds, the editor and its unsaved work carry on: a preset that
    // cannot be taken is refused with a message, never by ending the program. The
    // whole preset is one edit: one Undo takes it back.
    try {
        const PresetPlan plan = planPreset(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
            doc_.fileBytes());
        error = plan.error;
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
}

void TForm1::mmmChangesClick() {
    if (!changesWindow_) {
        changesWindow_ = new ChangedParametersWindow(doc_, this);
        connect(changesWindow_, &ChangedParametersWindow::openRequested, this,
                [this](const ItemRow& row) { openParameter(row); });
        // Its frame will be as thick as ours.
        const QSize frame = changesWindow_->size() + (frameGeometry().size() - size());
        moveFrameTo(changesWindow_, placeBeside(frameGeometry(), frame, workArea(this)));
    }
    changesWindow_->show();
    changesWindow_->raise();
    changesWindow_->activateWindow();
}

void TForm1::openParameter(const ItemRow& row) {
    if (!doc_.isOpen()) return;
    // A sub-dialog's items are edited through the dialog that opens it.
    const DialogTable* table = row.table;
    for (const DialogTable* t : dialogTables())
        for (const DialogTable* sub : t->subDialogs)
            if (sub == row.table) table = t;
    QAction* open = dialogAction(this, *table);
    if (!open) return;
    if (table == row.table) {
        int page = 0;
        for (std::size_t i = 0; i < table->pages.size(); ++i)
            if (&table->pages[i] == row.page) page = static_cast<int>(i);
        dialogMemory().tabPage[utf8(table->className)] = page;
        dialogMemory().focusControl = utf8(row.item->control);
    }
    open->trigger();
}

} // namespace qv
