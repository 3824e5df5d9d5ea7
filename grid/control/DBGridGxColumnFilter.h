#pragma once
// A column's filter-row condition: the parsed expression and its text, the list
// source that maps display values to key values, and the tick state of the values
// in the filter drop-down list.
#include "DBGridGxFilterExpr.h"
#include "grid/support/DatasetFieldValueListGx.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class IDBGridGx;
class TColumnGx;
class TCustomDBGridGx;
class TDataSet;
class TDataSource;
class TField;
class TStringsGx;

class TSTColumnFilterGx {
public:
    explicit TSTColumnFilterGx(TColumnGx* column);
    virtual ~TSTColumnFilterGx();
    TSTColumnFilterGx(const TSTColumnFilterGx&) = delete;
    TSTColumnFilterGx& operator=(const TSTColumnFilterGx&) = delete;

    TColumnGx* Column() const { return FColumn; }
    IDBGridGx* Grid() const;
    const QString& DataField() const { return FDataField; }
    void SetDataField(const QString& value) { FDataField = value; }
    const QString& KeyField() const { return FKeyField; }
    void SetKeyField(const QString& value) { FKeyField = value; }
    const QString& ListField() const { return FListField; }
    void SetListField(const QString& value) { FListField = value; }
    TDataSource* ListSource() const;
    void SetListSource(TDataSource* value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int DropDownListWidth() const { return FDropDownListWidth; }
    void SetDropDownListWidth(int value) { FDropDownListWidth = value; }
    int DropDownListRows() const { return FDropDownListRows; }
    void SetDropDownListRows(int value) { FDropDownListRows = value; }

    // A copy of the condition; setting it renders its text.
    TSTFilterExpressionGx Expression() const { return FExpression; }
    const TSTFilterExpressionGx& ExpressionRef() const { return FExpression; }
    void SetExpression(const TSTFilterExpressionGx& value);
    // Replaces the condition and nothing else (its text stays).
    void SetExpressionSilently(const TSTFilterExpressionGx& value) { FExpression = value; }
    const QString& ExpressionStr() const { return FExpressionStr; }
    // Parses the text (a parse error propagates and leaves the filter as it was) and repaints the grid.
    void SetExpressionStr(const QString& value);
    Variant KeyValues() const { return FKeyValues; }
    // Forgets the key values and empties the condition.
    void Clear();
    void Assign(const TSTColumnFilterGx& source);

    virtual QString ExpressionToText();
    virtual bool HasDropDownButton() { return true; }
    virtual void ParseExpressionStr(const QString& Text);
    virtual void MapPickListOperands();
    virtual QString GetFilterFieldName();
    virtual Variant GetOperand1();
    virtual Variant GetOperand2();

    // The operand type of the column's field; the type parsed last when the column has no field.
    TSTOperandTypeGx FieldOperandType();
    QString CurrentDataField();
    QString CurrentKeyField();
    QString CurrentListField();
    TDataSet* CurrentListDataSet();
    // A distinct-value list over the list source's field; nullptr without an open list dataset.
    IMemTableDataFieldValueListGxPtr GetFieldValueList();
    // The value list the drop-down reads, kept until the list source changes.
    IMemTableDataFieldValueListGxPtr FieldValueList() const { return FFieldValueList; }
    void SetFieldValueList(IMemTableDataFieldValueListGxPtr value) { FFieldValueList = std::move(value); }
    void SetKeyListValues(const QString& AText, const Variant& KeyVals);
    void SetKeysFromListValues(const QStringList& ss);
    // An operand as the custom filter dialog shows it.
    QString GetOperandAsString(TSTFilterOperatorGx Operator, const Variant& V);
    // The ticked values of the list become the condition.
    void ApplyCheckedListValues(TStringsGx* Items);
    // Ticks the values of the list that the condition names.
    void CheckListValuesFromExpression(TStringsGx* Items);

    // Drop-down list state.
    int FPopupListboxDownIndex = -1;
    std::vector<bool> FListValuesCheckingState;
    bool FInFilterListBox = false;
    bool FEnterNotClearData = false;

private:
    TCustomDBGridGx* DBGrid() const;
    TField* LookupField();
    Variant ListLookup(const QString& keyField, const Variant& value, const QString& resultField);
    Variant MapOperand(const Variant& v, const QString& from, const QString& to);
    QString OperandText(const Variant& v);

    TColumnGx* FColumn;
    QString FDataField, FKeyField, FListField;
    Variant FKeyValues = Variant::Null();
    std::unique_ptr<TDataLinkGx> FListLink;
    bool FVisible = true;
    int FDropDownListWidth = 0;
    int FDropDownListRows = 15;
    TSTFilterExpressionGx FExpression;
    QString FExpressionStr;
    IMemTableDataFieldValueListGxPtr FFieldValueList;
};
