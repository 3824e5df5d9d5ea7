// Text output: DrawText flags, text metrics, opaque backgrounds and edges.
#include "DrawUtils.h"
#include "canvas_support.h"

#include <gtest/gtest.h>

namespace {

const QString kChinese = QStringLiteral("仓库材料入库单据审核记帐期末结转");  // 16 ideographs

TEST(CanvasText, MetricsOfTheDefaultCjkFont)
{
    ImageCanvas ic;
    TFont& f = *ic->Font();
    EXPECT_EQ(f.Name(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(f.Height(), -12);
    EXPECT_EQ(f.Size(), 9);
    const int w = ic->TextWidth(QStringLiteral("仓"));
    EXPECT_GE(w, 11);
    EXPECT_EQ(ic->TextWidth(kChinese), 16 * w);  // ideographs are all one width
    EXPECT_EQ(ic->TextHeight(kChinese), ic->FontHeight());
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    EXPECT_GT(ic->TextHeight(QStringLiteral("郭")), 12);
}

struct CalcCase {
    const char* name;
    QString text;
    int widthInChars;  // rectangle width in ideograph widths
    unsigned flags;
    int lines;         // expected lines
    int resultChars;   // expected width of the calculated rectangle in ideograph widths
};

class DrawTextCalc : public ::testing::TestWithParam<CalcCase> {};

TEST_P(DrawTextCalc, CalculatesTheRectangle)
{
    const CalcCase c = GetParam();
    ImageCanvas ic;
    const int w = ic->TextWidth(QStringLiteral("仓"));
    TRect r(5, 7, 5 + c.widthInChars * w, 7);
    const int h = DrawText(ic.get(), c.text, r, c.flags | DT_CALCRECT);
    EXPECT_EQ(h, c.lines * ic->FontHeight());
    EXPECT_EQ(r.Top, 7);
    EXPECT_EQ(r.Bottom, 7 + h);
    EXPECT_EQ(r.Left, 5);
    EXPECT_EQ(r.Width(), c.resultChars * w);
    EXPECT_TRUE(ic.ink().isNull()) << "measuring draws nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Flags, DrawTextCalc,
    ::testing::Values(
        CalcCase{"SingleLineKeepsItsWidth", kChinese, 3, DT_SINGLELINE, 1, 16},
        CalcCase{"ChineseBreaksBetweenIdeographs", kChinese, 5, DT_WORDBREAK, 4, 5},
        CalcCase{"ChineseEditControl", kChinese, 7, DT_WORDBREAK | DT_EDITCONTROL, 3, 7},
        CalcCase{"ShortTextNarrowsTheRectangle", QStringLiteral("入库"), 10, DT_WORDBREAK, 1, 2},
        CalcCase{"LineBreaksWithoutWordBreak", QStringLiteral("入库\r\n出库单\n审核"), 10, 0, 3, 3},
        CalcCase{"TrailingLineBreakAddsNoLine", QStringLiteral("入库\r\n"), 10, DT_WORDBREAK, 1, 2},
        CalcCase{"EmptyText", QString(), 10, DT_WORDBREAK, 0, 0},
        CalcCase{"ClosingPunctuationStaysWithItsWord", QStringLiteral("入库单，出库"), 3, DT_WORDBREAK, 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasText, WordBreakKeepsLatinWordsWhole)
{
    ImageCanvas ic(300, 100);
    const QString text = QStringLiteral("stock material");
    const int wordW = ic->TextWidth(QStringLiteral("material"));
    TRect r(0, 0, wordW + 2, 0);
    DrawText(ic.get(), text, r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(r.Height(), 2 * ic->FontHeight());
    EXPECT_EQ(r.Width(), wordW);

    // A word wider than the rectangle widens it, unless edit-control breaking splits it.
    TRect narrow(0, 0, 10, 0);
    DrawText(ic.get(), QStringLiteral("material"), narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(narrow.Width(), wordW);
    TRect split(0, 0, wordW / 2 + 1, 0);
    DrawText(ic.get(), QStringLiteral("material"), split, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    EXPECT_GE(split.Height(), 2 * ic->FontHeight());
    EXPECT_LE(split.Width(), wordW / 2 + 1);
}

TEST(CanvasText, EndEllipsisFitsTheRectangle)
{
    ImageCanvas ic(300, 40);
    const int w = ic->TextWidth(QStringLiteral("仓"));
    TRect r(10, 5, 10 + 5 * w, 25);
    const QString shown = EllipsisText(ic.get(), kChinese, r.Width());
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(kChinese.startsWith(shown.left(shown.size() - 3)));
    EXPECT_LE(ic->TextWidth(shown), r.Width());
    EXPECT_GT(ic->TextWidth(shown.left(shown.size() - 3) + kChinese.mid(shown.size() - 3, 1) + QStringLiteral("...")), r.Width());
    EXPECT_EQ(EllipsisText(ic.get(), QStringLiteral("入库"), r.Width()), QStringLiteral("入库"));

    DrawText(ic.get(), kChinese, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    QRect ink = ic.ink();
    EXPECT_GE(ink.left(), r.Left);
    EXPECT_LT(ink.right(), r.Right);
}

struct AlignCase {
    const char* name;
    unsigned flags;
    int expectLeft, expectRight, expectTop, expectBottom;  // -1: not checked; edges of the text cell
};

TEST(CanvasText, AlignmentPlacesTheTextCell)
{
    // Opaque text: the brush fills exactly the text cell, so its place is visible.
    ImageCanvas probe;
    const int tw = probe->TextWidth(QStringLiteral("入库")), th = probe->FontHeight();
    const TRect r(10, 10, 110, 60);
    const AlignCase cases[] = {
        {"left-top", DT_SINGLELINE, 10, 10 + tw - 1, 10, 10 + th - 1},
        {"right", DT_SINGLELINE | DT_RIGHT, 110 - tw, 109, 10, 10 + th - 1},
        {"centre", DT_SINGLELINE | DT_CENTER, 10 + (100 - tw) / 2, 10 + (100 - tw) / 2 + tw - 1, -1, -1},
        {"vcentre", DT_SINGLELINE | DT_VCENTER, -1, -1, (70 - th) / 2, (70 - th) / 2 + th - 1},
        {"bottom", DT_SINGLELINE | DT_BOTTOM, -1, -1, 60 - th, 59},
        {"vcentre needs single line", DT_VCENTER, -1, -1, 10, 10 + th - 1},
    };
    for (const auto& c : cases) {
        ImageCanvas ic(130, 80);
        ic->Brush()->SetColor(clYellow);
        TRect rr = r;
        DrawText(ic.get(), QStringLiteral("入库"), rr, c.flags);
        QRect ink = ic.ink();
        if (c.expectLeft >= 0) { EXPECT_EQ(ink.left(), c.expectLeft) << c.name; }
        if (c.expectRight >= 0) { EXPECT_EQ(ink.right(), c.expectRight) << c.name; }
        if (c.expectTop >= 0) { EXPECT_EQ(ink.top(), c.expectTop) << c.name; }
        if (c.expectBottom >= 0) { EXPECT_EQ(ink.bottom(), c.expectBottom) << c.name; }
    }
}

TEST(CanvasText, ClippingFollowsNoClipAndEditControl)
{
    const QString text = QStringLiteral("材料入库单据");
    for (bool noclip : {false, true}) {
        ImageCanvas ic(200, 60);
        TRect r(10, 10, 30, 15);  // narrower and lower than the text
        DrawText(ic.get(), text, r, DT_SINGLELINE | (noclip ? unsigned(DT_NOCLIP) : 0u));
        QRect ink = ic.ink();
        ASSERT_FALSE(ink.isNull());
        if (noclip) EXPECT_GT(ink.right(), 40);
        else EXPECT_TRUE(QRect(10, 10, 20, 5).contains(ink)) << "clipped to the rectangle";
    }
    // The edit-control flag leaves out a last line that would be cut.
    ImageCanvas ic(200, 80);
    const int lh = ic->FontHeight();
    TRect r(0, 0, 200, lh + lh / 2);
    DrawText(ic.get(), QStringLiteral("入库\n出库"), r, DT_EDITCONTROL | DT_NOCLIP);
    EXPECT_LT(ic.ink().bottom(), lh);
}

TEST(CanvasText, PrefixMarksAreHiddenUnlessNoPrefix)
{
    ImageCanvas ic(200, 40);
    const int plain = ic->TextWidth(QStringLiteral("File"));
    TRect r(0, 0, 200, 40);
    DrawText(ic.get(), QStringLiteral("&File"), r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.Width(), plain);
    r = TRect(0, 0, 200, 40);
    DrawText(ic.get(), QStringLiteral("&File"), r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), ic->TextWidth(QStringLiteral("&File")));
    r = TRect(0, 0, 200, 40);
    DrawText(ic.get(), QStringLiteral("A&&B"), r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.Width(), ic->TextWidth(QStringLiteral("A&B")));
}

TEST(CanvasText, TextOutBackgroundFollowsTheBrush)
{
    ImageCanvas ic(200, 40);
    ic->Brush()->SetColor(clYellow);
    ic->Font()->SetColor(clBlue);
    ic->TextOut(5, 5, QStringLiteral("入库"));
    EXPECT_EQ(ic->PenPos(), TPoint(5 + ic->TextWidth(QStringLiteral("入库")), 5));
    EXPECT_EQ(ic.at(5, 5), clYellow);
    const QImage& img = ic.done();
    int bluish = 0;
    for (int y = 5; y < 5 + ic->FontHeight(); ++y)
        for (int x = 5; x < 5 + ic->TextWidth(QStringLiteral("入库")); ++x)
            if (QColor(img.pixel(x, y)).blue() > QColor(img.pixel(x, y)).red() + 100) ++bluish;
    EXPECT_GT(bluish, 10) << "the glyphs are in the font colour";

    ImageCanvas clear(200, 40);
    clear->Brush()->SetStyle(bsClear);
    clear->TextOut(5, 5, QStringLiteral("入库"));
    EXPECT_EQ(clear.count(clYellow), 0);
    clear->Brush()->SetColor(clYellow);
    clear->SetBkMode(TRANSPARENT);
    clear->TextOut(5, 5, QStringLiteral("入库"));
    EXPECT_EQ(clear.count(clYellow), 0);

    // TextRect fills the whole rectangle and clips the text to it.
    ImageCanvas tr(200, 40);
    tr->Brush()->SetColor(clAqua);
    tr->TextRect(Rect(10, 10, 20, 30), 12, 12, QStringLiteral("材料入库"));
    EXPECT_EQ(tr.ink(), QRect(10, 10, 10, 20));
    EXPECT_EQ(tr.at(10, 29), clAqua);
}

struct EdgeCase {
    const char* name;
    unsigned edge, flags;
    TColor outerTL, outerBR, innerTL, innerBR;  // clNone: that ring is not drawn
};

TEST(CanvasEdge, FacesTakeTheirColours)
{
    const EdgeCase cases[] = {
        {"raised", EDGE_RAISED, BF_RECT, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
        {"sunken", EDGE_SUNKEN, BF_RECT, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
        {"etched", EDGE_ETCHED, BF_RECT, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
        {"raised inner", BDR_RAISEDINNER, BF_RECT, clBtnHighlight, clBtnShadow, clNone, clNone},
        {"soft raised", EDGE_RAISED, BF_RECT | BF_SOFT, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
        {"flat", EDGE_SUNKEN, BF_RECT | BF_FLAT, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace},
        {"mono", EDGE_SUNKEN, BF_RECT | BF_MONO, clWindowFrame, clWindowFrame, clWindow, clWindow},
    };
    for (const auto& c : cases) {
        ImageCanvas ic(40, 40, QColor(1, 2, 3));
        TRect r(5, 5, 25, 20);
        ASSERT_TRUE(DrawEdge(ic.get(), r, c.edge, c.flags | BF_ADJUST | BF_MIDDLE));
        const bool inner = c.innerTL != clNone;
        EXPECT_EQ(r, inner ? Rect(7, 7, 23, 18) : Rect(6, 6, 24, 19)) << c.name;
        EXPECT_EQ(ic.at(5, 10), ColorToRGB(c.outerTL)) << c.name << " left";
        EXPECT_EQ(ic.at(10, 5), ColorToRGB(c.outerTL)) << c.name << " top";
        EXPECT_EQ(ic.at(24, 10), ColorToRGB(c.outerBR)) << c.name << " right";
        EXPECT_EQ(ic.at(10, 19), ColorToRGB(c.outerBR)) << c.name << " bottom";
        EXPECT_EQ(ic.at(24, 5), ColorToRGB(c.outerBR)) << c.name << " top-right corner is dark";
        EXPECT_EQ(ic.at(5, 19), ColorToRGB(c.outerBR)) << c.name << " bottom-left corner is dark";
        EXPECT_EQ(ic.at(25, 10), RGB(1, 2, 3)) << c.name << " nothing right of the rectangle";
        if (inner) {
            EXPECT_EQ(ic.at(6, 10), ColorToRGB(c.innerTL)) << c.name;
            EXPECT_EQ(ic.at(23, 10), ColorToRGB(c.innerBR)) << c.name;
        }
        TColor face = (c.flags & (BF_FLAT | BF_MONO)) ? clWindow : clBtnFace;
        EXPECT_EQ(ic.at(15, 12), ColorToRGB(face)) << c.name << " middle";
    }
}

TEST(CanvasEdge, SidesCanBeDrawnOneCallAtATime)
{
    // Left/top first, then right/bottom: the same as all four at once.
    ImageCanvas a(30, 30), b(30, 30);
    const TRect r(2, 2, 20, 15);
    DrawEdge(a.get(), r, BDR_RAISEDINNER, BF_TOPLEFT);
    DrawEdge(a.get(), r, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
    DrawEdge(b.get(), r, BDR_RAISEDINNER, BF_RECT);
    EXPECT_EQ(a.done(), b.done());
}

} // namespace

namespace {

TEST(CanvasText, TabsAndMarginsOfDrawTextEx)
{
    ImageCanvas ic(300, 40);
    const int avg = ic->FontAverageCharWidth();
    const int b = ic->TextWidth(QStringLiteral("b"));
    TDrawTextParams prm;
    prm.LeftMargin = 5;
    prm.RightMargin = 7;
    struct Case {
        QString text;
        unsigned flags;
        int width;
    } cases[] = {
        {QStringLiteral("a\tb"), DT_EXPANDTABS | DT_NOPREFIX, 5 + 8 * avg + b + 7},
        {QStringLiteral("a\tb"), DT_NOPREFIX, 5 + ic->TextWidth(QStringLiteral("ab")) + 7},
        {QStringLiteral("\t\tb"), DT_EXPANDTABS, 5 + 16 * avg + b + 7},
    };
    for (const auto& c : cases) {
        TRect r(10, 0, 290, 0);
        DrawTextEx(ic.get(), c.text, r, c.flags | DT_CALCRECT | DT_SINGLELINE, &prm);
        EXPECT_EQ(r.Width(), c.width) << c.text.toStdString();
        EXPECT_EQ(prm.LengthDrawn, c.text.size());
    }
    // Drawing starts after the left margin; right alignment stops before the right margin.
    ImageCanvas left(200, 30), right(200, 30);
    left->Brush()->SetColor(clYellow);
    right->Brush()->SetColor(clYellow);
    TRect r(10, 0, 190, 30);
    DrawTextEx(left.get(), QStringLiteral("入库"), r, DT_SINGLELINE, &prm);
    DrawTextEx(right.get(), QStringLiteral("入库"), r, DT_SINGLELINE | DT_RIGHT, &prm);
    EXPECT_EQ(left.ink().left(), 15);
    EXPECT_EQ(right.ink().right(), 190 - 7 - 1);
}

} // namespace
