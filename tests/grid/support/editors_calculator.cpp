// The calculator: key sequences, the error state, digit limits, clipboard and real key presses.
#include "CalculatorGx.h"
#include "Clipboard.h"
#include "Exceptions.h"
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Feeds every character of keys; '\x1b' is Escape, '\b' Backspace, '\r' Enter.
void Type(TCalculatorGx& c, const QString& keys)
{
    for (QChar k : keys)
        c.ProcessKey(k);
}

struct CalcCase {
    const char* keys;
    const char* display;
    const char* equals;
};
} // namespace

TEST(Calculator, KeySequences)
{
    const CalcCase cases[] = {
        {"", "0", "Ok"},
        {"2+3*4=", "20", "Ok"},              // strictly left to right
        {"2+3*4", "4", "="},
        {"200+10%", "220", "Ok"},            // 10 % of 200 added
        {"50*10%", "5", "Ok"},
        {"200-10%", "180", "Ok"},
        {"50/10%", "500", "Ok"},
        {"1/0=", "Error", "Ok"},
        {"1/0=5+", "Error", "Ok"},           // keys do nothing in the error state
        {"1/0=C", "0", "Ok"},
        {"1/0=\x1b", "0", "Ok"},             // Escape clears the error too
        {"1/0=\x1b" "7", "7", "Ok"},
        {"4r", "0.25", "Ok"},
        {"9S", "3", "Ok"},
        {"1-2=S", "Error", "Ok"},
        {"0R", "Error", "Ok"},
        {"12i", "-12", "Ok"},
        {"5i+3=", "-2", "Ok"},
        {"1.5+1,25=", "2.75", "Ok"},
        {"1..5", "1.5", "Ok"},
        {".5", "0.5", "Ok"},
        {"123\b", "12", "Ok"},
        {"5\b", "0", "Ok"},
        {"5i\b", "0", "Ok"},                 // "-5" loses its only digit
        {"2+\b3=", "5", "Ok"},               // Backspace after an operator starts a new number
        {"1234567890123456", "123456789012345", "Ok"},
        {"2+3\r", "5", "Ok"},
        {"7+3C", "0", "Ok"},
        {"7=+", "7", "Ok"},                  // operators without a number replace the pending one
        {"6*+2=", "8", "Ok"},
        {"0007", "7", "Ok"},
        {"10/4=", "2.5", "Ok"},
        {"A", "0", "Ok"},                    // the hidden cancel button's key is ignored
    };
    for (const CalcCase& tc : cases) {
        TCalculatorGx c;
        Type(c, QString::fromLatin1(tc.keys));
        EXPECT_EQ(c.DisplayText(), QString::fromLatin1(tc.display)) << tc.keys;
        EXPECT_EQ(c.EqualsCaption(), QString::fromLatin1(tc.equals)) << tc.keys;
    }
}

TEST(Calculator, StatesAndValue)
{
    TCalculatorGx c;
    EXPECT_EQ(c.Status(), csFirstGx);
    Type(c, QStringLiteral("3"));
    EXPECT_EQ(c.Status(), csValidGx);
    Type(c, QStringLiteral("+"));
    EXPECT_EQ(c.Status(), csFirstGx);
    Type(c, QStringLiteral("0/0="));
    EXPECT_EQ(c.Status(), csErrorGx);
    EXPECT_EQ(c.DisplayValue(), 0);

    TCalculatorGx n;
    Type(n, QStringLiteral("1234567890123456i"));
    EXPECT_EQ(n.DisplayText(), QStringLiteral("-123456789012345"));
    Type(n, QStringLiteral("\b\b"));
    EXPECT_EQ(n.DisplayText(), QStringLiteral("-1234567890123"));
    // With a leading minus sign the display still takes fifteen digits.
    Type(n, QStringLiteral("999"));
    EXPECT_EQ(n.DisplayText(), QStringLiteral("-123456789012399"));

    n.SetDisplayValue(1.0 / 3);
    EXPECT_EQ(n.DisplayText(), QStringLiteral("0.333333333333333"));
}

TEST(Calculator, ClipboardCopyAndPaste)
{
    TCalculatorGx c;
    Clipboard()->SetAsText(QStringLiteral(" 12.5 "));
    c.ProcessKey(QChar(22));
    EXPECT_EQ(c.DisplayText(), QStringLiteral("12.5"));
    Type(c, QStringLiteral("*2="));
    c.ProcessKey(QChar(3));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("25"));
    Clipboard()->SetAsText(QStringLiteral("abc"));
    EXPECT_THROW(c.ProcessKey(QChar(22)), EConvertError);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("25"));
}

TEST(Calculator, RealKeysAndWheel)
{
    TCalculatorGx c;
    c.show();
    c.setFocus();
    QTest::keyClicks(&c, QStringLiteral("12+8"));
    EXPECT_EQ(c.EqualsCaption(), QStringLiteral("="));
    QTest::keyClick(&c, Qt::Key_Return);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("20"));
    QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("0"));
    QTest::keyClicks(&c, QStringLiteral("5"));
    QWheelEvent up(QPointF(10, 10), c.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&c, &up);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("6"));
    QTest::keyClicks(&c, QStringLiteral("/0="));
    QApplication::sendEvent(&c, &up);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("Error"));
    QTest::keyClick(&c, Qt::Key_Escape);
    EXPECT_EQ(c.DisplayText(), QStringLiteral("0"));
}
