#include "DBGridGxPaintText.h"
#include "DBGridGxStyle.h"
#include "DBGridGxTextRoutines.h"
#include "DBGridGxUnit.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <algorithm>
#include <memory>

namespace {

// The twenty static colours of a palette display, as RGB triples.
constexpr int StaticPaletteGx[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

// The brush of the canvas made clear for one call and given back afterwards.
class TClearBrushScope {
public:
    TClearBrushScope(TCanvas* canvas, bool clear) : FCanvas(clear ? canvas : nullptr)
    {
        if (!FCanvas)
            return;
        FStyle = canvas->Brush()->Style();
        FColor = canvas->Brush()->Color();
        canvas->Brush()->SetStyle(bsClear);
    }
    ~TClearBrushScope()
    {
        if (!FCanvas)
            return;
        FCanvas->Brush()->SetColor(FColor);
        FCanvas->Brush()->SetStyle(FStyle);
    }
    TClearBrushScope(const TClearBrushScope&) = delete;
    TClearBrushScope& operator=(const TClearBrushScope&) = delete;

private:
    TCanvas* FCanvas;
    TBrushStyle FStyle = bsSolid;
    TColor FColor = clWhite;
};

// The shared text bitmap grown to at least the size; a bitmap of the call's own
// while no grid holds the shared one.
TBitmap* TextBitmapFor(int width, int height, std::unique_ptr<TBitmap>& own)
{
    TBitmap* b = DBGridGxSharedTextBitmap();
    if (!b) {
        own = std::make_unique<TBitmap>();
        b = own.get();
    }
    const int w = std::max(b->Width(), width), h = std::max(b->Height(), height);
    if (w != b->Width() || h != b->Height())
        b->SetSize(w, h);
    return b;
}

// The bitmap's canvas takes the cell canvas's font and a solid brush of its colour.
TCanvas* PrepareBitmapCanvas(TBitmap* bitmap, TCanvas* cell)
{
    TCanvas* c = bitmap->Canvas();
    c->SetFont(*cell->Font());
    c->Brush()->SetColor(cell->Brush()->Color());
    c->Brush()->SetStyle(bsSolid);
    return c;
}

// The multi-line drawing steps (no filling).
void DrawMultiLineText(TCanvas* canvas, const TRect& rect, int dx, int dy, const QString& text, unsigned flags,
                       TTextLayoutGx layout, int leftMarg, int rightMarg)
{
    TDrawTextParams params;
    params.LeftMargin = leftMarg;
    params.RightMargin = rightMarg;
    const TRect inner(rect.Left + dx, rect.Top + dy, rect.Right - dx, rect.Bottom - dy);
    TRect r = inner;
    if (layout == tlCenter || layout == tlBottom) {
        TRect calc = r;
        TDrawTextParams calcParams = params;
        DrawTextEx(canvas, text, calc, flags | DT_CALCRECT, &calcParams);
        const int h = calc.Bottom - calc.Top;
        if (layout == tlCenter)
            r.Top = r.Top + (r.Bottom - r.Top) / 2 - h / 2;
        else
            r.Top = r.Bottom - h;
    }
    if (dx > 0)
        r.Bottom += 1;
    if (r.Top < inner.Top) {
        const TClipRegion saved = canvas->GetClipRegion();
        canvas->IntersectClipRect(inner);
        DrawTextEx(canvas, text, r, flags, &params);
        canvas->SelectClipRegion(saved);
    } else {
        DrawTextEx(canvas, text, r, flags, &params);
    }
}

unsigned MultiLineFlags(const unsigned table[3], TAlignment alignment, bool multiLine, bool endEllipsis,
                        bool rightToLeftReading)
{
    unsigned flags = table[alignment];
    if (multiLine)
        flags |= DT_WORDBREAK;
    if (endEllipsis)
        flags |= DT_END_ELLIPSIS;
    if (rightToLeftReading)
        flags |= DT_RTLREADING;
    return flags;
}

} // namespace

TColor NearestScreenColorGx(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    const int colors = ScreenColorCountGx();
    if (colors <= 0 || colors > 256)
        return rgb;
    const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 20; ++i) {
        const long dr = r - StaticPaletteGx[i][0], dg = g - StaticPaletteGx[i][1], db = b - StaticPaletteGx[i][2];
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return TColor(StaticPaletteGx[best][0] | (StaticPaletteGx[best][1] << 8) | (StaticPaletteGx[best][2] << 16));
}

bool IsSolidScreenColorGx(TColor color) { return NearestScreenColorGx(color) == ColorToRGB(color); }

QString TruncateWithEllipsis(const QString& text, TCanvas* canvas, int maxWidth)
{
    QString result = text;
    const int length = int(text.size());
    for (int i = 1; i <= length; ++i) {
        if (canvas->TextWidth(result) <= maxWidth)
            break;
        result = text.left(std::max(0, length - i - 1)) + QStringLiteral("...");
    }
    return result;
}

void PaintCellText(TCanvas* canvas, const TRect& rect, bool fillRect, int dx, int dy, const QString& text,
                   TAlignment alignment, TTextLayoutGx layout, bool multiLine, bool endEllipsis, int leftMarg,
                   int rightMarg, bool rightToLeftReading)
{
    if (!IsSolidScreenColorGx(canvas->Brush()->Color())) {
        // Through the shared bitmap: the bitmap is filled evenly, the text drawn
        // over it transparently, and the whole copied onto the cell.
        const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
        if (w <= 0 || h <= 0)
            return;
        std::unique_ptr<TBitmap> own;
        TBitmap* bitmap = TextBitmapFor(w, h, own);
        TCanvas* bc = PrepareBitmapCanvas(bitmap, canvas);
        const TRect br(0, 0, w, h);
        bc->FillRect(br);
        bc->SetBkMode(TRANSPARENT);
        DrawMultiLineText(bc, br, dx, dy, text,
                          MultiLineFlags(CellBitmapTextFlagsGx, alignment, multiLine, endEllipsis, rightToLeftReading),
                          layout, leftMarg, rightMarg);
        bc->SetBkMode(OPAQUE);
        canvas->CopyRect(rect, *bc, br);
        return;
    }
    if (multiLine || leftMarg != 0 || rightMarg != 0) {
        if (fillRect)
            canvas->FillRect(rect);
        TClearBrushScope clear(canvas, !fillRect);
        DrawMultiLineText(canvas, rect, dx, dy, text,
                          MultiLineFlags(CellTextFlagsGx, alignment, multiLine, endEllipsis, rightToLeftReading),
                          layout, leftMarg, rightMarg);
        return;
    }
    const QString shown = endEllipsis ? TruncateWithEllipsis(text, canvas, rect.Right - rect.Left - dx) : text;
    int width;
    if (alignment != taLeftJustify && (canvas->Font()->Style() & (fsBold | fsItalic)))
        width = TextWidthWithOverhang(canvas, shown);
    else
        width = canvas->TextWidth(shown);
    int x;
    switch (alignment) {
    case taRightJustify: x = rect.Right - width - 3; break;
    case taCenter: x = rect.Right > rect.Left ? rect.Left + (rect.Right - rect.Left) / 2 - width / 2 : 0; break;
    default: x = rect.Left + dx; break;
    }
    int y = rect.Top;
    if (layout != tlTop) {
        const int height = canvas->TextHeight(shown);
        if (height < rect.Bottom - rect.Top - dy) {
            if (layout == tlCenter)
                y = (rect.Top + rect.Bottom - height) / 2 - dy;
            else
                y = rect.Bottom - height - dy;
        }
    }
    TClearBrushScope clear(canvas, !fillRect);
    canvas->TextRect(rect, x, y + dy, shown);
}

void PaintCellTextSimple(TCanvas* canvas, const TRect& rect, int dx, int dy, const QString& text,
                         TAlignment alignment)
{
    if (IsSolidScreenColorGx(canvas->Brush()->Color())) {
        int x = rect.Left + dx;
        if (alignment == taRightJustify)
            x = rect.Right - canvas->TextWidth(text) - 3;
        else if (alignment == taCenter)
            x = rect.Right > rect.Left ? rect.Left + (rect.Right - rect.Left) / 2 - canvas->TextWidth(text) / 2 : 0;
        canvas->TextRect(rect, x, rect.Top + dy, text);
        return;
    }
    const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
    if (w <= 0 || h <= 0)
        return;
    std::unique_ptr<TBitmap> own;
    TBitmap* bitmap = TextBitmapFor(w, h, own);
    TCanvas* bc = PrepareBitmapCanvas(bitmap, canvas);
    const TRect br(0, 0, w, h);
    bc->FillRect(br);
    bc->SetBkMode(TRANSPARENT);
    TRect tr(dx, dy, w - 1, h - 1);
    DrawText(bc, text, tr, CellBitmapTextFlagsGx[alignment]);
    bc->SetBkMode(OPAQUE);
    canvas->CopyRect(rect, *bc, br);
}

void CreateVerticalFontGx(const TFont& font, TFont& vertical)
{
    vertical.Assign(font);
    vertical.SetOrientation(900);
    if (font.Name() == QStringLiteral("Default"))
        vertical.SetName(QStringLiteral("MS Sans Serif"));
}

int PaintCellTextVertical(TCanvas* canvas, const TRect& rect, bool fillRect, int dx, int dy, const QString& text,
                          TAlignment alignment, TTextLayoutGx layout, bool /*endEllipsis*/, bool calcOnly)
{
    TFont saved;
    saved.Assign(*canvas->Font());
    struct Restore {
        TCanvas* c;
        TFont* f;
        ~Restore() { c->SetFont(*f); }
    } restore{canvas, &saved};
    TFont vertical;
    CreateVerticalFontGx(saved, vertical);
    canvas->SetFont(vertical);

    const int overhang = canvas->FontOverhang();
    const int w = canvas->TextWidth(text) + overhang;
    if (calcOnly)
        return w;
    const int textHeight = canvas->FontHeight();
    const int top = rect.Top, bottom = rect.Bottom;
    int x;
    switch (alignment) {
    case taRightJustify: x = rect.Right - textHeight; break;
    case taCenter: x = rect.Left + (rect.Right - rect.Left) / 2 - (textHeight + overhang) / 2; break;
    default: x = rect.Left + dx; break;
    }
    int y;
    switch (layout) {
    case tlTop: y = top + w; break;
    case tlBottom: y = bottom - dy; break;
    default: y = bottom + w / 2 - (bottom - top) / 2; break;
    }
    if (IsSolidScreenColorGx(canvas->Brush()->Color()) || !fillRect) {
        TClearBrushScope clear(canvas, !fillRect);
        canvas->TextRect(rect, x, y, text);
        return w;
    }
    const int bw = rect.Right - rect.Left, bh = bottom - top;
    if (bw <= 0 || bh <= 0)
        return w;
    std::unique_ptr<TBitmap> own;
    TBitmap* bitmap = TextBitmapFor(bw, bh, own);
    TCanvas* bc = PrepareBitmapCanvas(bitmap, canvas);
    const TRect br(0, 0, bw, bh);
    bc->FillRect(br);
    bc->SetBkMode(TRANSPARENT);
    bc->TextOut(x - rect.Left, y - top, text);
    bc->SetBkMode(OPAQUE);
    bc->SetFont(saved);
    canvas->CopyRect(rect, *bc, br);
    return w;
}

void PaintCellImage(TImageList* imageList, TBitmap* bitmap, TCanvas* canvas, const TRect& rect, int imageIndex,
                    int dx, TAlignment alignment)
{
    if (!imageList && !bitmap)
        return;
    const int width = imageList ? imageList->Width() : bitmap->Width();
    const int height = imageList ? imageList->Height() : bitmap->Height();
    int x;
    switch (alignment) {
    case taRightJustify: x = dx + rect.Right - width; break;
    case taCenter: x = dx + (rect.Left + rect.Right - width) / 2; break;
    default: x = dx + rect.Left; break;
    }
    const int y = (rect.Top + rect.Bottom - height) / 2;
    const bool inside = x >= rect.Left && y >= rect.Top && x + width <= rect.Right && y + height <= rect.Bottom;
    TClipRegion saved;
    if (!inside) {
        saved = canvas->GetClipRegion();
        canvas->IntersectClipRect(rect);
    }
    if (imageList)
        imageList->Draw(canvas, x, y, imageIndex, true);
    else
        canvas->Draw(x, y, *bitmap);
    if (!inside)
        canvas->SelectClipRegion(saved);
}
