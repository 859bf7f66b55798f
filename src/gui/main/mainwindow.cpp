// The main window's construction, menus, tool bar, button panel, status bar and
// the View commands. File commands live in filecommands.cpp.
#include "gui/main/mainwindow.h"

#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/tables/registry.h"
#include "gui/about/aboutdialog.h"
#include "gui/changes/changeswindow.h"
#include "gui/dialogs/dialogclasses.h"
#include "gui/dialogs/smallwidgets.h"
#include "gui/main/addressbar.h"
#include "gui/main/icons.h"
#include "gui/main/paths.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"
#include "gui/main/testplay.h"
#include "gui/play/playwindow.h"
#include "gui/settings/optionsdialog.h"

namespace qv {

namespace {
// Enabled only while a document is open, besides the settings dialogs' items and buttons.
constexpr const char* kDocumentCommands[] = {"mmmSaveAs",   "mmmReload",       "mmmClose",
                                             "mmmIpsMake",  "mmmExportParams", "mmmImportParams",
                                             "mmmTestPlay", "mmmPlay"};

QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

TForm1::TForm1(const QString& iniPath, const QString& programPath, QWidget* parent)
    : QMainWindow(parent), iniPath_(iniPath), programPath_(programPath) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName.data(), kProductName.size()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    setWindowIcon(programIcon());

    createActions();
    createMenus();
    createToolBar();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    coolBar_ = new QWidget(central);
    coolBar_->setObjectName(QStringLiteral("CoolBar1"));
    auto* bands = new QVBoxLayout(coolBar_);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);
    bands->addWidget(toolBar_);
    addressBar_ = new AddressBar(
        doc_, {[this] { return doc_.isOpen(); }, [this] { return settings_.writeCheck; }},
        coolBar_);
    bands->addWidget(addressBar_);
    column->addWidget(coolBar_);
    createButtonPanel();
    column->addWidget(buttonPanel_);
    setCentralWidget(central);
    createStatusBar();
    // One width whatever is shown or hidden (the menu bar alone would leave a window of
    // no width): the widest part's, at least the design width of 334.
    int width = 334;
    for (QWidget* part : std::initializer_list<QWidget*>{menuBar(), toolBar_, addressBar_,
                                                         buttonPanel_, statusBar()})
        width = std::max(width, part->sizeHint().width());
    central->setMinimumWidth(width);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    timer1_ = new QTimer(this);
    dialogSpares_ = new DialogSpares(*this, this);
    dialogSpares_->startAfterFirstPaint(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);
    applicationActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TForm1::applicationStateChanged);

    // Start-up: every setting read once, then the view and the menus follow them.
    IniFile ini(localPath(iniPath_));
    const bool settingsRead = ini.load();
    settings_ = readSettings(ini);
    applyViewSettings();
    if (settings_.timeCheck) timer1_->start();
    applyMenuImages();
    applyAlwaysOnTop(settings_.top);
    buildEditorMenu(false);
    buildRecentMenus(ini);
    refreshUndoItem();
    DisableDocumentCommands();
    if (iniPath_.isEmpty()) {
        panels_[2]->setText(QStringLiteral("Settings not saved"));
        panels_[2]->setToolTip(QStringLiteral("No home folder was found: the settings are kept "
                                              "in memory until the editor ends."));
    } else if (!settingsRead) {
        // Said once, here: every later write of settings leaves such a file alone. The
        // status panel is narrow, so it names the problem and its tip says the rest.
        std::fprintf(stderr, "quorvane: %s\n", ini.loadError().c_str());
        panels_[2]->setText(QStringLiteral("Settings not read"));
        panels_[2]->setToolTip(QString::fromStdString(ini.loadError()));
    }
    following_ = doc_.subscribe([this](const DocumentEvent& e) { documentChanged(e); });
    // Once the window is up: what an earlier editor's crash left in the temporary folder.
    QTimer::singleShot(0, this, [] { removeStaleTestPlayFiles(); });
}

TForm1::~TForm1() {
    doc_.unsubscribe(following_);
    // They follow the document, which goes before Qt would delete the window's children.
    delete changesWindow_;
    delete playWindow_;
}

