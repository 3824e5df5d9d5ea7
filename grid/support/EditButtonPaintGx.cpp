#include "EditButtonPaintGx.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"
#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <cmath>

const TDrawButtonControlStyleGx EditButtonDrawStyles[8] = {
    bcsDropDownGx, bcsEllipsisGx, bcsUpDownGx, bcsUpDownGx, bcsPlusGx, bcsMinusGx,
    bcsAltDropDownGx, bcsAltUpDownGx,
};

bool ButtonsBitmapCacheEnabled = true;
int FlatEditButtonWidth = 0;

namespace {

// ---- classic frame-control faces -------------------------------------------

enum ArrowDir { ArrowDown, ArrowUp };

// A filled triangle of `width` pixels at its base, width div 2 + 1 rows.
void FillArrow(TCanvas* c, int left, int top, int width, ArrowDir dir, TColor color)
{
    const int rows = width / 2 + 1;
    for (int i = 0; i < rows; ++i) {
        const int inset = dir == ArrowDown ? i : rows - 1 - i;
        const int x1 = left + inset;
        const int x2 = left + width - inset;
        if (x2 > x1)
            c->FillRect(TRect(x1, top + i, x2, top + i + 1), color);
    }
}

void DrawCheckMark(TCanvas* c, const TRect& box, TColor color)
{
    // A 7 x 7 tick in the middle of the box.
    const int x = box.Left + (box.Width() - 7) / 2;
    const int y = box.Top + (box.Height() - 7) / 2;
    for (int i = 0; i < 7; ++i) {
        const int ty = y + (i < 3 ? 2 + i : 6 - i);
        c->FillRect(TRect(x + i, ty, x + i + 1, ty + 3), color);
    }
}

// The window system's classic faces: the combo-box and scroll-arrow buttons and
// the check box.
void DrawScrollFace(TCanvas* c, const TRect& r, unsigned kind, bool pushed, bool flat, bool inactive)
{
    unsigned state = kind;
    if (pushed)
        state |= DFCS_PUSHED;
    if (flat)
        state |= DFCS_FLAT;
    if (inactive)
        state |= DFCS_INACTIVE;
    DrawFrameControl(c, r, DFC_SCROLL, state);
}

void DrawCheckFace(TCanvas* c, const TRect& r, TCheckBoxState checkState, bool pushed, bool flat, bool inactive)
{
    unsigned state = DFCS_BUTTONCHECK;
    if (checkState == cbChecked)
        state |= DFCS_CHECKED;
    else if (checkState == cbGrayed)
        state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (inactive)
        state |= DFCS_INACTIVE;
    if (pushed)
        state |= DFCS_PUSHED;
    if (flat)
        state |= DFCS_FLAT;
    DrawFrameControl(c, r, DFC_BUTTON, state);
}

// ---- library-drawn glyphs --------------------------------------------------

// Fills glyph squares in the glyph colours: classic solid (embossed when disabled),
// themed as gradient rows from top to bottom.
void PaintGlyphRects(TCanvas* c, const std::vector<TRect>& rects, bool themed, bool enabled, bool darkerAtTop)
{
    if (!themed) {
        if (!enabled) {
            for (TRect r : rects) {
                OffsetRect(r, 1, 1);
                c->FillRect(r, clBtnHighlight);
            }
        }
        for (const TRect& r : rects)
            c->FillRect(r, enabled ? clBtnText : clBtnShadow);
        return;
    }
    const TColor dark = enabled ? BlendColors(cl3DDkShadow, clBlack, 30) : clGrayText;
    const TColor light = enabled ? TColor(ColorToRGB(cl3DDkShadow)) : BlendColors(clGrayText, clWhite, 30);
    for (const TRect& r : rects) {
        std::vector<TPoint> pts;
        for (int y = r.Top; y < r.Bottom; ++y) {
            pts.push_back(TPoint(r.Left, y));
            pts.push_back(TPoint(r.Right, y));
        }
        DrawGradientSegments(c, TPoint(0, 0), pts, darkerAtTop ? light : dark, darkerAtTop ? dark : light);
    }
}

void DrawEllipsisGlyph(TCanvas* c, const TRect& face, bool pressed, bool enabled, bool themed)
{
    const int w = face.Width();
    const int dot = w <= 7 ? 1 : 2;
    const int gap = w < 12 ? 1 : 2;
    const int total = 3 * dot + 2 * gap;
    int x = face.Left + (w - total) / 2;
    int y = face.Top + (face.Height() - dot) / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    std::vector<TRect> dots;
    for (int i = 0; i < 3; ++i)
        dots.push_back(TRect(x + i * (dot + gap), y, x + i * (dot + gap) + dot, y + dot));
    PaintGlyphRects(c, dots, themed, enabled, true);
}

void DrawPlusMinusGlyph(TCanvas* c, const TRect& face, bool plus, bool flat, bool pressed, bool enabled, bool themed)
{
    const int s = qMin(face.Width(), face.Height());
    int len = qMax(1, s * 4 / 7);
    const int thick = qMax(1, len / 3);
    if ((len & 1) != (s & 1))
        len += flat ? -1 : 1;
    if (plus && (len & 1) != (thick & 1))
        len += s < 12 ? 1 : -1;
    len = qMax(1, len);
    int x = face.Left + (face.Width() - len) / 2;
    int y = face.Top + (face.Height() - thick) / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    std::vector<TRect> bars{TRect(x, y, x + len, y + thick)};
    if (plus) {
        const int vx = x + (len - thick) / 2;
        const int vy = y - (len - thick) / 2;
        bars.push_back(TRect(vx, vy, vx + thick, vy + len));
    }
    PaintGlyphRects(c, bars, themed, enabled, true);
}

int ArrowWidth(int smallerSide, bool themed)
{
    if (smallerSide >= 19)
        return 9;
    if (smallerSide >= 16)
        return 7;
    if (smallerSide > 11 || themed)
        return 5;
    return 3;
}

void PaintArrowGlyph(TCanvas* c, const TRect& face, ArrowDir dir, bool pressed, bool enabled, bool themed)
{
    const int width = ArrowWidth(qMin(face.Width(), face.Height()), themed);
    const int rows = width / 2 + 1;
    int x = face.Left + (face.Width() - width) / 2;
    int y = face.Top + (face.Height() - rows) / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    if (!themed) {
        FillArrow(c, x, y, width, dir, enabled ? clWindowText : clGrayText);
        return;
    }
    // Gradient rows, the darker colour at the arrow's base.
    std::vector<TRect> lines;
    for (int i = 0; i < rows; ++i) {
        const int inset = dir == ArrowDown ? i : rows - 1 - i;
        lines.push_back(TRect(x + inset, y + i, x + width - inset, y + i + 1));
    }
    PaintGlyphRects(c, lines, true, enabled, dir == ArrowDown);
}

// ---- face painters ---------------------------------------------------------

void PaintClassicButtonFace(TCanvas* c, TRect r, bool pressed, bool flat)
{
    if (flat) {
        c->FillRect(r, clBtnFace);
    } else {
        DrawEdge(c, r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

void PaintThemedButtonFace(TCanvas* c, const TRect& r, bool pressed, bool hot, bool enabled, bool flat)
{
    TColor top = clBtnHighlight;
    TColor bottom = clBtnFace;
    if (!enabled)
        top = bottom = clBtnFace;
    else if (pressed)
        std::swap(top, bottom);
    else if (hot || flat)
        top = BlendColors(clHighlight, clWindow, 80);
    c->FillRect(r, bottom);
    FillGradientRect(c, r, top, bottom);
    c->Brush()->SetColor(enabled ? clBtnShadow : clGrayText);
    c->FrameRect(r);
}

// Paints the face of every style but the check box into R (the face rectangle).
void PaintStyleFace(TCanvas* c, const TRect& r, TDrawButtonControlStyleGx style, bool flat, bool pressed,
                    bool active, bool enabled, bool downDirect)
{
    const bool themed = IsThemingActive();
    TRect face = r;
    TClipRegion savedClip;
    bool clipped = false;
    const bool classicFlat = flat && !themed;
    if (classicFlat) {
        // The face is painted larger than the rectangle, so that its own border
        // falls outside, and then framed with a thin edge.
        savedClip = c->GetClipRegion();
        TRect inner = r;
        InflateRect(inner, -1, -1);
        c->IntersectClipRect(inner);
        clipped = true;
        InflateRect(face, active ? 1 : 2, active ? 1 : 2);
    }

    if (style == bcsDropDownGx || style == bcsUpDownGx) {
        const ArrowDir dir = style == bcsUpDownGx && !downDirect ? ArrowUp : ArrowDown;
        if (themed) {
            PaintThemedButtonFace(c, face, pressed, active, enabled, false);
            PaintArrowGlyph(c, face, dir, pressed, enabled, true);
        } else {
            const unsigned kind = style == bcsDropDownGx ? DFCS_SCROLLCOMBOBOX : dir == ArrowUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
            DrawScrollFace(c, face, kind, pressed, false, !enabled);
        }
    } else {
        // The glyph is sized on the face as it shows: inside the raised edge, or for a
        // flat button inside its thin edge (not on the larger face painted under the clip).
        TRect inner = classicFlat ? r : face;
        if (themed) {
            PaintThemedButtonFace(c, face, pressed, active, enabled, flat);
        } else {
            PaintClassicButtonFace(c, face, pressed, flat && !classicFlat);
            InflateRect(inner, classicFlat ? -1 : -2, classicFlat ? -1 : -2);
        }
        switch (style) {
        case bcsEllipsisGx:
            DrawEllipsisGlyph(c, inner, pressed, enabled, themed);
            break;
        case bcsPlusGx:
        case bcsMinusGx:
            DrawPlusMinusGlyph(c, inner, style == bcsPlusGx, flat, pressed, enabled, themed);
            break;
        case bcsAltDropDownGx:
            PaintArrowGlyph(c, inner, ArrowDown, pressed, enabled, themed);
            break;
        case bcsAltUpDownGx:
            PaintArrowGlyph(c, inner, downDirect ? ArrowDown : ArrowUp, pressed, enabled, themed);
            break;
        default:
            break;
        }
    }

    if (clipped) {
        c->SelectClipRegion(savedClip);
        DrawEdge(c, r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void PaintCheckFace(TCanvas* c, const TRect& r, bool flat, bool pressed, bool active, bool enabled, TCheckBoxState state)
{
    if (IsThemingActive()) {
        TRect box = r;
        c->FillRect(box, enabled ? (pressed ? clBtnFace : active ? BlendColors(clHighlight, clWindow, 85) : clWindow) : clBtnFace);
        c->Brush()->SetColor(enabled ? BlendColors(clHighlight, clBtnShadow, 50) : clGrayText);
        c->FrameRect(box);
        InflateRect(box, -1, -1);
        if (state == cbGrayed) {
            InflateRect(box, -2, -2);
            c->FillRect(box, enabled ? clBtnShadow : clGrayText);
        } else if (state == cbChecked) {
            DrawCheckMark(c, box, enabled ? clWindowText : clGrayText);
        }
        return;
    }
    DrawCheckFace(c, r, state, pressed, flat, !enabled);
}

// Paints one face of the key, at rectangle R, directly or through the cache.
void PaintFace(TCanvas* c, const TRect& r, const TButtonBitmapInfoGx& info)
{
    if (info.BitmapType == bcsCheckboxGx)
        PaintCheckFace(c, r, info.Flat, info.Pressed, info.Active, info.Enabled, info.CheckState);
    else if (int(info.BitmapType) >= 0 && int(info.BitmapType) <= int(bcsAltUpDownGx))
        PaintStyleFace(c, r, info.BitmapType, info.Flat, info.Pressed, info.Active, info.Enabled, info.DownDirect);
}

void DrawFace(TCanvas* c, const TRect& r, TButtonBitmapInfoGx info)
{
    if (r.IsEmpty())
        return;
    info.Size = TSize(r.Width(), r.Height());
    if (!ButtonsBitmapCacheEnabled) {
        PaintFace(c, r, info);
        return;
    }
    TBitmap* bmp = ButtonsBitmapCache()->GetButtonBitmap(info);
    if (bmp->Width() == r.Width() && bmp->Height() == r.Height())
        c->Draw(r.Left, r.Top, *bmp);
    else
        c->StretchDraw(r, *bmp);
}

std::unique_ptr<TButtonsBitmapCache>& CacheInstance()
{
    static std::unique_ptr<TButtonsBitmapCache> cache;
    return cache;
}

} // namespace

// ---------------------------------------------------------------------------

TButtonsBitmapCache::TButtonsBitmapCache() = default;

TButtonsBitmapCache::~TButtonsBitmapCache()
{
    Clear();
}

TBitmap* TButtonsBitmapCache::GetButtonBitmap(const TButtonBitmapInfoGx& requested)
{
    TButtonBitmapInfoGx info = requested;
    info.Size.cx = qMax(0, info.Size.cx);
    info.Size.cy = qMax(0, info.Size.cy);
    for (TButtonBitmapInfoBitmapGx* entry : std::as_const(FList))
        if (entry->BitmapInfo == info)
            return entry->Bitmap.get();
    auto* entry = new TButtonBitmapInfoBitmapGx{info, std::make_unique<TBitmap>(info.Size.cx, info.Size.cy)};
    FList.append(entry);
    if (info.Size.cx > 0 && info.Size.cy > 0) {
        TCanvas* c = entry->Bitmap->Canvas();
        PaintFace(c, TRect(0, 0, info.Size.cx, info.Size.cy), info);
        c->Release();
    }
    return entry->Bitmap.get();
}

void TButtonsBitmapCache::Clear()
{
    for (TButtonBitmapInfoBitmapGx* entry : std::as_const(FList))
        delete entry;
    FList.clear();
}

TButtonsBitmapCache* ButtonsBitmapCache()
{
    InitToolCtrlsGx();
    return CacheInstance().get();
}

void FlushButtonsBitmapCache()
{
    ButtonsBitmapCache()->Clear();
}

void DrawEditButtonFace(TCanvas* canvas, const TRect& rect, TColor parentColor,
                        TDrawButtonControlStyleGx style, int downButton, bool flat, bool active,
                        bool enabled, TCheckBoxState checkState)
{
    const bool themed = IsThemingActive();
    TButtonBitmapInfoGx info;
    info.BitmapType = style;
    info.Flat = flat;
    info.Active = active;
    info.Enabled = enabled;
    info.CheckState = checkState;

    if (style == bcsCheckboxGx) {
        const int side = qMin(rect.Width(), rect.Height());
        TRect r(rect.Left + (rect.Width() - side) / 2, rect.Top + (rect.Height() - side) / 2, 0, 0);
        r.Right = r.Left + side;
        r.Bottom = r.Top + side;
        if (flat && !themed)
            InflateRect(r, -1, -1);
        info.Pressed = downButton != 0;
        DrawFace(canvas, r, info);
        if (flat) {
            if (!themed)
                InflateRect(r, 1, 1);
            if (active && !themed) {
                DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT);
                return;
            }
            canvas->Brush()->SetColor(parentColor);
            canvas->FrameRect(r);
        }
        return;
    }

    TRect r = rect;
    const bool framed = flat && !active && !themed;
    TClipRegion savedClip;
    if (framed) {
        InflateRect(r, -1, -1);
        if (!ButtonsBitmapCacheEnabled) {
            savedClip = canvas->GetClipRegion();
            canvas->IntersectClipRect(r);
        }
    }
    if (style == bcsUpDownGx || style == bcsAltUpDownGx) {
        const int half = r.Height() / 2;
        TRect upper(r.Left, r.Top, r.Right, r.Top + half);
        TRect lower(r.Left, r.Bottom - half, r.Right, r.Bottom);
        if (framed) {
            upper.Bottom -= 1;
            lower.Top += 1;
        }
        info.Pressed = downButton == 1;
        info.DownDirect = false;
        DrawFace(canvas, upper, info);
        info.Pressed = downButton == 2;
        info.DownDirect = true;
        DrawFace(canvas, lower, info);
        if (lower.Top > upper.Bottom)
            canvas->FillRect(TRect(r.Left, upper.Bottom, r.Right, lower.Top), parentColor);
    } else {
        info.Pressed = downButton != 0;
        DrawFace(canvas, r, info);
    }
    if (framed) {
        if (!ButtonsBitmapCacheEnabled)
            canvas->SelectClipRegion(savedClip);
        canvas->Brush()->SetColor(parentColor);
        canvas->FrameRect(rect);
    }
}

int CalcFlatEditButtonWidthFor(int textHeight, bool themed, int scrollBarWidth)
{
    int w = int(std::nearbyint(textHeight * 2.0 / 3.0));
    if (themed) {
        if (w % 2 == 1)
            ++w;
    } else if (w % 2 == 0) {
        ++w;
    }
    return qMin(w, scrollBarWidth);
}

int CalcFlatEditButtonWidth()
{
    const QFontMetrics fm(QApplication::font());
    return CalcFlatEditButtonWidthFor(fm.height(), IsThemingActive(), QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

int GetDefaultFlatButtonWidth()
{
    InitToolCtrlsGx();
    return FlatEditButtonWidth;
}

int CalcEditButtonHeight(int width, bool flat)
{
    return flat ? int(std::nearbyint(width * 3.0 / 2.0)) : width;
}

int DefaultEditButtonHeight(int buttonWidth, bool flat)
{
    return CalcEditButtonHeight(buttonWidth, flat);
}

void InitToolCtrlsGx()
{
    if (CacheInstance())
        return;
    CacheInstance() = std::make_unique<TButtonsBitmapCache>();
    FlatEditButtonWidth = CalcFlatEditButtonWidth();
}
