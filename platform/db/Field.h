#pragma once
// TField and its subclasses: one column of a dataset, read and written for the dataset's
// active record. A field never holds a value itself; it asks its dataset.
//
// Reading: Value() (Null when empty), AsString(), AsInteger(), AsFloat(), AsCurrency(),
// AsBoolean(), AsDateTime(), Text() (edit text), DisplayText(), IsNull().
// Writing (dataset in dsEdit / dsInsert, or while the dataset computes calculated fields):
// SetValue(), SetAsString(), ..., SetText(), Clear(). Each assignment converts the value to the
// field's type, runs OnValidate, stores it, fires OnChange and tells the data links
// (RecordChanged(field)). An empty text assigned to a numeric or date field clears it.
#include "DBTypes.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TFieldDef;

class TField {
public:
    using TFieldNotifyEvent = std::function<void(TField* sender)>;
    using TFieldGetTextEvent = std::function<void(TField* sender, QString& text, bool displayText)>;
    using TFieldSetTextEvent = std::function<void(TField* sender, const QString& text)>;

    explicit TField(TFieldType type = ftUnknown);
    virtual ~TField();
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // --- identity ---
    const QString& FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& v) { m_fieldName = v; }
    QString DisplayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void SetDisplayLabel(const QString& v) { m_displayLabel = v; }
    QString DisplayName() const { return DisplayLabel(); }
    TFieldType DataType() const { return m_dataType; }
    TFieldKind FieldKind() const { return m_fieldKind; }
    void SetFieldKind(TFieldKind v) { m_fieldKind = v; }
    bool Calculated() const { return m_fieldKind == fkCalculated || m_fieldKind == fkInternalCalc; }
    bool Lookup() const { return m_fieldKind == fkLookup; }
    int FieldNo() const { return m_fieldNo; }       // 1-based position of the data column; 0 for calculated
    int Index() const;                              // position in the dataset's Fields, -1 when none
    // Moves the field to that position of the dataset's Fields (clamped); the links re-lay out.
    void SetIndex(int value);
    TDataSet* DataSet() const { return m_dataSet; }
    int Size() const { return m_size; }
    void SetSize(int v) { m_size = v; }
    QString Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    qintptr Tag() const { return m_tag; }
    void SetTag(qintptr v) { m_tag = v; }

    // --- presentation and rules ---
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    int DisplayWidth() const;
    void SetDisplayWidth(int v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    bool Required() const { return m_required; }
    void SetRequired(bool v) { m_required = v; }
    const QString& EditMask() const { return m_editMask; }
    void SetEditMask(const QString& v) { m_editMask = v; }
    TProviderFlags ProviderFlags() const { return m_providerFlags; }
    void SetProviderFlags(TProviderFlags v) { m_providerFlags = v; }
    virtual bool IsBlob() const { return false; }
    // True when the field can be written now: not read-only, a data or calculated field,
    // on a dataset that can be modified.
    bool CanModify() const;

    // --- lookup fields (FieldKind fkLookup) ---
    QString KeyFields, LookupKeyFields, LookupResultField;
    TDataSet* LookupDataSet = nullptr;

    // --- value of the active record ---
    Variant Value() const;                // Null when empty
    virtual void SetValue(const Variant& v);
    Variant AsVariant() const { return Value(); }
    void SetAsVariant(const Variant& v) { SetValue(v); }
    bool IsNull() const;
    void Clear() { SetValue(Variant::Null()); }

    virtual QString AsString() const;
    virtual void SetAsString(const QString& v);
    virtual int AsInteger() const;
    virtual void SetAsInteger(int v);
    virtual qint64 AsLargeInt() const;
    virtual void SetAsLargeInt(qint64 v);
    virtual double AsFloat() const;
    virtual void SetAsFloat(double v);
    virtual Currency AsCurrency() const;
    virtual void SetAsCurrency(Currency v);
    virtual bool AsBoolean() const;
    virtual void SetAsBoolean(bool v);
    virtual TDateTime AsDateTime() const;
    virtual void SetAsDateTime(TDateTime v);

    // Edit text (OnGetText with displayText false) and display text (true).
    QString Text() const;
    void SetText(const QString& v);       // OnSetText when assigned, else SetAsString
    QString DisplayText() const;

    // Old and new values of the active record while it is edited (and of a delta row):
    // OldValue is the value before the pending change; NewValue is Unassigned for a field the
    // change did not touch.
    Variant OldValue() const;
    Variant NewValue() const;

    // Asks the controls to focus this field's editor (deFocusControl).
    void FocusControl();

    // --- events ---
    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

    // --- used by the dataset ---
    // Converts a value to the field's storage form (raises EConvertError / EDatabaseError when
    // it does not fit). Null and Unassigned pass through.
    virtual Variant ConvertValue(const Variant& v) const;
    // Text of a stored value (not Null) for AsString; DisplayText/Text apply formats on top.
    virtual QString ValueText(const Variant& v, bool display) const;
    void SetFieldNo(int n) { m_fieldNo = n; }
    void SetDataTypeInternal(TFieldType t) { m_dataType = t; }
    // The field class for a field type.
    static std::unique_ptr<TField> Create(TFieldType type);

protected:
    [[noreturn]] void RaiseTypeMismatch(const QString& expected, const Variant& actual) const;
    [[noreturn]] void RaiseConvert(const QString& typeName) const;
    // Name used in "Type mismatch" / "Could not convert" texts ("String", "Integer", ...).
    virtual QString TypeName() const;

private:
    friend class TDataSet;
    friend class TFields;
    QString m_fieldName, m_displayLabel, m_name, m_editMask;
    TFieldType m_dataType;
    TFieldKind m_fieldKind = fkData;
    TDataSet* m_dataSet = nullptr;
    int m_fieldNo = 0;
    int m_size = 0;
    int m_displayWidth = -1;
    TAlignment m_alignment = taLeftJustify;
    bool m_visible = true, m_readOnly = false, m_required = false;
    TProviderFlags m_providerFlags = pfInUpdate | pfInWhere;
    qintptr m_tag = 0;
    bool m_persistent = false;
};

