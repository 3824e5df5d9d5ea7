// Filter conditions: what the parser makes of typed texts (and the messages it
// rejects them with), the texts built back from conditions, the column's filter
// model and the custom filter dialog's round trip.
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxColumnFilter.h"
#include "grid/control/DBGridGxFilter.h"
#include "grid/control/DBGridGxFilterDialog.h"
#include "grid/control/DBGridGxFilterExpr.h"
#include "grid/control/DBGridGxFilterItems.h"
#include "grid/control/DBGridGxToolTips.h"
#include "grid/support/DBCtrlsGxComboBox.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

Variant S(const char* s) { return QString::fromUtf8(s); }
Variant Arr(std::initializer_list<Variant> v) { return Variant::Array(std::vector<Variant>(v)); }
const Variant N = Variant::Null();

struct ParseCase {
    const char* text;
    TSTOperandTypeGx type;
    TSTFilterDefaultOperatorGx defaultOp;
    QChar decimal;
    // expected result, or the message (then the fields below are unused)
    const char* error;
    TSTFilterOperatorGx op1;
    Variant operand1;
    TSTFilterOperatorGx relation;
    TSTFilterOperatorGx op2;
    Variant operand2;
    bool second;
};

const QChar Dot = u'.';
const QChar Comma = u',';

