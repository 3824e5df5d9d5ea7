// Timers by id, posted private messages with removal, and scroll bars with
// Windows' ranges that report instead of moving by themselves.
#include "events_support.h"

#include <QElapsedTimer>
#include <QScrollBar>

#include "Canvas.h"
#include <gtest/gtest.h>

namespace {

TEST(EventsMessages, TimersTickByIdUntilKilled)
{
    TForm form;
    auto* c = new RecordingControl(&form);
    c->SetTimer(1, 5);
    c->SetTimer(2, 40);
    EXPECT_TRUE(c->TimerActive(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->log.count(QStringLiteral("timer 1")) >= 3; }, 60000));
    // Setting an id again restarts it with the new interval; killing stops it.
    c->SetTimer(2, 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->log.count(QStringLiteral("timer 2")) >= 2; }, 60000));
    c->KillTimer(1);
    c->KillTimer(2);
    EXPECT_FALSE(c->TimerActive(1));
    c->log.clear();
    QTest::qWait(30);
    EXPECT_TRUE(c->log.isEmpty());
}

TEST(EventsMessages, PostedMessageArrivesOnceAndARemovedOneNever)
{
    TForm form;
    auto* c = new RecordingControl(&form);
    c->PostMessage(WM_USER + 100, 7);
    c->PostMessage(WM_USER + 101, 8);
    c->PostMessage(WM_USER + 101, 9);
    EXPECT_TRUE(c->log.isEmpty()) << "posted messages wait for the event loop";
    EXPECT_EQ(c->RemovePendingMessages(WM_USER + 101), 2);
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_EQ(c->log, QStringList{QStringLiteral("msg 1124 7")});

    // PeekMessage with removal takes the first pending message of a range.
    c->log.clear();
    c->PostMessage(WM_USER + 5, 1);
    c->PostMessage(WM_USER + 6, 2);
    TMessage m;
    ASSERT_TRUE(c->PeekMessage(m, WM_USER + 6, WM_USER + 6, true));
    EXPECT_EQ(m.WParam, 2u);
    EXPECT_FALSE(c->PeekMessage(m, WM_USER + 6, WM_USER + 6, false));
    Application->ProcessMessages();
    EXPECT_EQ(c->log, QStringList{QStringLiteral("msg 1029 1")});
    // Perform is synchronous and returns the handler's result.
    EXPECT_EQ(c->Perform(WM_GETDLGCODE), LRESULT(0));
}

TEST(EventsMessages, ScrollBarsKeepWindowsRanges)
{
    TForm form;
    auto* c = new RecordingControl(&form);
    c->resize(200, 100);
    c->SetScrollBars(TScrollStyle::ssBoth);
    showActive(&form);
    const int ext = TCustomControl::ScrollBarExtent();
    EXPECT_FALSE(c->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(c->ClientWidth(), 200);

    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 95;   // beyond nMax - nPage + 1
    c->log.clear();
    EXPECT_EQ(c->SetScrollInfo(SB_VERT, si), 90);
    EXPECT_TRUE(c->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(c->ClientWidth(), 200 - ext);
    EXPECT_TRUE(c->log.contains(QStringLiteral("resize %1x100").arg(200 - ext)));

    TScrollInfo out;
    out.fMask = SIF_ALL;
    ASSERT_TRUE(c->GetScrollInfo(SB_VERT, out));
    EXPECT_EQ(out.nMin, 0);
    EXPECT_EQ(out.nMax, 99);
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(out.nPos, 90);

    // The bar reports the request and stays where the control put it.
    c->SetScrollPos(SB_VERT, 40);
    c->log.clear();
    QScrollBar* bar = c->ScrollBarWidget(SB_VERT);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(c->log, (QStringList{"scroll 1 1 41", "scroll 1 8 0", "scroll 1 2 30", "scroll 1 8 0",
                                   "scroll 1 7 90", "scroll 1 8 0"}));
    EXPECT_EQ(bar->value(), 40);
    EXPECT_EQ(c->GetScrollPos(SB_VERT), 40);

    // A range no larger than the page hides the bar again.
    si.fMask = SIF_RANGE;
    si.nMax = 9;
    c->SetScrollInfo(SB_VERT, si);
    EXPECT_FALSE(c->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(c->GetScrollPos(SB_VERT), 0);
    EXPECT_EQ(c->ClientWidth(), 200);
    // A range without page shows while max exceeds min; horizontal bars too.
    c->SetScrollRange(SB_HORZ, 0, 127);
    EXPECT_TRUE(c->ScrollBarVisible(SB_HORZ));
    EXPECT_EQ(c->ClientHeight(), 100 - ext);
}

} // namespace

namespace {

struct WhiteControl : TCustomControl {
    using TCustomControl::TCustomControl;
    int paints = 0;
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(TRect(0, 30, 100, 40));
    }
};

TEST(EventsPainting, XorLinesOutsidePaintShowWithoutRepaint)
{
    TForm form;
    auto* c = new WhiteControl(&form);
    c->resize(100, 60);
    showActive(&form);
    QImage img = c->grab().toImage();
    const int paints = c->paints;
    ASSERT_GE(paints, 1);
    auto xorLine = [&] {
        TCanvas* cv = c->Canvas();
        ASSERT_NE(cv, nullptr);
        cv->Pen()->SetMode(pmXor);
        cv->Pen()->SetColor(clWhite);
        cv->MoveTo(10, 0);
        cv->LineTo(10, 20);
    };
    xorLine();
    img = c->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 5)), QColor(Qt::black));
    EXPECT_EQ(c->paints, paints) << "showing a figure does not paint again";
    // Painting underneath leaves the figure in place.
    c->Invalidate();
    img = c->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 5)), QColor(Qt::black));
    EXPECT_EQ(c->paints, paints + 1);
    xorLine();   // drawn twice: gone
    img = c->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 5)), QColor(Qt::white));
    EXPECT_EQ(c->paints, paints + 1);

    // Scrolling the window moves the pixels and paints only what is uncovered.
    c->ScrollWindow(0, -20);
    img = c->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(50, 15)), QColor(Qt::blue));
    EXPECT_EQ(QColor(img.pixel(50, 35)), QColor(Qt::white));
    EXPECT_EQ(c->paints, paints + 2);
    // A figure shows on screen once the event loop runs.
    xorLine();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QColor(c->grab().toImage().pixel(10, 5)) == QColor(Qt::black); }, 60000));
}

} // namespace