QAction* TForm1::action(const char* name, const QString& text, const QKeySequence& key, int image,
                        void (TForm1::*slot)()) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    if (image >= 0) a->setIcon(toolIcon(image));
    if (slot) connect(a, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return a;
}

void TForm1::createActions() {
    action("mmmOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), 0,
           &TForm1::mmmOpenClick);
    action("mmmSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), 1,
           &TForm1::mmmSaveClick);
    action("mmmSaveAs", QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_A), 2,
           nullptr);
    connect(findChild<QAction*>("mmmSaveAs"), &QAction::triggered, this,
            [this] { SaveAsDialog(); });
    action("mmmClose", QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_E), 3,
           &TForm1::mmmCloseClick);
    action("mmmReload", QStringLiteral("&Reload"), QKeySequence(Qt::CTRL | Qt::Key_R), 4,
           &TForm1::mmmReloadClick);
    action("mmmExportParams", QStringLiteral("Expor&t Parameters..."), {}, -1,
           &TForm1::mmmExportParamsClick);
    action("mmmImportParams", QStringLiteral("I&mport Parameters..."), {}, -1,
           &TForm1::mmmImportParamsClick);
    action("mmmChanges", QStringLiteral("&Changed Parameters..."), {}, -1,
           &TForm1::mmmChangesClick);
    action("mmmExit", QStringLiteral("E&xit"), {}, 12, &TForm1::mmmExitClick);
    action("mmmUndo", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), 10,
           &TForm1::mmmUndoClick);
    for (const DialogEntry& e : dialogEntries()) {
        if (!e.inMenu()) continue;
        const QKeySequence key =
            e.shortcut ? QKeySequence(QKeyCombination(Qt::ControlModifier,
                                                      static_cast<Qt::Key>(Qt::Key_0 + e.shortcut)))
                       : QKeySequence();
        QAction* a = action(e.actionName().c_str(), utf8(e.menuCaption), key, -1, nullptr);
        connect(a, &QAction::triggered, this, [this, &e] { runDialog(e); });
        dialogActions_ << a;
    }
    action("mmmAlTop", QStringLiteral("&Always on Top"), QKeySequence(Qt::CTRL | Qt::Key_T), 5,
           &TForm1::mmmAlTopClick);
    action("mmmToolBar", QStringLiteral("&Toolbar"), QKeySequence(Qt::CTRL | Qt::Key_F1), -1,
           &TForm1::mmmToolBarClick);
    action("mmmAdrBar", QStringLiteral("A&ddress Bar"), QKeySequence(Qt::CTRL | Qt::Key_F2), -1,
           &TForm1::mmmAdrBarClick);
    action("mmmButton", QStringLiteral("Standard &Buttons"), QKeySequence(Qt::CTRL | Qt::Key_F3),
           -1, &TForm1::mmmButtonClick);
    action("mmmStBar", QStringLiteral("&Status Bar"), QKeySequence(Qt::CTRL | Qt::Key_F4), -1,
           &TForm1::mmmStBarClick);
    for (const char* n : {"mmmAlTop", "mmmToolBar", "mmmAdrBar", "mmmButton", "mmmStBar"})
        findChild<QAction*>(n)->setCheckable(true);
    const Qt::Key fkeys[] = {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12};
    for (int n = 0; n < 4; ++n) {
        const QByteArray name = "mmmEditor" + QByteArray::number(n + 1);
        editorItems_[n] = action(name.constData(), QStringLiteral("Editor &%1...").arg(n + 1),
                                 QKeySequence(fkeys[n]), -1, nullptr);
        editorItems_[n]->setData(n + 1);
        connect(editorItems_[n], &QAction::triggered, this, [this, n] { startEditor(n + 1); });
    }
    action("mmmIpsOpen", QStringLiteral("Open &IPS File..."), QKeySequence(Qt::Key_F5), 9,
           &TForm1::mmmIpsOpenClick);
    action("mmmIpsMake", QStringLiteral("Create I&PS File..."), QKeySequence(Qt::Key_F6), 8,
           &TForm1::mmmIpsMakeClick);
    action("mmmTestPlay", QStringLiteral("&Test Play"), QKeySequence(Qt::Key_F7), -1,
           &TForm1::mmmTestPlayClick);
    action("mmmPlay", QStringLiteral("&Play"), QKeySequence(Qt::Key_F8), -1, &TForm1::mmmPlayClick);
    findChild<QAction*>("mmmPlay")->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    action("mmmOption", QStringLiteral("Editor &Options..."), QKeySequence(Qt::Key_F4), 7,
           &TForm1::mmmOptionClick);
    action("mmmHelpFinder", QStringLiteral("&Help..."), QKeySequence(Qt::Key_F1), 11, nullptr);
    connect(findChild<QAction*>("mmmHelpFinder"), &QAction::triggered, this,
            [this] { platform().showHelp(this, 0); });
    action("mmmVersion", QStringLiteral("&About..."), {}, -1, &TForm1::mmmVersionClick);
}

