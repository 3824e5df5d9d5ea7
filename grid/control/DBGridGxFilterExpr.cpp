#include "DBGridGxFilterExpr.h"
#include "DBGridGx.h"
#include "DBGridGxColumnFilter.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include <vector>

QString STFilterOperatorWord(TSTFilterOperatorGx op)
{
    switch (op) {
    case foEqual: return QStringLiteral("=");
    case foNotEqual: return QStringLiteral("<>");
    case foGreaterThan: return QStringLiteral(">");
    case foLessThan: return QStringLiteral("<");
    case foGreaterOrEqual: return QStringLiteral(">=");
    case foLessOrEqual: return QStringLiteral("<=");
    case foLike: return QStringLiteral("LIKE");
    case foNotLike: return QStringLiteral("NOT LIKE");
    case foIn: return QStringLiteral("IN");
    case foNotIn: return QStringLiteral("NOT IN");
    case foNull: return QStringLiteral("IS NULL");
    case foNotNull: return QStringLiteral("IS NOT NULL");
    case foAND: return QStringLiteral("AND");
    case foOR: return QStringLiteral("OR");
    default: return QString();
    }
}

void ClearSTFilterExpression(TSTFilterExpressionGx& Expression)
{
    Expression.Operator1 = foNon;
    Expression.Relation = foNon;
    Expression.Operator2 = foNon;
    Expression.Operand1 = Variant::Null();
    Expression.Operand2 = Variant::Null();
}

QChar CharAtPos(const QString& S, int I)
{
    return I >= 1 && I <= S.size() ? S[I - 1] : QChar(0);
}

int SkipSpaces(const QString& S, int I)
{
    for (int j = I; j <= S.size(); ++j)
        if (S[j - 1] != u' ')
            return j;
    return I;
}

// ---------------------------------------------------------------- lexer and parser

namespace {

const QString kQuoteAbsent = QStringLiteral("Quote is absent: ");
const QString kParenExpected = QStringLiteral("'(' expected: ");
const QString kCloseParenExpected = QStringLiteral("')' expected: ");
const QString kErrorInExpression = QStringLiteral("Error in expression: ");
const QString kBeforeNull = QStringLiteral("Unexpected expression before Null: ");
const QString kAfterOperator = QStringLiteral("Unexpected expression after operator: ");
const QString kIncorrect = QStringLiteral("Incorrect expression: ");
const QString kAndOr = QStringLiteral("Unexpected AND or OR: ");

bool IsWordChar(QChar c)
{
    if (c.unicode() < 32)
        return false;
    static const QString stops = QStringLiteral(" !\"&'()+,-.<=>|~");
    return !stops.contains(c);
}

class FilterLexer {
public:
    FilterLexer(const QString& text, bool commasAllowed) : S(text), Commas(commasAllowed) {}

    [[noreturn]] void Fail(const QString& message) const { throw Exception(message + S); }

    QChar At(int i) const { return i < S.size() ? S[i] : QChar(0); }
    void Skip()
    {
        while (Pos < S.size() && S[Pos] == u' ')
            ++Pos;
    }
    bool AtEnd() const { return Pos >= S.size(); }

    // One token at Pos; a value goes to Value.
    TSTFilterOperatorGx Next(Variant& Value, bool commas)
    {
        Value = QString();
        if (Pos >= S.size())
            return foNon;
        const QChar c = S[Pos];
        if (c == u'\'') {
            Value = ReadValueList(commas);
            return foValue;
        }
        switch (c.unicode()) {
        case '=': ++Pos; return foEqual;
        case '<':
            ++Pos;
            if (At(Pos) == u'>') { ++Pos; return foNotEqual; }
            if (At(Pos) == u'=') { ++Pos; return foLessOrEqual; }
            return foLessThan;
        case '>':
            ++Pos;
            if (At(Pos) == u'=') { ++Pos; return foGreaterOrEqual; }
            return foGreaterThan;
        case '!':
            ++Pos;
            if (At(Pos) == u'=') { ++Pos; return foNotEqual; }
            return AfterNot();
        case '~': ++Pos; return foLike;
        case '&': ++Pos; return foAND;
        case '|': ++Pos; return foOR;
        case '(': return foNon;
        default: break;
        }
        const int start = Pos;
        int end = Pos;
        while (end < S.size() && IsWordChar(S[end]))
            ++end;
        const QString word = S.mid(start, end - start).toUpper();
        if (word == u"AND") { Pos = end; return foAND; }
        if (word == u"OR") { Pos = end; return foOR; }
        if (word == u"LIKE") { Pos = end; return foLike; }
        if (word == u"NULL") { Pos = end; return foNull; }
        if (word == u"IN") {
            Pos = end;
            Skip();
            if (At(Pos) != u'(')
                Fail(kParenExpected);
            ++Pos;
            return foIn;
        }
        if (word == u"NOT") {
            Pos = end;
            return AfterNot();
        }
        Value = ReadValueList(commas);
        return Value.IsNull() ? foNon : foValue;
    }

private:
    TSTFilterOperatorGx AfterNot()
    {
        Skip();
        Variant ignored;
        switch (Next(ignored, Commas)) {
        case foLike: return foNotLike;
        case foIn: return foNotIn;
        case foNull: return foNotNull;
        default: return foNon;
        }
    }

