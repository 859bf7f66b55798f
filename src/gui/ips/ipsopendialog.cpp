#include "gui/ips/ipsopendialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/changereport.h"
#include "core/document.h"
#include "core/fileio.h"
#include "core/ips/ipsfile.h"
#include "core/settings.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsparts.h"
#include "gui/main/helpcontext.h"
#include "gui/main/paths.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

const QString kNesFilter = QStringLiteral("NES File (*.nes)|*.nes");

} // namespace

TFormIpsOpen::TFormIpsOpen(const QString& ipsPath, const Settings& settings,
                           const RomDocument& document, std::function<void()> runOptions,
                           QWidget* parent)
    : FileDropDialog(parent), ipsPath_(ipsPath), settings_(settings), document_(document),
      runOptions_(std::move(runOptions)) {
    setObjectName(QStringLiteral("FormIpsOpen"));
    setWindowTitle(QStringLiteral("Open IPS File - ") + QFileInfo(ipsPath).fileName());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* column = new QVBoxLayout;
    column->addLayout(ipsQuestion(this, QStringLiteral("Please select the IPS patching method.")));
    column->addWidget(buildSources());
    column->addWidget(buildActions());
    column->addStretch(1);

    auto* row = new QHBoxLayout(this);
    row->addLayout(column);
    row->addWidget(buildAdvanced());
    row->addWidget(buildButtons());
    row->setSizeConstraint(QLayout::SetFixedSize);
    grpSpe_->hide();
}

QGroupBox* TFormIpsOpen::buildSources() {
    auto* grp = new QGroupBox(QStringLiteral("NES File to be Patched"), this);
    grp->setObjectName(QStringLiteral("GrpIps"));
    auto* l = new QVBoxLayout(grp);
    radIps_ = {
        ipsRadio(grp, "RadIps1", QStringLiteral("Default NES F&ile (40,976 bytes)")),
        ipsRadio(grp, "RadIps2", QStringLiteral("Default NES Fi&le w/ Trainer (41,488 bytes)")),
        ipsRadio(grp, "RadIps3", QStringLiteral("NES File Open in &Quorvane"))};
    for (int i = 0; i < 3; ++i) {
        l->addWidget(radIps_[i]);
        connect(radIps_[i], &QRadioButton::clicked, this, [this, i] { RadIpsClick(i + 1); });
    }
    return grp;
}

QGroupBox* TFormIpsOpen::buildActions() {
    auto* grp = new QGroupBox(QStringLiteral("Action Performed After Patching NES File"), this);
    grp->setObjectName(QStringLiteral("GrpIpsSh"));
    auto* l = new QVBoxLayout(grp);
    radIpsSh_ = {ipsRadio(grp, "RadIpsSh1", QStringLiteral("Open in Quorvane Without Sa&ving")),
                 ipsRadio(grp, "RadIpsSh2", QStringLiteral("Save and Open in Q&uorvane")),
                 ipsRadio(grp, "RadIpsSh3", QStringLiteral("Save Only; Do Not Open in Qu&orvane"))};
    for (int i = 0; i < 3; ++i) {
        l->addWidget(radIpsSh_[i]);
        connect(radIpsSh_[i], &QRadioButton::clicked, this, [this, i] { RadIpsShClick(i + 1); });
    }
    // The file-name area: the drop target for a patched file's name.
    fileArea_ = new QWidget(grp);
    fileArea_->setObjectName(QStringLiteral("PnlIpsSh"));
    auto* fl = new QHBoxLayout(fileArea_);
    fl->setContentsMargins(0, 0, 0, 0);
    labIpsSh_ = new QLabel(QStringLiteral("&File:"), fileArea_);
    labIpsSh_->setObjectName(QStringLiteral("LabIpsSh"));
    editIpsSh_ = new QLineEdit(fileArea_);
    editIpsSh_->setObjectName(QStringLiteral("EditIpsSh"));
    editIpsSh_->setMinimumWidth(320);
    labIpsSh_->setBuddy(editIpsSh_);
    btnIpsSh_ = ipsButton(fileArea_, "BtnIpsSh", QStringLiteral("..."));
    btnIpsSh_->setFixedWidth(24);
    connect(btnIpsSh_, &QPushButton::clicked, this, &TFormIpsOpen::BtnIpsShClick);
    fl->addWidget(labIpsSh_);
    fl->addWidget(editIpsSh_, 1);
    fl->addWidget(btnIpsSh_);
    l->addWidget(fileArea_);
    return grp;
}

