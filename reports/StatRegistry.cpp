#include "StatRegistry.h"

#include "StatBillReport.h"
#include "StatConsumeReport.h"
#include "StatCylReport.h"
#include "StatMaterialReport.h"
#include "app/FormRegistry.h"

namespace {

template <class F>
TFormEntry entryOf(const char* name)
{
    return {QString::fromLatin1(name), [](QWidget* owner) -> TForm* { return new F(owner); }, {}};
}

} // namespace

void RegisterStatForms()
{
    TFormRegistry::Register(31, entryOf<TfrmimbillReport>("TfrmimbillReport"));
    TFormRegistry::Register(32, entryOf<TfrmExbillReport>("TfrmExbillReport"));
    TFormRegistry::Register(33, entryOf<Tfrmmaterialreport>("Tfrmmaterialreport"));
    TFormRegistry::Register(34, entryOf<Tfrmcylreport>("Tfrmcylreport"));
    TFormRegistry::Register(35, entryOf<Tfrmconsumereport>("Tfrmconsumereport"));
}
