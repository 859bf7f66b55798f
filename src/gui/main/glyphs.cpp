#include "gui/main/glyphs.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
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

// Whether `font`, or a font Qt falls back on for it, has a glyph for `c`. A direct lookup
// rather than laying the text out: the lookup loads the same fallback font that drawing
// the character needs, and nothing else (the row "Open ..., cold" of bench/run.py).
// Asked once per family and character in a process.
bool drawable(char16_t c, const QFont& font) {
    static QHash<QString, QHash<char16_t, bool>> known;
    QHash<char16_t, bool>& family = known[font.family()];
    auto it = family.constFind(c);
    if (it == family.constEnd()) it = family.insert(c, QFontMetrics(font).inFont(QChar(c)));
    return *it;
}

bool drawable(const QString& piece, const QFont& font) {
    for (QChar c : piece)
        if (!drawable(c.unicode(), font)) return false;
    return true;
}

} // namespace

QString drawableText(const QString& text, const QFont& font) {
    // Most texts are plain ASCII, which every font draws.
    bool plain = true;
    for (QChar c : text)
        if (c.unicode() > 0x7E) {
            plain = false;
            break;
        }
    if (plain) return text;
    QString out = text;
    for (const auto& [phrase, equivalent] : kPhrases) {
        const QString p = QString::fromUtf8(phrase);
        if (out.contains(p) && !drawable(p, font)) out.replace(p, QString::fromUtf8(equivalent));
    }
    for (const auto& [c, equivalent] : kCharacters) {
        const QChar ch(c);
        if (out.contains(ch) && !drawable(c, font)) out.replace(ch, QString::fromUtf8(equivalent));
    }
    return out;
}

QString drawableText(const QString& text) {
    return drawableText(text, QGuiApplication::font());
}

QFont previewFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::Monospace);
    // The gothic alone where it is installed: it has every preview symbol, and a font of
    // several families would have Qt look for fallback fonts at once (the row "Open
    // General 2, cold" of bench/run.py). Elsewhere the fixed font and its fallbacks.
    static const bool gothic = QFontDatabase::hasFamily(QStringLiteral("IPAGothic"));
    if (gothic) f.setFamilies({QStringLiteral("IPAGothic")});
    return f;
}

} // namespace qv
