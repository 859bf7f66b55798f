// Construction of the Editor Options dialog: its five pages and the buttons.
// The behaviour lives in optionsdialog.cpp.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/main/addressbar.h"
#include "gui/main/glyphs.h"
#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"
#include "gui/settings/optionsdialog.h"
#include "gui/settings/playpage.h"

namespace qv {

namespace {

constexpr int kHelpDialog = 7000;

QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy = nullptr) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QLineEdit* edit(QWidget* parent, const QString& name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    // Paths of any length are kept whole; Qt's own limit is 32,767 characters.
    return e;
}

QPushButton* browseButton(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFixedWidth(28);
    return b;
}

QVBoxLayout* column(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);
    return layout;
}

} // namespace

TFormOption::TFormOption(const QString& iniPath, QWidget* parent)
    : FileDropDialog(parent), iniPath_(iniPath) {
    setObjectName(QStringLiteral("FormOption"));
    setWindowTitle(QStringLiteral("Editor Options"));
    setDialogBorder(this);

    page1_ = new QTabWidget(this);
    page1_->setObjectName(QStringLiteral("Page1"));
    page1_->setMinimumSize(336, 226);
    page1_->setUsesScrollButtons(false); // every page tab stays in sight
    page1_->addTab(buildConfirmationPage(), QStringLiteral("Confirmation"));
    page1_->addTab(buildGeneral1Page(), QStringLiteral("General 1"));
    page1_->addTab(buildGeneral2Page(), QStringLiteral("General 2"));
    page1_->addTab(buildIpsPage(), QStringLiteral("IPS"));
    page1_->addTab(buildEditorsPage(), QStringLiteral("External Editors"));
    playPage_ = new PlayOptionsPage;
    page1_->addTab(playPage_, QStringLiteral("Play"));

    const OkCancelHelp buttons = okCancelHelpRow(this);
    btnOk_ = buttons.ok;
    btnCancel_ = buttons.cancel;
    btnCancel_->setAutoDefault(false); // Enter with Cancel focused still means OK here
    btnHelp_ = buttons.help;
    connect(btnOk_, &QPushButton::clicked, this, &TFormOption::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &TFormOption::reject);
    connect(btnHelp_, &QPushButton::clicked, this, &TFormOption::BtnHelpClick);

    auto* layout = new QVBoxLayout(this);
    // The window is fitted to its contents: 7 pixels right of Page1, 6 below the buttons.
    layout->setContentsMargins(7, 7, 7, 6);
    layout->setSpacing(8);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(page1_);
    layout->addLayout(buttons.row);

    // Files dropped anywhere reach the dialog, which picks the target itself; an
    // edit taking the drop would paste the file's address as text instead.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->setAcceptDrops(false);

    installContextHelp(this, kHelpDialog);
}

QCheckBox* TFormOption::check(QWidget* parent, const char* name, const QString& caption, int help) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    setHelpContext(c, help);
    parent->layout()->addWidget(c);
    return c;
}

QWidget* TFormOption::buildConfirmationPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabConfirm"));
    auto* layout = column(page);
    chkSaveChk_ = check(page, "ChkSaveChk", QStringLiteral("Always Confirm &Saving Changes"), 7001);
    chkReloadChk_ =
        check(page, "ChkReloadChk", QStringLiteral("Confirm &Load Even When No Changes"), 7002);
    chkUndoChk_ = check(page, "ChkUndoChk", QStringLiteral("Confirm &Undoing Changes"), 7003);
    chkResetChk_ =
        check(page, "ChkResetChk", QStringLiteral("Confirm &Resetting to Default Value"), 7004);
    chkAdrsWrtChk_ =
        check(page, "ChkAdrsWrtChk", QStringLiteral("Confirm A&ddress Bar Writes"), 7005);
    chkIpsIdentity_ = check(page, "ChkIpsIdentity",
                            QStringLiteral("Confirm File Creation When Applying an &IPS"), 7006);
    chkIpsMaking_ = check(page, "ChkIpsMaking", QStringLiteral("Confirm Creating I&PS File"), 7007);
    layout->addStretch();
    return page;
}

