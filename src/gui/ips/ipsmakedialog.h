#pragma once
// The dialog that asks for the base image an IPS patch is made against and the
// name of the patch file.
#include <QString>
#include <functional>

#include "gui/main/filedropdialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

struct Settings;

class TFormIpsMake : public FileDropDialog {
    Q_OBJECT
  public:
    // `imageSize` is the open document's size (40,976 or 41,488): only a base of
    // that size can be compared with it. `runOptions` is the Editor Options command;
    // `settings` is read again after it.
    TFormIpsMake(const Settings& settings, int imageSize, const QString& documentName,
                 std::function<void()> runOptions, QWidget* parent = nullptr);

    // Size, place over the owner, OK following the base name.
    void FormShow();
    // The checks made when OK is pressed; false keeps the dialog open.
    bool FormCloseQuery();
    void accept() override;

    QString baseName() const;
    QString outputName() const;

    // Handlers, callable directly.
    void RadIpsNesClick(int tag); // RadIpsNes1Click, shared by RadIpsNes2 (tags 1, 2)
    void RadIpsNes3Click();
    void EditIpsNesChange();
    void BtnIpsNesClick();
    // Browse... beside the note shown while the chosen Default NES File is not set: the
    // base becomes an external ROM chosen in the Open dialog.
    void BtnIpsNesBrowseClick();
    void BtnIpsNameClick();
    void BtnOptionClick();
    // A file dropped over the input-file area, the output area, or elsewhere.
    enum DropTarget { NoTarget, InputArea, OutputArea };
    void dropFile(const QString& path, DropTarget target);

  protected:
    void fileDropped(const QString& path, const QPoint& at) override;

  private:
    QGroupBox* buildBase();
    QGroupBox* buildOutput();

    const Settings& settings_;
    int imageSize_;
    std::function<void()> runOptions_;
    QGroupBox* grpIpsNes_ = nullptr;
    QGroupBox* grpIpsName_ = nullptr;
    QRadioButton* radIpsNes1_ = nullptr;
    QRadioButton* radIpsNes2_ = nullptr;
    QRadioButton* radIpsNes3_ = nullptr;
    QLineEdit* editIpsNes_ = nullptr;
    QPushButton* btnIpsNes_ = nullptr;
    QWidget* unsetPanel_ = nullptr; // the note and Browse... while no default file is set
    QLineEdit* editIpsName_ = nullptr;
    QPushButton* btnOk_ = nullptr;
};

} // namespace qv
