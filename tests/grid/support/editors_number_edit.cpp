// The number editor against a client dataset: display and edit formats, the keys,
// range and decimals, stepping, pasting and the calculator drop-down.
#include "DBCtrlsGxNumber.h"
#include "editors_host.h"
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

using NumberHost = gxtest::EditorHost<TDBNumberEditGx>;

std::vector<std::vector<Variant>> Qty(const Variant& qty)
{
    return {{Variant(1), Variant(QStringLiteral("a")), qty}};
}

double Stored(NumberHost& h)
{
    return h.F("qty")->AsFloat();
}

} // namespace

TEST(DBNumberEditGx, DisplayAndEditFormats)
{
    NumberHost h(Qty(Variant(1234.5)), QStringLiteral("qty"));
    EXPECT_EQ(h.editor->Text(), QStringLiteral("1234.5"));   // no format: the shortest text
    EXPECT_TRUE(h.editor->EditWindow()->alignment() & Qt::AlignRight);
    h.editor->SetDisplayFormat(QStringLiteral(",0.00 'kg'"));
    EXPECT_EQ(h.editor->EditFormat(), QStringLiteral(",0.00"));
    EXPECT_EQ(h.editor->Text(), QStringLiteral("1,234.50 kg"));
    EXPECT_EQ(h.editor->DisplayText(), QStringLiteral("1,234.50 kg"));

    h.Enter();
    EXPECT_EQ(h.editor->Text(), QStringLiteral("1,234.50"));   // the edit format while focused
    // Typing regroups the integer part as it goes.
    h.SelectAllText();
    struct Step {
        const char* keys;
        const char* text;
    };
    const Step steps[] = {{"1", "1"}, {"234", "1,234"}, {"56", "123,456"}, {".7", "123,456.7"}, {"\b\b\b", "12,345"}};
    for (const Step& s : steps) {
        h.Type(QString::fromLatin1(s.keys));
        EXPECT_EQ(h.editor->Text(), QString::fromLatin1(s.text)) << s.keys;
    }
    EXPECT_EQ(h.editor->Value(), Variant(12345.0));
    // Backspace right after a thousands separator steps over it.
    h.editor->EditWindow()->setCursorPosition(3);
    h.Type(QChar(8));
    EXPECT_EQ(h.editor->Text(), QStringLiteral("12,345"));
    EXPECT_EQ(h.editor->EditWindow()->cursorPosition(), 2);
    h.Leave();
    EXPECT_DOUBLE_EQ(Stored(h), 12345.0);
    EXPECT_EQ(h.editor->Text(), QStringLiteral("12,345.00 kg"));
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST(DBNumberEditGx, KeysRangeAndDecimals)
{
    struct Case {
        unsigned decimals;
        double minValue, maxValue;
        const char* typed;
        const char* shown;    // focused, after typing
        double stored;        // after leaving
    };
    const Case cases[] = {
        {2, 0, 0, "1.234", "1.23", 1.23},        // a third decimal is refused
        {0, 0, 0, "7.5", "7.", 7},               // no decimals: the separator alone still fits
        {2, 0, 0, "7,5", "7.5", 7.5},            // a comma is the decimal separator too
        {2, 0, 0, "-3x", "-3", -3},              // letters are refused
        {2, 0, 100, "-5", "5", 5},               // no minus sign for a range without negatives
        {2, 0, 100, "150", "150", 100},          // clamped when written
        {2, 5, 0, "3", "3", 5},                  // only a lower bound
        {2, 5, 0, "1000", "1000", 1000},
        {2, 0, -5, "-9", "-9", -9},              // only an upper bound: -5 ... nothing above
        {2, 0, -5, "2", "2", -5},
    };
    for (const Case& c : cases) {
        NumberHost h(Qty(Variant(1.0)), QStringLiteral("qty"));
        h.editor->SetDecimalPlaces(c.decimals);
        h.editor->SetMinValue(c.minValue);
        h.editor->SetMaxValue(c.maxValue);
        h.Enter();
        h.SelectAllText();
        h.Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(h.editor->Text(), QString::fromLatin1(c.shown)) << c.typed;
        h.Leave();
        EXPECT_DOUBLE_EQ(Stored(h), c.stored) << c.typed;
        EXPECT_TRUE(h.errors.isEmpty()) << c.typed;
    }
}

TEST(DBNumberEditGx, SteppingWithKeysAndWheel)
{
    struct Case {
        Variant start;
        double increment;
        unsigned decimals;
        Qt::Key key;
        double stored;
    };
    const Case cases[] = {
        {Variant::Null(), 1, 2, Qt::Key_Down, 1},      // an empty editor steps to the increment
        {Variant::Null(), 1, 2, Qt::Key_Up, 1},
        {Variant(2.5), 1, 2, Qt::Key_Up, 3.5},
        {Variant(2.5), 1, 2, Qt::Key_Down, 1.5},
        {Variant(1.0), 0.25, 1, Qt::Key_Up, 1.2},     // rounded to one decimal, ties to even
        {Variant(1.0), 0, 2, Qt::Key_Up, 1},          // no increment: no step
    };
    for (const Case& c : cases) {
        NumberHost h(Qty(c.start), QStringLiteral("qty"));
        h.editor->SetIncrement(c.increment);
        h.editor->SetDecimalPlaces(c.decimals);
        h.Enter();
        QTest::keyClick(h.Keys(), c.key);
        h.Leave();
        EXPECT_DOUBLE_EQ(Stored(h), c.stored) << c.key << " from " << c.start.ToString().toStdString();
    }

    NumberHost h(Qty(Variant(10.0)), QStringLiteral("qty"));
    h.Enter();
    h.Wheel(120);
    h.Wheel(120);
    h.Wheel(-120);
    EXPECT_EQ(h.editor->Value(), Variant(11.0));
    EXPECT_EQ(h.editor->SelText(), h.editor->Text());   // a stepped value is selected
    h.editor->SetReadOnly(true);
    QTest::keyClick(h.Keys(), Qt::Key_Up);
    EXPECT_EQ(h.editor->Value(), Variant(11.0));
}

TEST(DBNumberEditGx, PastedTextThatIsNoNumberIsUndone)
{
    NumberHost h(Qty(Variant(2.5)), QStringLiteral("qty"));
    h.Enter();
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    h.SelectAllText();
    QTest::keyClick(h.Keys(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.editor->Text(), QStringLiteral("2.5"));
    EXPECT_EQ(h.editor->SelText(), QStringLiteral("2.5"));
    QApplication::clipboard()->setText(QStringLiteral("42"));
    QTest::keyClick(h.Keys(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.editor->Text(), QStringLiteral("42"));
    h.Leave();
    EXPECT_DOUBLE_EQ(Stored(h), 42);
}

TEST(DBNumberEditGx, CalculatorDropDown)
{
    NumberHost h(Qty(Variant(2.5)), QStringLiteral("qty"));
    QList<bool> closes;
    h.editor->OnCloseUp = [&](QObject*, bool accept) { closes << accept; };
    h.Enter();

    // Alt+Down opens the calculator with the value; the editor keeps the focus.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(h.editor->CalculatorVisible());
    TPopupCalculatorGx* calc = h.editor->DropDownCalculator();
    EXPECT_TRUE(calc->isVisible());
    EXPECT_EQ(calc->DisplayText(), QStringLiteral("2.5"));
    EXPECT_TRUE(h.editor->EditWindow()->hasFocus());
    // Keys go to the calculator: the first Enter completes 2.5 × 2, the second accepts.
    h.Type(QStringLiteral("*2"));
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_TRUE(h.editor->CalculatorVisible());
    EXPECT_EQ(calc->DisplayText(), QStringLiteral("5"));
    EXPECT_EQ(h.editor->Text(), QStringLiteral("2.5"));
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_FALSE(h.editor->CalculatorVisible());
    EXPECT_FALSE(calc->isVisible());
    EXPECT_EQ(h.editor->Text(), QStringLiteral("5"));

    // A computed value is rounded to the decimals; Escape changes nothing.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    h.Type(QStringLiteral("/3="));
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_EQ(h.editor->Value(), Variant(1.67));
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    h.Type(QStringLiteral("99"));
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
    EXPECT_FALSE(h.editor->CalculatorVisible());
    EXPECT_EQ(h.editor->Value(), Variant(1.67));
    EXPECT_EQ(closes, (QList<bool>{true, true, false}));

    // Leaving closes an open calculator without accepting.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    h.Leave();
    EXPECT_FALSE(h.editor->CalculatorVisible());
    EXPECT_DOUBLE_EQ(Stored(h), 1.67);
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST(DBNumberEditGx, OwnValueAndUpDownButton)
{
    QWidget window;
    auto* edit = new TDBNumberEditGx(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    window.show();
    edit->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(edit->Value().IsNull());
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("7"));
    QApplication::sendEvent(edit->EditWindow(), &press);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(edit->Value(), Variant(7.0));   // without a field the editor keeps its own value
    edit->SetMinValue(10);
    edit->SetMaxValue(20);

    // An up-down main button steps: its upper half up, its lower half down.
    edit->EditButton()->SetStyle(ebsUpDownGx);
    edit->EditButton()->SetVisible(true);
    QWidget* button = edit->EditButtonControlAt(0).EditButtonControl;
    ASSERT_GT(button->width(), 0);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, 2));
    EXPECT_EQ(edit->Value(), Variant(10.0));   // 8 is held at the lower bound
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, 2));
    EXPECT_EQ(edit->Value(), Variant(11.0));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, button->height() - 3));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, button->height() - 3));
    EXPECT_EQ(edit->Value(), Variant(10.0));
    EXPECT_FALSE(edit->CalculatorVisible());
}
