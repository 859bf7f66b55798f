// Test Play (Tools menu, F7).
#include "gui/main/testplay.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "core/fileio.h"
#include "core/privatefolder.h"
#include "gui/main/mainwindow.h"
#include "gui/main/platform.h"

namespace qv {

namespace {

const QString kNoEmulator =
    QStringLiteral("No emulator was found for Test Play.\r\n"
                   "Enter its command under Tools > Editor Options > External Editors > "
                   "Test Play Emulator (%f stands for the game file), or install fceux, "
                   "nestopia or mednafen.");

QString programNotFound(const QString& program) {
    return QStringLiteral("The emulator \"%1\" was not found.\r\n"
                          "Check the Test Play Emulator under Tools > Editor Options > "
                          "External Editors.")
        .arg(program);
}

// A program named with a folder is taken as it is; a bare name is looked up on PATH.
QString findProgram(const QString& program) {
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

} // namespace

std::optional<EmulatorCommand> emulatorCommand(const QString& configured, const QString& file) {
    QStringList words = QProcess::splitCommand(configured);
    if (words.isEmpty()) {
        for (const char* name : kKnownEmulators) {
            const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!found.isEmpty()) return EmulatorCommand{found, {file}};
        }
        return std::nullopt;
    }
    const QString program = findProgram(words.takeFirst());
    if (program.isEmpty()) return std::nullopt;
    bool placed = false;
    for (QString& w : words) {
        if (w.contains(QStringLiteral("%f"))) {
            w.replace(QStringLiteral("%f"), file);
            placed = true;
        }
    }
    if (!placed) words << file;
    return EmulatorCommand{program, words};
}

namespace {
const std::string kFolderStem = "quorvane-play";
}

TestPlayFiles::TestPlayFiles() = default;
TestPlayFiles::~TestPlayFiles() = default;

void removeStaleTestPlayFiles() {
    removeStaleFolders(QFile::encodeName(QDir::tempPath()).toStdString(), kFolderStem);
}

QString TestPlayFiles::write(std::span<const std::uint8_t> bytes, const QString& name,
                             QString& error) {
    if (!dir_) {
        std::string reason;
        dir_ = PrivateFolder::make(QFile::encodeName(QDir::tempPath()).toStdString(), kFolderStem,
                                   reason);
        if (!dir_) {
            error = QString::fromStdString(reason);
            return {};
        }
    }
    const QString path =
        QFile::decodeName(QByteArray::fromStdString(dir_->path())) + QLatin1Char('/') + name;
    const WriteResult r = writeFileAtomic(QFile::encodeName(path).toStdString(), bytes);
    if (!r.ok) {
        error = QString::fromStdString(r.error);
        return {};
    }
    return path;
}

void TForm1::mmmTestPlayClick() {
    if (!doc_.isOpen()) return;
    // The emulator is settled first: without one, nothing is written or started.
    const QString configured = QString::fromStdString(settings_.emulator).trimmed();
    const QString name = doc_.fileName().empty()
                             ? QStringLiteral("untitled.nes")
                             : QFileInfo(QString::fromStdString(doc_.fileName())).fileName();
    const auto probe = emulatorCommand(configured, QString());
    if (!probe) {
        const QStringList words = QProcess::splitCommand(configured);
        platform().warn(this, words.isEmpty() ? kNoEmulator : programNotFound(words.first()));
        return;
    }
    if (!testPlayFiles_) testPlayFiles_ = std::make_unique<TestPlayFiles>();
    QString error;
    const QString path = testPlayFiles_->write(doc_.fileBytes(), name, error);
    if (path.isEmpty()) {
        platform().error(
            this, QStringLiteral("The game could not be written for Test Play.\r\n%1").arg(error));
        return;
    }
    const auto command = emulatorCommand(configured, path);
    if (!command || !platform().startProgram(command->program, command->arguments))
        platform().warn(
            this, QStringLiteral("The emulator \"%1\" could not be started.").arg(probe->program));
}

} // namespace qv
