#pragma once
// The Color dialog's character buttons as pictures: each shows its character's sprite
// twice its size, coloured by the attribute byte it holds now, in the sprite palettes
// of the image's Ground area. Parts of a larger picture (Bowser's halves, the
// fireworks quarters, the block coin, the princess) show all of it, the other parts in
// their own current colours.
#include <QObject>
#include <QSize>
#include <vector>

#include "gui/dialogs/spritepicture.h"

class QToolButton;

namespace qv {

class DialogHost;
class ValueFields;

class CharacterPictures final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kScale = 2;
    static constexpr QSize kBox{64, 64}; // every button's picture, so no button resizes

    CharacterPictures(DialogHost& host, ValueFields& fields, QObject* parent);

    // The button of the character whose attribute byte is at `offset`.
    void add(int offset, QToolButton* button);
    // Every picture, from the image's tiles and colours and the fields' bytes.
    void drawAll();
    // The pictures that show the byte at `offset`.
    void changed(int offset);

  private:
    struct Entry {
        int offset;
        QToolButton* button;
    };
    void draw(const Entry& e);
    bool shows(const Entry& e, int offset) const;

    DialogHost& host_;
    ValueFields& fields_;
    std::vector<Entry> entries_;
    PictureColors colors_;
};

} // namespace qv
