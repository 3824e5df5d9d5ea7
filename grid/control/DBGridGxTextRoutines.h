#pragma once
// Small routines of the grid unit around fonts, text measuring, colours and the
// names grids store their layout under.
#include "platform/gui/Graphics.h"
#include <QString>

class QObject;
class TCanvas;

// A font's height, pitch, style, character set, name and colour.
struct TFontDataGx {
    int Height = 0;
    TFontPitch Pitch = fpDefault;
    TFontStyles Style = 0;
    TFontCharset Charset = DEFAULT_CHARSET;
    QString Name;
    TColor Color = clWindowText;
};
void SaveFontData(const TFont& font, TFontDataGx& data);
// Applies the record, setting only the attributes that differ.
void RestoreFontData(const TFontDataGx& data, TFont& font);

// Each channel of color1 moved towards color2 by the difference / 255 * amount,
// truncated, within 0..255.
TColor MixColorBy255(TColor color1, TColor color2, int amount);

// The text width plus the font's overhang for bold or italic fonts.
int TextWidthWithOverhang(TCanvas* canvas, const QString& text);
// Height of the text word-wrapped into the width.
int MeasureWrappedText(TCanvas* canvas, const QString& text, int width);
// Measures the text (word-wrapped or on one line) in the cell width less the
// margin less 2; whether it does not fit the cell.
bool TextExtentFits(TCanvas* canvas, const QString& text, int cellWidth, int cellHeight, int margin, bool wordWrap,
                    int& width, int& height);

// The name a grid stores its layout under: the class name of the form it is on,
// then the name of every object between the form and the grid followed by ".",
// then the grid's name; empty for none. A form itself gives its class name.
QString GridStoragePath(const QObject* grid);
