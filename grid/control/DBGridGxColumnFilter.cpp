#include "DBGridGxColumnFilter.h"
#include "DBGridGx.h"
#include "DBGridGxFilter.h"
#include "DBGridGxFilterItems.h"
#include "DBGridGxStyle.h"
#include "grid/support/PopupListboxGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

namespace {

// The list link: a change of its active state drops the column's cached value list.
class ListLinkGx : public TDataLinkGx {
public:
    std::function<void()> OnActiveChanged;
protected:
    void ActiveChanged() override
    {
        if (OnActiveChanged)
            OnActiveChanged();
    }
};

QString Quoted(QString s)
{
    s.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

template <class F>
Variant MapEach(const Variant& v, F f)
{
    if (!v.IsArray())
        return f(v);
    std::vector<Variant> items;
    for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i)
        items.push_back(f(v.ArrayItem(i)));
    return Variant::Array(std::move(items));
}

} // namespace

TSTColumnFilterGx::TSTColumnFilterGx(TColumnGx* column) : FColumn(column)
{
    auto link = std::make_unique<ListLinkGx>();
    link->OnActiveChanged = [this] { FFieldValueList.reset(); };
    FListLink = std::move(link);
}

TSTColumnFilterGx::~TSTColumnFilterGx()
{
    FListLink->SetDataSource(nullptr);
}

IDBGridGx* TSTColumnFilterGx::Grid() const { return FColumn ? FColumn->Grid() : nullptr; }

TCustomDBGridGx* TSTColumnFilterGx::DBGrid() const { return dynamic_cast<TCustomDBGridGx*>(Grid()); }

TDataSource* TSTColumnFilterGx::ListSource() const { return FListLink->DataSource(); }

void TSTColumnFilterGx::SetListSource(TDataSource* value)
{
    if (value == FListLink->DataSource())
        return;
    FListLink->SetDataSource(value);
    FFieldValueList.reset();
}

void TSTColumnFilterGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FColumn)
        FColumn->Changed(false);
}

void TSTColumnFilterGx::SetExpression(const TSTFilterExpressionGx& value)
{
    FExpression = value;
    FExpressionStr = ExpressionToText();
}

void TSTColumnFilterGx::SetExpressionStr(const QString& value)
{
    ParseExpressionStr(value);
    if (IDBGridGx* g = Grid())
        g->Invalidate();
    if (TCustomDBGridGx* g = DBGrid(); g && g->FilterEditorVisible())
        g->UpdateFilterEdit(true);
}

void TSTColumnFilterGx::Clear()
{
    FKeyValues = Variant::Null();
    SetExpressionStr(QString());
}

void TSTColumnFilterGx::Assign(const TSTColumnFilterGx& source)
{
    FDataField = source.FDataField;
    SetVisible(source.FVisible);
    FKeyField = source.FKeyField;
    FListField = source.FListField;
    SetListSource(source.ListSource());
}

// ---------------------------------------------------------------- lookups

TField* TSTColumnFilterGx::LookupField()
{
    IDBGridGx* g = Grid();
    if (!g || !g->DataLink() || !g->DataLink()->Active() || !g->DataSet())
        return nullptr;
    TField* f = g->DataSet()->FindField(FColumn->FieldName());
    return f && f->FieldKind() == fkLookup ? f : nullptr;
}

QString TSTColumnFilterGx::CurrentDataField()
{
    if (!FDataField.isEmpty())
        return FDataField;
    if (TField* f = LookupField())
        return f->KeyFields;
    return FColumn->FieldName();
}

QString TSTColumnFilterGx::CurrentKeyField()
{
    if (!FKeyField.isEmpty())
        return FKeyField;
    if (TField* f = LookupField())
        return f->LookupKeyFields;
    return QString();
}

QString TSTColumnFilterGx::CurrentListField()
{
    if (!FListField.isEmpty())
        return FListField;
    if (TField* f = LookupField())
        return f->LookupResultField;
    return QString();
}

TDataSet* TSTColumnFilterGx::CurrentListDataSet()
{
    if (ListSource())
        return ListSource()->DataSet();
    if (TField* f = LookupField())
        return f->LookupDataSet;
    return nullptr;
}

QString TSTColumnFilterGx::GetFilterFieldName() { return CurrentDataField(); }

Variant TSTColumnFilterGx::GetOperand1()
{
    return CurrentKeyField().isEmpty() ? FExpression.Operand1 : FKeyValues;
}

Variant TSTColumnFilterGx::GetOperand2() { return FExpression.Operand2; }

Variant TSTColumnFilterGx::ListLookup(const QString& keyField, const Variant& value, const QString& resultField)
{
    TDataSet* ds = CurrentListDataSet();
    if (!ds || !ds->Active() || !ds->FindField(keyField) || !ds->FindField(resultField))
        return Variant::Null();
    return ds->Lookup(keyField, value, resultField);
}

