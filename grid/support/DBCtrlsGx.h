#pragma once
// TCustomDBEditGx: the grid library's data-aware edit and the base of its other
// editors (date-time, combo box, number). A single-line, optionally masked edit
// bound to one field through the field data link, or keeping its own value when
// it has neither data source nor field name. Around the text it carries a main
// edit button and extra buttons, a drop-down protocol for the descendants'
// popups, a drop-down of most-recently-used texts, an image at the text's side,
// a dotted red mark under an empty required field, a tooltip for cut-off text,
// and an in-place mode in which a host control (the grid) sees its keys and
// messages first.
//
// The control is a TCustomControl (keys, messages, timers, canvas); the text
// itself lives in an inner edit window (TDBEditWindowGx, a QLineEdit without
// frame) placed on the control's text rectangle. Every key the edit window
// receives runs through the control's key handling first (KeyDown, KeyPress and
// their events, the dialog keys, the in-place host); what is left of it then
// reaches the edit window.
#include "EditButtonsGx.h"
#include "FieldDataLinkGx.h"
#include "MRUListGx.h"
#include "PopupOwnerGx.h"
#include "platform/gui/ControlBase.h"
#include "platform/rtl/Exceptions.h"
#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class TImageList;
class TCustomDBEditGx;

// The masked edit's error for input that does not fill its mask.
DPX_EXCEPTION(EDBEditError, Exception)

// ---- events ------------------------------------------------------------------
using TUpdateDataEventGx = std::function<void(QObject* Sender, bool& Handled)>;
using TOnCheckDrawRequiredStateEventGx = std::function<void(QObject* Sender, bool& DrawState)>;
using TGetImageIndexEventGx = std::function<void(QObject* Sender, int& ImageIndex)>;
using TCloseUpEventGx = std::function<void(QObject* Sender, bool Accept)>;
using TAcceptEventGx = std::function<void(QObject* Sender, bool& Accept)>;

// Which of Alignment and EditMask were given explicitly.
enum TDBEditGxValue { evAlignmentGx = 0x1, evEditMaskGx = 0x2 };
using TDBEditGxValues = unsigned;

// Message that a drop-down editor posts to itself after a close-up (first
// parameter: the main button control's tag). The editor does nothing with it; an
// in-place host may drop it.
constexpr UINT CM_DROPDOWNCLOSEDGX = 0x0466;

// Implemented by a control that holds an editor in place (the grid for its
// filter row): it sees the editor's messages and keys first and decides whether
// the editor may change its text.
class IInplaceEditHolderGx {
public:
    virtual ~IInplaceEditHolderGx() = default;
    virtual bool InplaceEditCanModify(QWidget* Control) = 0;
    // Screen position and time (ms) of the host's last mouse-down; the host
    // forgets it afterwards. The result is not used.
    virtual bool GetMouseDownInfo(TPoint& Pos, int& Time) = 0;
    // A non-zero Message.Result ends the message's handling.
    virtual void InplaceEditWndProc(QWidget* Control, TMessage& Message) = 0;
    virtual void InplaceEditKeyDown(QWidget* Control, WORD& Key, TShiftState Shift) = 0;
    virtual void InplaceEditKeyPress(QWidget* Control, QChar& Key) = 0;
    virtual void InplaceEditKeyUp(QWidget* Control, WORD& Key, TShiftState Shift) = 0;
};

// ---- the image beside the text ---------------------------------------------------
class TEditImageGx {
public:
    explicit TEditImageGx(TCustomDBEditGx* EditControl) : FEditControl(EditControl) {}
    TEditImageGx(const TEditImageGx&) = delete;
    TEditImageGx& operator=(const TEditImageGx&) = delete;