void TForm1::createMenus() {
    auto item = [this](const char* n) { return findChild<QAction*>(QString::fromLatin1(n)); };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mmmFile"));
    file->addAction(item("mmmOpen"));
    recentMenu_ = file->addMenu(QStringLiteral("R&ecent"));
    recentMenu_->setObjectName(QStringLiteral("mmmRecentMenu"));
    QAction* placeholder = recentMenu_->addAction(QStringLiteral("Recent Files"));
    placeholder->setObjectName(QStringLiteral("mmmRecent"));
    placeholder->setEnabled(false);
    file->addSeparator();
    for (const char* n : {"mmmSave", "mmmSaveAs", "mmmClose"})
        file->addAction(item(n));
    file->addSeparator();
    file->addAction(item("mmmReload"));
    file->addSeparator();
    file->addAction(item("mmmExportParams"));
    file->addAction(item("mmmImportParams"));
    file->addSeparator();
    file->addAction(item("mmmExit"));
    connect(file, &QMenu::aboutToShow, this, &TForm1::BuildRecentMenus);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mmmEdit"));
    edit->addAction(item("mmmUndo"));
    edit->addSeparator();
    for (QAction* a : dialogActions_)
        edit->addAction(a);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mmmView"));
    view->addAction(item("mmmAlTop"));
    view->addSeparator();
    for (const char* n : {"mmmToolBar", "mmmAdrBar", "mmmButton", "mmmStBar"})
        view->addAction(item(n));
    view->addSeparator();
    view->addAction(item("mmmChanges"));

    toolsMenu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    toolsMenu_->setObjectName(QStringLiteral("mmmTools"));
    for (QAction* a : editorItems_)
        toolsMenu_->addAction(a);
    toolsMenu_->addSeparator();
    toolsMenu_->addAction(item("mmmIpsOpen"));
    toolsMenu_->addAction(item("mmmIpsMake"));
    toolsMenu_->addSeparator();
    toolsMenu_->addAction(item("mmmTestPlay"));
    toolsMenu_->addAction(item("mmmPlay"));
    toolsMenu_->addSeparator();
    toolsMenu_->addAction(item("mmmOption"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mmmHelp"));
    help->addAction(item("mmmHelpFinder"));
    help->addSeparator();
    help->addAction(item("mmmVersion"));
}

void TForm1::createToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto tool = [this](const char* name, const char* actionName, const QString& hint) {
        auto* b = new QToolButton(toolBar_);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(findChild<QAction*>(QString::fromLatin1(actionName)));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFixedSize(24, 24);
        toolBar_->addWidget(b);
        return b;
    };
    QToolButton* open = tool("TbOpen", "mmmOpen", QStringLiteral("Open"));
    popupRecent_ = new QMenu(open);
    popupRecent_->setObjectName(QStringLiteral("PopupRecent"));
    QAction* placeholder = popupRecent_->addAction(QStringLiteral("Recent Files"));
    placeholder->setObjectName(QStringLiteral("PopupRecentPlaceholder"));
    placeholder->setEnabled(false);
    open->setMenu(popupRecent_);
    open->setPopupMode(QToolButton::MenuButtonPopup);
    open->setFixedSize(36, 24);
    connect(popupRecent_, &QMenu::aboutToShow, this, &TForm1::BuildRecentMenus);
    tool("TbSave", "mmmSave", QStringLiteral("Save"));
    tool("TbSaveAs", "mmmSaveAs", QStringLiteral("Save As..."));
    tool("TbClose", "mmmClose", QStringLiteral("Close"));
    tool("TbReload", "mmmReload", QStringLiteral("Reload"));
    toolBar_->addSeparator();
    tool("TbIpsOpen", "mmmIpsOpen", QStringLiteral("Open IPS"));
    tool("TbIpsMake", "mmmIpsMake", QStringLiteral("Create IPS"));
    tool("TbOption", "mmmOption", QStringLiteral("Editor Options"));
    tool("TbPlay", "mmmPlay", QStringLiteral("Play"));
    toolBar_->addSeparator();
    tbAlTop_ = tool("TbAlTop", "mmmAlTop", QStringLiteral("Always On Top"));
    toolBar_->addSeparator();
    tool("TbHelpFinder", "mmmHelpFinder", QStringLiteral("Help"));
    toolBar_->addSeparator();
}

void TForm1::createButtonPanel() {
    buttonPanel_ = new QFrame(this);
    buttonPanel_->setObjectName(QStringLiteral("PnlButton"));
    buttonPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // As many rows of three as the registry has dialogs in the menu: 85 pixels for nine.
    const auto count = std::ranges::count_if(dialogEntries(), &DialogEntry::inMenu);
    const int rows = static_cast<int>((count + 2) / 3);
    buttonPanel_->setFixedHeight(8 + rows * 21 + (rows - 1) * 3 + 8);
    buttonPanel_->setMinimumWidth(334);
    // Three buttons a row, in the Edit menu's order: 97 x 21 with 9 pixels between
    // columns and 3 between rows, 12 from the left and 8 from the top at the design width
    // of 334; a wider window widens the buttons alike, so that no gap opens on the right.
    auto* grid = new QGridLayout(buttonPanel_);
    const int frame = buttonPanel_->frameWidth(); // the margins count from the panel's edge
    grid->setContentsMargins(12 - frame, 8 - frame, 13 - frame, 8 - frame); // 334 = 12+3*97+2*9+13
    grid->setHorizontalSpacing(9);
    grid->setVerticalSpacing(3);
    int n = 0;
    for (const DialogEntry& e : dialogEntries()) {
        if (!e.inMenu()) continue;
        auto* b = new QPushButton(utf8(e.buttonCaption), buttonPanel_);
        b->setObjectName(latin1(e.buttonName()));
        b->setMinimumWidth(97);
        b->setFixedHeight(21);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(b, n / 3, n % 3);
        ++n;
        QAction* a = findChild<QAction*>(latin1(e.actionName()));
        // Each button runs its Edit-menu item's handler.
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        dialogButtons_ << b;
    }
}

void TForm1::createStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StBar1"));
    bar->setSizeGripEnabled(false);
    // Each panel as wide as the longest text it shows (at least its design width), so that
    // the window keeps its width whether a file is open or not.
    const int widths[] = {112, 90, 50};
    const QString longest[] = {QStringLiteral("478 Modifiable Items"),
                               QStringLiteral("41,488 bytes"),
                               QStringLiteral("8888/88/88 88:88:88")};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setObjectName(QStringLiteral("StBar1Panel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int text = panels_[i]->fontMetrics().horizontalAdvance(longest[i]) +
                         2 * panels_[i]->frameWidth() + 6;
        panels_[i]->setFixedWidth(std::max(widths[i], text));
        bar->addWidget(panels_[i], i == 2 ? 1 : 0);
    }
    panels_[0]->setText(QStringLiteral("478 Modifiable Items"));
    setStatusBar(bar);
}

QString TForm1::statusPanel(int i) const {
    return panels_.at(i)->text();
}

void TForm1::applyViewSettings() {
    findChild<QAction*>("mmmToolBar")->setChecked(settings_.toolBar);
    findChild<QAction*>("mmmAdrBar")->setChecked(settings_.address);
    findChild<QAction*>("mmmButton")->setChecked(settings_.button);
    findChild<QAction*>("mmmStBar")->setChecked(settings_.statusBar);
    toolBar_->setVisible(settings_.toolBar);
    addressBar_->setVisible(settings_.address);
    buttonPanel_->setVisible(settings_.button);
    statusBar()->setVisible(settings_.statusBar);
    fitHeight();
}

void TForm1::fitHeight() {
    // The window is exactly as tall as the parts that are shown.
    coolBar_->setVisible(settings_.toolBar || settings_.address);
    // A resize leaves the frame where it is: some window managers read the position that
    // comes with it as the client's, and the window would creep up by its title bar.
    const bool shown = isVisible();
    const QPoint frame = frameGeometry().topLeft();
    if (QLayout* l = layout()) l->activate();
    adjustSize();
    if (shown) move(frame);
}

void TForm1::applyMenuImages() {
    // Only where it changes: each change is announced to every menu and button showing
    // the action.
    for (QAction* a : findChildren<QAction*>())
        if (a->isIconVisibleInMenu() != settings_.menuImage)
            a->setIconVisibleInMenu(settings_.menuImage);
}

void TForm1::applyAlwaysOnTop(bool on) {
    settings_.top = on;
    QAction* a = findChild<QAction*>("mmmAlTop");
    a->setChecked(on);
    a->setIcon(toolIcon(on ? 6 : 5));
    // Changing the flag re-creates the native window: keep it where it is.
    const bool wasVisible = isVisible();
    const QPoint pos = this->pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible) {
        move(pos);
        show();
    }
}