QWidget* TFormOption::buildGeneral1Page() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabGeneral1"));
    auto* layout = column(page);
    chkFormPos_ =
        check(page, "ChkFormPos", QStringLiteral("Restore &Form Positions at Startup"), 7101);
    chkAlTopOff_ =
        check(page, "ChkAlTopOff", QStringLiteral("Unset \"&Always On Top\" at Startup"), 7102);
    chkSaveEnabled_ =
        check(page, "ChkSaveEnabled",
              QStringLiteral("\"Sa&ve\" Always Available Even When No Changes"), 7103);
    chkFullPath_ =
        check(page, "ChkFullPath", QStringLiteral("Display Full &Path in Filenames"), 7104);
    chkBackup_ = check(page, "ChkBackup", QStringLiteral("Create &Backup Files"), 7105);
    chkTimeCheck_ =
        check(page, "ChkTimeCheck", QStringLiteral("Chec&k Files for External Update"), 7106);
    chkMenuImg_ =
        check(page, "ChkMenuImg", QStringLiteral("Display &Icons Next to Menu Options"), 7107);
    layout->addStretch();
    return page;
}

QWidget* TFormOption::buildGeneral2Page() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabGeneral2"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(10);

    editRecent_ = new QLineEdit(page);
    editRecent_->setObjectName(QStringLiteral("EditRecent"));
    editRecent_->setMaxLength(2);
    editRecent_->setFixedWidth(36);
    editRecent_->setAttribute(Qt::WA_InputMethodEnabled, false);
    setHelpContext(editRecent_, 7202);
    udRecent_ = new SpinButtons(QStringLiteral("UdRecent"), page);
    setHelpContext(udRecent_, 7202);
    connect(udRecent_, &SpinButtons::stepped, this, &TFormOption::UdRecentClick);
    auto* recent = new QHBoxLayout;
    recent->setSpacing(0);
    recent->addWidget(editRecent_);
    recent->addWidget(udRecent_);
    recent->addSpacing(8);
    recent->addWidget(label(page, QStringLiteral("LabRecentRange"),
                            drawableText(QStringLiteral("[0～32 Default: 8]"))));
    recent->addStretch();
    grid->addWidget(
        label(page, QStringLiteral("LabRecent"), QStringLiteral("&Recent Files:"), editRecent_), 0,
        0);
    grid->addLayout(recent, 0, 1);

    btnHistDel_ = new QPushButton(QStringLiteral("&Delete History"), page);
    btnHistDel_->setObjectName(QStringLiteral("BtnHistDel"));
    btnHistDel_->setAutoDefault(false);
    setHelpContext(btnHistDel_, 7203);
    connect(btnHistDel_, &QPushButton::clicked, this, &TFormOption::BtnHistDelClick);
    grid->addWidget(btnHistDel_, 1, 1, Qt::AlignLeft);

    cmbPallet_ = new QComboBox(page);
    cmbPallet_->setObjectName(QStringLiteral("CmbPallet"));
    cmbPallet_->addItems(
        {QStringLiteral("VirtualNES"), QStringLiteral("GNES"), QStringLiteral("Quorvane")});
    setHelpContext(cmbPallet_, 7201);
    grid->addWidget(label(page, QStringLiteral("LabPallet"),
                          QStringLiteral("&Palette Color Source:"), cmbPallet_),
                    2, 0);
    grid->addWidget(cmbPallet_, 2, 1, Qt::AlignLeft);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* TFormOption::buildNesPanel(int i, const QString& caption, int help) {
    const QString n = QString::number(i + 1);
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("PnlNes") + n);
    setHelpContext(panel, help);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setHorizontalSpacing(2);
    editNes_[i] = edit(panel, QStringLiteral("EditNes") + n);
    QPushButton* browse = browseButton(panel, QStringLiteral("BtnNes") + n);
    connect(browse, &QPushButton::clicked, this, [this, i] { browseNes(i); });
    layout->addWidget(label(panel, QStringLiteral("LabNes") + n, caption, editNes_[i]), 0, 0, 1, 2);
    layout->addWidget(editNes_[i], 1, 0);
    layout->addWidget(browse, 1, 1);
    nesPanels_[i] = panel;
    return panel;
}

