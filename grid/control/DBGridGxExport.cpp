// The export walk over a grid's selection and the plain formats: tab-separated
// text, UTF-16 text, CSV and the binary interchange format.
#include "DBGridGx.h"
#include "DBGridGxImpExp.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxPaint.h"
#include "DBGridGxStyle.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include <QFile>
#include <QtEndian>

char DBGridGxCSVSeparator = ';';

namespace {

bool IsNumericField(const TField* field)
{
    return dynamic_cast<const TNumericField*>(field) != nullptr;
}

QByteArray Int32Bytes(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

// The class library's comma text: items with blanks, commas or quotes (and empty ones)
// go in double quotes with inner quotes doubled.
QString CommaText(const QStringList& items)
{
    QStringList out;
    for (const QString& s : items) {
        bool quote = s.isEmpty();
        for (QChar c : s)
            if (c.unicode() <= ' ' || c == QLatin1Char(',') || c == QLatin1Char('"'))
                quote = true;
        if (quote) {
            QString q = s;
            q.replace(QLatin1String("\""), QLatin1String("\"\""));
            out << QLatin1Char('"') + q + QLatin1Char('"');
        } else {
            out << s;
        }
    }
    return out.join(QLatin1Char(','));
}

} // namespace

void VisibleGridColumns(TCustomDBGridGx* Grid, int Left, int Right, TColumnsGxList& List)
{
    for (int i = qMax(Left, 0); i <= Right && i < Grid->Columns()->Count(); ++i)
        if (Grid->Columns()->GetColumn(i)->Visible())
            List.Add(Grid->Columns()->GetColumn(i));
}

// ================================================================ the walk

TDBGridGxExport::TDBGridGxExport() = default;
TDBGridGxExport::~TDBGridGxExport() = default;

void TDBGridGxExport::Put(const QByteArray& bytes)
{
    if (FStream->write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("Stream write error"));
}

void TDBGridGxExport::SizeFooterValues(int ColumnCount)
{
    const size_t n = size_t(FDBGridGx->FooterRowCount()) * size_t(ColumnCount);
    FooterValues.assign(n, Currency());
    FooterCounts.assign(n, 0);
}

TField* TDBGridGxExport::FooterField(TColumnGx* Column, int FooterNo)
{
    TColumnFooterGx* footer = Column->UsedFooter(FooterNo);
    TDataSet* ds = FDBGridGx->DataSet();
    if (!footer || !ds)
        return nullptr;
    return ds->FindField(footer->FieldName().isEmpty() ? Column->FieldName() : footer->FieldName());
}

void TDBGridGxExport::AccumulateFooterValues()
{
    const int cols = FExpCols->Count();
    for (int row = 0; row < FDBGridGx->FooterRowCount(); ++row)
        for (int c = 0; c < cols; ++c) {
            TColumnGx* column = FExpCols->GetColumn(c);
            TColumnFooterGx* footer = column->UsedFooter(row);
            if (!footer)
                continue;
            TField* field = FooterField(column, row);
            if (!field)
                continue;
            const size_t at = size_t(c + row * cols);
            switch (footer->ValueType()) {
            case fvtSum:
            case fvtAvg:
                // An average covers the same records as the sums beside it.
                if (!field->IsNull()) {
                    FooterValues[at] += Currency::FromDouble(field->AsFloat());
                    ++FooterCounts[at];
                }
                break;
            case fvtCount:
                FooterValues[at] += Currency::FromInt(1);
                break;
            default: break;
            }
        }
}

void TDBGridGxExport::ExportToStream(QIODevice* AStream, bool IsExportAll)
{
    FStream = AStream;
    TCustomDBGridGx* grid = FDBGridGx;
    const TDBGridGxSelectionType type = IsExportAll ? gstAll : grid->Selection()->SelectionType();
    TDataSet* ds = grid->DataSet();
    if (!ds)
        return;
    ds->DisableControls();
    grid->SaveBookmark();
    TColumnsGxList temporary;
    const bool titles = grid->Options().Contains(dgTitles);
    try {
        switch (type) {
        case gstRecordBookmarks: {
            FExpCols = grid->VisibleColumns();
            SizeFooterValues(FExpCols->Count());
            BeginExport();
            if (titles)
                ExportTitleRow(*FExpCols);
            TBookmarkListGx* rows = grid->SelectedRows();
            for (int i = 0; i < rows->Count(); ++i) {
                ds->GotoBookmark(rows->GetItem(i));
                AccumulateFooterValues();
                ExportRecordRow(*FExpCols);
            }
            break;
        }
        case gstRectangle: {
            TDBGridGxSelectionRect& rect = grid->Selection()->Rect();
            VisibleGridColumns(grid, rect.GetLeftCol(), rect.GetRightCol(), temporary);
            FExpCols = &temporary;
            SizeFooterValues(FExpCols->Count());
            BeginExport();
            if (titles)
                ExportTitleRow(*FExpCols);
            const TBookmark bottom = rect.GetBottomRow();
            ds->GotoBookmark(rect.GetTopRow());
            while (!ds->Eof()) {
                ExportRecordRow(*FExpCols);
                AccumulateFooterValues();
                if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0)
                    break;
                ds->Next();
            }
            break;
        }
        case gstColumns:
        case gstAll: {
            FExpCols = type == gstColumns ? static_cast<TColumnsGxList*>(&grid->Selection()->Columns())
                                          : grid->VisibleColumns();
            SizeFooterValues(FExpCols->Count());
            BeginExport();
            if (titles)
                ExportTitleRow(*FExpCols);
            ds->First();
            while (!ds->Eof()) {
                ExportRecordRow(*FExpCols);
                AccumulateFooterValues();
                ds->Next();
            }
            break;
        }
        case gstNon: {
            TColumnGx* current = grid->SelectedIndex() >= 0 && grid->SelectedIndex() < grid->Columns()->Count()
                                     ? grid->Columns()->GetColumn(grid->SelectedIndex())
                                     : nullptr;
            if (current)
                temporary.Add(current);
            FExpCols = &temporary;
            FooterValues.clear();
            FooterCounts.clear();
            BeginExport();
            ExportRecordRow(*FExpCols);
            break;
        }
        }
        if (type != gstNon)
            for (int row = 0; row < grid->FooterRowCount(); ++row)
                ExportFooterRow(*FExpCols, row);
    } catch (...) {
        grid->RestoreBookmark();
        ds->EnableControls();
        FExpCols = nullptr;
        throw;
    }
    grid->RestoreBookmark();
    ds->EnableControls();
    EndExport();
    FExpCols = nullptr;
}

