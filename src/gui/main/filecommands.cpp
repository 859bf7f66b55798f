// The main window's file commands: open, recent files, save, close, exit, the
// command line, dropped files, undo, reload and the outside-change check.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "core/filestamp.h"
#include "core/recent.h"
#include "gui/main/addressbar.h"
#include "gui/main/mainwindow.h"
#include "gui/main/paths.h"
#include "gui/main/platform.h"

namespace qv {

namespace {
const QString kNesFilter = QStringLiteral("NES File (*.nes)|*.nes");
const QString kSaveBeforeOpen = QStringLiteral(
    "The file has been modified.\r\nDo you want to save changes before opening a new file?");

} // namespace

void TForm1::LoadNesFile(const QString& path) {
    const LoadStatus status = doc_.load(localPath(path));
    if (status != LoadStatus::Ok) {
        platform().warn(this, QString::fromUtf8(loadMessage(status).data(),
                                                static_cast<int>(loadMessage(status).size())));
        return;
    }
    fileNameUsed_ = true; // the window has followed the load already
    AddRecentFile();
    if (isVisible() && buttonPanel_->isVisible()) dialogButtons_.first()->setFocus();
}

void TForm1::updateStampPanel() {
    // The stamp keeps its old value when the file cannot be read; the panel empties.
    panels_[2]->setText(
        doc_.updateFileStamp() ? QString::fromStdString(formatStamp(doc_.fileStamp())) : QString());
}

void TForm1::UpdateFileStamp() {
    updateStampPanel();
}

bool TForm1::WriteNesFile() {
    SaveResult r = doc_.write(settings_.backup);
    if (r.changedOnDisk) {
        // Another program's change is never overwritten without a word.
        const QString path = fromLocalPath(doc_.fileName());
        switch (platform().ask(
            this,
            QStringLiteral("The file %1 has been changed by another program since it was opened "
                           "or saved.\r\nYes: replace it with this version\r\nNo: reload it, "
                           "discarding your changes\r\nCancel: leave both as they are")
                .arg(path),
            Buttons::YesNoCancel)) {
        case Answer::Yes:
            r = doc_.write(settings_.backup, true);
            break;
        case Answer::No:
            LoadNesFile(path);
            return false;
        default:
            return false;
        }
    }
    if (!r.ok) {
        platform().error(this, QString::fromStdString(r.error));
        return false;
    }
    return true;
}

void TForm1::afterSave() {
    doc_.markSaved();
    AddRecentFile();
}

void TForm1::AddRecentFile() {
    IniFile ini(localPath(iniPath_));
    ini.load();
    addRecent(ini, doc_.fileName(), settings_.maxRecent);
    // The menus show the list the file holds: read again only when it was not written.
    if (saveSettingsFile(ini))
        buildRecentMenus(ini);
    else
        BuildRecentMenus();
}

void TForm1::BuildRecentMenus() {
    IniFile ini(localPath(iniPath_));
    ini.load();
    buildRecentMenus(ini);
}

void TForm1::buildRecentMenus(const IniFile& ini) {
    const std::vector<std::string> list = readRecent(ini, settings_.maxRecent);
    for (QAction* a : std::as_const(recentItems_)) {
        recentMenu_->removeAction(a);
        popupRecent_->removeAction(a);
        a->deleteLater();
    }
    recentItems_.clear();
    const QList<QAction*> popupBase = popupRecent_->actions();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        // A "&" in a path is shown as itself, not as a mnemonic.
        const QString caption = QString::fromStdString(
            recentCaption(n, QString::fromStdString(list[i]).replace('&', "&&").toStdString()));
        for (QMenu* menu : {recentMenu_, popupRecent_}) {
            auto* a = new QAction(caption, menu);
            a->setObjectName(QStringLiteral("Recent%1").arg(n));
            a->setData(n);
            a->setIconVisibleInMenu(false);
            connect(a, &QAction::triggered, this, [this, n] { openRecent(n); });
            menu->addAction(a);
            recentItems_ << a;
        }
    }
    const bool showPlaceholder = list.empty() && settings_.maxRecent > 0;
    findChild<QAction*>("mmmRecent")->setVisible(showPlaceholder);
    findChild<QAction*>("PopupRecentPlaceholder")->setVisible(showPlaceholder);
}

