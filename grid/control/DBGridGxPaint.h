#pragma once
// Small routines of the grid's painting that need no grid: the text of a footer
// sum by the summed field's type, and the place of a picture in a cell.
#include "platform/gui/Graphics.h"
#include "platform/rtl/Currency.h"
#include <QString>

class TField;

// A sum formatted by the field's type: the footer's display format, else the
// field's, else integers as whole numbers (all 64 bits), floats in general
// format (or as currency), exact decimals with their four decimals; any other
// type "0".
QString FormatFooterSumGx(TField* Field, const QString& FooterFormat, Currency Value);
// A picture larger than the cell scaled into it keeping its aspect ratio, centred.
TRect FitPictureRectGx(int PictureWidth, int PictureHeight, const TRect& Cell);
