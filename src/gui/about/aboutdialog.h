#pragma once
// The About box: program name, version, credits and the home-page link (only when the
// build names a home page: QV_HOME_PAGE).
#include <QDialog>

namespace qv {

class TFormAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TFormAbout(QWidget* parent = nullptr);
    // Fitted to its OK button, centred over the foreground window, kept in the work area.
    void FormShow();
    void LabURLClick();

    // Empty when the build names none.
    static QString homePage();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The program's own icon, drawn (32 by 32 and smaller).
QIcon programIcon();

} // namespace qv
