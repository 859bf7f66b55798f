#include "gui/main/deferredicons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <utility>

namespace qv {
namespace {

// Stands for an icon that is made on first use: when drawn, measured or asked for a
// picture. Sizes given up front answer availableSizes() for the normal, off state
// without making it.
class DeferredIcon final : public QIconEngine {
  public:
    DeferredIcon(std::function<QIcon()> make, QList<QSize> sizes)
        : make_(std::move(make)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        if (!sizes_.isEmpty() && !made_)
            return mode == QIcon::Normal && state == QIcon::Off ? sizes_ : QList<QSize>();
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return sizes_.isEmpty() || made_ ? icon().isNull() : false; }
    QString key() const override { return QStringLiteral("DeferredIcon"); }
    QIconEngine* clone() const override { return new DeferredIcon(*this); }

  private:
    const QIcon& icon() {
        if (!made_) {
            made_ = true;
            if (make_) icon_ = make_();
            make_ = nullptr;
        }
        return icon_;
    }

    std::function<QIcon()> make_;
    QList<QSize> sizes_;
    bool made_ = false;
    QIcon icon_;
};

} // namespace

QIcon deferredIcon(std::function<QIcon()> make, QList<QSize> sizes) {
    return QIcon(new DeferredIcon(std::move(make), std::move(sizes)));
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return deferredIcon([style = QPointer<QStyle>(baseStyle()), which] {
            return style ? style->standardIcon(which) : QIcon();
        });
    return QProxyStyle::standardIcon(which, option, widget);
}

} // namespace qv
