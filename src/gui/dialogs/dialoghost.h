#pragma once
// What a settings dialog needs of the main window: the document, the Reset
// confirmation setting and the run's dialog memory.
#include <QPoint>
#include <QString>
#include <map>

class QWidget;

namespace qv {

class RomDocument;

struct DialogMemory {
    std::map<QString, int> tabPage; // per dialog class name; 0 when not yet remembered
    bool closedOnce = false;        // a settings dialog has been closed in this run
    QPoint position;                // where it was closed
    // The entry last selected on a page of a dialog that keeps one (Color, Palette), by
    // "class name/page index"; absent: the page's initial entry.
    std::map<QString, int> selectedEntry;
    // The control the next settings dialog opens with the focus on (then forgotten);
    // empty: the dialog's own first control.
    QString focusControl;
    // A sub-dialog button the next settings dialog presses once it is shown (then
    // forgotten); focusControl then names a control of that sub-dialog.
    QString pressButton;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;
    virtual RomDocument& document() = 0;
    virtual bool confirmResets() const = 0; // the Reset setting
    virtual DialogMemory& dialogMemory() = 0;
    virtual QWidget* hostWindow() = 0;
    // The Editor Options' palette colour source (0, 1, 2) the colour pickers draw with.
    virtual int paletteSource() const { return 0; }
};

} // namespace qv
