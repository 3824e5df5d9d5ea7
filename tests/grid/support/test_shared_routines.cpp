// Shared routines: variant comparison, the adapters and the memory stream.
#include "GxLibVCL.h"
#include "ToolCtrlsGx.h"
#include "GxLibVCLGui.h"
#include <QGuiApplication>
#include <QStyleHints>
#include <gtest/gtest.h>

TEST(SharedRoutines, VariantsEqual)
{
    const Variant ab = VarArrayOf({Variant(1), Variant("b")});
    const Variant shifted = Variant::Array({Variant(1), Variant("b")}, 1);
    struct Case { const char* name; bool equal; };
    EXPECT_FALSE(VariantsEqual(Variant(), Variant::Null()));
    EXPECT_TRUE(VariantsEqual(Variant(), Variant()));
    EXPECT_TRUE(VariantsEqual(Variant::Null(), Variant::Null()));
    EXPECT_FALSE(VariantsEqual(Variant(0), Variant()));
    EXPECT_TRUE(VariantsEqual(Variant(3), Variant(3.0)));
    EXPECT_FALSE(VariantsEqual(Variant("abc"), Variant(5)));   // no conversion error escapes
    EXPECT_TRUE(VariantsEqual(ab, VarArrayOf({Variant(1), Variant("b")})));
    EXPECT_FALSE(VariantsEqual(ab, VarArrayOf({Variant(1), Variant("c")})));
    EXPECT_FALSE(VariantsEqual(ab, shifted));
    EXPECT_FALSE(VariantsEqual(ab, VarArrayOf({Variant(1)})));
    EXPECT_FALSE(VariantsEqual(ab, Variant(1)));
}

TEST(SharedRoutines, CompareVariants)
{
    struct Case { Variant a, b; TVariantRelationship r; };
    const Case cases[] = {
        {Variant::Null(), Variant::Null(), vrEqual},
        {Variant::Null(), Variant(0), vrLessThan},
        {Variant(0), Variant::Null(), vrGreaterThan},
        {Variant(2), Variant(10), vrLessThan},
        {Variant("b"), Variant("a"), vrGreaterThan},
        {Variant(5), Variant("abc"), vrNotEqual},
        {Variant(5.5), Variant("5.5"), vrEqual},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareVariants(c.a, c.b), c.r) << c.a.ToString().toStdString() << " / " << c.b.ToString().toStdString();
    EXPECT_EQ(CompareVariants(VarArrayOf({Variant(1)}), Variant(1)), vrNotEqual);
    EXPECT_EQ(CompareVariants(VarArrayOf({Variant(1), Variant(2)}), VarArrayOf({Variant(1), Variant(3)})), vrLessThan);
    EXPECT_EQ(CompareVariants(VarArrayOf({Variant(1), Variant(2)}), VarArrayOf({Variant(1), Variant(2)})), vrEqual);
    EXPECT_EQ(CompareVariants(VarArrayOf({Variant(1)}), VarArrayOf({Variant(1), Variant(2)})), vrNotEqual);
}

