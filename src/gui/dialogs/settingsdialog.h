#pragma once
// A settings dialog built from its table: pages, group boxes, numeric edits with
// up-downs, check boxes, drop-down lists and Reset buttons, each named after its
// control. Holds the dialog's value fields; the launcher (SettingsSession) fills
// them before showing it and writes them back after OK.
#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/tables/table.h"
#include "core/valuefields.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace qv {

class ChoiceCombo;
class DialogHost;
class MarkedTabBar;
class UpDown;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(const DialogTable& table, DialogHost& host, QWidget* parent);
    ~SettingsDialog() override;

    const DialogTable& table() const { return table_; }
    DialogHost& host() const { return host_; }
    ValueFields& fields() { return fields_; }
    QTabWidget* pages() const { return pages_; }

    // The controls of one item; only those of its kind are set.
    struct Controls {
        const Item* item = nullptr;
        QLineEdit* edit = nullptr;
        UpDown* spin = nullptr;
        QCheckBox* check = nullptr;
        ChoiceCombo* combo = nullptr;
        QWidget* label = nullptr; // the row's label (a check box is its own); may be shared
        int page = 0;
        int mark = 0;         // the FieldMark the field shows
        bool differs = false; // the value shown differs from the game's own
    };
    const Controls* controls(std::string_view control) const;

    // Puts the value fields into the controls: numbers into edits and up-downs, check
    // and choice items ticked, selected or shown out of bounds. Dialogs with parts of
    // their own extend it (the launcher calls it once the fields are loaded).
    virtual void showFields();
    // Puts a display value into a numeric item's edit (the up-down follows).
    void setNumber(const Controls& c, int value);

    // Marks what the controls show: each value that differs from the game's own (its
    // default) gets a bold label and a tinted field, and its page a dot on its tab; a
    // number OK would not take gets a red field whose tip says what OK stores. Runs after
    // showFields() and after every change of a control; a dialog whose own parts edit
    // the fields calls it after each such edit.
    void refreshMarks();
    // Whether page `index`'s tab carries the dot.
    bool pageMarked(int index) const;

    // The Reset question; true when the reset may go ahead (asked only while the
    // Reset setting is on).
    bool ConfirmReset(const QString& question);

    // Gives the dialog one size for all its pages, the largest any page asks for, and
    // keeps it whatever a page or a selection shows afterwards. The launcher calls it
    // once the fields are shown.
    void fixSizeOverPages();

    // Adds a flat button beside a group's Reset button, for what no table can say.
    QToolButton* addGroupButton(const std::string& resetButton, const QString& objectName,
                                const QString& text);

    // What a group's Reset button does instead of SpdClick (a dialog whose group holds
    // more than its items registers it once, after construction).
    void setResetHandler(const std::string& resetButton, std::function<void()> handler);

  public slots:
    // Edits to fields: invalid or out-of-range text silently becomes the default;
    // enabled check and choice items store their state. Out-of-bounds controls keep
    // the fields they were loaded with. Then storeExtras().
    void BtnOkClick();
    void BtnHelpClick();
    // Every Reset button: the group's items back to their defaults, after ConfirmReset.
    void SpdClick(const Group& group);

  protected:
    // OK's store step after the controls have been read into the fields: what a dialog
    // stores beyond its enabled controls.
    virtual void storeExtras() {}
    // The marks of a dialog's own parts, on pages it lays out itself; true when one of
    // the page's values differs from the game's own. By default the page's items are
    // read from the fields.
    virtual bool markCustomPage(int page);

  private:
    void resetClicked(const Group& group);
    void build();
    QWidget* buildPage(const Page& page, int pageIndex);
    QWidget* buildGroup(const Group& group, int pageIndex, int groupIndex);
    void addNumber(const Item& item, QWidget* parent, Controls& c);
    void addControl(Controls& ctl, QWidget* box);
    void addRow(Controls& ctl, QWidget* box, QGridLayout* grid, int row);
    QGridLayout* buildBlock(const Block& b, QWidget* box, std::size_t first);
    void addExtras(const Group& group, QWidget* box, QGridLayout* grid, int row);
    void watch(Controls& c);
    void markControl(Controls& c);

    const DialogTable& table_;
    DialogHost& host_;
    ValueFields fields_;
    QTabWidget* pages_ = nullptr;
    MarkedTabBar* tabs_ = nullptr;
    std::vector<Controls> controls_; // table order
    std::map<std::string, QHBoxLayout*, std::less<>> resetPanels_;
    std::map<std::string, std::function<void()>, std::less<>> resetHandlers_;
    int editWidth_ = 0;
    bool marking_ = false; // marks follow the controls once the fields are shown
};

// The Reset question under the Reset setting: asked (Yes/No) only while the setting
// is on; true when the reset may go ahead. Sub-dialogs with questions of their own use
// it too.
bool confirmReset(DialogHost& host, QWidget* parent, const QString& question);

// The button-face background of a disabled edit or list that holds an out-of-bounds value.
void paintButtonFace(QWidget* w);
// A list whose stored value is none of its entries: "(Out of bounds)", disabled.
void showOutOfBounds(ChoiceCombo* combo);

inline const QString kResetQuestion = QStringLiteral("Reset the selection to its default value?");

} // namespace qv
