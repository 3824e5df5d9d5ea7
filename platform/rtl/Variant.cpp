#include "Variant.h"
#include "Exceptions.h"
#include "Format.h"
#include "StrUtils.h"
#include <algorithm>
#include <cmath>
#include <ostream>
#include <limits>

struct Variant::ArrayData {
    int low = 0;
    std::vector<Variant> items;
};

namespace {

[[noreturn]] void castError(const Variant& v, const char* target)
{
    throw EVariantTypeCastError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                                    .arg(v.TypeName(), QLatin1String(target)));
}

bool boolText(const QString& s, bool& out) { return TryBoolNameToBool(s, out); }

// Text read as a number: a float text, else a Boolean text (True = -1).
bool numberText(const QString& s, double& out)
{
    if (TryStrToFloat(s, out))
        return true;
    bool b = false;
    if (boolText(s, b)) {
        out = b ? -1.0 : 0.0;
        return true;
    }
    return false;
}

// Rounds half to even, as the class library's Round does.
qint64 roundToInt64(double d)
{
    double r = std::nearbyint(d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        throw EVariantOverflowError(QStringLiteral("Arithmetic overflow"));
    return qint64(r);
}

int cmp3(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool isExact(VarType t) { return t == VarType::Integer || t == VarType::Currency; }

__int128 scaled(const Variant& v)
{
    return v.Type() == VarType::Integer ? __int128(v.AsIntRaw()) * Currency::Scale : __int128(v.AsCurrencyRaw().Raw());
}

// Two non-text, non-null values compared by value.
int compareValues(const Variant& a, const Variant& b)
{
    if (a.Type() == VarType::Boolean && b.Type() == VarType::Boolean)
        return int(a.AsBoolRaw()) - int(b.AsBoolRaw());
    if (isExact(a.Type()) && isExact(b.Type())) {
        __int128 x = scaled(a), y = scaled(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return cmp3(a.ToDouble(), b.ToDouble());
}

// Text against a non-text value: as date or number when the text reads as one, else as text.
int compareTextWith(const QString& text, const Variant& other, bool caseInsensitive)
{
    if (other.Type() == VarType::Date) {
        TDateTime d;
        if (TryStrToDateTime(text, d))
            return cmp3(d.Value, other.AsDateRaw().Value);
    }
    if (other.Type() == VarType::Boolean) {
        bool b = false;
        if (boolText(text, b))
            return int(b) - int(other.AsBoolRaw());
    }
    if (other.Type() == VarType::Currency) {
        Currency c;
        if (TryStrToCurr(text, c))
            return c < other.AsCurrencyRaw() ? -1 : (c > other.AsCurrencyRaw() ? 1 : 0);
    }
    double d = 0;
    if (TryStrToFloat(text, d))
        return cmp3(d, other.ToDouble());
    return text.compare(other.ToString(), caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

} // namespace

bool Variant::IsNumeric() const
{
    VarType t = Type();
    return t == VarType::Integer || t == VarType::Double || t == VarType::Currency;
}

QString Variant::TypeName() const
{
    switch (Type()) {
    case VarType::Unassigned: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Boolean: return QStringLiteral("Boolean");
    case VarType::Integer: return QStringLiteral("Int64");
    case VarType::Double: return QStringLiteral("Double");
    case VarType::Currency: return QStringLiteral("Currency");
    case VarType::Date: return QStringLiteral("Date");
    case VarType::String: return QStringLiteral("String");
    case VarType::Array: return QStringLiteral("Array Variant");
    }
    return QString();
}

bool Variant::ToBool() const
{
    switch (Type()) {
    case VarType::Array: castError(*this, "Boolean");
    case VarType::Unassigned: return false;
    case VarType::Null: castError(*this, "Boolean");
    case VarType::Boolean: return AsBoolRaw();
    case VarType::Integer: return AsIntRaw() != 0;
    case VarType::Double: return AsDoubleRaw() != 0;
    case VarType::Currency: return AsCurrencyRaw().Raw() != 0;
    case VarType::Date: return AsDateRaw().Value != 0;
    case VarType::String: {
        bool b = false;
        if (boolText(AsStringRaw(), b))
            return b;
        double d = 0;
        if (TryStrToFloat(AsStringRaw(), d))
            return d != 0;
        castError(*this, "Boolean");
    }
    }
    return false;
}

qint64 Variant::ToInt64() const
{
    switch (Type()) {
    case VarType::Array: castError(*this, "Int64");
    case VarType::Unassigned: return 0;
    case VarType::Null: castError(*this, "Int64");
    case VarType::Boolean: return AsBoolRaw() ? -1 : 0;
    case VarType::Integer: return AsIntRaw();
    case VarType::Double: return roundToInt64(AsDoubleRaw());
    case VarType::Currency: {
        // Currency to integer rounds half to even, as its FPU store does.
        qint64 raw = AsCurrencyRaw().Raw();
        qint64 q = raw / Currency::Scale, r = raw % Currency::Scale;
        qint64 twice = 2 * (r < 0 ? -r : r);
        if (twice > Currency::Scale || (twice == Currency::Scale && (q & 1)))
            q += raw < 0 ? -1 : 1;
        return q;
    }
    case VarType::Date: return roundToInt64(AsDateRaw().Value);
    case VarType::String: {
        qint64 i = 0;
        if (TryStrToInt64(AsStringRaw(), i))
            return i;
        double d = 0;
        if (numberText(AsStringRaw(), d))
            return roundToInt64(d);
        castError(*this, "Int64");
    }
    }
    return 0;
}

int Variant::ToInt() const
{
    if (IsNull() || IsArray())
        castError(*this, "Integer");
    if (Type() == VarType::String) {
        double d = 0;
        qint64 i = 0;
        if (!TryStrToInt64(AsStringRaw(), i) && !numberText(AsStringRaw(), d))
            castError(*this, "Integer");
    }
    qint64 v = ToInt64();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw EVariantOverflowError(QStringLiteral("Arithmetic overflow"));
    return int(v);
}

double Variant::ToDouble() const
{
    switch (Type()) {
    case VarType::Array: castError(*this, "Double");
    case VarType::Unassigned: return 0;
    case VarType::Null: castError(*this, "Double");
    case VarType::Boolean: return AsBoolRaw() ? -1.0 : 0.0;
    case VarType::Integer: return double(AsIntRaw());
    case VarType::Double: return AsDoubleRaw();
    case VarType::Currency: return AsCurrencyRaw().ToDouble();
    case VarType::Date: return AsDateRaw().Value;
    case VarType::String: {
        double d = 0;
        if (numberText(AsStringRaw(), d))
            return d;
        castError(*this, "Double");
    }
    }
    return 0;
}

Currency Variant::ToCurrency() const
{
    switch (Type()) {
    case VarType::Array: castError(*this, "Currency");
    case VarType::Unassigned: return Currency();
    case VarType::Null: castError(*this, "Currency");
    case VarType::Boolean: return Currency::FromInt(AsBoolRaw() ? -1 : 0);
    case VarType::Integer: return Currency::FromInt(AsIntRaw());
    case VarType::Double: return Currency::FromDouble(AsDoubleRaw());
    case VarType::Currency: return AsCurrencyRaw();
    case VarType::Date: return Currency::FromDouble(AsDateRaw().Value);
    case VarType::String: {
        Currency c;
        if (TryStrToCurr(AsStringRaw(), c))
            return c;
        bool b = false;
        if (boolText(AsStringRaw(), b))
            return Currency::FromInt(b ? -1 : 0);
        castError(*this, "Currency");
    }
    }
    return Currency();
}

TDateTime Variant::ToDateTime() const
{
    switch (Type()) {
    case VarType::Unassigned: return TDateTime();
    case VarType::Null:
    case VarType::Array: castError(*this, "Date");
    case VarType::Date: return AsDateRaw();
    case VarType::String: {
        TDateTime d;
        if (TryStrToDateTime(AsStringRaw(), d))
            return d;
        double v = 0;
        if (TryStrToFloat(AsStringRaw(), v))
            return TDateTime(v);
        castError(*this, "Date");
    }
    default:
        return TDateTime(ToDouble());
    }
}

QString Variant::ToString() const
{
    switch (Type()) {
    case VarType::Array: castError(*this, "String");
    case VarType::Unassigned: return QString();
    case VarType::Null: castError(*this, "String");
    case VarType::Boolean: return AsBoolRaw() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Integer: return QString::number(AsIntRaw());
    case VarType::Double: return FloatToStr(AsDoubleRaw());
    case VarType::Currency: return CurrToStr(AsCurrencyRaw());
    case VarType::Date: return DateTimeToStr(AsDateRaw());
    case VarType::String: return AsStringRaw();
    }
    return QString();
}

bool Variant::operator==(const Variant& o) const
{
    const VarType a = Type(), b = o.Type();
    if (a == VarType::Array || b == VarType::Array) {
        if (a != b || ArrayLowBound() != o.ArrayLowBound() || ArrayCount() != o.ArrayCount())
            return false;
        return arrayData().items == o.arrayData().items;
    }
    if (a == VarType::Null || b == VarType::Null)
        return a == b;
    if (a == VarType::Unassigned || b == VarType::Unassigned) {
        const Variant& other = a == VarType::Unassigned ? o : *this;
        switch (other.Type()) {
        case VarType::Unassigned: return true;
        case VarType::String: return other.AsStringRaw().isEmpty();
        case VarType::Boolean: return !other.AsBoolRaw();
        default: return other.ToDouble() == 0;
        }
    }
    if (a == VarType::String && b == VarType::String)
        return AsStringRaw() == o.AsStringRaw();
    if (a == VarType::String)
        return compareTextWith(AsStringRaw(), o, false) == 0;
    if (b == VarType::String)
        return compareTextWith(o.AsStringRaw(), *this, false) == 0;
    return compareValues(*this, o) == 0;
}

int Variant::Compare(const Variant& a, const Variant& b, bool caseInsensitive)
{
    auto rank = [](VarType t) {
        return t == VarType::Unassigned ? 0 : (t == VarType::Null ? 1 : (t == VarType::Array ? 3 : 2));
    };
    const VarType ta = a.Type(), tb = b.Type();
    if (rank(ta) != 2 || rank(tb) != 2) {
        if (rank(ta) != rank(tb))
            return rank(ta) < rank(tb) ? -1 : 1;
        if (ta != VarType::Array)
            return 0;
        const auto& x = a.arrayData().items;
        const auto& y = b.arrayData().items;
        for (size_t i = 0; i < x.size() && i < y.size(); ++i)
            if (int c = Compare(x[i], y[i], caseInsensitive))
                return c;
        return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
    }
    if (ta == VarType::String && tb == VarType::String) {
        int c = a.AsStringRaw().compare(b.AsStringRaw(), caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    int c = 0;
    if (ta == VarType::String)
        c = compareTextWith(a.AsStringRaw(), b, caseInsensitive);
    else if (tb == VarType::String)
        c = -compareTextWith(b.AsStringRaw(), a, caseInsensitive);
    else
        c = compareValues(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

Variant Variant::Array(std::vector<Variant> items, int lowBound)
{
    auto data = std::make_shared<ArrayData>();
    data->low = lowBound;
    data->items = std::move(items);
    Variant v;
    v.m_v = std::move(data);
    return v;
}

const Variant::ArrayData& Variant::arrayData() const
{
    if (!IsArray())
        throw EVariantError(QStringLiteral("Variant is not an array"));
    return *std::get<std::shared_ptr<ArrayData>>(m_v);
}

int Variant::ArrayLowBound() const { return arrayData().low; }
int Variant::ArrayHighBound() const { return arrayData().low + int(arrayData().items.size()) - 1; }

const Variant& Variant::ArrayItem(int index) const
{
    const ArrayData& d = arrayData();
    if (index < d.low || index - d.low >= int(d.items.size()))
        throw EVariantError(QStringLiteral("Variant or safe array index out of bounds"));
    return d.items[size_t(index - d.low)];
}

void Variant::SetArrayItem(int index, const Variant& value)
{
    ArrayItem(index);   // bounds check
    auto& ptr = std::get<std::shared_ptr<ArrayData>>(m_v);
    if (ptr.use_count() > 1)
        ptr = std::make_shared<ArrayData>(*ptr);
    ptr->items[size_t(index - ptr->low)] = value;
}

void Variant::ArrayRedim(int highBound)
{
    const ArrayData& d = arrayData();
    auto copy = std::make_shared<ArrayData>(d);
    copy->items.resize(size_t(std::max(0, highBound - d.low + 1)));
    m_v = std::move(copy);
}

Variant VarArrayCreate(int lowBound, int highBound)
{
    return Variant::Array(std::vector<Variant>(size_t(std::max(0, highBound - lowBound + 1))), lowBound);
}

QString VarToStr(const Variant& v)
{
    return v.IsEmptyOrNull() ? QString() : v.ToString();
}

void PrintTo(const Variant& v, std::ostream* os)
{
    *os << v.TypeName().toStdString();
    if (v.IsEmptyOrNull())
        return;
    *os << ' ';
    if (v.IsArray()) {
        *os << '[';
        for (int i = v.ArrayLowBound(); i <= v.ArrayHighBound(); ++i) {
            *os << (i > v.ArrayLowBound() ? ", " : "");
            PrintTo(v.ArrayItem(i), os);
        }
        *os << ']';
    } else if (v.Type() == VarType::String)
        *os << '\'' << v.AsStringRaw().toStdString() << '\'';
    else
        *os << v.ToString().toStdString();
}

void PrintTo(const Currency& c, std::ostream* os) { *os << c.ToString().toStdString(); }

void PrintTo(const TDateTime& d, std::ostream* os)
{
    *os << FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), d).toStdString() << " (" << d.Value << ')';
}