TEST(SharedRoutines, Adapters)
{
    TAnsiCharSetGx set;
    set.set('a');
    set.set(200);
    EXPECT_TRUE(CharInAnsiSet(QChar(u'a'), set));
    EXPECT_FALSE(CharInAnsiSet(QChar(u'b'), set));
    EXPECT_TRUE(CharInAnsiSet(QChar(200), set));
    EXPECT_FALSE(CharInAnsiSet(QChar(200 + 256), set));
    EXPECT_EQ(NlsCompareText(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    EXPECT_NE(NlsCompareStr(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    EXPECT_LT(NlsCompareStr(QStringLiteral("abc"), QStringLiteral("abd")), 0);
    qint16 x = 0, y = 0;
    LParamToSmallPoint(SmallPointToLParam(-5, 300), x, y);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 300);
    TRect r(1, 2, 3, 4);
    EmptyRect(r);
    EXPECT_EQ(r, TRect(0, 0, 0, 0));
    Variant a = VarArrayOf({Variant(1)});
    VarArrayRedimGx(a, 3);
    EXPECT_EQ(a.ArrayHighBound(), 3);
    EXPECT_TRUE(a.ArrayItem(3).IsUnassigned());
}

TEST(MemoryStream, GrowsInSteps)
{
    TMemoryStreamGx s;
    EXPECT_EQ(s.HalfMemoryDelta(), 4096);
    const char one = 'x';
    s.Write(&one, 1);
    EXPECT_EQ(s.Size(), 1);
    EXPECT_EQ(s.Capacity(), 8192);
    QByteArray big(8192, 'y');
    s.Write(big.constData(), big.size());
    EXPECT_EQ(s.Capacity(), 16384);
    s.Clear();
    EXPECT_EQ(s.Capacity(), 0);
    s.SetHalfMemoryDelta(65536);
    s.Write(&one, 1);
    EXPECT_EQ(s.Capacity(), 131072);
    s.Seek(0, TMemoryStreamGx::soBeginning);
    char back = 0;
    EXPECT_EQ(s.Read(&back, 5), 1);
    EXPECT_EQ(back, 'x');
}

TEST(MemoryStream, RefusesAStepThatIsNotAPowerOfTwo)
{
    TMemoryStreamGx s;
    for (int bad : {0, -4096, 3000, 6144}) {
        EXPECT_THROW(s.SetHalfMemoryDelta(bad), EStreamErrorGx) << bad;
        EXPECT_EQ(s.HalfMemoryDelta(), 4096);
    }
    s.SetHalfMemoryDelta(1);
    const char buf[3] = {1, 2, 3};
    s.Write(buf, 3);
    EXPECT_GE(s.Capacity(), 3);
    EXPECT_EQ(s.Capacity(), 4);
}



TEST(ClickLookAhead, TakesOnlyClicksInsideTheControl)
{
    TCustomControl window;
    window.resize(100, 100);
    QWidget child(&window);
    child.setGeometry(10, 10, 30, 30);

    // A click outside the child stays queued.
    window.PostMessage(WM_LBUTTONDOWN, 0, SmallPointToLParam(60, 60));
    EXPECT_FALSE(TakePendingClickInControl(&child));
    EXPECT_EQ(window.PendingMessageCount(), 1);
    // The window's own check takes it.
    EXPECT_TRUE(TakePendingClickInControl(&window));
    EXPECT_EQ(window.PendingMessageCount(), 0);

    window.PostMessage(WM_LBUTTONDBLCLK, 0, SmallPointToLParam(20, 20));
    EXPECT_FALSE(TakePendingClickOnControl(&window));   // the child is under the point
    EXPECT_TRUE(TakePendingClickInControl(&child));
    EXPECT_EQ(window.PendingMessageCount(), 0);

    // A button-up first: nothing counts.
    window.PostMessage(WM_LBUTTONUP, 0, SmallPointToLParam(20, 20));
    window.PostMessage(WM_LBUTTONDOWN, 0, SmallPointToLParam(20, 20));
    EXPECT_FALSE(TakePendingClickInControl(&child));
    EXPECT_EQ(window.PendingMessageCount(), 2);
}

TEST(ClickLookAhead, DoubleClickDistance)
{
    const int d = QGuiApplication::styleHints()->mouseDoubleClickDistance();
    const int t = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    EXPECT_TRUE(IsWithinDoubleClick(TPoint(10, 10), TPoint(10 + d, 10 - d), t));
    EXPECT_FALSE(IsWithinDoubleClick(TPoint(10, 10), TPoint(11 + d, 10), t));
    EXPECT_FALSE(IsWithinDoubleClick(TPoint(10, 10), TPoint(10, 10), t + 1));
    EXPECT_TRUE(GetShiftState().empty());
}

TEST(TextAdapters, DrawAndMeasure)
{
    TBitmap bmp(200, 40);
    TCanvas* c = bmp.Canvas();
    TRect r(0, 0, 200, 40);
    const int h = WinDrawText(c, QStringLiteral("材料"), DT_CALCRECT | DT_SINGLELINE, r);
    EXPECT_GT(h, 0);
    EXPECT_EQ(r.Height(), h);
    TOutlineTextMetricsGx m;
    EXPECT_TRUE(WinGetOutlineTextMetrics(c, m));
    EXPECT_EQ(m.Ascent + m.Descent, c->FontHeight());
    EXPECT_EQ(WinRectLPtoDP(c, TRect(1, 2, 3, 4)), TRect(1, 2, 3, 4));
    const TPoint tri[3] = {TPoint(0, 0), TPoint(10, 0), TPoint(0, 10)};
    const QRegion rgn = WinCreatePolygonRgn(tri, 3);
    EXPECT_TRUE(rgn.contains(QPoint(2, 2)));
    EXPECT_FALSE(rgn.contains(QPoint(9, 9)));
    TBitmap missing;
    EXPECT_THROW(LoadBitmapFromResource(missing, "NOSUCHBITMAP"), Exception);
}
