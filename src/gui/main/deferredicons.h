#pragma once
// The application style, with the icons that a menu bar and a tool bar make for
// their overflow buttons decoded when first drawn instead of when the bars are
// built: those buttons are hidden unless the window is too narrow for its menus,
// so most runs never draw them at all. Everything else is the base style's.
#include <QProxyStyle>

namespace qv {

class DeferredIconStyle final : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace qv
