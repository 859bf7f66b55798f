#pragma once
// Texts as a window can draw them. Where no installed font has a glyph for a character
// (a machine without a Japanese font has no "～"), a drawable equivalent stands in its
// place on screen; the texts kept in the tables, the help book and qorv stay as they are.
#include <QFont>
#include <QString>

namespace qv {

// `text`, or, when `font` cannot draw all of it, the text with drawable equivalents.
QString drawableText(const QString& text, const QFont& font);
QString drawableText(const QString& text); // in the application font

// The family the text previews ask for: a Japanese gothic whose full-width characters
// are exactly two half-widths wide, else the system's fixed font.
QFont previewFont();

} // namespace qv
