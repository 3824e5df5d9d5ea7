// Incremental search in the current column and the grid's text location service.
#include "DBGridGx.h"
#include "DBGridGxEdit.h"
#include "DBGridGxFind.h"
#include "DBGridGxRoutines.h"
#include "DBGridGxStyle.h"

namespace {

constexpr UINT SearchTimerId = 2;

} // namespace

bool TCustomDBGridGx::LocateText(const QString& FieldName, const QString& Text, int Options, int Direction,
                                 int Matching, int TreeFindRange)
{
    InstallDBGridGxFindHooks();
    BeginWaitCursor();
    struct End {
        ~End() { EndWaitCursor(); }
    } end;
    if (FCenter)
        return FCenter->LocateText(this, FieldName, Text, Options, Direction, Matching, TreeFindRange);
    return LocateTextInGrid(this, FieldName, Text, TLocateTextOptionsGx::FromBits(quint64(Options)),
                            TLocateTextDirectionGx(Direction), TLocateTextMatchingGx(Matching),
                            TLocateTextTreeFindRangeGx(TreeFindRange));
}

void TCustomDBGridGx::StartInplaceSearch(const QString& ss, int TimeOut, TInpsDirectionGx InpsDirection)
{
    if (!FDataLink->Active())
        return;
    const QString previous = FInplaceSearchText;
    QString candidate = previous + ss;
    bool found = false;
    if (!candidate.isEmpty()) {
        LockPaint();
        struct Unlock {
            TCustomDBGridGx* grid;
            ~Unlock() { grid->UnlockPaint(); }
        } unlock{this};
        TColumnGx* column = CurrentColumnGx();
        TLocateTextOptionsGx options{ltoCaseInsensitiveGx, ltoStopOnEscape};
        const bool editFormat = column && column->Field() && TDBGridInplaceEdit::IsNumericField(column->Field()) && FCenter &&
                                FCenter->PreferEditFormatForNumberFields;
        if (!editFormat)
            options.Include(ltoMatchFormatGx);
        TLocateTextDirectionGx direction = ltdAllGx;
        if (InpsDirection == inpsToNextGx)
            direction = ltdDownGx;
        else if (InpsDirection == inpsToPriorGx)
            direction = ltdUpGx;
        FInplaceSearchingInProcess = true;
        try {
            found = LocateText(QString(), candidate, int(options.Bits()), direction, ltmFromBegingGx, lttInAllNodesGx);
        } catch (...) {
            FInplaceSearchingInProcess = false;
            throw;
        }
        FInplaceSearchingInProcess = false;
        if (found) {
            // The search text takes the case of the value found.
            if (TColumnGx* c = CurrentColumnGx()) {
                const QString cellText = options.Contains(ltoMatchFormatGx) ? c->DisplayText() : c->EditText();
                candidate = cellText.left(candidate.size());
            }
        }
    }
    HideEditor();
    FInplaceSearching = true;
    FInplaceSearchText = found ? candidate : previous;
    InvalidateRow(Row());
    FInplaceSearchTimeOut = TimeOut;
    RestartSearchTimer();
}

void TCustomDBGridGx::StopInplaceSearch()
{
    if (!FInplaceSearching)
        return;
    StopSearchTimer();
    FInplaceSearching = false;
    FInplaceSearchText.clear();
    InvalidateRow(Row());
    if (FOptions.Contains(dgAlwaysShowEditor) && AlwaysShowEditorActive())
        ShowEditor();
}

void TCustomDBGridGx::RestartSearchTimer()
{
    if (FInplaceSearchTimerActive)
        StopSearchTimer();
    if (FInplaceSearchTimeOut >= 0) {
        SetTimer(SearchTimerId, GridTimerInterval(FInplaceSearchTimeOut));
        FInplaceSearchTimerActive = true;
    }
}

void TCustomDBGridGx::StopSearchTimer()
{
    if (FInplaceSearchTimerActive)
        KillTimer(SearchTimerId);
    FInplaceSearchTimerActive = false;
}