QGroupBox* TFormIpsOpen::buildAdvanced() {
    grpSpe_ = new QGroupBox(QStringLiteral("Advanced Processing"), this);
    grpSpe_->setObjectName(QStringLiteral("GrpSpe"));
    auto* l = new QVBoxLayout(grpSpe_);
    modes_ = new QButtonGroup(this);
    radSpe_ = {ipsRadio(grpSpe_, "RadSpe1", QStringLiteral("&No Advanced Features")),
               ipsRadio(grpSpe_, "RadSpe2", QStringLiteral("Cor&rect for 41,488 Byte Input")),
               ipsRadio(grpSpe_, "RadSpe3", QStringLiteral("Correc&t for 40,976 Byte Input")),
               ipsRadio(grpSpe_, "RadSpe4", QStringLiteral("&Extend File")),
               ipsRadio(grpSpe_, "RadSpe5", QStringLiteral("E&xpand with Trainer Area"))};
    l->addWidget(new QLabel(QStringLiteral(" Address Correction "), grpSpe_));
    for (int i = 0; i < 5; ++i) {
        if (i == 3) l->addWidget(new QLabel(QStringLiteral(" Expansion "), grpSpe_));
        modes_->addButton(radSpe_[i], i); // the id is the mode number
        l->addWidget(radSpe_[i]);
    }
    l->addStretch(1);
    auto* help = new QToolButton(grpSpe_);
    help->setObjectName(QStringLiteral("SpdSpe1"));
    help->setText(QStringLiteral("Help"));
    help->setAutoRaise(true);
    setHelpContext(help, 8001);
    connect(help, &QToolButton::clicked, this, &TFormIpsOpen::SpdSpe1Click);
    l->addWidget(help, 0, Qt::AlignRight);
    return grpSpe_;
}

QWidget* TFormIpsOpen::buildButtons() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelBtn"));
    auto* l = new QVBoxLayout(panel);
    l->setContentsMargins(0, 0, 0, 0);
    btnOk_ = ipsButton(panel, "BtnOk", QStringLiteral("OK"));
    btnOk_->setDefault(true);
    QPushButton* cancel = ipsButton(panel, "BtnCancel", QStringLiteral("Cancel"));
    QPushButton* option = ipsButton(panel, "BtnOption", QStringLiteral("O&ptions"));
    btnAdv_ = ipsButton(panel, "BtnAdv", QStringLiteral("A&dvanced"));
    btnDetails_ = ipsButton(panel, "BtnDetails", QStringLiteral("De&tails..."));
    for (QPushButton* b : {btnOk_, cancel, option, btnAdv_, btnDetails_})
        l->addWidget(b);
    l->addStretch(1);
    connect(btnOk_, &QPushButton::clicked, this, &TFormIpsOpen::accept);
    connect(cancel, &QPushButton::clicked, this, &TFormIpsOpen::reject);
    connect(option, &QPushButton::clicked, this, &TFormIpsOpen::BtnOptionClick);
    connect(btnAdv_, &QPushButton::clicked, this, &TFormIpsOpen::BtnAdvClick);
    connect(btnDetails_, &QPushButton::clicked, this, &TFormIpsOpen::BtnDetailsClick);
    return panel;
}

bool TFormIpsOpen::sourceAvailable(int n) const {
    if (n == OpenDocument) return document_.isOpen();
    return baseFileAvailable(settings_, n);
}

void TFormIpsOpen::prepare(int ipsPatch, int ipsOpen) {
    for (int n = 1; n <= 3; ++n)
        radIps_[static_cast<std::size_t>(n - 1)]->setEnabled(sourceAvailable(n));
    selectSource(ipsPatch >= 1 && ipsPatch <= 3 ? ipsPatch : BaseFile1);
    if (ipsOpen == OpenUnsaved || (source() == OpenDocument && document_.isOpen()))
        selectAction(OpenUnsaved);
    else if (ipsOpen == SaveOnly)
        selectAction(SaveOnly);
    else
        selectAction(SaveAndOpen);
    editIpsSh_->setText(withTail(ipsPath_, QStringLiteral("nes")));
}

