#include "gui/main/glyphs.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QTextLayout>
#include <utility>

namespace qv {
namespace {

// Whole phrases first (a word has no per-character equivalent), then single characters.
const std::pair<const char*, const char*> kPhrases[] = {
    {"（点数非表示）", "(No Score Shown)"},
};
const std::pair<char16_t, const char*> kCharacters[] = {
    {u'～', "~"}, {u'＿', "_"},  {u'＼', "\\"}, {u'（', "("}, {u'）', ")"}, {u'止', "St"},
    {u'※', "*"},  {u'…', "..."}, {u'×', "x"},   {u'→', "->"}, {u'←', "<-"}, {u'↑', "^"},
    {u'↓', "v"},  {u'●', "o"},   {u'■', "#"},   {u'□', "[]"}, {u'┃', "|"},  {u'│', "|"},
};

} // namespace

bool hasAllGlyphs(const QString& text, const QFont& font) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), ' ');
    if (line.isEmpty()) return true;
    QTextLayout layout(line, font);
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine())
        l.setLineWidth(1e6);
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

QString drawableText(const QString& text, const QFont& font) {
    // Most texts are plain ASCII, which every font draws.
    bool plain = true;
    for (QChar c : text)
        if (c.unicode() > 0x7E) {
            plain = false;
            break;
        }
    if (plain) return text;
    // Dialogs ask for the same texts each time they open.
    static QHash<QString, QString> results;
    const QString resultKey = font.family() + QChar(0) + text;
    if (auto r = results.constFind(resultKey); r != results.constEnd()) return *r;
    static QHash<QString, bool> known; // per family and character
    const auto drawable = [&](const QString& piece) {
        const QString key = font.family() + QLatin1Char('/') + piece;
        auto it = known.find(key);
        if (it == known.end()) it = known.insert(key, hasAllGlyphs(piece, font));
        return *it;
    };
    QString out = text;
    for (const auto& [phrase, equivalent] : kPhrases) {
        const QString p = QString::fromUtf8(phrase);
        if (out.contains(p) && !drawable(p)) out.replace(p, QString::fromUtf8(equivalent));
    }
    for (const auto& [c, equivalent] : kCharacters) {
        const QString ch(QChar(static_cast<ushort>(c)));
        if (out.contains(ch) && !drawable(ch)) out.replace(ch, QString::fromUtf8(equivalent));
    }
    results.insert(resultKey, out);
    return out;
}

QString drawableText(const QString& text) {
    return drawableText(text, QGuiApplication::font());
}

QFont previewFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setFamilies({QStringLiteral("IPAGothic"), f.family()});
    f.setStyleHint(QFont::Monospace);
    return f;
}

} // namespace qv
