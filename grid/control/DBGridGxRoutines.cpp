#include "DBGridGxRoutines.h"
#include "grid/support/ToolCtrlsGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Canvas.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include <QApplication>
#include <QColor>
#include <algorithm>
#include <cmath>

QString FormatFieldValueGx(TField* field, const QString& displayFormat)
{
    if (!field)
        return QString();
    if (displayFormat.isEmpty())
        return field->DisplayText();
    if (field->IsNull())
        return QString();
    switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
    case ftAutoInc: case ftLargeint:
        return FormatFloat(displayFormat, field->AsFloat());
    case ftDate: case ftTime: case ftDateTime:
        return FormatDateTime(displayFormat, field->AsDateTime());
    default:
        // A format for numbers or dates says nothing about text: the text shows as it is.
        return field->DisplayText();
    }
}

bool IsFieldReadOnlyForGrid(TField* field)
{
    if (!field)
        return true;
    if (field->ReadOnly())
        return true;
    if (field->Lookup() && !field->KeyFields.isEmpty()) {
        TDataSet* ds = field->DataSet();
        if (!ds)
            return true;
        try {
            const TFieldsArrGx keys = FieldsToArray(ds, nullptr, field->KeyFields);
            return std::all_of(keys.begin(), keys.end(), [](TField* k) { return k->ReadOnly(); });
        } catch (const EDatabaseError&) {
            return true;
        }
    }
    return false;
}

bool AllFieldsCanModify(const std::vector<TField*>& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](TField* f) { return f && f->CanModify(); });
}

int FieldIntegerValue(TField* field, int defaultValue)
{
    if (!field || field->IsNull())
        return defaultValue;
    switch (field->DataType()) {
    case ftSmallint: case ftWord: case ftInteger: case ftAutoInc:
        return field->AsInteger();
    case ftLargeint: {
        const qint64 v = field->AsLargeInt();
        return (v >= -2147483648LL && v <= 2147483647LL) ? int(v) : defaultValue;
    }
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: {
        const double v = field->AsFloat();
        return (v >= -2147483648.0 && v <= 2147483647.0) ? int(v) : defaultValue;
    }
    default:
        return defaultValue;
    }
}

namespace {

QColor Rgb(TColor c)
{
    const TColor v = ColorToRGB(c);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

TColor FromRgb(int r, int g, int b)
{
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    return TColor(clamp(r) | (clamp(g) << 8) | (clamp(b) << 16));
}

} // namespace

TColor ApproachColor(TColor fromColor, TColor toColor, double amount)
{
    const QColor f = Rgb(fromColor), t = Rgb(toColor);
    auto step = [amount](int a, int b) { return a + int(std::lround((b - a) / 255.0 * amount)); };
    return FromRgb(step(f.red(), t.red()), step(f.green(), t.green()), step(f.blue(), t.blue()));
}

TColor LightenColor(TColor color, TColor glassColor, bool ungray)
{
    const QColor a = Rgb(color), g = Rgb(glassColor);
    auto comp = [ungray](int ca, int cg) {
        double c = ca + (cg - ca) * 0.5;
        c = c + (225 - c) * 0.6;
        if (ungray)
            c = c - (122 - c) * 0.25;
        return int(std::lround(c));
    };
    return FromRgb(comp(a.red(), g.red()), comp(a.green(), g.green()), comp(a.blue(), g.blue()));
}

namespace {
int gWaitDepth = 0;
}

void BeginWaitCursor()
{
    if (gWaitDepth++ == 0 && qApp)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void EndWaitCursor()
{
    if (gWaitDepth == 0)
        return;
    if (--gWaitDepth == 0 && qApp)
        QApplication::restoreOverrideCursor();
}

int WaitCursorDepth() { return gWaitDepth; }

int MeasureTextWidth(TCanvas* canvas, const QString& text) { return canvas->TextWidth(text); }

void SwapRectSize(TRect& rect)
{
    const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
    rect.Right = rect.Left + h;
    rect.Bottom = rect.Top + w;
}

void RefreshOwnFontGx(TFont& own, const TFont* defaultFont, bool& refreshing)
{
    if (!defaultFont || defaultFont == &own || own == *defaultFont)
        return;
    refreshing = true;
    own.Assign(*defaultFont);
    refreshing = false;
}
