#pragma once
// Shared routines of the grid library's editors, drop-downs and grid:
// variant comparison and the like.
#include "GxLibVCL.h"
#include "Variant.h"

// The run-time library's four variant relationships.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// Equality that never raises: a failing conversion counts as "not equal";
// Unassigned equals only Unassigned; an array never equals a single value.
bool VariantsEqual(const Variant& v1, const Variant& v2);
bool VariantsEqual(const TVarArrayGx& v1, const TVarArrayGx& v2);
inline bool VariantsEqual(const TVarArrayGx&, const Variant&) { return false; }
inline bool VariantsEqual(const Variant&, const TVarArrayGx&) { return false; }

// Order of two values, Null first.
TVariantRelationship CompareVariants(const Variant& v1, const Variant& v2);
TVariantRelationship CompareVariants(const TVarArrayGx& v1, const TVarArrayGx& v2);
inline TVariantRelationship CompareVariants(const TVarArrayGx&, const Variant&) { return vrNotEqual; }
inline TVariantRelationship CompareVariants(const Variant&, const TVarArrayGx&) { return vrNotEqual; }
