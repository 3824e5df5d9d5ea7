#include "PopupListboxGx.h"
#include "DropDownEditGx.h"
#include "GxLibVCL.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <QElapsedTimer>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>

// ---------------------------------------------------------------------------
// TStringsGx

QObject* TStringsGx::Objects(int index) const
{
    return index >= 0 && index < Count() ? FObjects[size_t(index)] : nullptr;
}

void TStringsGx::SetString(int index, const QString& text)
{
    if (index < 0 || index >= Count())
        return;
    FTexts[index] = text;
    Changed();
}

void TStringsGx::SetObject(int index, QObject* object)
{
    if (index < 0 || index >= Count())
        return;
    FObjects[size_t(index)] = object;
    Changed();
}

int TStringsGx::Add(const QString& text, QObject* object)
{
    int at = Count();
    if (FSorted) {
        at = 0;
        while (at < Count() && NlsCompareText(FTexts[at], text) <= 0)
            ++at;
    }
    FTexts.insert(at, text);
    FObjects.insert(FObjects.begin() + at, object);
    Changed();
    return at;
}

void TStringsGx::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FTexts.removeAt(index);
    FObjects.erase(FObjects.begin() + index);
    Changed();
}

void TStringsGx::Clear()
{
    if (FTexts.isEmpty())
        return;
    FTexts.clear();
    FObjects.clear();
    Changed();
}

int TStringsGx::IndexOf(const QString& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (FCaseSensitive ? FTexts[i] == text : NlsCompareText(FTexts[i], text) == 0)
            return i;
    return -1;
}

void TStringsGx::SetTexts(const QStringList& texts)
{
    BeginUpdate();
    FTexts.clear();
    FObjects.clear();
    for (const QString& t : texts)
        Add(t);
    FChangedInUpdate = true;
    EndUpdate();
}

void TStringsGx::Assign(const TStringsGx& source)
{
    BeginUpdate();
    FTexts.clear();
    FObjects.clear();
    for (int i = 0; i < source.Count(); ++i)
        Add(source.FTexts[i], source.FObjects[size_t(i)]);
    FChangedInUpdate = true;
    EndUpdate();
}

void TStringsGx::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    FSorted = value;
    if (!FSorted || Count() < 2)
        return;
    std::vector<std::pair<QString, QObject*>> pairs;
    for (int i = 0; i < Count(); ++i)
        pairs.emplace_back(FTexts[i], FObjects[size_t(i)]);
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return NlsCompareText(a.first, b.first) < 0; });
    for (int i = 0; i < Count(); ++i) {
        FTexts[i] = pairs[size_t(i)].first;
        FObjects[size_t(i)] = pairs[size_t(i)].second;
    }
    Changed();
}

void TStringsGx::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange)
            OnChange();
    }
}

void TStringsGx::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange();
}

// ---------------------------------------------------------------------------
// TPopupListboxItemGx

void TPopupListboxItemGx::DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State)
{
    Sender->DefaultDrawItem(ItemIndex, Rect, State);
}

void TPopupListboxItemGx::MouseUp(TPopupListboxGx* Sender, int ItemIndex, bool& CloseList, TMouseButton, TShiftState,
                                  const TPoint&)
{
    CloseList = CloseOnExecute(Sender, ItemIndex);
}

// ---------------------------------------------------------------------------
// TPopupListboxGx

std::function<qint64()> TPopupListboxGx::TickCount = [] {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
};

TPopupListboxGx::TPopupListboxGx(QWidget* Owner)
    : TCustomControl(Owner)
    , FOwner(Owner)
{
    // A desktop-level tool window above the others; it never takes the focus, so the
    // editor keeps it and passes the keys on.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetTabStop(false);
    SetColor(clWindow);
    if (Owner)
        new TDropDownActivationGuardGx(this, Owner);
    FSizeGrip = new TSizeGripGx(this);
    FSizeGrip->SetTriangleWindow(true);
    FOwnScrollBar = new QScrollBar(Qt::Vertical, this);
    FOwnScrollBar->setFocusPolicy(Qt::NoFocus);
    FOwnScrollBar->hide();
    QObject::connect(FOwnScrollBar, &QScrollBar::valueChanged, this, [this](int v) { SetTopIndex(v); });
    FItems.OnChange = [this] { ContentChanged(); };
    setMinimumSize(ScrollBarExtent(), ScrollBarExtent());
    resize(100, FrameWidth() * 2 + FItemHeight);
}

TPopupListboxGx::~TPopupListboxGx()
{
    FItems.OnChange = nullptr;
}

void TPopupListboxGx::SetCtl3D(bool value)
{
    if (value == FCtl3D)
        return;
    FCtl3D = value;
    FBorderWidth = value ? 2 : 0;
    UpdateScrollBar();
    Invalidate();
}

