#pragma once
// The form registry: the main window creates the forms of its function tree by dispatch code
// through here, so that the shell does not depend on the libraries that hold the forms (the
// query and report forms open bill forms of this library in their turn). Each library
// registers its forms once at start-up.
#include <QString>
#include <functional>
#include <map>

class QWidget;
class TForm;

struct TFormEntry {
    QString ClassName;
    // Creates the form with the given owner.
    std::function<TForm*(QWidget* AOwner)> Create;
    // The bill forms' newbill, called once between creation and showing (empty for others).
    std::function<void(TForm*)> NewBill;
};

class TFormRegistry {
public:
    static void Register(int code, TFormEntry entry);
    static void Unregister(int code);
    // The form of a code, or null when none is registered.
    static const TFormEntry* Find(int code);
    static std::map<int, TFormEntry>& Entries();
};

// Registers the forms of the shell (period close, connection settings, system settings).
void RegisterAppForms();
