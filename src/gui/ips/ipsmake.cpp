#include "gui/ips/ipsmake.h"

#include <optional>
#include <vector>

#include "core/document.h"
#include "core/fileio.h"
#include "core/ips/ips.h"
#include "core/settings.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsmakedialog.h"
#include "gui/main/platform.h"

namespace qv {

bool createIpsFile(IpsHost& host) {
    RomDocument& doc = host.document();
    if (!doc.isOpen()) return false;
    const int size = doc.trainer() ? kTrainerSize : kPlainSize;

    TFormIpsMake dialog(
        host.settings(), size, fromLocalPath(doc.fileName()), [&host] { host.runOptions(); },
        host.hostWindow());
    dialog.FormShow();
    host.beforeModal();
    if (platform().runModal(dialog) != QDialog::Accepted) return false;
    const QString output = dialog.outputName();
    const QString base = dialog.baseName();

    std::optional<std::vector<std::uint8_t>> baseBytes;
    if (isNesFileOfSize(base, size))
        baseBytes = readWholeFile(localPath(base), static_cast<std::uintmax_t>(size));
    ips::Status status;
    ips::Created created;
    if (!baseBytes || baseBytes->size() != static_cast<std::size_t>(size)) {
        status.result = ips::Result::BaseInvalid;
    } else {
        created = ips::create(*baseBytes, doc.fileBytes(), {host.settings().ipsIdentity});
        status = created.status;
    }
    if (!status.ok()) {
        platform().warn(host.hostWindow(), QString::fromStdString(ips::message(status)));
        return false;
    }

    const SaveResult written =
        writeWithBackup(localPath(output), created.patch, host.settings().backup, "~ips");
    if (!written.ok) {
        platform().error(host.hostWindow(), QString::fromStdString(written.error));
        return false;
    }
    if (host.settings().ipsMaking)
        platform().inform(host.hostWindow(), QStringLiteral("IPS file created successfully."));
    return true;
}

} // namespace qv