    // Whether an operator token (= up to OR) starts at i; nothing is consumed.
    bool OperatorAt(int i) const
    {
        const QChar c = At(i);
        if (QStringLiteral("=<>!~&|").contains(c))
            return true;
        int end = i;
        while (end < S.size() && IsWordChar(S[end]))
            ++end;
        static const QStringList words{QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("LIKE"),
                                       QStringLiteral("NULL"), QStringLiteral("IN"), QStringLiteral("NOT")};
        return words.contains(S.mid(i, end - i).toUpper());
    }

    Variant ReadValue(bool commas)
    {
        if (Pos >= S.size())
            return Variant::Null();
        if (S[Pos] == u'\'') {
            QString v;
            ++Pos;
            for (;;) {
                if (Pos >= S.size())
                    Fail(kQuoteAbsent);
                if (S[Pos] == u'\'') {
                    if (At(Pos + 1) == u'\'') {
                        v += u'\'';
                        Pos += 2;
                        continue;
                    }
                    ++Pos;
                    break;
                }
                v += S[Pos++];
            }
            return v;
        }
        const int start = Pos;
        while (Pos < S.size()) {
            const QChar c = S[Pos];
            if (c == u'(' || c == u')' || (commas && c == u','))
                break;
            if (c == u' ') {
                int j = Pos;
                while (j < S.size() && S[j] == u' ')
                    ++j;
                const QChar n = At(j);
                if (j < S.size() && (n == u'(' || n == u')' || (commas && n == u',') || OperatorAt(j)))
                    break;
            }
            ++Pos;
        }
        return S.mid(start, Pos - start);
    }

    Variant ReadValueList(bool commas)
    {
        std::vector<Variant> values;
        for (;;) {
            Variant v = ReadValue(commas);
            if (v.IsNull()) {
                if (values.empty())
                    return v;
                break;
            }
            values.push_back(v);
            if (!commas || At(Pos) != u',')
                break;
            ++Pos;
        }
        if (values.size() == 1)
            return values.front();
        return Variant::Array(std::move(values));
    }

public:
    const QString& S;
    int Pos = 0;
    bool Commas;
};

TSTFilterOperatorGx AutoOperator(const Variant& value, TSTOperandTypeGx type)
{
    if (value.IsArray())
        return foIn;
    return type == botString ? foLike : foEqual;
}

QString WithPattern(const QString& v, TSTFilterDefaultOperatorGx op)
{
    if (v.startsWith(u'%'))
        return v;
    QString r = v;
    if (op == fdoBeginsWith || op == fdoDoesntBeginWith || op == fdoContains || op == fdoDoesntContain)
        r += u'%';
    if (op >= fdoEndsWith && op <= fdoDoesntContain)
        r.prepend(u'%');
    return r;
}

TSTFilterOperatorGx DefaultOperatorOf(TSTFilterDefaultOperatorGx op)
{
    switch (op) {
    case fdoBeginsWith: case fdoEndsWith: case fdoContains: return foLike;
    case fdoDoesntBeginWith: case fdoDoesntEndWith: case fdoDoesntContain: return foNotLike;
    default: return TSTFilterOperatorGx(int(op));
    }
}

Variant ConvertOne(const Variant& v, TSTOperandTypeGx type, QChar decimalSeparator)
{
    const QString s = v.ToString();
    if (type == botNumber) {
        QString t = s.trimmed();
        if (decimalSeparator != u'.') {
            if (t.contains(u'.'))
                throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
            t.replace(decimalSeparator, u'.');
        }
        return StrToFloat(t);
    }
    if (type == botDateTime) {
        if (s.compare(QLatin1String("NOW"), Qt::CaseInsensitive) == 0)
            return s;
        return StrToDateTime(s);
    }
    return s;
}

Variant ConvertOperand(TSTFilterOperatorGx op, const Variant& v, TSTOperandTypeGx type, QChar decimalSeparator)
{
    if (op < foEqual || op > foNotIn)
        return Variant::Null();
    if (!v.IsArray())
        return ConvertOne(v, type, decimalSeparator);
    std::vector<Variant> items;
    for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i)
        items.push_back(ConvertOne(v.ArrayItem(i), type, decimalSeparator));
    return Variant::Array(std::move(items));
}

} // namespace

