#include "Field.h"
#include "DataSet.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include <algorithm>

// ---------------------------------------------------------------- TField

TField::TField(TFieldType type) : m_dataType(type) {}

TField::~TField() = default;

int TField::Index() const
{
    return m_dataSet ? m_dataSet->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int value)
{
    if (!m_dataSet)
        return;
    std::vector<TField*>& list = m_dataSet->Fields().m_list;
    const int from = Index();
    const int to = std::clamp(value, 0, int(list.size()) - 1);
    if (from < 0 || from == to)
        return;
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, this);
    if (m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetVisible(bool v)
{
    if (m_visible == v)
        return;
    m_visible = v;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

int TField::DisplayWidth() const
{
    if (m_displayWidth >= 0)
        return m_displayWidth;
    switch (m_dataType) {
    case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar:
        return m_size > 0 ? m_size : 20;
    case ftSmallint: case ftWord: return 6;
    case ftInteger: case ftAutoInc: return 11;
    case ftLargeint: return 15;
    case ftBoolean: return 5;
    case ftDate: case ftTime: return 10;
    case ftDateTime: return 18;
    case ftBCD: case ftFMTBcd: return 20;
    default: return 10;
    }
}

void TField::SetDisplayWidth(int v)
{
    if (m_displayWidth == v)
        return;
    m_displayWidth = v;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetAlignment(TAlignment v)
{
    if (m_alignment == v)
        return;
    m_alignment = v;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

bool TField::CanModify() const
{
    if (m_readOnly || !m_dataSet)
        return false;
    bool kindOk = m_fieldKind == fkData || m_fieldKind == fkInternalCalc
        || (m_fieldKind == fkLookup && !KeyFields.isEmpty());
    return kindOk && m_dataSet->CanModify();
}

Variant TField::Value() const
{
    if (!m_dataSet)
        return Variant::Null();
    Variant v = m_dataSet->GetFieldValue(this);
    if (v.IsUnassigned())
        return Variant::Null();
    return v;
}

void TField::SetValue(const Variant& v)
{
    if (!m_dataSet)
        DatabaseErrorFmt(DBText::FieldNotFound, m_fieldName);
    if (m_fieldKind == fkLookup) {
        // A lookup field is written through its key fields.
        std::vector<TField*> keys = m_dataSet->GetFieldList(KeyFields);
        if (v.IsEmptyOrNull()) {
            for (TField* k : keys)
                k->Clear();
            return;
        }
        std::vector<Variant> kv = LookupDataSet
            ? LookupDataSet->LookupValues(LookupResultField, {v}, LookupKeyFields)
            : std::vector<Variant>{};
        for (size_t i = 0; i < keys.size(); ++i)
            keys[i]->SetValue(i < kv.size() ? kv[i] : Variant::Null());
        return;
    }
    m_dataSet->SetFieldValueFrom(this, v.IsEmptyOrNull() ? Variant::Null() : ConvertValue(v));
}

bool TField::IsNull() const
{
    return Value().IsNull();
}

QString TField::AsString() const
{
    Variant v = Value();
    return v.IsNull() ? QString() : v.ToString();
}

void TField::SetAsString(const QString& v) { SetValue(Variant(v)); }

int TField::AsInteger() const
{
    Variant v = Value();
    return v.IsNull() ? 0 : v.ToInt();
}

void TField::SetAsInteger(int v) { SetValue(Variant(v)); }

qint64 TField::AsLargeInt() const
{
    Variant v = Value();
    return v.IsNull() ? 0 : v.ToInt64();
}

void TField::SetAsLargeInt(qint64 v) { SetValue(Variant(v)); }

double TField::AsFloat() const
{
    Variant v = Value();
    return v.IsNull() ? 0.0 : v.ToDouble();
}

void TField::SetAsFloat(double v) { SetValue(Variant(v)); }

Currency TField::AsCurrency() const
{
    Variant v = Value();
    return v.IsNull() ? Currency() : v.ToCurrency();
}

void TField::SetAsCurrency(Currency v) { SetValue(Variant(v)); }

bool TField::AsBoolean() const
{
    Variant v = Value();
    return v.IsNull() ? false : v.ToBool();
}

void TField::SetAsBoolean(bool v) { SetValue(Variant(v)); }

TDateTime TField::AsDateTime() const
{
    Variant v = Value();
    return v.IsNull() ? TDateTime() : v.ToDateTime();
}

void TField::SetAsDateTime(TDateTime v) { SetValue(Variant(v)); }

QString TField::Text() const
{
    QString s;
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), s, false);
        return s;
    }
    Variant v = Value();
    if (IsBlob())
        return v.IsNull() ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
    return v.IsNull() ? QString() : ValueText(v, false);
}

void TField::SetText(const QString& v)
{
    if (OnSetText)
        OnSetText(this, v);
    else
        SetAsString(v);
}

QString TField::DisplayText() const
{
    QString s;
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), s, true);
        return s;
    }
    Variant v = Value();
    if (IsBlob())
        return v.IsNull() ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
    return v.IsNull() ? QString() : ValueText(v, true);
}

