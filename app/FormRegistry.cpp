#include "FormRegistry.h"

#include "CloseAccountForm.h"
#include "ConnectSetForm.h"
#include "SysSetForm.h"

std::map<int, TFormEntry>& TFormRegistry::Entries()
{
    static std::map<int, TFormEntry> entries;
    return entries;
}

void TFormRegistry::Register(int code, TFormEntry entry)
{
    Entries()[code] = std::move(entry);
}

void TFormRegistry::Unregister(int code)
{
    Entries().erase(code);
}

const TFormEntry* TFormRegistry::Find(int code)
{
    const auto it = Entries().find(code);
    return it == Entries().end() ? nullptr : &it->second;
}

namespace {

template <class F>
TFormEntry entryOf(const char* name)
{
    return {QString::fromLatin1(name), [](QWidget* owner) -> TForm* { return new F(owner); }, {}};
}

} // namespace

void RegisterAppForms()
{
    TFormRegistry::Register(13, entryOf<Tfrmbalance>("Tfrmbalance"));
    TFormRegistry::Register(51, entryOf<TfrmDBlinkset>("TfrmDBlinkset"));
    TFormRegistry::Register(54, entryOf<Tfrmsystemset>("Tfrmsystemset"));
}