void TDBGridGxExport::ExportToFile(const QString& FileName, bool IsExportAll)
{
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    ExportToStream(&file, IsExportAll);
}

void TDBGridGxExport::ExportRecordRow(TColumnsGxList& ColumnsList)
{
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        TColumnGx* column = ColumnsList.GetColumn(i);
        TFont scratch;
        scratch.Assign(*column->Font());
        TColCellParamsGx& p = FColCellParamsGx;
        p.Row = -1;
        p.Col = -1;
        p.State = 0;
        p.Font = &scratch;
        p.Background = column->Color();
        p.Alignment = column->Alignment();
        p.ImageIndex = column->GetImageIndex();
        p.Text = column->DisplayText();
        p.CheckboxState = column->GetCheckboxState();
        TColor background = p.Background;
        FDBGridGx->GetCellParams(column, &scratch, background, TGridDrawState{});
        column->GetColCellParams(false, p);
        p.Background = background;
        ExportDataCell(column, p);
        p.Font = nullptr;
    }
}

QString TDBGridGxExport::FooterText(TColumnGx* Column, int FooterNo)
{
    TColumnFooterGx* footer = Column->UsedFooter(FooterNo);
    if (!footer)
        return QString();
    const int c = FExpCols ? FExpCols->IndexOf(Column) : -1;
    const size_t at = size_t(c + FooterNo * (FExpCols ? FExpCols->Count() : 0));
    const bool accumulated = c >= 0 && at < FooterValues.size();
    switch (footer->ValueType()) {
    case fvtSum:
    case fvtAvg: {
        TField* field = FooterField(Column, FooterNo);
        if (!field || !accumulated)
            return QString();
        switch (field->DataType()) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
        case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: break;
        default: return QString();
        }
        Currency value = FooterValues[at];
        if (footer->ValueType() == fvtAvg)
            value = FooterCounts[at] ? value / Currency::FromInt(FooterCounts[at]) : Currency();
        return FormatFooterSumGx(field, footer->DisplayFormat(), value);
    }
    case fvtCount:
        return accumulated ? FloatToStr(FooterValues[at].ToDouble()) : QString();
    default:
        return FDBGridGx->GetFooterValue(FooterNo, Column);
    }
}

