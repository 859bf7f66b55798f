// Tools > Play (F8).
#include "gui/main/mainwindow.h"
#include "gui/main/placement.h"
#include "gui/main/platform.h"
#include "gui/play/playwindow.h"

namespace qv {

PlayWindow* TForm1::playWindow() const {
    return playWindow_;
}

void TForm1::mmmPlayClick() {
    if (!doc_.isOpen()) return;
    if (playWindow_) {
        playWindow_->show();
        playWindow_->raise();
        playWindow_->activateWindow();
        return;
    }
    // The editor's own keys keep working from the Play window.
    QList<QAction*> keyed;
    for (QAction* a : findChildren<QAction*>())
        if (!a->shortcut().isEmpty()) keyed << a;
    QString error;
    playWindow_ = PlayWindow::open(
        doc_, settings_, [this] { writeAllSettings(); }, keyed, this, error);
    if (!playWindow_) {
        platform().warn(this, error);
        return;
    }
    // Beside the main window and wholly inside the work area, title bar included: its
    // frame will be as thick as ours.
    playWindow_->adjustSize();
    const QSize frame = playWindow_->size() + (frameGeometry().size() - size());
    moveFrameTo(playWindow_, placeBeside(frameGeometry(), frame, workArea(this)));
    playWindow_->show();
    playWindow_->activateWindow();
}

} // namespace qv
