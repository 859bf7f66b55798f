// Behaviour of the Editor Options dialog: settings in and out, the base-file
// check at OK, browse buttons, dropped files, "Delete History" and context help.
#include "gui/settings/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include "core/fileio.h"
#include "core/ini.h"
#include "core/recent.h"
#include "gui/main/addressbar.h"
#include "gui/main/helpcontext.h"
#include "gui/main/paths.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"
#include "gui/settings/playpage.h"

namespace qv {

namespace {

const QString kOpen1Filter = QStringLiteral("Applications (*.exe)|*.exe|All Files (*.*)|*.*");
const QString kOpen2Filter = QStringLiteral("NES File (*.nes)|*.nes");

struct BaseFile {
    std::uintmax_t size;
    const char* refusal;
};
constexpr BaseFile kBaseFiles[2] = {{40976, "Unable to create NES file (40,976 bytes)."},
                                    {41488, "Unable to create NES file (41,488 bytes)."}};

bool isNesName(const QString& path) {
    return upperExtension(path.toStdString()) == ".NES";
}

bool isBaseFile(const QString& path, std::uintmax_t size) {
    const auto actual = readableFileSize(path.toStdString());
    return isNesName(path) && actual && *actual == size;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

QString defaultEditorCaptionAfterOptions(int n) {
    return QStringLiteral("Start Editor%1(&%1)...").arg(n);
}

void TFormOption::load(const Settings& s) {
    chkSaveChk_->setChecked(s.save);
    chkReloadChk_->setChecked(s.reload);
    chkUndoChk_->setChecked(s.undoCheck);
    chkResetChk_->setChecked(s.reset);
    chkAdrsWrtChk_->setChecked(s.writeCheck);
    chkIpsIdentity_->setChecked(s.ipsIdentity);
    chkIpsMaking_->setChecked(s.ipsMaking);
    chkFormPos_->setChecked(s.formPos);
    chkAlTopOff_->setChecked(s.alTopOff);
    chkSaveEnabled_->setChecked(s.saveEnabled);
    chkFullPath_->setChecked(s.fullPath);
    chkBackup_->setChecked(s.backup);
    chkTimeCheck_->setChecked(s.timeCheck);
    chkMenuImg_->setChecked(s.menuImage);

    udRecentPosition_ = s.maxRecent;
    editRecent_->setText(QString::number(s.maxRecent));
    // Source 3 has no entry: the list then shows none and store() keeps the 3.
    cmbPallet_->setCurrentIndex(
        s.paletteSource >= 0 && s.paletteSource < cmbPallet_->count() ? s.paletteSource : -1);

    for (std::size_t i = 0; i < editNes_.size(); ++i)
        editNes_[i]->setText(q(s.nesFile[i]));
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        editors_[i].path->setText(q(s.editors[i].path));
        editors_[i].passFile->setChecked(s.editors[i].passFile);
        editors_[i].menu->setText(q(s.editors[i].menu));
    }
    editEmulator_->setText(q(s.emulator));
    playPage_->load(s.play);
}

void TFormOption::store(Settings& s) const {
    s.save = chkSaveChk_->isChecked();
    s.reload = chkReloadChk_->isChecked();
    s.undoCheck = chkUndoChk_->isChecked();
    s.reset = chkResetChk_->isChecked();
    s.writeCheck = chkAdrsWrtChk_->isChecked();
    s.ipsIdentity = chkIpsIdentity_->isChecked();
    s.ipsMaking = chkIpsMaking_->isChecked();
    s.formPos = chkFormPos_->isChecked();
    s.alTopOff = chkAlTopOff_->isChecked();
    s.saveEnabled = chkSaveEnabled_->isChecked();
    s.fullPath = chkFullPath_->isChecked();
    s.backup = chkBackup_->isChecked();
    s.timeCheck = chkTimeCheck_->isChecked();
    s.menuImage = chkMenuImg_->isChecked();

    bool ok = false;
    const int recent = editRecent_->text().toInt(&ok);
    s.maxRecent = ok && recent >= 0 && recent <= kMaxRecentLimit ? recent : kDefaultMaxRecent;
    if (cmbPallet_->currentIndex() >= 0) s.paletteSource = cmbPallet_->currentIndex();

    for (std::size_t i = 0; i < editNes_.size(); ++i)
        s.nesFile[i] = editNes_[i]->text().toStdString();
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        s.editors[i].path = editors_[i].path->text().toStdString();
        s.editors[i].passFile = editors_[i].passFile->isChecked();
        s.editors[i].menu = editors_[i].menu->text().toStdString();
    }
    s.emulator = editEmulator_->text().toStdString();
    playPage_->store(s.play);
}

void TFormOption::setPages(const OptionPages& pages) {
    page1_->setCurrentIndex(pages.page);
    pageEditor_->setCurrentIndex(pages.editorPage);
}

OptionPages TFormOption::pages() const {
    return {page1_->currentIndex(), pageEditor_->currentIndex()};
}

void TFormOption::FormShow() {
    ensurePolished();
    adjustSize();
    placeOverOwner(this);
    IniFile ini(iniPath_.toStdString());
    ini.load();
    btnHistDel_->setEnabled(!readRecent(ini, 1).empty());
}

bool TFormOption::FormCloseQuery() {
    for (std::size_t i = 0; i < editNes_.size(); ++i) {
        const QString path = editNes_[i]->text();
        if (!path.isEmpty() && !isBaseFile(path, kBaseFiles[i].size)) {
            platform().warn(this, QString::fromLatin1(kBaseFiles[i].refusal));
            return false;
        }
    }
    return true;
}

void TFormOption::accept() {
    if (FormCloseQuery()) QDialog::accept();
}

void TFormOption::BtnEdClick(int n) {
    if (n < 1 || n > static_cast<int>(editors_.size())) return;
    const EditorControls& e = editors_[static_cast<std::size_t>(n - 1)];
    const QString initial = browseStart(e.path->text(), QStringLiteral("*.exe"));
    const QString chosen = platform().openFile(this, QString(), initial, kOpen1Filter);
    if (chosen.isEmpty()) return;
    e.path->setText(chosen);
    if (e.menu->text().isEmpty()) e.menu->setText(QFileInfo(chosen).fileName());
}

void TFormOption::browseNes(int i) {
    QLineEdit* edit = editNes_[static_cast<std::size_t>(i)];
    const QString initial = browseStart(edit->text(), QStringLiteral("*.nes"));
    // Nothing is checked here: OK checks the file.
    const QString chosen = platform().openFile(this, QString(), initial, kOpen2Filter);
    if (!chosen.isEmpty()) edit->setText(chosen);
}

void TFormOption::BtnHistDelClick() {
    if (platform().ask(this, QStringLiteral("Clear the recently opened file history?"),
                       Buttons::YesNo) != Answer::Yes)
        return;
    // Written at once: the list stays cleared whatever the dialog ends with.
    IniFile ini(iniPath_.toStdString());
    ini.load();
    clearRecent(ini);
    const WriteResult r = ini.save();
    if (!r.ok) {
        platform().error(this, q(r.error));
        return;
    }
    btnHistDel_->setEnabled(false);
}

void TFormOption::UdRecentClick(bool up) {
    // The arrows step on from the number typed, when there is one in range.
    bool ok = false;
    const int typed = editRecent_->text().toInt(&ok);
    if (ok && typed >= 0 && typed <= kMaxRecentLimit) udRecentPosition_ = typed;
    if (up)
        udRecentPosition_ = udRecentPosition_ >= kMaxRecentLimit ? 0 : udRecentPosition_ + 1;
    else
        udRecentPosition_ = udRecentPosition_ <= 0 ? kMaxRecentLimit : udRecentPosition_ - 1;
    editRecent_->setText(QString::number(udRecentPosition_));
    editRecent_->setFocus();
    editRecent_->selectAll();
}

void TFormOption::BtnHelpClick() {
    platform().showHelp(this, 7000);
}

int TFormOption::dropTargetAt(const QPoint& pos) const {
    for (const QWidget* w = childAt(pos); w && w != this; w = w->parentWidget()) {
        for (std::size_t i = 0; i < nesPanels_.size(); ++i)
            if (w == nesPanels_[i]) return TargetNes1 + static_cast<int>(i);
        for (std::size_t i = 0; i < editors_.size(); ++i)
            if (w == editors_[i].page) return TargetEditor1 + static_cast<int>(i);
    }
    return NoTarget;
}

void TFormOption::dropFile(const QString& path, int target) {
    activateWindow();
    raise();
    const QString file = droppedPath(path);
    if (target == TargetNes1 || target == TargetNes2) {
        QLineEdit* edit = editNes_[static_cast<std::size_t>(target - TargetNes1)];
        if (!isNesName(file)) {
            platform().warn(this, QStringLiteral("Only NES files may be used."));
            return;
        }
        edit->setText(file);
        edit->setFocus();
    } else if (target >= TargetEditor1 &&
               target < TargetEditor1 + static_cast<int>(editors_.size())) {
        // An unreadable shortcut gives no path; it must not wipe the one configured.
        if (file.isEmpty()) return;
        const EditorControls& e = editors_[static_cast<std::size_t>(target - TargetEditor1)];
        e.path->setText(file);
        if (e.menu->text().isEmpty()) e.menu->setText(QFileInfo(file).fileName());
    }
}

void TFormOption::fileDropped(const QString& path, const QPoint& at) {
    dropFile(path, dropTargetAt(at));
}

bool runOptionsDialog(QWidget* parent, Settings& settings, const QString& iniPath,
                      OptionPages& pages) {
    TFormOption dialog(iniPath, parent);
    dialog.load(settings);
    dialog.setPages(pages);
    dialog.FormShow();
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok) dialog.store(settings);
    pages = dialog.pages();
    return ok;
}

} // namespace qv
