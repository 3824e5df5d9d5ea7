#include "DesignerGlyphs.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int S = DesignerGlyphSize;

// Text lines of a paragraph, aligned left (0), centred (1) or right (2).
void textLines(QPainter& p, int align)
{
    const int lengths[] = {14, 9, 14, 9};
    for (int i = 0; i < 4; ++i) {
        const int w = lengths[i];
        const int x = align == 0 ? 3 : align == 1 ? (S - w) / 2 : S - 3 - w;
        p.drawLine(x, 4 + i * 4, x + w - 1, 4 + i * 4);
    }
}

// A cell with a bar at its top (0), middle (1) or bottom (2).
void cellBar(QPainter& p, int align)
{
    p.drawRect(2, 2, S - 5, S - 5);
    const int y = align == 0 ? 5 : align == 1 ? S / 2 - 1 : S - 7;
    p.fillRect(5, y, S - 10, 3, QColor(0x20, 0x40, 0xa0));
}

// A 3 x 2 grid of cells.
void grid(QPainter& p, const QPen& pen)
{
    p.setPen(pen);
    p.drawRect(2, 4, S - 5, S - 9);
    p.drawLine(2, S / 2, S - 3, S / 2);
    p.drawLine(S / 3 + 1, 4, S / 3 + 1, S - 5);
    p.drawLine(2 * S / 3, 4, 2 * S / 3, S - 5);
}

} // namespace

QIcon DesignerGlyph(int glyph)
{
    QPixmap pm(S, S);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QPen ink(QColor(0x20, 0x20, 0x20), 1);
    const QPen dotted(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine);
    p.setPen(ink);
    switch (glyph) {
    case dgCellProperty:
        grid(p, ink);
        p.fillRect(S / 3 + 2, S / 2 + 1, S / 3 - 2, S / 2 - 6, QColor(0x30, 0x60, 0xc0));
        break;
    case dgDataLine:
        grid(p, ink);
        p.fillRect(3, S / 2 + 1, S - 6, S / 2 - 6, QColor(0xc0, 0xc0, 0xc0));
        p.setPen(QPen(QColor(0x00, 0x90, 0x00), 2));
        p.drawLine(S - 6, 1, S - 6, 7);
        p.drawLine(S - 9, 4, S - 3, 4);
        break;
    case dgDeleteLine:
        grid(p, ink);
        p.setPen(QPen(QColor(0xd0, 0x00, 0x00), 2));
        p.drawLine(4, S / 2 + 3, S - 5, S / 2 + 3);
        break;
    case dgAlignLeft:
    case dgAlignCenter:
    case dgAlignRight:
        textLines(p, glyph - dgAlignLeft);
        break;
    case dgAlignTop:
    case dgAlignMiddle:
    case dgAlignBottom:
        cellBar(p, glyph - dgAlignTop);
        break;
    case dgNoBorder:
        p.setPen(dotted);
        p.drawRect(3, 3, S - 7, S - 7);
        break;
    case dgBottomBorder:
        p.setPen(dotted);
        p.drawRect(3, 3, S - 7, S - 7);
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
        p.drawLine(3, S - 4, S - 4, S - 4);
        break;
    case dgFullBorder:
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
        p.drawRect(3, 3, S - 7, S - 7);
        break;
    case dgFont: {
        QFont f = p.font();
        f.setPixelSize(S - 3);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x20, 0x40, 0xa0));
        p.drawText(QRect(0, 0, S, S), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case dgCombine:
        p.drawRect(2, 4, S - 5, S - 9);
        p.setPen(dotted);
        p.drawLine(S / 2, 5, S / 2, S - 6);
        p.setPen(QPen(QColor(0x00, 0x70, 0x00), 1));
        p.drawLine(4, S / 2, S / 2 - 2, S / 2);
        p.drawLine(S / 2 - 4, S / 2 - 2, S / 2 - 2, S / 2);
        p.drawLine(S / 2 - 4, S / 2 + 2, S / 2 - 2, S / 2);
        p.drawLine(S / 2 + 2, S / 2, S - 5, S / 2);
        p.drawLine(S / 2 + 2, S / 2, S / 2 + 4, S / 2 - 2);
        p.drawLine(S / 2 + 2, S / 2, S / 2 + 4, S / 2 + 2);
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}
