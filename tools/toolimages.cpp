// The tool bar's image list, drawn here at build time (see embedicons.cpp): 0 open,
// 1 save, 2 save as, 3 close, 4 reload, 5 always on top (off), 6 always on top (on),
// 7 options, 8 create IPS, 9 open IPS, 10 undo, 11 help, 12 exit, 13 play. Each is
// drawn on a 16 x 16 grid scaled to the size asked for.
#include "toolimages.h"

#include <QPainter>
#include <QPainterPath>
#include <initializer_list>

namespace {

const QColor kInk(40, 40, 48);

void folder(QPainter& p) {
    p.setBrush(QColor(232, 190, 80));
    p.drawRect(2, 5, 12, 8);
    p.drawRect(2, 3, 5, 2);
}

void disk(QPainter& p, const QColor& c) {
    p.setBrush(c);
    p.drawRect(2, 2, 12, 12);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 6, 4);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 8, 5);
}

// Letters are set from a few pixel rows rather than a font, so that the images
// need no fonts.
void glyph(QPainter& p, int x, int y, const QColor& c, std::initializer_list<const char*> rows) {
    for (const char* row : rows) {
        for (int dx = 0; row[dx] != '\0'; ++dx)
            if (row[dx] == '#') p.fillRect(x + dx, y, 1, 1, c);
        ++y;
    }
}

void page(QPainter& p, const QColor& c) {
    p.setBrush(c);
    p.drawRect(3, 1, 9, 13);
}

} // namespace

QImage drawToolImage(int index, double scale) {
    // As a pixmap filled with transparency holds it: premultiplied ARGB.
    const int side = static_cast<int>(16 * scale + 0.5);
    QImage pm(side, side, QImage::Format_ARGB32_Premultiplied);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QPen(kInk, 1));
    switch (index) {
    case 0:
        folder(p);
        break;
    case 1:
        disk(p, QColor(60, 110, 200));
        break;
    case 2:
        disk(p, QColor(60, 160, 120));
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.drawLine(10, 13, 15, 8);
        break;
    case 3:
        page(p, Qt::white);
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.drawLine(5, 5, 11, 11);
        p.drawLine(11, 5, 5, 11);
        break;
    case 4: {
        p.setPen(QPen(QColor(40, 140, 60), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(3, 3, 10, 10, 30 * 16, 290 * 16);
        p.setBrush(QColor(40, 140, 60));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(10, 1), QPoint(15, 5), QPoint(10, 7)}));
        break;
    }
    case 5:
    case 6: {
        const QColor c = index == 6 ? QColor(210, 60, 60) : QColor(150, 150, 150);
        p.setBrush(c);
        p.drawEllipse(5, 1, 7, 7);
        p.setPen(QPen(kInk, 2));
        p.drawLine(8, 8, 8, 15);
        break;
    }
    case 7: {
        p.setBrush(QColor(150, 150, 165));
        for (int a = 0; a < 360; a += 45) {
            p.save();
            p.translate(8, 8);
            p.rotate(a);
            p.drawRect(-1, -7, 2, 3);
            p.restore();
        }
        p.drawEllipse(3, 3, 10, 10);
        p.setBrush(Qt::white);
        p.drawEllipse(6, 6, 4, 4);
        break;
    }
    case 8:
    case 9: {
        page(p, QColor(250, 245, 220));
        const QColor ink = index == 8 ? QColor(200, 90, 20) : QColor(30, 110, 190);
        glyph(p, 4, 5, ink, {"#", "#", "#", "#", "#"});
        glyph(p, 6, 5, ink, {"##.", "#.#", "##.", "#..", "#.."});
        glyph(p, 10, 5, ink, {".##", "#..", ".#.", "..#", "##."});
        if (index == 8) {
            p.setPen(QPen(QColor(200, 90, 20), 2));
            p.drawLine(12, 12, 15, 15);
        }
        break;
    }
    case 10: {
        p.setPen(QPen(QColor(40, 90, 180), 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(4, 7);
        path.cubicTo(8, 2, 15, 5, 12, 13);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 180));
        p.drawPolygon(QPolygon({QPoint(1, 7), QPoint(7, 3), QPoint(7, 10)}));
        break;
    }
    case 11:
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(1, 1, 14, 14);
        glyph(p, 6, 4, Qt::white, {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."});
        break;
    case 12:
        p.setBrush(QColor(170, 120, 80));
        p.drawRect(3, 1, 8, 14);
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.drawLine(8, 8, 15, 8);
        break;
    case 13:
        p.setBrush(QColor(40, 150, 60));
        p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(14, 8), QPoint(4, 14)}));
        break;
    default:
        break;
    }
    return pm;
}
