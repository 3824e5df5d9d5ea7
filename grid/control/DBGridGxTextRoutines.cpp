#include "DBGridGxTextRoutines.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawUtils.h"
#include <QStringList>
#include <QWidget>
#include <algorithm>

void SaveFontData(const TFont& font, TFontDataGx& data)
{
    data.Height = font.Height();
    data.Pitch = font.Pitch();
    data.Style = font.Style();
    data.Charset = font.Charset();
    data.Name = font.Name();
    data.Color = font.Color();
}

void RestoreFontData(const TFontDataGx& data, TFont& font)
{
    if (font.Height() != data.Height)
        font.SetHeight(data.Height);
    if (font.Pitch() != data.Pitch)
        font.SetPitch(data.Pitch);
    if (font.Style() != data.Style)
        font.SetStyle(data.Style);
    if (font.Charset() != data.Charset)
        font.SetCharset(data.Charset);
    if (font.Name() != data.Name)
        font.SetName(data.Name);
    if (font.Color() != data.Color)
        font.SetColor(data.Color);
}

TColor MixColorBy255(TColor color1, TColor color2, int amount)
{
    const TColor a = ColorToRGB(color1), b = ColorToRGB(color2);
    auto channel = [amount](int x, int y) { return std::clamp(int(x + (y - x) / 255.0 * amount), 0, 255); };
    const int r = channel(a & 0xFF, b & 0xFF);
    const int g = channel((a >> 8) & 0xFF, (b >> 8) & 0xFF);
    const int bl = channel((a >> 16) & 0xFF, (b >> 16) & 0xFF);
    return TColor(r | (g << 8) | (bl << 16));
}

int TextWidthWithOverhang(TCanvas* canvas, const QString& text)
{
    int width = canvas->TextWidth(text);
    if (canvas->Font()->Style() & (fsBold | fsItalic))
        width += (canvas->FontAscent() + 2) / 4;
    return width;
}

int MeasureWrappedText(TCanvas* canvas, const QString& text, int width)
{
    TRect r(0, 0, std::max(1, width), 0);
    return DrawText(canvas, text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
}

bool TextExtentFits(TCanvas* canvas, const QString& text, int cellWidth, int cellHeight, int margin, bool wordWrap,
                    int& width, int& height)
{
    const int avail = cellWidth - margin - 2;
    TRect r(0, 0, std::max(1, avail), 0);
    height = DrawText(canvas, text, r, DT_CALCRECT | DT_NOPREFIX | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE));
    width = r.Right - r.Left;
    return width > avail || height > cellHeight;
}

QString GridStoragePath(const QObject* grid)
{
    if (!grid)
        return QString();
    auto isForm = [](const QObject* o) {
        const auto* w = qobject_cast<const QWidget*>(o);
        return w && w->isWindow();
    };
    if (isForm(grid))
        return QString::fromLatin1(grid->metaObject()->className());
    QStringList names{grid->objectName()};
    const QObject* o = grid->parent();
    while (o && !isForm(o)) {
        names.prepend(o->objectName() + QLatin1Char('.'));
        o = o->parent();
    }
    const QString form = o ? QString::fromLatin1(o->metaObject()->className()) : QString();
    return form + names.join(QString());
}
