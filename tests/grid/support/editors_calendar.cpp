// The month calendar and its drop-down form: which clicks pick a date, keys, the wheel, views.
#include "PopupMonthCalendarGx.h"
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <vector>
#include <gtest/gtest.h>

namespace {
struct FakeOwner : QObject, IPopupOwnerGx {
    std::vector<bool> closes;
    void CloseUp(bool Accept) override { closes.push_back(Accept); }
};

QPoint Centre(const TRect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

struct FixedClock {
    FixedClock() { SetClockForTesting([] { return TDateTime(EncodeDate(2026, 12, 10).Value + 0.5); }); }
    ~FixedClock() { SetClockForTesting({}); }
};

class PopupCalendar : public ::testing::Test {
protected:
    FixedClock clock;
    FakeOwner owner;
    TPopupMonthCalendarGx cal{&owner};
    void SetUp() override
    {
        cal.SetSelectedDate(QDate(2024, 5, 15));
        cal.show();
    }
    void Click(const QPoint& p) { QTest::mouseClick(&cal, Qt::LeftButton, Qt::NoModifier, p); }
};
} // namespace

// Every kind of click in the month view, and what it does to the date, the view and the owner.
TEST_F(PopupCalendar, ClicksTable)
{
    using Target = std::function<QPoint(TPopupMonthCalendarGx&)>;
    struct Case {
        const char* name;
        Target at;
        std::vector<bool> closes;
        QDate date;
        TMonthCalendarViewGx view;
    };
    const std::vector<bool> accepted{true};
    const std::vector<bool> none;
    const Case cases[] = {
        {"a day", [](auto& c) { return Centre(c.DateRect(QDate(2024, 5, 20))); }, accepted, QDate(2024, 5, 20), mcvMonthGx},
        {"a grey day of the month before", [](auto& c) { return Centre(c.DateRect(QDate(2024, 4, 30))); }, accepted,
         QDate(2024, 4, 30), mcvMonthGx},
        {"a grey day of the month after", [](auto& c) { return Centre(c.DateRect(QDate(2024, 6, 1))); }, accepted,
         QDate(2024, 6, 1), mcvMonthGx},
        {"the today link", [](auto& c) { return Centre(c.TodayLinkRect()); }, accepted, QDate(2026, 12, 10), mcvMonthGx},
        {"the next-month button", [](auto& c) { return Centre(c.NextButtonRect()); }, none, QDate(2024, 6, 15), mcvMonthGx},
        {"the previous-month button", [](auto& c) { return Centre(c.PrevButtonRect()); }, none, QDate(2024, 4, 15),
         mcvMonthGx},
        {"the day-of-week header", [](auto& c) { return Centre(c.DateRect(QDate(2024, 4, 28))) - QPoint(0, 20); }, none,
         QDate(2024, 5, 15), mcvMonthGx},
        // The month name pages through the views; it must not pick a date.
        {"the month in the title", [](auto& c) { return Centre(c.TitleMonthRect()); }, none, QDate(2024, 5, 15), mcvYearGx},
        {"the year in the title", [](auto& c) { return Centre(c.TitleYearRect()); }, none, QDate(2024, 5, 15), mcvYearGx},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        owner.closes.clear();
        cal.SetView(mcvMonthGx);
        cal.SetSelectedDate(QDate(2024, 5, 15));
        const QPoint p = c.at(cal);
        if (QString::fromLatin1(c.name).contains(QLatin1String("header"))) {
            ASSERT_EQ(cal.HitTest(TPoint(p.x(), p.y())).Hit, mchtCalendarDayGx);
        }
        Click(p);
        EXPECT_EQ(owner.closes, c.closes);
        EXPECT_EQ(cal.SelectedDate(), c.date);
        EXPECT_EQ(cal.View(), c.view);
    }
}

TEST_F(PopupCalendar, PickingAMonthInTheYearViewKeepsItOpenUntilADayIsClicked)
{
    Click(Centre(cal.TitleMonthRect()));
    ASSERT_EQ(cal.View(), mcvYearGx);
    Click(Centre(cal.DateRect(QDate(2024, 8, 1))));   // the cell of August
    EXPECT_TRUE(owner.closes.empty());
    EXPECT_EQ(cal.View(), mcvMonthGx);
    EXPECT_EQ(cal.SelectedDate(), QDate(2024, 8, 15));

    // Out to the century and back in: decade 2030s, year 2032, then a month and a day.
    Click(Centre(cal.TitleYearRect()));
    Click(Centre(cal.TitleYearRect()));
    Click(Centre(cal.TitleYearRect()));
    ASSERT_EQ(cal.View(), mcvCenturyGx);
    Click(Centre(cal.TitleYearRect()));                // nothing above the century
    EXPECT_EQ(cal.View(), mcvCenturyGx);
    Click(Centre(cal.DateRect(QDate(2034, 8, 15))));
    EXPECT_EQ(cal.View(), mcvDecadeGx);
    Click(Centre(cal.DateRect(QDate(2032, 8, 15))));
    EXPECT_EQ(cal.View(), mcvYearGx);
    Click(Centre(cal.DateRect(QDate(2032, 2, 1))));
    EXPECT_EQ(cal.View(), mcvMonthGx);
    EXPECT_TRUE(owner.closes.empty());
    Click(Centre(cal.DateRect(QDate(2032, 2, 29))));
    EXPECT_EQ(owner.closes, std::vector<bool>{true});
    EXPECT_EQ(cal.Date(), EncodeDate(2032, 2, 29));
}

TEST_F(PopupCalendar, KeysAndWheel)
{
    struct Case {
        WORD key;
        TShiftState shift;
        QDate date;
    };
    const Case cases[] = {
        {VK_RIGHT, {}, QDate(2024, 5, 16)}, {VK_LEFT, {}, QDate(2024, 5, 15)},  {VK_DOWN, {}, QDate(2024, 5, 22)},
        {VK_UP, {}, QDate(2024, 5, 15)},    {VK_NEXT, {}, QDate(2024, 6, 15)},  {VK_PRIOR, ssCtrl, QDate(2023, 6, 15)},
        {VK_END, {}, QDate(2023, 6, 30)},   {VK_HOME, {}, QDate(2023, 6, 1)},
    };
    for (const Case& c : cases) {
        WORD key = c.key;
        cal.KeyDown(key, c.shift);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(cal.SelectedDate(), c.date) << c.key;
    }
    QTest::keyClick(&cal, Qt::Key_Return);
    QTest::keyClick(&cal, Qt::Key_Escape);
    EXPECT_EQ(owner.closes, (std::vector<bool>{true, false}));

    // One day per notch: down is later, up earlier.
    cal.SetSelectedDate(QDate(2024, 2, 28));
    QWheelEvent down(QPointF(20, 60), cal.mapToGlobal(QPointF(20, 60)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&cal, &down);
    EXPECT_EQ(cal.SelectedDate(), QDate(2024, 2, 29));
    EXPECT_TRUE(down.isAccepted());
    QWheelEvent up(QPointF(20, 60), cal.mapToGlobal(QPointF(20, 60)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&cal, &up);
    QApplication::sendEvent(&cal, &up);
    EXPECT_EQ(cal.SelectedDate(), QDate(2024, 2, 27));
    EXPECT_EQ(owner.closes.size(), 2);
}

TEST_F(PopupCalendar, ClosingWithoutAccepting)
{
    // A press outside the calendar (it holds the mouse) and the posted close-up request.
    QTest::mousePress(&cal, Qt::LeftButton, Qt::NoModifier, QPoint(cal.width() + 30, 10));
    QTest::mouseRelease(&cal, Qt::LeftButton, Qt::NoModifier, QPoint(cal.width() + 30, 10));
    EXPECT_EQ(owner.closes, std::vector<bool>{false});
    cal.PostMessage(CM_CLOSEUPREQUESTGX);
    EXPECT_EQ(owner.closes.size(), 1);   // posted: not before the running event ends
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.closes, (std::vector<bool>{false, false}));
    EXPECT_EQ(cal.SelectedDate(), QDate(2024, 5, 15));

    // Without the owner interface nothing closes.
    QObject plain;
    TPopupMonthCalendarGx orphan(&plain);
    orphan.show();
    QTest::keyClick(&orphan, Qt::Key_Return);
    QTest::mouseClick(&orphan, Qt::LeftButton, Qt::NoModifier, Centre(orphan.DateRect(QDate(2026, 12, 3))));
    EXPECT_EQ(orphan.SelectedDate(), QDate(2026, 12, 3));
}

TEST_F(PopupCalendar, SizeFrameAndWeekNumbers)
{
    EXPECT_FALSE(cal.hasFocus());
    EXPECT_TRUE(cal.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    const TSize min = cal.MinReqSize();
    EXPECT_EQ(cal.BorderWidth(), 2);
    EXPECT_EQ(cal.width(), min.cx + 4);
    EXPECT_EQ(cal.height(), min.cy + 4);
    cal.SetCtl3D(false);
    EXPECT_EQ(cal.BorderWidth(), 0);
    EXPECT_EQ(cal.width(), min.cx + 2);   // a plain one-pixel border

    // The week-number column picks a date like a day does (the week's Sunday).
    cal.SetWeekNumbers(true);
    const TRect day = cal.DateRect(QDate(2024, 5, 12));
    const QPoint weekNum(day.Left - 5, (day.Top + day.Bottom) / 2);
    ASSERT_EQ(cal.HitTest(TPoint(weekNum.x(), weekNum.y())).Hit, mchtCalendarWeekNumGx);
    Click(weekNum);
    EXPECT_EQ(owner.closes, std::vector<bool>{true});
}

TEST_F(PopupCalendar, Screenshot)
{
    cal.SetSelectedDate(QDate(2026, 12, 18));
    QApplication::processEvents();
    QDir().mkpath(QStringLiteral(DPX_TEST_ARTIFACTS));
    EXPECT_TRUE(cal.grab().toImage().save(QStringLiteral(DPX_TEST_ARTIFACTS "/popup_calendar.png")));
    cal.SetView(mcvDecadeGx);
    QApplication::processEvents();
    EXPECT_TRUE(cal.grab().toImage().save(QStringLiteral(DPX_TEST_ARTIFACTS "/popup_calendar_decade.png")));
}