int TPopupListboxGx::FrameWidth() const
{
    return FBorderWidth + (FCtl3D ? 0 : 1);
}

void TPopupListboxGx::SetItemHeight(int value)
{
    if (value == FItemHeight)
        return;
    FItemHeight = value;
    ContentChanged();
}

int TPopupListboxGx::ItemHeightOrText() const
{
    return FItemHeight > 0 ? FItemHeight : GetTextHeight();
}

int TPopupListboxGx::GetTextHeight() const
{
    return QFontMetrics(font()).height();
}

void TPopupListboxGx::SetRowCount(int value)
{
    FRowCount = qMax(1, value);
    resize(width(), FRowCount * ItemHeightOrText() + 2 * FrameWidth());
    UpdateScrollBar();
}

void TPopupListboxGx::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int frame = 2 * FrameWidth();
    const int ih = ItemHeightOrText();
    FRowCount = qMax(1, (AHeight - frame) / ih);
    FSnapping = true;
    setGeometry(ALeft, ATop, AWidth, frame + ih * FRowCount);
    FSnapping = false;
    UpdateScrollBar();
}

void TPopupListboxGx::SnapHeight()
{
    if (FSnapping)
        return;
    const QRect g = geometry();
    SetBounds(g.left(), g.top(), g.width(), g.height());
}

void TPopupListboxGx::SetExtItems(TStringsGx* value)
{
    if (value == FExtItems)
        return;
    FExtItems = value;
    FStyle = value ? lbVirtualOwnerDrawGx : lbOwnerDrawFixedGx;
    if (!value)
        FCount = 0;
    ContentChanged();
}

int TPopupListboxGx::Count() const
{
    return FStyle == lbVirtualOwnerDrawGx ? FCount : FItems.Count();
}

void TPopupListboxGx::SetCount(int value)
{
    if (FStyle != lbVirtualOwnerDrawGx)
        return;
    FCount = qMax(0, value);
    ContentChanged();
}

QString TPopupListboxGx::ItemText(int index) const
{
    if (index < 0 || index >= Count())
        return QString();
    return FStyle == lbVirtualOwnerDrawGx ? (FExtItems ? FExtItems->Strings(index) : QString()) : FItems.Strings(index);
}

QObject* TPopupListboxGx::ItemObject(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FStyle == lbVirtualOwnerDrawGx ? (FExtItems ? FExtItems->Objects(index) : nullptr) : FItems.Objects(index);
}

TPopupListboxItemGx* TPopupListboxGx::ItemObjectAt(int index) const
{
    if (!FUseItemObjects)
        return nullptr;
    return dynamic_cast<TPopupListboxItemGx*>(ItemObject(index));
}

void TPopupListboxGx::ContentChanged()
{
    if (FItemIndex >= Count())
        FItemIndex = -1;
    SetTopIndex(FTopIndex);
    UpdateScrollBar();
    Invalidate();
}

void TPopupListboxGx::SetItemIndex(int value)
{
    if (value < -1 || value >= Count())
        value = -1;
    if (value == FItemIndex)
        return;
    const int old = FItemIndex;
    FItemIndex = value;
    MakeVisible(value);
    InvalidateIndex(old);
    InvalidateIndex(value);
}

void TPopupListboxGx::MakeVisible(int index)
{
    if (index < 0)
        return;
    const int rows = qMax(1, VisibleRows());
    if (index < FTopIndex)
        SetTopIndex(index);
    else if (index >= FTopIndex + rows)
        SetTopIndex(index - rows + 1);
}

void TPopupListboxGx::SetTopIndex(int value)
{
    const int rows = qMax(1, VisibleRows());
    value = qBound(0, value, qMax(0, Count() - rows));
    if (value == FTopIndex)
        return;
    FTopIndex = value;
    UpdateScrollBar();
    Invalidate();
}

TRect TPopupListboxGx::ItemsRect() const
{
    const int f = FrameWidth();
    TRect r(f, f, width() - f, height() - f);
    if (FHasOwnScrollBar && FOwnScrollBar->isVisibleTo(const_cast<TPopupListboxGx*>(this)))
        r.Right -= FOwnScrollBar->width();
    return r;
}

int TPopupListboxGx::VisibleRows() const
{
    return ItemsRect().Height() / ItemHeightOrText();
}

TRect TPopupListboxGx::ItemRect(int index) const
{
    if (index < FTopIndex)
        return TRect();
    const TRect area = ItemsRect();
    const int ih = ItemHeightOrText();
    const int top = area.Top + (index - FTopIndex) * ih;
    return TRect(area.Left, top, area.Right, top + ih);
}

