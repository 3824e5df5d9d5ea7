// The data-aware edit: its edit window, the edit mask, the exchange of text and
// value with the field, the read-only rules, keys and focus.
#include "DBCtrlsGx.h"
#include "FormatSettings.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>

// ---------------------------------------------------------------------------
// The edit mask

namespace {

// One position of a mask: a literal character or a place for input.
struct TMaskPos {
    bool Literal = false;
    QChar Ch;            // the literal, or the mask character
};

struct TParsedMask {
    QString Body;        // the first section, escapes kept
    bool SaveLiterals = true;
    QChar Blank = QLatin1Char('_');
};

TParsedMask ParseMask(const QString& mask)
{
    TParsedMask r;
    QStringList sections;
    QString current;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('\\') && i + 1 < mask.size()) {
            current += c;
            current += mask.at(++i);
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    // Only the last two sections are settings; further separators belong to the body.
    if (sections.size() > 3) {
        const QString blank = sections.takeLast();
        const QString save = sections.takeLast();
        sections = QStringList{sections.join(QLatin1Char(';')), save, blank};
    }
    r.Body = sections.value(0);
    if (sections.size() > 1 && !sections.at(1).isEmpty())
        r.SaveLiterals = sections.at(1).at(0) != QLatin1Char('0');
    if (sections.size() > 2 && !sections.at(2).isEmpty())
        r.Blank = sections.at(2).at(0);
    return r;
}

bool IsMaskChar(QChar c)
{
    switch (c.unicode()) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        return true;
    default:
        return false;
    }
}

std::vector<TMaskPos> MaskPositions(const QString& body)
{
    std::vector<TMaskPos> r;
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('\\') && i + 1 < body.size()) {
            r.push_back({true, body.at(++i)});
        } else if (c == QLatin1Char('!') || c == QLatin1Char('>') || c == QLatin1Char('<')) {
            continue;
        } else if (IsMaskChar(c)) {
            r.push_back({false, c});
        } else if (c == QLatin1Char('/')) {
            r.push_back({true, FormatSettings::DateSeparator});
        } else if (c == QLatin1Char(':')) {
            r.push_back({true, FormatSettings::TimeSeparator});
        } else if (c == QLatin1Char('_')) {
            r.push_back({true, QLatin1Char(' ')});
        } else {
            r.push_back({true, c});
        }
    }
    return r;
}

QChar QtMaskChar(QChar c)
{
    switch (c.unicode()) {
    case 'L': return QLatin1Char('A');
    case 'l': return QLatin1Char('a');
    case 'A': return QLatin1Char('N');
    case 'a': return QLatin1Char('n');
    case 'C': return QLatin1Char('X');
    case 'c': return QLatin1Char('x');
    case '0': return QLatin1Char('9');
    case '9': return QLatin1Char('0');
    default: return QLatin1Char('#');
    }
}

bool IsQtMaskSpecial(QChar c)
{
    static const QString special = QStringLiteral("AaNnXx90DdHhBb#><![]{}\\;");
    return special.contains(c);
}

} // namespace

QString EditMaskToInputMask(const QString& EditMask)
{
    if (EditMask.isEmpty())
        return QString();
    const TParsedMask parsed = ParseMask(EditMask);
    QString out;
    const QString& body = parsed.Body;
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('\\') && i + 1 < body.size()) {
            const QChar lit = body.at(++i);
            if (IsQtMaskSpecial(lit))
                out += QLatin1Char('\\');
            out += lit;
        } else if (c == QLatin1Char('!')) {
            continue;   // blanks trimmed at the start: no counterpart, the text is kept as typed
        } else if (c == QLatin1Char('<') && i + 1 < body.size() && body.at(i + 1) == QLatin1Char('>')) {
            out += QLatin1Char('!');
            ++i;
        } else if (c == QLatin1Char('>') || c == QLatin1Char('<')) {
            out += c;
        } else if (IsMaskChar(c)) {
            out += QtMaskChar(c);
        } else {
            QChar lit = c;
            if (c == QLatin1Char('/'))
                lit = FormatSettings::DateSeparator;
            else if (c == QLatin1Char(':'))
                lit = FormatSettings::TimeSeparator;
            else if (c == QLatin1Char('_'))
                lit = QLatin1Char(' ');
            if (IsQtMaskSpecial(lit))
                out += QLatin1Char('\\');
            out += lit;
        }
    }
    if (out.isEmpty())
        return QString();
    return out + QLatin1Char(';') + parsed.Blank;
}

bool EditMaskSavesLiterals(const QString& EditMask) { return ParseMask(EditMask).SaveLiterals; }

