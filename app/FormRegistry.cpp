#include "FormRegistry.h"

#include "BaseListEdit.h"
#include "CategoryTreeEdit.h"
#include "CloseAccountForm.h"
#include "ExBill.h"
#include "ImBill.h"
#include "ConnectSetForm.h"
#include "OpeningStock.h"
#include "PlannedPrice.h"
#include "SysSetForm.h"
#include "TreeEdit.h"

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
    TFormRegistry::Register(11, {QStringLiteral("Tfrmbasicimbill"),
                                 [](QWidget* owner) -> TForm* { return new Tfrmbasicimbill(owner); },
                                 [](TForm* f) { static_cast<Tfrmbasicimbill*>(f)->newbill(); }});
    TFormRegistry::Register(12, {QStringLiteral("Tfrmbasicexbill"),
                                 [](QWidget* owner) -> TForm* { return new Tfrmbasicexbill(owner); },
                                 [](TForm* f) { static_cast<Tfrmbasicexbill*>(f)->newbill(); }});
    TFormRegistry::Register(14, {QStringLiteral("Tfrmbasicrebill"),
                                 [](QWidget* owner) -> TForm* { return new Tfrmbasicrebill(owner); },
                                 [](TForm* f) { static_cast<Tfrmbasicrebill*>(f)->newbill(); }});
    TFormRegistry::Register(13, entryOf<Tfrmbalance>("Tfrmbalance"));
    TFormRegistry::Register(51, entryOf<TfrmDBlinkset>("TfrmDBlinkset"));
    TFormRegistry::Register(54, entryOf<Tfrmsystemset>("Tfrmsystemset"));
    TFormRegistry::Register(41, entryOf<TfrmMaterialcf>("TfrmMaterialcf"));
    TFormRegistry::Register(42, entryOf<Tfrmdptlist>("Tfrmdptlist"));
    TFormRegistry::Register(43, entryOf<Tfrmpjtlist>("Tfrmpjtlist"));
    TFormRegistry::Register(44, entryOf<Tfrmemployeelist>("Tfrmemployeelist"));
    TFormRegistry::Register(55, entryOf<Tfrmuserset>("Tfrmuserset"));
    TFormRegistry::Register(45, entryOf<Tfrmexceltosrglist>("Tfrmexceltosrglist"));
    TFormRegistry::Register(47, entryOf<Tfrmplanlist>("Tfrmplanlist"));
    TFormRegistry::Register(48, entryOf<TfrmMaterialsup>("TfrmMaterialsup"));
    TFormRegistry::Register(52, entryOf<Tfrmbreedset>("Tfrmbreedset"));
}