std::vector<ParseCase> ParseCases()
{
    return {
        // bare values
        {"steel", botString, fdoAuto, Dot, nullptr, foLike, S("steel"), foNon, foNon, N, false},
        {"5", botNumber, fdoAuto, Dot, nullptr, foEqual, 5.0, foNon, foNon, N, false},
        {"1,2,3", botNumber, fdoAuto, Dot, nullptr, foIn, Arr({1.0, 2.0, 3.0}), foNon, foNon, N, false},
        {"1,2", botNumber, fdoAuto, Comma, nullptr, foEqual, 1.2, foNon, foNon, N, false},
        {"ab cd", botString, fdoAuto, Dot, nullptr, foLike, S("ab cd"), foNon, foNon, N, false},
        {"  ", botString, fdoAuto, Dot, nullptr, foNon, N, foNon, foNon, N, false},
        // default operators and patterns
        {"ab", botString, fdoContains, Dot, nullptr, foLike, S("%ab%"), foNon, foNon, N, false},
        {"%ab", botString, fdoContains, Dot, nullptr, foLike, S("%ab"), foNon, foNon, N, false},
        {"ab", botString, fdoBeginsWith, Dot, nullptr, foLike, S("ab%"), foNon, foNon, N, false},
        {"ab", botString, fdoDoesntEndWith, Dot, nullptr, foNotLike, S("%ab"), foNon, foNon, N, false},
        {"ab", botString, fdoNotEqual, Dot, nullptr, foNotEqual, S("ab"), foNon, foNon, N, false},
        // Null
        {"=NULL", botString, fdoAuto, Dot, nullptr, foNull, N, foNon, foNon, N, false},
        {"<> null", botString, fdoAuto, Dot, nullptr, foNotNull, N, foNon, foNon, N, false},
        {"!=Null", botString, fdoAuto, Dot, nullptr, foNotNull, N, foNon, foNon, N, false},
        {">NULL", botString, fdoAuto, Dot, "Unexpected expression before Null: ", foNon, N, foNon, foNon, N, false},
        {"NULL", botString, fdoAuto, Dot, "Unexpected expression after operator: ", foNon, N, foNon, foNon, N,
         false},
        // lists
        {"NOT IN (a, b)", botString, fdoAuto, Dot, nullptr, foNotIn, Arr({S("a"), S(" b")}), foNon, foNon, N,
         false},
        {"in ('x','y')", botString, fdoAuto, Dot, nullptr, foIn, Arr({S("x"), S("y")}), foNon, foNon, N, false},
        {"IN a", botString, fdoAuto, Dot, "'(' expected: ", foNon, N, foNon, foNon, N, false},
        {"IN (a, b", botString, fdoAuto, Dot, "')' expected: ", foNon, N, foNon, foNon, N, false},
        // quotes
        {"='O''Neil'", botString, fdoAuto, Dot, nullptr, foEqual, S("O'Neil"), foNon, foNon, N, false},
        {"='abc", botString, fdoAuto, Dot, "Quote is absent: ", foNon, N, foNon, foNon, N, false},
        {"~ 'a b'", botString, fdoAuto, Dot, nullptr, foLike, S("a b"), foNon, foNon, N, false},
        {"!~ab%", botString, fdoAuto, Dot, nullptr, foNotLike, S("ab%"), foNon, foNon, N, false},
        // two conditions
        {"> 1 AND < 5", botNumber, fdoAuto, Dot, nullptr, foGreaterThan, 1.0, foAND, foLessThan, 5.0, true},
        {">1 | 7", botNumber, fdoAuto, Dot, nullptr, foGreaterThan, 1.0, foOR, foEqual, 7.0, true},
        {"> 1 < 5", botNumber, fdoAuto, Dot, "Unexpected AND or OR: ", foNon, N, foNon, foNon, N, false},
        {"> 1 AND", botNumber, fdoAuto, Dot, nullptr, foGreaterThan, 1.0, foAND, foNon, N, false},
        {"a = b", botString, fdoAuto, Dot, "Unexpected AND or OR: ", foNon, N, foNon, foNon, N, false},
        {">=2 or <= 0", botNumber, fdoAuto, Dot, nullptr, foGreaterOrEqual, 2.0, foOR, foLessOrEqual, 0.0, true},
        {"<>a OR in (b,c)", botString, fdoAuto, Dot, nullptr, foNotEqual, S("a"), foOR, foIn, Arr({S("b"), S("c")}),
         true},
        // rejected: a relation first, text after the second condition, stray operators
        {"AND 5", botNumber, fdoAuto, Dot, "Incorrect expression: ", foNon, N, foNon, foNon, N, false},
        {"| 5", botNumber, fdoAuto, Dot, "Incorrect expression: ", foNon, N, foNon, foNon, N, false},
        {"='a' OR ='b' 'c'", botString, fdoAuto, Dot, "Incorrect expression: ", foNon, N, foNon, foNon, N, false},
        {"> 1 OR < 5 AND > 9", botNumber, fdoAuto, Dot, "Incorrect expression: ", foNon, N, foNon, foNon, N, false},
        {"(5", botNumber, fdoAuto, Dot, "Error in expression: ", foNon, N, foNon, foNon, N, false},
        {"> 1 AND (", botNumber, fdoAuto, Dot, "Incorrect expression: ", foNon, N, foNon, foNon, N, false},
        {"NOT 5", botNumber, fdoAuto, Dot, "Error in expression: ", foNon, N, foNon, foNon, N, false},
        {"> =", botNumber, fdoAuto, Dot, "Unexpected expression after operator: ", foNon, N, foNon, foNon, N, false},
        // dates
        {">= now", botDateTime, fdoAuto, Dot, nullptr, foGreaterOrEqual, S("now"), foNon, foNon, N, false},
        {"2026-12-10", botDateTime, fdoAuto, Dot, nullptr, foEqual, Variant(EncodeDate(2026, 12, 10)), foNon, foNon,
         N, false},
    };
}

} // namespace

TEST(DBGridFilterExpr, ParserTable)
{
    for (const ParseCase& k : ParseCases()) {
        SCOPED_TRACE(k.text);
        TSTFilterExpressionGx e;
        e.ExpressionType = k.type;
        const QString text = QString::fromUtf8(k.text);
        if (k.error) {
            // A rejected text leaves the condition it was parsed into untouched.
            e.Operator1 = foGreaterThan;
            e.Operand1 = 42.0;
            try {
                ParseSTFilterExpression(text, e, k.defaultOp, k.decimal);
                ADD_FAILURE() << "no error";
            } catch (const Exception& ex) {
                EXPECT_EQ(ex.Message(), QString::fromUtf8(k.error) + text.trimmed());
            }
            EXPECT_EQ(e.Operator1, foGreaterThan);
            EXPECT_EQ(e.Operand1, Variant(42.0));
            continue;
        }
        const bool second = ParseSTFilterExpression(text, e, k.defaultOp, k.decimal);
        EXPECT_EQ(e.ExpressionType, k.type);
        EXPECT_EQ(e.Operator1, k.op1);
        EXPECT_EQ(e.Operand1, k.operand1);
        EXPECT_EQ(e.Operand1.Type(), k.operand1.Type());
        EXPECT_EQ(e.Relation, k.relation);
        EXPECT_EQ(e.Operator2, k.op2);
        EXPECT_EQ(e.Operand2, k.operand2);
        EXPECT_EQ(second, k.second);
    }
}

