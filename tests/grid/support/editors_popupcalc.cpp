// The calculator's buttons and its drop-down form: accepting, cancelling and value exchange.
#include "EditButtonControlGx.h"
#include "PopupCalculatorGx.h"
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct FakeOwner : QObject, IPopupOwnerGx {
    QList<bool> closes;
    void CloseUp(bool Accept) override { closes << Accept; }
};

void ClickButton(TCalculatorGx& c, int tag)
{
    QTest::mouseClick(c.Buttons()[size_t(tag - 1)], Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
}
} // namespace

TEST(Calculator, ButtonsSendTheirKeys)
{
    TCalculatorGx c;
    c.show();
    ASSERT_EQ(c.Buttons().size(), 23u);
    ClickButton(c, 14);   // 2
    ClickButton(c, 22);   // +
    ClickButton(c, 15);   // 3
    EXPECT_EQ(c.Buttons()[22]->Caption(), QStringLiteral("="));
    ClickButton(c, 10);   // *
    ClickButton(c, 7);    // 4
    ClickButton(c, 23);   // =
    EXPECT_EQ(c.DisplayText(), QStringLiteral("20"));
    EXPECT_EQ(c.Buttons()[22]->Caption(), QStringLiteral("Ok"));
    ClickButton(c, 20);   // +/-
    EXPECT_EQ(c.DisplayText(), QStringLiteral("-20"));
    ClickButton(c, 18);   // <- after a result starts a new number
    EXPECT_EQ(c.DisplayText(), QStringLiteral("0"));
    ClickButton(c, 13);   // 1
    ClickButton(c, 21);   // .
    ClickButton(c, 19);   // 0
    ClickButton(c, 18);   // <-
    EXPECT_EQ(c.DisplayText(), QStringLiteral("1."));
    ClickButton(c, 6);    // C
    EXPECT_EQ(c.DisplayText(), QStringLiteral("0"));
}

TEST(PopupCalculator, EnterCompletesThenAccepts)
{
    FakeOwner owner;
    TPopupCalculatorGx p(&owner);
    p.show();
    EXPECT_FALSE(p.hasFocus());
    QTest::keyClicks(&p, QStringLiteral("2+3"));
    EXPECT_FALSE(p.IsValueReady());
    QTest::keyClick(&p, Qt::Key_Return);
    EXPECT_TRUE(owner.closes.isEmpty());   // the first Enter only completes 2 + 3
    EXPECT_EQ(p.DisplayText(), QStringLiteral("5"));
    EXPECT_TRUE(p.IsValueReady());
    QTest::keyClick(&p, Qt::Key_Return);
    EXPECT_EQ(owner.closes, QList<bool>{true});
    EXPECT_EQ(p.GetValue(), Variant(5.0));

    p.ProcessKey(QLatin1Char('='));        // "=" with nothing pending accepts too
    EXPECT_EQ(owner.closes, (QList<bool>{true, true}));
    QTest::keyClick(&p, Qt::Key_Escape);
    EXPECT_EQ(owner.closes, (QList<bool>{true, true, false}));
    p.Perform(CM_CLOSEUPREQUESTGX);
    EXPECT_EQ(owner.closes, (QList<bool>{true, true, false, false}));
}

TEST(PopupCalculator, ValueExchange)
{
    FakeOwner owner;
    TPopupCalculatorGx p(&owner);
    QTest::keyClicks(&p, QStringLiteral("9*"));
    p.SetValue(Variant(12.25));            // clears the pending operation first
    EXPECT_EQ(p.DisplayText(), QStringLiteral("12.25"));
    EXPECT_TRUE(p.IsValueReady());
    p.SetValue(Variant::Null());
    EXPECT_EQ(p.DisplayText(), QStringLiteral("0"));
    QTest::keyClicks(&p, QStringLiteral("1/0="));
    EXPECT_TRUE(p.GetValue().IsUnassigned());   // no number while the error shows
    EXPECT_TRUE(p.GetFlat());
    p.SetFlat(false);
    EXPECT_FALSE(p.GetFlat());

    // No owner interface: closing does nothing.
    QObject plain;
    TPopupCalculatorGx orphan(&plain);
    QTest::keyClick(&orphan, Qt::Key_Return);
    EXPECT_EQ(orphan.DisplayText(), QStringLiteral("0"));
}

TEST(PopupCalculator, Screenshot)
{
    FakeOwner owner;
    TPopupCalculatorGx p(&owner);
    p.show();
    QTest::keyClicks(&p, QStringLiteral("1234.5"));
    QApplication::processEvents();
    const QImage img = p.grab().toImage();
    EXPECT_EQ(img.width(), 188);
    QDir().mkpath(QStringLiteral(DPX_TEST_ARTIFACTS));
    EXPECT_TRUE(img.save(QStringLiteral(DPX_TEST_ARTIFACTS "/popup_calculator.png")));
}
