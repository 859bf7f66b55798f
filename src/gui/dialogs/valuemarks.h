#pragma once
// The marks a dialog puts on its values while the user edits them: a value that
// differs from the game's own (bold label, tinted field, a dot on its page's tab) and a
// number OK would not take (a red field whose tip says what OK stores instead).
#include <QTabBar>
#include <QTabWidget>
#include <optional>

namespace qv {

struct Item;

// Page tabs that can carry a dot: room for it is kept on every tab, so that marking a
// page never widens the dialog.
class MarkedTabBar final : public QTabBar {
    Q_OBJECT
  public:
    explicit MarkedTabBar(QWidget* parent);
    void setMarked(int index, bool marked);
    bool isMarked(int index) const;

  protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

class MarkedTabWidget final : public QTabWidget {
    Q_OBJECT
  public:
    explicit MarkedTabWidget(QWidget* parent);
    MarkedTabBar* markedBar() const { return bar_; }

  private:
    MarkedTabBar* bar_;
};

// How a field looks: as usual, changed from the game's own value, or not accepted.
enum class FieldMark { None, Changed, Invalid };
// Tints the field for its mark and sets its tip.
void markField(QWidget* field, FieldMark mark, const QString& tip);
// A label or check box in bold, or not.
void markBold(QWidget* w, bool marked);

// Marks a numeric field of `item` for what it shows (nothing while it is disabled: out of
// bounds); returns whether its value differs from the game's own.
bool markNumberField(QWidget* edit, const Item& item, const QString& text);

// What OK does with a numeric field's text: nothing said when it is taken, else
// "300 is outside 0～255: OK stores the default, 3".
std::optional<QString> numberProblem(const Item& item, const QString& text);

} // namespace qv
