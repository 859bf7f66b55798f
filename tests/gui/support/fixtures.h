#pragma once
// Temp folders, test images and a main window wired to a scripted platform.
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/main/mainwindow.h"
#include "gui/support/scriptedplatform.h"

namespace qv::test {

// Writes a zero-filled image of `size` bytes with the given bytes at literal offsets.
QString writeImage(const QString& path, int size,
                   const std::vector<std::pair<int, std::uint8_t>>& bytes = {});
std::vector<std::uint8_t> readFile(const QString& path);
void writeText(const QString& path, const QByteArray& text);
QByteArray readText(const QString& path);

struct WindowFixture {
    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> window;

    // `ini` is written as the settings file before the window starts.
    explicit WindowFixture(const QByteArray& ini = {});
    ~WindowFixture();
    QString path(const QString& name) const { return dir.filePath(name); }
    QString iniPath() const { return path(QStringLiteral("qorv.ini")); }
    // A committed one-byte edit, as a settings dialog's OK makes it.
    void edit(int offset, std::uint8_t value, const char* suffix = "(Mario)");
    bool enabled(const char* objectName) const;
};

} // namespace qv::test
