// The grid's two scroll-bar settings objects and the vertical bar that shows
// where the current record lies: top, middle or bottom of the dataset, or its
// record number when the footer producer numbers the records.
#include "DBGridGx.h"
#include "DBGridGxPaintScrollBar.h"
#include "platform/db/DataSet.h"
#include <QScrollBar>

// ---------------------------------------------------------------- settings objects

TDBGridGxScrollBar::TDBGridGxScrollBar(TCustomDBGridGx* grid, TScrollBarKindGx kind) : FDBGridGx(grid), FKind(kind) {}

TDBGridGxScrollBar::~TDBGridGxScrollBar()
{
    FDestroying = true;
    if (FExtScrollBar)
        SetExtScrollBar(nullptr);
}

void TDBGridGxScrollBar::SetExtScrollBar(QScrollBar* value)
{
    if (value == FExtScrollBar)
        return;
    if (value && value->property("dpxScrollBarOwner").isValid() &&
        value->property("dpxScrollBarOwner").value<void*>() != this)
        throw Exception(QStringLiteral("Possible ") + value->objectName() +
                        QStringLiteral(" already attached to the other control."));
    if (FExtScrollBar) {
        QObject::disconnect(FExtConnection);
        QObject::disconnect(FExtDestroyed);
        FExtScrollBar->setProperty("dpxScrollBarOwner", QVariant());
    }
    FExtScrollBar = value;
    if (value) {
        value->setProperty("dpxScrollBarOwner", QVariant::fromValue<void*>(this));
        // The bar's actions reach the grid as its own scroll messages.
        TCustomDBGridGx* grid = FDBGridGx;
        const int bar = FKind == sbHorizontalGx ? SB_HORZ : SB_VERT;
        FExtConnection = QObject::connect(value, &QAbstractSlider::actionTriggered, grid, [grid, value, bar](int action) {
            int code = -1;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
            case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
            case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
            case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
            case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
            case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
            case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
            default: return;
            }
            grid->ScrollBarMessage(bar, code, value->sliderPosition());
        });
        FExtDestroyed = QObject::connect(value, &QObject::destroyed, grid, [this] {
            FExtScrollBar = nullptr;
            QObject::disconnect(FExtConnection);
        });
    }
    UpdateExtScrollBar();
    if (!FDestroying && FDBGridGx && !FDBGridGx->Destroying()) {
        if (FKind == sbVerticalGx)
            FDBGridGx->UpdateScrollBar();
        FDBGridGx->LayoutChanged();
    }
}

void TDBGridGxScrollBar::SetVisible(bool value)
{
    SetVisibleMode(value ? sbAutoShowGx : sbNeverShowGx);
    UpdateExtScrollBar();
}

void TDBGridGxScrollBar::SetVisibleMode(TScrollBarVisibleModeGx value)
{
    if (FVisibleMode == value)
        return;
    FVisibleMode = value;
    if (FKind == sbVerticalGx)
        FDBGridGx->UpdateScrollBar();
    FDBGridGx->LayoutChanged();
}

void TDBGridGxScrollBar::SetSmoothStep(bool value)
{
    if (FSmoothStep == value)
        return;
    FSmoothStep = value;
    SmoothStepChanged();
}

void TDBGridGxScrollBar::Assign(const TDBGridGxScrollBar& source)
{
    SetVisible(source.Visible());
    SetTracking(source.Tracking());
    SetExtScrollBar(source.ExtScrollBar());
}

void TDBGridGxScrollBar::UpdateExtScrollBar()
{
    if (FExtScrollBar)
        FExtScrollBar->setVisible(Visible());
}

bool TDBGridGxScrollBar::IsScrollBarVisible() const
{
    if (FExtScrollBar)
        return FExtScrollBar->isVisible();
    if (!Visible())
        return false;
    const TScrollStyle s = FDBGridGx->ScrollBarsStyle();
    return FKind == sbVerticalGx ? (s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth)
                                 : (s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth);
}

bool TDBGridGxScrollBar::GetScrollInfo(TScrollInfo& Info) const
{
    if (FExtScrollBar) {
        Info.nMin = FExtScrollBar->minimum();
        Info.nPage = UINT(FExtScrollBar->pageStep());
        Info.nMax = FExtScrollBar->maximum() + std::max(int(Info.nPage) - 1, 0);
        Info.nPos = FExtScrollBar->value();
        Info.nTrackPos = FExtScrollBar->sliderPosition();
        return true;
    }
    return FDBGridGx->GetScrollInfo(FKind == sbHorizontalGx ? SB_HORZ : SB_VERT, Info);
}

bool TDBGridGxScrollBar::IsScrollBarShowing() const
{
    switch (FVisibleMode) {
    case sbAlwaysShowGx: return true;
    case sbNeverShowGx: return false;
    default: {
        TScrollInfo info;
        info.fMask = SIF_ALL;
        if (!GetScrollInfo(info))
            return false;
        return info.nMin < info.nMax && int(info.nPage) < info.nMax - info.nMin;
    }
    }
}

THorzDBGridGxScrollBar::THorzDBGridGxScrollBar(TCustomDBGridGx* grid) : TDBGridGxScrollBar(grid, sbHorizontalGx)
{
    FSmoothStep = true;
}

