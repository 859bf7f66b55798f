#pragma once
// The dialog that asks how an IPS patch is applied: to which image (a base file
// or the open document), what happens with the result, and the advanced address
// corrections and expansions.
#include <QString>
#include <array>
#include <functional>

#include "core/ips/ips.h"
#include "gui/main/filedropdialog.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

class RomDocument;
struct Settings;

class TFormIpsOpen : public FileDropDialog {
    Q_OBJECT
  public:
    // Sources and actions by the numbers the settings IpsPatch and IpsOpen keep.
    enum Source { BaseFile1 = 1, BaseFile2 = 2, OpenDocument = 3 };
    enum Action { OpenUnsaved = 1, SaveAndOpen = 2, SaveOnly = 3 };

    // `runOptions` is the Editor Options command; `settings` and `document` are read
    // again after it.
    TFormIpsOpen(const QString& ipsPath, const Settings& settings, const RomDocument& document,
                 std::function<void()> runOptions, QWidget* parent = nullptr);

    // Before showing: the remembered source and action, the default output name.
    void prepare(int ipsPatch, int ipsOpen);
    // Size, place (on the work area at start-up, else over the owner), first mode,
    // and a source that can be used.
    void FormShow(bool startup);
    // The checks made when OK is pressed; false keeps the dialog open.
    bool FormCloseQuery();
    void accept() override;

    int source() const;
    int action() const;
    ips::Mode mode() const;
    // The file the result is named after: the document's own for source 3.
    QString outputName() const;
    bool sourceAvailable(int n) const;

    // Handlers, callable directly.
    void RadIpsClick(int n); // RadIps1Click to RadIps3Click
    void RadIpsShClick(int n);
    void BtnIpsShClick();
    void BtnOptionClick();
    void BtnAdvClick();
    void SpdSpe1Click();
    // Details...: what the patch would change in the chosen image, before OK.
    void BtnDetailsClick();
    // The explanation Details shows; empty with `error` set when the patch cannot be
    // applied to that image (the usual message).
    QString detailsText(QString* error = nullptr) const;
    // A file dropped over the file-name area (`onFileName`) or elsewhere.
    void dropFile(const QString& path, bool onFileName);

  protected:
    void fileDropped(const QString& path, const QPoint& at) override;

  private:
    QGroupBox* buildSources();
    QGroupBox* buildActions();
    QGroupBox* buildAdvanced();
    QWidget* buildButtons();
    void selectSource(int n);
    void selectAction(int n);
    void refreshSources();
    void setModesFor(int imageSize);

    QString ipsPath_;
    const Settings& settings_;
    const RomDocument& document_;
    std::function<void()> runOptions_;
    std::array<QRadioButton*, 3> radIps_{};
    std::array<QRadioButton*, 3> radIpsSh_{};
    std::array<QRadioButton*, 5> radSpe_{};
    QButtonGroup* modes_ = nullptr;
    QGroupBox* grpSpe_ = nullptr;
    QWidget* fileArea_ = nullptr;
    QLabel* labIpsSh_ = nullptr;
    QLineEdit* editIpsSh_ = nullptr;
    QPushButton* btnIpsSh_ = nullptr;
    QPushButton* btnAdv_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnDetails_ = nullptr;
};

} // namespace qv
