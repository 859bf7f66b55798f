#include "gui/main/helpservice.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/helpbook.h"
#include "gui/main/glyphs.h"

namespace qv {
namespace {

QString topicHtml(int context) {
    const QString contents = QStringLiteral("<p><a href=\"topic:0\">Contents and index</a></p>");
    if (context == 0) return QString::fromStdString(helpContentsHtml());
    if (const HelpTopic* t = findHelpTopic(context))
        return QStringLiteral("<h2>%1</h2>").arg(QString::fromStdString(t->title).toHtmlEscaped()) +
               QString::fromStdString(t->html) + contents;
    return QStringLiteral("<p>There is no help topic %1.</p>").arg(context) + contents;
}

class HelpWindow : public QDialog {
  public:
    explicit HelpWindow(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QStringLiteral("Quorvane Help"));
        setAttribute(Qt::WA_DeleteOnClose);
        browser_ = new QTextBrowser(this);
        browser_->setObjectName(QStringLiteral("HelpBrowser"));
        browser_->setOpenLinks(false);
        connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            if (url.scheme() == QStringLiteral("topic")) showTopic(url.path().toInt());
        });
        auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
        connect(contents, &QPushButton::clicked, this, [this] { showTopic(0); });
        auto* row = new QHBoxLayout;
        row->addWidget(contents);
        row->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(row);
        layout->addWidget(browser_);
        resize(520, 420);
    }
    void showTopic(int context) { browser_->setHtml(drawableText(topicHtml(context), font())); }

  private:
    QTextBrowser* browser_;
};

} // namespace

void HelpService::show(QWidget* parent, int context) {
    // One help window for the whole run, brought forward on every request.
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow(parent ? parent->window() : nullptr);
    window->showTopic(context);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace qv
