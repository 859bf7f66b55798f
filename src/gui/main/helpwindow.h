#pragma once
// The help window: topics by help-context number, with Back and Forward through the
// topics seen and a search over every topic.
#include <QDialog>
#include <QString>
#include <vector>

class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace qv {

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent);

    // Shows a topic (0: contents and index) as a new step in the history.
    void showTopic(int context);
    // Shows the topics that mention `text` as a new step in the history.
    void search(const QString& text);
    void back();
    void forward();
    QString html() const;

  private:
    struct Step {
        int context = 0;
        QString query; // not empty: a search result
    };
    void go(const Step& step);
    void render();

    QTextBrowser* browser_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    std::vector<Step> history_;
    std::size_t at_ = 0;
};

} // namespace qv