int TPopupListboxGx::ItemAtPos(const TPoint& pos, bool existing) const
{
    const TRect area = ItemsRect();
    const int ih = ItemHeightOrText();
    if (existing && !PtInRect(area, pos))
        return -1;
    const int index = FTopIndex + (pos.Y - area.Top) / ih;
    if (existing && (pos.Y < area.Top || index >= Count()))
        return -1;
    return index;
}

void TPopupListboxGx::SetOwnScrollBar(bool value)
{
    FHasOwnScrollBar = value;
    UpdateScrollBar();
}

void TPopupListboxGx::UpdateScrollBar()
{
    const int f = FrameWidth();
    const int ext = ScrollBarExtent();
    const int rows = (height() - 2 * f) / ItemHeightOrText();
    const bool show = FHasOwnScrollBar && Count() > rows && rows > 0;
    if (show) {
        FOwnScrollBar->setGeometry(width() - f - ext, f, ext, height() - 2 * f);
        QSignalBlocker block(FOwnScrollBar);
        FOwnScrollBar->setRange(0, qMax(0, Count() - rows));
        FOwnScrollBar->setPageStep(rows);
        FOwnScrollBar->setValue(FTopIndex);
    }
    FOwnScrollBar->setVisible(show);
}

void TPopupListboxGx::InvalidateIndex(int AItemIndex)
{
    if (AItemIndex < 0)
        return;
    const TRect r = ItemRect(AItemIndex);
    if (!r.IsEmpty())
        InvalidateRect(r);
}

void TPopupListboxGx::SizeGripChangePosition(TSizeGripChangePosition position)
{
    FSizeGrip->ChangePosition(position);
}

void TPopupListboxGx::MessageReceived(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_SETSIZEGRIPCHANGEPOSITION:
        SizeGripChangePosition(TSizeGripChangePosition(Message.WParam));
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Keys the owner passes on while the list is open.
        WORD key = WORD(Message.WParam);
        KeyDown(key, CurrentShiftState());
        break;
    }
    case WM_CHAR: {
        QChar ch(char16_t(Message.WParam));
        KeyPress(ch);
        Message.Result = ch.unicode();
        break;
    }
    default:
        TCustomControl::MessageReceived(Message);
    }
}

// ---- drawing ----------------------------------------------------------------------

void TPopupListboxGx::Paint()
{
    TCanvas* c = Canvas();
    const TRect all(0, 0, width(), height());
    if (FCtl3D) {
        DrawEdge(c, all, EDGE_RAISED, BF_RECT);
    } else {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(all);
    }
    const TRect area = ItemsRect();
    const int ih = ItemHeightOrText();
    int y = area.Top;
    if (Count() == 0) {
        c->FillRect(area, Color());
        return;
    }
    for (int i = FTopIndex; i < Count() && y < area.Bottom; ++i, y += ih)
        DrawOneItem(i, TRect(area.Left, y, area.Right, y + ih));
    if (y < area.Bottom)
        c->FillRect(TRect(area.Left, y, area.Right, area.Bottom), Color());
}

void TPopupListboxGx::DrawOneItem(int index, const TRect& rect)
{
    TCanvas* c = Canvas();
    TOwnerDrawState state = 0;
    // The list draws its selection as focused although it never holds the focus.
    if (index == FItemIndex)
        state |= odSelected | odFocused;
    if (TPopupListboxItemGx* item = ItemObjectAt(index); item && !item->CanFocus())
        state &= ~odFocused;
    c->SaveDC();
    c->IntersectClipRect(rect);
    c->Font()->Assign(*Font());
    c->Brush()->SetColor(Color());
    if (state & odSelected) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    }
    DrawItem(index, rect, state);
    if (state & odFocused) {
        TRect focus = rect;
        if (FImageList)
            focus.Left += FImageList->Width() + 4;
        c->DrawFocusRect(focus);
    }
    c->RestoreDC();
}

void TPopupListboxGx::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (TPopupListboxItemGx* item = ItemObjectAt(Index))
        item->DrawItem(this, Index, Rect, State);
    else
        DefaultDrawItem(Index, Rect, State);
}

void TPopupListboxGx::DefaultDrawItem(int Index, const TRect& ARect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    if (!c)
        return;
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    if (!FImageList) {
        c->FillRect(ARect);
        if (Index < Count()) {
            TRect r = ARect;
            if (rtl)
                r.Right -= 2;
            else
                r.Left += 2;
            DrawText(c, ItemText(Index), r,
                     DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (rtl ? DT_RIGHT | DT_RTLREADING : 0));
        }
        return;
    }
    const int imageWidth = FImageList->Width() + 4;
    TRect imageRect = ARect;
    TRect textRect = ARect;
    if (rtl) {
        imageRect.Left = ARect.Right - imageWidth;
        textRect.Right = imageRect.Left;
    } else {
        imageRect.Right = ARect.Left + imageWidth;
        textRect.Left = imageRect.Right;
    }
    c->FillRect(imageRect, Color());
    int imageIndex = Index;
    if (OnGetImageIndex)
        OnGetImageIndex(FOwner, Index, imageIndex);
    if (imageIndex >= 0 && imageIndex < FImageList->Count())
        DrawImageCentered(c, imageRect, FImageList->Image(imageIndex), State & odSelected);
    const QString text = ItemText(Index);
    if (rtl) {
        const int x = textRect.Right - 2 - c->TextWidth(text);
        c->TextRect(textRect, x, ARect.Top, text);
    } else {
        c->TextRect(textRect, ARect.Left + FImageList->Width() + 5, ARect.Top, text);
    }
}

