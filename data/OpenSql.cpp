#include "OpenSql.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

Topensql::Topensql(TADOQuery* Fadoq, const QString& tmpSql) : Fadoquery(Fadoq), Fsql(tmpSql) {}

void Topensql::Execute()
{
    try {
        Fadoquery->Close();
        Fadoquery->SQL().clear();
        Fadoquery->SQL().append(Fsql);
        Fadoquery->Open();
        if (FopensqlEvent)
            FopensqlEvent(this, Fadoquery);
    } catch (...) {
        FopensqlException = std::current_exception();
        Abort();
    }
}