void TForm1::openRecent(int n) {
    IniFile ini(localPath(iniPath_));
    ini.load();
    const std::vector<std::string> list = readRecent(ini, settings_.maxRecent);
    if (n < 1 || n > static_cast<int>(list.size())) return;
    const QString path = fromLocalPath(list[static_cast<std::size_t>(n - 1)]);
    if (doc_.modified() && !saveIfWanted(kSaveBeforeOpen)) return;
    LoadNesFile(path);
}

bool TForm1::writeOrSaveAs() {
    if (doc_.fileOnDisk()) {
        if (!WriteNesFile()) return false;
        afterSave();
        return true;
    }
    return SaveAsDialog();
}

bool TForm1::saveIfWanted(const QString& question) {
    switch (platform().ask(this, question, Buttons::YesNoCancel)) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return writeOrSaveAs();
    default:
        return true;
    }
}

void TForm1::mmmOpenClick() {
    QString folder;
    if (fileNameUsed_ || !doc_.fileName().empty()) {
        folder = QFileInfo(fromLocalPath(doc_.fileName())).absolutePath();
    } else {
        BuildRecentMenus();
        IniFile ini(localPath(iniPath_));
        ini.load();
        const auto list = readRecent(ini, settings_.maxRecent);
        folder =
            list.empty() ? programFolder() : QFileInfo(fromLocalPath(list.front())).absolutePath();
    }
    postTopmostReassertion();
    const QString chosen = platform().openFile(this, QStringLiteral("Open"),
                                               folder + QStringLiteral("/*.nes"), kNesFilter);
    if (chosen.isEmpty()) return;
    if (doc_.modified() && !saveIfWanted(kSaveBeforeOpen)) return;
    LoadNesFile(chosen);
}

void TForm1::mmmSaveClick() {
    if (!doc_.isOpen()) return;
    if (!doc_.fileOnDisk()) {
        SaveAsDialog();
        return;
    }
    if (settings_.save &&
        platform().ask(this, QStringLiteral("Overwrite the file?"), Buttons::YesNo) != Answer::Yes)
        return;
    if (WriteNesFile()) afterSave();
}

bool TForm1::SaveAsDialog() {
    if (!doc_.isOpen()) return false;
    postTopmostReassertion();
    const QString chosen =
        platform().saveFile(this, QStringLiteral("Save As"), fromLocalPath(doc_.fileName()),
                            kNesFilter, QStringLiteral("nes"));
    if (chosen.isEmpty()) return false;
    const std::string previous = doc_.fileName();
    doc_.setFileName(localPath(chosen));
    fileNameUsed_ = true;
    if (!WriteNesFile()) {
        doc_.setFileName(previous); // a failed write leaves the document as it was
        return false;
    }
    afterSave();
    return true;
}

void TForm1::mmmCloseClick() {
    if (!doc_.isOpen()) return;
    // A document without its file (a patch opened without saving, a deleted file)
    // gets its own question, whether or not it was edited since.
    if (!doc_.fileOnDisk()) {
        if (!saveIfWanted(QStringLiteral(
                "The current file has been modified.\r\nSave changes before closing?")))
            return;
    } else if (doc_.modified()) {
        if (!saveIfWanted(
                QStringLiteral("The file has been modified.\r\nSave changes before closing?")))
            return;
    }
    doc_.close();
}

