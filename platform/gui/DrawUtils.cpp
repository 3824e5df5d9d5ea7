#include "DrawUtils.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

struct TextLine {
    QString text;
    int underline = -1;  // index of the character marked by a prefix
};

QString trimRight(const QString& s)
{
    int n = s.size();
    while (n > 0 && (s[n - 1] == QLatin1Char(' ') || s[n - 1] == QLatin1Char('\t') || s[n - 1] == QChar(0x3000))) --n;
    return s.left(n);
}

// Measures and draws lines with the canvas's font, tabs expanded when asked.
class Layouter {
public:
    Layouter(TCanvas* canvas, unsigned flags, int tabLength)
        : m_canvas(canvas), m_flags(flags)
    {
        if (flags & DT_EXPANDTABS) m_tabWidth = std::max(1, tabLength) * std::max(1, canvas->FontAverageCharWidth());
    }

    int width(const QString& s) const
    {
        if (!(m_flags & DT_EXPANDTABS) || !s.contains(QLatin1Char('\t'))) return m_canvas->TextWidth(stripTabs(s));
        int x = 0;
        const QStringList parts = s.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i) {
            x += m_canvas->TextWidth(parts[i]);
            if (i + 1 < parts.size()) x = (x / m_tabWidth + 1) * m_tabWidth;
        }
        return x;
    }

    void draw(int x, int y, const TextLine& line) const
    {
        if (!(m_flags & DT_EXPANDTABS) || !line.text.contains(QLatin1Char('\t'))) {
            m_canvas->DrawTextRun(x, y, stripTabs(line.text), line.underline);
            return;
        }
        int pos = 0;
        const QStringList parts = line.text.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i) {
            m_canvas->DrawTextRun(x + pos, y, parts[i]);
            pos += m_canvas->TextWidth(parts[i]);
            if (i + 1 < parts.size()) pos = (pos / m_tabWidth + 1) * m_tabWidth;
        }
    }

    static QString stripTabs(const QString& s)
    {
        QString r = s;
        r.remove(QLatin1Char('\t'));
        return r;
    }

private:
    TCanvas* m_canvas;
    unsigned m_flags;
    int m_tabWidth = 1;
};

// Removes the '&' prefix marks ("&&" stays as one '&') and reports the
// character the last single mark stood before.
QString stripPrefix(const QString& text, int& underline)
{
    QString out;
    out.reserve(text.size());
    underline = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            } else if (i + 1 < text.size()) {
                underline = out.size();
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

QStringList splitParagraphs(const QString& text)
{
    QStringList paras;
    QString cur;
    for (int i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            paras << cur;
            cur.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        } else {
            cur += c;
        }
    }
    // A break at the very end opens no further line.
    if (!cur.isEmpty() || paras.isEmpty()) paras << cur;
    return paras;
}

// Breaks one paragraph into lines no wider than maxWidth, at the line-break
// opportunities of the text (spaces, and between ideographs in CJK text).
// A word that does not fit alone is broken between characters when
// charBreak is set, else it stays whole on its own line.
void wrapParagraph(const Layouter& lay, const QString& para, int maxWidth, bool charBreak, QStringList& out)
{
    if (para.isEmpty()) {
        out << QString();
        return;
    }
    QStringList segments;
    QTextBoundaryFinder bf(QTextBoundaryFinder::Line, para);
    int prev = 0;
    while (bf.toNextBoundary() != -1) {
        int pos = bf.position();
        if (pos > prev) segments << para.mid(prev, pos - prev);
        prev = pos;
    }
    if (prev < para.size()) segments << para.mid(prev);

    QString cur;
    for (const QString& seg : segments) {
        QString cand = cur + seg;
        if (lay.width(trimRight(cand)) <= maxWidth) {
            cur = cand;
            continue;
        }
        if (!trimRight(cur).isEmpty()) {
            out << trimRight(cur);
            cur.clear();
        }
        if (lay.width(trimRight(seg)) <= maxWidth) {
            cur = seg;
            continue;
        }
        if (!charBreak) {
            out << trimRight(seg);
            continue;
        }
        QString piece;
        for (int i = 0; i < seg.size(); ++i) {
            int n = (seg[i].isHighSurrogate() && i + 1 < seg.size()) ? 2 : 1;
            QString ch = seg.mid(i, n);
            if (!piece.isEmpty() && lay.width(trimRight(piece + ch)) > maxWidth) {
                out << piece;
                piece.clear();
            }
            piece += ch;
            i += n - 1;
        }
        cur = piece;
    }
    if (!trimRight(cur).isEmpty() || out.isEmpty()) out << trimRight(cur);
}

} // namespace