TEST(DBGridFilterExpr, ConversionErrorsOfNumbersAndDates)
{
    for (auto [text, type] : {std::pair{"=abc", botNumber}, std::pair{"2026-13-45", botDateTime}}) {
        TSTFilterExpressionGx e;
        e.ExpressionType = type;
        EXPECT_THROW(ParseSTFilterExpression(QString::fromLatin1(text), e, fdoAuto), EConvertError) << text;
        EXPECT_EQ(e.Operator1, foNon);
    }
}

TEST(DBGridFilterExpr, SmallRoutines)
{
    EXPECT_EQ(CharAtPos(QStringLiteral("ab"), 1), QChar(u'a'));
    EXPECT_EQ(CharAtPos(QStringLiteral("ab"), 3), QChar(0));
    EXPECT_EQ(CharAtPos(QStringLiteral("ab"), 0), QChar(0));
    EXPECT_EQ(SkipSpaces(QStringLiteral("a  b"), 2), 4);
    EXPECT_EQ(SkipSpaces(QStringLiteral("a  "), 2), 2);
}

TEST(DBGridFilterExpr, ConditionTexts)
{
    struct Case {
        TSTFilterOperatorGx op;
        Variant operand;
        bool useLike;
        const char* text;
    };
    const Case cases[] = {
        {foEqual, 5.5, true, " [f] = 5.5"},
        {foEqual, 5, true, " [f] = '5'"},
        {foGreaterThan, S("O'Neil"), true, " [f] > 'O''Neil'"},
        {foLike, S("ab%"), true, " [f] Like 'ab%'"},
        {foNotLike, S("ab%"), true, " [f] Not Like 'ab%'"},
        {foLike, S("ab"), false, " [f] = 'ab'"},
        {foNotLike, S("ab"), false, " [f] <> 'ab'"},
        {foNull, N, true, " [f] IS NULL"},
        {foNotNull, N, true, " [f] IS NOT NULL"},
        {foIn, Arr({S("a"), S("b")}), true, " ([f] = 'a' OR [f] = 'b')"},
        {foIn, S("a"), true, " ([f] = 'a')"},
        {foNotIn, Arr({1.0, 2.0}), true, " ([f] <> 1 AND [f] <> 2)"},
        {foEqual, Variant(EncodeDate(2026, 12, 10)), true, " [f] = '2026-12-10 00:00:00'"},
    };
    for (const Case& k : cases) {
        QString text;
        AppendSTFilterCondition(k.op, k.operand, QStringLiteral("f"), text, k.useLike, {}, nullptr);
        EXPECT_EQ(text, QString::fromUtf8(k.text));
    }
}

// ---------------------------------------------------------------- the column's model

namespace {

class FilterModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds.FieldDefs().Add(QStringLiteral("s"), ftString, 20);
        ds.FieldDefs().Add(QStringLiteral("n"), ftInteger);
        ds.FieldDefs().Add(QStringLiteral("d"), ftFloat);
        ds.FieldDefs().Add(QStringLiteral("t"), ftDateTime);
        ds.CreateDataSet();
        ds.AppendRecord({QStringLiteral("a"), 1, 1.5, Variant(EncodeDate(2026, 1, 2))});
        ds.AppendRecord({QStringLiteral("b"), 2, 2.5, Variant(EncodeDate(2026, 2, 3))});
        ds.AppendRecord({QStringLiteral("O'Neil"), 3, 3.5, Variant(EncodeDate(2026, 3, 4))});
        ds.First();
        src.SetDataSet(&ds);
        grid = std::make_unique<TDBGridGx>();
        grid->SetDataSource(&src);
    }
    void TearDown() override
    {
        grid.reset();
        src.SetDataSet(nullptr);
    }
    TSTColumnFilterGx* F(const char* field)
    {
        return grid->ColumnByFieldName(QString::fromLatin1(field))->STFilter();
    }
    TClientDataSet ds;
    TDataSource src;
    std::unique_ptr<TDBGridGx> grid;
};

} // namespace

