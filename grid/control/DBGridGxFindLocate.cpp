// Text location in a grid: the generic search through the records of a grid's
// dataset that the find dialog and the incremental search end in.
#include "DBGridGx.h"
#include "DBGridGxFind.h"
#include "DBGridGxFindDlg.h"
#include "DBGridGxRoutines.h"
#include "DBGridGxStyle.h"

#include <QLocale>

bool LocateTextMatches(const QString& CellText, const QString& Text, bool CaseInsensitive,
                       TLocateTextMatchingGx Matching)
{
    const QLocale locale;
    const QString cell = CaseInsensitive ? locale.toUpper(CellText) : CellText;
    const QString text = CaseInsensitive ? locale.toUpper(Text) : Text;
    switch (Matching) {
    case ltmWholeGx:
        return cell == text;
    case ltmFromBegingGx:
        return cell.left(text.size()) == text;
    case ltmAnyPartGx:
    default:
        return !text.isEmpty() && cell.contains(text);
    }
}

namespace {

// The column the search starts in, as a position among the visible columns (-1:
// a column that is not shown) and as the column itself.
TColumnGx* StartColumn(TCustomDBGridGx* Grid, const QString& FieldName)
{
    if (!FieldName.isEmpty())
        return Grid->ColumnByFieldName(FieldName);
    TDBGridColumnsGx* columns = Grid->Columns();
    int index = -1;
    if (Grid->Options().Contains(dgRowSelect))
        index = Grid->RawToDataColumn(std::max(Grid->LeftCol(), Grid->IndicatorOffset()));
    else
        index = Grid->SelectedIndex();
    if (index >= 0 && index < columns->Count())
        return columns->GetColumn(index);
    return nullptr;
}

QString CellText(TColumnGx* Column, bool MatchFormat)
{
    if (MatchFormat)
        return Column->DisplayText();
    TField* field = Column->Field();
    return field ? field->Text() : QString();
}

} // namespace

bool LocateTextInGrid(TCustomDBGridGx* Grid, const QString& FieldName, const QString& Text,
                      TLocateTextOptionsGx Options, TLocateTextDirectionGx Direction, TLocateTextMatchingGx Matching,
                      TLocateTextTreeFindRangeGx)
{
    TDataSet* ds = Grid->DataSet();
    if (!Grid->DataSource() || !ds || !ds->Active())
        return false;
    TColumnsGxList* visible = Grid->VisibleColumns();
    TColumnGx* column = StartColumn(Grid, FieldName);
    if (visible->Count() == 0)
        return false;
    int pos = column ? visible->IndexOf(column) : -1;
    if (pos < 0) {
        if (Options.Contains(ltoAllFieldsGx) || !column)
            pos = 0;
    }
    const bool allFields = Options.Contains(ltoAllFieldsGx);
    const bool up = Direction == ltdUpGx;
    const bool caseInsensitive = Options.Contains(ltoCaseInsensitiveGx);
    const bool matchFormat = Options.Contains(ltoMatchFormatGx);

    // One step through the cells; false at the end of the data.
    auto step = [&]() -> bool {
        if (allFields) {
            if (!up) {
                if (pos + 1 < visible->Count()) {
                    ++pos;
                    return true;
                }
                if (ds->MoveBy(1) == 0)
                    return false;
                pos = 0;
                return true;
            }
            if (pos > 0) {
                --pos;
                return true;
            }
            if (ds->MoveBy(-1) == 0)
                return false;
            pos = visible->Count() - 1;
            return true;
        }
        return ds->MoveBy(up ? -1 : 1) != 0;
    };

    bool found = false;
    ds->DisableControls();
    try {
        Grid->SaveBookmark();
        bool more = true;
        if (Direction == ltdAllGx) {
            ds->First();
            more = !ds->IsEmpty();
            if (allFields)
                pos = 0;
        } else {
            more = step();
        }
        while (more) {
            TColumnGx* cellColumn = allFields || pos >= 0 ? visible->GetColumn(pos) : column;
            if (!allFields && column)
                cellColumn = column;
            if (LocateTextMatches(CellText(cellColumn, matchFormat), Text, caseInsensitive, Matching)) {
                found = true;
                column = cellColumn;
                break;
            }
            more = step();
        }
        if (!found)
            Grid->RestoreBookmark();
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
    if (found) {
        const int index = Grid->Columns()->IndexOf(column);
        if (index >= 0 && column->Visible())
            Grid->SetSelectedIndex(index);
    }
    return found;
}

// ---------------------------------------------------------------- the find dialog's view of a grid

TFindDlgColumnsGx FindDlgColumnsOf(TCustomDBGridGx* Grid)
{
    TFindDlgColumnsGx result;
    TColumnsGxList* visible = Grid->VisibleColumns();
    for (int i = 0; i < visible->Count(); ++i) {
        result.Captions << visible->GetColumn(i)->Title()->Caption();
        result.FieldNames << visible->GetColumn(i)->FieldName();
    }
    const int sel = Grid->SelectedIndex();
    if (sel >= 0 && sel < Grid->Columns()->Count()) {
        result.SelectedExists = true;
        result.SelectedCaption = Grid->Columns()->GetColumn(sel)->Title()->Caption();
    }
    return result;
}

QWidget* FindDlgGridWidget(TCustomDBGridGx* Grid) { return Grid; }

bool FindDlgDataSetOpen(TCustomDBGridGx* Grid)
{
    TDataSet* ds = Grid->DataSet();
    return ds && ds->Active();
}

bool FindDlgLocate(TCustomDBGridGx* Grid, const QString& FieldName, const QString& Text, int Options, int Direction,
                   int Matching, int TreeFindRange)
{
    return Grid->LocateText(FieldName, Text, Options, Direction, Matching, TreeFindRange);
}

void InstallDBGridGxFindHooks()
{
    if (!ExecuteDBGridGxFindDialogProc)
        ExecuteDBGridGxFindDialogProc = [](IDBGridGx* grid, const QString& text, const QString&, bool modal) {
            if (auto* g = dynamic_cast<TCustomDBGridGx*>(grid))
                ExecuteDBGridGxFindDialog(g, text, modal);
        };
    if (!LocateTextInGridProc)
        LocateTextInGridProc = [](IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                                  int direction, int matching, int treeFindRange) {
            auto* g = dynamic_cast<TCustomDBGridGx*>(grid);
            return g && LocateTextInGrid(g, fieldName, text, TLocateTextOptionsGx::FromBits(quint64(options)),
                                         TLocateTextDirectionGx(direction), TLocateTextMatchingGx(matching),
                                         TLocateTextTreeFindRangeGx(treeFindRange));
        };
}