    // Copies Images, ImageIndex, Visible and Width.
    void Assign(const TEditImageGx& Source);
    TCustomDBEditGx* EditControl() const { return FEditControl; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // 0: the image list's width.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    // The editor grows to the image height when the images are taller than its text.
    bool UseImageHeight() const { return FUseImageHeight; }
    void SetUseImageHeight(bool Value);
    // Visible with an image list.
    bool Showing() const { return FVisible && FImages != nullptr; }

private:
    void Changed();
    TCustomDBEditGx* FEditControl;
    TImageList* FImages = nullptr;
    int FImageIndex = -1;
    bool FVisible = false;
    int FWidth = 0;
    bool FUseImageHeight = true;
};

// ---- the edit window ---------------------------------------------------------------
// The QLineEdit that holds the text; it routes keys, focus, mouse and tooltips
// through its editor.
class TDBEditWindowGx : public QLineEdit {
public:
    explicit TDBEditWindowGx(TCustomDBEditGx* editor);
    // Hands a key press to the line edit's own handling (no editor rules).
    void DefaultKeyPress(QKeyEvent* e) { QLineEdit::keyPressEvent(e); }
    void DetachEditor() { FEditor = nullptr; }

protected:
    bool event(QEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    TCustomDBEditGx* FEditor;
};

// One shown button: its control and the one-pixel separator line after it.
struct TEditButtonControlLineRec {
    TEditButtonControlGx* EditButtonControl = nullptr;
    QWidget* ButtonLine = nullptr;
};

// ---- the editor ----------------------------------------------------------------------
// For the derived editors:
//  - value and text: GetVariantValue, InternalSetValue, InternalSetText,
//    InternalUpdatePostData, DataChanged, ApplyUserValue; Change is the edit
//    window's change notification (typing and code alike);
//  - keys: KeyDown / KeyPress (call the base for the in-place host, the events
//    and the base rules), WantSpecialKey, DropDownKey for keys an open popup
//    takes before anything else, ButtonOfShortCut to leave shortcuts alone;
//  - the drop-down: ButtonDropDown (TopButton is true for the upper half of an
//    up-down button and for a single button pressed with the mouse, false for a
//    shortcut), DropDown and CloseUp (call the base: the main button's held-down
//    look and the MRU list), FDroppedDown, CMCancelMode and FocusKilled to close
//    on outside clicks and focus loss, DoMouseWheel;
//  - validation: ValidateEdit (called on leaving, on Enter in a masked editor and
//    by UpdateData while focused), SetInternalEditMask for an editor's own mask;
//  - a descendant that overrides CreateEditButton calls RecreateEditButton() in
//    its constructor.
class TCustomDBEditGx : public TCustomControl, public IPopupOwnerGx {
public:
    explicit TCustomDBEditGx(QWidget* parent = nullptr);
    ~TCustomDBEditGx() override;