TEST_F(FilterModelTest, ExpressionsRenderedBack)
{
    struct Case {
        const char* field;
        TSTFilterOperatorGx op1;
        Variant operand1;
        TSTFilterOperatorGx relation;
        TSTFilterOperatorGx op2;
        Variant operand2;
        const char* text;
    };
    const Case cases[] = {
        {"n", foEqual, 5, foNon, foNon, N, "= '5'"},
        {"d", foEqual, 5.5, foNon, foNon, N, "= 5.5"},
        {"s", foNull, N, foNon, foNon, N, "=Null"},
        {"s", foNotNull, N, foNon, foNon, N, "<>Null"},
        {"s", foIn, Arr({S("a"), S("b")}), foNon, foNon, N, "In ('a','b')"},
        {"s", foNotIn, S("a"), foNon, foNon, N, "!In ('a')"},
        {"s", foLike, S("abc"), foNon, foNon, N, "~ 'abc'"},
        {"s", foEqual, S("O'Neil"), foNon, foNon, N, "= 'O''Neil'"},
        {"d", foGreaterThan, 1.0, foAND, foLessOrEqual, 2.5, "> 1 AND <= 2.5"},
        {"s", foNon, S("x"), foNon, foNon, N, ""},
        {"t", foGreaterOrEqual, Variant(EncodeDate(2026, 12, 10)), foNon, foNon, N, ">= 2026-12-10"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        TSTFilterExpressionGx e;
        e.ExpressionType = botString;
        e.Operator1 = k.op1;
        e.Operand1 = k.operand1;
        e.Relation = k.relation;
        e.Operator2 = k.op2;
        e.Operand2 = k.operand2;
        F(k.field)->SetExpression(e);
        EXPECT_EQ(F(k.field)->ExpressionStr(), QString::fromUtf8(k.text));
    }
    // Rendered texts parse back to the same condition.
    F("s")->SetExpressionStr(QStringLiteral("= 'O''Neil'"));
    EXPECT_EQ(F("s")->ExpressionRef().Operand1, S("O'Neil"));
}

TEST_F(FilterModelTest, TypedTextsAndGridFilterText)
{
    F("n")->SetExpressionStr(QStringLiteral("5"));
    EXPECT_EQ(F("n")->ExpressionRef().ExpressionType, botNumber);
    EXPECT_EQ(F("n")->ExpressionRef().Operator1, foEqual);
    EXPECT_EQ(F("n")->ExpressionRef().Operand1, Variant(5.0));
    EXPECT_EQ(F("n")->ExpressionStr(), QStringLiteral("5"));
    F("s")->SetExpressionStr(QStringLiteral("='O''Neil'"));
    EXPECT_EQ(F("s")->ExpressionRef().ExpressionType, botString);

    QString text;
    BuildGridSTFilterText(grid.get(), {}, {}, text, true, false);
    EXPECT_EQ(text, QStringLiteral(" [s] = 'O''Neil' AND  [n] = 5"));
    ds.SetFilter(text);
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 0);

    // A text that does not parse leaves the condition and its text as they were.
    EXPECT_THROW(F("n")->SetExpressionStr(QStringLiteral("> 1 AND < 5 OR > 9")), Exception);
    EXPECT_EQ(F("n")->ExpressionRef().Operator1, foEqual);
    EXPECT_EQ(F("n")->ExpressionStr(), QStringLiteral("5"));

    F("s")->Clear();
    F("n")->SetExpressionStr(QStringLiteral(">1 or =0"));
    BuildGridSTFilterText(grid.get(), {}, {}, text, true, false);
    EXPECT_EQ(text, QStringLiteral("( [n] > 1 OR [n] = 0)"));
    ds.SetFilter(text);
    EXPECT_EQ(ds.RecordCount(), 2);
}

