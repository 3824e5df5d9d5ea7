#pragma once
// Shared routines of the grid library's editors, drop-downs and grid:
// variant comparison and the like.
#include "GxLibVCL.h"
#include "Variant.h"
#include "platform/db/DBTypes.h"
#include <vector>

class TDataSet;
class TField;
class QObject;

// The run-time library's four variant relationships.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// Equality that never raises: a failing conversion counts as "not equal";
// Unassigned equals only Unassigned; an array never equals a single value, and
// two arrays are equal element by element when their bounds agree.
bool VariantsEqual(const Variant& v1, const Variant& v2);

// Order of two values, Null first; arrays of one shape element by element.
TVariantRelationship CompareVariants(const Variant& v1, const Variant& v2);

// True for the numeric field types that can be summed (not auto-increment or large integers).
bool IsNumberFieldType(TFieldType fieldType);

// Field lists given as text: "a;b;c".
using TFieldsArrGx = std::vector<TField*>;
// Appends the named fields, in the order of the names, to List (when given).
// An unknown name raises the database error "Field '%s' not found", prefixed with
// the component's name when it has one.
void GetFieldsByNames(TFieldsArrGx* list, TDataSet* dataSet, const QObject* component, const QString& names);
TFieldsArrGx FieldsToArray(TDataSet* dataSet, const QObject* component, const QString& names);
// Null clears every named field; otherwise one array element per field (a single
// value for a single field).
void SetFieldsValue(TDataSet* dataSet, const QString& names, const Variant& value);
// The field names of a ";"-separated list, as the class library extracts them.
QStringList ExtractFieldNamesGx(const QString& names);