    // ---- data ----------------------------------------------------------------
    TFieldDataLinkGx* DataLink() const { return FDataLink.get(); }
    TDataSource* DataSource() const { return GetDataSource(); }
    QString DataField() const { return GetDataField(); }
    virtual void SetDataField(const QString& Value);
    virtual void SetDataSource(TDataSource* Value);
    TField* Field() const { return FDataLink->Field(); }
    // The text as a Variant (GetVariantValue); assigning writes it (ApplyUserValue).
    Variant Value() { Variant v; GetVariantValue(v); return v; }
    void SetValue(const Variant& Value) { ApplyUserValue(Value); }
    // The masked edit's text (without blanks of the mask; with its literals when the
    // mask keeps them). Assigning puts a bound dataset into edit state and writes
    // the text at once.
    QString Text() const;
    void SetText(const QString& Value);
    // The text as the edit window shows it (with the mask's blanks).
    QString EditText() const;
    void SetEditText(const QString& Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Modified() const;
    void SetModified(bool Value);
    int MaxLength() const;
    void SetMaxLength(int Value);
    TUpdateDataEventGx OnUpdateData;
    TNotifyEvent OnChange;

    // ---- look and behaviour -----------------------------------------------------
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    TDBEditGxValues AssignedValues() const { return FAssignedValues; }
    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Single border (true, the default) or none.
    bool BorderStyleSingle() const { return FBorderSingle; }
    void SetBorderStyleSingle(bool Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool HighlightRequired() const { return FHighlightRequired; }
    void SetHighlightRequired(bool Value);
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool Tooltips() const { return FTooltips; }
    void SetTooltips(bool Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // ---- the edit mask ------------------------------------------------------------
    // The class library's mask: characters, then optionally ";" and 0/1 (keep the
    // literals in Text) and ";" and the blank character.
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value);
    bool IsMasked() const { return !FEditMask.isEmpty(); }
    // The text of the mask with no characters entered (its literals and blanks).
    QString EmptyMaskText() const;
    // Raises EDBEditError when a modified masked text does not fill its mask.
    virtual void ValidateEdit();

    // ---- selection and caret --------------------------------------------------------
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    void SelectAll();
    // Collapses the selection to the end of the text.
    void Deselect();

    // ---- public operations ---------------------------------------------------------
    void Clear() { SetText(QString()); }
    // Shows the field's value again and selects all text.
    virtual void Reset();
    virtual void Undo();
    void CutToClipboard();
    void PasteFromClipboard();
    // The character whose key press is being handled (empty outside it).
    QString GetCompleteKeyPress() const { return FCompleteKeyPress; }
    bool UseRightToLeftAlignment() const;
    QString DisplayTextForPaintCopy() { return GetDisplayTextForPaintCopy(); }
    // True while the text is being painted into a copy of the control.
    bool PaintingCopy() const { return FPaintCopy; }
    void SetPaintingCopy(bool Value) { FPaintCopy = Value; }
    bool Designing() const { return false; }
    bool Loading() const { return false; }

    // ---- buttons, image and MRU list -----------------------------------------------------
    TEditButtonGx* EditButton() const { return FEditButton.get(); }
    void SetEditButton(const TEditButtonGx& Value) { FEditButton->Assign(Value); }
    TEditButtonsGx* EditButtons() const { return FEditButtons.get(); }
    void SetEditButtons(const TEditButtonsGx& Value);
    int EditButtonControlCount() const { return int(FEditButtonControlList.size()); }
    // Entry 0 is the main button, entry i the extra button i-1.
    const TEditButtonControlLineRec& EditButtonControlAt(int Index) const
    {
        return FEditButtonControlList[size_t(Index)];
    }
    TEditImageGx* EditImage() const { return FEditImage.get(); }
    TImageList* Images() const { return FEditImage->Images(); }
    // Sets the image list and makes the image visible.
    void SetImages(TImageList* Value);
    TMRUListGx* MRUList() const { return FMRUList.get(); }
    void SetMRUList(const TMRUListGx& Value) { FMRUList->Assign(Value); }
    TMRUListboxGx* MRUListControl() const { return FMRUListControl; }
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    int ImageWidth() const { return FImageWidth; }
    bool DroppedDown() const { return FDroppedDown; }
    bool BorderActive() const { return FBorderActive; }
    TButtonClickEventGx OnButtonClick;
    TButtonDownEventGx OnButtonDown;
    TOnCheckDrawRequiredStateEventGx OnCheckDrawRequiredState;
    TGetImageIndexEventGx OnGetImageIndex;
    void SetOnGetImageIndex(const TGetImageIndexEventGx& Value);

    // ---- in-place mode ------------------------------------------------------------------
    QWidget* InplaceEditHolder() const { return FInplaceEditHolder; }
    // Raises when the holder does not implement IInplaceEditHolderGx; nil ends in-place mode.
    void SetInplaceEditHolder(QWidget* Holder);
    bool InplaceMode() const { return FInplaceMode; }
    void Hide();
    void Move(const TRect& Rect);
    void UpdateLoc(const TRect& Rect);
    bool GetVisible() const;
    void SetVisible(bool Value);
    // Plain setters for a host (IInplaceEditGx).
    TFont* GetFont() { return Font(); }
    void SetFont(const TFont& Value) { Font()->Assign(Value); }
    void SetOnKeyPress(const TKeyPressEvent& Value) { OnKeyPress = Value; }
    void SetOnExit(const TNotifyEvent& Value) { OnExit = Value; }

    // The text rectangle: the client area less the buttons and the image.
    virtual void CalcEditTextRect(TRect& Rect);
    // The area inside the border (the client area of the edit).
    TRect InnerRect() const;
    int BorderWidth() const;
    QLineEdit* EditWindow() const { return FEditWindow; }

    // ---- IPopupOwnerGx ----------------------------------------------------------------------
    void CloseUp(bool Accept) override;

    // ---- the control base ------------------------------------------------------------------
    UINT GetDlgCode() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void FocusSet() override;
    void FocusKilled() override;
    void CancelMode() override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    TCursor CursorAt(int X, int Y) override;
    bool HintAt(const TPoint& p, QString& text, TRect& area) override;
    void WndProc(TMessage& Message) override;
    void Resize() override;
    // The class library's cancel-mode notification from another control: closes
    // the drop-downs unless Sender is the editor, its drop-down or a child of them.
    virtual void CMCancelMode(QWidget* Sender);
    // Shows the hint for a help event (the editor's or the edit window's, in
    // editor coordinates).
    void ShowHintFor(const QPoint& Pos, const QPoint& GlobalPos);

    // ---- hooks of the edit window (called by TDBEditWindowGx) -------------------------------
    // A key press: the in-place host's window procedure, an open drop-down
    // (DropDownKey), then the control's key handling; what is left of the key (or
    // the character KeyPress changed it to) goes to the line edit.
    void EditWindowKeyPress(QKeyEvent* e);
    void EditWindowKeyRelease(QKeyEvent* e);
    // Text committed by an input method: false drops it.
    bool EditWindowInputMethod(const QString& Commit);
    void EditWindowFocus(QFocusEvent* e);
    // A mouse event over the edit window: false keeps it from the edit window.
    virtual bool EditWindowMouseAllowed(QMouseEvent* e);
    void EditWindowMouse(QMouseEvent* e);
    void EditWindowPainted(QPainter* Painter);
    // In place: a left press that forms a double-click with the host's last
    // mouse-down (the host reports the event timestamp of that press).
    bool IsInplaceDoubleClick(QMouseEvent* e);
    // The text changed (user or code): the masked edit's change notification.
    virtual void Change();

protected:
    // ---- the virtual operations of the editor -----------------------------------------------
    virtual bool IsDataBound();
    virtual std::unique_ptr<TFieldDataLinkGx> CreateDataLink();
    virtual std::unique_ptr<TEditButtonGx> CreateEditButton();
    virtual TEditButtonControlGx* CreateEditButtonControl();
    virtual std::unique_ptr<TEditButtonsGx> CreateEditButtons();
    virtual std::unique_ptr<TEditImageGx> CreateEditImage();
    virtual TMRUListboxGx* CreateMRUListbox();
    virtual bool IsDataIndependent();
    virtual TAlignment GetDefaultAlignment();
    virtual QString GetDefaultEditMask();
    virtual int GetImageIndexByValue();
    virtual QString GetDataField() const;
    virtual TDataSource* GetDataSource() const;
    virtual QString GetDisplayTextForPaintCopy();
    virtual void GetVariantValue(Variant& Value);
    virtual bool IsValidChar(QChar Key);
    virtual void ActiveChanged();
    virtual void UpdateHeight();
    virtual void ButtonDropDown(bool TopButton);
    virtual void DataChanged();
    virtual void DropDown();
    virtual void EditButtonDown(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    virtual void EditButtonClick(QObject* Sender);
    virtual void EditButtonMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
    virtual void EditButtonMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void EditingChanged();
    virtual void FilterMRUList(const QString& Item, bool& Accept);
    virtual void InternalSetText(const QString& Text);
    virtual void InternalSetValue(const Variant& Value);
    virtual void InternalUpdatePostData();
    virtual void StoreMRUListSize();
    virtual void CheckDrawRequiredState(TCanvas* Canvas);
    virtual void ResetMaxLength();
    virtual void SetFocused(bool Value);
    virtual void ApplyUserValue(const Variant& Value);
    virtual void UpdateReadOnly();
    virtual void UpdateHeightStyle();
    virtual void UpdateShowHint();
    virtual void UpdateImageIndex();
    virtual void UpdateMRUListOnChange();
public:
    virtual void UpdateData();

protected:
    // The factories are virtual, so a descendant that overrides CreateEditButton
    // (or CreateEditButtons) calls this in its constructor to replace the part the
    // base constructor made.
    void RecreateEditButton();
    void RecreateEditButtons();
    // A key the open drop-down takes instead of the editor (key-down of Key with
    // Shift). The base passes Page Up/Down, Up/Down without Alt and Ctrl+Home/End
    // to an open MRU list, Enter and Escape close it. True: the key went there.
    virtual bool DropDownKey(WORD Key, TShiftState Shift);
    // The index of the button (0 the main one, i the extra button i-1) whose
    // ShortCut is Key with Shift; -1 when none.
    int ButtonOfShortCut(WORD Key, TShiftState Shift) const;
    // Applies a mask of the editor's own (the date-time editor's) without
    // marking EditMask as given explicitly.
    void SetInternalEditMask(const QString& Value);
    // Whether the link may modify now (the masked edit's query): the link's Edit.
    virtual bool EditCanModify();
    // The edit window's read-only flag.
    void SetEditWindowReadOnly(bool Value);
    bool EditWindowReadOnly() const;
    // Puts a text into the edit window without change handling by the editor's
    // descendants caring (the change notification still fires).
    void SetEditWindowText(const QString& Value);
    // Re-evaluates the border activity (designing, focus, mouse, AlwaysShowBorder).
    void UpdateBorderActive();
    // The button layout and the button states.
    void LayoutEditButtons();
    void UpdateEditButtonsState();
    // Edit window geometry, alignment and look after a setting changed.
    void RecreateWnd();
    void PaintEditor(TCanvas* Canvas);
    void Paint() override;
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Sends a key press to another window (an open drop-down).
    static void SendKeyToWindow(QWidget* Window, WORD Key, TShiftState Shift);
    // The MRU drop-down.
    void MRUListDropDown();
    void MRUListCloseUp(bool Accept);
    // A mouse release in the MRU list box closes it, accepting inside its client area.
    void MRUListMouseUp(TMouseButton Button, int X, int Y);
    bool MRUListDroppedDown() const { return FMRUList->DroppedDown(); }
    // The MRU list box as a widget (nil before its first use) and its selected row.
    QWidget* MRUListWidget() const;
    int MRUListItemIndex() const;

    bool FDataPosting = false;
    bool FFocused = false;
    bool FUserTextChanged = false;
    QString FCompleteKeyPress;
    TDBEditGxValues FAssignedValues = 0;
    bool FDroppedDown = false;
    bool FNoClickCloseUp = false;
    int FButtonWidth = 0;
    int FButtonHeight = 0;
    int FImageWidth = 0;
    bool FBorderActive = false;
    bool FMouseAboveControl = false;
    bool FInplaceMode = false;
    QPointer<QWidget> FInplaceEditHolder;
    IInplaceEditHolderGx* FIntfInplaceEditHolder = nullptr;
    TDBEditWindowGx* FEditWindow = nullptr;
    std::vector<TEditButtonControlLineRec> FEditButtonControlList;
    TMRUListboxGx* FMRUListControl = nullptr;

private:
    friend class TEditImageGx;
    friend class TDBEditWindowGx;
    void DataLinkDataChange();
    void ApplyWindowAlignment();
    void ApplyEditMaskToWindow();
    void UpdateTextRect();
    void UpdateImageWidth();
    void UpdateButtonControl(int Index, TEditButtonGx* Button, int AvailHeight);
    TEditButtonGx* ButtonOfControl(QObject* Sender, bool* IsMain);
    void PopupButtonMenu(TEditButtonGx* Button, TEditButtonControlGx* Control);
    bool PressShortCut(WORD Key, TShiftState Shift);
    bool TextFits();
    void ApplyCharCase();
    void SyncWindowPalette();
    void ApplyPasswordChar();
    void WriteFromCode(const std::function<void()>& Show);
    void CancelChildCapture();
    void InplaceMove(const TRect& Rect, bool Repaint);

    std::unique_ptr<TFieldDataLinkGx> FDataLink;
    std::unique_ptr<TEditButtonGx> FEditButton;
    std::unique_ptr<TEditButtonsGx> FEditButtons;
    std::unique_ptr<TEditImageGx> FEditImage;
    std::unique_ptr<TMRUListGx> FMRUList;
    TAlignment FAlignment = taLeftJustify;
    bool FAlwaysShowBorder = false;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    bool FBorderSingle = true;
    bool FCtl3D = true;
    TEditCharCase FCharCase = ecNormal;
    bool FFlat = false;
    bool FHighlightRequired = false;
    QChar FPasswordChar;
    bool FReadOnly = false;
    bool FShowHint = false;
    bool FTooltips = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    bool FWordWrap = false;
    QString FEditMask;
    bool FPaintCopy = false;
    int FMaxLength = 0;
    TColor FWindowColor = clNone;
};

// The published data-aware edit.
class TDBEditGx : public TCustomDBEditGx {
public:
    explicit TDBEditGx(QWidget* parent = nullptr) : TCustomDBEditGx(parent) {}
};

// The class library's mask translated for the edit window: mask characters,
// literals, case conversion and the blank character. Exposed for tests.
QString EditMaskToInputMask(const QString& EditMask);
// Whether the mask keeps its literals in Text (its second section; default yes).
bool EditMaskSavesLiterals(const QString& EditMask);
// The blank character of a mask (its third section; default '_').
QChar EditMaskBlank(const QString& EditMask);
