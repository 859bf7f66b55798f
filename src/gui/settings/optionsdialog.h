#pragma once
// Editor Options: confirmations, general behaviour, the recent-list size, the
// palette colour source, the two base NES files of the IPS functions and the four
// external editors. The dialog only edits a copy of the settings; the main window
// applies and writes them afterwards, whatever the result.
#include <QString>
#include <array>

#include "core/settings.h"
#include "gui/main/filedropdialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace qv {

class SpinButtons;
class PlayOptionsPage;

// The active pages of Page1 and PageEditor, remembered by the main window for the run.
struct OptionPages {
    int page = 0;
    int editorPage = 0;
};

// Copies the settings into the dialog, shows it modally and, on OK, copies the
// controls back. Returns true on OK. `iniPath` is the settings file whose recent
// keys "Delete History" clears at once (Cancel does not bring them back). `pages`
// selects the pages shown and receives the pages active at the end.
bool runOptionsDialog(QWidget* parent, Settings& settings, const QString& iniPath,
                      OptionPages& pages);

// The caption an editor gets after the dialog when its caption was left empty:
// "Start Editor2(&2)..." (no blanks, unlike the start-up default).
QString defaultEditorCaptionAfterOptions(int n);

// A menu caption as rich text the way a menu draws it: "&1" as an underlined 1, "&&" as &.
QString menuCaptionHtml(const QString& caption);

class TFormOption : public FileDropDialog {
    Q_OBJECT
  public:
    // Where a dropped file goes: the 40,976- and 41,488-byte panels, editor page n.
    enum DropTarget { NoTarget = 0, TargetNes1 = 1, TargetNes2 = 2, TargetEditor1 = 11 };
    static constexpr int kDefaultMaxRecent = 8;
    static constexpr int kMaxRecentLimit = 32;

    explicit TFormOption(const QString& iniPath, QWidget* parent = nullptr);

    // Settings -> controls, and back. store() leaves the keys the dialog does not
    // show as they are.
    void load(const Settings& s);
    void store(Settings& s) const;
    void setPages(const OptionPages& pages);
    OptionPages pages() const;

    // Before showing: size, place over the owner, enable "Delete History".
    void FormShow();
    // The check run when OK is pressed; false keeps the dialog open.
    bool FormCloseQuery();

    void BtnEdClick(int n); // n = 1 to 4
    void BtnHistDelClick();
    void UdRecentClick(bool up);
    void BtnHelpClick();

    // A file dropped on `target` (a DropTarget, or 10 + n for editor page n).
    void dropFile(const QString& path, int target);
    // The target under `pos` (dialog coordinates).
    int dropTargetAt(const QPoint& pos) const;

    // OK runs FormCloseQuery first.
    void accept() override;

  protected:
    void fileDropped(const QString& path, const QPoint& at) override;

  private:
    struct EditorControls {
        QWidget* page = nullptr;
        QLineEdit* path = nullptr; // EditEd n
        QPushButton* browse = nullptr;
        QCheckBox* passFile = nullptr; // ChkEd n
        QLineEdit* menu = nullptr;     // EditMn n
    };

    // Construction, one function per page.
    QWidget* buildConfirmationPage();
    QWidget* buildGeneral1Page();
    QWidget* buildGeneral2Page();
    QWidget* buildIpsPage();
    QWidget* buildEditorsPage();
    QWidget* buildNesPanel(int i, const QString& label, int help);
    QWidget* buildEditorPage(int n);
    QCheckBox* check(QWidget* parent, const char* name, const QString& caption, int help);

    void browseNes(int i);

    QString iniPath_;
    QTabWidget* page1_ = nullptr;
    QTabWidget* pageEditor_ = nullptr;

    QCheckBox* chkSaveChk_ = nullptr;
    QCheckBox* chkReloadChk_ = nullptr;
    QCheckBox* chkUndoChk_ = nullptr;
    QCheckBox* chkResetChk_ = nullptr;
    QCheckBox* chkAdrsWrtChk_ = nullptr;
    QCheckBox* chkIpsIdentity_ = nullptr;
    QCheckBox* chkIpsMaking_ = nullptr;
    QCheckBox* chkFormPos_ = nullptr;
    QCheckBox* chkAlTopOff_ = nullptr;
    QCheckBox* chkSaveEnabled_ = nullptr;
    QCheckBox* chkFullPath_ = nullptr;
    QCheckBox* chkBackup_ = nullptr;
    QCheckBox* chkTimeCheck_ = nullptr;
    QCheckBox* chkMenuImg_ = nullptr;

    QLineEdit* editRecent_ = nullptr;
    SpinButtons* udRecent_ = nullptr;
    int udRecentPosition_ = kDefaultMaxRecent;
    QPushButton* btnHistDel_ = nullptr;
    QComboBox* cmbPallet_ = nullptr;

    std::array<QWidget*, 2> nesPanels_{};
    std::array<QLineEdit*, 2> editNes_{};
    std::array<EditorControls, 4> editors_{};
    QLineEdit* editEmulator_ = nullptr; // Test Play's command
    PlayOptionsPage* playPage_ = nullptr;

    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnHelp_ = nullptr;
};

} // namespace qv