Variant TSTColumnFilterGx::MapOperand(const Variant& v, const QString& from, const QString& to)
{
    return MapEach(v, [&](const Variant& x) { return ListLookup(from, x, to); });
}

IMemTableDataFieldValueListGxPtr TSTColumnFilterGx::GetFieldValueList()
{
    IDBGridGx* g = Grid();
    if (!g || !g->DataLink() || !g->DataLink()->Active() || !ListSource() || !ListSource()->DataSet() ||
        !ListSource()->DataSet()->Active())
        return nullptr;
    const QString name = FListField.isEmpty() ? FColumn->FieldName() : FListField;
    if (!ListSource()->DataSet()->FindField(name))
        return nullptr;
    auto list = std::make_shared<TDatasetFieldValueListGx>();
    list->SetDataSource(ListSource());
    list->SetFieldName(name);
    return list;
}

// ---------------------------------------------------------------- parsing and texts

TSTOperandTypeGx TSTColumnFilterGx::FieldOperandType()
{
    TSTOperandTypeGx type = FExpression.ExpressionType;
    if (TField* f = FColumn->Field()) {
        switch (f->DataType()) {
        case ftString: case ftMemo: case ftFixedChar: case ftWideString: case ftFixedWideChar: case ftWideMemo:
            type = botString;
            break;
        case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftAutoInc:
        case ftLargeint: case ftFMTBcd:
            type = botNumber;
            break;
        case ftDate: case ftTime: case ftDateTime:
            type = botDateTime;
            break;
        case ftBoolean:
            type = botBoolean;
            break;
        default:
            type = botNon;
        }
    }
    if (FColumn->HasKeyItems() && FColumn->HasPickItems())
        type = botString;
    return type;
}

void TSTColumnFilterGx::ParseExpressionStr(const QString& Text)
{
    TSTFilterExpressionGx e = FExpression;
    e.ExpressionType = FieldOperandType();
    TSTFilterDefaultOperatorGx op = fdoAuto;
    if (TCustomDBGridGx* g = DBGrid(); g && g->Center())
        op = g->Center()->GetSTFilterDefaultOperator(g, FColumn, e.ExpressionType);
    // Parsed apart: a text that does not parse leaves the condition as it was.
    ParseSTFilterExpression(Text, e, op);
    FExpression = e;
    MapPickListOperands();
    FExpressionStr = Text;
    const QString key = CurrentKeyField(), list = CurrentListField();
    if (!key.isEmpty() && !list.isEmpty() && CurrentListDataSet()) {
        if (FExpression.Operator1 != foNon)
            FExpression.Operand1 = MapOperand(FExpression.Operand1, list, key);
        if (FExpression.Operator2 != foNon)
            FExpression.Operand2 = MapOperand(FExpression.Operand2, list, key);
    }
}

void TSTColumnFilterGx::MapPickListOperands()
{
    if (!FColumn->HasKeyItems() || !FColumn->HasPickItems())
        return;
    const QStringList& pick = FColumn->PickList();
    const QStringList& keys = FColumn->KeyList();
    auto map = [&](const Variant& x) -> Variant {
        const int i = pick.indexOf(x.ToString());
        return i >= 0 && i < keys.size() ? Variant(keys[i]) : x;
    };
    if (FExpression.Operator1 >= foEqual && FExpression.Operator1 <= foNotIn)
        FExpression.Operand1 = MapEach(FExpression.Operand1, map);
    if (FExpression.Operator2 >= foEqual && FExpression.Operator2 <= foNotIn)
        FExpression.Operand2 = MapEach(FExpression.Operand2, map);
}

QString TSTColumnFilterGx::OperandText(const Variant& v)
{
    switch (v.Type()) {
    case VarType::Double: return FloatToStr(v.AsDoubleRaw());
    case VarType::Date: return FormatDateTime(FormatSettings::ShortDateFormat, v.AsDateRaw());
    default: return Quoted(VarToStr(v));
    }
}

QString TSTColumnFilterGx::ExpressionToText()
{
    if (FExpression.ExpressionType == botNon || FExpression.Operator1 == foNon)
        return QString();
    if (ListSource()) {
        const Variant& v = FExpression.Operand1;
        if (!v.IsArray())
            return VarToStr(v);
        QStringList parts;
        for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i)
            parts << Quoted(VarToStr(v.ArrayItem(i)));
        return parts.join(u',');
    }
    auto cond = [&](TSTFilterOperatorGx op, const Variant& v) -> QString {
        static const char* words[] = {"", "=", "<>", ">", "<", ">=", "<=", "~", "!~", "In", "!In",
                                      "", "", "AND", "OR", ""};
        if (op == foNull)
            return QStringLiteral("=Null");
        if (op == foNotNull)
            return QStringLiteral("<>Null");
        const QString word = QLatin1String(words[op]);
        if (op == foIn || op == foNotIn) {
            QStringList parts;
            if (v.IsArray())
                for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i)
                    parts << OperandText(v.ArrayItem(i));
            else
                parts << OperandText(v);
            return word + QStringLiteral(" (") + parts.join(u',') + QLatin1Char(')');
        }
        return word + u' ' + OperandText(v);
    };
    QString t = cond(FExpression.Operator1, FExpression.Operand1);
    if (FExpression.Relation != foNon)
        t += u' ' + QString(FExpression.Relation == foAND ? QStringLiteral("AND") : QStringLiteral("OR")) + u' ' +
             cond(FExpression.Operator2, FExpression.Operand2);
    return t;
}

