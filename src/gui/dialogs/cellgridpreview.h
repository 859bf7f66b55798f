#pragma once
// A read-only text preview drawn on a fixed grid: each row's three-character label in
// half-width columns, then its cells, each two half-widths wide or as wide as the widest
// symbol, so that the columns line up whatever widths the font gives the symbols.
#include <QFrame>
#include <QStringList>
#include <string>
#include <string_view>

class QPainter;

namespace qv {

class CellGridPreview : public QFrame {
    Q_OBJECT
  public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    CellGridPreview(QWidget* parent, const QString& objectName, int rows, int cells);

    void paintEvent(QPaintEvent*) override;

    // Every symbol a cell may show, for the cell width.
    virtual QStringList symbols() const = 0;
    // Row `row`'s label, three half-width characters.
    virtual std::string rowLabel(int row) const = 0;
    virtual void drawCell(QPainter& p, const QRect& at, int row, int cell) const = 0;

    // A symbol as the preview draws it: a drawable equivalent where no font has its glyph.
    static QString drawable(std::string_view s);

  private:
    int halfWidth() const;
    int cellWidth() const;

    int rows_;
    int cells_;
};

} // namespace qv
