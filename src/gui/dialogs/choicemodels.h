#pragma once
// Drop-down entries are built once per list and shared by every combo box showing
// that list, so dialogs with many long lists stay quick to open. The width such a
// list needs is shared the same way: measuring every entry of a long list is most
// of what a combo box costs to lay out.
#include <QComboBox>

class QAbstractItemModel;

namespace qv {

class ChoiceList;

QAbstractItemModel* choiceModel(const ChoiceList& list);
// The single "(Out of bounds)" entry.
QAbstractItemModel* outOfBoundsModel();

// A combo box whose size hints, while it shows one of the shared lists above, are
// measured once per list, font and style and then given to every combo box of that
// list. Each combo box keeps and renews its hints as QComboBox does (computed when
// first asked, renewed at the first show and on a style or font change), so they
// are the hints a QComboBox would have; other models and settings are measured as
// usual.
class ChoiceCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    // Instead of setModel: the size hints follow the entries also once measured, as a
    // dialog painted ahead of its filling needs (QComboBox measures again only on its
    // first showing).
    void setChoices(QAbstractItemModel* model);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool usesSharedHints() const;
    QSize sharedHint() const;

    mutable QSize hint_, minimumHint_;
    bool shownOnce_ = false;
};

} // namespace qv
