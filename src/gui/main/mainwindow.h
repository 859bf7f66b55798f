#pragma once
// The editor's one main window: menus, tool bar, address bar, the button panel
// that opens the settings dialogs, and the status bar. It owns the document and
// the settings for the whole run.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

#include "core/document.h"
#include "core/ini.h"
#include "core/settings.h"
#include "gui/changes/changeswindow.h"
#include "gui/dialogs/dialoghost.h"
#include "gui/ips/ipscommon.h"
#include "gui/settings/optionsdialog.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

namespace qv {

class AddressBar;
class DialogSpares;
struct DialogEntry;
class PlayWindow;
class TestPlayFiles;

class TForm1 : public QMainWindow, public DialogHost, public IpsHost {
    Q_OBJECT
  public:
    // `iniPath` names the settings file; `programPath` is started for new instances.
    explicit TForm1(const QString& iniPath, const QString& programPath, QWidget* parent = nullptr);
    ~TForm1() override;

    // The command line: the first argument is opened, every further one goes to a
    // new instance. Returns whether the window should be shown (false: quit).
    bool handleCommandLine(const QStringList& args);
    // Shows the window as at start-up: view parts, position, drop target.
    void FormShow();

    // File commands (also reachable through the menus).
    void mmmOpenClick();
    void mmmSaveClick();
    bool SaveAsDialog();
    void mmmCloseClick();
    void mmmExitClick();
    void openRecent(int n);
    void mmmUndoClick();
    void mmmReloadClick();
    // An Edit menu item or its button: the registered dialog on the open document.
    void runDialog(const DialogEntry& entry);
    void startEditor(int n);
    void mmmOptionClick();
    void mmmVersionClick();
    // Tools > Open IPS File and Create IPS File; ApplyIpsFile also serves dropped
    // patches and the command line (`startup`).
    void mmmIpsOpenClick();
    void mmmIpsMakeClick();
    bool ApplyIpsFile(const QString& path, bool startup);
    // Tools > Test Play: the current image, unsaved edits included, in an emulator.
    void mmmTestPlayClick();
    // Tools > Play: the game inside the editor, on this document (one window).
    void mmmPlayClick();
    PlayWindow* playWindow() const;
    // What follows the Editor Options dialog, whatever its result.
    void afterOptions(); // Tools > editor n (1 to 4)
    // File > Export / Import Parameters (presets), View > Changed Parameters, and the
    // Changed Parameters window's request to edit one parameter in its dialog.
    void mmmExportParamsClick();
    void mmmImportParamsClick();
    void mmmChangesClick();
    void openParameter(const ItemRow& row);
    ChangedParametersWindow* changesWindow() const { return changesWindow_; }
    void mmmAlTopClick();
    void mmmToolBarClick();
    void mmmAdrBarClick();
    void mmmButtonClick();
    void mmmStBarClick();
    void handleDroppedFiles(const QStringList& paths);
    // The outside-change check, run when the application becomes active again.
    void applicationStateChanged(Qt::ApplicationState state);
    void Timer1Timer();

    void LoadNesFile(const QString& path);
    // Returns false when the write failed (already reported).
    bool WriteNesFile();
    void UpdateTitle();
    void UpdateFileStamp();
    // The recent-file items, from the settings file as it now is.
    void BuildRecentMenus();
    // Puts the open file first in the list, and the menus follow.
    void AddRecentFile();

    const Settings& settings() const { return settings_; }
    Settings& settings() override { return settings_; }
    void writeAllSettings() override;
    // Before every modal window: keeps it above an always-on-top main window.
    void postTopmostReassertion();
    QString statusPanel(int i) const;
    QMenu* recentMenu() const { return recentMenu_; }
    QMenu* recentPopup() const { return popupRecent_; }

    // DialogHost
    RomDocument& document() override { return doc_; }
    bool confirmResets() const override { return settings_.reset; }
    int paletteSource() const override { return settings_.paletteSource; }
    DialogMemory& dialogMemory() override { return dialogMemory_; }
    QWidget* hostWindow() override { return this; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildRecentMenus(const IniFile& ini);
    // Saves the settings file; a failure is reported once a run. False when not saved.
    bool saveSettingsFile(const IniFile& ini);
    // The window follows the document's announcements.
    void documentChanged(const DocumentEvent& event);
    void createActions();
    void createMenus();
    void createToolBar();
    void createButtonPanel();
    void createStatusBar();
    QAction* action(const char* name, const QString& text, const QKeySequence& key, int image,
                    void (TForm1::*slot)());
    void applyViewSettings();
    void applyMenuImages();
    void applyAlwaysOnTop(bool on);
    void buildEditorMenu(bool afterOptions);
    void fitHeight();
    void EnableDocumentCommands();
    void DisableDocumentCommands();
    void refreshUndoItem();
    // Asks `question` when needed and saves on Yes; false means: stop the command.
    bool saveIfWanted(const QString& question);
    bool writeOrSaveAs();
    void afterSave();
    void openFirstArgument(const QString& path, bool startup);
    void startInstance(const QString& path);
    void showWrongFormat();
    void updateStampPanel();
    // IpsHost
    void runOptions() override { mmmOptionClick(); }
    bool saveDocument() override { return writeOrSaveAs(); }
    void documentReplaced() override;
    void beforeModal() override { postTopmostReassertion(); }

    QString iniPath_;
    QString programPath_;
    RomDocument doc_;
    int following_ = 0; // the window's subscription to the document
    Settings settings_;
    DialogMemory dialogMemory_;
    DialogSpares* dialogSpares_ = nullptr; // the Edit menu's dialogs, built ahead
    OptionPages optionPages_;
    bool startup_ = false;
    bool activationChecked_ = true; // the check waits for the next activation
    bool applicationActive_ = false;
    bool fileNameUsed_ = false; // an Open or Save dialog has had a file name this run
    bool settingsFailureSaid_ = false;
    QString lastIpsPath_; // the patch last chosen in Open IPS File this run
    std::unique_ptr<TestPlayFiles> testPlayFiles_; // removed when the editor exits

    QToolBar* toolBar_ = nullptr;
    QWidget* coolBar_ = nullptr;
    AddressBar* addressBar_ = nullptr;
    QFrame* buttonPanel_ = nullptr;
    std::array<QLabel*, 3> panels_{};
    QMenu* recentMenu_ = nullptr;
    QMenu* popupRecent_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QToolButton* tbAlTop_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::array<QAction*, 4> editorItems_{};
    QList<QAction*> recentItems_;
    QList<QAction*> dialogActions_; // the registered dialogs' Edit menu items
    QList<QPushButton*> dialogButtons_;
    QPointer<ChangedParametersWindow> changesWindow_;
    QPointer<PlayWindow> playWindow_;
};

} // namespace qv