void TDBGridGxExport::FooterCell(TColumnGx* Column, int FooterNo, TFont& AFont, TColor& Color,
                                 TAlignment& Alignment, QString& Text)
{
    TColumnFooterGx* footer = Column->UsedFooter(FooterNo);
    Color = FDBGridGx->FooterColor();
    Alignment = taLeftJustify;
    if (footer) {
        AFont.Assign(*footer->Font());
        Color = footer->Color();
        Alignment = footer->Alignment();
    }
    Text = FooterText(Column, FooterNo);
    FDBGridGx->GetFooterParams(Column->Index(), FooterNo, Column, &AFont, Color, Alignment, TGridDrawState{}, Text);
}

void TDBGridGxExport::ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo)
{
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        TColumnGx* column = ColumnsList.GetColumn(i);
        TFont scratch;
        TColor color;
        TAlignment alignment;
        QString text;
        FooterCell(column, FooterNo, scratch, color, alignment, text);
        ExportFooterCell(i, FooterNo, text, alignment, color, &scratch, column);
    }
}

bool TDBGridGxExport::UsesEditText(TColumnGx* Column) const
{
    return FDBGridGx->Center() && FDBGridGx->Center()->PreferEditFormatForNumberFields &&
           IsNumericField(Column->Field());
}

// ================================================================ text

void TDBGridGxExportAsText::ExportToStream(QIODevice* AStream, bool IsExportAll)
{
    FirstRec = true;
    TDBGridGxExport::ExportToStream(AStream, IsExportAll);
}

QByteArray TDBGridGxExportAsText::Encode(const QString& text) const
{
    return text.toLocal8Bit();
}

void TDBGridGxExportAsText::PutRowSeparator()
{
    if (FirstRec)
        FirstRec = false;
    else
        Put(Encode(QStringLiteral("\r\n")));
}

void TDBGridGxExportAsText::PutCellSeparator()
{
    if (FirstCell)
        FirstCell = false;
    else
        Put(Encode(QStringLiteral("\t")));
}

void TDBGridGxExportAsText::ExportTitleRow(TColumnsGxList& ColumnsList)
{
    PutRowSeparator();
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        Put(Encode(ColumnsList.GetColumn(i)->Title()->Caption()));
        if (i < ColumnsList.Count() - 1)
            Put(Encode(QStringLiteral("\t")));
    }
}

void TDBGridGxExportAsText::ExportRecordRow(TColumnsGxList& ColumnsList)
{
    PutRowSeparator();
    FirstCell = true;
    TDBGridGxExport::ExportRecordRow(ColumnsList);
}

void TDBGridGxExportAsText::ExportDataCell(TColumnGx* Column, TColCellParamsGx& Params)
{
    PutCellSeparator();
    Put(Encode(UsesEditText(Column) ? Column->EditText() : Params.Text));
}

void TDBGridGxExportAsText::ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo)
{
    PutRowSeparator();
    FirstCell = true;
    TDBGridGxExport::ExportFooterRow(ColumnsList, FooterNo);
}

void TDBGridGxExportAsText::ExportFooterCell(int, int, const QString& Text, TAlignment, TColor, TFont*, TColumnGx*)
{
    PutCellSeparator();
    Put(Encode(Text));
}

QByteArray Utf16LEBytes(const QString& text)
{
    QByteArray b(text.size() * 2, '\0');
    for (int i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), b.data() + 2 * i);
    return b;
}

