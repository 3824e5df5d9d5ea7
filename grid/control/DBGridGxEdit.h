#pragma once
// The data grid's in-place editor: the edit control placed over the current cell
// while the user edits. It takes the cell's edit style, text, colour, font, mask
// and length limit from the current column, shows the column's buttons in the
// cell, completes typed text against pick lists, filters pasted text to the
// characters the column accepts, marks empty required fields and routes keys
// between itself and the grid.
//
// Double-byte lead bytes never arise here: Qt hands the editor whole characters
// and input-method commits, so every character is processed on its own.
#include "DBGridGxTypes.h"
#include "GridsGx.h"
#include "grid/support/EditButtonsGx.h"
#include "grid/support/PopupOwnerGx.h"

#include <QPointer>
#include <memory>
#include <vector>

class QFrame;
class QTextLayout;
class QMenu;
class TDataSource;
class TMRUListGx;
class TMRUListboxGx;
class TPopupDataGridGx;
class TPopupListboxGx;
class TPopupMonthCalendarGx;
class TColumnGx;
class TField;
class TCustomDBGridGx;
class TEditButtonControlGx;

enum TEditStyle {
    esSimple, esEllipsis, esPickList, esDataList, esDateCalendar, esUpDown, esDropDown, esAltUpDown, esAltDropDown,
    esAltCalendar
};

class TDBGridInplaceEdit : public TInplaceEdit, public IPopupOwnerGx {
public:
    explicit TDBGridInplaceEdit(TCustomDBGridGx* Owner);
    ~TDBGridInplaceEdit() override;

