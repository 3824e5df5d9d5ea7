// The data grid's in-place editor: edit style, cell contents, buttons, keys,
// characters, pasting and the required-field mark.
#include "DBGridGxEdit.h"

#include "DBGridGx.h"
#include "DBGridGxRoutines.h"
#include "DBGridGxUnit.h"
#include "grid/support/DropDownEditGx.h"
#include "grid/support/EditButtonControlGx.h"
#include "grid/support/MRUListGx.h"
#include "grid/support/SpecRowGx.h"
#include "grid/support/EditButtonPaintGx.h"
#include "platform/gui/Application.h"
#include "platform/gui/Clipboard.h"
#include "platform/db/DataSource.h"
#include "platform/gui/ImageList.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <cmath>

namespace {

bool IsDateField(TField* f)
{
    const TFieldType t = f->DataType();
    return t == ftDate || t == ftDateTime;
}

TEditButtonStyleGx MainButtonStyle(TEditStyle style)
{
    switch (style) {
    case esEllipsis: return ebsEllipsisGx;
    case esUpDown: return ebsUpDownGx;
    case esAltUpDown: return ebsAltUpDownGx;
    case esAltDropDown:
    case esAltCalendar: return ebsAltDropDownGx;
    default: return ebsDropDownGx;
    }
}

int DefaultButtonWidth(bool flat)
{
    return flat ? GetDefaultFlatButtonWidth() : TCustomControl::ScrollBarExtent();
}

} // namespace

TDBGridInplaceEdit::TDBGridInplaceEdit(TCustomDBGridGx* Owner)
    : TInplaceEdit(Owner), FDBGrid(Owner), FLookupSource(std::make_unique<TDataSource>())
{
    connect(this, &QLineEdit::textEdited, this, [this] { Application->Guard([&] { UserChangedText(); }); });
}

TDBGridInplaceEdit::~TDBGridInplaceEdit()
{
    FDestroying = true;
    ReleaseDataList();
}