void TForm1::mmmExitClick() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool proceed = true;
    if (doc_.modified()) {
        proceed = saveIfWanted(
            QStringLiteral("The file has been modified.\r\nSave changes before exiting?"));
    } else if (doc_.isOpen() && !doc_.fileOnDisk()) {
        proceed = saveIfWanted(
            QStringLiteral("The file has not been saved.\r\nSave changes before exiting?"));
    }
    // The position is kept even when the exit is cancelled.
    IniFile ini(localPath(iniPath_));
    ini.load();
    writeWindowPosition(ini, frameGeometry().top(), frameGeometry().left());
    saveSettingsFile(ini);
    settings_.formTop = frameGeometry().top();
    settings_.formLeft = frameGeometry().left();
    if (proceed) {
        timer1_->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::showWrongFormat() {
    platform().warn(this, QStringLiteral("The specified file is in the wrong format."));
}

void TForm1::startInstance(const QString& path) {
    platform().startProgram(programPath_, {path});
}

void TForm1::openFirstArgument(const QString& path, bool startup) {
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QStringLiteral("NES")) {
        LoadNesFile(path);
    } else if (ext == QStringLiteral("IPS")) {
        ApplyIpsFile(path, startup);
    } else {
        showWrongFormat();
    }
}

bool TForm1::handleCommandLine(const QStringList& args) {
    startup_ = true;
    if (args.isEmpty()) {
        startup_ = false;
        return true;
    }
    for (int i = 1; i < args.size(); ++i)
        startInstance(args[i]);
    openFirstArgument(ResolveShortcut(ExpandLongPath(args.first())), true);
    if (doc_.isOpen()) startup_ = false;
    return !startup_;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    event->acceptProposedAction();
    handleDroppedFiles(paths);
}

void TForm1::handleDroppedFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    for (int i = 1; i < paths.size(); ++i)
        startInstance(ResolveShortcut(paths[i]));
    raise();
    activateWindow();
    const QString path = ResolveShortcut(ExpandLongPath(paths.first()));
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QStringLiteral("NES")) {
        if (doc_.modified()) {
            if (!saveIfWanted(kSaveBeforeOpen)) return;
        } else if (doc_.isOpen() && !doc_.fileOnDisk()) {
            if (!saveIfWanted(QStringLiteral("The file has not been saved.\r\nDo you want to save "
                                             "changes before opening a new file?")))
                return;
        }
        LoadNesFile(path);
    } else if (ext == QStringLiteral("IPS")) {
        ApplyIpsFile(path, false);
    } else {
        showWrongFormat();
    }
}

void TForm1::applicationStateChanged(Qt::ApplicationState state) {
    applicationActive_ = state == Qt::ApplicationActive;
    Timer1Timer();
}

void TForm1::Timer1Timer() {
    // The check is made once each time the application becomes active again.
    if (!applicationActive_) {
        activationChecked_ = false;
        return;
    }
    if (!settings_.timeCheck || activationChecked_ || !doc_.isOpen()) return;
    const auto unchanged = doc_.fileUnchanged();
    if (!unchanged) return; // tried again on the next tick
    activationChecked_ = true;
    if (*unchanged) return;
    timer1_->stop();
    const Answer a = platform().ask(
        this,
        QStringLiteral(
            "The file has been modified by another program.\r\nDo you want to reload it?"),
        Buttons::YesNo);
    if (settings_.timeCheck) timer1_->start();
    if (a == Answer::Yes) LoadNesFile(fromLocalPath(doc_.fileName()));
}

void TForm1::mmmUndoClick() {
    if (!doc_.undoAvailable()) return;
    if (settings_.undoCheck &&
        platform().ask(this, QStringLiteral("Undo changes?"), Buttons::YesNo) != Answer::Yes)
        return;
    doc_.undo();
}

void TForm1::mmmReloadClick() {
    if (!doc_.isOpen()) return;
    if (!doc_.fileOnDisk()) {
        platform().warn(this, QStringLiteral("Original file cannot be found."));
        panels_[2]->setText(QStringLiteral("Edited"));
        return;
    }
    if (doc_.modified()) {
        if (platform().ask(
                this, QStringLiteral("The file has been modified.\r\nDiscard changes and reload?"),
                Buttons::YesNo) != Answer::Yes)
            return;
    } else if (settings_.reload) {
        if (platform().ask(this, QStringLiteral("Reload the current file from disk?"),
                           Buttons::YesNo) != Answer::Yes)
            return;
    }
    LoadNesFile(fromLocalPath(doc_.fileName()));
}

} // namespace qv
