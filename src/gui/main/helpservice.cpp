#include "gui/main/helpservice.h"

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace qv {

void HelpService::show(QWidget* parent, int context) {
    // One help window for the whole run, brought forward on every request.
    static QPointer<QDialog> window;
    if (!window) {
        window = new QDialog(parent ? parent->window() : nullptr);
        window->setWindowTitle(QStringLiteral("Quorvane Help"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(window);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        layout->addWidget(browser);
        window->resize(480, 360);
    }
    auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    browser->setHtml(context == 0
                         ? QStringLiteral("<h2>Quorvane Help</h2><p>Contents and index.</p>")
                         : QStringLiteral("<h2>Quorvane Help</h2><p>Topic %1.</p>").arg(context));
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace qv