bool ParseSTFilterExpression(const QString& Text, TSTFilterExpressionGx& Expression,
                             TSTFilterDefaultOperatorGx DefaultOperator, QChar DecimalSeparator)
{
    TSTFilterExpressionGx e;
    e.ExpressionType = Expression.ExpressionType;
    const QString s = Text.trimmed();
    if (s.isEmpty()) {
        Expression = e;
        return false;
    }
    const bool commas = !(e.ExpressionType == botNumber && DecimalSeparator == u',');
    FilterLexer lx(s, commas);

    // An operator token and what must follow it: Null or a value.
    auto condition = [&](TSTFilterOperatorGx op, TSTFilterOperatorGx& outOp, Variant& outValue) {
        if (op == foAND || op == foOR)
            lx.Fail(kIncorrect);
        lx.Skip();
        Variant v;
        const bool inList = op == foIn || op == foNotIn;
        const TSTFilterOperatorGx t2 = lx.Next(v, commas || inList);
        if (t2 == foNull) {
            if (op == foEqual)
                outOp = foNull;
            else if (op == foNotEqual)
                outOp = foNotNull;
            else
                lx.Fail(kBeforeNull);
            outValue = Variant::Null();
            return;
        }
        if (t2 != foValue)
            lx.Fail(kAfterOperator);
        outOp = op;
        outValue = v;
        if (inList) {
            lx.Skip();
            if (lx.At(lx.Pos) != u')')
                lx.Fail(kCloseParenExpected);
            ++lx.Pos;
        }
    };
    // foNon: the end of the text, else an error.
    auto endOrFail = [&](TSTFilterOperatorGx t) {
        if (t == foNon && !lx.AtEnd())
            lx.Fail(kIncorrect);
        return t == foNon;
    };

    Variant v1;
    const TSTFilterOperatorGx t1 = lx.Next(v1, commas);
    if (t1 == foValue) {
        if (DefaultOperator != fdoAuto) {
            e.Operator1 = DefaultOperatorOf(DefaultOperator);
            if (!v1.IsArray() && DefaultOperator >= fdoBeginsWith)
                v1 = WithPattern(v1.ToString(), DefaultOperator);
        } else {
            e.Operator1 = AutoOperator(v1, e.ExpressionType);
        }
        e.Operand1 = v1;
    } else if (t1 == foNon) {
        lx.Fail(kErrorInExpression);
    } else {
        condition(t1, e.Operator1, e.Operand1);
    }

    bool second = false;
    lx.Skip();
    Variant v3;
    const TSTFilterOperatorGx t3 = lx.Next(v3, commas);
    if (!endOrFail(t3)) {
        if (t3 != foAND && t3 != foOR)
            lx.Fail(kAndOr);
        e.Relation = t3;
        lx.Skip();
        Variant v4;
        const TSTFilterOperatorGx t4 = lx.Next(v4, commas);
        if (!endOrFail(t4)) {
            if (t4 == foValue) {
                e.Operator2 = AutoOperator(v4, e.ExpressionType);
                e.Operand2 = v4;
            } else {
                condition(t4, e.Operator2, e.Operand2);
            }
            second = true;
            // Nothing may follow the second condition.
            lx.Skip();
            if (!lx.AtEnd())
                lx.Fail(kIncorrect);
        }
    }

    e.Operand1 = ConvertOperand(e.Operator1, e.Operand1, e.ExpressionType, DecimalSeparator);
    e.Operand2 = ConvertOperand(e.Operator2, e.Operand2, e.ExpressionType, DecimalSeparator);
    Expression = e;
    return second;
}

// ---------------------------------------------------------------- filter texts

