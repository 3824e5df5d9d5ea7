#pragma once
// Filter conditions of the grid: the parser that turns what a user types into a
// filter cell into a condition of at most two parts, and the builders that write
// the conditions of a whole grid back as one dataset filter text.
#include "DBGridGxTypes.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <functional>

class TColumnGx;
class TCustomDBGridGx;
class TDataSet;

enum TSTFilterOperatorGx : quint8 {
    foNon, foEqual, foNotEqual, foGreaterThan, foLessThan, foGreaterOrEqual, foLessOrEqual, foLike, foNotLike,
    foIn, foNotIn, foNull, foNotNull, foAND, foOR, foValue
};

// One column's condition: Operator1 Operand1 [Relation Operator2 Operand2]. An
// operand is Null, one value, or an array of values (foIn, foNotIn).
struct TSTFilterExpressionGx {
    TSTOperandTypeGx ExpressionType = botNon;
    TSTFilterOperatorGx Operator1 = foNon;
    Variant Operand1 = Variant::Null();
    TSTFilterOperatorGx Relation = foNon;
    TSTFilterOperatorGx Operator2 = foNon;
    Variant Operand2 = Variant::Null();
};

// The word an operator is written with in a dataset filter ("=", "LIKE", "IS NULL", ...).
QString STFilterOperatorWord(TSTFilterOperatorGx op);

// Operators and relation foNon, operands Null; the type stays.
void ClearSTFilterExpression(TSTFilterExpressionGx& Expression);

// Fills Expression (its ExpressionType set by the caller) from Text. A bare value
// takes DefaultOperator. Raises Exception with "Incorrect expression: " and the
// parser's other messages followed by the trimmed text; a number or date that
// does not convert raises EConvertError. Expression is changed only on success.
// True when a second condition was read. DecimalSeparator is the one numbers are
// typed with: with ',' a number column takes no comma-separated value lists.
bool ParseSTFilterExpression(const QString& Text, TSTFilterExpressionGx& Expression,
                             TSTFilterDefaultOperatorGx DefaultOperator,
                             QChar DecimalSeparator = FormatSettings::DecimalSeparator);

// Writes a date-time operand for a dataset.
using TSTFilterDateToTextProcGx = std::function<void(TDataSet* DataSet, const Variant& Value, QString& Text)>;
// Appends one condition (operator, operand, field) to Text.
using TSTFilterConditionBuilderGx =
    std::function<void(TSTFilterOperatorGx Operator, const Variant& Operand, const QString& FieldName, QString& Text,
                       bool UseLike, const TSTFilterDateToTextProcGx& DateToText, TDataSet* DataSet)>;

// One operand as filter text: a double bare, a date through DateToText (else
// quoted in the short date and long time format), anything else quoted with its
// quotes doubled.
void STFilterValueToText(const Variant& Value, QString& Text, const TSTFilterDateToTextProcGx& DateToText = {},
                         TDataSet* DataSet = nullptr);
void AppendSTFilterCondition(TSTFilterOperatorGx Operator, const Variant& Operand, const QString& FieldName,
                             QString& Text, bool UseLike, const TSTFilterDateToTextProcGx& DateToText,
                             TDataSet* DataSet);
// The condition of one column ("" when it has none); with foOR in parentheses.
void BuildColumnSTFilterText(TColumnGx* Column, QString& Text, const TSTFilterConditionBuilderGx& Builder = {},
                             const TSTFilterDateToTextProcGx& DateToText = {}, bool UseLike = true,
                             bool UseFieldOrigin = false);
// The conditions of every column of the grid joined by " AND ".
void BuildGridSTFilterText(TCustomDBGridGx* Grid, const TSTFilterConditionBuilderGx& Builder,
                           const TSTFilterDateToTextProcGx& DateToText, QString& Text, bool UseLike,
                           bool UseFieldOrigin);

// The character at the 1-based position I, #0 outside the string.
QChar CharAtPos(const QString& S, int I);
// The first 1-based position from I that is no space; I itself when only spaces follow.
int SkipSpaces(const QString& S, int I);