// Text fields. Size limits the length when above 0 (longer text is cut). Fixed-width types
// (ftFixedChar, ftFixedWideChar) keep their trailing blanks.
class TStringField : public TField {
public:
    explicit TStringField(TFieldType type = ftString);
    bool FixedChar() const { return DataType() == ftFixedChar || DataType() == ftFixedWideChar; }
    Variant ConvertValue(const Variant& v) const override;
    bool AsBoolean() const override;
    void SetAsString(const QString& v) override;
protected:
    QString TypeName() const override { return QStringLiteral("String"); }
};

class TWideStringField : public TStringField {
public:
    explicit TWideStringField(TFieldType type = ftWideString) : TStringField(type) {}
protected:
    QString TypeName() const override { return QStringLiteral("WideString"); }
};

// Numbers: right aligned; DisplayFormat / EditFormat are FormatFloat patterns.
class TNumericField : public TField {
public:
    explicit TNumericField(TFieldType type);
    const QString& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& v) { m_displayFormat = v; }
    const QString& EditFormat() const { return m_editFormat; }
    void SetEditFormat(const QString& v) { m_editFormat = v; }
    void SetAsString(const QString& v) override;   // empty text clears
    QString ValueText(const Variant& v, bool display) const override;
private:
    QString m_displayFormat, m_editFormat;
};

// 32-bit integers; MinValue/MaxValue both 0 means no limit beyond the type's own range.
class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TFieldType type = ftInteger);
    qint64 MinValue() const { return m_min; }
    void SetMinValue(qint64 v) { m_min = v; }
    qint64 MaxValue() const { return m_max; }
    void SetMaxValue(qint64 v) { m_max = v; }
    Variant ConvertValue(const Variant& v) const override;
protected:
    QString TypeName() const override { return QStringLiteral("Integer"); }
    virtual qint64 TypeMin() const { return -2147483648LL; }
    virtual qint64 TypeMax() const { return 2147483647LL; }
private:
    qint64 m_min = 0, m_max = 0;
};

class TSmallintField : public TIntegerField {
public:
    TSmallintField() : TIntegerField(ftSmallint) {}
protected:
    QString TypeName() const override { return QStringLiteral("Smallint"); }
    qint64 TypeMin() const override { return -32768; }
    qint64 TypeMax() const override { return 32767; }
};

class TWordField : public TIntegerField {
public:
    TWordField() : TIntegerField(ftWord) {}
protected:
    QString TypeName() const override { return QStringLiteral("Word"); }
    qint64 TypeMin() const override { return 0; }
    qint64 TypeMax() const override { return 65535; }
};

class TAutoIncField : public TIntegerField {
public:
    TAutoIncField() : TIntegerField(ftAutoInc) {}
protected:
    QString TypeName() const override { return QStringLiteral("AutoInc"); }
};

class TLargeintField : public TNumericField {
public:
    TLargeintField() : TNumericField(ftLargeint) {}
    Variant ConvertValue(const Variant& v) const override;
protected:
    QString TypeName() const override { return QStringLiteral("Largeint"); }
};