QWidget* TFormOption::buildIpsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabIps"));
    auto* layout = column(page);
    layout->addWidget(buildNesPanel(0, QStringLiteral("Default &NES File (40,976 Bytes):"), 7301));
    layout->addWidget(
        buildNesPanel(1, QStringLiteral("Default N&ES File w/ Trainer (41,488 Bytes):"), 7302));
    QLabel* note = label(page, QStringLiteral("LabIpsNote"),
                         QStringLiteral("This specifies the default NES files to use when "
                                        "creating or applying an IPS file."));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

QWidget* TFormOption::buildEditorPage(int n) {
    const QString s = QString::number(n);
    // Editor 1 has topics of its own; editors 2 to 4 share theirs.
    const int fileHelp = n == 1 ? 7402 : 7018;
    const int argumentHelp = n == 1 ? 7403 : 7019;
    const int menuHelp = n == 1 ? 7401 : 7017;

    EditorControls& e = editors_[static_cast<std::size_t>(n - 1)];
    e.page = new QWidget;
    e.page->setObjectName(QStringLiteral("TabEditor") + s);
    auto* grid = new QGridLayout(e.page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(6);

    e.path = edit(e.page, QStringLiteral("EditEd") + s);
    setHelpContext(e.path, fileHelp);
    e.browse = browseButton(e.page, QStringLiteral("BtnEd") + s);
    setHelpContext(e.browse, fileHelp);
    connect(e.browse, &QPushButton::clicked, this, [this, n] { BtnEdClick(n); });
    QLabel* file = label(e.page, QStringLiteral("LabEd") + s, QStringLiteral("&File:"), e.path);
    setHelpContext(file, fileHelp);
    grid->addWidget(file, 0, 0, 1, 2);
    grid->addWidget(e.path, 1, 0);
    grid->addWidget(e.browse, 1, 1);

    e.passFile = new QCheckBox(n == 1 ? QStringLiteral("Use Command Line Argumen&ts")
                                      : QStringLiteral("Argumen&ts"),
                               e.page);
    e.passFile->setObjectName(QStringLiteral("ChkEd") + s);
    setHelpContext(e.passFile, argumentHelp);
    grid->addWidget(e.passFile, 2, 0, 1, 2);

    e.menu = edit(e.page, QStringLiteral("EditMn") + s);
    setHelpContext(e.menu, menuHelp);
    QLabel* menu =
        label(e.page, QStringLiteral("LabMn") + s, QStringLiteral("Display &Menu:"), e.menu);
    setHelpContext(menu, menuHelp);
    grid->addWidget(menu, 3, 0, 1, 2);
    grid->addWidget(e.menu, 4, 0);
    grid->setRowStretch(5, 1);
    return e.page;
}

QWidget* TFormOption::buildEditorsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabEditors"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    pageEditor_ = new QTabWidget(page);
    pageEditor_->setObjectName(QStringLiteral("PageEditor"));
    for (int n = 1; n <= 4; ++n)
        pageEditor_->addTab(buildEditorPage(n), QStringLiteral("Editor %1").arg(n));
    layout->addWidget(pageEditor_);
    // Test Play's emulator: a command line whose %f stands for the game file.
    editEmulator_ = edit(page, QStringLiteral("EditEmulator"));
    editEmulator_->setPlaceholderText(QStringLiteral("fceux, nestopia or mednafen"));
    editEmulator_->setToolTip(
        QStringLiteral("The emulator Test Play (F7) starts, with its arguments; %f stands for "
                       "the game file. Empty: the first of fceux, nestopia and mednafen found."));
    layout->addWidget(label(page, QStringLiteral("LabEmulator"),
                            QStringLiteral("Test &Play Emulator (%f = game file):"),
                            editEmulator_));
    layout->addWidget(editEmulator_);
    return page;
}

} // namespace qv