Variant TField::OldValue() const
{
    return m_dataSet ? m_dataSet->GetOldFieldValue(this) : Variant::Null();
}

Variant TField::NewValue() const
{
    return m_dataSet ? m_dataSet->GetNewFieldValue(this) : Variant();
}

void TField::FocusControl()
{
    if (!m_dataSet || !m_dataSet->Active())
        return;
    TField* f = this;
    m_dataSet->DataEvent(deFocusControl, reinterpret_cast<qintptr>(&f));
}

Variant TField::ConvertValue(const Variant& v) const
{
    return v;
}

QString TField::ValueText(const Variant& v, bool /*display*/) const
{
    return v.ToString();
}

QString TField::TypeName() const
{
    return QStringLiteral("Variant");
}

void TField::RaiseTypeMismatch(const QString& expected, const Variant& actual) const
{
    DatabaseError(QString::fromUtf8(DBText::FieldTypeMismatch).arg(m_fieldName, expected, actual.TypeName()));
}

void TField::RaiseConvert(const QString& typeName) const
{
    DatabaseError(QStringLiteral("Cannot access field '%1' as type %2").arg(m_fieldName, typeName));
}

std::unique_ptr<TField> TField::Create(TFieldType type)
{
    switch (type) {
    case ftString: case ftFixedChar: return std::make_unique<TStringField>(type);
    case ftWideString: case ftFixedWideChar: return std::make_unique<TWideStringField>(type);
    case ftSmallint: return std::make_unique<TSmallintField>();
    case ftInteger: return std::make_unique<TIntegerField>();
    case ftWord: return std::make_unique<TWordField>();
    case ftAutoInc: return std::make_unique<TAutoIncField>();
    case ftLargeint: return std::make_unique<TLargeintField>();
    case ftBoolean: return std::make_unique<TBooleanField>();
    case ftFloat: return std::make_unique<TFloatField>();
    case ftCurrency: return std::make_unique<TCurrencyField>();
    case ftBCD: return std::make_unique<TBCDField>();
    case ftFMTBcd: return std::make_unique<TFMTBCDField>();
    case ftDate: return std::make_unique<TDateField>();
    case ftTime: return std::make_unique<TTimeField>();
    case ftDateTime: return std::make_unique<TDateTimeField>();
    case ftMemo: return std::make_unique<TMemoField>();
    case ftWideMemo: return std::make_unique<TWideMemoField>();
    case ftVariant: return std::make_unique<TVariantField>();
    case ftUnknown: break;
    }
    return std::make_unique<TVariantField>();
}

// ---------------------------------------------------------------- text fields

TStringField::TStringField(TFieldType type) : TField(type) {}

Variant TStringField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    if (v.Type() == VarType::String && (Size() <= 0 || v.AsStringRaw().size() <= Size()))
        return v;   // a text that fits stays as it is
    QString s = v.ToString();
    if (Size() > 0 && s.size() > Size())
        s.truncate(Size());
    return Variant(s);
}

bool TStringField::AsBoolean() const
{
    QString s = AsString().trimmed();
    if (s.isEmpty())
        return false;
    QChar c = s.at(0).toUpper();
    if (c == u'T' || c == u'Y' || c == u'1')
        return true;
    if (c == u'F' || c == u'N' || c == u'0')
        return false;
    DatabaseError(QString::fromUtf8(DBText::NotBoolean).arg(s, FieldName()));
}

void TStringField::SetAsString(const QString& v)
{
    SetValue(Variant(v));
}

// ---------------------------------------------------------------- numbers

TNumericField::TNumericField(TFieldType type) : TField(type)
{
    SetAlignment(taRightJustify);
}

void TNumericField::SetAsString(const QString& v)
{
    if (v.trimmed().isEmpty())
        Clear();
    else
        SetValue(Variant(v.trimmed()));
}

QString TNumericField::ValueText(const Variant& v, bool display) const
{
    const QString& fmt = (display || m_editFormat.isEmpty()) ? m_displayFormat : m_editFormat;
    if (fmt.isEmpty())
        return v.ToString();
    return FormatFloat(fmt, v.ToDouble());
}

TIntegerField::TIntegerField(TFieldType type) : TNumericField(type) {}

Variant TIntegerField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    qint64 n = v.Type() == VarType::String ? StrToInt64(v.AsStringRaw()) : v.ToInt64();
    qint64 lo = TypeMin(), hi = TypeMax();
    if (m_min != 0 || m_max != 0) {
        lo = m_min;
        hi = m_max;
    }
    if (n < lo || n > hi)
        DatabaseError(QString::fromUtf8(DBText::FieldRange)
                          .arg(IntToStr(n), FieldName(), IntToStr(lo), IntToStr(hi)));
    return Variant(n);
}

