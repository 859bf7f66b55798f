#include "gui/ips/ipsapply.h"

#include <QFileInfo>
#include <optional>
#include <vector>

#include "core/document.h"
#include "core/fileio.h"
#include "core/ips/ipsfile.h"
#include "core/settings.h"
#include "gui/ips/ipscommon.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/main/paths.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

const QString kIpsFilter = QStringLiteral("IPS Files (*.ips)|*.ips");

void refuse(QWidget* window, const ips::Status& status) {
    platform().warn(window, QString::fromStdString(ips::message(status)));
}

// The base image the patch goes on, or nothing (reported) when it cannot be read.
std::optional<std::vector<std::uint8_t>> loadBase(IpsHost& host, int source) {
    if (source == TFormIpsOpen::OpenDocument) {
        const auto bytes = host.document().fileBytes();
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    const int size = baseFileSize(source);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (baseFileAvailable(host.settings(), source))
        bytes = readWholeFile(host.settings().nesFile[static_cast<std::size_t>(source - 1)],
                              static_cast<std::uintmax_t>(size));
    if (!bytes || bytes->size() != static_cast<std::size_t>(size)) {
        const QString n = sizeText(size);
        platform().warn(host.hostWindow(),
                        QStringLiteral("Applying the IPS file requires a ") + n +
                            QStringLiteral(" byte NES file.\r\n") +
                            QStringLiteral("Set the NES file ") + n +
                            QStringLiteral(" byte file path in Editor Options."));
        return std::nullopt;
    }
    return bytes;
}

bool writeResult(IpsHost& host, const QString& output, const std::vector<std::uint8_t>& image) {
    const SaveResult r = writeWithBackup(localPath(output), image, host.settings().backup, "~nes");
    if (!r.ok) platform().error(host.hostWindow(), QString::fromStdString(r.error));
    return r.ok;
}

} // namespace

void openIpsFile(IpsHost& host, QString& lastIpsPath) {
    QString initial = lastIpsPath;
    if (initial.isEmpty()) {
        const std::string& current = host.document().fileName();
        initial =
            (current.empty() ? programFolder() : QFileInfo(fromLocalPath(current)).absolutePath()) +
            QStringLiteral("/*.ips");
    }
    host.beforeModal();
    const QString chosen =
        platform().openFile(host.hostWindow(), QStringLiteral("Open"), initial, kIpsFilter);
    if (chosen.isEmpty()) return;
    lastIpsPath = chosen;
    ApplyIpsFile(host, chosen, false);
}

bool ApplyIpsFile(IpsHost& host, const QString& path, bool startup) {
    const ips::PatchFile checked = ips::readPatchFile(localPath(path));
    if (!checked.status.ok()) {
        refuse(host.hostWindow(), checked.status);
        return false;
    }

    TFormIpsOpen dialog(
        path, host.settings(), host.document(), [&host] { host.runOptions(); }, host.hostWindow());
    dialog.prepare(host.settings().ipsPatch, host.settings().ipsOpen);
    dialog.FormShow(startup);
    host.beforeModal();
    if (platform().runModal(dialog) != QDialog::Accepted) return false;

    const int source = dialog.source();
    const int action = dialog.action();
    const ips::Mode mode = dialog.mode();
    const QString output = dialog.outputName();
    host.settings().ipsPatch = source;
    host.settings().ipsOpen = action;
    host.writeAllSettings();

    auto image = loadBase(host, source);
    if (!image) return false;
    // Read again: the patch may have changed or gone while the dialog was open.
    const ips::PatchFile patch = ips::readPatchFile(localPath(path));
    if (!patch.status.ok()) {
        refuse(host.hostWindow(), patch.status);
        return false;
    }
    const ips::Status applied = ips::applyPatch(patch.bytes, *image, {mode, true});
    if (!applied.ok()) {
        refuse(host.hostWindow(), applied);
        return false;
    }

    if (action == TFormIpsOpen::SaveOnly) return writeResult(host, output, *image);

    if (source != TFormIpsOpen::OpenDocument && host.document().modified()) {
        switch (platform().ask(host.hostWindow(),
                               QStringLiteral("The current file has been modified\r\n"
                                              "Save changes before applying the patch?"),
                               Buttons::YesNoCancel)) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            if (!host.saveDocument()) return false;
            break;
        default:
            break;
        }
    }
    // Written before the document changes, so that a failed write leaves it as it was.
    if (action == TFormIpsOpen::SaveAndOpen && !writeResult(host, output, *image)) return false;
    // Opened without saving, the patched image is not on disk yet: it is modified.
    host.document().replace(*image, localPath(output), action != TFormIpsOpen::SaveAndOpen);
    host.documentReplaced();
    return true;
}

} // namespace qv
