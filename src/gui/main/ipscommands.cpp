// The main window's IPS commands: what the IPS operations need of the window.
#include <QLineEdit>
#include <QPushButton>

#include "gui/ips/ipsapply.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsmake.h"
#include "gui/main/addressbar.h"
#include "gui/main/mainwindow.h"

namespace qv {

IpsHost TForm1::ipsHost() {
    return {this,
            doc_,
            settings_,
            [this] { writeAllSettings(); },
            [this] { mmmOptionClick(); },
            [this] { return writeOrSaveAs(); },
            [this] {
                // A patched image is the document now (the window has followed it
                // as after a load), but the address bar starts again at 0000 and the
                // recent list stays.
                fileNameUsed_ = true;
                findChild<QLineEdit*>(QStringLiteral("EditAdr1"))->setText(QStringLiteral("0000"));
                if (isVisible() && buttonPanel_->isVisible()) dialogButtons_.first()->setFocus();
            },
            [this] { postTopmostReassertion(); }};
}

void TForm1::mmmIpsOpenClick() {
    IpsHost host = ipsHost();
    openIpsFile(host, lastIpsPath_);
}

void TForm1::mmmIpsMakeClick() {
    IpsHost host = ipsHost();
    createIpsFile(host);
}

bool TForm1::ApplyIpsFile(const QString& path, bool startup) {
    IpsHost host = ipsHost();
    return qv::ApplyIpsFile(host, path, startup);
}

} // namespace qv
