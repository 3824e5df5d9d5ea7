// The in-place editor of the base grid and the grid operations that create,
// load, show, move, hide and write it back.
#include "GridsGx.h"

#include "grid/support/DBCtrlsGx.h"
#include "platform/gui/Application.h"

#include <QApplication>
#include <QKeyEvent>

// ---- the editor ---------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TCustomGridGx* Owner) : QLineEdit(Owner), FGrid(Owner)
{
    setFrame(false);
    setFocusPolicy(Qt::ClickFocus);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (FGrid) Application->Guard([&] { FGrid->UpdateText(); });
    });
}

TInplaceEdit::~TInplaceEdit() = default;

void TInplaceEdit::SetMaxLength(int Value)
{
    FMaxLength = Value;
    setMaxLength(Value > 0 ? Value : 32767);
}

void TInplaceEdit::SetEditMask(const QString& Value)
{
    if (Value == FEditMask) return;
    FEditMask = Value;
    setInputMask(Value.isEmpty() ? QString() : EditMaskToInputMask(Value));
}

bool TInplaceEdit::EditCanModify()
{
    return FGrid && FGrid->CanEditModify();
}

void TInplaceEdit::Deselect()
{
    deselect();
    setCursorPosition(int(text().size()));
}

void TInplaceEdit::Invalidate()
{
    update();
    if (FGrid) FGrid->InvalidateRect(TRect(geometry()));
}

void TInplaceEdit::Hide()
{
    if (!isVisible()) return;
    Invalidate();
    const bool hadFocus = hasFocus();
    hide();
    if (hadFocus && FGrid) FGrid->setFocus();
}

bool TInplaceEdit::PosEqual(const TRect& Rect) const
{
    return TRect(geometry()) == Rect;
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw)
{
    if (Loc.IsEmpty()) {
        Hide();
        return;
    }
    Redraw = Redraw || !isVisible();
    Invalidate();
    setGeometry(Loc.toQRect());
    show();
    TextBoundsChanged();
    if (Redraw) Invalidate();
    if (FGrid && FGrid->hasFocus()) setFocus();
}

void TInplaceEdit::SetFocus()
{
    if (isVisible()) setFocus();
}

void TInplaceEdit::TextBoundsChanged()
{
    // The line edit keeps its caret in view by itself.
    setTextMargins(2, 2, 2, 0);
}

void TInplaceEdit::LoadCellContents()
{
    setText(QString());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    setText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
}

bool TInplaceEdit::CaretAtLeftEnd() const
{
    const int len = int(text().size());
    return cursorPosition() == 0 && (!hasSelectedText() || (selectionStart() == 0 && (selectionEnd() == 0 || selectionEnd() == len)));
}

bool TInplaceEdit::CaretAtRightEnd() const
{
    const int len = int(text().size());
    return cursorPosition() == len && (!hasSelectedText() || (selectionStart() == 0 && selectionEnd() == len));
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FGrid) return;
    const bool forward = FGrid->HasOption(goAlwaysShowEditor);
    auto sendToGrid = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    auto gridEvent = [&] {
        if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    };
    const TShiftState modifiers = Shift * TShiftState{ssShift, ssAlt, ssCtrl};
    switch (Key) {
    case VK_TAB:
        if (!Shift.contains(ssAlt)) sendToGrid();
        break;
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        sendToGrid();
        break;
    case VK_HOME:
    case VK_LEFT:
        if (forward && (Shift.contains(ssCtrl) || CaretAtLeftEnd())) sendToGrid();
        break;
    case VK_END:
    case VK_RIGHT:
        if (forward && (Shift.contains(ssCtrl) || CaretAtRightEnd())) sendToGrid();
        break;
    case VK_INSERT:
        if (modifiers.empty())
            sendToGrid();
        else if (modifiers == TShiftState(ssShift) && !EditCanModify())
            Key = 0;
        break;
    case VK_DELETE:
        if (Shift.contains(ssCtrl))
            sendToGrid();
        else if (!EditCanModify())
            Key = 0;
        break;
    case VK_F2:
        gridEvent();
        if (Key == VK_F2) {
            Deselect();
            Key = 0;
            return;
        }
        break;
    default:
        break;
    }
    if (Key != 0) gridEvent();
}

void TInplaceEdit::KeyPress(QChar& Key)
{
    if (!FGrid) return;
    FGrid->DoGridKeyPress(Key);
    EditKeyPress(Key);
}

void TInplaceEdit::EditKeyPress(QChar& Key)
{
    const ushort k = Key.unicode();
    if (k == 0) return;
    if (k >= 32 && !FGrid->CanEditAcceptKey(Key)) {
        Key = QChar(0);
        MessageBeep(0);
        return;
    }
    if ((k == 8 || k == 22 || k == 24 || k >= 32) && !EditCanModify()) {
        Key = QChar(0);
    } else if (k == 9 || k == 27) {
        Key = QChar(0);
    } else if (k == 13) {
        if (hasSelectedText() && selectionStart() == 0 && selectedText().size() == text().size())
            Deselect();
        else
            selectAll();
        Key = QChar(0);
    }
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FGrid) FGrid->KeyUp(Key, Shift);
}

