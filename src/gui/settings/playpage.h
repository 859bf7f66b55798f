#pragma once
// Editor Options > Play: the libretro core and the keys of the NES controller.
#include <QWidget>
#include <array>

#include "core/settings.h"

class QLabel;
class QLineEdit;

namespace qv {

class KeyButton;

class PlayOptionsPage : public QWidget {
    Q_OBJECT
  public:
    explicit PlayOptionsPage(QWidget* parent = nullptr);
    void load(const PlaySettings& s);
    void store(PlaySettings& s) const;

  private:
    void browse();
    void showCoreInUse();

    QLineEdit* core_ = nullptr;
    QLabel* inUse_ = nullptr;
    std::array<KeyButton*, 8> keys_{};
};

} // namespace qv
