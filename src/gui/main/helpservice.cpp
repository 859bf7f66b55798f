#include "gui/main/helpservice.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/helpbook.h"
#include "gui/main/glyphs.h"
#include "gui/main/helpwindow.h"

namespace qv {
namespace {

const QString kContentsLink = QStringLiteral("<p><a href=\"topic:0\">Contents and index</a></p>");

QString topicHtml(int context) {
    if (context == 0) return QString::fromStdString(helpContentsHtml());
    if (const HelpTopic* t = findHelpTopic(context))
        return QStringLiteral("<h2>%1</h2>").arg(QString::fromStdString(t->title).toHtmlEscaped()) +
               QString::fromStdString(t->html) + kContentsLink;
    return QStringLiteral("<p>There is no help topic %1.</p>").arg(context) + kContentsLink;
}

QString searchHtml(const QString& query) {
    const auto found = searchHelp(query.toStdString());
    QString html = QStringLiteral("<h2>Search: %1</h2>").arg(query.toHtmlEscaped());
    if (found.empty()) return html + QStringLiteral("<p>No topic mentions it.</p>") + kContentsLink;
    html += QStringLiteral("<ul>");
    for (const HelpTopic* t : found)
        html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>")
                    .arg(t->context)
                    .arg(QString::fromStdString(t->title).toHtmlEscaped());
    return html + QStringLiteral("</ul>") + kContentsLink;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
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
    contents->setObjectName(QStringLiteral("BtnContents"));
    connect(contents, &QPushButton::clicked, this, [this] { showTopic(0); });
    backButton_ = new QPushButton(QStringLiteral("&Back"), this);
    backButton_->setObjectName(QStringLiteral("BtnBack"));
    connect(backButton_, &QPushButton::clicked, this, &HelpWindow::back);
    forwardButton_ = new QPushButton(QStringLiteral("&Forward"), this);
    forwardButton_->setObjectName(QStringLiteral("BtnForward"));
    connect(forwardButton_, &QPushButton::clicked, this, &HelpWindow::forward);
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("EditSearch"));
    searchEdit_->setPlaceholderText(QStringLiteral("Search all topics"));
    searchEdit_->setClearButtonEnabled(true);
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] { search(searchEdit_->text()); });
    for (QPushButton* b : {contents, backButton_, forwardButton_})
        b->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(contents);
    row->addWidget(backButton_);
    row->addWidget(forwardButton_);
    row->addWidget(searchEdit_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(browser_);
    resize(620, 480);
    render();
}

void HelpWindow::go(const Step& step) {
    // A new step drops whatever lay ahead of the current one, as in a browser.
    if (!history_.empty()) history_.resize(at_ + 1);
    history_.push_back(step);
    at_ = history_.size() - 1;
    render();
}

void HelpWindow::showTopic(int context) {
    go({context, {}});
}

void HelpWindow::search(const QString& text) {
    const QString query = text.trimmed();
    if (!query.isEmpty()) go({0, query});
}

void HelpWindow::back() {
    if (at_ == 0) return;
    --at_;
    render();
}

void HelpWindow::forward() {
    if (at_ + 1 >= history_.size()) return;
    ++at_;
    render();
}

QString HelpWindow::html() const {
    if (history_.empty()) return {};
    const Step& s = history_[at_];
    return s.query.isEmpty() ? topicHtml(s.context) : searchHtml(s.query);
}

void HelpWindow::render() {
    browser_->setHtml(drawableText(html(), browser_->font()));
    backButton_->setEnabled(at_ > 0);
    forwardButton_->setEnabled(at_ + 1 < history_.size());
}

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