void TInplaceEdit::handleKey(QKeyEvent* e)
{
    WORD key = VirtualKeyFromQt(e->key());
    const TShiftState shift = ShiftStateFromQt(e->modifiers());
    QChar original = KeyPressCharFromQt(e->key(), e->modifiers(), e->text());
    // Ctrl+Enter types a line feed, as plain Enter types a carriage return.
    if (original.unicode() == 13 && (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier))
        original = QChar(10);
    QChar ch = original;
    QPointer<TInplaceEdit> self(this);
    Application->Guard([&] {
        if (key != 0) KeyDown(key, shift);
        if (!self) return;
        // A key taken by the grid or refused delivers no character.
        if (key == 0 && VirtualKeyFromQt(e->key()) != 0) ch = QChar(0);
        if (ch != QChar(0)) KeyPress(ch);
    });
    if (!self) return;
    const bool forward = original != QChar(0) ? ch != QChar(0) : key != 0;
    if (!forward) return;
    if (ch != original && ch.unicode() >= 32) {
        QKeyEvent changed(e->type(), e->key(), e->modifiers(), QString(ch), e->isAutoRepeat());
        QLineEdit::keyPressEvent(&changed);
    } else {
        QLineEdit::keyPressEvent(e);
    }
}

bool TInplaceEdit::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        handleKey(static_cast<QKeyEvent*>(e));
        e->accept();
        return true;
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        WORD key = VirtualKeyFromQt(k->key());
        const TShiftState shift = ShiftStateFromQt(k->modifiers());
        if (!k->isAutoRepeat()) Application->Guard([&] { KeyUp(key, shift); });
        return QLineEdit::event(e);
    }
    case QEvent::ShortcutOverride:
        e->accept();
        return true;
    case QEvent::InputMethod:
        if (!EditCanModify()) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    default:
        return QLineEdit::event(e);
    }
}

void TInplaceEdit::mousePressEvent(QMouseEvent* e)
{
    // A press that follows the grid's press within the double-click time is a
    // double click, though the editor appeared in between.
    if (e->button() == Qt::LeftButton && FGrid && FClickTime != 0 && GridMessageTime() - FClickTime < GetDoubleClickTime()) {
        FClickTime = 0;
        mouseDoubleClickEvent(e);
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    if (FGrid) Application->Guard([&] { FGrid->DblClick(); });
}

void TInplaceEdit::wheelEvent(QWheelEvent* e)
{
    if (FGrid)
        QCoreApplication::sendEvent(FGrid, e);
    else
        QLineEdit::wheelEvent(e);
}

void TInplaceEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // Cut, paste and clear from the menu would bypass the grid's modify check.
    e->accept();
}

void TInplaceEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
}

void TInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    if (FGrid && QApplication::focusWidget() == FGrid) FGrid->FFocusFromEditor = true;
    // The edit keeps its selection while it has no focus.
    const int start = selectionStart(), length = int(selectedText().size()), caret = cursorPosition();
    QLineEdit::focusOutEvent(e);
    if (start >= 0 && length > 0) {
        if (caret == start)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    }
}

// ---- the grid's side ----------------------------------------------------------------------

TInplaceEdit* TCustomGridGx::CreateEditor()
{
    return new TInplaceEdit(this);
}

bool TCustomGridGx::EnsureInplaceEdit()
{
    if (FInplaceEdit) return false;
    FInplaceEdit = CreateEditor();
    FInplaceEdit->SetGrid(this);
    if (FInplaceEdit->parentWidget() != this) FInplaceEdit->setParent(this);
    FInplaceEdit->setFont(font());
    return true;
}

bool TCustomGridGx::CanEditShow()
{
    return HasOption(goEditing) && !HasOption(goRowSelect) && FEditorMode && testAttribute(Qt::WA_WState_Created) &&
           (HasOption(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGridGx::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGridGx::HideEditor()
{
    FEditorMode = false;
    CloseInplaceEditor();
}

void TCustomGridGx::SetEditorMode(bool Value)
{
    if (Value) {
        ShowEditor();
        if (FInplaceEdit) FInplaceEdit->Deselect();
    } else {
        HideEditor();
    }
}

void TCustomGridGx::ShowEditorChar(QChar Ch)
{
    ShowEditor();
    if (!FInplaceEdit || !FInplaceEdit->isVisible()) return;
    int key = Qt::Key_unknown;
    if (Ch.unicode() == 8)
        key = Qt::Key_Backspace;
    else if (Ch.toUpper() >= QChar('A') && Ch.toUpper() <= QChar('Z'))
        key = Qt::Key_A + (Ch.toUpper().unicode() - 'A');
    else if (Ch >= QChar('0') && Ch <= QChar('9'))
        key = Qt::Key_0 + (Ch.unicode() - '0');
    else if (Ch == QChar(' '))
        key = Qt::Key_Space;
    QCoreApplication::postEvent(FInplaceEdit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(Ch)));
}

void TCustomGridGx::UpdateEdit()
{
    if (!CanEditShow()) return;
    if (EnsureInplaceEdit()) {
        LoadInplaceEditor();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        CloseInplaceEditor();
        LoadInplaceEditor();
    }
    if (CanEditShow()) {
        TRect r;
        CalcEditRect(FCurrent.X, FCurrent.Y, r);
        FInplaceEdit->Move(r);
    }
}

void TCustomGridGx::LoadInplaceEditor()
{
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    FInplaceEdit->LoadCellContents();
    FCanEditModify = FInplaceEdit->MaxLength() != -1;
    FInplaceEdit->SelectAll();
}

void TCustomGridGx::CloseInplaceEditor()
{
    if (!FInplaceEdit) return;
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = -1;
        FInplaceRow = -1;
        FInplaceEdit->Hide();
        throw;
    }
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TCustomGridGx::InvalidateEditor()
{
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

void TCustomGridGx::UpdateText()
{
    if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1) SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->text());
}

void TCustomGridGx::FontChanged()
{
    if (FInplaceEdit) FInplaceEdit->setFont(font());
}

void TCustomGridGx::changeEvent(QEvent* e)
{
    TCustomControl::changeEvent(e);
    if (e->type() == QEvent::FontChange) FontChanged();
}
