#pragma once
// TFormColor: three pages of character buttons (one pressed per page) and one shared
// panel that edits the pressed character's sprite attribute byte: palette group,
// behind the background, mirrored, upside down. A byte with bits 2-4 set is shown as
// "Do Not Modify" and kept. The values live in the dialog's value fields.
#include <array>
#include <vector>

#include "core/tables/color.h"
#include "gui/dialogs/settingsdialog.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace qv {
class CharacterPictures;
}

namespace qv {

class TFormColor final : public SettingsDialog {
    Q_OBJECT
  public:
    TFormColor(DialogHost& host, QWidget* parent);

    // FormShow: presses each page's remembered character, ticks "Fixed Palette" for an
    // "Unknown" of 0xFF, and shows the active page's character.
    void showFields() override;

    // The offset of the pressed character of page 0..2.
    int selectedOffset(int page) const;

  public slots:
    // Every character button and the page change: show the active page's character.
    void Spd686BClick();
    void Page1Change(int index);
    // The palette radio buttons and the three check boxes: the panel into the character.
    void Rad1Click();
    void Chk687EClick();
    void SpdColorClick();

  protected:
    bool markCustomPage(int page) override;

  private:
    struct CharacterButton {
        const tables::ColorCharacter* character;
        QAbstractButton* button;
    };
    void buildPage(int page);
    void buildPanel();
    // The display routine: the active page's pressed character into the panel.
    void showSelected();
    const CharacterButton* pressed(int page) const;
    QString memoryKey(int page) const;

    std::array<std::vector<CharacterButton>, tables::kColorPages> buttons_;
    std::array<QButtonGroup*, tables::kColorPages> groups_{};
    QGroupBox* panel_ = nullptr;
    std::array<QRadioButton*, 5> rad_{}; // Rad1..Rad5
    QCheckBox* behind_ = nullptr;        // Chk1
    QCheckBox* upsideDown_ = nullptr;    // Chk2
    QCheckBox* mirrored_ = nullptr;      // Chk3
    QCheckBox* fixedPalette_ = nullptr;  // Chk687E
    const Item* fixedItem_ = nullptr;
    QLabel* note_ = nullptr;
    CharacterPictures* pictures_ = nullptr; // the buttons' sprites
    bool updating_ = false;
};

// Makes the dialog for its table (registered under its class name).
SettingsDialog* makeColorDialog(const DialogTable& table, DialogHost& host, QWidget* parent);

} // namespace qv
