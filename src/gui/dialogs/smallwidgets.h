#pragma once
// Small pieces the dialogs share: text from the tables, and the flat speed button.
#include <QString>
#include <string_view>

#include "gui/main/glyphs.h"

class QToolButton;
class QWidget;

namespace qv {

// Core text (UTF-8) as a QString.
inline QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Table and core text as a QString the window can draw: a drawable equivalent stands
// in for a character that no installed font has.
inline QString qs(std::string_view s) {
    return drawableText(utf8(s));
}

// A flat speed button ("Reset", "Luigi"): raised under the mouse, reached with Tab but
// not focused by a click.
QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& text);

} // namespace qv