void TForm1::buildEditorMenu(bool afterOptions) {
    for (int n = 0; n < 4; ++n) {
        EditorEntry& e = settings_.editors[n];
        if (afterOptions && e.menu.empty())
            e.menu = defaultEditorCaptionAfterOptions(n + 1).toStdString();
        QAction* a = editorItems_[n];
        const bool has = !e.path.empty();
        a->setEnabled(has);
        a->setVisible(has);
        a->setText(has ? QString::fromStdString(e.menu) : QString());
    }
}

void TForm1::startEditor(int n) {
    const EditorEntry& e = settings_.editors.at(static_cast<std::size_t>(n - 1));
    if (e.path.empty()) return;
    // The editor works on the file as last saved; the file watch notices its changes.
    QStringList args;
    if (doc_.isOpen() && e.passFile && !doc_.fileName().empty())
        args << QFile::decodeName(QByteArray::fromStdString(doc_.fileName()));
    platform().startProgram(QFile::decodeName(QByteArray::fromStdString(e.path)), args);
}

void TForm1::postTopmostReassertion() {
    // Runs once the modal window about to open is showing: with Always on Top on, it
    // is raised so that it does not fall behind the main window.
    QTimer::singleShot(0, this, [this] {
        if (!settings_.top || startup_) return;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->raise();
    });
}