QString EllipsisText(TCanvas* canvas, const QString& text, int maxWidth)
{
    if (canvas->TextWidth(text) <= maxWidth) return text;
    const QString dots = QStringLiteral("...");
    int n = text.size();
    while (n > 0) {
        --n;
        if (n > 0 && text[n].isLowSurrogate()) --n;
        QString cand = text.left(n) + dots;
        if (canvas->TextWidth(cand) <= maxWidth) return cand;
    }
    return dots;
}

int DrawText(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags)
{
    return DrawTextEx(canvas, text, rect, flags, nullptr);
}

int DrawTextEx(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags, TDrawTextParams* params)
{
    TDrawTextParams defaults;
    TDrawTextParams& prm = params ? *params : defaults;
    prm.LengthDrawn = text.size();
    Layouter lay(canvas, flags, prm.TabLength);

    int underline = -1;
    QString body = text;
    if (!(flags & DT_NOPREFIX)) body = stripPrefix(text, underline);
    if (flags & DT_HIDEPREFIX) underline = -1;

    const int left = rect.Left + prm.LeftMargin;
    const int right = rect.Right - prm.RightMargin;
    const int avail = right - left;
    const int lineHeight = canvas->FontHeight() + ((flags & DT_EXTERNALLEADING) ? canvas->FontExternalLeading() : 0);

    // Break into lines.
    QStringList rawLines;
    if (flags & DT_SINGLELINE) {
        QString one = body;
        one.remove(QLatin1Char('\r'));
        one.remove(QLatin1Char('\n'));
        rawLines << one;
    } else {
        const QStringList paras = splitParagraphs(body);
        for (const QString& p : paras) {
            if (flags & DT_WORDBREAK) wrapParagraph(lay, p, avail, flags & DT_EDITCONTROL, rawLines);
            else rawLines << p;
        }
    }
    if (text.isEmpty()) rawLines.clear();

    // Map the prefix mark onto its line; shorten lines that do not fit.
    std::vector<TextLine> lines;
    int offset = 0;
    const bool ellipsis = flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    for (const QString& l : rawLines) {
        TextLine tl{l, -1};
        int at = body.indexOf(l, offset);
        if (at >= 0) {
            if (underline >= at && underline < at + l.size()) tl.underline = underline - at;
            offset = at + l.size();
        }
        if (ellipsis && lay.width(tl.text) > avail) {
            tl.text = EllipsisText(canvas, tl.text, avail);
            if (tl.underline >= tl.text.size() - 3) tl.underline = -1;
        }
        lines.push_back(tl);
    }

    int widest = 0;
    for (const auto& l : lines) widest = std::max(widest, lay.width(l.text));
    const int total = int(lines.size()) * lineHeight;

    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + prm.LeftMargin + widest + prm.RightMargin;
        rect.Bottom = rect.Top + total;
        return total;
    }

    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER) y = (rect.Top + rect.Bottom - total) / 2;
        else if (flags & DT_BOTTOM) y = rect.Bottom - total;
    }

    TClipRegion saved = canvas->GetClipRegion();
    if (!(flags & DT_NOCLIP)) canvas->IntersectClipRect(rect);
    for (size_t i = 0; i < lines.size(); ++i) {
        int top = y + int(i) * lineHeight;
        if ((flags & DT_EDITCONTROL) && i > 0 && top + lineHeight > rect.Bottom) break;
        int w = lay.width(lines[i].text);
        int x = left;
        if (flags & DT_CENTER) x = left + (avail - w) / 2;
        else if (flags & DT_RIGHT) x = right - w;
        lay.draw(x, top, lines[i]);
    }
    if (!(flags & DT_NOCLIP)) canvas->SelectClipRegion(saved);

    if (flags & DT_SINGLELINE && (flags & (DT_VCENTER | DT_BOTTOM))) return y + total - rect.Top;
    return total;
}

