#pragma once
// TFieldDef / TFieldDefs: the column descriptions a dataset creates its fields from.
#include "DBTypes.h"
#include <QString>
#include <QStringList>
#include <vector>

class TFieldDef {
public:
    TFieldDef() = default;
    TFieldDef(const QString& name, TFieldType type, int size = 0, bool required = false)
        : m_name(name), m_type(type), m_size(size), m_required(required) {}

    const QString& Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    TFieldType DataType() const { return m_type; }
    void SetDataType(TFieldType v) { m_type = v; }
    // Characters for text types; decimals for BCD (4); 0 = unknown / unlimited.
    int Size() const { return m_size; }
    void SetSize(int v) { m_size = v; }
    int Precision() const { return m_precision; }
    void SetPrecision(int v) { m_precision = v; }
    bool Required() const { return m_required; }
    void SetRequired(bool v) { m_required = v; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    int FieldNo() const { return m_fieldNo; }   // 1-based position in the definitions

    bool operator==(const TFieldDef& o) const;

private:
    friend class TFieldDefs;
    QString m_name;
    TFieldType m_type = ftUnknown;
    int m_size = 0;
    int m_precision = 0;
    bool m_required = false;
    bool m_readOnly = false;
    int m_fieldNo = 0;
};

class TFieldDefs {
public:
    int Count() const { return int(m_defs.size()); }
    const TFieldDef& Items(int i) const { return m_defs.at(size_t(i)); }
    TFieldDef& Items(int i) { return m_defs.at(size_t(i)); }
    const TFieldDef& operator[](int i) const { return Items(i); }
    TFieldDef& operator[](int i) { return Items(i); }

    // Adds a definition; a name already present (ignoring case) raises "Duplicate field name".
    TFieldDef& Add(const QString& name, TFieldType type, int size = 0, bool required = false);
    TFieldDef& AddFieldDef();           // an empty definition to fill in
    void Clear() { m_defs.clear(); }
    int IndexOf(const QString& name) const;   // ignoring case, -1 when absent
    const TFieldDef* Find(const QString& name) const;
    QStringList Names() const;

    auto begin() const { return m_defs.begin(); }
    auto end() const { return m_defs.end(); }
    bool operator==(const TFieldDefs& o) const { return m_defs == o.m_defs; }

private:
    void Renumber();
    std::vector<TFieldDef> m_defs;
};