    TCustomDBGridGx* DBGrid() const { return FDBGrid; }
    // The column being edited: the grid's selected column, or none.
    TColumnGx* EditColumn() const;
    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    int ImageIndex() const { return FImageIndex; }
    int ButtonsWidth() const { return FButtonsWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    bool ReadOnlyStored() const { return FReadOnlyStored; }
    bool ListVisible() const { return FListVisible; }
    bool DroppedDown() const { return FDroppedDown; }
    // The drop-down of the current edit style (pick list, data list, calendar or
    // calculator), or none.
    QWidget* ActiveList() const { return FActiveList; }
    TPopupListboxGx* PickList() const { return FPickList; }
    TPopupDataGridGx* DataList() const { return FDataList; }
    TPopupMonthCalendarGx* PopupMonthCalendar() const { return FPopupMonthCalendar; }
    QWidget* PopupCalculator() const { return FPopupCalculator; }
    TDataSource* LookupSource() const { return FLookupSource.get(); }
    TMRUListboxGx* MRUListControl() const { return FMRUListControl; }
    bool MRUListVisible() const;
    bool LockCloseList() const { return FLockCloseList; }
    void SetLockCloseList(bool Value) { FLockCloseList = Value; }
    // The button controls: entry 0 the main button, then the column's extra buttons.
    int EditButtonCount() const { return int(FEditButtonControlList.size()); }
    TEditButtonControlGx* EditButtonControl(int Index) const { return FEditButtonControlList[size_t(Index)].Button; }

    static bool IsNumericField(TField* Field);
    // The edit style a column has.
    static TEditStyle ColumnEditStyle(TColumnGx* Column);
    // The first string equal to Text ignoring case (Options & 2: a prefix); -1 none.
    static int FindListItem(const QStringList& List, const QString& Text, int Options);

    void LoadCellContents() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void TextBoundsChanged() override;

    // Text rectangle inside the editor.
    virtual void GetEditTextRect(TRect& Rect);
    virtual void UpdateImageIndex();
    virtual void UserChangedText();
    virtual void DrawRequiredState(QPainter& Painter);
    // A typed character against the column's lists; true when it was consumed.
    virtual bool ProcessCharKey(QChar Key);
    // Pastes the clipboard text the way the column accepts it.
    void PasteFromClipboard();
    // Opens the drop-down of the edit style under the cell.
    virtual void DropDown();
    // Closes it; with Accept the choice goes into the cell.
    void CloseUp(bool Accept) override;
    virtual QWidget* CreatePopupCalculator();
    virtual TMRUListboxGx* CreateMRUListControl();
    TMRUListboxGx* GetMRUListControl();
    void ShowMRUList();
    void CloseMRUList(bool Accept);
    virtual void FilterMRUItem(TMRUListGx* Sender, const QString& Item, bool& Accept);
    virtual void MRUListClosed();
    // The first extra button of the column with this shortcut, or none.
    TEditButtonControlGx* FindEditButtonByShortCut(TShortCut ShortCut);

    void LayoutEditButtons();
    void ActivateEditButtons();
    TEditButtonControlGx* CreateEditButtonControl();
    void EditButtonControlClick(QObject* Sender);
    void EditButtonControlDown(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    void EditButtonPressed(bool BottomButton);
    void StepByButton(bool BottomButton);
    virtual void EditButtonControlMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
    virtual void EditButtonControlMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    struct TButtonPair {
        TEditButtonControlGx* Button = nullptr;
        QFrame* Line = nullptr;
    };
    bool ColumnIsLookupOrKeyPick(TColumnGx* Column);
    void ResolveTypedText(TColumnGx* Column);
    void RepaintGridSelection();
    void SetTextCaret(const QString& Text, int SelStart, int SelLength);
    // The drop-down chosen for the edit style (created on first use).
    void ChooseActiveList();
    TPopupListboxGx* GetPickList();
    TPopupMonthCalendarGx* GetPopupMonthCalendar();
    // The data list's part of the drop-down (the column's own list grid).
    QWidget* DataListWidget() const;
    bool DataListActive() const { return FDataList && FActiveList && FActiveList == DataListWidget(); }
    void TakeOverDataList(TColumnGx* Column);
    // The column's list outlives the editor: it keeps no handler of the editor.
    void ReleaseDataList();
    bool DropDownDataList(TColumnGx* Column);
    void ShowDataList(TColumnGx* Column);
    Variant CloseDataList(TColumnGx* Column);
    void AcceptDataList(TColumnGx* Column, const Variant& Value);
    bool DataListNotInList(TColumnGx* Column);
    QString DataListSelectedItem() const;
    TRect DataListDataRect() const;
    // The drop-down's part of a key press before the editor's own handling; true
    // when the key went no further.
    bool DropDownKeys(QKeyEvent* e);
    bool ListKeys(WORD Key, TShiftState Shift);
    bool IsDropDownStyle();
    void ListMouseUp(QWidget* List, TMouseButton Button, int X, int Y);
    void SelectPickListText(const QString& Text);
    void FollowDataList();
    void PopupEditButtonMenu(QMenu* Menu, TEditButtonControlGx* Button);
    bool ProcessDataListCharKey(TColumnGx* Column, QChar Key);
    bool FocusInDropDown(QWidget* Widget) const;
    TColor EditorColor() const;
    // After a message: an earlier entry list follows the text the user changed.
    void UserTextHandled(bool Backspace);
    // A word-wrapping editor lays its text out over several lines (DBGridGxEditWrap.cpp).
    void LayoutWrappedText(QTextLayout& Layout);
    int WrappedLineOf(const QTextLayout& Layout, int Pos) const;
    int WrappedPosAt(const QPoint& Point);
    bool CaretOnFirstWrappedLine();
    bool CaretOnLastWrappedLine();
    // Moves the caret to the line above or below at the same x (Select: extends the selection).
    void MoveWrappedLine(bool Down, bool Select);
    // Up or Down in a word-wrapping editor; true when the key stayed in the editor.
    bool WrappedUpDown(WORD Key, TShiftState Shift);
    void PaintWrappedText(QPainter& Painter);
    void InsertLineBreak();

    TCustomDBGridGx* FDBGrid;
    int FButtonHeight = 0;
    int FButtonsWidth = 0;
    std::vector<TButtonPair> FEditButtonControlList;
    TEditStyle FEditStyle = esSimple;
    bool FListVisible = false;
    bool FDroppedDown = false;
    bool FLockCloseList = false;
    bool FNoClickCloseUp = false;
    bool FReadOnlyStored = false;
    bool FUserTextChanged = false;
    bool FWordWrap = false;
    int FWrapScroll = 0;    // pixels of the wrapped text scrolled off the top
    int FWrapAnchor = -1;   // where a mouse selection in the wrapped text started
    int FImageIndex = -1;
    QWidget* FActiveList = nullptr;
    TPopupDataGridGx* FDataList = nullptr;
    TPopupListboxGx* FPickList = nullptr;
    TPopupMonthCalendarGx* FPopupMonthCalendar = nullptr;
    QWidget* FPopupCalculator = nullptr;
    TMRUListGx* FMRUList = nullptr;
    TMRUListboxGx* FMRUListControl = nullptr;
    std::unique_ptr<TDataSource> FLookupSource;
    bool FListColumnMothed = false;
    bool FDestroying = false;
    bool FCaretHidden = false;
    QString FClosedListText;   // the data list's choice, read before the list lets go of its source
    bool FReadOnlyBeforeCalculator = false;
};