QString TSTColumnFilterGx::GetOperandAsString(TSTFilterOperatorGx Operator, const Variant& V)
{
    const QString key = CurrentKeyField(), list = CurrentListField();
    const bool mapped = !key.isEmpty() && !list.isEmpty() && CurrentListDataSet();
    auto one = [&](const Variant& x) {
        const QString s = VarToStr(mapped ? ListLookup(key, x, list) : x);
        const QString u = s.toUpper();
        const bool quote = ((Operator == foIn || Operator == foNotIn) && s.contains(u',')) ||
                           s.startsWith(u' ') || s.startsWith(u'\'') || s.endsWith(u' ') ||
                           u.endsWith(QLatin1String(" OR")) || u.endsWith(QLatin1String(" AND")) ||
                           u == QLatin1String("OR") || u == QLatin1String("AND");
        return quote ? Quoted(s) : s;
    };
    if (!V.IsArray())
        return one(V);
    QStringList parts;
    for (int i = V.ArrayLowBound(); i <= V.ArrayHighBound(); ++i)
        parts << one(V.ArrayItem(i));
    return parts.join(u',');
}

// ---------------------------------------------------------------- key values

void TSTColumnFilterGx::SetKeyListValues(const QString& AText, const Variant& KeyVals)
{
    SetExpressionStr(QString());
    if (KeyVals.IsNull()) {
        FKeyValues = Variant::Null();
        return;
    }
    TSTFilterExpressionGx e;
    e.ExpressionType = botString;
    e.Operator1 = foIn;
    e.Operand1 = AText;
    SetExpression(e);
    FKeyValues = KeyVals;
}

void TSTColumnFilterGx::SetKeysFromListValues(const QStringList& ss)
{
    if (!FListLink->Active() || FListField.isEmpty())
        return;
    TDataSet* ds = ListSource()->DataSet();
    const QString keyField = FKeyField.isEmpty() ? FListField : FKeyField;
    std::vector<Variant> keys;
    QStringList shown;
    for (const QString& s : ss) {
        keys.push_back(VarToStr(ds->Lookup(FListField, s, keyField)));
        shown << Quoted(s);
    }
    SetKeyListValues(shown.join(u','), ss.isEmpty() ? Variant::Null() : Variant::Array(std::move(keys)));
}

// ---------------------------------------------------------------- ticked list values

void TSTColumnFilterGx::ApplyCheckedListValues(TStringsGx* Items)
{
    QStringList ticked;
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Objects(i) == FilterListDataItemGx() && i < int(FListValuesCheckingState.size()) &&
            FListValuesCheckingState[size_t(i)])
            ticked << Quoted(Items->Strings(i));
    QString text;
    if (ticked.size() == 1)
        text = QLatin1Char('=') + ticked.front();
    else if (ticked.size() > 1)
        text = QStringLiteral("in (") + ticked.join(u',') + QLatin1Char(')');
    ParseExpressionStr(text);
    TCustomDBGridGx* g = DBGrid();
    if (!g)
        return;
    g->Invalidate();
    if (g->FilterEditorVisible())
        g->SetFilterEditorText(text);
    if (g->STFilter()->InstantApply())
        g->ApplyFilter();
}

void TSTColumnFilterGx::CheckListValuesFromExpression(TStringsGx* Items)
{
    std::vector<Variant> values;
    auto collect = [&](const Variant& v) {
        if (v.IsArray())
            for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i)
                values.push_back(v.ArrayItem(i));
        else
            values.push_back(v);
    };
    if (FExpression.Operator1 == foIn) {
        collect(FExpression.Operand1);
    } else if (FExpression.Operator1 == foEqual) {
        values.push_back(FExpression.Operand1);
        if (FExpression.Relation == foOR && FExpression.Operator2 == foEqual)
            values.push_back(FExpression.Operand2);
    }
    const QString key = CurrentKeyField(), list = CurrentListField();
    QStringList texts;
    for (const Variant& v : values)
        texts << VarToStr(!key.isEmpty() && !list.isEmpty() && CurrentListDataSet() ? ListLookup(key, v, list) : v);
    if (FListValuesCheckingState.size() < size_t(Items->Count()))
        FListValuesCheckingState.resize(size_t(Items->Count()), false);
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Objects(i) == FilterListDataItemGx() && texts.contains(Items->Strings(i)))
            FListValuesCheckingState[size_t(i)] = true;
}