void TFormIpsOpen::selectSource(int n) {
    radIps_[static_cast<std::size_t>(n - 1)]->setChecked(true);
    RadIpsClick(n);
}

void TFormIpsOpen::selectAction(int n) {
    radIpsSh_[static_cast<std::size_t>(n - 1)]->setChecked(true);
    RadIpsShClick(n);
}

int TFormIpsOpen::source() const {
    for (int n = 1; n <= 3; ++n)
        if (radIps_[static_cast<std::size_t>(n - 1)]->isChecked()) return n;
    return 0;
}

int TFormIpsOpen::action() const {
    for (int n = 1; n <= 3; ++n)
        if (radIpsSh_[static_cast<std::size_t>(n - 1)]->isChecked()) return n;
    return OpenUnsaved;
}

ips::Mode TFormIpsOpen::mode() const {
    return ips::modeFromNumber(modes_->checkedId()).value_or(ips::Mode::None);
}

QString TFormIpsOpen::outputName() const {
    if (source() == OpenDocument) return fromLocalPath(document_.fileName());
    const QString typed = editIpsSh_->text();
    return typed.isEmpty() ? typed : ExpandLongPath(typed);
}

void TFormIpsOpen::setModesFor(int imageSize) {
    for (int n = 1; n < static_cast<int>(radSpe_.size()); ++n)
        radSpe_[static_cast<std::size_t>(n)]->setEnabled(
            ips::modeFitsImage(*ips::modeFromNumber(n), static_cast<std::size_t>(imageSize)));
    radSpe_[0]->setChecked(true);
}

void TFormIpsOpen::RadIpsClick(int n) {
    const bool document = n == OpenDocument;
    // The open document is only ever patched in memory, under its own name.
    radIpsSh_[1]->setEnabled(!document);
    radIpsSh_[2]->setEnabled(!document);
    if (document) selectAction(OpenUnsaved);
    editIpsSh_->setEnabled(!document);
    btnIpsSh_->setEnabled(!document);
    setModesFor(document ? document_.fileSize() : baseFileSize(n));
}

void TFormIpsOpen::RadIpsShClick(int n) {
    labIpsSh_->setText(n == OpenUnsaved ? QStringLiteral("Temporary Patched NES &File Name:")
                                        : QStringLiteral("Save Patched NES &File As:"));
}

void TFormIpsOpen::refreshSources() {
    bool any = false;
    for (int n = 1; n <= 3; ++n) {
        const bool available = sourceAvailable(n);
        radIps_[static_cast<std::size_t>(n - 1)]->setEnabled(available);
        any = any || available;
    }
    btnOk_->setEnabled(any);
    if (any && !sourceAvailable(source())) {
        for (int n = 1; n <= 3; ++n)
            if (sourceAvailable(n)) {
                selectSource(n);
                break;
            }
    }
}

void TFormIpsOpen::FormShow(bool startup) {
    ensurePolished();
    adjustSize();
    const QRect area = workArea(parentWidget() ? parentWidget() : this);
    QWidget* owner = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    // At start-up the main window is not shown yet: centre on the desktop instead.
    const QRect over = !startup && owner && owner != this ? owner->frameGeometry() : area;
    moveFrameTo(this, placeOver(over, frameGeometry().size(), area));
    radSpe_[0]->setChecked(true);
    if (!sourceAvailable(1) && !sourceAvailable(2) && !sourceAvailable(3)) {
        btnOk_->setEnabled(false);
        platform().warn(this, QStringLiteral("Applying the IPS file requires a NES file.\r\n"
                                             "Set the file path in Editor Options."));
    }
    refreshSources();
    QApplication::beep();
}

bool TFormIpsOpen::FormCloseQuery() {
    const QString out = outputName();
    if (!outputNameAccepted(
            this, out, ".NES",
            {QStringLiteral("Invalid folder for patched NES file.\r\n"
                            "Check the file path in the Editor Options menu."),
             QStringLiteral("Patched NES filename invalid.\r\n"
                            "Check the file path in the Editor Options menu."),
             QStringLiteral("The extension for the patched NES file is not \".nes\".\r\n"
                            "Please set the extension to \".nes\".")}))
        return false;
    if (source() != OpenDocument && QFileInfo::exists(out)) {
        const QString question =
            action() == OpenUnsaved
                ? QStringLiteral("A file with the same name as the temporary patched NES file "
                                 "already exists.\r\n"
                                 "The data will be overwritten and opened in Quorvane.\r\n"
                                 "Are you sure you want to continue?")
                : QStringLiteral(
                      "A file with the same name as the patched NES file already exists.\r\n"
                      "Do you want to overwrite the file?");
        if (platform().ask(this, question, Buttons::YesNo) != Answer::Yes) return false;
    }
    return true;
}