void TForm1::mmmVersionClick() {
    TFormAbout about(this);
    about.FormShow();
    postTopmostReassertion();
    about.exec();
}

void TForm1::mmmOptionClick() {
    postTopmostReassertion();
    runOptionsDialog(this, settings_, iniPath_, optionPages_);
    afterOptions();
}

void TForm1::afterOptions() {
    // Whatever the dialog's result, the window follows the settings as they now are.
    if (settings_.timeCheck)
        timer1_->start();
    else
        timer1_->stop();
    applyMenuImages();
    buildEditorMenu(true);
    BuildRecentMenus();
    UpdateTitle();
    writeAllSettings();
    if (playWindow_) playWindow_->settingsChanged();
}

void TForm1::mmmAlTopClick() {
    applyAlwaysOnTop(!settings_.top);
    writeAllSettings();
}

void TForm1::mmmToolBarClick() {
    settings_.toolBar = !settings_.toolBar;
    applyViewSettings();
    writeAllSettings();
}

void TForm1::mmmAdrBarClick() {
    settings_.address = !settings_.address;
    applyViewSettings();
    writeAllSettings();
}

void TForm1::mmmButtonClick() {
    settings_.button = !settings_.button;
    applyViewSettings();
    QPushButton* mario = dialogButtons_.first();
    if (settings_.button && mario->isEnabled()) mario->setFocus();
    writeAllSettings();
}