void STFilterValueToText(const Variant& Value, QString& Text, const TSTFilterDateToTextProcGx& DateToText,
                         TDataSet* DataSet)
{
    switch (Value.Type()) {
    case VarType::Double:
        Text = FloatToStr(Value.AsDoubleRaw());
        return;
    case VarType::Date:
        if (DateToText) {
            DateToText(DataSet, Value, Text);
            return;
        }
        Text = QLatin1Char('\'') +
               FormatDateTime(FormatSettings::ShortDateFormat + u' ' + FormatSettings::LongTimeFormat,
                              Value.AsDateRaw()) +
               QLatin1Char('\'');
        return;
    default: {
        QString s = VarToStr(Value);
        s.replace(QLatin1String("'"), QLatin1String("''"));
        Text = QLatin1Char('\'') + s + QLatin1Char('\'');
    }
    }
}

void AppendSTFilterCondition(TSTFilterOperatorGx Operator, const Variant& Operand, const QString& FieldName,
                             QString& Text, bool UseLike, const TSTFilterDateToTextProcGx& DateToText,
                             TDataSet* DataSet)
{
    QString v;
    const QString field = QLatin1Char('[') + FieldName + QLatin1Char(']');
    switch (Operator) {
    case foIn:
    case foNotIn: {
        // Not in the list: differs from every value.
        const QString op = Operator == foIn ? QStringLiteral(" = ") : QStringLiteral(" <> ");
        const QString join = Operator == foIn ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
        QStringList parts;
        if (Operand.IsArray()) {
            for (int i = Operand.ArrayLowBound(); i <= Operand.ArrayHighBound(); ++i) {
                STFilterValueToText(Operand.ArrayItem(i), v, DateToText, DataSet);
                parts << field + op + v;
            }
        } else {
            STFilterValueToText(Operand, v, DateToText, DataSet);
            parts << field + op + v;
        }
        Text += QStringLiteral(" (") + parts.join(join) + QLatin1Char(')');
        return;
    }
    case foLike:
    case foNotLike:
        STFilterValueToText(Operand, v, DateToText, DataSet);
        if (UseLike)
            Text += u' ' + field + (Operator == foLike ? QStringLiteral(" Like ") : QStringLiteral(" Not Like ")) + v;
        else
            Text += u' ' + field + (Operator == foLike ? QStringLiteral(" = ") : QStringLiteral(" <> ")) + v;
        return;
    case foNull:
    case foNotNull:
        Text += u' ' + field + u' ' + STFilterOperatorWord(Operator);
        return;
    default:
        STFilterValueToText(Operand, v, DateToText, DataSet);
        Text += u' ' + field + u' ' + STFilterOperatorWord(Operator) + u' ' + v;
    }
}

void BuildColumnSTFilterText(TColumnGx* Column, QString& Text, const TSTFilterConditionBuilderGx& Builder,
                             const TSTFilterDateToTextProcGx& DateToText, bool UseLike, bool UseFieldOrigin)
{
    Text.clear();
    TSTColumnFilterGx* f = Column->STFilter();
    const TSTFilterExpressionGx& e = f->ExpressionRef();
    if (e.ExpressionType == botNon || !Column->Field() || e.Operator1 == foNon)
        return;
    // Datasets of this system carry no field origins: the filter's field name serves.
    (void)UseFieldOrigin;
    const QString field = f->GetFilterFieldName();
    TDataSet* ds = Column->Field()->DataSet();
    const TSTFilterConditionBuilderGx build = Builder ? Builder : TSTFilterConditionBuilderGx(AppendSTFilterCondition);
    build(e.Operator1, f->GetOperand1(), field, Text, UseLike, DateToText, ds);
    if (e.Relation != foNon && e.Operator2 != foNon) {
        Text += u' ' + STFilterOperatorWord(e.Relation);
        build(e.Operator2, f->GetOperand2(), field, Text, UseLike, DateToText, ds);
        if (e.Relation == foOR)
            Text = QLatin1Char('(') + Text + QLatin1Char(')');
    }
}

void BuildGridSTFilterText(TCustomDBGridGx* Grid, const TSTFilterConditionBuilderGx& Builder,
                           const TSTFilterDateToTextProcGx& DateToText, QString& Text, bool UseLike,
                           bool UseFieldOrigin)
{
    Text.clear();
    if (!Grid->DataSource() || !Grid->DataSet())
        return;
    QStringList parts;
    for (int i = 0; i < Grid->Columns()->Count(); ++i) {
        QString t;
        BuildColumnSTFilterText(Grid->Columns()->GetColumn(i), t, Builder, DateToText, UseLike, UseFieldOrigin);
        if (!t.isEmpty())
            parts << t;
    }
    Text = parts.join(QStringLiteral(" AND "));
}
