#pragma once
// The month calendar and its drop-down form.
//
// TMonthCalendarGx is a custom-drawn month calendar: a title with the year and the month
// between two paging buttons, the day-of-week header, six weeks of days (the grey ones belong
// to the neighbouring months) and a "today" link. A click on the title zooms out to the months
// of the year, the years of the decade and the decades of the century; a click on a cell there
// zooms back in. It answers what a drop-down needs of it: the current view, the kind of thing
// under a point, its minimum size and the selected date.
//
// TPopupMonthCalendarGx is that calendar as a frameless tool window that never takes the focus:
// the editor owning it keeps the focus, passes it the navigation keys, and is told through
// IPopupOwnerGx when the user picks a date (accept) or leaves the calendar (cancel).
#include "PopupOwnerGx.h"
#include "platform/gui/ControlBase.h"
#include "DateTime.h"
#include <QDate>

enum TMonthCalendarViewGx { mcvMonthGx = 0, mcvYearGx = 1, mcvDecadeGx = 2, mcvCenturyGx = 3 };

enum TMonthCalendarHitGx {
    mchtNowhereGx,
    mchtTitleBkGx,            // the title outside its texts and buttons
    mchtTitleMonthGx,         // the month in the title
    mchtTitleYearGx,          // the year (or the range of years) in the title
    mchtTitleBtnPrevGx,
    mchtTitleBtnNextGx,
    mchtCalendarBkGx,         // the calendar area outside any day or cell
    mchtCalendarDateGx,       // a day of the shown month, or a month/year/decade cell
    mchtCalendarDatePrevGx,   // a grey day of the month before
    mchtCalendarDateNextGx,   // a grey day of the month after
    mchtCalendarDayGx,        // the day-of-week header
    mchtCalendarWeekNumGx,    // the week-number column
    mchtTodayLinkGx,
};

struct TMonthCalendarHitInfoGx {
    TMonthCalendarHitGx Hit = mchtNowhereGx;
    QDate Date;               // the day or cell under the point, when there is one
};

class TMonthCalendarGx : public TCustomControl {
public:
    explicit TMonthCalendarGx(QWidget* parent = nullptr);

    // The selected date (whole days); setting it shows its month. Always succeeds.
    TDateTime Date() const { return FromQDate(FDate); }
    void SetDate(TDateTime Value);
    QDate SelectedDate() const { return FDate; }
    void SetSelectedDate(const QDate& Value);

    TMonthCalendarViewGx View() const { return FView; }
    void SetView(TMonthCalendarViewGx Value);

    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool Value);
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool Value);

    // What lies under a client point.
    TMonthCalendarHitInfoGx HitTest(const TPoint& P) const;
    // The smallest size that shows the whole calendar (without a frame).
    TSize MinReqSize() const;
    // Where a day of the shown month (or a neighbouring grey day) is drawn; empty when it is
    // not on the page. In the other views: the cell holding the date.
    TRect DateRect(const QDate& Day) const;
    TRect TitleMonthRect() const;
    TRect TitleYearRect() const;
    TRect PrevButtonRect() const;
    TRect NextButtonRect() const;
    TRect TodayLinkRect() const;

    // Keyboard navigation: arrows by day and week, Page Up/Down by month (Ctrl: by year),
    // Home/End to the month's first and last day; in the other views by cell. True when used.
    bool NavigateKey(WORD Key, TShiftState Shift);

    TNotifyEvent OnChange;      // the selected date changed

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint() override;
    // The width of the frame around the calendar's contents (none in the bare calendar).
    virtual int FrameWidth() const { return 0; }
    // The area inside the frame.
    TRect ContentRect() const;
    // Takes the minimum size plus the frame.
    void AutoSizeToContents();

private:
    struct Layout {
        TRect title, prev, next, titleMonth, titleYear, header, weekNums, days, cells, today;
        int cellW = 0, cellH = 0;
    };
    Layout CalcLayout() const;
    QDate FirstShownDay() const;            // the top-left day of the month page
    QDate CellDate(int index) const;        // cell 0..11 of the year, decade or century view
    int CellIndexOf(const QDate& d) const;  // -1 when the date's cell is not on the page
    bool CellIsGrey(int index) const;
    void MoveMonths(int months);
    void Page(int direction);
    void ZoomIn(const QDate& cellDate);
    void PaintTitle(TCanvas* c, const Layout& l);
    void PaintMonth(TCanvas* c, const Layout& l);
    void PaintCells(TCanvas* c, const Layout& l);

    QDate FDate;
    TMonthCalendarViewGx FView = mcvMonthGx;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FTrackingDate = false;     // the left button went down on a day and is still down
};

class TPopupMonthCalendarGx : public TMonthCalendarGx {
public:
    // Owner is the editor; it is asked for IPopupOwnerGx whenever the calendar closes.
    explicit TPopupMonthCalendarGx(QObject* Owner, QWidget* parent = nullptr);

    int BorderWidth() const { return FBorderWidth; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    // The view at the last mouse-down.
    TMonthCalendarViewGx DownViewType() const { return FDownViewType; }

    UINT GetDlgCode() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void FocusKilled() override;
    void MessageReceived(TMessage& Message) override;

protected:
    void Paint() override;
    int FrameWidth() const override { return FCtl3D ? FBorderWidth : 1; }

private:
    void CloseOwner(bool Accept);

    QObject* FOwner;
    int FBorderWidth = 2;
    bool FCtl3D = true;
    TMonthCalendarViewGx FDownViewType = mcvMonthGx;
};
