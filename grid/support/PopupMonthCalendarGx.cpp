#include "PopupMonthCalendarGx.h"
#include "FormatSettings.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawUtils.h"
#include <QApplication>
#include <QFontMetrics>

namespace {

const QDate kMinDate(1, 1, 1);
const QDate kMaxDate(9999, 12, 31);
constexpr int kPad = 4;
constexpr int kCellColumns = 4;   // the year, decade and century views: 4 x 3 cells
constexpr int kCellRows = 3;

QDate Today() { return ToQDate(::Date()); }

QDate Bounded(const QDate& d)
{
    if (!d.isValid() || d < kMinDate)
        return kMinDate;
    return d > kMaxDate ? kMaxDate : d;
}

// Months one step of a view spans: a day's worth in the month view is handled apart.
int MonthsPerCell(TMonthCalendarViewGx view)
{
    switch (view) {
    case mcvYearGx: return 1;
    case mcvDecadeGx: return 12;
    case mcvCenturyGx: return 120;
    default: return 0;
    }
}

int MonthsPerPage(TMonthCalendarViewGx view)
{
    return view == mcvMonthGx ? 1 : MonthsPerCell(view) * (view == mcvYearGx ? 12 : 10);
}

// The title: the year (or the range of years the page shows) and, in the month view, the month.
QString TitleYearText(TMonthCalendarViewGx view, const QDate& d)
{
    const int y = d.year();
    switch (view) {
    case mcvDecadeGx: return QStringLiteral("%1-%2").arg(y - y % 10).arg(y - y % 10 + 9);
    case mcvCenturyGx: return QStringLiteral("%1-%2").arg(y - y % 100).arg(y - y % 100 + 99);
    default: return QStringLiteral("%1年").arg(y);
    }
}

// Text over whatever the cell or the title is filled with.
int CalendarText(TCanvas* c, const QString& text, TRect& r, unsigned flags)
{
    c->SetBkMode(TRANSPARENT);
    return DrawText(c, text, r, flags);
}

QString TitleMonthText(const QDate& d) { return QStringLiteral("%1月").arg(d.month()); }

QDate WithYear(const QDate& d, int year)
{
    return QDate(year, d.month(), qMin(d.day(), QDate(year, d.month(), 1).daysInMonth()));
}

} // namespace

// ---------------------------------------------------------------------------
// TMonthCalendarGx

TMonthCalendarGx::TMonthCalendarGx(QWidget* parent)
    : TCustomControl(parent)
    , FDate(Today())
{
    SetColor(clWindow);
    SetClickEvents(false);
    AutoSizeToContents();
}

void TMonthCalendarGx::AutoSizeToContents()
{
    const TSize s = MinReqSize();
    resize(s.cx + 2 * FrameWidth(), s.cy + 2 * FrameWidth());
}

void TMonthCalendarGx::SetDate(TDateTime Value)
{
    SetSelectedDate(ToQDate(Value));
}