TEST_F(FilterModelTest, OperandTextsForTheDialog)
{
    TSTColumnFilterGx* f = F("s");
    EXPECT_EQ(f->GetOperandAsString(foIn, S("a,b")), QStringLiteral("'a,b'"));
    EXPECT_EQ(f->GetOperandAsString(foEqual, S("or")), QStringLiteral("'or'"));
    EXPECT_EQ(f->GetOperandAsString(foEqual, S("abc")), QStringLiteral("abc"));
    EXPECT_EQ(f->GetOperandAsString(foEqual, S(" x")), QStringLiteral("' x'"));
    EXPECT_EQ(f->GetOperandAsString(foEqual, S("'q")), QStringLiteral("'''q'"));
    EXPECT_EQ(f->GetOperandAsString(foEqual, S("salt AND")), QStringLiteral("'salt AND'"));
    EXPECT_EQ(f->GetOperandAsString(foIn, Arr({S("a"), S("b c")})), QStringLiteral("a,b c"));
}

TEST_F(FilterModelTest, TickedValuesBecomeTheCondition)
{
    TSTColumnFilterGx* f = F("s");
    TStringsGx items;
    items.Add(QStringLiteral("(全部)"), FilterListSpecItemGx(ptFilterSpecItemAll));
    for (const char* v : {"a", "b", "O'Neil"})
        items.Add(QString::fromUtf8(v), FilterListDataItemGx());
    f->FListValuesCheckingState = {false, true, true, false};
    f->ApplyCheckedListValues(&items);
    EXPECT_EQ(f->ExpressionStr(), QStringLiteral("in ('a','b')"));
    f->FListValuesCheckingState = {true, false, false, true};
    f->ApplyCheckedListValues(&items);
    EXPECT_EQ(f->ExpressionStr(), QStringLiteral("='O''Neil'"));
    EXPECT_EQ(f->ExpressionRef().Operand1, S("O'Neil"));
    f->FListValuesCheckingState = {false, false, false, false};
    f->ApplyCheckedListValues(&items);
    EXPECT_EQ(f->ExpressionStr(), QString());

    // Back from the condition: only value entries get ticks.
    f->SetExpressionStr(QStringLiteral("=a OR =b"));
    f->FListValuesCheckingState.assign(4, false);
    f->CheckListValuesFromExpression(&items);
    EXPECT_EQ(f->FListValuesCheckingState, (std::vector<bool>{false, true, true, false}));
}

TEST_F(FilterModelTest, InstantApplyFollowsLocalUntilSet)
{
    TSTDBGridGxFilter* g = grid->STFilter();
    EXPECT_FALSE(g->InstantApply());
    g->SetLocal(true);
    EXPECT_TRUE(g->InstantApply());
    g->SetInstantApply(false);
    EXPECT_FALSE(g->InstantApply());
}

// ---------------------------------------------------------------- custom filter dialog

