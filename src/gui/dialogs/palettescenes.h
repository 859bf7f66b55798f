#pragma once
// The Palette dialog's scene strips: beside the rows of an area page, a strip of that
// area drawn with the image's tiles in the page's colours as they are being edited
// (ground, bricks, "?" block and coin, pipe, cloud, bush, Mario and three enemies);
// on the Characters page Mario, Luigi, fiery Mario and Bowser. The "?" block and the
// coin shine with the shine cycle.
#include <QFrame>
#include <array>
#include <functional>
#include <optional>

#include "core/chrcompose.h"
#include "core/chrtables.h"
#include "gui/dialogs/spritepicture.h"

class QTabWidget;

namespace qv {

class SceneStrip final : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kScale = 2;
    SceneStrip(const chr::Scene& scene, QWidget* parent);

    const chr::Scene& scene() const { return scene_; }
    // Composes the scene from the tiles, the Color characters in it with the attribute
    // bytes `byteOf` gives (by offset); colours follow with setColors.
    void setTiles(const chr::TileSet& tiles, const chr::ByteOf& byteOf);
    // Redraws only when a colour differs from the last drawing.
    void setColors(const PictureColors& colors);
    // What the strip shows now, one pixel per screen pixel.
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    const chr::Scene& scene_;
    chr::Picture picture_;
    std::optional<PictureColors> colors_;
    QImage image_;
};

class SceneStrips final : public QObject {
    Q_OBJECT
  public:
    explicit SceneStrips(QObject* parent);

    // Puts a strip beside the rows of the page's group box, for the pages that have a
    // scene; the other pages keep their layout.
    void addTo(QTabWidget* pages);
    void setTiles(const chr::TileSet& tiles, const chr::ByteOf& byteOf);

    // The screen colour of the colour byte at an offset, as the dialog holds it now.
    using ColorAt = std::function<QRgb(int offset)>;
    // Colours the strip of `page` (the one in view); `shine` is the shine colour the
    // "?" block and coin show.
    void refresh(int page, const ColorAt& colorAt, QRgb shine);

    // One step of the shine cycle of `count` colours; returns the shine entry (0..5)
    // the strips show now.
    int tick(int count);
    int shineStep() const { return step_; }

    SceneStrip* strip(int page) const;

  private:
    std::array<SceneStrip*, 7> strips_{};
    int step_ = 0;
};

} // namespace qv