void TMonthCalendarGx::SetSelectedDate(const QDate& Value)
{
    const QDate d = Bounded(Value);
    if (d == FDate)
        return;
    FDate = d;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TMonthCalendarGx::SetView(TMonthCalendarViewGx Value)
{
    if (Value == FView)
        return;
    FView = Value;
    Invalidate();
}

void TMonthCalendarGx::SetWeekNumbers(bool Value)
{
    if (Value == FWeekNumbers)
        return;
    FWeekNumbers = Value;
    AutoSizeToContents();
    Invalidate();
}

void TMonthCalendarGx::SetShowToday(bool Value)
{
    if (Value == FShowToday)
        return;
    FShowToday = Value;
    AutoSizeToContents();
    Invalidate();
}

TRect TMonthCalendarGx::ContentRect() const
{
    const int f = FrameWidth();
    return TRect(f, f, width() - f, height() - f);
}

TMonthCalendarGx::Layout TMonthCalendarGx::CalcLayout() const
{
    const QFontMetrics fm(const_cast<TMonthCalendarGx*>(this)->Font()->toQFont());
    Layout l;
    const int fh = fm.height();
    l.cellW = qMax(fm.horizontalAdvance(QStringLiteral("00")), fm.horizontalAdvance(QStringLiteral("日"))) + 10;
    l.cellH = fh + 4;
    const TRect c = ContentRect();
    const int left = c.Left + kPad;
    const int right = c.Right - kPad;
    const int titleH = fh + 10;
    l.title = TRect(left, c.Top + kPad, right, c.Top + kPad + titleH);
    const int b = titleH - 4;
    l.prev = TRect(l.title.Left + 2, l.title.Top + 2, l.title.Left + 2 + b, l.title.Top + 2 + b);
    l.next = TRect(l.title.Right - 2 - b, l.title.Top + 2, l.title.Right - 2, l.title.Top + 2 + b);

    // The title texts, centred together.
    const QString yearText = TitleYearText(FView, FDate);
    const QString monthText = FView == mcvMonthGx ? TitleMonthText(FDate) : QString();
    QFont bold = const_cast<TMonthCalendarGx*>(this)->Font()->toQFont();
    bold.setBold(true);   // the title is drawn in bold
    const QFontMetrics bm(bold);
    const int yw = bm.horizontalAdvance(yearText);
    const int mw = monthText.isEmpty() ? 0 : bm.horizontalAdvance(monthText) + 2;
    const int tx = l.title.Left + (l.title.Width() - yw - mw) / 2;
    const int ty = l.title.Top + (titleH - fh) / 2;
    l.titleYear = TRect(tx, ty, tx + yw, ty + fh);
    l.titleMonth = monthText.isEmpty() ? TRect() : TRect(tx + yw + 2, ty, tx + yw + mw, ty + fh);

    const int daysLeft = left + (FWeekNumbers ? l.cellW : 0);
    l.header = TRect(daysLeft, l.title.Bottom + 2, daysLeft + 7 * l.cellW, l.title.Bottom + 4 + l.cellH);
    l.days = TRect(daysLeft, l.header.Bottom, daysLeft + 7 * l.cellW, l.header.Bottom + 6 * l.cellH);
    l.weekNums = FWeekNumbers ? TRect(left, l.days.Top, daysLeft, l.days.Bottom) : TRect();
    l.cells = TRect(daysLeft, l.header.Top, l.days.Right, l.days.Bottom);
    l.today = FShowToday ? TRect(left, l.days.Bottom + 2, right, l.days.Bottom + 4 + fh) : TRect();
    return l;
}

TSize TMonthCalendarGx::MinReqSize() const
{
    const QFontMetrics fm(const_cast<TMonthCalendarGx*>(this)->Font()->toQFont());
    const int fh = fm.height();
    const int cellW = qMax(fm.horizontalAdvance(QStringLiteral("00")), fm.horizontalAdvance(QStringLiteral("日"))) + 10;
    const int cellH = fh + 4;
    const int w = 2 * kPad + (FWeekNumbers ? 8 : 7) * cellW;
    const int h = 2 * kPad + (fh + 10) + 4 + cellH + 6 * cellH + (FShowToday ? fh + 4 : 0);
    return TSize(w, h);
}

QDate TMonthCalendarGx::FirstShownDay() const
{
    // Weeks start on Sunday; a month that starts on Sunday shows a grey week first.
    const QDate first(FDate.year(), FDate.month(), 1);
    int back = first.dayOfWeek() % 7;   // Qt: Monday 1 .. Sunday 7
    if (back == 0)
        back = 7;
    return first.addDays(-back);
}

QDate TMonthCalendarGx::CellDate(int index) const
{
    const int y = FDate.year();
    int year = y;
    switch (FView) {
    case mcvYearGx:
        return QDate(y, index + 1, qMin(FDate.day(), QDate(y, index + 1, 1).daysInMonth()));
    case mcvDecadeGx: year = y - y % 10 - 1 + index; break;
    case mcvCenturyGx: year = y - y % 100 - 10 + 10 * index + y % 10; break;
    default: return QDate();
    }
    if (year < 1 || year > 9999)
        return QDate();
    return WithYear(FDate, year);
}

int TMonthCalendarGx::CellIndexOf(const QDate& d) const
{
    for (int i = 0; i < kCellColumns * kCellRows; ++i) {
        const QDate c = CellDate(i);
        if (!c.isValid())
            continue;
        const bool same = FView == mcvYearGx      ? c.month() == d.month() && c.year() == d.year()
                          : FView == mcvDecadeGx ? c.year() == d.year()
                                                 : c.year() / 10 == d.year() / 10;
        if (same)
            return i;
    }
    return -1;
}

bool TMonthCalendarGx::CellIsGrey(int index) const
{
    return FView != mcvYearGx && (index == 0 || index == kCellColumns * kCellRows - 1);
}

TRect TMonthCalendarGx::DateRect(const QDate& Day) const
{
    const Layout l = CalcLayout();
    if (FView == mcvMonthGx) {
        const qint64 n = FirstShownDay().daysTo(Day);
        if (n < 0 || n >= 42)
            return TRect();
        const int col = int(n % 7);
        const int row = int(n / 7);
        return Bounds(l.days.Left + col * l.cellW, l.days.Top + row * l.cellH, l.cellW, l.cellH);
    }
    const int i = CellIndexOf(Day);
    if (i < 0)
        return TRect();
    const int w = l.cells.Width() / kCellColumns;
    const int h = l.cells.Height() / kCellRows;
    return Bounds(l.cells.Left + (i % kCellColumns) * w, l.cells.Top + (i / kCellColumns) * h, w, h);
}

TRect TMonthCalendarGx::TitleMonthRect() const { return CalcLayout().titleMonth; }
TRect TMonthCalendarGx::TitleYearRect() const { return CalcLayout().titleYear; }
TRect TMonthCalendarGx::PrevButtonRect() const { return CalcLayout().prev; }
TRect TMonthCalendarGx::NextButtonRect() const { return CalcLayout().next; }
TRect TMonthCalendarGx::TodayLinkRect() const { return CalcLayout().today; }

TMonthCalendarHitInfoGx TMonthCalendarGx::HitTest(const TPoint& P) const
{
    TMonthCalendarHitInfoGx info;
    if (!PtInRect(ContentRect(), P))
        return info;
    const Layout l = CalcLayout();
    if (PtInRect(l.title, P)) {
        if (PtInRect(l.prev, P))
            info.Hit = mchtTitleBtnPrevGx;
        else if (PtInRect(l.next, P))
            info.Hit = mchtTitleBtnNextGx;
        else if (PtInRect(l.titleMonth, P))
            info.Hit = mchtTitleMonthGx;
        else if (PtInRect(l.titleYear, P))
            info.Hit = mchtTitleYearGx;
        else
            info.Hit = mchtTitleBkGx;
        return info;
    }
    if (FShowToday && PtInRect(l.today, P)) {
        info.Hit = mchtTodayLinkGx;
        info.Date = Today();
        return info;
    }
    info.Hit = mchtCalendarBkGx;
    if (FView == mcvMonthGx) {
        if (PtInRect(l.header, P)) {
            info.Hit = mchtCalendarDayGx;
        } else if (FWeekNumbers && PtInRect(l.weekNums, P)) {
            info.Hit = mchtCalendarWeekNumGx;
            info.Date = FirstShownDay().addDays(7 * ((P.Y - l.days.Top) / l.cellH));
        } else if (PtInRect(l.days, P)) {
            const int col = (P.X - l.days.Left) / l.cellW;
            const int row = (P.Y - l.days.Top) / l.cellH;
            info.Date = FirstShownDay().addDays(row * 7 + col);
            if (info.Date.year() < 1 || info.Date > kMaxDate) {
                info.Date = QDate();
                return info;
            }
            const int diff = (info.Date.year() - FDate.year()) * 12 + info.Date.month() - FDate.month();
            info.Hit = diff < 0 ? mchtCalendarDatePrevGx : diff > 0 ? mchtCalendarDateNextGx : mchtCalendarDateGx;
        }
        return info;
    }
    if (PtInRect(l.cells, P)) {
        const int col = qMin(kCellColumns - 1, (P.X - l.cells.Left) * kCellColumns / l.cells.Width());
        const int row = qMin(kCellRows - 1, (P.Y - l.cells.Top) * kCellRows / l.cells.Height());
        const int i = row * kCellColumns + col;
        info.Date = CellDate(i);
        if (info.Date.isValid())
            info.Hit = !CellIsGrey(i) ? mchtCalendarDateGx : i == 0 ? mchtCalendarDatePrevGx : mchtCalendarDateNextGx;
    }
    return info;
}

void TMonthCalendarGx::MoveMonths(int months)
{
    const int total = FDate.year() * 12 + FDate.month() - 1 + months;
    if (total < 12 || total > 9999 * 12 + 11)
        return;
    SetSelectedDate(FDate.addMonths(months));
}

void TMonthCalendarGx::Page(int direction)
{
    MoveMonths(direction * MonthsPerPage(FView));
}

void TMonthCalendarGx::ZoomIn(const QDate& cellDate)
{
    SetSelectedDate(cellDate);
    SetView(TMonthCalendarViewGx(FView - 1));
}

bool TMonthCalendarGx::NavigateKey(WORD Key, TShiftState Shift)
{
    const bool ctrl = Shift.contains(ssCtrl);
    if (FView == mcvMonthGx) {
        switch (Key) {
        case VK_LEFT: SetSelectedDate(FDate.addDays(-1)); return true;
        case VK_RIGHT: SetSelectedDate(FDate.addDays(1)); return true;
        case VK_UP: SetSelectedDate(FDate.addDays(-7)); return true;
        case VK_DOWN: SetSelectedDate(FDate.addDays(7)); return true;
        case VK_PRIOR: MoveMonths(ctrl ? -12 : -1); return true;
        case VK_NEXT: MoveMonths(ctrl ? 12 : 1); return true;
        case VK_HOME: SetSelectedDate(QDate(FDate.year(), FDate.month(), 1)); return true;
        case VK_END: SetSelectedDate(QDate(FDate.year(), FDate.month(), FDate.daysInMonth())); return true;
        default: return false;
        }
    }
    const int unit = MonthsPerCell(FView);
    switch (Key) {
    case VK_LEFT: MoveMonths(-unit); return true;
    case VK_RIGHT: MoveMonths(unit); return true;
    case VK_UP: MoveMonths(-kCellColumns * unit); return true;
    case VK_DOWN: MoveMonths(kCellColumns * unit); return true;
    case VK_PRIOR: Page(-1); return true;
    case VK_NEXT: Page(1); return true;
    case VK_RETURN: ZoomIn(FDate); return true;
    default: return false;
    }
}

void TMonthCalendarGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && NavigateKey(Key, Shift))
        Key = 0;
}

void TMonthCalendarGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const TMonthCalendarHitInfoGx hit = HitTest(TPoint(X, Y));
    switch (hit.Hit) {
    case mchtTitleBtnPrevGx: Page(-1); break;
    case mchtTitleBtnNextGx: Page(1); break;
    case mchtCalendarDateGx:
    case mchtCalendarDatePrevGx:
    case mchtCalendarDateNextGx:
        if (FView == mcvMonthGx) {
            SetSelectedDate(hit.Date);
            FTrackingDate = true;
        }
        break;
    default: break;
    }
}

void TMonthCalendarGx::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FTrackingDate || !Shift.contains(ssLeft))
        return;
    // Dragging over the days moves the selection, within the shown month only.
    const TMonthCalendarHitInfoGx hit = HitTest(TPoint(X, Y));
    if (hit.Hit == mchtCalendarDateGx && FView == mcvMonthGx)
        SetSelectedDate(hit.Date);
}

void TMonthCalendarGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const bool tracked = FTrackingDate;
    FTrackingDate = false;
    const TMonthCalendarHitInfoGx hit = HitTest(TPoint(X, Y));
    switch (hit.Hit) {
    case mchtTitleMonthGx:
    case mchtTitleYearGx:
    case mchtTitleBkGx:
        if (FView != mcvCenturyGx)
            SetView(TMonthCalendarViewGx(FView + 1));
        break;
    case mchtCalendarDateGx:
    case mchtCalendarDatePrevGx:
    case mchtCalendarDateNextGx:
        if (FView != mcvMonthGx && !tracked)
            ZoomIn(hit.Date);
        break;
    case mchtTodayLinkGx:
        SetView(mcvMonthGx);
        SetSelectedDate(hit.Date);
        break;
    default: break;
    }
}

