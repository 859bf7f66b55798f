#pragma once
// Drop-down entries are built once per list and shared by every combo box showing
// that list, so dialogs with many long lists stay quick to open.
class QAbstractItemModel;

namespace qv {

struct ChoiceList;

QAbstractItemModel* choiceModel(const ChoiceList& list);
// The single "(Out of bounds)" entry.
QAbstractItemModel* outOfBoundsModel();

} // namespace qv
