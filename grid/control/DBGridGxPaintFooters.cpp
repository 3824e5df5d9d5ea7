// The indicator column (record glyphs, record numbers, selected rows, the
// record count) and the footer cells with their values.
#include "DBGridGx.h"
#include "DBGridGxPaint.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxPaintText.h"
#include "DBGridGxRoutines.h"
#include "DBGridGxStyle.h"
#include "DBGridGxTextRoutines.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/gui/DrawUtils.h"
#include <cmath>

// ---------------------------------------------------------------- footer values

namespace {

bool IsIntegerFieldType(TFieldType t)
{
    return t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc || t == ftLargeint;
}

QString NumericDisplayFormat(TField* field)
{
    auto* numeric = dynamic_cast<TNumericField*>(field);
    return numeric ? numeric->DisplayFormat() : QString();
}

constexpr int CurrencyDecimalsGx = 2;

} // namespace

QString FormatFooterSumGx(TField* Field, const QString& FooterFormat, Currency Value)
{
    const TFieldType type = Field->DataType();
    const QString fieldFormat = NumericDisplayFormat(Field);
    if (IsIntegerFieldType(type)) {
        if (!FooterFormat.isEmpty())
            return FormatFloat(FooterFormat, Value.ToDouble());
        if (!fieldFormat.isEmpty())
            return FormatFloat(fieldFormat, Value.ToDouble());
        // The whole 64-bit value, rounded to an integer (ties to even).
        const qint64 raw = Value.Raw();
        qint64 whole = raw / Currency::Scale;
        const qint64 rest = raw % Currency::Scale;
        const qint64 half = Currency::Scale / 2;
        if (rest > half || (rest == half && (whole % 2) != 0))
            ++whole;
        else if (rest < -half || (rest == -half && (whole % 2) != 0))
            --whole;
        return IntToStr(whole);
    }
    if (type == ftFloat || type == ftCurrency) {
        if (!FooterFormat.isEmpty())
            return FormatFloat(FooterFormat, Value.ToDouble());
        if (!fieldFormat.isEmpty())
            return FormatFloat(fieldFormat, Value.ToDouble());
        auto* f = dynamic_cast<TFloatField*>(Field);
        const bool currency = f && f->Currency_();
        return FloatToStrF(Value.ToDouble(), currency ? ffCurrency : ffGeneral, f ? f->Precision() : 15,
                           currency ? CurrencyDecimalsGx : 0);
    }
    if (type == ftBCD || type == ftFMTBcd) {
        // Exact decimals: the value is formatted as the decimal it is.
        if (!FooterFormat.isEmpty())
            return FormatCurr(FooterFormat, Value);
        if (!fieldFormat.isEmpty())
            return FormatCurr(fieldFormat, Value);
        return CurrToStr(Value);
    }
    return QStringLiteral("0");
}

QString TCustomDBGridGx::GetFooterValue(int Row, TColumnGx* Column)
{
    TColumnFooterGx* footer = Column->UsedFooter(Row);
    if (!footer)
        return QString();
    switch (footer->ValueType()) {
    case fvtSum:
    case fvtAvg: {
        TDataSet* ds = DataSet();
        if (!ds)
            return QStringLiteral("0");
        TField* field = ds->FindField(footer->FieldName().isEmpty() ? Column->FieldName() : footer->FieldName());
        if (!field)
            return QStringLiteral("0");
        TDBSum* sum = FSumList->SumCollection()->GetSumByOpAndFName(footer->ValueType() == fvtSum ? goSum : goAvg,
                                                                    field->FieldName());
        if (!sum)
            return QStringLiteral("0");
        return FormatFooterSumGx(field, footer->DisplayFormat(), sum->SumValue);
    }
    case fvtCount: {
        TDBSum* sum = FSumList->SumCollection()->GetSumByOpAndFName(goCount, QString());
        if (!sum)
            return QString();
        const double count = sum->SumValue.ToDouble();
        return footer->DisplayFormat().isEmpty() ? FloatToStr(count) : FormatFloat(footer->DisplayFormat(), count);
    }
    case fvtFieldValue: {
        TDataSet* ds = DataSet();
        if (!ds || !ds->Active() || footer->FieldName().isEmpty())
            return QString();
        // A field the dataset lacks shows nothing rather than failing the paint.
        TField* field = ds->FindField(footer->FieldName());
        return field ? FormatFieldValueGx(field, footer->DisplayFormat()) : QString();
    }
    case fvtStaticText: return footer->Value();
    default: return QString();
    }
}

