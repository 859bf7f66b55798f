#include "gui/support/fixtures.h"

#include <QAction>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

namespace qv::test {

QString writeImage(const QString& path, int size,
                   const std::vector<std::pair<int, std::uint8_t>>& bytes) {
    QByteArray data(size, '\0');
    for (const auto& [offset, value] : bytes)
        data[offset] = static_cast<char>(value);
    writeText(path, data);
    return path;
}

std::vector<std::uint8_t> readFile(const QString& path) {
    const QByteArray data = readText(path);
    return {data.begin(), data.end()};
}

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) ADD_FAILURE() << "cannot write";
    f.write(text);
}

QByteArray readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

WindowFixture::WindowFixture(const QByteArray& ini) {
    if (!ini.isEmpty()) writeText(iniPath(), ini);
    window = std::make_unique<TForm1>(iniPath(), QStringLiteral("/opt/quorvane/quorvane"));
}

WindowFixture::~WindowFixture() {
    // Closing asks nothing more of the script: the test has answered what it expected.
    if (window) window->setAttribute(Qt::WA_DeleteOnClose, false);
}

void WindowFixture::edit(int offset, std::uint8_t value, const char* suffix) {
    window->document().writeByte(offset, value, suffix);
}

bool WindowFixture::enabled(const char* objectName) const {
    const QString name = QString::fromLatin1(objectName);
    if (auto* a = window->findChild<QAction*>(name)) return a->isEnabled();
    if (auto* w = window->findChild<QWidget*>(name)) return w->isEnabled();
    ADD_FAILURE() << "no object " << objectName;
    return false;
}

} // namespace qv::test
