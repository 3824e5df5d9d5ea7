#include "QueryRegistry.h"

#include "QueryBills.h"
#include "StockQuery.h"
#include "app/FormRegistry.h"

void RegisterQueryForms()
{
    TFormRegistry::Register(21, {QStringLiteral("Tfrmqueryimbill"), [](QWidget* o) -> TForm* { return new Tfrmqueryimbill(o); }, {}});
    TFormRegistry::Register(22, {QStringLiteral("Tfrmqueryexbill"), [](QWidget* o) -> TForm* { return new Tfrmqueryexbill(o); }, {}});
    TFormRegistry::Register(23, {QStringLiteral("TfrmQueryStorage"), [](QWidget* o) -> TForm* { return new TfrmQueryStorage(o); }, {}});
}
