#pragma once
// The entries of a filter drop-down list: the two sort commands, a separator line,
// the special commands (clear, all, empties, non-empties, custom dialog, apply) and
// the value entries with their check boxes. One object of each kind serves every
// list of the process; lists refer to them and never own them.
#include "DBGridGxTypes.h"
#include "grid/support/PopupListboxGx.h"

class TColumnGx;
class TCustomDBGridGx;

enum TPopupListboxItemGxSpecType {
    ptFilterSpecItemClearFilter, ptFilterSpecItemAll, ptFilterSpecItemEmpties, ptFilterSpecItemNotEmties,
    ptFilterSpecItemDialog, ptFilterApply
};

class TDBGridFilterPopupListboxItemGx : public TPopupListboxItemGx {
public:
    bool CanFocus() override { return false; }
protected:
    // The column whose filter the list edits: the grid's in-title column, else the filter editor's.
    static TColumnGx* FilteredColumn(TPopupListboxGx* Sender);
    static TCustomDBGridGx* ListGrid(TPopupListboxGx* Sender);
};

class TPopupListboxItemGxSort : public TDBGridFilterPopupListboxItemGx {
public:
    explicit TPopupListboxItemGxSort(TSortMarkerGx state) : FSortState(state) {}
    TSortMarkerGx SortState() const { return FSortState; }
    void DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State) override;
    void Execute(TPopupListboxGx* Sender, int ItemIndex, const TPoint& InItemPos, TShiftState Shift) override;
private:
    TSortMarkerGx FSortState;
};

class TPopupListboxItemGxLine : public TDBGridFilterPopupListboxItemGx {
public:
    void DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State) override;
    bool CloseOnExecute(TPopupListboxGx*, int) override { return false; }
};

class TPopupListboxItemGxSpec : public TDBGridFilterPopupListboxItemGx {
public:
    explicit TPopupListboxItemGxSpec(TPopupListboxItemGxSpecType type) : FType(type) {}
    TPopupListboxItemGxSpecType SpecType() const { return FType; }
    void DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State) override;
    void Execute(TPopupListboxGx* Sender, int ItemIndex, const TPoint& InItemPos, TShiftState Shift) override;
private:
    TPopupListboxItemGxSpecType FType;
};

class TPopupListboxItemGxData : public TDBGridFilterPopupListboxItemGx {
public:
    void DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect, TOwnerDrawState State) override;
    void MouseDown(TPopupListboxGx* Sender, int ItemIndex, TMouseButton Button, TShiftState Shift,
                   const TPoint& Pos) override;
    void MouseMove(TPopupListboxGx* Sender, int ItemIndex, TShiftState Shift, const TPoint& Pos) override;
    void MouseUp(TPopupListboxGx* Sender, int ItemIndex, bool& CloseList, TMouseButton Button, TShiftState Shift,
                 const TPoint& Pos) override;
    bool CloseOnExecute(TPopupListboxGx*, int) override { return false; }
    void Execute(TPopupListboxGx* Sender, int ItemIndex, const TPoint& InItemPos, TShiftState Shift) override;
};

// The shared item objects.
TPopupListboxItemGxLine* FilterListLineItemGx();
TPopupListboxItemGxSort* FilterListSortItemGx(TSortMarkerGx state);
TPopupListboxItemGxSpec* FilterListSpecItemGx(TPopupListboxItemGxSpecType type);
TPopupListboxItemGxData* FilterListDataItemGx();
// The captions of the command entries.
namespace FilterListText {
inline const char* const SortDesc = "(降序)";
inline const char* const SortAsc = "(升序)";
inline const char* const ClearFilter = "(取消过滤)";
inline const char* const ApplyFilter = "(Apply filter)";
inline const char* const Custom = "(Custom...)";
inline const char* const All = "(全部)";
inline const char* const NotEmpties = "(非空)";
inline const char* const Empties = "(空)";
} // namespace FilterListText
