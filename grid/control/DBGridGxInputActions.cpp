// The data grid's edit actions (cut, copy, paste, delete, select all), the
// permission to change data, record insertion and the indicator title.
#include "DBGridGx.h"
#include "DBGridGxImpExp.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Dialogs.h"

#include <QApplication>
#include <QMenu>

bool TCustomDBGridGx::CheckCopyAction()
{
    return FDataLink->Active();
}

bool TCustomDBGridGx::CheckPasteAction()
{
    TDataSet* ds = DataSet();
    if (!FDataLink->Active() || FReadOnly || !ds || !ds->CanModify())
        return false;
    if (!Clipboard()->HasFormat(CF_TEXT) && !Clipboard()->HasFormat(RegisterClipboardFormat(QStringLiteral("VCLDBIF"))))
        return false;
    return ds->State() == dsInsert || FAllowedOperations.Contains(alopUpdateGx);
}

bool TCustomDBGridGx::CheckDeleteAction()
{
    TDataSet* ds = DataSet();
    if (!FDataLink->Active() || FReadOnly || !ds || ds->IsEmpty() || !ds->CanModify())
        return false;
    switch (FSelection->SelectionType()) {
    case gstRecordBookmarks:
    case gstAll:
        return FAllowedOperations.Contains(alopDeleteGx);
    case gstRectangle:
    case gstColumns:
        return FAllowedOperations.Contains(alopUpdateGx);
    case gstNon:
        break;
    }
    return false;
}

bool TCustomDBGridGx::CheckCutAction()
{
    return CheckCopyAction() && CheckDeleteAction();
}

bool TCustomDBGridGx::CheckSelectAllAction()
{
    TDataSet* ds = DataSet();
    return FDataLink->Active() && ds && !ds->IsEmpty() && FAllowedSelections.Contains(gstAll);
}

bool TCustomDBGridGx::CheckEditAction(TDBGridGxEditAction action)
{
    switch (action) {
    case geaCopyGx: return CheckCopyAction();
    case geaPasteGx: return CheckPasteAction();
    case geaCutGx: return CheckCutAction();
    case geaSelectAllGx: return CheckSelectAllAction();
    case geaDeleteGx: return CheckDeleteAction();
    }
    return false;
}

bool TCustomDBGridGx::UpdateEditAction(TDBGridGxEditAction action, bool& Enabled)
{
    if (!hasFocus() && !(InplaceEditor() && InplaceEditor()->hasFocus()))
        return false;
    for (TDBGridGxEditAction a : {geaCopyGx, geaPasteGx, geaCutGx, geaSelectAllGx, geaDeleteGx})
        if (a == action && FEditActions.Contains(a)) {
            Enabled = CheckEditAction(a);
            return true;
        }
    return false;
}

bool TCustomDBGridGx::ExecuteEditActionIfAnswered(TDBGridGxEditAction action)
{
    if (!hasFocus() && !(InplaceEditor() && InplaceEditor()->hasFocus()))
        return false;
    if (!FEditActions.Contains(action) || !CheckEditAction(action))
        return false;
    ExecuteEditAction(action);
    return true;
}

void TCustomDBGridGx::ExecuteEditAction(TDBGridGxEditAction action)
{
    switch (action) {
    case geaSelectAllGx:
        FSelection->SelectAll();
        break;
    case geaDeleteGx:
        DeleteGridSelection(this, false);
        break;
    case geaCopyGx:
        CopyGridSelectionToClipboard(this, false);
        break;
    case geaCutGx:
        CutGridSelectionToClipboard(this, false);
        break;
    case geaPasteGx:
        PasteClipboardIntoGrid(this, false);
        break;
    }
}

// ---------------------------------------------------------------- permission and insertion

bool TCustomDBGridGx::DataCanBeModified()
{
    if (!FDataLink->Active())
        return false;
    TDataSet* ds = DataSet();
    if (!FAllowedOperations.Contains(alopUpdateGx) && ds->State() != dsInsert)
        return false;
    if (ds->IsEmpty())
        return FAllowedOperations.Contains(alopInsertGx) || FAllowedOperations.Contains(alopAppendGx);
    return true;
}

void TCustomDBGridGx::DataInsert()
{
    // Data grouping would hand the current group's keys to the new record; it
    // works only on memory tables, which no dataset here is.
    DataSet()->Insert();
}

void TCustomDBGridGx::DataAppend()
{
    DataSet()->Append();
}

// ---------------------------------------------------------------- indicator title

void TCustomDBGridGx::DefaultIndicatorTitleMouseDown(int col, int row, int button, int shift, int x, int y)
{
    if (OnIndicatorTitleMouseDown) {
        TShiftState s;
        for (TShiftStateItem i : {ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble})
            if (shift & i)
                s << i;
        OnIndicatorTitleMouseDown(this, TGridCoord{col, row}, TMouseButton(button), s, x, y);
        return;
    }
    if (FIndicatorTitle->TitleButton()) {
        FPressed = true;
        InvalidateCell(0, 0);
        QMenu* menu = nullptr;
        if (OnBuildIndicatorTitleMenu)
            OnBuildIndicatorTitleMenu(this, menu);
        else
            DefaultBuildIndicatorTitleMenu(menu);
        if (menu && !menu->actions().isEmpty()) {
            const TRect r = CellRect(0, 0);
            const QPoint at = mapToGlobal(QPoint(r.Left, r.Bottom));
            menu->exec(at);
            FPressed = false;
            InvalidateCell(0, 0);
            RemovePendingMessages(WM_LBUTTONDOWN);
        } else if (MouseCapture()) {
            FDBGridGxState = dgsTitleDown;
            FTracking = true;
            FPressedCol = col;
            (void)row;
            TrackButton(FDownMousePos.X, FDownMousePos.Y);
        }
        return;
    }
    if (FOptions.Contains(dgMultiSelect) && FDataLink->Active() && FAllowedSelections.Contains(gstAll)) {
        if (FSelection->SelectionType() == gstNon)
            FSelection->SelectAll();
        else
            FSelection->Clear();
    }
}

void TCustomDBGridGx::DefaultBuildIndicatorTitleMenu(QMenu*& PopupMenu)
{
    if (FCenter)
        FCenter->BuildIndicatorTitleMenu(this, PopupMenu);
}