QChar EditMaskBlank(const QString& EditMask) { return ParseMask(EditMask).Blank; }

// ---------------------------------------------------------------------------
// The field's character check

namespace {

bool FieldAcceptsChar(const TField* field, QChar key)
{
    const ushort c = key.unicode();
    const bool digit = c >= '0' && c <= '9';
    switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        return digit || c == '+' || c == '-';
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return digit || c == '+' || c == '-' || c == 'E' || c == 'e' || key == FormatSettings::DecimalSeparator;
    default:
        return true;
    }
}

bool IsStringField(const TField* field)
{
    return field && (field->DataType() == ftString || field->DataType() == ftWideString);
}

bool IsMemoField(const TField* field)
{
    return field && (field->DataType() == ftMemo || field->DataType() == ftWideMemo);
}

} // namespace

// ---------------------------------------------------------------------------
// TDBEditWindowGx

TDBEditWindowGx::TDBEditWindowGx(TCustomDBEditGx* editor) : QLineEdit(editor), FEditor(editor)
{
    setFrame(false);
    setAcceptDrops(false);
    setAutoFillBackground(false);
}

bool TDBEditWindowGx::event(QEvent* e)
{
    if (!FEditor)
        return QLineEdit::event(e);
    switch (e->type()) {
    case QEvent::KeyPress:
        FEditor->EditWindowKeyPress(static_cast<QKeyEvent*>(e));
        e->accept();
        return true;
    case QEvent::KeyRelease:
        FEditor->EditWindowKeyRelease(static_cast<QKeyEvent*>(e));
        QLineEdit::keyReleaseEvent(static_cast<QKeyEvent*>(e));
        e->accept();
        return true;
    case QEvent::ShortcutOverride: {
        // Keys the editor claims are not taken by the window's shortcuts.
        QCoreApplication::sendEvent(FEditor, e);
        if (e->isAccepted())
            return true;
        return QLineEdit::event(e);
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        QPointer<TDBEditWindowGx> self(this);
        const bool r = QLineEdit::event(e);
        if (self)
            FEditor->EditWindowFocus(static_cast<QFocusEvent*>(e));
        return r;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        QPointer<TDBEditWindowGx> self(this);
        bool allowed = true;
        bool doubleClick = false;
        Application->Guard([&] {
            allowed = FEditor->EditWindowMouseAllowed(m);
            // In place, a press that completes the host's press is a double click.
            doubleClick = allowed && FEditor->IsInplaceDoubleClick(m);
        });
        if (doubleClick) {
            QMouseEvent dbl(QEvent::MouseButtonDblClick, m->position(), m->scenePosition(), m->globalPosition(),
                            m->button(), m->buttons(), m->modifiers());
            QLineEdit::event(&dbl);
            if (self)
                FEditor->EditWindowMouse(&dbl);
            e->accept();
            return true;
        }
        if (allowed)
            QLineEdit::event(e);
        if (self)
            FEditor->EditWindowMouse(m);
        e->accept();
        return true;
    }
    case QEvent::ToolTip: {
        auto* h = static_cast<QHelpEvent*>(e);
        FEditor->ShowHintFor(mapTo(FEditor, h->pos()), h->globalPos());
        return true;
    }
    default:
        return QLineEdit::event(e);
    }
}

void TDBEditWindowGx::inputMethodEvent(QInputMethodEvent* e)
{
    if (!FEditor) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    if (!e->commitString().isEmpty() && !FEditor->EditWindowInputMethod(e->commitString())) {
        e->accept();
        return;
    }
    const bool before = FEditor->FUserTextChanged;
    FEditor->FUserTextChanged = false;
    QLineEdit::inputMethodEvent(e);
    if (FEditor->FUserTextChanged)
        Application->Guard([&] { FEditor->UpdateMRUListOnChange(); });
    FEditor->FUserTextChanged = before;
}

void TDBEditWindowGx::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (!FEditor)
        return;
    QPainter p(this);
    FEditor->EditWindowPainted(&p);
}