// ---------------------------------------------------------------- edges

bool DrawEdge(TCanvas* canvas, TRect& rect, unsigned edge, unsigned flags)
{
    if (flags & BF_DIAGONAL) return false;
    TRect r = rect;
    struct Level {
        unsigned raised, sunken;
    };
    const Level levels[2] = {{BDR_RAISEDOUTER, BDR_SUNKENOUTER}, {BDR_RAISEDINNER, BDR_SUNKENINNER}};
    for (int li = 0; li < 2; ++li) {
        const Level& lv = levels[li];
        bool raised = edge & lv.raised, sunken = edge & lv.sunken;
        if (!raised && !sunken) continue;
        TColor tl, br;
        if (flags & BF_MONO) {
            tl = br = li == 0 ? clWindowFrame : clWindow;
        } else if (flags & BF_FLAT) {
            tl = br = li == 0 ? clBtnShadow : clBtnFace;
        } else if (li == 0) {
            if (raised) { tl = (flags & BF_SOFT) ? clBtnHighlight : cl3DLight; br = cl3DDkShadow; }
            else { tl = (flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow; br = clBtnHighlight; }
        } else {
            if (raised) { tl = (flags & BF_SOFT) ? cl3DLight : clBtnHighlight; br = clBtnShadow; }
            else { tl = (flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow; br = cl3DLight; }
        }
        if (r.IsEmpty()) break;
        if (flags & BF_LEFT) canvas->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), tl);
        if (flags & BF_TOP) canvas->FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1), tl);
        if (flags & BF_RIGHT) canvas->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), br);
        if (flags & BF_BOTTOM) canvas->FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), br);
        if (flags & BF_LEFT) ++r.Left;
        if (flags & BF_TOP) ++r.Top;
        if (flags & BF_RIGHT) --r.Right;
        if (flags & BF_BOTTOM) --r.Bottom;
    }
    if ((flags & BF_MIDDLE) && !r.IsEmpty())
        canvas->FillRect(r, (flags & (BF_MONO | BF_FLAT)) ? clWindow : clBtnFace);
    if (flags & BF_ADJUST) rect = r;
    return true;
}

// ---------------------------------------------------------------- frame controls

void DrawArrowGlyph(TCanvas* canvas, const TRect& rect, char direction, int width, TColor color)
{
    const int rows = width / 2 + 1;
    const bool vertical = direction == 'u' || direction == 'd';
    const int cx = (rect.Left + rect.Right - (vertical ? width : rows)) / 2;
    const int cy = (rect.Top + rect.Bottom - (vertical ? rows : width)) / 2;
    for (int i = 0; i < rows; ++i) {
        // Row i counted from the base of the arrow (its widest row).
        int len = width - 2 * i;
        switch (direction) {
        case 'd': canvas->FillRect(TRect(cx + i, cy + i, cx + i + len, cy + i + 1), color); break;
        case 'u': canvas->FillRect(TRect(cx + i, cy + rows - 1 - i, cx + i + len, cy + rows - i), color); break;
        case 'r': canvas->FillRect(TRect(cx + i, cy + i, cx + i + 1, cy + i + len), color); break;
        default: canvas->FillRect(TRect(cx + rows - 1 - i, cy + i, cx + rows - i, cy + i + len), color); break;
        }
    }
}

