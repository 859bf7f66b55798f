#include "gui/play/playio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace qv {

namespace {

class NoAudio : public PlayAudio {
  public:
    bool available() const override { return false; }
    QString problem() const override { return QStringLiteral("no sound module"); }
    void push(const std::vector<std::int16_t>&) override {}
    void setVolume(int, bool) override {}
};

class NoGamepads : public Gamepads {
  public:
    std::uint16_t buttons() override { return 0; }
    bool available() const override { return false; }
};

} // namespace

const PlayIo& silentPlayIo() {
    static const PlayIo io{[](double) -> PlayAudio* { return new NoAudio; },
                           []() -> Gamepads* { return new NoGamepads; }};
    return io;
}

QStringList playIoFolders() {
    const QString bin = QCoreApplication::applicationDirPath();
    return {bin, QDir::cleanPath(bin + QStringLiteral("/" QV_PLAYIO_FROM_BIN))};
}

const PlayIo* openPlayIo(const QStringList& folders, QString& why) {
    const QString name = QStringLiteral(QV_PLAYIO_FILE);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path)) continue;
        QLibrary module(path);
        using Entry = const PlayIo* (*)();
        if (const auto entry = reinterpret_cast<Entry>(module.resolve(kPlayIoEntry)))
            return entry();
        why = module.errorString();
        return nullptr;
    }
    why = QStringLiteral("%1 is in none of %2").arg(name, folders.join(QStringLiteral(", ")));
    return nullptr;
}

} // namespace qv