void TFormIpsOpen::accept() {
    if (btnOk_->isEnabled() && FormCloseQuery()) QDialog::accept();
}

void TFormIpsOpen::BtnIpsShClick() {
    const QString initial = browseStart(editIpsSh_->text(), QStringLiteral("*.nes"));
    const QString chosen = platform().saveFile(this, QStringLiteral("Save As"), initial, kNesFilter,
                                               QStringLiteral("nes"));
    if (!chosen.isEmpty()) editIpsSh_->setText(chosen);
}

void TFormIpsOpen::BtnOptionClick() {
    if (runOptions_) runOptions_();
    refreshSources();
}

void TFormIpsOpen::BtnAdvClick() {
    const int before = frameGeometry().width();
    grpSpe_->show();
    btnAdv_->setEnabled(false);
    if (QLayout* l = layout()) l->activate();
    adjustSize();
    // The window grows to the right by the group's width; half of that goes back
    // to the left, so that it stays where it was as far as the screen allows.
    const int grown = frameGeometry().width() - before;
    move(clampToArea(pos() - QPoint(grown / 2, 0), frameGeometry().size(), workArea(this)));
}

void TFormIpsOpen::SpdSpe1Click() {
    platform().showHelp(this, 8001);
}

QString TFormIpsOpen::detailsText(QString* error) const {
    const auto fail = [&](const ips::Status& st) {
        if (error) *error = QString::fromStdString(ips::message(st));
        return QString();
    };
    const ips::PatchFile patch = ips::readPatchFile(localPath(ipsPath_), false);
    if (!patch.status.ok()) return fail(patch.status);
    std::vector<std::uint8_t> base;
    if (source() == OpenDocument) {
        base.assign(document_.fileBytes().begin(), document_.fileBytes().end());
    } else {
        const int n = source();
        const auto bytes =
            readWholeFile(settings_.nesFile[static_cast<std::size_t>(n - 1)], ips::kOffsetLimit);
        if (!bytes) return fail(ips::Status{ips::Result::NotGameImage});
        base = *bytes;
    }
    const PatchExplanation e = explainPatch(patch.bytes, base, {mode(), true});
    if (!e.status.ok()) return fail(e.status);
    QString text;
    for (const std::string& line : explanationReport(e))
        text += QString::fromStdString(line) + QLatin1Char('\n');
    return text;
}

void TFormIpsOpen::BtnDetailsClick() {
    QString error;
    const QString text = detailsText(&error);
    if (text.isEmpty()) {
        platform().warn(this, error);
        return;
    }
    QDialog details(this);
    details.setObjectName(QStringLiteral("FormIpsDetails"));
    // Close only: minimizing a modal window would take its owner out of sight with it.
    details.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    details.setWindowTitle(QStringLiteral("Patch Details - ") + QFileInfo(ipsPath_).fileName());
    auto* view = new QPlainTextEdit(text, &details);
    view->setObjectName(QStringLiteral("MemoDetails"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* close = new QPushButton(QStringLiteral("Close"), &details);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(close, &QPushButton::clicked, &details, &QDialog::accept);
    auto* l = new QVBoxLayout(&details);
    l->addWidget(view);
    l->addWidget(close, 0, Qt::AlignRight);
    details.resize(640, 400);
    platform().runModal(details);
}

void TFormIpsOpen::dropFile(const QString& path, bool onFileName) {
    activateWindow();
    raise();
    if (!onFileName) return;
    const QString file = droppedPath(path);
    if (!hasExtension(file, ".NES")) {
        platform().warn(this, QStringLiteral("Only NES files may be used."));
        return;
    }
    editIpsSh_->setText(file);
}

void TFormIpsOpen::fileDropped(const QString& path, const QPoint& at) {
    dropFile(path, fileArea_->rect().contains(fileArea_->mapFrom(this, at)));
}

} // namespace qv