void THorzDBGridGxScrollBar::SmoothStepChanged()
{
    FDBGridGx->SyncScrollRanges();
}

TVertDBGridGxScrollBar::TVertDBGridGxScrollBar(TCustomDBGridGx* grid) : TDBGridGxScrollBar(grid, sbVerticalGx) {}

void TVertDBGridGxScrollBar::SmoothStepChanged()
{
    FDBGridGx->SyncScrollRanges();
    if (FDBGridGx->HandleAllocated())
        FDBGridGx->LayoutChanged();
}

// ---------------------------------------------------------------- the vertical bar from the data

bool TCustomDBGridGx::VertScrollBarFilledElsewhere() const
{
    return true;
}

void TCustomDBGridGx::UpdateScrollBar()
{
    if (!FDataLink || !HandleAllocated() || FDestroying || !FVertScrollBar)
        return;
    // Memory tables scroll by rows.
    if (UsesMemTableScrolling()) {
        MemTableUpdateScrollBar();
        return;
    }
    const TScrollBarVisibleModeGx mode = FVertScrollBar->VisibleMode();
    QScrollBar* ext = FVertScrollBar->ExtScrollBar();
    TScrollInfo old;
    old.fMask = SIF_ALL;
    TCustomControl::GetScrollInfo(SB_VERT, old);
    TScrollInfo si = old;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (mode == sbAlwaysShowGx ? UINT(SIF_DISABLENOSCROLL) : 0u);
    si.nMin = 0;
    si.nMax = 1;
    si.nPage = 2;
    si.nPos = 0;
    if (FDataLink->Active()) {
        TDataSet* ds = DataSet();
        if (FSumList->IsSequenced()) {
            si.nMin = 1;
            si.nPage = UINT(std::max(0, FDataLink->RecordCount()));   // the data rows shown
            si.nMax = FSumList->RecordCount() + int(si.nPage) - 1;
            if (ds->State() == dsInsert || ds->State() > dsEdit)
                si.nPos = old.nPos;
            else
                si.nPos = FSumList->RecNo();
        } else {
            si.nMin = 0;
            si.nPage = 0;
            si.nMax = 4;
            if (ds->Bof())
                si.nPos = 0;
            else if (ds->Eof())
                si.nPos = 4;
            else
                si.nPos = 2;
        }
    }
    ApplyVertScrollInfo(si, old);
}

void TCustomDBGridGx::ApplyVertScrollInfo(TScrollInfo si, const TScrollInfo& old)
{
    const TScrollBarVisibleModeGx mode = FVertScrollBar->VisibleMode();
    QScrollBar* ext = FVertScrollBar->ExtScrollBar();
    int keptMax = 1;
    if (!FVertScrollBar->Visible() || ext) {
        keptMax = si.nMax;
        si.nMax = si.nMin;
    }
    // Not scrollable: the window's bar collapses (hidden, or shown disabled when always shown).
    const bool scrollable = si.nMin < si.nMax && int(si.nPage) < si.nMax - si.nMin;
    if (!scrollable)
        si.nMax = si.nMin;
    if (si.nMin != old.nMin || si.nMax != old.nMax || si.nPage != old.nPage || si.nPos != old.nPos ||
        mode != FVertScrollBarVisibleMode || (mode == sbAlwaysShowGx && !ext && !scrollable)) {
        if (!(mode == sbAlwaysShowGx && !ext))
            si.fMask &= ~SIF_DISABLENOSCROLL;
        TCustomControl::SetScrollInfo(SB_VERT, si, true);
        FVertScrollBarVisibleMode = mode;
    }
    if (ext) {
        const int nMin = std::min(si.nMin, keptMax);
        const int page = int(si.nPage);
        QSignalBlocker block(ext);
        ext->setPageStep(std::max(1, page));
        ext->setRange(nMin, std::max(nMin, keptMax - std::max(page - 1, 0)));
        ext->setValue(si.nPos);
    }
}

void TCustomDBGridGx::UpdateExtHorzScrollBar()
{
    QScrollBar* ext = FHorzScrollBar ? FHorzScrollBar->ExtScrollBar() : nullptr;
    if (!ext)
        return;
    const TGridLayoutGx L = CalcGridLayout();
    const int fixed = FixedCols();
    const int count = TCustomGridGx::ColCount();
    const int page = std::max(0, L.Horz.LastWholeLine - LeftCol() + 1);
    const int nMax = (page + fixed >= count) ? 0 : 127;
    // The largest useful left column: the columns from it to the last one fit.
    int lmax = count - 1;
    int room = L.Horz.DataLimit - L.Horz.FixedEnd;
    for (int col = count - 1; col >= fixed; --col) {
        const int w = ColWidths(col);
        if (w <= 0)
            continue;
        room -= w + L.Horz.LineWidth;
        if (room < 0)
            break;
        lmax = col;
    }
    const int nPos = lmax > fixed ? MulDiv(LeftCol() - fixed, 127, lmax - fixed) : 0;
    const int nMin = std::min(0, nMax);
    if (ext->minimum() != nMin || ext->maximum() != nMax || ext->value() != nPos) {
        QSignalBlocker block(ext);
        ext->setRange(nMin, nMax);
        ext->setValue(nPos);
    }
}
