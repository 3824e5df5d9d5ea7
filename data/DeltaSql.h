#pragma once
// Composes the INSERT, UPDATE and DELETE statements that write a client dataset's change
// log back to one table. Only fields that are columns of the table are written, and a value
// only when it is not Null, so view-only fields never reach the table and a change to Null
// leaves the stored value alone. Every value is the literal of vartosqlvalue.
#include "platform/db/DBTypes.h"
#include "platform/rtl/Variant.h"
#include <QList>
#include <QString>
#include <QStringList>

// The two spellings the writers use: the single-table writer puts blanks around "update",
// "Insert" and the key's "=", the head-and-lines writer does not.
enum class TDeltaStyle { SingleTable, HeadAndLines };

class TDeltaSqlBuilder {
public:
    TDeltaSqlBuilder(const QString& table, const QString& keyField, TDeltaStyle style);

    // The statement for one delta row, or an empty text when the row yields none.
    // names and values are the row's fields in order; isColumn tells which are columns of
    // the table. An unmodified row remembers its key for the modified row that follows.
    QString rowStatement(TUpdateStatus status, const QStringList& names, const QList<bool>& isColumn,
                         const QList<Variant>& values);

private:
    QString m_table;
    QString m_key;
    TDeltaStyle m_style;
    QString m_rememberedKey;
};
