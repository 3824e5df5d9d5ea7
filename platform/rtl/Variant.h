#pragma once
// Variant: the class library's tagged value. Null and Unassigned are kept apart.
// Conversions follow the class library: a Null converts to nothing (EVariantTypeCastError
// "Could not convert variant of type (Null) into type (Double)"), Unassigned converts to 0 / ''
// / False, text converts to numbers with the platform's settings (EVariantTypeCastError on
// bad text), numbers convert to text as FloatToStr does.
#include "Currency.h"
#include "DateTime.h"
#include <QString>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <variant>
#include <vector>

enum class VarType {
    Unassigned,   // varEmpty
    Null,         // varNull
    Boolean,      // varBoolean
    Integer,      // varInteger / varInt64 / varSmallint ... (held as 64-bit)
    Double,       // varDouble
    Currency,     // varCurrency (also the exact BCD value of numeric(18,4) fields)
    Date,         // varDate
    String,       // varString / varOleStr / varUString
    Array         // a one-dimensional variant array (VarArrayOf, VarArrayCreate)
};

class Variant {
public:
    Variant() = default;                               // Unassigned
    static Variant Null() { Variant v; v.m_v = NullTag{}; return v; }
    Variant(bool b) : m_v(b) {}
    Variant(int i) : m_v(qint64(i)) {}
    Variant(unsigned int i) : m_v(qint64(i)) {}
    Variant(qint64 i) : m_v(i) {}
    Variant(long i) : m_v(qint64(i)) {}
    Variant(unsigned long i) : m_v(qint64(i)) {}        // size_t and the like
    Variant(unsigned long long i) : m_v(qint64(i)) {}
    Variant(double d) : m_v(d) {}
    Variant(Currency c) : m_v(c) {}
    Variant(TDateTime d) : m_v(d) {}
    Variant(const QString& s) : m_v(s) {}
    Variant(const char* s) : m_v(QString::fromUtf8(s)) {}
    Variant(const char16_t* s) : m_v(QString::fromUtf16(s)) {}

    VarType Type() const { return VarType(m_v.index()); }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsUnassigned() const { return Type() == VarType::Unassigned; }
    bool IsEmptyOrNull() const { return IsNull() || IsUnassigned(); }   // VarIsEmpty or VarIsNull
    bool IsNumeric() const;    // Integer, Double, Currency
    // Name of the type as the class library writes it in its messages: "Null", "Empty",
    // "Boolean", "Int64", "Double", "Currency", "Date", "String", "Array Variant".
    QString TypeName() const;

    bool ToBool() const;       // text "True"/"False" (any case) or a number
    qint64 ToInt64() const;    // doubles round half to even, as the class library does
    int ToInt() const;
    double ToDouble() const;
    Currency ToCurrency() const;
    TDateTime ToDateTime() const;
    QString ToString() const;  // Boolean -> "True"/"False"; Date -> DateTimeToStr; Double -> FloatToStr

    // Equality as the class library's '=' on variants: Null = Null is true; Null = anything else
    // is false; Unassigned = Unassigned is true; a number against text compares as numbers when the
    // text is numeric, else as text; text compares case-sensitively.
    bool operator==(const Variant& o) const;
    bool operator!=(const Variant& o) const { return !(*this == o); }
    // Ordering for sorting and searching: Null and Unassigned sort first (Unassigned, then Null),
    // numbers by value, dates by value, text by text. Returns <0, 0, >0.
    static int Compare(const Variant& a, const Variant& b, bool caseInsensitive = false);

    // Variant arrays: one dimension, elements from LowBound to HighBound. Copies share the
    // elements until one of them changes (copy on write), so a copy behaves as a value.
    static Variant Array(std::vector<Variant> items, int lowBound = 0);
    bool IsArray() const { return Type() == VarType::Array; }
    int ArrayLowBound() const;            // EVariantError "Variant is not an array" on a non-array
    int ArrayHighBound() const;           // LowBound - 1 for an empty array
    int ArrayCount() const { return ArrayHighBound() - ArrayLowBound() + 1; }
    const Variant& ArrayItem(int index) const;          // EVariantError "Variant or safe array index out of bounds"
    void SetArrayItem(int index, const Variant& value);
    void ArrayRedim(int highBound);       // keeps the elements that stay; new ones are Unassigned

private:
    struct NullTag { bool operator==(const NullTag&) const { return true; } };
    struct ArrayData;
    std::variant<std::monostate, NullTag, bool, qint64, double, Currency, TDateTime, QString,
                 std::shared_ptr<ArrayData>> m_v;
    const ArrayData& arrayData() const;
    friend class VariantAccess;
public:
    // Direct access for code that switches on Type().
    bool AsBoolRaw() const { return std::get<bool>(m_v); }
    qint64 AsIntRaw() const { return std::get<qint64>(m_v); }
    double AsDoubleRaw() const { return std::get<double>(m_v); }
    Currency AsCurrencyRaw() const { return std::get<Currency>(m_v); }
    TDateTime AsDateRaw() const { return std::get<TDateTime>(m_v); }
    const QString& AsStringRaw() const { return std::get<QString>(m_v); }
};

// The class library's helpers.
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsUnassigned(); }
inline Variant VarToStrDef(const Variant& v, const QString& def) { return v.IsEmptyOrNull() ? Variant(def) : Variant(v.ToString()); }
QString VarToStr(const Variant& v);   // Null and Unassigned give ''
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
inline Variant VarArrayOf(std::initializer_list<Variant> items) { return Variant::Array(std::vector<Variant>(items)); }
Variant VarArrayCreate(int lowBound, int highBound);   // elements Unassigned
inline int VarArrayLowBound(const Variant& v, int /*dim*/ = 1) { return v.ArrayLowBound(); }
inline int VarArrayHighBound(const Variant& v, int /*dim*/ = 1) { return v.ArrayHighBound(); }
inline int VarArrayDimCount(const Variant& v) { return v.IsArray() ? 1 : 0; }
inline void VarArrayRedim(Variant& v, int highBound) { v.ArrayRedim(highBound); }


// Readable values in test failure messages: "Null", "Empty", "Int64 17", "String 'abc'".
void PrintTo(const Variant& v, std::ostream* os);
void PrintTo(const Currency& c, std::ostream* os);
void PrintTo(const TDateTime& d, std::ostream* os);
