#pragma once
// The list box that editors and the grid open as a drop-down: a top-level window
// that never takes the focus, draws its items itself, carries a size grip, follows
// the mouse (hot tracking), searches its items by typed prefix, may show an image
// column, may take its items from an outside list (virtual mode) and may hand its
// items to per-item objects that draw and act for them.
#include "SizeGripGx.h"
#include "platform/gui/ControlBase.h"
#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class QScrollBar;
class TImageList;
class TPopupListboxGx;

// How an item is to be drawn (a set of od... flags).
using TOwnerDrawState = unsigned;
enum : unsigned {
    odSelected = 0x1, odGrayed = 0x2, odDisabled = 0x4, odChecked = 0x8, odFocused = 0x10,
    odDefault = 0x20, odHotLight = 0x40, odInactive = 0x80, odNoAccel = 0x100, odNoFocusRect = 0x200,
    odComboBoxEdit = 0x1000,
};

enum TListBoxStyleGx { lbOwnerDrawFixedGx, lbVirtualOwnerDrawGx };

// Texts with an object each (not owned), as list items. Sorted lists insert in
// case-insensitive order; IndexOf ignores case unless CaseSensitive.
class TStringsGx {
public:
    int Count() const { return int(FTexts.size()); }
    QString Strings(int index) const { return FTexts.value(index); }
    QObject* Objects(int index) const;
    void SetString(int index, const QString& text);
    void SetObject(int index, QObject* object);
    int Add(const QString& text, QObject* object = nullptr);
    void Delete(int index);
    void Clear();
    int IndexOf(const QString& text) const;
    const QStringList& Texts() const { return FTexts; }
    void SetTexts(const QStringList& texts);
    void Assign(const TStringsGx& source);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    std::function<void()> OnChange;

private:
    void Changed();
    QStringList FTexts;
    std::vector<QObject*> FObjects;
    bool FSorted = false;
    bool FCaseSensitive = false;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// An object stored with a list item that draws the item and reacts to it.
class TPopupListboxItemGx : public QObject {
public:
    virtual bool CanFocus() { return true; }
    virtual void DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State);
    virtual void MouseDown(TPopupListboxGx* Sender, int ItemIndex, TMouseButton Button, TShiftState Shift,
                           const TPoint& Pos) {}
    virtual void MouseMove(TPopupListboxGx* Sender, int ItemIndex, TShiftState Shift, const TPoint& Pos) {}
    virtual void MouseUp(TPopupListboxGx* Sender, int ItemIndex, bool& CloseList, TMouseButton Button,
                         TShiftState Shift, const TPoint& Pos);
    virtual void KeyPress(TPopupListboxGx* Sender, int ItemIndex, QChar& Key, TShiftState Shift) {}
    virtual bool CloseOnExecute(TPopupListboxGx* Sender, int ItemIndex) { return true; }
    virtual void Execute(TPopupListboxGx* Sender, int ItemIndex, const TPoint& InItemPos, TShiftState Shift) {}
};

using TListGetImageIndexEventGx = std::function<void(QObject* Sender, int ItemIndex, int& ImageIndex)>;

class TPopupListboxGx : public TCustomControl, public ISizeGripChangeTargetGx {
public:
    // A top-level window freed with its owner (the editor or grid that opens it).
    explicit TPopupListboxGx(QWidget* Owner);
    ~TPopupListboxGx() override;

    QWidget* Owner() const { return FOwner; }
    int BorderWidth() const { return FBorderWidth; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* value) { FImageList = value; }
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value) { FIntegralHeight = value; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool IsMouseUpCloseListbox() const { return FIsMouseUpCloseListbox; }
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    TStringsGx* ExtItems() const { return FExtItems; }
    void SetExtItems(TStringsGx* value);
    TSizeGripGx* SizeGrip() const { return FSizeGrip; }
    bool SizeGripResized() const { return FSizeGripResized; }
    void SetSizeGripResized(bool value) { FSizeGripResized = value; }
    bool UseItemObjects() const { return FUseItemObjects; }
    void SetUseItemObjects(bool value) { FUseItemObjects = value; }
    TListGetImageIndexEventGx OnGetImageIndex;

    // The list box itself.
    TStringsGx* Items() { return &FItems; }
    const TStringsGx* Items() const { return &FItems; }
    TListBoxStyleGx Style() const { return FStyle; }
    // The number of items; in virtual mode the owner sets it.
    int Count() const;
    void SetCount(int value);
    QString ItemText(int index) const;
    QObject* ItemObject(int index) const;
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // The rectangle of an item in client coordinates (empty above the top item).
    TRect ItemRect(int index) const;
    // The item under a client point; -1 when the point is over no item (Existing) or
    // the index the point would have.
    int ItemAtPos(const TPoint& pos, bool existing = true) const;
    // The area the items are drawn in: the window less its frame and scroll bar.
    TRect ItemsRect() const;
    // Rows that fit the items area.
    int VisibleRows() const;
    // Whether the list box's own vertical scroll bar is in use (a descendant may
    // bring its own instead).
    void SetOwnScrollBar(bool value);
    QScrollBar* OwnScrollBar() const { return FOwnScrollBar; }

    // Content, position or size changed: the scroll bar follows.
    virtual void UpdateScrollBar();

    int GetTextHeight() const;
    // Sets the bounds keeping whole rows: RowCount follows the height.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // The frame around the items: the plain border and the 3D edges, on one side.
    int FrameWidth() const;
    void DefaultDrawItem(int Index, const TRect& ARect, TOwnerDrawState State);
    void InvalidateIndex(int AItemIndex);
    void SizeGripChangePosition(TSizeGripChangePosition position) override;

    // The typed prefix of the incremental search.
    QString SearchText() const { return FSearchText; }
    // Milliseconds of the clock the search's time window is measured on; tests may replace it.
    static std::function<qint64()> TickCount;
    static constexpr int SearchTimeWindowMs = 2000;
    static constexpr int SearchTextLimit = 32;

    bool CanFocusList() const { return false; }

    UINT GetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void Paint() override;
    void MessageReceived(TMessage& Message) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    TPopupListboxItemGx* ItemObjectAt(int index) const;
    int ItemHeightOrText() const;
    void ContentChanged();
    void MakeVisible(int index);
    void DrawOneItem(int index, const TRect& rect);
    void SnapHeight();

    QWidget* FOwner;
    int FBorderWidth = 2;
    TImageList* FImageList = nullptr;
    TPoint FMousePos{-1, -1};
    int FRowCount = 1;
    QString FSearchText;
    qint64 FSearchTickCount = 0;
    TSizeGripGx* FSizeGrip = nullptr;
    bool FSizeGripResized = false;
    TStringsGx* FExtItems = nullptr;
    int FMouseIndex = -1;
    bool FUseItemObjects = false;
    bool FIsMouseUpCloseListbox = false;

    bool FCtl3D = true;
    bool FIntegralHeight = false;
    int FItemHeight = 16;
    TStringsGx FItems;
    TListBoxStyleGx FStyle = lbOwnerDrawFixedGx;
    int FCount = 0;            // virtual mode
    int FItemIndex = -1;
    int FTopIndex = 0;
    bool FHasOwnScrollBar = true;
    QScrollBar* FOwnScrollBar = nullptr;
    bool FSnapping = false;
};