void TDBEditWindowGx::contextMenuEvent(QContextMenuEvent* e)
{
    if (!FEditor) {
        QLineEdit::contextMenuEvent(e);
        return;
    }
    // Cut, paste, delete, undo and redo put the data into edit state first.
    QMenu* menu = createStandardContextMenu();
    const QStringList editing{QStringLiteral("edit-cut"), QStringLiteral("edit-paste"),
                              QStringLiteral("edit-delete"), QStringLiteral("edit-undo"),
                              QStringLiteral("edit-redo")};
    for (QAction* a : menu->actions()) {
        if (!editing.contains(a->objectName()))
            continue;
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        const QString name = a->objectName();
        QObject::connect(a, &QAction::triggered, this, [this, name] {
            Application->Guard([&] {
                if (!FEditor->EditCanModify())
                    return;
                if (name == QLatin1String("edit-cut"))
                    cut();
                else if (name == QLatin1String("edit-paste"))
                    paste();
                else if (name == QLatin1String("edit-delete"))
                    del();
                else if (name == QLatin1String("edit-undo"))
                    undo();
                else
                    redo();
            });
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

// ---------------------------------------------------------------------------
// Construction

TCustomDBEditGx::TCustomDBEditGx(QWidget* parent) : TCustomControl(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    FEditWindow = new TDBEditWindowGx(this);
    setFocusProxy(FEditWindow);
    QObject::connect(FEditWindow, &QLineEdit::textChanged, this,
                     [this] { Application->Guard([&] { Change(); }); });

    FDataLink = CreateDataLink();
    FDataLink->SetControl(this);
    FDataLink->OnDataChange = [this](TFieldDataLinkGx*) { DataLinkDataChange(); };
    FDataLink->OnEditingChange = [this](TFieldDataLinkGx*) { EditingChanged(); };
    FDataLink->OnUpdateData = [this](TFieldDataLinkGx*) { UpdateData(); };
    FDataLink->OnActiveChange = [this](TFieldDataLinkGx*) { ActiveChanged(); };
    RecreateEditButton();
    RecreateEditButtons();
    FEditImage = CreateEditImage();
    FMRUList = std::make_unique<TMRUListGx>(this);
    FMRUList->OnSetDropDown = [this](TMRUListGx*) { MRUListDropDown(); };
    FMRUList->OnSetCloseUp = [this](TMRUListGx*, bool accept) { MRUListCloseUp(accept); };
    UpdateReadOnly();
    UpdateImageIndex();
    resize(121, height());
    RecreateWnd();
}

TCustomDBEditGx::~TCustomDBEditGx()
{
    // The link first: its notifications must not reach a half-destroyed editor.
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnEditingChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink.reset();
    QObject::disconnect(FEditWindow, nullptr, this, nullptr);
    // The window outlives this part of the editor by a little: it must not call back.
    FEditWindow->DetachEditor();
    if (FEditButtons)
        FEditButtons->OnChanged = nullptr;
    if (FEditButton)
        FEditButton->OnChanged = nullptr;
}

void TCustomDBEditGx::RecreateEditButton()
{
    FEditButton = CreateEditButton();
    FEditButton->OnChanged = [this](TEditButtonGx*) { RecreateWnd(); };
    RecreateWnd();
}

void TCustomDBEditGx::RecreateEditButtons()
{
    FEditButtons = CreateEditButtons();
    FEditButtons->OnChanged = [this](TEditButtonGx*) { RecreateWnd(); };
    RecreateWnd();
}

std::unique_ptr<TFieldDataLinkGx> TCustomDBEditGx::CreateDataLink() { return std::make_unique<TFieldDataLinkGx>(); }

std::unique_ptr<TEditButtonGx> TCustomDBEditGx::CreateEditButton() { return std::make_unique<TEditButtonGx>(this); }

std::unique_ptr<TEditButtonsGx> TCustomDBEditGx::CreateEditButtons()
{
    return std::make_unique<TEditButtonsGx>(this, TEditButtonsGx::ItemClass<TVisibleEditButtonGx>());
}

std::unique_ptr<TEditImageGx> TCustomDBEditGx::CreateEditImage() { return std::make_unique<TEditImageGx>(this); }

void TCustomDBEditGx::SetEditButtons(const TEditButtonsGx& Value)
{
    FEditButtons->Clear();
    for (int i = 0; i < Value.Count(); ++i)
        FEditButtons->Add()->Assign(*Value.ButtonAt(i));
}

// ---------------------------------------------------------------------------
// Data binding

bool TCustomDBEditGx::IsDataBound() { return isEnabled() && FDataLink && FDataLink->Active(); }

bool TCustomDBEditGx::IsDataIndependent() { return FDataLink->DataIndepended(); }

QString TCustomDBEditGx::GetDataField() const { return FDataLink->FieldName(); }

TDataSource* TCustomDBEditGx::GetDataSource() const { return FDataLink->DataSource(); }

void TCustomDBEditGx::SetDataSource(TDataSource* Value)
{
    if (!(Loading() && FDataLink->DataSourceFixed()))
        FDataLink->SetDataSource(Value);
    DataLinkDataChange();
    Invalidate();
}

void TCustomDBEditGx::SetDataField(const QString& Value)
{
    if (!Designing())
        ResetMaxLength();
    FDataLink->SetFieldName(Value);
    UpdateEditButtonsState();
    Invalidate();
}

void TCustomDBEditGx::DataLinkDataChange()
{
    DataChanged();
    UpdateEditButtonsState();
}

TAlignment TCustomDBEditGx::GetDefaultAlignment()
{
    if (TField* f = Field())
        return f->Alignment();
    return taLeftJustify;
}

QString TCustomDBEditGx::GetDefaultEditMask()
{
    if (TField* f = Field())
        return f->EditMask();
    return QString();
}

int TCustomDBEditGx::GetImageIndexByValue() { return -1; }

void TCustomDBEditGx::GetVariantValue(Variant& Value) { Value = Variant(Text()); }

bool TCustomDBEditGx::IsValidChar(QChar Key)
{
    if (TField* f = Field())
        return FieldAcceptsChar(f, Key);
    return true;
}

void TCustomDBEditGx::ActiveChanged()
{
    ResetMaxLength();
    UpdateEditButtonsState();
}

void TCustomDBEditGx::ResetMaxLength()
{
    if (FMaxLength <= 0 || !DataSource() || !DataSource()->DataSet())
        return;
    TField* f = DataSource()->DataSet()->FindField(DataField());
    if (IsStringField(f) && f->Size() == FMaxLength)
        SetMaxLength(0);
}

void TCustomDBEditGx::EditingChanged() { UpdateReadOnly(); }

void TCustomDBEditGx::DataChanged()
{
    if (TField* f = Field()) {
        if (f->Alignment() != FAlignment)
            ApplyWindowAlignment();
        if (!(FAssignedValues & evEditMaskGx) && FEditMask != f->EditMask()) {
            FEditMask = f->EditMask();
            ApplyEditMaskToWindow();
        }
        if (!Designing() && IsStringField(f) && FMaxLength == 0)
            SetMaxLength(f->Size());
        if (FFocused && FDataLink->CanModify())
            InternalSetText(IsMemoField(f) ? f->AsString() : f->Text());
        else
            InternalSetText(IsMemoField(f) ? f->AsString() : f->DisplayText());
    } else {
        if (!(FAssignedValues & evEditMaskGx) && !FEditMask.isEmpty()) {
            FEditMask.clear();
            ApplyEditMaskToWindow();
        }
        if (FDataLink->DataIndepended())
            InternalSetText(VarToStr(FDataLink->DataIndependentValue));
        else
            InternalSetText(QString());
    }
    UpdateReadOnly();
    SetModified(false);
}

void TCustomDBEditGx::InternalSetText(const QString& Text) { SetEditWindowText(Text); }

void TCustomDBEditGx::InternalSetValue(const Variant& Value)
{
    QString text;
    if (!Value.IsArray()) {
        try {
            text = VarToStr(Value);
        } catch (const Exception&) {
            text.clear();
        }
    }
    InternalSetText(text);
}

void TCustomDBEditGx::InternalUpdatePostData()
{
    if (FDataLink->DataIndepended())
        FDataLink->SetText(EditText());
    else
        FDataLink->SetText(Text());
}

// Value, Text and Undo from code: a bound dataset goes into edit state, the
// change is shown and written at once; a failing write shows the field again.
void TCustomDBEditGx::WriteFromCode(const std::function<void()>& Show)
{
    if (Designing() && IsDataBound())
        return;
    if (!IsDataIndependent() && DataSource() && DataSource()->DataSet())
        DataSource()->DataSet()->Edit();
    Show();
    if (FDataPosting)
        return;
    try {
        UpdateData();
    } catch (...) {
        FDataLink->Reset();
        throw;
    }
}

void TCustomDBEditGx::ApplyUserValue(const Variant& Value)
{
    WriteFromCode([&] { InternalSetValue(Value); });
}

void TCustomDBEditGx::SetText(const QString& Value)
{
    WriteFromCode([&] { InternalSetText(Value); });
}

void TCustomDBEditGx::Undo()
{
    WriteFromCode([&] { FEditWindow->undo(); });
}

void TCustomDBEditGx::UpdateData()
{
    if (Focused())
        ValidateEdit();
    bool handled = false;
    if (OnUpdateData) {
        const QScopedValueRollback<bool> posting(FDataPosting, true);
        OnUpdateData(this, handled);
    }
    if (!handled)
        InternalUpdatePostData();
    SetModified(false);
    if (FMRUList->AutoAdd() && FMRUList->Active() && isVisible())
        FMRUList->Add(Text());
}

void TCustomDBEditGx::Reset()
{
    FDataLink->Reset();
    SelectAll();
}

// ---------------------------------------------------------------------------
// Read-only state

void TCustomDBEditGx::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    EditingChanged();
}

void TCustomDBEditGx::UpdateReadOnly()
{
    bool readOnly = FReadOnly;
    if (!readOnly && !FDataLink->Editing()) {
        const TDataSet* ds = FDataLink->DataSet();
        readOnly = !(OnUpdateData && ds && ds->State() == dsEdit);
    }
    if (!readOnly && FInplaceMode && FIntfInplaceEditHolder)
        readOnly = !FIntfInplaceEditHolder->InplaceEditCanModify(this);
    SetEditWindowReadOnly(readOnly);
    // The required mark follows the dataset's state and the field's value.
    if (FHighlightRequired || OnCheckDrawRequiredState) {
        Invalidate();
        FEditWindow->update();
    }
}

void TCustomDBEditGx::SetEditWindowReadOnly(bool Value) { FEditWindow->setReadOnly(Value); }

bool TCustomDBEditGx::EditWindowReadOnly() const { return FEditWindow->isReadOnly(); }

bool TCustomDBEditGx::EditCanModify() { return FDataLink->Edit(); }

// ---------------------------------------------------------------------------
// Text, mask and selection

QString TCustomDBEditGx::Text() const
{
    if (!IsMasked())
        return FEditWindow->text();
    const TParsedMask parsed = ParseMask(FEditMask);
    const QString shown = EditText();
    const std::vector<TMaskPos> positions = MaskPositions(parsed.Body);
    QString r;
    for (int i = 0; i < shown.size(); ++i) {
        const bool literal = i < int(positions.size()) && positions[size_t(i)].Literal;
        if (literal && !parsed.SaveLiterals)
            continue;
        const QChar c = shown.at(i);
        r += !literal && c == parsed.Blank ? QChar(QLatin1Char(' ')) : c;
    }
    return r;
}

QString TCustomDBEditGx::EditText() const
{
    if (IsMasked() && FEditWindow->echoMode() == QLineEdit::Normal)
        return FEditWindow->displayText();
    return FEditWindow->text();
}

void TCustomDBEditGx::SetEditText(const QString& Value) { SetEditWindowText(Value); }

void TCustomDBEditGx::SetEditWindowText(const QString& Value)
{
    if (FEditWindow->text() == Value && !IsMasked())
        return;
    // Reading the field again when an edit starts must keep the user's selection and caret
    // when the text comes out the same (a masked window rewrites it through the mask).
    const QString before = FEditWindow->text();
    const int cursor = FEditWindow->cursorPosition();
    const int selStart = FEditWindow->selectionStart();
    const int selLength = FEditWindow->selectionLength();
    FEditWindow->setText(Value);
    if (FEditWindow->text() != before) {
        // A new text shows from its start, as the window system's edit does; only an
        // editor with the focus keeps the caret at the end where the user goes on typing.
        if (!FEditWindow->hasFocus())
            FEditWindow->setCursorPosition(0);
        return;
    }
    if (selStart < 0) {
        FEditWindow->setCursorPosition(cursor);
    } else {
        const int anchor = cursor == selStart ? selStart + selLength : selStart;
        FEditWindow->setSelection(anchor, cursor - anchor);
    }
}

QString TCustomDBEditGx::EmptyMaskText() const
{
    if (!IsMasked())
        return QString();
    const TParsedMask parsed = ParseMask(FEditMask);
    QString r;
    for (const TMaskPos& p : MaskPositions(parsed.Body))
        r += p.Literal ? p.Ch : parsed.Blank;
    return r;
}

void TCustomDBEditGx::SetEditMask(const QString& Value)
{
    if ((FAssignedValues & evEditMaskGx) && Value == FEditMask)
        return;
    const QString kept = Loading() && IsDataIndependent() ? Text() : QString();
    FEditMask = Value;
    FAssignedValues |= evEditMaskGx;
    ApplyEditMaskToWindow();
    if (!kept.isEmpty())
        InternalSetText(kept);
    if (IsDataIndependent())
        FDataLink->SetText(EditText());
    else
        FDataLink->Reset();
}

void TCustomDBEditGx::SetInternalEditMask(const QString& Value)
{
    if (Value == FEditMask)
        return;
    FEditMask = Value;
    ApplyEditMaskToWindow();
}

void TCustomDBEditGx::ApplyEditMaskToWindow()
{
    const QString text = FEditWindow->text();
    FEditWindow->setInputMask(EditMaskToInputMask(FEditMask));
    FEditWindow->setText(text);
    SetModified(false);
}

void TCustomDBEditGx::ValidateEdit()
{
    if (!IsMasked() || !Modified())
        return;
    if (FEditWindow->hasAcceptableInput())
        return;
    // The caret goes to the first place that is still blank.
    const QString shown = EditText();
    const QChar blank = EditMaskBlank(FEditMask);
    const int pos = shown.indexOf(blank);
    if (pos >= 0)
        FEditWindow->setCursorPosition(pos);
    throw EDBEditError(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
}

bool TCustomDBEditGx::Modified() const { return FEditWindow->isModified(); }

void TCustomDBEditGx::SetModified(bool Value) { FEditWindow->setModified(Value); }

int TCustomDBEditGx::MaxLength() const { return FMaxLength; }

void TCustomDBEditGx::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    FEditWindow->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

int TCustomDBEditGx::SelStart() const
{
    return FEditWindow->hasSelectedText() ? FEditWindow->selectionStart() : FEditWindow->cursorPosition();
}

void TCustomDBEditGx::SetSelStart(int Value)
{
    FEditWindow->deselect();
    FEditWindow->setCursorPosition(Value);
}

int TCustomDBEditGx::SelLength() const { return FEditWindow->selectionLength(); }

void TCustomDBEditGx::SetSelLength(int Value) { FEditWindow->setSelection(SelStart(), Value); }

QString TCustomDBEditGx::SelText() const { return FEditWindow->selectedText(); }

void TCustomDBEditGx::SelectAll() { FEditWindow->selectAll(); }

void TCustomDBEditGx::Deselect()
{
    FEditWindow->deselect();
    FEditWindow->end(false);
}

void TCustomDBEditGx::CutToClipboard()
{
    if (EditCanModify())
        FEditWindow->cut();
}

void TCustomDBEditGx::PasteFromClipboard()
{
    if (EditCanModify())
        FEditWindow->paste();
}

void TCustomDBEditGx::SetCharCase(TEditCharCase Value)
{
    if (Value == FCharCase)
        return;
    FCharCase = Value;
    ApplyCharCase();
}

void TCustomDBEditGx::ApplyCharCase()
{
    const QString t = FEditWindow->text();
    if (FCharCase == ecUpperCase && t != t.toUpper())
        FEditWindow->setText(t.toUpper());
    else if (FCharCase == ecLowerCase && t != t.toLower())
        FEditWindow->setText(t.toLower());
}

void TCustomDBEditGx::Change()
{
    if (FCharCase != ecNormal)
        ApplyCharCase();
    FUserTextChanged = true;
    if (FDataLink)
        FDataLink->Modified();
    UpdateImageIndex();
    if (OnChange)
        OnChange(this);
}

bool TCustomDBEditGx::UseRightToLeftAlignment() const
{
    return layoutDirection() == Qt::RightToLeft;
}

QString TCustomDBEditGx::GetDisplayTextForPaintCopy()
{
    if (Designing() && !FDataLink->Active())
        return objectName();
    if (FPaintCopy && Field()) {
        const QString t = Field()->DisplayText();
        if (FCharCase == ecUpperCase)
            return t.toUpper();
        if (FCharCase == ecLowerCase)
            return t.toLower();
        return t;
    }
    return EditText();
}

TAlignment TCustomDBEditGx::Alignment() const
{
    if (FAssignedValues & evAlignmentGx)
        return FAlignment;
    return const_cast<TCustomDBEditGx*>(this)->GetDefaultAlignment();
}

void TCustomDBEditGx::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    FAssignedValues |= evAlignmentGx;
    RecreateWnd();
}

// ---------------------------------------------------------------------------
// Keys

UINT TCustomDBEditGx::GetDlgCode()
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (FWantTabs)
        code |= DLGC_WANTTAB;
    if (FWantReturns)
        code |= DLGC_WANTALLKEYS;
    if (FInplaceMode) {
        if (auto* host = qobject_cast<TCustomControl*>(FInplaceEditHolder.data()))
            if (host->Perform(WM_GETDLGCODE) & DLGC_WANTTAB)
                code |= DLGC_WANTTAB;
    }
    return code;
}

bool TCustomDBEditGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && FMRUList->DroppedDown() && MRUListItemIndex() >= 0)
        return true;
    if (Key == VK_ESCAPE && Modified())
        return true;
    if (Key == VK_RETURN && FInplaceMode)
        return true;
    return TCustomControl::WantSpecialKey(Key, Shift);
}

