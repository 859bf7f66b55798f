#pragma once
// A label that measures its text once per process for each text and look.
#include <QLabel>

namespace qv {

// Dialogs show the same captions and range labels every time they open, and the
// group layouts ask every label for its size; QLabel lays the whole text out three
// times to answer, with full shaping each time. This label answers from one table
// per process, keyed by everything the answer depends on; a word-wrapped or rich
// label, whose size depends on more, is measured as QLabel measures it.
class TextLabel : public QLabel {
  public:
    using QLabel::QLabel;
    // Asks for the width its text takes in bold, so that it can be marked bold later
    // without moving anything.
    void setReserveBold(bool on) { reserveBold_ = on; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  private:
    struct Hints {
        QSize size, minimum;
    };
    // What the last answer was for; layouts ask many times between changes.
    struct Look {
        QString text;
        QFont font;
        QMargins contents;
        QSize least;
        const QStyle* style = nullptr;
        bool buddy = false, wrap = false, reserveBold = false;
        Qt::TextFormat format = Qt::AutoText;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        int margin = 0, indent = 0, alignment = 0, frame = 0;
        bool operator==(const Look&) const = default;
    };
    Look look() const;
    Hints hints() const;
    mutable Look lastLook_;
    mutable Hints lastHints_;
    mutable bool answered_ = false;
    bool reserveBold_ = false;
};

} // namespace qv
