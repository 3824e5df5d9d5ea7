#include "FieldDefs.h"

bool TFieldDef::operator==(const TFieldDef& o) const
{
    return m_name == o.m_name && m_type == o.m_type && m_size == o.m_size
        && m_precision == o.m_precision && m_required == o.m_required && m_readOnly == o.m_readOnly;
}

TFieldDef& TFieldDefs::Add(const QString& name, TFieldType type, int size, bool required)
{
    if (IndexOf(name) >= 0)
        DatabaseErrorFmt(DBText::DuplicateFieldName, name);
    m_defs.emplace_back(name, type, size, required);
    Renumber();
    return m_defs.back();
}

TFieldDef& TFieldDefs::AddFieldDef()
{
    m_defs.emplace_back();
    Renumber();
    return m_defs.back();
}

int TFieldDefs::IndexOf(const QString& name) const
{
    for (size_t i = 0; i < m_defs.size(); ++i)
        if (m_defs[i].m_name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const TFieldDef* TFieldDefs::Find(const QString& name) const
{
    int i = IndexOf(name);
    return i < 0 ? nullptr : &m_defs[size_t(i)];
}

QStringList TFieldDefs::Names() const
{
    QStringList r;
    for (const auto& d : m_defs)
        r << d.m_name;
    return r;
}

void TFieldDefs::Renumber()
{
    for (size_t i = 0; i < m_defs.size(); ++i)
        m_defs[i].m_fieldNo = int(i) + 1;
}