QString Utf16LEText(const QByteArray& bytes)
{
    QString s(bytes.size() / 2, Qt::Uninitialized);
    for (int i = 0; i < s.size(); ++i)
        s[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    return s;
}

QByteArray TDBGridGxExportAsUnicodeText::Encode(const QString& text) const
{
    return Utf16LEBytes(text);
}

// ================================================================ CSV

TDBGridGxExportAsCSV::TDBGridGxExportAsCSV() : FSeparator(DBGridGxCSVSeparator) {}

QByteArray TDBGridGxExportAsCSV::Quoted(const QString& text) const
{
    QString q = text;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return Encode(QLatin1Char('"') + q + QLatin1Char('"'));
}

void TDBGridGxExportAsCSV::PutCellSeparator()
{
    if (FirstCell)
        FirstCell = false;
    else
        Put(QByteArray(1, FSeparator));
}

void TDBGridGxExportAsCSV::ExportTitleRow(TColumnsGxList& ColumnsList)
{
    PutRowSeparator();
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        Put(Quoted(ColumnsList.GetColumn(i)->Title()->Caption()));
        if (i < ColumnsList.Count() - 1)
            Put(QByteArray(1, FSeparator));
    }
}

void TDBGridGxExportAsCSV::ExportDataCell(TColumnGx*, TColCellParamsGx& Params)
{
    PutCellSeparator();
    Put(Quoted(Params.Text));
}

void TDBGridGxExportAsCSV::ExportFooterCell(int, int, const QString& Text, TAlignment, TColor, TFont*, TColumnGx*)
{
    PutCellSeparator();
    Put(Quoted(Text));
}

// ================================================================ binary interchange format

void TDBGridGxExportAsVCLDBIF::BeginExport()
{
    QByteArray header("VCLDBIF");
    header.append(char(1));
    header.append(Int32Bytes(FExpCols->Count()));
    for (int i = 0; i < FExpCols->Count(); ++i) {
        header.append(char(FExpCols->GetColumn(i)->Visible() ? 1 : 0));
        header.append(char(0));   // the name is always written empty
    }
    Put(header);
}

void TDBGridGxExportAsVCLDBIF::EndExport()
{
    Put(QByteArray(1, '\0'));
}

void TDBGridGxExportAsVCLDBIF::ExportDataCell(TColumnGx* Column, TColCellParamsGx&)
{
    TField* field = Column->Field();
    auto wide = [](const QString& s) { return QByteArray(1, char(7)) + Int32Bytes(qint32(s.size() * 2)) + Utf16LEBytes(s); };
    auto ansi = [](const QString& s) {
        const QByteArray bytes = s.toLocal8Bit();
        return QByteArray(1, char(5)) + Int32Bytes(qint32(bytes.size())) + bytes;
    };
    if (!field) {
        Put(QByteArray(1, char(1)));
        return;
    }
    if (field->FieldKind() == fkLookup) {
        QStringList keys;
        for (const QString& name : field->KeyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            TField* key = field->DataSet()->FindField(name.trimmed());
            if (!key)
                throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name.trimmed()));
            keys << key->AsString();
        }
        Put(wide(CommaText(keys)));
        return;
    }
    if (field->IsNull()) {
        Put(QByteArray(1, char(2)));
        return;
    }
    switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        Put(QByteArray(1, char(3)) + Int32Bytes(field->AsInteger()));
        break;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
    case ftDate:
    case ftTime:
    case ftDateTime: {
        const double v = (field->DataType() == ftDate || field->DataType() == ftTime ||
                          field->DataType() == ftDateTime)
                             ? field->AsDateTime().Value
                             : field->AsFloat();
        QByteArray b(8, '\0');
        qToLittleEndian<double>(v, b.data());
        Put(QByteArray(1, char(4)) + b);
        break;
    }
    case ftWideString:
    case ftFixedWideChar:
    case ftWideMemo:
        Put(wide(field->AsString()));
        break;
    case ftString:
    case ftBoolean:
    case ftMemo:
    case ftFixedChar:
    case ftLargeint:
        Put(ansi(field->AsString()));
        break;
    default:
        Put(QByteArray(1, char(1)));
        break;
    }
}

// ================================================================ routines

void ExportGridToStream(const TDBGridGxExportClass& ExportClass, TCustomDBGridGx* Grid, QIODevice* Stream,
                        bool ForWholeGrid)
{
    std::unique_ptr<TDBGridGxExport> exporter = ExportClass();
    exporter->SetDBGridGx(Grid);
    exporter->ExportToStream(Stream, ForWholeGrid);
}