TEST_F(FilterModelTest, CustomDialogRoundTrip)
{
    DialogScript::Start();
    auto run = [&](const char* field, std::function<void(TDBGridGxSimpleFilterDialog&)> act) {
        TColumnGx* column = grid->ColumnByFieldName(QString::fromLatin1(field));
        DialogScript::AnswerForm([act](TForm& form) {
            auto& d = dynamic_cast<TDBGridGxSimpleFilterDialog&>(form);
            act(d);
            d.bOk->Click();
            return mrOk;
        });
        return ShowCustomFilterDialog(column);
    };
    using D = TDBGridGxSimpleFilterDialog;
    struct Written {
        const char* field;
        int code1;
        const char* value1;
        bool orRelation;
        int code2;
        const char* value2;
        const char* text;
        TSTFilterOperatorGx op1;
        Variant operand1;
    };
    const Written cases[] = {
        {"s", 8, "ab", false, 0, "", "!~ab%", foNotLike, S("ab%")},
        {"s", 15, "a, b", false, 0, "", "in(a, b)", foIn, Arr({S("a"), S(" b")})},
        {"s", 17, "ignored", false, 0, "", "=Null", foNull, N},
        {"s", 11, "x", true, 1, "y", "~%x% OR =y", foLike, S("%x%")},
        {"s", 1, "it's (new)", false, 0, "", "='it''s (new)'", foEqual, S("it's (new)")},
        {"n", 3, "1", false, 5, "3", ">1 AND <3", foGreaterThan, 1.0},
    };
    for (const Written& k : cases) {
        SCOPED_TRACE(k.text);
        ASSERT_TRUE(run(k.field, [&](D& d) {
            ASSERT_TRUE(D::SelectCode(d.ComboBox1, k.code1));
            d.DBComboBoxGx1->SetEditText(QString::fromUtf8(k.value1));
            (k.orRelation ? d.rbOr : d.rbAnd)->setChecked(true);
            ASSERT_TRUE(D::SelectCode(d.ComboBox2, k.code2));
            d.DBComboBoxGx2->SetEditText(QString::fromUtf8(k.value2));
        }));
        EXPECT_EQ(F(k.field)->ExpressionStr(), QString::fromUtf8(k.text));
        EXPECT_EQ(F(k.field)->ExpressionRef().Operator1, k.op1);
        EXPECT_EQ(F(k.field)->ExpressionRef().Operand1, k.operand1);
    }

    // Loading a condition into the dialog.
    struct Loaded {
        const char* text;
        int code1;
        const char* value1;
        bool orChecked;
    };
    const Loaded loads[] = {
        {"~ab%", 7, "ab", false}, {"~%ab%", 11, "ab", false}, {"~%%ab", 13, "%%ab", false},
        {"!~%ab", 10, "ab", false}, {"=a OR =b", 1, "a", true}, {"in (a,'b,c')", 15, "a,'b,c'", false},
        {"<>Null", 18, "", false},
    };
    for (const Loaded& k : loads) {
        SCOPED_TRACE(k.text);
        F("s")->SetExpressionStr(QString::fromUtf8(k.text));
        ASSERT_TRUE(run("s", [&](D& d) {
            EXPECT_EQ(D::SelectedCode(d.ComboBox1), k.code1);
            EXPECT_EQ(d.DBComboBoxGx1->EditText(), QString::fromUtf8(k.value1));
            EXPECT_EQ(d.rbOr->isChecked(), k.orChecked);
        }));
    }

    // A number column offers codes 0 to 6 and 15 to 18; Cancel leaves the condition.
    F("n")->SetExpressionStr(QStringLiteral(">2"));
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<D&>(form);
        std::vector<int> codes;
        for (int i = 0; i < d.ComboBox1->count(); ++i)
            codes.push_back(d.ComboBox1->itemData(i).toInt());
        EXPECT_EQ(codes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 15, 16, 17, 18}));
        D::SelectCode(d.ComboBox1, 1);
        d.bCancel->Click();
        return mrCancel;
    });
    EXPECT_FALSE(ShowCustomFilterDialog(grid->ColumnByFieldName(QStringLiteral("n"))));
    EXPECT_EQ(F("n")->ExpressionStr(), QStringLiteral(">2"));
    DialogScript::Stop();
}

// ---------------------------------------------------------------- tool-tip window

TEST(DBGridToolTipsWindow, RectangleFollowsTheHintFont)
{
    TToolTipsWindow w;
    TFont small, big;
    small.SetSize(9);
    small.SetColor(clRed);
    big.SetSize(18);
    const QString text = QStringLiteral("钢筋 HRB400 螺纹钢");
    const TRect a = w.CalcHintRect(400, text, &small);
    EXPECT_EQ(w.Canvas()->Font()->Size(), 9);
    EXPECT_EQ(w.Canvas()->Font()->Color(), clWindowText);
    const TRect b = w.CalcHintRect(400, text, &big);
    EXPECT_GT(b.Width(), a.Width());
    EXPECT_GT(b.Height(), a.Height());
    // Wrapped at the maximum width (and 6 pixels more), one line more.
    const TRect c = w.CalcHintRect(a.Width() - 20, text, &small);
    EXPECT_LE(c.Width(), a.Width() - 14);
    EXPECT_GT(c.Height(), a.Height());
    // Without a font the last one stays.
    EXPECT_EQ(w.CalcHintRect(400, text, nullptr).Height(), a.Height());
}
