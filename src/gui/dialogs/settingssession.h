#pragma once
// The launcher shared by the settings dialogs, in steps that can each be called on
// their own (tests drive them without an event loop):
//   load()   hourglass, value fields from the image (sign-extended, with the trainer
//            shift), controls filled, remembered page, placement
//   dialog() the built dialog, ready to show
//   store()  every value field into a copy of the file (after BtnOkClick)
//   commit() that copy to the document as one edit with the dialog's undo suffix
//   close()  remember page and position, destroy the dialog
// runSettingsDialog() runs them with the modal loop between load() and finish().
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace qv {

class DialogHost;
class SettingsDialog;
struct DialogTable;

// Creates the dialog class of a table (TFormMario for the Mario table, ...).
using DialogFactory =
    std::function<SettingsDialog*(const DialogTable& table, DialogHost& host, QWidget* parent)>;

class SettingsSession {
  public:
    // Without a factory the plain table-built dialog is used.
    SettingsSession(DialogHost& host, const DialogTable& table, DialogFactory factory = {});
    ~SettingsSession();
    SettingsSession(const SettingsSession&) = delete;
    SettingsSession& operator=(const SettingsSession&) = delete;

    void load();
    SettingsDialog* dialog() const { return dialog_.get(); }
    void store();
    bool commit(); // whether the image changed
    void close();
    // After the modal loop: on OK store and commit; in both cases close.
    bool finish(bool accepted);

  private:
    void place();

    DialogHost& host_;
    const DialogTable& table_;
    DialogFactory factory_;
    std::vector<std::uint8_t> stored_; // the file with the dialog's fields written in
    std::unique_ptr<SettingsDialog> dialog_;
};

// The whole launcher: load, show modally, finish. Returns whether the image changed.
bool runSettingsDialog(DialogHost& host, const DialogTable& table, DialogFactory factory = {});

} // namespace qv
