#pragma once
// A dialog that takes files dropped anywhere on it: it accepts any drag that
// carries addresses, and hands the first local file with the point where it
// landed to fileDropped(), which decides what that place means.
#include <QDialog>
#include <QString>

class QPoint;

namespace qv {

class FileDropDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FileDropDialog(QWidget* parent = nullptr);

  protected:
    // `at` is in the dialog's coordinates.
    virtual void fileDropped(const QString& path, const QPoint& at) = 0;

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// A dropped file's path made absolute, a shortcut replaced by its target.
QString droppedPath(const QString& path);

} // namespace qv
