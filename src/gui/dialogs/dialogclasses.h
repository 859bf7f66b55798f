#pragma once
// The dialog class of each registered table, in one list beside the registry: a table
// whose dialog has widget code of its own is made by that code's factory; any other
// gets the plain built dialog.
#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <map>
#include <string_view>

#include "gui/dialogs/settingssession.h"

class QWidget;

namespace qv {

struct DialogEntry;

// The factory of the table with this class name; empty for a plain built dialog.
DialogFactory dialogFactory(std::string_view className);

// The Edit menu's dialogs, each built ahead while the editor is idle and taken by its
// next opening, which then only fills, places and paints it instead of making its few
// hundred widgets (the rows "Open ..., cold" and "warm" of bench/run.py). A spare is
// built exactly as an opening builds it, painted off screen and given its window before
// any value is shown, and serves one opening; the next is built once that dialog has
// closed.
class DialogSpares final : public QObject {
  public:
    explicit DialogSpares(DialogHost& host, QObject* parent = nullptr);
    ~DialogSpares() override;
    // Building starts a moment after `window` has been painted for the first time, so
    // that the start itself waits for none of it.
    void startAfterFirstPaint(QWidget* window);
    // The spare for this table, now the caller's; nullptr when none is ready.
    SettingsDialog* take(const DialogTable& table);
    // Builds the missing spares, one per turn of the event loop while no window is modal.
    void refill();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    // The first dialog of the menu without a spare; nullptr when all have one.
    const DialogTable* nextMissing() const;

    DialogHost& host_;
    std::map<const DialogTable*, QPointer<SettingsDialog>> ready_;
    QBasicTimer turn_;
};

// The launcher of a registered dialog: load, show modally, finish. True when the image
// changed. With spares, the dialog is their spare when one is ready.
bool runRegisteredDialog(DialogHost& host, const DialogEntry& entry,
                         DialogSpares* spares = nullptr);

} // namespace qv
