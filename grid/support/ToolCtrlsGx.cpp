#include "ToolCtrlsGx.h"

namespace {
bool SameShape(const Variant& a, const Variant& b)
{
    return VarArrayDimCount(a) == VarArrayDimCount(b) && a.ArrayLowBound() == b.ArrayLowBound()
           && a.ArrayHighBound() == b.ArrayHighBound();
}
} // namespace

bool VariantsEqual(const Variant& v1, const Variant& v2)
{
    if (v1.IsArray() != v2.IsArray())
        return false;
    try {
        if (v1.IsArray()) {
            if (!SameShape(v1, v2))
                return false;
            for (int i = v1.ArrayLowBound(); i <= v1.ArrayHighBound(); ++i)
                if (!VariantsEqual(v1.ArrayItem(i), v2.ArrayItem(i)))
                    return false;
            return true;
        }
        if (v1.IsUnassigned() != v2.IsUnassigned())
            return false;
        return v1 == v2;
    } catch (...) {
        return false;
    }
}

namespace {

bool IsOrdered(const Variant& v)
{
    switch (v.Type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
        return true;
    default:
        return false;
    }
}

// The run-time library's comparison of two non-null values: numbers and dates by
// value, text by text, a number against numeric text as numbers; values that have
// no order between them are "not equal".
TVariantRelationship CompareValues(const Variant& v1, const Variant& v2)
{
    try {
        const bool n1 = IsOrdered(v1) || v1.IsUnassigned();
        const bool n2 = IsOrdered(v2) || v2.IsUnassigned();
        if (n1 != n2) {
            const Variant& text = n1 ? v2 : v1;
            if (text.Type() == VarType::String) {
                bool ok = false;
                text.AsStringRaw().trimmed().toDouble(&ok);
                if (!ok)
                    return vrNotEqual;
            }
        }
        const int c = Variant::Compare(v1, v2);
        return c < 0 ? vrLessThan : c > 0 ? vrGreaterThan : vrEqual;
    } catch (...) {
        return vrNotEqual;
    }
}

} // namespace

TVariantRelationship CompareVariants(const Variant& v1, const Variant& v2)
{
    if (v1.IsNull() && v2.IsNull())
        return vrEqual;
    if (v1.IsNull())
        return vrLessThan;
    if (v2.IsNull())
        return vrGreaterThan;
    if (v1.IsArray() != v2.IsArray())
        return vrNotEqual;
    if (v1.IsArray()) {
        // Arrays of another shape have no order between them.
        if (!SameShape(v1, v2))
            return vrNotEqual;
        for (int i = v1.ArrayLowBound(); i <= v1.ArrayHighBound(); ++i) {
            const TVariantRelationship r = CompareVariants(v1.ArrayItem(i), v2.ArrayItem(i));
            if (r != vrEqual)
                return r;
        }
        return vrEqual;
    }
    return CompareValues(v1, v2);
}
