#include "gui/main/helpcontext.h"

#include <QEvent>
#include <QShortcut>
#include <QWhatsThis>

#include "gui/main/platform.h"

namespace qv {
namespace {

class ContextHelpFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::QueryWhatsThis && e->type() != QEvent::WhatsThis) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        const int context = helpContextOf(w);
        if (context <= 0) return false;
        if (e->type() == QEvent::WhatsThis) platform().showHelp(w->window(), context);
        e->accept();
        return true;
    }
};

} // namespace

void watchContextHelp(QWidget* window, QWidget* root) {
    // One filter per window, found again by name (it has no meta-object of its own).
    const QString name = QStringLiteral("ContextHelpFilter");
    QObject* filter = window->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
    if (!filter) {
        filter = new ContextHelpFilter(window);
        filter->setObjectName(name);
    }
    root->installEventFilter(filter);
    for (QWidget* w : root->findChildren<QWidget*>())
        w->installEventFilter(filter);
}

void installContextHelp(QWidget* window, int fallback) {
    watchContextHelp(window, window);
    // Shift+F1 enters context-help mode, as the title bar's context-help button does.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), window);
    QObject::connect(whatsThis, &QShortcut::activated, window,
                     [] { QWhatsThis::enterWhatsThisMode(); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, window);
    QObject::connect(f1, &QShortcut::activated, window, [window, fallback] {
        const int context = helpContextOf(window->focusWidget());
        platform().showHelp(window, context > 0 ? context : fallback);
    });
}

} // namespace qv
