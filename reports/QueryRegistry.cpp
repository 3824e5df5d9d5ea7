#include "QueryRegistry.h"

#include "QueryBills.h"
#include "app/FormRegistry.h"

void RegisterQueryForms()
{
    TFormRegistry::Register(21, {QStringLiteral("Tfrmqueryimbill"), [](QWidget* o) -> TForm* { return new Tfrmqueryimbill(o); }, {}});
    TFormRegistry::Register(22, {QStringLiteral("Tfrmqueryexbill"), [](QWidget* o) -> TForm* { return new Tfrmqueryexbill(o); }, {}});
}
