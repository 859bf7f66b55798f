// The main window's IPS commands: what the IPS operations need of the window.
#include <QLineEdit>
#include <QPushButton>

#include "gui/ips/ipsapply.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsmake.h"
#include "gui/main/addressbar.h"
#include "gui/main/mainwindow.h"

namespace qv {

void TForm1::documentReplaced() {
    // The window has followed the new document as after a load, but the address bar
    // starts again at 0000 and the recent list stays.
    fileNameUsed_ = true;
    findChild<QLineEdit*>(QStringLiteral("EditAdr1"))->setText(QStringLiteral("0000"));
    if (isVisible() && buttonPanel_->isVisible()) dialogButtons_.first()->setFocus();
}

void TForm1::mmmIpsOpenClick() {
    openIpsFile(*this, lastIpsPath_);
}

void TForm1::mmmIpsMakeClick() {
    createIpsFile(*this);
}

bool TForm1::ApplyIpsFile(const QString& path, bool startup) {
    return qv::ApplyIpsFile(*this, path, startup);
}

} // namespace qv
