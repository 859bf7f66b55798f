#pragma once
// Icons decoded when first used instead of when made: many are set on windows and
// bars at start-up but drawn late or never.
#include <QIcon>
#include <QList>
#include <QProxyStyle>
#include <QSize>
#include <functional>

namespace qv {

// An icon that `make` builds the first time it is drawn, measured or asked for a
// picture. `sizes`, when given, are its available sizes, answered without building it.
QIcon deferredIcon(std::function<QIcon()> make, QList<QSize> sizes = {});

// The application style, with the icons that a menu bar and a tool bar make for
// their overflow buttons decoded when first drawn instead of when the bars are
// built: those buttons are hidden unless the window is too narrow for its menus,
// so most runs never draw them at all. Everything else is the base style's.
class DeferredIconStyle final : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace qv
