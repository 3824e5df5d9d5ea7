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

#include <QPointer>
#include <vector>

class QFrame;
class TColumnGx;
class TField;
class TCustomDBGridGx;
class TEditButtonControlGx;

enum TEditStyle {
    esSimple, esEllipsis, esPickList, esDataList, esDateCalendar, esUpDown, esDropDown, esAltUpDown, esAltDropDown,
    esAltCalendar
};

class TDBGridInplaceEdit : public TInplaceEdit {
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
    // The drop-downs of the edit styles come with the drop-down controls; until
    // then there is nothing to open and closing does nothing.
    virtual void DropDown() {}
    virtual void CloseUp(bool Accept) {}

    void LayoutEditButtons();
    void ActivateEditButtons();
    TEditButtonControlGx* CreateEditButtonControl();
    void EditButtonControlClick(QObject* Sender);
    void EditButtonControlDown(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    void EditButtonPressed(bool BottomButton);
    void StepByButton(bool BottomButton);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    struct TButtonPair {
        TEditButtonControlGx* Button = nullptr;
        QFrame* Line = nullptr;
    };
    bool ColumnIsLookupOrKeyPick(TColumnGx* Column);
    void ResolveTypedText(TColumnGx* Column);
    void RepaintGridSelection();
    void SetTextCaret(const QString& Text, int SelStart, int SelLength);

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
    int FImageIndex = -1;
};
