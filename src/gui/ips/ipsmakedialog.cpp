#include "gui/ips/ipsmakedialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/rom.h"
#include "core/settings.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsparts.h"
#include "gui/main/paths.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

const QString kNesFilter = QStringLiteral("NES File (*.nes)|*.nes");
const QString kIpsFilter = QStringLiteral("IPS Files (*.ips)|*.ips");

} // namespace

TFormIpsMake::TFormIpsMake(const Settings& settings, int imageSize, const QString& documentName,
                           std::function<void()> runOptions, QWidget* parent)
    : FileDropDialog(parent), settings_(settings), imageSize_(imageSize),
      runOptions_(std::move(runOptions)) {
    setObjectName(QStringLiteral("FormIpsMake"));
    setWindowTitle(QStringLiteral("Create IPS File"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* column = new QVBoxLayout;
    column->addLayout(
        ipsQuestion(this, QStringLiteral("Please select the IPS File creation method.")));
    column->addWidget(buildBase());
    column->addWidget(buildOutput());

    auto* buttons = new QVBoxLayout;
    btnOk_ = ipsButton(this, "BtnOk", QStringLiteral("OK"));
    btnOk_->setDefault(true);
    QPushButton* cancel = ipsButton(this, "BtnCancel", QStringLiteral("Cancel"));
    QPushButton* option = ipsButton(this, "BtnOption", QStringLiteral("O&ptions"));
    for (QPushButton* b : {btnOk_, cancel, option})
        buttons->addWidget(b);
    buttons->addStretch(1);
    connect(btnOk_, &QPushButton::clicked, this, &TFormIpsMake::accept);
    connect(cancel, &QPushButton::clicked, this, &TFormIpsMake::reject);
    connect(option, &QPushButton::clicked, this, &TFormIpsMake::BtnOptionClick);

    auto* row = new QHBoxLayout(this);
    row->addLayout(column);
    row->addLayout(buttons);
    row->setSizeConstraint(QLayout::SetFixedSize);

    // Only the base file of the document's own size can be compared with it.
    const bool trainer = imageSize_ == kTrainerSize;
    radIpsNes1_->setEnabled(!trainer);
    radIpsNes2_->setEnabled(trainer);
    (trainer ? radIpsNes2_ : radIpsNes1_)->setChecked(true);
    RadIpsNesClick(trainer ? 2 : 1);
    editIpsName_->setText(withTail(documentName, QStringLiteral("ips")));
}

QGroupBox* TFormIpsMake::buildBase() {
    grpIpsNes_ = new QGroupBox(QStringLiteral("Base NES File for Generated IPS File"), this);
    grpIpsNes_->setObjectName(QStringLiteral("GrpIpsNes"));
    auto* l = new QVBoxLayout(grpIpsNes_);
    radIpsNes1_ =
        ipsRadio(grpIpsNes_, "RadIpsNes1", QStringLiteral("Default NES F&ile (40,976 bytes)"));
    radIpsNes2_ = ipsRadio(grpIpsNes_, "RadIpsNes2",
                           QStringLiteral("Default NES Fi&le w/ Trainer (41,488 bytes)"));
    radIpsNes3_ = ipsRadio(grpIpsNes_, "RadIpsNes3", QStringLiteral("Compare to &External ROM"));
    for (QRadioButton* r : {radIpsNes1_, radIpsNes2_, radIpsNes3_})
        l->addWidget(r);
    connect(radIpsNes1_, &QRadioButton::clicked, this, [this] { RadIpsNesClick(1); });
    connect(radIpsNes2_, &QRadioButton::clicked, this, [this] { RadIpsNesClick(2); });
    connect(radIpsNes3_, &QRadioButton::clicked, this, &TFormIpsMake::RadIpsNes3Click);

    auto* line = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Inpu&t NES File:"), grpIpsNes_);
    editIpsNes_ = new QLineEdit(grpIpsNes_);
    editIpsNes_->setObjectName(QStringLiteral("EditIpsNes"));
    editIpsNes_->setMinimumWidth(320);
    label->setBuddy(editIpsNes_);
    btnIpsNes_ = ipsButton(grpIpsNes_, "BtnIpsNes", QStringLiteral("..."));
    btnIpsNes_->setFixedWidth(24);
    line->addWidget(label);
    line->addWidget(editIpsNes_, 1);
    line->addWidget(btnIpsNes_);
    l->addLayout(line);
    connect(editIpsNes_, &QLineEdit::textChanged, this, &TFormIpsMake::EditIpsNesChange);
    connect(btnIpsNes_, &QPushButton::clicked, this, &TFormIpsMake::BtnIpsNesClick);

    auto* note = new QLabel(sizeText(imageSize_) + QStringLiteral(" byte NES files may be used."),
                            grpIpsNes_);
    note->setObjectName(QStringLiteral("LabIpsNes"));
    l->addWidget(note);

    // Without a default file the dialog says where one is set, and offers to pick one.
    unsetPanel_ = new QWidget(grpIpsNes_);
    auto* unset = new QHBoxLayout(unsetPanel_);
    unset->setContentsMargins(0, 0, 0, 0);
    auto* unsetNote = new QLabel(
        QStringLiteral("No Default NES File is set. Set it under Tools > Editor Options > IPS "
                       "(Options here), or choose the unmodified game with Browse..."),
        unsetPanel_);
    unsetNote->setObjectName(QStringLiteral("LabIpsNesUnset"));
    unsetNote->setWordWrap(true);
    auto* browse = ipsButton(unsetPanel_, "BtnIpsNesBrowse", QStringLiteral("&Browse..."));
    unset->addWidget(unsetNote, 1);
    unset->addWidget(browse, 0, Qt::AlignTop);
    connect(browse, &QPushButton::clicked, this, &TFormIpsMake::BtnIpsNesBrowseClick);
    unsetPanel_->hide();
    l->addWidget(unsetPanel_);
    return grpIpsNes_;
}

QGroupBox* TFormIpsMake::buildOutput() {
    grpIpsName_ = new QGroupBox(QStringLiteral("Create IPS File Settings"), this);
    grpIpsName_->setObjectName(QStringLiteral("GrpIpsName"));
    auto* line = new QHBoxLayout(grpIpsName_);
    auto* label = new QLabel(QStringLiteral("Output IPS &File:"), grpIpsName_);
    editIpsName_ = new QLineEdit(grpIpsName_);
    editIpsName_->setObjectName(QStringLiteral("EditIpsName"));
    label->setBuddy(editIpsName_);
    QPushButton* browse = ipsButton(grpIpsName_, "BtnIpsName", QStringLiteral("..."));
    browse->setFixedWidth(24);
    line->addWidget(label);
    line->addWidget(editIpsName_, 1);
    line->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, &TFormIpsMake::BtnIpsNameClick);
    return grpIpsName_;
}

QString TFormIpsMake::baseName() const {
    return editIpsNes_->text();
}

QString TFormIpsMake::outputName() const {
    const QString typed = editIpsName_->text();
    return typed.isEmpty() ? typed : ExpandLongPath(typed);
}

void TFormIpsMake::RadIpsNesClick(int tag) {
    editIpsNes_->setText(fromLocalPath(settings_.nesFile[tag == 2 ? 1 : 0]));
    editIpsNes_->setEnabled(false);
    btnIpsNes_->setEnabled(false);
    unsetPanel_->setVisible(editIpsNes_->text().isEmpty());
}

void TFormIpsMake::RadIpsNes3Click() {
    editIpsNes_->setEnabled(true);
    btnIpsNes_->setEnabled(true);
    unsetPanel_->hide();
}

void TFormIpsMake::BtnIpsNesBrowseClick() {
    radIpsNes3_->setChecked(true);
    RadIpsNes3Click();
    BtnIpsNesClick();
    editIpsNes_->setFocus();
}

void TFormIpsMake::EditIpsNesChange() {
    btnOk_->setEnabled(!editIpsNes_->text().isEmpty());
}

void TFormIpsMake::FormShow() {
    ensurePolished();
    adjustSize();
    placeOverOwner(this);
    EditIpsNesChange();
    QApplication::beep();
}

bool TFormIpsMake::FormCloseQuery() {
    const QString base = baseName();
    if (!QFileInfo(base).isFile()) {
        platform().warn(this,
                        QStringLiteral("The NES file does not exist or its path is invalid.\r\n"
                                       "Check the NES file settings in Editor Options."));
        return false;
    }
    if (!hasExtension(base, ".NES")) {
        platform().warn(this, QStringLiteral("The NES file is not the correct format.\r\n"
                                             "Check the NES file settings in Editor Options."));
        return false;
    }
    // The base must have the document's size whichever button named it: an
    // external ROM for a document with trainer is a 41,488-byte file too.
    if (!isNesFileOfSize(base, imageSize_)) {
        const QString n = sizeText(imageSize_);
        platform().warn(this, QStringLiteral("The NES file used is not ") + n +
                                  QStringLiteral(" bytes.\r\nSelect a ") + n +
                                  QStringLiteral(" byte NES file to use."));
        return false;
    }
    const QString out = outputName();
    if (!outputNameAccepted(
            this, out, ".IPS",
            {QStringLiteral("Invalid folder for output IPS file.\r\n"
                            "Check the file path in the Editor Options menu."),
             QStringLiteral("Output IPS filename invalid.\r\n"
                            "Check the file path in the Editor Options menu."),
             QStringLiteral("The extension for the output IPS file is not \".ips\".\r\n"
                            "Please set the extension to \".ips\".")}))
        return false;
    if (QFileInfo::exists(out) &&
        platform().ask(
            this,
            QStringLiteral("A file with the same name as the output IPS file already exists.\r\n"
                           "Do you want to overwrite the file?"),
            Buttons::YesNo) != Answer::Yes)
        return false;
    return true;
}

void TFormIpsMake::accept() {
    if (btnOk_->isEnabled() && FormCloseQuery()) QDialog::accept();
}

void TFormIpsMake::BtnIpsNesClick() {
    const QString initial = browseStart(editIpsNes_->text(), QStringLiteral("*.nes"));
    const QString chosen = platform().openFile(this, QStringLiteral("Open"), initial, kNesFilter);
    if (!chosen.isEmpty()) editIpsNes_->setText(chosen);
}

void TFormIpsMake::BtnIpsNameClick() {
    const QString initial = browseStart(editIpsName_->text(), QStringLiteral("*.ips"));
    const QString chosen = platform().saveFile(this, QStringLiteral("Save As"), initial, kIpsFilter,
                                               QStringLiteral("ips"));
    if (!chosen.isEmpty()) editIpsName_->setText(chosen);
}

void TFormIpsMake::BtnOptionClick() {
    if (runOptions_) runOptions_();
    if (radIpsNes1_->isChecked()) RadIpsNesClick(1);
    if (radIpsNes2_->isChecked()) RadIpsNesClick(2);
}

void TFormIpsMake::dropFile(const QString& path, DropTarget target) {
    activateWindow();
    raise();
    if (target == NoTarget) return;
    const QString file = droppedPath(path);
    if (target == InputArea) {
        if (!hasExtension(file, ".NES")) {
            platform().warn(this, QStringLiteral("Only NES files may be used."));
            return;
        }
        // A dropped base is an external ROM: the buttons say so, and Options no
        // longer replaces it with a configured base file.
        radIpsNes3_->setChecked(true);
        RadIpsNes3Click();
        editIpsNes_->setText(file);
    } else {
        if (!hasExtension(file, ".IPS")) {
            platform().warn(this, QStringLiteral("Only IPS files may be used."));
            return;
        }
        editIpsName_->setText(file);
    }
}

void TFormIpsMake::fileDropped(const QString& path, const QPoint& at) {
    const auto over = [&](QWidget* w) { return w->rect().contains(w->mapFrom(this, at)); };
    dropFile(path, over(grpIpsNes_) ? InputArea : over(grpIpsName_) ? OutputArea : NoTarget);
}

} // namespace qv