void TForm1::mmmStBarClick() {
    settings_.statusBar = !settings_.statusBar;
    applyViewSettings();
    writeAllSettings();
}

void TForm1::writeAllSettings() {
    IniFile ini(localPath(iniPath_));
    ini.load();
    writeSettings(ini, settings_);
    saveSettingsFile(ini);
}

bool TForm1::saveSettingsFile(const IniFile& ini) {
    const WriteResult r = ini.save();
    // A file that could not be read was reported at start and is left alone on
    // purpose; any other failure is said once. The settings stay in effect, and the
    // next change that can be saved saves them all.
    if (!r.ok && ini.loaded() && !settingsFailureSaid_) {
        settingsFailureSaid_ = true;
        platform().warn(this, QStringLiteral("The settings could not be saved to %1.\r\n%2\r\n"
                                             "They are kept until the editor ends, and saved "
                                             "with the next change that can be.")
                                  .arg(iniPath_, QString::fromStdString(r.error)));
    }
    return r.ok;
}

void TForm1::FormShow() {
    applyViewSettings();
    ensurePolished();
    adjustSize();
    const QRect area = workArea(this);
    const QSize size = frameGeometry().size().expandedTo(sizeHint());
    // The saved place is the frame's top-left, exactly as closeEvent saved it; one from
    // which the title bar could not be reached is brought back onto a screen.
    const QPoint at =
        settings_.formPos
            ? keepTitleBarOnScreen(QPoint(settings_.formLeft, settings_.formTop), size)
            : placeOver(area, size, area);
    moveFrameTo(this, at);
    show();
}

void TForm1::EnableDocumentCommands() {
    for (const char* n : kDocumentCommands)
        findChild<QAction*>(QString::fromLatin1(n))->setEnabled(true);
    for (QAction* a : dialogActions_)
        a->setEnabled(true);
    for (QPushButton* b : dialogButtons_)
        b->setEnabled(true);
    addressBar_->documentLoaded();
}

void TForm1::DisableDocumentCommands() {
    for (const char* n : kDocumentCommands)
        findChild<QAction*>(QString::fromLatin1(n))->setEnabled(false);
    findChild<QAction*>("mmmSave")->setEnabled(false);
    for (QAction* a : dialogActions_)
        a->setEnabled(false);
    for (QPushButton* b : dialogButtons_)
        b->setEnabled(false);
    addressBar_->documentClosed();
}

void TForm1::refreshUndoItem() {
    QAction* undo = findChild<QAction*>("mmmUndo");
    undo->setEnabled(doc_.undoAvailable());
    undo->setText(QString::fromStdString(doc_.undoCaption()));
}

void TForm1::UpdateTitle() {
    const QString title = QString::fromStdString(doc_.title(settings_.fullPath));
    setWindowTitle(title);
    findChild<QAction*>("mmmSave")->setEnabled(doc_.isOpen() &&
                                               (doc_.modified() || settings_.saveEnabled));
    panels_[1]->setText(QString::fromStdString(doc_.sizeText()));
}

void TForm1::documentChanged(const DocumentEvent& event) {
    switch (event.change) {
    case DocumentChange::Loaded:
        refreshUndoItem();
        EnableDocumentCommands();
        UpdateTitle();
        updateStampPanel();
        break;
    case DocumentChange::Edited:
    case DocumentChange::Undone:
        refreshUndoItem();
        UpdateTitle();
        addressBar_->refreshValue();
        break;
    case DocumentChange::Saved:
        UpdateTitle();
        updateStampPanel();
        break;
    case DocumentChange::Closed:
        UpdateTitle();
        panels_[2]->clear();
        DisableDocumentCommands();
        refreshUndoItem();
        break;
    }
}

} // namespace qv
