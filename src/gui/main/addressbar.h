#pragma once
// The address bar: shows the byte at any raw file position (no trainer shift)
// and overwrites that one byte.
#include <QWidget>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;

namespace qv {

class RomDocument;

// Two arrow buttons standing for a spin control that the bar keeps in step itself.
class SpinButtons : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButtons(const QString& name, QWidget* parent);
  signals:
    void stepped(bool up);

  private:
    QToolButton* up_;
    QToolButton* down_;
};

class AddressBar : public QWidget {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<bool()> documentOpen; // the document commands are enabled
        std::function<bool()> writeCheck;   // ask before writing
    };
    AddressBar(RomDocument& doc, Hooks hooks, QWidget* parent);

    // A document was opened: the address typed before is shown again in the new image.
    void documentLoaded();
    // No document: everything disabled and emptied.
    void documentClosed();
    // The image changed (any edit, the bar's own write included, or undo): show the
    // byte again.
    void refreshValue();

    // The handlers, callable directly.
    void EditAdr1Change();
    void EditAdr2Change();
    void UdAdr1Click(bool up);
    void UdAdr2Click(bool up);
    void SpBtnAdr2Click();

    // The parsed address, or kInvalid.
    int parsedAddress() const;
    // What the typed address edits, as the label beside the Value box says it (in full):
    // "Mario > Initial #Lives", several parted by "; ", "no parameter"; empty when no
    // address in the file is typed.
    QString parameterNames() const;
    static constexpr int kInvalid = 100000;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isCommandShortcut(const QKeyEvent* key) const;
    bool inRange(int address) const;
    int storedByte(int address) const;
    void setEditEnabled(QLineEdit* edit, bool on);
    void updateWriteButton(int value);
    void showParameterNames(const QString& names);

    RomDocument& doc_;
    Hooks hooks_;
    QLabel* labAdr1_;
    QLineEdit* editAdr1_;
    SpinButtons* udAdr1_;
    QLabel* labAdr2_;
    QLineEdit* editAdr2_;
    SpinButtons* udAdr2_;
    QToolButton* spBtnAdr2_;
    QLabel* labParam_;
    int addressPos_ = 0; // the address the address spin stands at
    int valuePos_ = 0;   // the value the value spin stands at
};

} // namespace qv