namespace {

void drawCheckMark(TCanvas* canvas, int x, int y, TColor color)
{
    // A 7 x 7 tick, three pixels thick.
    static const char* const rows[7] = {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."};
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            if (rows[r][c] == 'X') canvas->FillRect(TRect(x + c, y + r, x + c + 1, y + r + 1), color);
}

bool drawCheckOrRadio(TCanvas* canvas, TRect& rect, unsigned state, bool radio)
{
    const int side = std::min(rect.Width(), rect.Height());
    if (side <= 0) return false;
    TRect box(rect.Left, rect.Top + (rect.Height() - side) / 2, rect.Left + side, rect.Top + (rect.Height() - side) / 2 + side);
    const bool inactive = state & DFCS_INACTIVE;
    const bool grayed = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    const TColor middle = (inactive || (state & DFCS_PUSHED) || grayed) ? clBtnFace : clWindow;
    const TColor mark = (inactive || grayed) ? clGrayText : clWindowText;
    if (radio) {
        TBrush oldBrush;
        oldBrush.Assign(*canvas->Brush());
        TPen oldPen;
        oldPen.Assign(*canvas->Pen());
        canvas->Pen()->SetColor((state & (DFCS_FLAT | DFCS_MONO)) ? clWindowFrame : clBtnShadow);
        canvas->Brush()->SetColor(middle);
        canvas->Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        if (state & DFCS_CHECKED) {
            canvas->Pen()->SetColor(mark);
            canvas->Brush()->SetColor(mark);
            const int d = std::max(2, side / 3);
            const int x = (box.Left + box.Right - d) / 2, y = (box.Top + box.Bottom - d) / 2;
            canvas->Ellipse(x, y, x + d, y + d);
        }
        canvas->SetBrush(oldBrush);
        canvas->SetPen(oldPen);
        return true;
    }
    TRect inside = box;
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        TBrush old;
        old.Assign(*canvas->Brush());
        canvas->Brush()->SetColor((state & DFCS_MONO) ? clWindowFrame : clBtnShadow);
        canvas->FrameRect(box);
        canvas->SetBrush(old);
        InflateRect(inside, -1, -1);
    } else {
        DrawEdge(canvas, inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    canvas->FillRect(inside, middle);
    if (state & DFCS_CHECKED)
        drawCheckMark(canvas, (inside.Left + inside.Right - 7) / 2, (inside.Top + inside.Bottom - 7) / 2, mark);
    return true;
}

} // namespace

bool DrawFrameControl(TCanvas* canvas, TRect& rect, unsigned type, unsigned state)
{
    if (rect.IsEmpty()) return false;
    const unsigned edgeFlags = (state & DFCS_MONO) ? unsigned(BF_MONO) : (state & DFCS_FLAT) ? unsigned(BF_FLAT) : 0u;
    if (type == DFC_BUTTON) {
        if (state & DFCS_BUTTONPUSH) {
            TRect face = rect;
            DrawEdge(canvas, face, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED,
                     BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST | edgeFlags);
            if (state & DFCS_ADJUSTRECT) rect = face;
            return true;
        }
        return drawCheckOrRadio(canvas, rect, state, state & DFCS_BUTTONRADIO);
    }
    if (type != DFC_SCROLL) return false;
    TRect face = rect;
    if ((state & DFCS_PUSHED) || edgeFlags)
        DrawEdge(canvas, face, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST | (edgeFlags ? edgeFlags : unsigned(BF_FLAT)));
    else
        DrawEdge(canvas, face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    char dir = 'd';
    switch (state & 0xF) {
    case DFCS_SCROLLUP: dir = 'u'; break;
    case DFCS_SCROLLLEFT: dir = 'l'; break;
    case DFCS_SCROLLRIGHT: dir = 'r'; break;
    default: dir = 'd'; break;
    }
    int side = std::min(face.Width(), face.Height());
    int width = std::max(3, side * 7 / 13);
    if (width % 2 == 0) --width;
    TRect glyph = face;
    if (state & DFCS_PUSHED) OffsetRect(glyph, 1, 1);
    if (state & DFCS_INACTIVE) {
        TRect shadow = glyph;
        OffsetRect(shadow, 1, 1);
        DrawArrowGlyph(canvas, shadow, dir, width, clBtnHighlight);
        DrawArrowGlyph(canvas, glyph, dir, width, clGrayText);
    } else {
        DrawArrowGlyph(canvas, glyph, dir, width, clBtnText);
    }
    if (state & DFCS_ADJUSTRECT) rect = face;
    return true;
}
