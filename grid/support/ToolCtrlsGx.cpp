#include "ToolCtrlsGx.h"

bool VariantsEqual(const Variant& v1, const Variant& v2)
{
    if (v1.IsUnassigned() != v2.IsUnassigned())
        return false;
    try {
        return v1 == v2;
    } catch (...) {
        return false;
    }
}

bool VariantsEqual(const TVarArrayGx& v1, const TVarArrayGx& v2)
{
    if (v1.DimCount != v2.DimCount || v1.LowBound != v2.LowBound || v1.HighBound() != v2.HighBound())
        return false;
    for (int i = 0; i < v1.Items.size(); ++i)
        if (!VariantsEqual(v1.Items[i], v2.Items[i]))
            return false;
    return true;
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
    return CompareValues(v1, v2);
}

TVariantRelationship CompareVariants(const TVarArrayGx& v1, const TVarArrayGx& v2)
{
    if (v1.DimCount != v2.DimCount || v1.LowBound != v2.LowBound || v1.HighBound() != v2.HighBound())
        return vrNotEqual;
    for (int i = 0; i < v1.Items.size(); ++i) {
        const TVariantRelationship r = CompareVariants(v1.Items[i], v2.Items[i]);
        if (r != vrEqual)
            return r;
    }
    return vrEqual;
}