// ---- painting -------------------------------------------------------------

void TMonthCalendarGx::Paint()
{
    TCanvas* c = Canvas();
    const Layout l = CalcLayout();
    c->Brush()->SetColor(Color());
    c->FillRect(ContentRect());
    PaintTitle(c, l);
    if (FView == mcvMonthGx)
        PaintMonth(c, l);
    else
        PaintCells(c, l);

    if (FShowToday) {
        const QDate today = Today();
        const int box = l.today.Height() - 4;
        const TRect mark(l.today.Left + 2, l.today.Top + 2, l.today.Left + 2 + box * 3 / 2, l.today.Top + 2 + box);
        c->Brush()->SetColor(clRed);
        c->FrameRect(mark);
        c->Font()->SetColor(clWindowText);
        c->Font()->SetStyle(fsBold);
        TRect t(mark.Right + 6, l.today.Top, l.today.Right, l.today.Bottom);
        CalendarText(c, QStringLiteral("今天: ") + FormatDateTime(FormatSettings::ShortDateFormat, FromQDate(today)), t,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        c->Font()->SetStyle(0);
    }
}

void TMonthCalendarGx::PaintTitle(TCanvas* c, const Layout& l)
{
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(l.title);
    // The paging buttons: a small filled triangle each.
    for (int side = 0; side < 2; ++side) {
        const TRect& b = side == 0 ? l.prev : l.next;
        const int cy = (b.Top + b.Bottom) / 2;
        const int half = qMax(3, b.Height() / 4);
        const int cx = (b.Left + b.Right) / 2;
        TPoint pts[3];
        if (side == 0) {
            pts[0] = TPoint(cx - half / 2, cy);
            pts[1] = TPoint(cx + half / 2, cy - half);
            pts[2] = TPoint(cx + half / 2, cy + half);
        } else {
            pts[0] = TPoint(cx + half / 2, cy);
            pts[1] = TPoint(cx - half / 2, cy - half);
            pts[2] = TPoint(cx - half / 2, cy + half);
        }
        c->Pen()->SetColor(clWindowText);
        c->Brush()->SetColor(clWindowText);
        c->Polygon(pts, 3);
    }
    c->Font()->SetColor(clWindowText);
    c->Font()->SetStyle(fsBold);
    TRect yr = l.titleYear;
    CalendarText(c, TitleYearText(FView, FDate), yr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    if (FView == mcvMonthGx) {
        TRect mr = l.titleMonth;
        CalendarText(c, TitleMonthText(FDate), mr, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    c->Font()->SetStyle(0);
}

void TMonthCalendarGx::PaintMonth(TCanvas* c, const Layout& l)
{
    const unsigned centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    // Day-of-week header, Sunday first, with a line under it.
    c->Font()->SetColor(clHotLight);
    for (int i = 0; i < 7; ++i) {
        const QString name = FormatSettings::ShortDayName(i + 1);
        TRect r = Bounds(l.header.Left + i * l.cellW, l.header.Top, l.cellW, l.header.Height() - 2);
        CalendarText(c, name.right(1), r, centred);
    }
    c->Pen()->SetColor(clGrayText);
    c->MoveTo(l.header.Left + 2, l.header.Bottom - 2);
    c->LineTo(l.header.Right - 2, l.header.Bottom - 2);

    const QDate first = FirstShownDay();
    const QDate today = Today();
    for (int n = 0; n < 42; ++n) {
        const QDate d = first.addDays(n);
        TRect r = Bounds(l.days.Left + (n % 7) * l.cellW, l.days.Top + (n / 7) * l.cellH, l.cellW, l.cellH);
        const bool inMonth = d.month() == FDate.month() && d.year() == FDate.year();
        if (d == FDate) {
            c->Brush()->SetColor(clHighlight);
            c->FillRect(TRect(r.Left + 1, r.Top, r.Right - 1, r.Bottom));
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Font()->SetColor(inMonth ? clWindowText : clGrayText);
        }
        if (d == today) {
            c->Brush()->SetColor(clRed);
            c->FrameRect(TRect(r.Left + 1, r.Top, r.Right - 1, r.Bottom));
        }
        CalendarText(c, QString::number(d.day()), r, centred);
    }
    if (FWeekNumbers) {
        c->Font()->SetColor(clGrayText);
        for (int row = 0; row < 6; ++row) {
            TRect r = Bounds(l.weekNums.Left, l.days.Top + row * l.cellH, l.cellW, l.cellH);
            CalendarText(c, QString::number(first.addDays(row * 7 + 1).weekNumber()), r, centred);
        }
        c->MoveTo(l.weekNums.Right - 1, l.days.Top);
        c->LineTo(l.weekNums.Right - 1, l.days.Bottom);
    }
}

void TMonthCalendarGx::PaintCells(TCanvas* c, const Layout& l)
{
    const int w = l.cells.Width() / kCellColumns;
    const int h = l.cells.Height() / kCellRows;
    const int current = CellIndexOf(FDate);
    for (int i = 0; i < kCellColumns * kCellRows; ++i) {
        const QDate d = CellDate(i);
        if (!d.isValid())
            continue;
        TRect r = Bounds(l.cells.Left + (i % kCellColumns) * w, l.cells.Top + (i / kCellColumns) * h, w, h);
        QString text;
        switch (FView) {
        case mcvYearGx: text = QStringLiteral("%1月").arg(d.month()); break;
        case mcvDecadeGx: text = QString::number(d.year()); break;
        default: text = QStringLiteral("%1-\n%2").arg(d.year() - d.year() % 10).arg(d.year() - d.year() % 10 + 9); break;
        }
        if (i == current) {
            c->Brush()->SetColor(clHighlight);
            c->FillRect(TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Font()->SetColor(CellIsGrey(i) ? clGrayText : clWindowText);
        }
        if (text.contains(u'\n')) {
            TRect measure = r;
            const int th = CalendarText(c, text, measure, DT_CENTER | DT_NOPREFIX | DT_CALCRECT);
            r.Top += (r.Height() - th) / 2;
            CalendarText(c, text, r, DT_CENTER | DT_NOPREFIX);
        } else {
            CalendarText(c, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

// ---------------------------------------------------------------------------
// TPopupMonthCalendarGx

TPopupMonthCalendarGx::TPopupMonthCalendarGx(QObject* Owner, QWidget* parent)
    : TMonthCalendarGx(parent)
    , FOwner(Owner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetTabStop(false);
    AutoSizeToContents();
}

void TPopupMonthCalendarGx::SetCtl3D(bool Value)
{
    if (Value == FCtl3D)
        return;
    FCtl3D = Value;
    FBorderWidth = Value ? 2 : 0;
    AutoSizeToContents();
    Invalidate();
}

void TPopupMonthCalendarGx::CloseOwner(bool Accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerGx*>(FOwner))
        owner->CloseUp(Accept);
}

UINT TPopupMonthCalendarGx::GetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
}

bool TPopupMonthCalendarGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    // Enter and Escape are the calendar's own (no dialog button takes them); the key-down
    // handling closes with them.
    if (Key == VK_RETURN || Key == VK_ESCAPE)
        return true;
    return TMonthCalendarGx::WantSpecialKey(Key, Shift);
}

void TPopupMonthCalendarGx::KeyDown(WORD& Key, TShiftState Shift)
{
    const WORD key = Key;
    if (key != VK_RETURN && key != VK_ESCAPE) {
        TMonthCalendarGx::KeyDown(Key, Shift);
        return;
    }
    TCustomControl::KeyDown(Key, Shift);
    Key = 0;
    CloseOwner(key == VK_RETURN);
}

void TPopupMonthCalendarGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!PtInRect(ContentRect(), TPoint(X, Y))) {
        CloseOwner(false);
        return;
    }
    TMonthCalendarGx::MouseDown(Button, Shift, X, Y);
    FDownViewType = View();
}

void TPopupMonthCalendarGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMonthCalendarGx::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !PtInRect(ContentRect(), TPoint(X, Y)) || FDownViewType != mcvMonthGx)
        return;
    // A day (grey ones too), the week numbers, the calendar's background and the today link
    // pick a date. The title, its buttons and the day-of-week header do not: a click on the
    // month name pages through the views and must not write a date into the editor.
    switch (HitTest(TPoint(X, Y)).Hit) {
    case mchtCalendarDateGx:
    case mchtCalendarDatePrevGx:
    case mchtCalendarDateNextGx:
    case mchtCalendarWeekNumGx:
    case mchtCalendarBkGx:
    case mchtTodayLinkGx:
        if (View() == mcvMonthGx)
            CloseOwner(true);
        break;
    default: break;
    }
}

bool TPopupMonthCalendarGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TMonthCalendarGx::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (WheelDelta != 0)
        SetSelectedDate(SelectedDate().addDays(WheelDelta < 0 ? 1 : -1));
    return true;
}

void TPopupMonthCalendarGx::FocusKilled()
{
    // Posted, so that the focus change finishes before the editor hides the calendar.
    QWidget* to = QApplication::focusWidget();
    if (!to || !isAncestorOf(to))
        PostMessage(CM_CLOSEUPREQUESTGX, 0);
}

void TPopupMonthCalendarGx::MessageReceived(TMessage& Message)
{
    if (Message.Msg == CM_CLOSEUPREQUESTGX)
        CloseOwner(false);
    else
        TMonthCalendarGx::MessageReceived(Message);
}

void TPopupMonthCalendarGx::Paint()
{
    TMonthCalendarGx::Paint();
    TCanvas* c = Canvas();
    const TRect r(0, 0, width(), height());
    if (FCtl3D) {
        DrawEdge(c, r, EDGE_RAISED, BF_RECT);
    } else {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
    }
}
