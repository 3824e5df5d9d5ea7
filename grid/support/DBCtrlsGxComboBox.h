#pragma once
// The data-aware combo box: an edit with a drop-down list of items, in two modes.
//  - Free text (Items only): the user types freely; typing at the end completes the
//    text with the first item that begins with it; the field receives the text.
//  - List only (KeyItems given): the text cannot be typed; typed characters search
//    the items; the field receives the key at the chosen item's index and the
//    editor shows the item's text.
#include "DBCtrlsGx.h"
#include "PopupListboxGx.h"
#include <memory>

// Scoped: the grid names its own alignments alike.
enum class TDropDownAlign { daLeft, daRight, daCenter };

// Settings of the drop-down list.
class TDropDownBoxGx {
public:
    virtual ~TDropDownBoxGx() = default;
    void Assign(const TDropDownBoxGx& Source);
    TDropDownAlign Align() const { return FAlign; }
    void SetAlign(TDropDownAlign Value) { FAlign = Value; }
    // Typing a printable character opens the list.
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    // Show the size grip.
    bool Sizable() const { return FSizable; }
    void SetSizable(bool Value) { FSizable = Value; }
    // 0: the editor's width; -1: as wide as the widest item.
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }

private:
    TDropDownAlign FAlign = TDropDownAlign::daLeft;
    bool FAutoDrop = false;
    int FRows = 7;
    bool FSizable = false;
    int FWidth = 0;
};

using TNotInListEventGx = std::function<void(QObject* Sender, const QString& NewText, bool& RecheckInList)>;
// Makes the drop-down control for an editor (its owner).
using TPopupListboxClassGx = std::function<TPopupListboxGx*(QWidget* Owner)>;

class TCustomDBComboBoxGx : public TCustomDBEditGx {
public:
    explicit TCustomDBComboBoxGx(QWidget* parent = nullptr);
    ~TCustomDBComboBoxGx() override;

    TDropDownBoxGx* DropDownBox() const { return FDropDownBox.get(); }
    int ItemIndex() const { return FItemIndex; }
    // Chooses an item from code: a bound editor puts its dataset into edit state and
    // the value is written at once.
    void SetItemIndex(int Value);
    TStringsGx* Items() { return &FItems; }
    TStringsGx* KeyItems() { return &FKeyItems; }
    bool ListVisible() const { return FListVisible; }
    // List-only mode: KeyItems has entries.
    bool KeyBased() const { return FKeyBased; }
    int ItemsCount() const { return FItemsCount; }
    TPopupListboxClassGx PopupListboxClass;
    // The drop-down control, made on first use.
    TPopupListboxGx* PopupListbox();
    // List-only mode sets the value to Null; free text empties the text.
    void Clear();
    // Steps to the previous or next item.
    void SelectNextValue(bool IsPrior);

    TCloseUpEventGx OnCloseUp;
    TAcceptEventGx OnClosingUp;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnGetItemsList;
    TNotInListEventGx OnNotInList;
    TListGetImageIndexEventGx OnGetItemImageIndex;

    void CloseUp(bool Accept) override;
    void UpdateData() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void FocusKilled() override;
    void CMCancelMode(QWidget* Sender) override;
    bool EditWindowMouseAllowed(QMouseEvent* e) override;
    void DoEnter() override;

protected:
    virtual std::unique_ptr<TDropDownBoxGx> CreateDropDownBox();
    // Looks for the first usable item equal to Text (or, PartialKey, beginning with
    // it), ignoring case; true when the item index changed.
    virtual bool LocateItem(const QString& Text, bool PartialKey);
    // List-only typing: Text is appended to the typed prefix and searched.
    virtual bool SelectItemByTyping(const QString& Text);
    // Lets OnGetItemsList fill an empty item list.
    virtual void GetItemsCount();
    virtual void SetItemIndexValue(int Index);

    std::unique_ptr<TEditButtonGx> CreateEditButton() override;
    TAlignment GetDefaultAlignment() override;
    int GetImageIndexByValue() override { return FDefaultItemIndex; }
    QString GetDisplayTextForPaintCopy() override;
    void GetVariantValue(Variant& Value) override;
    bool IsValidChar(QChar Key) override;
    void ButtonDropDown(bool TopButton) override;
    void DataChanged() override;
    void DropDown() override;
    void EditButtonMouseMove(QObject* Sender, TShiftState Shift, int X, int Y) override;
    void InternalSetText(const QString& Text) override;
    void InternalSetValue(const Variant& Value) override;
    void InternalUpdatePostData() override;
    void ResetMaxLength() override;
    void UpdateReadOnly() override;
    void UpdateImageIndex() override;
    void UpdateMRUListOnChange() override;
    bool DropDownKey(WORD Key, TShiftState Shift) override;

private:
    void ItemsChanged(bool KeyItemsChanged);
    // The item index of the edit text, without changing the text.
    void ItemIndexFromText();
    void SetCurrentItem(int Index);
    void ListMouseUp(TMouseButton Button, int X, int Y);

    std::unique_ptr<TDropDownBoxGx> FDropDownBox;
    int FItemIndex = -1;
    TStringsGx FItems;
    TStringsGx FKeyItems;
    bool FListVisible = false;
    TPopupListboxGx* FPopupListbox = nullptr;
    int FItemsCount = 0;
    bool FKeyBased = false;
    Variant FVarValue = Variant::Null();
    int FDefaultItemIndex = -1;
    bool FReadingField = false;     // the base's field reading runs
    QChar FTypedKey;                // the character whose insertion may complete the text
};

// The published combo box.
class TDBComboBoxGx : public TCustomDBComboBoxGx {
public:
    explicit TDBComboBoxGx(QWidget* parent = nullptr) : TCustomDBComboBoxGx(parent) {}
};