Variant TLargeintField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    return Variant(v.Type() == VarType::String ? StrToInt64(v.AsStringRaw()) : v.ToInt64());
}

Variant TFloatField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    return Variant(v.Type() == VarType::String ? StrToFloat(v.AsStringRaw()) : v.ToDouble());
}

TBCDField::TBCDField(TFieldType type) : TNumericField(type)
{
    SetSize(4);
}

Variant TBCDField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    switch (v.Type()) {
    case VarType::Currency: return v;
    case VarType::Integer: return Variant(Currency::FromInt(v.AsIntRaw()));
    case VarType::String: return Variant(StrToCurr(v.AsStringRaw()));
    default: return Variant(Currency::FromDouble(v.ToDouble()));
    }
}

QString TBCDField::ValueText(const Variant& v, bool display) const
{
    const QString& fmt = (display || EditFormat().isEmpty()) ? DisplayFormat() : EditFormat();
    Currency c = v.ToCurrency();
    return fmt.isEmpty() ? CurrToStr(c) : FormatCurr(fmt, c);
}

// ---------------------------------------------------------------- Boolean

TBooleanField::TBooleanField() : TField(ftBoolean) {}

Variant TBooleanField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    if (v.Type() != VarType::String)
        return Variant(v.ToBool());
    QString s = v.AsStringRaw().trimmed();
    QStringList parts = m_displayValues.split(u';');
    if (parts.size() == 2) {
        if (!parts[0].isEmpty() && s.compare(parts[0], Qt::CaseInsensitive) == 0)
            return Variant(true);
        if (!parts[1].isEmpty() && s.compare(parts[1], Qt::CaseInsensitive) == 0)
            return Variant(false);
    }
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1"))
        return Variant(true);
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || s == QLatin1String("0"))
        return Variant(false);
    DatabaseError(QString::fromUtf8(DBText::NotBoolean).arg(s, FieldName()));
}

QString TBooleanField::ValueText(const Variant& v, bool /*display*/) const
{
    bool b = v.ToBool();
    QStringList parts = m_displayValues.split(u';');
    if (!m_displayValues.isEmpty() && parts.size() == 2)
        return b ? parts[0] : parts[1];
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

void TBooleanField::SetAsString(const QString& v)
{
    if (v.trimmed().isEmpty())
        Clear();
    else
        SetValue(Variant(v));
}

// ---------------------------------------------------------------- dates

TDateTimeField::TDateTimeField(TFieldType type) : TField(type) {}

Variant TDateTimeField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    TDateTime d;
    switch (v.Type()) {
    case VarType::Date: d = v.AsDateRaw(); break;
    case VarType::String:
        d = DataType() == ftTime ? StrToTime(v.AsStringRaw()) : StrToDateTime(v.AsStringRaw());
        break;
    default: d = TDateTime(v.ToDouble()); break;
    }
    return Variant(d);
}

QString TDateTimeField::ValueText(const Variant& v, bool display) const
{
    TDateTime d = v.ToDateTime();
    if (display && !m_displayFormat.isEmpty())
        return FormatDateTime(m_displayFormat, d);
    switch (DataType()) {
    case ftDate: return DateToStr(d);
    case ftTime: return TimeToStr(d);
    default: return DateTimeToStr(d);
    }
}

void TDateTimeField::SetAsString(const QString& v)
{
    if (v.trimmed().isEmpty())
        Clear();
    else
        SetValue(Variant(v));
}

// ---------------------------------------------------------------- memo

Variant TMemoField::ConvertValue(const Variant& v) const
{
    if (v.IsEmptyOrNull())
        return v;
    return Variant(v.ToString());
}

QString TMemoField::ValueText(const Variant& v, bool /*display*/) const
{
    return v.ToString();
}

// ---------------------------------------------------------------- TFields

TField* TFields::Fields(int i) const
{
    if (i < 0 || i >= Count())
        DatabaseError(QString::fromUtf8(DBText::FieldIndexOutOfRange));
    return m_list[size_t(i)];
}

TField* TFields::FindField(const QString& name) const
{
    for (TField* f : m_list)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

TField* TFields::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f)
        DatabaseErrorFmt(DBText::FieldNotFound, name);
    return f;
}

TField* TFields::FieldByNumber(int fieldNo) const
{
    for (TField* f : m_list)
        if (f->FieldNo() == fieldNo)
            return f;
    return nullptr;
}

int TFields::IndexOf(const TField* f) const
{
    auto it = std::find(m_list.begin(), m_list.end(), f);
    return it == m_list.end() ? -1 : int(it - m_list.begin());
}

void TFields::Add(TField* f)
{
    m_list.push_back(f);
}

void TFields::Remove(TField* f)
{
    auto it = std::find(m_list.begin(), m_list.end(), f);
    if (it != m_list.end())
        m_list.erase(it);
}
