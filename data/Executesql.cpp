#include "Executesql.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

Texecsql::Texecsql(TADOQuery* fadoq, const QString& tmpsql) : Fadoquery(fadoq), Fsql(tmpsql) {}

void Texecsql::Execute()
{
    try {
        Fadoquery->Close();
        Fadoquery->SQL().clear();
        Fadoquery->SQL().append(Fsql);
        Fadoquery->ExecSQL();
        if (FexecsqlEvent)
            FexecsqlEvent(this, Fadoquery);
    } catch (...) {
        FexecsqlException = std::current_exception();
        Abort();
    }
}