void TCustomDBEditGx::KeyDown(WORD& Key, TShiftState Shift)
{
    if (FInplaceMode && FIntfInplaceEditHolder) {
        FIntfInplaceEditHolder->InplaceEditKeyDown(this, Key, Shift);
        if (Key == 0)
            return;
    }
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (PressShortCut(Key, Shift)) {
        Key = 0;
        return;
    }
    if (Key == 'A' && Shift == TShiftState(ssCtrl))
        SelectAll();
    const bool editing = Key == VK_DELETE || (Key == VK_INSERT && Shift == TShiftState(ssShift)) ||
                         (Key == VK_RETURN && FWantReturns) || (Key == VK_TAB && FWantTabs);
    if (editing && !FReadOnly)
        FDataLink->Edit();
}

void TCustomDBEditGx::KeyPress(QChar& Key)
{
    if (FInplaceMode && FIntfInplaceEditHolder) {
        FIntfInplaceEditHolder->InplaceEditKeyPress(this, Key);
        if (Key == QChar(0))
            return;
    }
    TCustomControl::KeyPress(Key);
    if (Key == QChar(0))
        return;
    const ushort c = Key.unicode();
    if (IsMasked() && c != 3 && c != 22 && c != 24) {
        // The masked edit takes the character into the text itself.
        if (c == 27) {
            Reset();
            Key = QChar(0);
        } else if (c == 13) {
            Key = QChar(0);
            ValidateEdit();
        } else if (c == 8 || c >= 32) {
            if (FReadOnly || !EditCanModify())
                Key = QChar(0);
        } else {
            Key = QChar(0);
        }
        return;
    }
    if (Field() && c > 31 && !IsValidChar(Key)) {
        MessageBeep(0);
        Key = QChar(0);
        return;
    }
    if (c == 27) {
        FDataLink->Reset();
        SelectAll();
        Key = QChar(0);
        return;
    }
    if (c <= 7 || (c >= 9 && c <= 21) || c == 23 || c == 25 || c == 26 || (c >= 28 && c <= 31))
        return;
    if (!FReadOnly)
        FDataLink->Edit();
    if (c == 8 && EditText().isEmpty() && FMRUList->Active() && isVisible() && !FDroppedDown &&
        !FMRUList->DroppedDown())
        FMRUList->DropDown();
}