// ---- size -------------------------------------------------------------------------

void TPopupListboxGx::resizeEvent(QResizeEvent* e)
{
    TCustomControl::resizeEvent(e);
    FSizeGrip->UpdatePosition();
    if (e->oldSize().isValid() && e->oldSize() != e->size())
        FSizeGripResized = true;
    SnapHeight();
    UpdateScrollBar();
    SetTopIndex(FTopIndex);
}

void TPopupListboxGx::showEvent(QShowEvent* e)
{
    TCustomControl::showEvent(e);
    FSizeGrip->UpdatePosition();
}

// ---- mouse ------------------------------------------------------------------------

void TPopupListboxGx::MouseMove(TShiftState Shift, int X, int Y)
{
    const TPoint pos(X, Y);
    const int index = ItemAtPos(pos, true);
    if (pos != FMousePos && !Shift.contains(ssLeft) && !Shift.contains(ssRight) && !Shift.contains(ssMiddle)) {
        if (index >= 0)
            SetItemIndex(index);
        if (index != FMouseIndex) {
            InvalidateIndex(FMouseIndex);
            InvalidateIndex(index);
            FMouseIndex = index;
        }
    }
    if (TPopupListboxItemGx* item = ItemObjectAt(index))
        item->MouseMove(this, index, Shift, pos);
    FMousePos = pos;
    TCustomControl::MouseMove(Shift, X, Y);
}

void TPopupListboxGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FIsMouseUpCloseListbox = true;
    const int index = ItemAtPos(TPoint(X, Y), true);
    if (Button == mbLeft && index >= 0)
        SetItemIndex(index);
    QPointer<TPopupListboxGx> self(this);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!self)
        return;
    if (TPopupListboxItemGx* item = ItemObjectAt(index))
        item->MouseDown(this, index, Button, Shift, TPoint(X, Y));
}

void TPopupListboxGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FIsMouseUpCloseListbox = true;
    const int index = ItemAtPos(TPoint(X, Y), true);
    if (TPopupListboxItemGx* item = ItemObjectAt(index))
        item->MouseUp(this, index, FIsMouseUpCloseListbox, Button, Shift, TPoint(X, Y));
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TPopupListboxGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    SetTopIndex(FTopIndex + (WheelDelta < 0 ? 1 : -1));
    UpdateScrollBar();
    return true;
}

void TPopupListboxGx::MouseEnter()
{
    InvalidateIndex(FItemIndex);
}

void TPopupListboxGx::MouseLeave()
{
    InvalidateIndex(FItemIndex);
}

// ---- keys -------------------------------------------------------------------------

void TPopupListboxGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int rows = qMax(1, VisibleRows());
    const int last = Count() - 1;
    if (last < 0)
        return;
    int to = FItemIndex;
    switch (Key) {
    case VK_UP: to = FItemIndex < 0 ? 0 : FItemIndex - 1; break;
    case VK_DOWN: to = FItemIndex + 1; break;
    case VK_PRIOR: to = FItemIndex - (rows - 1); break;
    case VK_NEXT: to = FItemIndex < 0 ? rows - 1 : FItemIndex + (rows - 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = last; break;
    default: return;
    }
    SetItemIndex(qBound(0, to, last));
    Key = 0;
}

void TPopupListboxGx::KeyPress(QChar& Key)
{
    if (TPopupListboxItemGx* item = ItemObjectAt(FItemIndex))
        item->KeyPress(this, FItemIndex, Key, CurrentShiftState());
    TCustomControl::KeyPress(Key);
    if (Key == QChar(8) || Key == QChar(27)) {
        FSearchText.clear();
        return;
    }
    if (Key.unicode() <= 31)
        return;
    const qint64 now = TickCount();
    if (now - FSearchTickCount > SearchTimeWindowMs)
        FSearchText.clear();
    FSearchTickCount = now;
    if (FSearchText.size() < SearchTextLimit)
        FSearchText += Key;
    for (int i = 0; i < Count(); ++i) {
        if (NlsCompareText(ItemText(i).left(FSearchText.size()), FSearchText) == 0) {
            SetItemIndex(i);
            break;
        }
    }
    Key = QChar(0);
}