bool TDBGridInplaceEdit::IsNumericField(TField* Field)
{
    switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftLargeint:
    case ftAutoInc: case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

TColumnGx* TDBGridInplaceEdit::EditColumn() const
{
    if (!FDBGrid)
        return nullptr;
    const int index = FDBGrid->SelectedIndex();
    TDBGridColumnsGx* columns = FDBGrid->Columns();
    return columns->Count() > 0 && index >= 0 && index < columns->Count() ? columns->GetColumn(index) : nullptr;
}

int TDBGridInplaceEdit::FindListItem(const QStringList& List, const QString& Text, int Options)
{
    for (int i = 0; i < List.size(); ++i) {
        const QString& s = List.at(i);
        if ((Options & 2) != 0 ? s.left(Text.size()).compare(Text, Qt::CaseInsensitive) == 0
                               : s.compare(Text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TEditStyle TDBGridInplaceEdit::ColumnEditStyle(TColumnGx* Column)
{
    switch (Column->ButtonStyle()) {
    case cbsAuto: {
        TField* field = Column->Field();
        if (!field)
            return esSimple;
        IDBGridGx* grid = Column->Grid();
        if (field->Lookup()) {
            if (!field->LookupDataSet || !field->LookupDataSet->Active())
                return esSimple;
            std::vector<TField*> keys = field->DataSet() ? field->DataSet()->GetFieldList(field->KeyFields)
                                                         : std::vector<TField*>();
            const bool explicitReadOnly = Column->AssignedValues().Contains(cvReadOnly) && Column->ReadOnly();
            const bool gridWritable = !grid || (!grid->ReadOnly() && grid->DataLink()->Active() &&
                                                !grid->DataLink()->ReadOnly());
            if (!keys.empty() && AllFieldsCanModify(keys) && !explicitReadOnly && gridWritable)
                return esDataList;
            return esSimple;
        }
        if (Column->HasPickItems() && !Column->ReadOnly())
            return esPickList;
        if (IsDateField(field) && !Column->ReadOnly())
            return esDateCalendar;
        return esSimple;
    }
    case cbsEllipsis: return esEllipsis;
    case cbsNone: return esSimple;
    case cbsUpDown: return esUpDown;
    case cbsDropDown: return esDropDown;
    case cbsAltUpDown: return esAltUpDown;
    case cbsAltDropDown: {
        TField* field = Column->Field();
        return field && IsDateField(field) ? esAltCalendar : esAltDropDown;
    }
    }
    return esSimple;
}

void TDBGridInplaceEdit::SetEditStyle(TEditStyle Value)
{
    FEditStyle = Value;
    ChooseActiveList();
    if (TColumnGx* column = EditColumn())
        setReadOnly(column->ReadOnly());
    update();
}

void TDBGridInplaceEdit::SetWordWrap(bool Value)
{
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    FWrapScroll = 0;
    FWrapAnchor = -1;
    update();
}

void TDBGridInplaceEdit::LoadCellContents()
{
    TColumnGx* column = EditColumn();
    if (!column || !FDBGrid) {
        TInplaceEdit::LoadCellContents();
        return;
    }
    // 1. Edit style; a lookup field needs a writable grid here, not an open list.
    TEditStyle style = ColumnEditStyle(column);
    if (column->ButtonStyle() == cbsAuto && column->Field() && column->Field()->Lookup()) {
        TField* field = column->Field();
        std::vector<TField*> keys =
            field->DataSet() ? field->DataSet()->GetFieldList(field->KeyFields) : std::vector<TField*>();
        const bool explicitReadOnly = column->AssignedValues().Contains(cvReadOnly) && column->ReadOnly();
        const bool gridWritable = !FDBGrid->ReadOnly() && FDBGrid->DataLink()->Active() && !FDBGrid->DataLink()->ReadOnly();
        style = !keys.empty() && AllFieldsCanModify(keys) && !explicitReadOnly && gridWritable ? esDataList : esSimple;
    }
    SetEditStyle(style);
    // 2. Font.
    setFont(column->Font()->toQFont());
    // 3. Cell parameters.
    TColCellParamsGx params;
    column->FillColCellParams(params);
    params.Background = column->Color();
    TFont font;
    font.Assign(*column->Font());
    params.Font = &font;
    params.State = gdsFocused;
    params.Text = column->GetCellEditText();
    const bool readOnlyByColumn = !column->CanModify(false);
    params.ReadOnly = readOnlyByColumn;
    TColor background = params.Background;
    FDBGrid->GetCellParams(column, params.Font, background, TGridDrawState{gdFocused});
    params.Background = background;
    if (column->OnGetCellParams)
        column->OnGetCellParams(column, true, params);
    // 4. Colour and image.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(params.Background));
    setPalette(pal);
    FImageIndex = params.ImageIndex;
    // 5. Read-only state set by the parameters.
    if (params.ReadOnly == readOnlyByColumn) {
        FReadOnlyStored = false;
    } else {
        FReadOnlyStored = true;
        setReadOnly(params.ReadOnly);
    }
    // 6. Word wrap: in a row panel a column over more than one line wraps.
    if (FDBGrid->RowPanelActive())
        SetWordWrap(column->WordWrap() && column->InRowLineHeight() > 1);
    else
        SetWordWrap(column->WordWrap() && column->CurLineWordWrap(FDBGrid->RowHeights(FDBGrid->Row())));
    // 7. Text, mask, limit.
    setText(QString());
    SetEditMask(column->GetEditMaskText());
    setText(params.Text);
    SetMaxLength(FDBGrid->GetEditLimit());
    FMRUList = column->MRUList();
}

// ---------------------------------------------------------------- geometry and buttons

void TDBGridInplaceEdit::GetEditTextRect(TRect& Rect)
{
    const bool flat = FDBGrid && FDBGrid->Flat();
    Rect = TRect(2, flat ? 1 : 2, width() - 2, flat ? height() - 1 : height());
    const int fontHeight = fontMetrics().height();
    if (Rect.Bottom - Rect.Top < fontHeight && Rect.Bottom < height())
        Rect.Bottom += 1;
    if (FButtonsWidth > 0)
        Rect.Right -= FButtonsWidth;
    TColumnGx* column = EditColumn();
    if (column && column->ShowImageAndText() && column->ImageList())
        Rect.Left += column->ImageList()->Width() + 5;
}

TEditButtonControlGx* TDBGridInplaceEdit::CreateEditButtonControl()
{
    auto* button = new TEditButtonControlGx(this);
    button->resize(10, 17);
    button->setFocusPolicy(Qt::NoFocus);
    button->show();
    button->OnDown = [this, button](QObject*, bool top, bool& autoRepeat, bool& handled) {
        EditButtonControlDown(button, top, autoRepeat, handled);
    };
    button->OnClick = [this, button](QObject*) { EditButtonControlClick(button); };
    button->OnMouseMove = [this](QObject* Sender, TShiftState Shift, int X, int Y) {
        EditButtonControlMouseMove(Sender, Shift, X, Y);
    };
    button->OnMouseUp = [this](QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        EditButtonControlMouseUp(Sender, Button, Shift, X, Y);
    };
    return button;
}

void TDBGridInplaceEdit::LayoutEditButtons()
{
    TColumnGx* column = EditColumn();
    const int extra = column ? column->EditButtons()->Count() : 0;
    // 1. One pair per button.
    while (int(FEditButtonControlList.size()) > extra + 1) {
        TButtonPair p = FEditButtonControlList.back();
        FEditButtonControlList.pop_back();
        p.Button->hide();
        p.Line->hide();
        p.Button->deleteLater();
        p.Line->deleteLater();
    }
    while (int(FEditButtonControlList.size()) < extra + 1) {
        TButtonPair p;
        p.Button = CreateEditButtonControl();
        p.Line = new QFrame(this);
        p.Line->setFrameShape(QFrame::VLine);
        p.Line->hide();
        FEditButtonControlList.push_back(p);
    }
    const bool flat = FDBGrid && FDBGrid->Flat();
    // 2. Main button.
    TEditButtonControlGx* main = FEditButtonControlList[0].Button;
    std::vector<int> widths(size_t(extra + 1), 0);
    if (FEditStyle == esSimple) {
        main->hide();
    } else {
        main->SetStyle(MainButtonStyle(FEditStyle));
        main->SetFlat(flat);
        main->setToolTip(QString());
        main->show();
        widths[0] = DefaultButtonWidth(flat);
    }
    // 3. Extra buttons.
    for (int i = 0; i < extra; ++i) {
        TEditButtonGx* b = column->EditButtons()->ButtonAt(i);
        TEditButtonControlGx* c = FEditButtonControlList[size_t(i + 1)].Button;
        c->SetStyle(b->Style());
        c->SetFlat(flat);
        c->setToolTip(b->Hint());
        c->SetEnabledState(b->Enabled());
        if (b->Visible()) {
            c->show();
            widths[size_t(i + 1)] = b->Width() > 0 ? b->Width() : DefaultButtonWidth(flat);
        } else {
            c->hide();
        }
    }
    // 4. Heights: the smallest of the buttons' heights.
    int buttonHeight = height();
    for (size_t i = 0; i < widths.size(); ++i)
        if (widths[i] > 0) {
            const int h = height() > std::lround(widths[i] * 1.5) ? CalcEditButtonHeight(widths[i], flat) : height();
            buttonHeight = std::min(buttonHeight, h);
        }
    // 5 and 6. Placement from the right edge, last extra button first.
    int x = width();
    for (int i = int(widths.size()) - 1; i >= 0; --i) {
        TButtonPair& p = FEditButtonControlList[size_t(i)];
        const int w = widths[size_t(i)];
        const bool line = w > 0 && flat;
        p.Line->setVisible(line);
        if (w <= 0)
            continue;
        x -= w;
        p.Button->setGeometry(x, 0, w, buttonHeight);
        if (line) {
            x -= 1;
            p.Line->setGeometry(x, 0, 1, buttonHeight);
        }
    }
    FButtonsWidth = width() - x;
    FButtonHeight = buttonHeight;
}

void TDBGridInplaceEdit::ActivateEditButtons()
{
    for (TButtonPair& p : FEditButtonControlList) {
        p.Button->SetActive(true);
        p.Button->update();
    }
}

void TDBGridInplaceEdit::TextBoundsChanged()
{
    LayoutEditButtons();
    ActivateEditButtons();
    TRect r;
    GetEditTextRect(r);
    setTextMargins(r.Left, r.Top, width() - r.Right, height() - r.Bottom);
    FButtonHeight = height() > std::lround(FButtonsWidth * 1.5) ? FButtonsWidth : height();
}

void TDBGridInplaceEdit::resizeEvent(QResizeEvent* e)
{
    TInplaceEdit::resizeEvent(e);
    TextBoundsChanged();
}

void TDBGridInplaceEdit::EditButtonControlDown(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)
{
    setFocus();
    Handled = false;
    TColumnGx* column = EditColumn();
    if (!column)
        return;
    if (!FEditButtonControlList.empty() && Sender == FEditButtonControlList[0].Button) {
        if (column->OnEditButtonDown)
            column->OnEditButtonDown(Sender, TopButton, AutoRepeat, Handled);
        if (!Handled)
            EditButtonPressed(!TopButton);
        return;
    }
    for (size_t i = 1; i < FEditButtonControlList.size(); ++i)
        if (FEditButtonControlList[i].Button == Sender) {
            TEditButtonGx* b = column->EditButtons()->ButtonAt(int(i) - 1);
            if (b->OnDown)
                b->OnDown(Sender, TopButton, AutoRepeat, Handled);
            if (!Handled && b->DropdownMenu())
                PopupEditButtonMenu(b->DropdownMenu(), FEditButtonControlList[i].Button);
        }
}

void TDBGridInplaceEdit::EditButtonPressed(bool BottomButton)
{
    if (FEditStyle == esUpDown || FEditStyle == esAltUpDown) {
        StepByButton(BottomButton);
    } else if (!FDroppedDown) {
        DropDown();
        FNoClickCloseUp = true;
    }
}

void TDBGridInplaceEdit::EditButtonControlClick(QObject* Sender)
{
    TColumnGx* column = EditColumn();
    const bool isMain = !FEditButtonControlList.empty() && Sender == FEditButtonControlList[0].Button;
    if (isMain && (FEditStyle == esEllipsis || FEditStyle == esDropDown || FEditStyle == esAltDropDown))
        FDBGrid->EditButtonClick();
    bool handled = false;
    if (column) {
        if (isMain) {
            if (column->OnEditButtonClick)
                column->OnEditButtonClick(Sender, handled);
        } else {
            for (size_t i = 1; i < FEditButtonControlList.size(); ++i)
                if (FEditButtonControlList[i].Button == Sender)
                    column->EditButtons()->ButtonAt(int(i) - 1)->Click(Sender, handled);
        }
    }
    if (!handled && FListVisible && !FNoClickCloseUp && isMain)
        CloseUp(false);
    FNoClickCloseUp = false;
}

void TDBGridInplaceEdit::StepByButton(bool BottomButton)
{
    TColumnGx* column = EditColumn();
    if (!column || !column->CanModify(true))
        return;
    if (column->GetCellEditText() != text()) {
        column->SetCellEditText(text());
        FDBGrid->UpdateData();
    }
    double step = BottomButton ? -column->Increment() : column->Increment();
    if (column->GetColumnType() != ctCommon)
        step = -step;
    column->StepFieldValue(step);
}

// ---------------------------------------------------------------- keys

bool TDBGridInplaceEdit::ColumnIsLookupOrKeyPick(TColumnGx* Column)
{
    const TColumnGxType t = Column->GetColumnType();
    return t == ctLookupField || t == ctKeyPickList;
}

void TDBGridInplaceEdit::SetTextCaret(const QString& Text, int SelStart, int SelLength)
{
    setText(Text);
    if (SelLength > 0)
        setSelection(SelStart, SelLength);
    else
        setCursorPosition(SelStart);
}

void TDBGridInplaceEdit::ResolveTypedText(TColumnGx* Column)
{
    if (!Column->CanModify(true))
        return;
    FDBGrid->SetEditText(text());
    TField* field = Column->Field();
    if (FEditStyle == esDataList && field && field->LookupDataSet) {
        TDataSet* list = field->LookupDataSet;
        Variant key = Variant::Null();
        if (list->Active() && list->Locate(field->LookupResultField, Variant(text()), loCaseInsensitive))
            key = list->FieldValue(field->LookupKeyFields);
        FDBGrid->SetEditKeyValue(key);
        FollowDataList();
    } else if (FPickList) {
        SelectPickListText(FDBGrid->EditText());
    }
}

void TDBGridInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TColumnGx* column = EditColumn();
    if (!FDBGrid || !column) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    const TShiftState mods = Shift * TShiftState{ssShift, ssAlt, ssCtrl};
    const TDBGridGxOptions optionsGx = FDBGrid->OptionsGx();
    // Ctrl+Enter on an ellipsis or drop-down button: the grid's button click.
    if (Key == VK_RETURN && mods == TShiftState(ssCtrl) && (FEditStyle == esEllipsis || FEditStyle == esDropDown)) {
        FDBGrid->EditButtonClick();
        Key = 0;
        return;
    }
    // Delete on a lookup or key pick-list column clears the value.
    if (Key == VK_DELETE && !Shift.contains(ssShift) && ColumnIsLookupOrKeyPick(column) && column->CanModify(false)) {
        const bool whole = hasSelectedText() && selectedText().size() == text().size();
        if (whole) {
            if (column->CanModify(true)) {
                if (FEditStyle == esDataList) {
                    TField* field = column->Field();
                    std::vector<TField*> keys = field->DataSet()->GetFieldList(field->KeyFields);
                    if (AllFieldsCanModify(keys)) {
                        FDBGrid->DataLink()->Edit();
                        FDBGrid->DataLink()->SetModified();
                        FDBGrid->SetEditKeyValue(Variant::Null());
                        FDBGrid->SetEditText(QString());
                        setText(QString());
                        FollowDataList();
                    }
                } else if (FEditStyle == esPickList && column->GetColumnType() == ctKeyPickList) {
                    setText(QString());
                    FDBGrid->SetEditText(QString());
                }
            }
            Key = 0;
            return;
        }
        if (column->OnNotInList && column->CanModify(true)) {
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            const int length = hasSelectedText() ? int(selectedText().size()) : 0;
            if (length > 0) {
                QString t = text();
                t.remove(start, length);
                SetTextCaret(t, start, 0);
            }
            ResolveTypedText(column);
            TInplaceEdit::KeyDown(Key, Shift);
            return;
        }
        Key = 0;
        return;
    }
    if (Key == VK_BACK && ColumnIsLookupOrKeyPick(column)) {
        if (column->OnNotInList) {
            if (column->CanModify(true)) {
                QString t = text();
                int caret = hasSelectedText() ? selectionStart() : cursorPosition();
                if (hasSelectedText())
                    t.remove(selectionStart(), selectedText().size());
                if (caret > 0) {
                    t.remove(caret - 1, 1);
                    --caret;
                }
                SetTextCaret(t, caret, 0);
                ResolveTypedText(column);
            }
        } else {
            // The completed part of a typed prefix shrinks.
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            if (start > 0)
                setSelection(text().size(), start - 1 - int(text().size()));
        }
        Key = 0;
        return;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && FWordWrap && WrappedUpDown(Key, Shift)) {
        Key = 0;
        return;
    }
    if (Key == VK_RETURN && optionsGx.Contains(dghEnterAsTab)) {
        FDBGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    // Ctrl with the quote key: the value of the record above.
    if (Key == 0xDE && Shift.contains(ssCtrl)) {
        FDBGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (Key == 'F' && mods == TShiftState(ssCtrl)) {
        if (optionsGx.Contains(dghIncSearch)) {
            if (FDBGrid->InplaceSearching() && optionsGx.Contains(dghDialogFind)) {
                FDBGrid->StopInplaceSearch();
                FDBGrid->OpenFindDialog(selectedText());
            } else {
                FDBGrid->StartInplaceSearch(QString(), -1, inpsFromFirstGx);
            }
            Key = 0;
            return;
        }
        if (optionsGx.Contains(dghDialogFind)) {
            FDBGrid->OpenFindDialog(selectedText());
            Key = 0;
            return;
        }
    }
    const TShortCut shortCut = ShortCutGx(Key, Shift.contains(ssShift), Shift.contains(ssCtrl), Shift.contains(ssAlt));
    // The special row's shortcut chooses its value.
    TSpecRowGx* specRow = column->DropDownSpecRow();
    if (FEditStyle == esDataList && specRow->Visible() && specRow->ShortCut() != 0 && specRow->ShortCut() == shortCut &&
        column->CanModify(false)) {
        if (column->CanModify(true)) {
            const QString special = specRow->CellTextAt(0);
            setText(special);
            FDBGrid->SetEditText(special);
            FDBGrid->SetEditKeyValue(specRow->Value());
            FollowDataList();
            selectAll();
        }
        Key = 0;
        return;
    }
    // The shortcut of one of the column's extra buttons.
    if (TEditButtonControlGx* c = FindEditButtonByShortCut(shortCut)) {
        bool autoRepeat = false, handled = false;
        EditButtonControlDown(c, true, autoRepeat, handled);
        EditButtonControlClick(c);
        Key = 0;
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TDBGridInplaceEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    // Releasing Ctrl reaches an open data list too.
    if (Key == VK_CONTROL && FEditStyle == esDataList && FListVisible && DataListWidget()) {
        WORD key = Key;
        static_cast<TCustomControl*>(DataListWidget())->KeyUp(key, Shift);
    }
    TInplaceEdit::KeyUp(Key, Shift);
}

bool TDBGridInplaceEdit::ProcessCharKey(QChar Key)
{
    TColumnGx* column = EditColumn();
    if (!column || (Key.unicode() != 8 && Key.unicode() < 32))
        return false;
    if (FEditStyle == esDataList)
        return ProcessDataListCharKey(column, Key);
    const bool keyPick = column->GetColumnType() == ctKeyPickList;
    if (!(keyPick || FEditStyle == esPickList) || !column->CanModify(false))
        return false;
    if (Key.unicode() == 8)
        return keyPick;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString typed = text().left(start) + Key;
    const QStringList& picks = column->PickList();
    const int found = FindListItem(picks, typed, 2);
    if (found >= 0) {
        if (column->CanModify(true)) {
            const QString entry = picks.at(found);
            setText(entry);
            setSelection(int(entry.size()), int(typed.size()) - int(entry.size()));
            FDBGrid->SetEditText(entry);
            SelectPickListText(entry);
            UpdateImageIndex();
        }
        return true;
    }
    if (keyPick) {
        if (column->OnNotInList && column->CanModify(true)) {
            setText(typed);
            FDBGrid->SetEditKeyValue(Variant(typed));
            FDBGrid->SetEditText(typed);
        }
        return true;
    }
    return false;
}

void TDBGridInplaceEdit::KeyPress(QChar& Key)
{
    TColumnGx* column = EditColumn();
    if (column && column->Field() && IsNumericField(column->Field()) && (Key == u'.' || Key == u',')) {
        const QString sep = QLocale().decimalPoint();
        if (!sep.isEmpty())
            Key = sep.at(0);
    }
    if (column && FDBGrid) {
        // The grid's own key press runs first (a form's OnKeyPress, Enter, Tab).
        FDBGrid->DataKeyPress(Key);
        if (Key.unicode() == 0)
            return;
        if (ProcessCharKey(Key)) {
            Key = QChar(0);
            return;
        }
        // Ctrl+Enter's line feed breaks the line of a word-wrapping editor only.
        if (Key.unicode() == 10) {
            if (FWordWrap)
                InsertLineBreak();
            Key = QChar(0);
            return;
        }
        EditKeyPress(Key);
        return;
    }
    TInplaceEdit::KeyPress(Key);
}

// ---------------------------------------------------------------- pasting

void TDBGridInplaceEdit::PasteFromClipboard()
{
    TColumnGx* column = EditColumn();
    if (!column || !FDBGrid) {
        paste();
        return;
    }
    if (!FDBGrid->EditingAllowedForCurrentRecord() || !column->CanModify(false))
        return;
    const QString clip = Clipboard()->AsText();
    const bool listStyle = FEditStyle == esDataList || column->GetColumnType() == ctKeyPickList;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? int(selectedText().size()) : 0;
    if (!listStyle) {
        if (!EditCanModify() || clip.isEmpty())
            return;
        const QString accepted = column->GetAcceptableEditText(clip);
        FDBGrid->DataLink()->Edit();
        if (!FDBGrid->DataLink()->Editing())
            return;
        FDBGrid->DataLink()->SetModified();
        QString t = text();
        t.replace(start, length, accepted);
        setText(t);
        setCursorPosition(start + int(accepted.size()));
        FDBGrid->SetEditText(text());
        return;
    }
    QString candidate = text();
    candidate.replace(start, length, clip);
    QString result;
    bool take = false;
    TField* field = column->Field();
    if (FEditStyle == esDataList && field && field->LookupDataSet && field->LookupDataSet->Active()) {
        TDataSet* list = field->LookupDataSet;
        if (list->Locate(field->LookupResultField, Variant(candidate), TLocateOptions(loCaseInsensitive | loPartialKey))) {
            result = list->FieldByName(field->LookupResultField)->Text();
            FDBGrid->SetEditKeyValue(list->FieldValue(field->LookupKeyFields));
            take = true;
        } else if (column->OnNotInList) {
            result = candidate;
            FDBGrid->SetEditKeyValue(Variant::Null());
            take = true;
        }
    } else if (column->GetColumnType() == ctKeyPickList) {
        const int found = FindListItem(column->PickList(), candidate, 2);
        if (found >= 0 && column->CanModify(false)) {
            result = column->PickList().at(found);
            take = true;
        } else if (column->OnNotInList) {
            result = candidate;
            take = true;
        }
    }
    if (!take)
        return;
    FDBGrid->DataLink()->Edit();
    if (FDBGrid->DataLink()->Editing())
        FDBGrid->DataLink()->SetModified();
    setText(result);
    setSelection(int(result.size()), int(candidate.size()) - int(result.size()));
    FDBGrid->SetEditText(result);
}

// ---------------------------------------------------------------- images and marks

void TDBGridInplaceEdit::UpdateImageIndex()
{
    TColumnGx* column = EditColumn();
    if (!column || !column->ImageList())
        return;
    int index;
    if (!column->HasPickItems())
        index = column->Field() ? FieldIntegerValue(column->Field(), -1) : -1;
    else
        index = int(column->PickList().indexOf(text()));
    if (index == -1)
        index = column->NotInKeyListIndex();
    if (index != FImageIndex) {
        FImageIndex = index;
        update();
    }
}

void TDBGridInplaceEdit::UserChangedText()
{
    FUserTextChanged = true;
    UpdateImageIndex();
}

void TDBGridInplaceEdit::DrawRequiredState(QPainter& Painter)
{
    TColumnGx* column = EditColumn();
    if (!column || !FDBGrid)
        return;
    TField* field = column->Field();
    TDataSet* ds = FDBGrid->DataSet();
    bool draw = column->HighlightRequired() && FDBGrid->DataLink()->Active() && ds &&
                (ds->State() == dsEdit || ds->State() == dsInsert) && field && field->Required() && field->IsNull();
    if (!draw)
        return;
    TRect r;
    GetEditTextRect(r);
    QPen pen(QColor(255, 0, 0));
    pen.setStyle(Qt::DotLine);
    Painter.setPen(pen);
    const int y = height() - 1;
    Painter.drawLine(r.Left + 2, y, r.Right - 3, y);
}

void TDBGridInplaceEdit::paintEvent(QPaintEvent* e)
{
    if (!FWordWrap)
        TInplaceEdit::paintEvent(e);
    QPainter painter(this);
    if (FWordWrap)
        PaintWrappedText(painter);
    DrawRequiredState(painter);
    TColumnGx* column = EditColumn();
    if (column && column->ImageList() && FImageIndex >= 0 && isVisible()) {
        TRect r;
        GetEditTextRect(r);
        const QImage image = column->ImageList()->Image(FImageIndex);
        if (!image.isNull())
            painter.drawImage(2, (height() - image.height()) / 2, image);
    }
}

// ---------------------------------------------------------------- messages

bool TDBGridInplaceEdit::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        bool taken = false;
        QPointer<TDBGridInplaceEdit> self(this);
        Application->Guard([&] { taken = DropDownKeys(k); });
        if (!self)
            return true;
        if (taken) {
            e->accept();
            return true;
        }
        if (k->matches(QKeySequence::Paste) || (k->key() == Qt::Key_Insert && k->modifiers() == Qt::ShiftModifier)) {
            Application->Guard([&] { PasteFromClipboard(); });
            e->accept();
            return true;
        }
        const bool backspace = k->key() == Qt::Key_Backspace;
        const bool result = TInplaceEdit::event(e);
        if (self)
            Application->Guard([&] { UserTextHandled(backspace); });
        return result;
    }
    QPointer<TDBGridInplaceEdit> self(this);
    const bool result = TInplaceEdit::event(e);
    if (self && FUserTextChanged)
        Application->Guard([&] { UserTextHandled(false); });
    return result;
}

void TDBGridInplaceEdit::UserTextHandled(bool Backspace)
{
    const bool changed = FUserTextChanged;
    FUserTextChanged = false;
    const bool mruActive = FMRUList && FMRUList->Active() && isVisible() && !FListVisible;
    if (Backspace && text().isEmpty() && mruActive) {
        ShowMRUList();
        return;
    }
    if (!changed)
        return;
    if (MRUListVisible() && text().isEmpty())
        CloseMRUList(false);
    else if (mruActive && !text().isEmpty())
        ShowMRUList();
}

void TDBGridInplaceEdit::mousePressEvent(QMouseEvent* e)
{
    TRect r;
    GetEditTextRect(r);
    const QPoint p = e->position().toPoint();
    // A press on a button or image does not move the caret.
    if (!PtInRect(r, TPoint(p.x(), p.y())))
        return;
    if (!FWordWrap || e->button() != Qt::LeftButton) {
        TInplaceEdit::mousePressEvent(e);
        return;
    }
    // Wrapped text: the caret goes to the line under the mouse.
    const int pos = WrappedPosAt(p);
    int anchor = cursorPosition();
    if (hasSelectedText())
        anchor = anchor == selectionStart() ? selectionEnd() : selectionStart();
    const bool pendingClick = FClickTime != 0;
    QPointer<TDBGridInplaceEdit> self(this);
    TInplaceEdit::mousePressEvent(e);
    if (!self || (pendingClick && FClickTime == 0))
        return;   // taken as a double click
    if (e->modifiers() & Qt::ShiftModifier) {
        setSelection(anchor, pos - anchor);
    } else {
        setCursorPosition(pos);
        anchor = pos;
    }
    FWrapAnchor = anchor;
    update();
}

void TDBGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QPointer<TDBGridInplaceEdit> self(this);
    const int pos = FWordWrap ? WrappedPosAt(e->position().toPoint()) : -1;
    TInplaceEdit::mouseDoubleClickEvent(e);
    if (!self)
        return;
    if (FWordWrap && pos >= 0 && isVisible()) {
        // The word under the mouse in the wrapped text.
        setCursorPosition(pos);
        cursorWordBackward(false);
        cursorWordForward(true);
        FWrapAnchor = -1;
    }
    TColumnGx* column = EditColumn();
    if (column && column->DblClickNextVal())
        Application->Guard([&] { column->StepFieldValue(e->modifiers() & Qt::ShiftModifier ? -1 : 1); });
}

void TDBGridInplaceEdit::RepaintGridSelection()
{
    if (FDBGrid)
        FDBGrid->InvalidateSelection();
}

void TDBGridInplaceEdit::focusInEvent(QFocusEvent* e)
{
    RepaintGridSelection();
    TInplaceEdit::focusInEvent(e);
}

void TDBGridInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    QWidget* to = QApplication::focusWidget();
    if (FListVisible && !FocusInDropDown(to) && !DropDownHoldsFocusGx(FActiveList))
        Application->Guard([&] { CloseUp(false); });
    else if (MRUListVisible() && !DropDownHoldsFocusGx(FMRUListControl) &&
             !(to && (to == FMRUListControl || FMRUListControl->isAncestorOf(to))))
        Application->Guard([&] { CloseMRUList(false); });
    RepaintGridSelection();
    TInplaceEdit::focusOutEvent(e);
}