void TCustomDBEditGx::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FInplaceMode && FIntfInplaceEditHolder) {
        FIntfInplaceEditHolder->InplaceEditKeyUp(this, Key, Shift);
        if (Key == 0)
            return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TCustomDBEditGx::EditWindowKeyPress(QKeyEvent* e)
{
    const WORD vk = VirtualKeyFromQt(e->key());
    const TShiftState shift = ShiftStateFromQt(e->modifiers());
    QPointer<TCustomDBEditGx> self(this);
    bool consumed = false;
    Application->Guard([&] {
        if (FInplaceMode && FIntfInplaceEditHolder) {
            TMessage m{WM_KEYDOWN, vk, 0, 0};
            FIntfInplaceEditHolder->InplaceEditWndProc(this, m);
            if (m.Result != 0) {
                consumed = true;
                return;
            }
        }
        if (vk != 0 && DropDownKey(vk, shift))
            consumed = true;
    });
    if (consumed || !self)
        return;
    const QChar original = KeyPressCharFromQt(e->key(), e->modifiers(), e->text());
    FCompleteKeyPress = original == QChar(0) ? QString() : e->text().isEmpty() ? QString(original) : e->text();
    FUserTextChanged = false;
    WORD key = 0;
    QChar ch;
    ProcessChildKey(e, key, ch);
    if (!self)
        return;
    FCompleteKeyPress.clear();
    const bool forward = original != QChar(0) ? ch != QChar(0) : key != 0;
    if (forward) {
        if (ch != original && ch.unicode() >= 32) {
            QKeyEvent changed(e->type(), e->key(), e->modifiers(), QString(ch), e->isAutoRepeat());
            FEditWindow->DefaultKeyPress(&changed);
        } else {
            FEditWindow->DefaultKeyPress(e);
        }
    }
    if (self && FUserTextChanged) {
        FUserTextChanged = false;
        Application->Guard([&] { UpdateMRUListOnChange(); });
    }
}

void TCustomDBEditGx::EditWindowKeyRelease(QKeyEvent* e)
{
    QCoreApplication::sendEvent(this, e);
}

bool TCustomDBEditGx::EditWindowInputMethod(const QString& Commit)
{
    bool ok = false;
    Application->Guard([&] {
        if (FReadOnly)
            return;
        for (QChar c : Commit) {
            if (Field() && c.unicode() > 31 && !IsValidChar(c)) {
                MessageBeep(0);
                return;
            }
        }
        ok = EditCanModify();
    });
    return ok;
}

bool TCustomDBEditGx::DropDownKey(WORD Key, TShiftState Shift)
{
    if (!FMRUList->DroppedDown())
        return false;
    switch (Key) {
    case VK_RETURN:
        FMRUList->CloseUp(true);
        return true;
    case VK_ESCAPE:
        FMRUList->CloseUp(false);
        return true;
    case VK_PRIOR: case VK_NEXT:
        break;
    case VK_UP: case VK_DOWN:
        if (Shift.contains(ssAlt))
            return false;
        break;
    case VK_HOME: case VK_END:
        if (!Shift.contains(ssCtrl))
            return false;
        break;
    default:
        return false;
    }
    SendKeyToWindow(MRUListWidget(), Key, Shift);
    return true;
}

void TCustomDBEditGx::SendKeyToWindow(QWidget* Window, WORD Key, TShiftState Shift)
{
    if (!Window)
        return;
    if (auto* control = qobject_cast<TCustomControl*>(Window)) {
        control->Perform(Shift.contains(ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, Key);
        return;
    }
    Qt::KeyboardModifiers mods;
    if (Shift.contains(ssShift))
        mods |= Qt::ShiftModifier;
    if (Shift.contains(ssCtrl))
        mods |= Qt::ControlModifier;
    if (Shift.contains(ssAlt))
        mods |= Qt::AltModifier;
    QKeyEvent press(QEvent::KeyPress, QtKeyFromVirtualKey(Key), mods);
    QCoreApplication::sendEvent(Window, &press);
}

// ---------------------------------------------------------------------------
// Focus

void TCustomDBEditGx::SetFocused(bool Value)
{
    if (FFocused == Value)
        return;
    FFocused = Value;
    if (Alignment() != taLeftJustify && !IsMasked())
        ApplyWindowAlignment();
    FDataLink->Reset();
}

void TCustomDBEditGx::DoEnter()
{
    // In place the host stays the form's focused control: no entering here.
    if (FInplaceMode)
        return;
    SetFocused(true);
    TCustomControl::DoEnter();
    if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    // Input-method composition must work before the data is in edit state.
    if (FDataLink->CanModify())
        SetEditWindowReadOnly(FReadOnly);
}

void TCustomDBEditGx::DoExit()
{
    if (FInplaceMode)
        return;
    if (IsMasked() && !Designing()) {
        ValidateEdit();
        FEditWindow->setCursorPosition(FEditWindow->cursorPosition());
    }
    TCustomControl::DoExit();
    try {
        FDataLink->UpdateRecord();
    } catch (...) {
        SelectAll();
        SetFocus();
        throw;
    }
    SetFocused(false);
}

void TCustomDBEditGx::EditWindowFocus(QFocusEvent* e)
{
    QCoreApplication::sendEvent(this, e);
}

void TCustomDBEditGx::FocusSet()
{
    UpdateBorderActive();
    Invalidate();
}

void TCustomDBEditGx::FocusKilled()
{
    UpdateBorderActive();
    Invalidate();
    if (FMRUList->DroppedDown()) {
        QWidget* focus = QApplication::focusWidget();
        auto* list = MRUListWidget();
        if (!(list && focus && (focus == list || list->isAncestorOf(focus))))
            FMRUList->CloseUp(false);
    }
    CancelChildCapture();
}

void TCustomDBEditGx::CancelMode() {}

void TCustomDBEditGx::CancelChildCapture()
{
    for (QObject* child : children())
        if (auto* c = qobject_cast<TCustomControl*>(child); c && c->MouseCapture()) {
            c->SetMouseCapture(false);
            c->Perform(WM_CANCELMODE);
        }
}

void TCustomDBEditGx::CMCancelMode(QWidget* Sender)
{
    CancelChildCapture();
    auto* list = MRUListWidget();
    const bool own = Sender && (Sender == this || isAncestorOf(Sender) ||
                                (list && (Sender == list || list->isAncestorOf(Sender))));
    if (!own && FMRUList->DroppedDown())
        FMRUList->CloseUp(false);
}

void TCustomDBEditGx::WndProc(TMessage& Message)
{
    if (FInplaceMode && FIntfInplaceEditHolder) {
        FIntfInplaceEditHolder->InplaceEditWndProc(this, Message);
        if (Message.Result != 0)
            return;
    }
    switch (Message.Msg) {
    case CM_CANCELMODE:
        CMCancelMode(reinterpret_cast<QWidget*>(Message.LParam));
        break;
    case CM_CLOSEUPREQUESTGX:
        // The edit image changed: the window is set up again.
        RecreateWnd();
        break;
    default:
        TCustomControl::WndProc(Message);
        break;
    }
}