void TCustomDBGridGx::GetFooterParams(int DataCol, int Row, TColumnGx* Column, TFont* AFont, TColor& Background,
                                      TAlignment& Alignment, TGridDrawState State, QString& Text)
{
    if (OnGetFooterParams)
        OnGetFooterParams(this, DataCol, Row, Column, AFont, Background, Alignment, State, Text);
}

void TCustomDBGridGx::InvalidateFooter()
{
    const int full = FullRowCount();
    for (int i = 0; i < FFooterRowCount; ++i)
        TCustomGridGx::InvalidateRow(full - 1 - i);
}

void TCustomDBGridGx::InvalidateTitle()
{
    for (int i = 0; i < TopDataOffset(); ++i)
        TCustomGridGx::InvalidateRow(i);
}

void TCustomDBGridGx::DefaultDrawFooterCell(const TRect& Rect, int DataCol, int Row, TColumnGx* Column,
                                            TGridDrawState State)
{
    TCanvas* canvas = Canvas();
    TRect r = Rect;
    int margin = 2;
    if (FOptionsGx.Contains(dghFooter3D)) {
        InflateRect(r, -1, -1);
        margin = 1;
    }
    const int vertMargin = Flat() ? margin - 1 : margin;
    TColumnFooterGx* footer = Column->UsedFooter(Row);
    QString text = GetFooterValue(Row, Column);
    TColor background = canvas->Brush()->Color();
    TAlignment alignment = footer->Alignment();
    GetFooterParams(DataCol, Row, Column, canvas->Font(), background, alignment, State, text);
    canvas->Brush()->SetColor(background);
    WriteCellText(Column, r, true, margin, vertMargin, text, alignment, Column->Layout(),
                  footer->WordWrap() && FAllowWordWrap, footer->EndEllipsis(), 0, 0);
}

// ---------------------------------------------------------------- footer cells

int TCustomDBGridGx::FooterGridRow(int Row) const
{
    return FullRowCount() - FFooterRowCount + Row;
}

void TCustomDBGridGx::DrawFooterCell(int DataCol, int Row, TRect ARect, TGridDrawState AState)
{
    if (DataCol < 0 || DataCol >= FColumns->Count())
        return;
    TCanvas* canvas = Canvas();
    TColumnGx* column = FColumns->GetColumn(DataCol);
    TColumnFooterGx* footer = column->UsedFooter(Row);
    canvas->SetFont(*footer->Font());
    canvas->Brush()->SetColor(footer->Color());
    const int aCol = DataToRawColumn(DataCol), aRow = FooterGridRow(Row);
    const bool is3D = IsCell3D(aCol, aRow, AState, ARect);
    const bool themed = IsThemedCell(is3D);
    TRect p = ARect;
    int offset = 2;
    if (is3D) {
        offset = themed ? 3 : 1;
        Adjust3DPaintRect(p, themed);
    }
    const int topOffset = Flat() ? offset - 1 : offset;
    TColCellParamsGx& params = FColCellParamsGx;
    params.Background = canvas->Brush()->Color();
    params.Alignment = footer->Alignment();
    params.Text = GetFooterValue(Row, column);
    GetFooterParams(DataCol, Row, column, canvas->Font(), params.Background, params.Alignment, AState, params.Text);
    const bool selected = IsCellSelected(aCol, aRow, TBookmark(), DataCol);
    const bool highlight = CalcHighlightColorsGx(selected, false, params.Background, canvas->Font());
    canvas->Brush()->SetColor(params.Background);
    if (FDefaultDrawing) {
        bool filled = false;
        if (is3D && (themed || (Flat() && IsThemingActive()))) {
            PaintCellBackground(themed, p, true, nullptr, highlight, false);
            filled = true;
        }
        WriteCellText(column, p, !filled, offset, topOffset, params.Text, params.Alignment, column->Layout(),
                      footer->WordWrap() && FAllowWordWrap, footer->EndEllipsis(), 0, 0);
    }
    if (is3D && !themed) {
        canvas->Brush()->SetColor(params.Background);
        DrawCellFrame(canvas, ARect, !(Flat() && IsThemingActive()), true, highlight, false);
    }
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, DataCol, Row, column, ARect, AState);
}

// ---------------------------------------------------------------- indicator cells

bool TCustomDBGridGx::IsIndicatorRowSelected(int)
{
    if (!FOptions.Contains(dgMultiSelect) || !FDataLink->Active())
        return false;
    const TDBGridGxSelectionType type = SelectionType();
    if (type == gstAll)
        return true;
    if (type != gstRecordBookmarks)
        return false;
    return FBookmarks->IndexOf(DataSet()->GetBookmark()) >= 0;
}