// Binary floating point (float expressions, money shown as currency).
class TFloatField : public TNumericField {
public:
    explicit TFloatField(TFieldType type = ftFloat) : TNumericField(type) {}
    bool Currency_() const { return m_currency; }
    void SetCurrency(bool v) { m_currency = v; }
    int Precision() const { return m_precision; }
    void SetPrecision(int v) { m_precision = v; }
    Variant ConvertValue(const Variant& v) const override;
protected:
    QString TypeName() const override { return QStringLiteral("Float"); }
private:
    bool m_currency = false;
    int m_precision = 15;
};

class TCurrencyField : public TFloatField {
public:
    TCurrencyField() : TFloatField(ftCurrency) { SetCurrency(true); }
protected:
    QString TypeName() const override { return QStringLiteral("Currency"); }
};

// Exact decimal (numeric(18,4)): the value is a Currency, rounded to 4 decimals on assignment,
// so sums carry no binary drift (three times 0.1 adds up to exactly 0.3).
class TBCDField : public TNumericField {
public:
    explicit TBCDField(TFieldType type = ftBCD);
    int Precision() const { return m_precision; }
    void SetPrecision(int v) { m_precision = v; }
    Variant ConvertValue(const Variant& v) const override;
    QString ValueText(const Variant& v, bool display) const override;
protected:
    QString TypeName() const override { return QStringLiteral("BCD"); }
private:
    int m_precision = 18;
};

class TFMTBCDField : public TBCDField {
public:
    TFMTBCDField() : TBCDField(ftFMTBcd) {}
protected:
    QString TypeName() const override { return QStringLiteral("FMTBcd"); }
};

// bit: text "True"/"False" unless DisplayValues ("Yes;No") says otherwise.
class TBooleanField : public TField {
public:
    TBooleanField();
    const QString& DisplayValues() const { return m_displayValues; }
    void SetDisplayValues(const QString& v) { m_displayValues = v; }
    Variant ConvertValue(const Variant& v) const override;
    QString ValueText(const Variant& v, bool display) const override;
    void SetAsString(const QString& v) override;
protected:
    QString TypeName() const override { return QStringLiteral("Boolean"); }
private:
    QString m_displayValues;
};

// datetime: DisplayFormat is a FormatDateTime pattern; empty gives the default text
// ("yyyy-mm-dd", plus " hh:nn:ss" when the time is not midnight).
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TFieldType type = ftDateTime);
    const QString& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& v) { m_displayFormat = v; }
    Variant ConvertValue(const Variant& v) const override;
    QString ValueText(const Variant& v, bool display) const override;
    void SetAsString(const QString& v) override;   // empty text clears
protected:
    QString TypeName() const override { return QStringLiteral("DateTime"); }
private:
    QString m_displayFormat;
};

class TDateField : public TDateTimeField {
public:
    TDateField() : TDateTimeField(ftDate) {}
protected:
    QString TypeName() const override { return QStringLiteral("Date"); }
};

class TTimeField : public TDateTimeField {
public:
    TTimeField() : TDateTimeField(ftTime) {}
protected:
    QString TypeName() const override { return QStringLiteral("Time"); }
};

// Long text (text / ntext columns).
class TMemoField : public TField {
public:
    explicit TMemoField(TFieldType type = ftMemo) : TField(type) {}
    bool IsBlob() const override { return true; }
    Variant ConvertValue(const Variant& v) const override;
    QString ValueText(const Variant& v, bool display) const override;
protected:
    QString TypeName() const override { return QStringLiteral("Memo"); }
};

class TWideMemoField : public TMemoField {
public:
    TWideMemoField() : TMemoField(ftWideMemo) {}
protected:
    QString TypeName() const override { return QStringLiteral("WideMemo"); }
};

class TVariantField : public TField {
public:
    TVariantField() : TField(ftVariant) {}
protected:
    QString TypeName() const override { return QStringLiteral("Variant"); }
};

// The fields of a dataset, in order.
class TFields {
public:
    int Count() const { return int(m_list.size()); }
    TField* Fields(int i) const;                   // raises "Field index out of range"
    TField* operator[](int i) const { return Fields(i); }
    TField* FindField(const QString& name) const;  // ignoring case; nullptr when absent
    TField* FieldByName(const QString& name) const; // raises "Field 'x' not found"
    TField* FieldByNumber(int fieldNo) const;
    int IndexOf(const TField* f) const;
    auto begin() const { return m_list.begin(); }
    auto end() const { return m_list.end(); }

private:
    friend class TDataSet;
    friend class TField;
    void Add(TField* f);
    void Remove(TField* f);
    void Clear() { m_list.clear(); }
    std::vector<TField*> m_list;
    TDataSet* m_dataSet = nullptr;
};
