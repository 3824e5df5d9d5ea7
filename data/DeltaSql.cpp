#include "DeltaSql.h"
#include "DataProcess.h"

TDeltaSqlBuilder::TDeltaSqlBuilder(const QString& table, const QString& keyField, TDeltaStyle style)
    : m_table(table), m_key(keyField), m_style(style)
{
}

QString TDeltaSqlBuilder::rowStatement(TUpdateStatus status, const QStringList& names, const QList<bool>& isColumn,
                                       const QList<Variant>& values)
{
    const bool single = m_style == TDeltaStyle::SingleTable;
    auto valueOf = [&](const QString& field) -> Variant {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(field, Qt::CaseInsensitive) == 0)
                return values[i];
        return Variant::Null();
    };
    switch (status) {
    case usUnmodified:
        m_rememberedKey = VarToStr(valueOf(m_key));
        return QString();
    case usModified: {
        QStringList set;
        for (int i = 0; i < names.size(); ++i)
            if (isColumn[i] && !values[i].IsNull())
                set << trimtext(names[i]) + QStringLiteral(" = ") + vartosqlvalue(values[i]);
        if (set.isEmpty())
            return QString();
        return (single ? QStringLiteral(" update ") : QStringLiteral("update ")) + m_table + QStringLiteral(" set ")
             + set.join(QLatin1Char(',')) + QStringLiteral(" where ") + m_key
             + (single ? QStringLiteral(" = ") : QStringLiteral("=")) + m_rememberedKey;
    }
    case usInserted: {
        QStringList cols, vals;
        for (int i = 0; i < names.size(); ++i)
            if (isColumn[i] && !values[i].IsNull()) {
                cols << trimtext(names[i]);
                vals << vartosqlvalue(values[i]);
            }
        if (cols.isEmpty())
            return QString();
        return (single ? QStringLiteral(" Insert into ") : QStringLiteral("Insert into ")) + m_table + QLatin1Char('(')
             + cols.join(QLatin1Char(',')) + QStringLiteral(") values(") + vals.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    case usDeleted:
        return QStringLiteral("Delete ") + m_table + QStringLiteral(" where ") + m_key + QLatin1Char('=')
             + vartosqlvalue(valueOf(m_key));
    }
    return QString();
}
