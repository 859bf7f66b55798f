#include "gui/main/filedropdialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "gui/main/paths.h"

namespace qv {

FileDropDialog::FileDropDialog(QWidget* parent) : QDialog(parent) {
    setAcceptDrops(true);
}

void FileDropDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void FileDropDialog::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void FileDropDialog::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    fileDropped(urls.first().toLocalFile(), event->position().toPoint());
}

QString droppedPath(const QString& path) {
    return ResolveShortcut(ExpandLongPath(path));
}

} // namespace qv