void TCustomDBGridGx::PaintRecNoText(const TRect& Box, int Number)
{
    if (Number < 1)
        return;
    TCanvas* canvas = Canvas();
    TFont saved;
    saved.Assign(*canvas->Font());
    canvas->Font()->SetSize(canvas->Font()->Size() - 1);
    WriteCellText(nullptr, Box, false, 0, 0, QString::number(Number), taCenter, tlCenter, true, false, 0, 0);
    canvas->SetFont(saved);
}

void TCustomDBGridGx::DrawIndicatorCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(ACol, ARow, dataCol, dataRow);
    canvas->SetFont(*Font());
    canvas->Brush()->SetColor(FixedColor());
    const bool is3D = IsCell3D(ACol, ARow, AState, ARect);
    const bool themed = IsThemedCell(is3D);
    TRect p = ARect;
    if (is3D)
        Adjust3DPaintRect(p, themed);
    const bool showRecNo = FOptionsGx.Contains(dghShowRecNo);
    int glyphWidth = FOptions.Contains(dgIndicator) ? 11 : 0;
    if (showRecNo && glyphWidth != 0)
        glyphWidth -= 2;
    const int glyphY = showRecNo ? 0 : 1;
    bool allSelected = SelectionType() == gstAll;
    bool highlighted = false;
    const bool titlePressed = FIndicatorTitle->Down() && FPressed;

    if (kind.RowKind == crkTitleGx) {
        TColor back = FixedColor();
        if (allSelected)
            highlighted = CalcHighlightColorsGx(true, true, back, canvas->Font());
        canvas->Brush()->SetColor(back);
        PaintCellBackground(themed, p, is3D, nullptr, false, allSelected);
        if (FIndicatorTitle->ShowDropDownSign()) {
            const int d = titlePressed ? 2 : 0;
            DrawIndicatorDropDownSign(TRect(p.Right + d - 12, p.Top + d, p.Right, p.Bottom));
        }
    } else if (kind.RowKind == crkDataGx && FDataLink->Active()) {
        int recNo = 0;
        bool current = false;
        TDataSetState dsState = dsBrowse;
        const bool inside = dataRow >= 0 && dataRow < DrawRecordCount();
        if (inside) {
            SelectDrawRecord(dataRow);
            struct Restore {
                TCustomDBGridGx* g;
                ~Restore() { g->RestoreDrawRecord(); }
            } restore{this};
            allSelected = IsIndicatorRowSelected(ARow);
            recNo = DataSet()->RecNo();
            current = FOldActiveRecord == dataRow;
            dsState = DataSet()->State();
        }
        TColor back = FixedColor();
        if (current && IsThemingActive())
            back = MixColorBy255(back, clBlack, 25);
        if (allSelected)
            highlighted = CalcHighlightColorsGx(true, true, back, canvas->Font());
        canvas->Brush()->SetColor(back);
        PaintCellBackground(themed, p, is3D, nullptr, false, highlighted);
        if (FOptions.Contains(dgIndicator) && current) {
            int glyph = 0;
            switch (dsState) {
            case dsBrowse: glyph = allSelected ? 1 : (FInplaceSearching ? 4 : 0); break;
            case dsEdit: glyph = 2; break;
            case dsInsert: glyph = 3; break;
            default: glyph = 0; break;
            }
            TRect box(p.Right - glyphWidth, p.Top, p.Right, p.Bottom);
            OffsetRect(box, 0, glyphY);
            DrawIndicatorGlyph(box, glyph);
            FSelRow = TopDataOffset() + dataRow;
        }
        if (showRecNo && inside && !(dsState == dsInsert && current))
            PaintRecNoText(TRect(p.Left, p.Top, p.Right - glyphWidth, p.Bottom), recNo);
    } else {
        TColor back = FixedColor();
        if (allSelected)
            highlighted = CalcHighlightColorsGx(true, true, back, canvas->Font());
        canvas->Brush()->SetColor(back);
        PaintCellBackground(themed, p, is3D, nullptr, false, highlighted);
        if (showRecNo && kind.RowKind == crkFooterGx && dataRow == 0 && FDataLink->Active()) {
            TDataSet* ds = DataSet();
            const bool insertingFirst = ds->State() == dsInsert && FDataLink->ActiveRecord() == 0;
            if (!insertingFirst)
                PaintRecNoText(TRect(p.Left, p.Top, p.Right - glyphWidth, p.Bottom), ds->RecordCount());
        }
    }
    if (is3D && !themed) {
        canvas->Brush()->SetColor(FixedColor());
        DrawCellFrame(canvas, ARect, !(Flat() && IsThemingActive()), true, highlighted,
                      kind.RowKind == crkTitleGx && titlePressed);
    }
}
