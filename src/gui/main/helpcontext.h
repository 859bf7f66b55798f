#pragma once
// Help-context numbers of controls: the topic that context help (What's This, F1)
// opens for a control. A control without one of its own takes its container's.
#include <QVariant>
#include <QWidget>

namespace qv {

inline void setHelpContext(QWidget* w, int context) {
    w->setProperty("helpContext", context);
}

// The context of `w` or of its nearest container that has one, up to its window; 0 for none.
inline int helpContextOf(const QWidget* w) {
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const int context = w->property("helpContext").toInt();
        if (context > 0) return context;
    }
    return 0;
}

// Answers What's This and F1 in `window` (built completely beforehand) from the
// controls' contexts; F1 on a control without one opens `fallback`.
void installContextHelp(QWidget* window, int fallback);
// The same answers for controls that `window` gains after installContextHelp: `root`
// and everything inside it.
void watchContextHelp(QWidget* window, QWidget* root);

} // namespace qv
