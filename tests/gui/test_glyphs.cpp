// Every text a window shows lays out without a missing glyph (glyph index 0) in the font
// that shows it, font fallback included; where no installed font has a character, the
// window shows a drawable equivalent instead.
#include <QAbstractButton>
#include <QComboBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

#include "core/helpbook.h"
#include "everywindow.h"
#include "gui/dialogs/flagpolepreview.h"
#include "gui/dialogs/stairpreview.h"
#include "gui/main/glyphs.h"
#include "gui/support/printqstring.h"

namespace {

// True when every character of `text` lays out in `font` or in a font Qt falls back on
// (no glyph index 0 in the laid-out glyph runs): the whole shaping, as painting does it,
// rather than the per-character lookup the windows use. Line breaks are not characters.
bool hasAllGlyphs(const QString& text, const QFont& font) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), ' ');
    if (line.isEmpty()) return true;
    QTextLayout layout(line, font);
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine())
        l.setLineWidth(1e6);
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

struct Checked {
    std::set<QString> texts; // each text once per font family
    int missing = 0;
};

void check(Checked& c, const QString& text, const QFont& font, const std::string& where) {
    if (text.isEmpty() || !c.texts.insert(font.family() + QLatin1Char('/') + text).second) return;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (hasAllGlyphs(line, font)) continue;
        ++c.missing;
        ADD_FAILURE() << where << ": no glyph for a character of \"" << line.toStdString()
                      << "\" in " << font.family().toStdString();
    }
}

QString plain(const QLabel* l) {
    if (l->textFormat() == Qt::PlainText || !Qt::mightBeRichText(l->text())) return l->text();
    QTextDocument d;
    d.setHtml(l->text());
    return d.toPlainText();
}

void checkWindow(Checked& c, QWidget& w, const std::string& view) {
    check(c, w.windowTitle(), w.font(), view + " title");
    for (const QLabel* l : w.findChildren<QLabel*>())
        check(c, plain(l), l->font(), view + " " + l->objectName().toStdString());
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>())
        check(c, b->text(), b->font(), view + " " + b->objectName().toStdString());
    for (const QGroupBox* g : w.findChildren<QGroupBox*>())
        check(c, g->title(), g->font(), view + " " + g->objectName().toStdString());
    for (const QTabBar* t : w.findChildren<QTabBar*>())
        for (int i = 0; i < t->count(); ++i)
            check(c, t->tabText(i), t->font(), view + " tab");
    for (const QComboBox* b : w.findChildren<QComboBox*>())
        for (int i = 0; i < b->count(); ++i)
            check(c, b->itemText(i), b->font(), view + " " + b->objectName().toStdString());
    for (const QLineEdit* e : w.findChildren<QLineEdit*>())
        check(c, e->text(), e->font(), view + " " + e->objectName().toStdString());
    for (const QTreeWidget* t : w.findChildren<QTreeWidget*>())
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(t)); *it; ++it)
            check(c, (*it)->text(0), t->font(), view + " " + t->objectName().toStdString());
    for (const QTextBrowser* b : w.findChildren<QTextBrowser*>())
        check(c, b->document()->toPlainText(), b->font(), view + " help");
    // The previews draw each line's symbols as drawableText gives them.
    for (const auto* p : w.findChildren<qv::FlagpolePreview*>())
        for (const QString& line : p->text().split(QStringLiteral("\r\n")))
            check(c, qv::drawableText(line, p->font()), p->font(), view + " MemoPole");
    for (const auto* p : w.findChildren<qv::StairPreview*>())
        for (const QString& line : p->text().split(QStringLiteral("\r\n")))
            check(c, qv::drawableText(line, p->font()), p->font(), view + " MemoKaidan");
}

TEST(Glyphs, EveryTextOfEveryWindowHasItsGlyphs) {
    Checked c;
    qv::test::visitEveryWindow(
        [&](QWidget& w, const std::string& view, bool) { checkWindow(c, w, view); });
    EXPECT_EQ(c.missing, 0);
    EXPECT_GT(c.texts.size(), 1500u); // every window, page and list seen
}

TEST(Glyphs, EveryHelpTopicHasItsGlyphsInTheHelpWindowsFont) {
    QTextBrowser browser;
    Checked c;
    for (const qv::HelpTopic& t : qv::helpTopics()) {
        QTextDocument d;
        d.setHtml(qv::drawableText(QString::fromStdString(t.title + t.html), browser.font()));
        check(c, d.toPlainText(), browser.font(), "topic " + std::to_string(t.context));
    }
    QTextDocument contents;
    contents.setHtml(
        qv::drawableText(QString::fromStdString(qv::helpContentsHtml()), browser.font()));
    check(c, contents.toPlainText(), browser.font(), "contents");
    EXPECT_EQ(c.missing, 0);
    EXPECT_GT(qv::helpTopics().size(), 100u);
}

TEST(Glyphs, TheFullWidthSymbolsAreDrawnAndAnUndrawableCharacterIsFound) {
    const QFont preview = qv::previewFont();
    // The preview's cells: drawable as they stand, or as their equivalents.
    for (const char* s :
         {"～", "＿", "＼", "止", "●", "┃", "│", "■", "※", "←", "↓", "↑", "□", "（点数非表示）"}) {
        const QString text = qv::drawableText(QString::fromUtf8(s), preview);
        EXPECT_TRUE(hasAllGlyphs(text, preview)) << s;
    }
    // A character that lays out, in its font or a fallback, is kept as it is: in the
    // preview font and in the application font, which lacks the full-width ones.
    const QFont application = QGuiApplication::font();
    for (const char* s : {"～",
                          "＿",
                          "＼",
                          "（",
                          "）",
                          "止",
                          "※",
                          "…",
                          "×",
                          "→",
                          "←",
                          "↑",
                          "↓",
                          "●",
                          "■",
                          "□",
                          "┃",
                          "│",
                          "（点数非表示）",
                          "[0～255 Default: 2]"}) {
        const QString text = QString::fromUtf8(s);
        for (const QFont& font : {preview, application}) {
            if (hasAllGlyphs(text, font)) {
                EXPECT_EQ(qv::drawableText(text, font), text) << s;
            }
        }
    }
    // Plain text is left alone; U+0378 is no character, so no font has a glyph for it.
    EXPECT_EQ(qv::drawableText(QStringLiteral("[0~255 Default: 2]"), preview),
              "[0~255 Default: 2]");
    EXPECT_FALSE(hasAllGlyphs(QString(QChar(0x0378)), preview));
    EXPECT_TRUE(hasAllGlyphs(QStringLiteral("Koopa\r\nTroopa"), preview));
}

} // namespace
