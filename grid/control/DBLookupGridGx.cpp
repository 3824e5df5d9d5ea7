// The lookup grid: binding of its data field and its list, the key value with
// the special row, keys, incremental search, the mouse, the scroll bar and its
// height in whole rows.
#include "DBLookupGridGx.h"

#include "DBGridGxDataLink.h"
#include "DBGridGxRoutines.h"
#include "GridsGx.h"
#include "grid/support/ToolCtrlsGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Canvas.h"
#include "platform/db/DBTypes.h"
#include "platform/gui/DrawUtils.h"

#include <QDateTime>
#include <QResizeEvent>
#include <algorithm>

std::function<qint64()> TDBLookupGridGx::TickCount = [] { return QDateTime::currentMSecsSinceEpoch(); };

namespace {

// The tick of the last printable key of any lookup grid's incremental search.
qint64 LastSearchTick = 0;

[[noreturn]] void RaiseDatabaseError(const QString& message)
{
    DatabaseError(message);
}

std::vector<TField*> ResolveFields(TDataSet* ds, const QString& names, const QString& gridName)
{
    std::vector<TField*> out;
    if (!ds || names.isEmpty())
        return out;
    for (const QString& part : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        TField* f = ds->FindField(part.trimmed());
        if (!f)
            RaiseDatabaseError(gridName.isEmpty() ? QStringLiteral("Field '%1' not found").arg(part.trimmed())
                                                  : QStringLiteral("%1: Field '%2' not found").arg(gridName, part.trimmed()));
        out.push_back(f);
    }
    return out;
}

QString JoinFieldNames(const std::vector<TField*>& fields)
{
    QStringList names;
    for (TField* f : fields)
        names << f->FieldName();
    return names.join(QLatin1Char(';'));
}

Variant FieldsValue(const std::vector<TField*>& fields)
{
    if (fields.empty())
        return Variant::Null();
    if (fields.size() == 1)
        return fields.front()->Value();
    std::vector<Variant> values;
    for (TField* f : fields)
        values.push_back(f->Value());
    return Variant::Array(values);
}

} // namespace

// ---------------------------------------------------------------- data link

void TLookupGridDataLinkGx::ActiveChanged()
{
    if (FDBLookupGrid)
        FDBLookupGrid->UpdateDataFields();
}

void TLookupGridDataLinkGx::LayoutChanged()
{
    if (FDBLookupGrid)
        FDBLookupGrid->UpdateDataFields();
}

void TLookupGridDataLinkGx::RecordChanged(TField* field)
{
    if (FDBLookupGrid)
        FDBLookupGrid->DataFieldRecordChanged(field);
}

void TLookupGridDataLinkGx::FocusControl(TField*& field)
{
    if (FDBLookupGrid && field && field == FDBLookupGrid->Field() && FDBLookupGrid->CanFocus()) {
        field = nullptr;
        FDBLookupGrid->setFocus();
    }
}

// ---------------------------------------------------------------- special-row cell of a column

TGridColumnSpecCellGx::TGridColumnSpecCellGx(TColumnGx* owner) : FOwner(owner)
{
    FFont.OnChange = [this] {
        if (!FReadingFont)
            FFontAssigned = true;
    };
}

TDBLookupGridGx* TGridColumnSpecCellGx::LookupGrid() const
{
    auto* column = dynamic_cast<TDBLookupGridColumnGx*>(FOwner);
    return column ? column->LookupGrid() : nullptr;
}

QString TGridColumnSpecCellGx::Text() const
{
    if (FTextAssigned)
        return FText;
    TDBLookupGridGx* grid = LookupGrid();
    return grid ? grid->SpecRow()->CellTextAt(FOwner->Index()) : FText;
}

void TGridColumnSpecCellGx::SetText(const QString& value)
{
    if (FTextAssigned && value == FText)
        return;
    if (!FTextAssigned && value == Text())
        return;
    FText = value;
    FTextAssigned = true;
}

TColor TGridColumnSpecCellGx::Color() const
{
    if (FColorAssigned)
        return FColor;
    TDBLookupGridGx* grid = LookupGrid();
    return grid ? grid->SpecRow()->Color() : FColor;
}

void TGridColumnSpecCellGx::SetColor(TColor value)
{
    if (value == Color())
        return;
    FColor = value;
    FColorAssigned = true;
}

TFont* TGridColumnSpecCellGx::Font()
{
    if (!FFontAssigned)
        if (TDBLookupGridGx* grid = LookupGrid()) {
            FReadingFont = true;
            FFont.Assign(*grid->SpecRow()->Font());
            FReadingFont = false;
        }
    return &FFont;
}

void TGridColumnSpecCellGx::Assign(const TGridColumnSpecCellGx& source)
{
    SetText(source.Text());
    SetColor(source.Color());
    if (source.FFontAssigned)
        FFont.Assign(source.FFont);
}

// ---------------------------------------------------------------- column

TDBLookupGridColumnGx::TDBLookupGridColumnGx(TDBGridColumnsGx* collection)
    : TColumnGx(collection), FSpecCell(std::make_unique<TGridColumnSpecCellGx>(this))
{
}

TDBLookupGridGx* TDBLookupGridColumnGx::LookupGrid() const
{
    return dynamic_cast<TDBLookupGridGx*>(Grid());
}

void TDBLookupGridColumnGx::SetWidth(int value)
{
    if (!IsDefaultStored()) {
        TColumnGx::SetWidth(value);
        return;
    }
    SetStored(true);
    TColumnGx::SetWidth(value);
    SetStored(false);
}

void TDBLookupGridColumnGx::Assign(const TColumnGx& source)
{
    TColumnGx::Assign(source);
    if (auto* other = dynamic_cast<const TDBLookupGridColumnGx*>(&source))
        FSpecCell->Assign(*other->SpecCell());
}

// ---------------------------------------------------------------- the grid

void TCustomDBGridGx::RecreateColumns()
{
    FColumnDefValues = CreateColumnDefValues();
    FColumns = CreateColumns();
}

TDBLookupGridGx::TDBLookupGridGx(QWidget* AOwner)
    : TCustomDBGridGx(AOwner)
    , FDataLink(std::make_unique<TLookupGridDataLinkGx>(this))
    , FLookupSource(std::make_unique<TDataSource>())
    , FSpecRow(std::make_unique<TSpecRowGx>(nullptr))
{
    RecreateColumns();
    FSpecRow->OnChanged = [this](TSpecRowGx*) { SpecRowChanged(); };
    TCustomDBGridGx::SetOptions({dgColLines, dgRowSelect});
    TDBGridGxOptions gx = OptionsGx();
    gx.Include(dghTraceColSizing);
    SetOptionsGx(gx);
    SetScrollBars(TScrollStyle::ssBoth);
    TCustomDBGridGx::SetFlat(true);
    SetDrawMemoText(true);
    SetTabStop(false);
    SetVTitleMargin(5);
}

TDBLookupGridGx::~TDBLookupGridGx()
{
    FSpecRow->OnChanged = nullptr;
    FDataLink->Detach();
    FDataLink->SetDataSource(nullptr);
    // The list link lets go of the grid's own source before that goes.
    if (TCustomDBGridGx::DataSource() == FLookupSource.get())
        TCustomDBGridGx::SetDataSource(nullptr);
    FLookupSource->SetDataSet(nullptr);
}

std::unique_ptr<TColumnDefValuesGx> TDBLookupGridGx::CreateColumnDefValues()
{
    return std::make_unique<TDBLookupGridColumnDefValuesGx>(this);
}

std::unique_ptr<TDBGridColumnsGx> TDBLookupGridGx::CreateColumns()
{
    return std::make_unique<TDBGridColumnsGx>(this, TDBGridColumnsGx::ColumnClass<TDBLookupGridColumnGx>());
}

// ---------------------------------------------------------------- binding

void TDBLookupGridGx::CheckNotCircular()
{
    if (FDataLink->Active() && ListDataSet() && FDataLink->DataSet() == ListDataSet())
        RaiseDatabaseError(QString::fromLatin1(DBText::CircularDataLink));
}

void TDBLookupGridGx::CheckNotFixed()
{
    if (FLookupMode)
        RaiseDatabaseError(QStringLiteral("Property already defined by lookup field"));
    if (FDataLink->DataSourceFixed())
        RaiseDatabaseError(QStringLiteral("Operation not allowed in a DBCtrlGrid"));
}

void TDBLookupGridGx::SetDataSource(TDataSource* Value)
{
    if (FDataLink->DataSourceFixed())
        return;
    FDataLink->SetDataSource(Value);
    UpdateDataFields();
}

void TDBLookupGridGx::SetDataField(const QString& Value)
{
    if (Value == FDataFieldName)
        return;
    FDataFieldName = Value;
    UpdateDataFields();
}

void TDBLookupGridGx::SetListSource(TDataSource* Value)
{
    CheckNotFixed();
    TCustomDBGridGx::SetDataSource(Value);
    UpdateListFields();
}

void TDBLookupGridGx::SetKeyField(const QString& Value)
{
    CheckNotFixed();
    if (Value == FKeyFieldName)
        return;
    FKeyFieldName = Value;
    UpdateListFields();
    FixColumnWidths();
}

void TDBLookupGridGx::SetListField(const QString& Value)
{
    CheckNotFixed();
    if (Value == FListFieldName)
        return;
    FListFieldName = Value;
    UpdateListFields();
    FixColumnWidths();
}

void TDBLookupGridGx::SetListFieldIndex(int Value)
{
    if (Value == FListFieldIndex)
        return;
    FListFieldIndex = Value;
    if (FListActive && Value >= 0 && Value < int(FListFields.size()))
        FListField = FListFields[size_t(Value)];
    KeyValueChanged();
}

void TDBLookupGridGx::UpdateDataFields()
{
    FMasterFieldNames.clear();
    FDataFields.clear();
    FMasterFields.clear();
    const bool wasLookup = FLookupMode;
    bool lookup = false;
    TField* lookupField = nullptr;
    if (FDataLink->Active() && !FDataFieldName.isEmpty()) {
        CheckNotCircular();
        FDataFields = ResolveFields(FDataLink->DataSet(), FDataFieldName, QString());
        if (FDataFields.size() == 1 && FDataFields.front()->Lookup()) {
            lookup = true;
            lookupField = FDataFields.front();
            FMasterFields = ResolveFields(FDataLink->DataSet(), lookupField->KeyFields, QString());
        } else {
            FMasterFields = FDataFields;
        }
        FMasterFieldNames = JoinFieldNames(FMasterFields);
    }
    FLookupMode = lookup;
    if (lookup) {
        FLookupSource->SetDataSet(lookupField->LookupDataSet);
        FKeyFieldName = lookupField->LookupKeyFields;
        TCustomDBGridGx::SetDataSource(FLookupSource.get());
        UpdateListFields();
    } else if (wasLookup) {
        TCustomDBGridGx::SetDataSource(nullptr);
        FKeyFieldName.clear();
        FLookupSource->SetDataSet(nullptr);
        UpdateListFields();
    }
    DataFieldRecordChanged(nullptr);
}

void TDBLookupGridGx::DataFieldRecordChanged(TField* Field)
{
    if (Field && std::find(FMasterFields.begin(), FMasterFields.end(), Field) == FMasterFields.end())
        return;
    if (FMasterFields.empty()) {
        if (FDataLink->Active() && !FDataFieldName.isEmpty())
            SetKeyValue(Variant::Null());
        return;
    }
    SetKeyValue(FieldsValue(FMasterFields));
}

void TDBLookupGridGx::ResolveListFields()
{
    TDataSet* ds = ListDataSet();
    if (FLookupMode && Field())
        FKeyFieldName = Field()->LookupKeyFields;
    FKeyFields = ResolveFields(ds, FKeyFieldName, QString());
    if (FListFieldIndex >= 0 && FListFieldIndex < int(FListFields.size()))
        FListField = FListFields[size_t(FListFieldIndex)];
    else if (!FListFields.empty())
        FListField = FListFields.front();
}

void TDBLookupGridGx::UpdateListFields()
{
    FListActive = false;
    FListField = nullptr;
    FListFields.clear();
    struct FinalStep {
        TDBLookupGridGx* grid;
        ~FinalStep()
        {
            if (grid->FListActive)
                grid->KeyValueChanged();
            else
                grid->UpdateListPosition();
        }
    } finalStep{this};
    TDataSet* ds = ListDataSet();
    if (!ListLink()->Active() || !ds || FKeyFieldName.isEmpty())
        return;
    CheckNotCircular();
    FKeyFields = ResolveFields(ds, FKeyFieldName, QString());
    FListFields = ResolveFields(ds, FListFieldName, objectName());
    if (FLookupMode && Field()) {
        TField* result = ds->FindField(Field()->LookupResultField);
        if (!result)
            RaiseDatabaseError(QStringLiteral("Field '%1' not found").arg(Field()->LookupResultField));
        if (std::find(FListFields.begin(), FListFields.end(), result) == FListFields.end())
            FListFields.insert(FListFields.begin(), result);
        FListField = result;
    } else {
        if (FListFields.empty())
            FListFields = FKeyFields;
        if (FListFieldIndex >= 0 && FListFieldIndex < int(FListFields.size()))
            FListField = FListFields[size_t(FListFieldIndex)];
        else if (!FListFields.empty())
            FListField = FListFields.front();
    }
    FListActive = true;
    ResolveListFields();
    if (FLookupMode && Field())
        FListField = ds->FindField(Field()->LookupResultField);
    LayoutChanged();
}

void TDBLookupGridGx::BuildFieldMap()
{
    TGridDataLinkGx* link = ListLink();
    if (Columns()->State() == csCustomized) {
        link->SetSparseMap(true);
        for (int i = 0; i < Columns()->Count(); ++i)
            link->AddMapping(Columns()->GetColumn(i)->FieldName());
        return;
    }
    link->SetSparseMap(false);
    for (TField* f : FListFields)
        link->AddMapping(f->FieldName());
}

void TDBLookupGridGx::GetDataSetFields(std::vector<TField*>& List)
{
    List.insert(List.end(), FListFields.begin(), FListFields.end());
}

void TDBLookupGridGx::LinkActive(bool Value)
{
    TCustomDBGridGx::LinkActive(Value);
    UpdateListFields();
}

void TDBLookupGridGx::DataLayoutChanged()
{
    TCustomDBGridGx::DataLayoutChanged();
    UpdateListFields();
}

void TDBLookupGridGx::DataChanged()
{
    TCustomDBGridGx::DataChanged();
    UpdateListPosition();
}

void TDBLookupGridGx::Scroll(int Distance)
{
    TCustomDBGridGx::Scroll(Distance);
    UpdateListPosition();
}

// ---------------------------------------------------------------- key value

void TDBLookupGridGx::SetKeyValue(const Variant& Value)
{
    if (VariantsEqual(Value, FKeyValue) && Value.IsNull() == FKeyValue.IsNull())
        return;
    FKeyValue = Value;
    KeyValueChanged();
}

bool TDBLookupGridGx::IsKeyValueValid(const std::vector<TField*>&, const Variant&)
{
    return true;
}

bool TDBLookupGridGx::LocateKey()
{
    TDataSet* ds = ListDataSet();
    if (FKeyValue.IsNull() || !ds || !ds->Active() || !IsKeyValueValid(FKeyFields, FKeyValue))
        return false;
    try {
        return ds->Locate(FKeyFieldName, FKeyValue, 0);
    } catch (const std::exception&) {
        return false;
    }
}

void TDBLookupGridGx::KeyValueChanged()
{
    bool found = false;
    if (FSpecRow->Visible()) {
        FSpecRow->SetSelected(VariantsEqual(FSpecRow->Value(), FKeyValue));
        if (!FSpecRow->Selected() && !FLockPosition && FSpecRow->ShowIfNotInKeyList()) {
            found = LocateKey();
            if (found)
                UpdateListPosition();
            else
                FSpecRow->SetSelected(true);
        }
    } else {
        FSpecRow->SetSelected(false);
    }
    if (FListActive && !FLockPosition) {
        found = found || LocateKey();
        if (found || FSpecRow->Selected())
            UpdateListPosition();
        else if (ListDataSet())
            ListDataSet()->First();
    }
    if (FSpecRow->Visible() && FSpecRow->Selected())
        FSelectedItem = FSpecRow->CellTextAt(FListFieldIndex);
    else if (FListField && (FLockPosition || found))
        FSelectedItem = FListField->DisplayText();
    else
        FSelectedItem.clear();
    Invalidate();
}

void TDBLookupGridGx::SpecRowChanged()
{
    ApplyRowCount();
    KeyValueChanged();
    Invalidate();
}

bool TDBLookupGridGx::CanModifyKeyValue()
{
    if (!FListActive || ReadOnly())
        return false;
    if (!FDataLink->DataSource())
        return true;
    return !FMasterFields.empty() && AllFieldsCanModify(FMasterFields);
}

void TDBLookupGridGx::SelectKeyValue(const Variant& Value)
{
    if (FMasterFields.empty()) {
        SetKeyValue(Value);
    } else if (FDataLink->Edit()) {
        if (FMasterFields.size() == 1)
            FMasterFields.front()->SetValue(Value);
        else
            for (size_t i = 0; i < FMasterFields.size(); ++i)
                FMasterFields[i]->SetValue(Value.IsArray() ? Value.ArrayItem(int(i)) : Value);
    }
    UpdateActiveRow();
    Invalidate();
    Click();
}

void TDBLookupGridGx::SelectCurrent()
{
    TDataSet* ds = ListDataSet();
    if (!ds || FKeyFields.empty())
        return;
    FLockPosition = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{FLockPosition};
    const Variant current = FieldsValue(FKeyFields);
    if (!VariantsEqual(current, FKeyValue) || FSpecRow->Selected()) {
        FSpecRow->SetSelected(false);
        SelectKeyValue(current);
        KeyValueChanged();
    }
}

void TDBLookupGridGx::SelectSpecRow()
{
    FLockPosition = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{FLockPosition};
    if (!VariantsEqual(FSpecRow->Value(), FKeyValue) || FKeyValue.IsNull() != FSpecRow->Value().IsNull())
        SelectKeyValue(FSpecRow->Value());
    FSpecRow->SetSelected(true);
    FSelectedItem = FSpecRow->CellTextAt(FListFieldIndex);
    Invalidate();
}

// ---------------------------------------------------------------- list position and the key row

void TDBLookupGridGx::UpdateListPosition()
{
    TDataSet* ds = ListDataSet();
    if (FListActive && ds) {
        FRecordIndex = ListLink()->ActiveRecord();
        FRecordCount = ListLink()->RecordCount();
        FKeySelected = !(FKeyValue.IsNull() && ds->Bof());
    } else {
        FRecordIndex = 0;
        FRecordCount = 0;
        FKeySelected = false;
    }
    if (HandleAllocated()) {
        UpdateScrollBar();
        UpdateActiveRow();
        Invalidate();
    }
}

int TDBLookupGridGx::FindKeyRow()
{
    if (!ListLink()->Active() || FKeyFields.empty() || FKeyValue.IsNull())
        return -1;
    const int saved = ListLink()->ActiveRecord();
    int found = -1;
    for (int i = 0; i < ListLink()->RecordCount() && found < 0; ++i) {
        ListLink()->SetActiveRecord(i);
        if (VariantsEqual(FieldsValue(FKeyFields), FKeyValue))
            found = i;
    }
    ListLink()->SetActiveRecord(saved);
    return found;
}

void TDBLookupGridGx::UpdateActiveRow()
{
    FKeyRowVisible = false;
    if (!ListLink()->Active() || !HandleAllocated())
        return;
    const int row = FindKeyRow();
    if (row < 0)
        return;
    const int gridRow = row + TopDataOffset();
    if (gridRow != Row() && gridRow < GridRowCount()) {
        if (!Options().Contains(dgAlwaysShowEditor))
            HideEditor();
        MoveColRow(Col(), gridRow, false, false);
    }
    FKeyRowVisible = true;
}

bool TDBLookupGridGx::HighlightDataCellColor(int, int, const Variant&, TGridDrawState, TColor& AColor, TFont* AFont)
{
    if (FKeyValue.IsNull() || !ListLink()->Active() || FKeyFields.empty() || UpdateLockCount() > 0)
        return false;
    if (!VariantsEqual(FieldsValue(FKeyFields), FKeyValue))
        return false;
    AColor = clHighlight;
    if (AFont)
        AFont->SetColor(clHighlightText);
    return true;
}

int TDBLookupGridGx::MoveList(int Distance)
{
    TDataSet* ds = ListDataSet();
    return ds && Distance != 0 ? ds->MoveBy(Distance) : 0;
}

// ---------------------------------------------------------------- keys

void TDBLookupGridGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TDataSet* ds = ListDataSet();
    if (ds && CanModifyKeyValue()) {
        const bool horzHidden = !ScrollBarVisible(SB_HORZ);
        int delta = 0;
        bool handled = true;
        bool toFirst = false, toLast = false;
        switch (Key) {
        case VK_PRIOR: delta = -std::max(1, FRowCount); break;
        case VK_NEXT: delta = std::max(1, FRowCount); break;
        case VK_END: toLast = true; break;
        case VK_HOME: toFirst = true; break;
        case VK_LEFT: if (horzHidden) delta = -1; else handled = false; break;
        case VK_RIGHT: if (horzHidden) delta = 1; else handled = false; break;
        case VK_UP: delta = -1; break;
        case VK_DOWN: delta = 1; break;
        default: handled = false; break;
        }
        if (handled) {
            UserChangedKey();
            FSearchText.clear();
            const bool specVisible = FSpecRow->Visible();
            if (delta < 0 && specVisible && (FSpecRow->Selected() || (ds->Bof() && FindKeyRow() == 0))) {
                SelectSpecRow();
                ds->First();
            } else if ((delta > 0 && specVisible && FSpecRow->Selected()) || toFirst) {
                ds->First();
                SelectCurrent();
            } else if (toLast) {
                ds->Last();
                SelectCurrent();
            } else {
                const int keyRow = FindKeyRow();
                if (keyRow < 0) {
                    KeyValueChanged();
                    if (!FSpecRow->Selected() || !specVisible)
                        SelectCurrent();
                } else {
                    MoveList(keyRow - ListLink()->ActiveRecord());
                    const int moved = MoveList(delta);
                    if (moved == 0 && delta < 0 && specVisible && !FSpecRow->Selected())
                        SelectSpecRow();
                    else
                        SelectCurrent();
                }
            }
            Key = 0;
            return;
        }
    }
    TCustomDBGridGx::KeyDown(Key, Shift);
}

void TDBLookupGridGx::KeyPress(QChar& Key)
{
    ProcessSearchKey(Key);
    if (Key.unicode() >= 32 || Key.unicode() == 8 || Key.unicode() == 27)
        return;
    TCustomDBGridGx::KeyPress(Key);
}

void TDBLookupGridGx::ProcessSearchKey(QChar Key)
{
    TDataSet* ds = ListDataSet();
    if (!FListField || !ds)
        return;
    const TFieldKind kind = FListField->FieldKind();
    const TFieldType type = FListField->DataType();
    if (!(kind == fkData || kind == fkInternalCalc) || !(type == ftString || type == ftWideString))
        return;
    const ushort c = Key.unicode();
    if (c == 8 || c == 27) {
        FSearchText.clear();
        return;
    }
    if (c < 32 || !CanModifyKeyValue())
        return;
    const qint64 now = TickCount();
    if (now - LastSearchTick > SearchTimeWindowMs)
        FSearchText.clear();
    LastSearchTick = now;
    if (FSearchText.size() >= SearchTextLimit)
        return;
    const QString text = FSearchText + Key;
    try {
        if (ds->Locate(FListField->FieldName(), Variant(text), loCaseInsensitive | loPartialKey)) {
            UserChangedKey();
            SelectKeyValue(FieldsValue(FKeyFields));
            FSearchText = text;
        }
    } catch (const std::exception&) {
        FSearchText = text;
    }
}

// ---------------------------------------------------------------- mouse

bool TDBLookupGridGx::IsSpecRowAt(int X, int Y)
{
    if (!FSpecRow->Visible())
        return false;
    const int row = HasTitles() ? 1 : 0;
    const TRect r = CellRect(IndicatorOffset(), row);
    return Y >= r.Top && Y < r.Bottom && X >= 0 && X < width();
}

void TDBLookupGridGx::SelectItemAt(int X, int Y)
{
    if (IsSpecRowAt(X, Y)) {
        SelectSpecRow();
        return;
    }
    const TRect data = DataRect();
    if (Y < data.Top)
        return;
    Y = std::min(Y, ClientHeight() - 1);
    const TGridCoord cell = MouseCoord(std::max(X, data.Left), Y);
    if (cell.Y < TopDataOffset())
        return;
    MoveList(cell.Y - TopDataOffset() - ListLink()->ActiveRecord());
    SelectCurrent();
}

void TDBLookupGridGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    const bool onData = cell.X >= IndicatorOffset() && cell.Y >= TopDataOffset();
    if (!(onData || IsSpecRowAt(X, Y))) {
        TCustomDBGridGx::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Button != mbLeft)
        return;
    FSearchText.clear();
    if (!FPopup) {
        if (!hasFocus() && CanFocus())
            setFocus();
        if (!hasFocus())
            return;
    }
    if (!CanModifyKeyValue())
        return;
    if (Shift.contains(ssDouble) && cell.Y == Row()) {
        DblClick();
        return;
    }
    UserChangedKey();
    SetMouseCapture(true);
    FTracking = true;
    SelectItemAt(X, Y);
}

void TDBLookupGridGx::StopTracking()
{
    if (!FTracking)
        return;
    FTracking = false;
    SetMouseCapture(false);
    KillTimer(1);
}

void TDBLookupGridGx::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FTracking) {
        UserChangedKey();
        SelectItemAt(X, Y);
        TrackMouseSelection(Shift, X, Y);
        return;
    }
    TCustomDBGridGx::MouseMove(Shift, X, Y);
}

void TDBLookupGridGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FTracking) {
        StopTracking();
        SelectItemAt(X, Y);
        return;
    }
    TCustomDBGridGx::MouseUp(Button, Shift, X, Y);
}

void TDBLookupGridGx::TrackMouseSelection(TShiftState, int, int Y)
{
    TDataSet* ds = ListDataSet();
    if (!ds)
        return;
    int beyond = 0;
    if (Y < 0) {
        beyond = -Y;
        if (ds->Bof() && FSpecRow->Visible())
            SelectSpecRow();
        else if (MoveList(-1) != 0)
            SelectCurrent();
    } else if (Y >= ClientHeight()) {
        beyond = Y - ClientHeight() + 1;
        if (MoveList(1) != 0)
            SelectCurrent();
    } else {
        KillTimer(1);
        return;
    }
    // 200 ms less 15 ms per pixel beyond the edge.
    SetTimer(1, GridTimerInterval(std::max(0, 200 - 15 * beyond)));
}

void TDBLookupGridGx::Timer(UINT id)
{
    if (id == 1 && FTracking) {
        const TPoint p = CursorPos();
        TrackMouseSelection(CurrentShiftState(), p.X, p.Y);
        return;
    }
    TCustomDBGridGx::Timer(id);
}

bool TDBLookupGridGx::DoMouseWheel(TShiftState, int WheelDelta, TPoint)
{
    if (ListDataSet() && FListActive) {
        if (WheelDelta < 0)
            MoveList(ListLink()->RecordCount() - ListLink()->ActiveRecord());
        else if (WheelDelta > 0)
            MoveList(-(ListLink()->ActiveRecord() + 1));
    }
    return true;
}

// ---------------------------------------------------------------- the vertical scroll bar

void TDBLookupGridGx::ScrollBarMessage(int Bar, int ScrollCode, int Pos)
{
    TDataSet* ds = ListDataSet();
    if (Bar != SB_VERT || !FListActive || !ds) {
        TCustomDBGridGx::ScrollBarMessage(Bar, ScrollCode, Pos);
        return;
    }
    FSearchText.clear();
    const int index = ListLink()->ActiveRecord();
    const int count = ListLink()->RecordCount();
    switch (ScrollCode) {
    case SB_LINEUP: MoveList(-(index + 1)); break;
    case SB_LINEDOWN: MoveList(count - index); break;
    case SB_PAGEUP: MoveList(1 - count - index); break;
    case SB_PAGEDOWN: MoveList(2 * count - 2 - index); break;
    case SB_TOP: ds->First(); break;
    case SB_BOTTOM: ds->Last(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        if (ds->IsSequenced()) {
            ListLink()->SetActiveRecord(0);
            const int r = ds->RecNo() - 1;
            if (Pos < r)
                MoveList(Pos - r);
            else if (Pos > r)
                MoveList(ListLink()->BufferCount() + Pos - r - 1);
            else
                ListLink()->SetActiveRecord(index);
        } else if (ScrollCode == SB_THUMBPOSITION) {
            switch (Pos) {
            case 0: ds->First(); break;
            case 1: MoveList(1 - count - index); break;
            case 3: MoveList(2 * count - 2 - index); break;
            case 4: ds->Last(); break;
            default: break;
            }
        }
        break;
    default: break;
    }
}

void TDBLookupGridGx::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    TScrollInfo si;
    si.fMask = SIF_ALL;
    TDataSet* ds = ListDataSet();
    if (!FListActive || !ds || !ListLink()->Active()) {
        si.nMin = 0;
        si.nMax = 2;
        si.nPos = 0;
    } else if (ds->IsSequenced()) {
        si.nMin = 0;
        si.nMax = std::max(0, ds->RecordCount() - 1);
        si.nPage = UINT(std::max(0, ListLink()->RecordCount()));
        const int saved = ListLink()->ActiveRecord();
        ListLink()->SetActiveRecord(0);
        si.nPos = std::max(0, ds->RecNo() - 1);
        ListLink()->SetActiveRecord(saved);
    } else {
        si.nMin = 0;
        si.nMax = 4;
        si.nPos = ds->Bof() ? 0 : ds->Eof() ? 4 : 2;
        if (ListLink()->RecordCount() < ListLink()->BufferCount())
            si.nMax = 0;
    }
    if (si.nMin == FLastScrollInfo.nMin && si.nMax == FLastScrollInfo.nMax && si.nPage == FLastScrollInfo.nPage &&
        si.nPos == FLastScrollInfo.nPos)
        return;
    FLastScrollInfo = si;
    SetScrollInfo(SB_VERT, si, true);
}

// ---------------------------------------------------------------- focus, cursor, hint

void TDBLookupGridGx::FocusSet()
{
    TCustomDBGridGx::FocusSet();
    FSearchText.clear();
    FHasFocus = true;
    Invalidate();
}

void TDBLookupGridGx::FocusKilled()
{
    TCustomDBGridGx::FocusKilled();
    FHasFocus = false;
    Invalidate();
}

TCursor TDBLookupGridGx::CursorAt(int X, int Y)
{
    if (IsSpecRowAt(X, Y))
        return Cursor();
    return TCustomDBGridGx::CursorAt(X, Y);
}

bool TDBLookupGridGx::HintAt(const TPoint& p, QString& text, TRect& area)
{
    return TCustomControl::HintAt(p, text, area);
}

// ---------------------------------------------------------------- special row

bool TDBLookupGridGx::FilterRowUnderTitle() const
{
    return FSpecRow && FSpecRow->Visible();
}

bool TDBLookupGridGx::IsCell3D(int ACol, int ARow, TGridDrawState State, const TRect& ARect)
{
    if (FSpecRow->Visible() && ARow == (HasTitles() ? 1 : 0))
        return false;
    return TCustomDBGridGx::IsCell3D(ACol, ARow, State, ARect);
}

void TDBLookupGridGx::DrawFilterRowCell(int ACol, int, const TRect& ARect, TGridDrawState)
{
    const int dataCol = ACol - IndicatorOffset();
    if (dataCol < 0 || dataCol >= Columns()->Count())
        return;
    auto* column = dynamic_cast<TDBLookupGridColumnGx*>(Columns()->GetColumn(dataCol));
    TCanvas* canvas = Canvas();
    TFont font;
    font.Assign(column ? *column->SpecCell()->Font() : *FSpecRow->Font());
    TColor background = column ? column->SpecCell()->Color() : FSpecRow->Color();
    if (FSpecRow->Selected()) {
        background = clHighlight;
        font.SetColor(clHighlightText);
    }
    canvas->Font()->Assign(font);
    canvas->Brush()->SetColor(background);
    canvas->FillRect(ARect);
    const QString text = column ? column->SpecCell()->Text() : FSpecRow->CellTextAt(dataCol);
    TAlignment alignment = column ? column->Alignment() : taLeftJustify;
    const int flags = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    TRect textRect = ARect;
    textRect.Left += 2;
    textRect.Right -= 2;
    DrawText(canvas, text, textRect, unsigned(flags) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (FSpecRow->Selected() && dataCol == Columns()->Count() - 1) {
        TRect whole = ARect;
        whole.Left = CellRect(IndicatorOffset(), HasTitles() ? 1 : 0).Left;
        canvas->Brush()->SetColor(clWindow);
        canvas->DrawFocusRect(whole);
    }
}

// ---------------------------------------------------------------- sizes

int TDBLookupGridGx::RowLineWidth()
{
    return Options().Contains(dgRowLines) ? GridLineWidth() : 0;
}

int TDBLookupGridGx::GetLookupRowHeight()
{
    return StdDefaultRowHeight() + RowLineWidth();
}

int TDBLookupGridGx::GetSpecRowHeight()
{
    return StdDefaultRowHeight() + RowLineWidth();
}

int TDBLookupGridGx::GetBorderSize()
{
    return HandleAllocated() ? height() - ClientHeight() : 0;
}

int TDBLookupGridGx::TitleRowsHeight()
{
    return ShowTitles() ? TitleRowHeight() + RowLineWidth() : 0;
}

void TDBLookupGridGx::SetRowCount(int Value)
{
    FRowCount = std::clamp(Value, 1, 100);
    ApplyRowCount();
}

void TDBLookupGridGx::ApplyRowCount()
{
    FSpecRowHeight = FSpecRow->Visible() ? GetSpecRowHeight() : 0;
    const int h = TitleRowsHeight() + RowLineWidth() + FRowCount * StdDefaultRowHeight() + FRowCount * RowLineWidth() +
                  GetBorderSize() + FSpecRowHeight;
    FInternalHeightSetting = true;
    resize(width(), h);
    FInternalHeightSetting = false;
}

void TDBLookupGridGx::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FSpecRowHeight = FSpecRow->Visible() ? GetSpecRowHeight() : 0;
    const int rowHeight = std::max(1, GetLookupRowHeight());
    const int rows = std::max(1, (AHeight - GetBorderSize() - TitleRowsHeight() - FSpecRowHeight) / rowHeight);
    FRowCount = rows;
    const int h = TitleRowsHeight() + GetBorderSize() + rows * rowHeight + FSpecRowHeight + RowLineWidth();
    FSettingBounds = true;
    setGeometry(ALeft, ATop, AWidth, h);
    FSettingBounds = false;
}

void TDBLookupGridGx::resizeEvent(QResizeEvent* e)
{
    TCustomDBGridGx::resizeEvent(e);
    if (FInternalHeightSetting || FSettingBounds)
        return;
    // A height set from outside keeps whole rows.
    const int rowHeight = std::max(1, GetLookupRowHeight());
    FSpecRowHeight = FSpecRow->Visible() ? GetSpecRowHeight() : 0;
    FRowCount = std::max(1, (height() - GetBorderSize() - TitleRowsHeight() - FSpecRowHeight) / rowHeight);
}

void TDBLookupGridGx::UpdateRowCount()
{
    TCustomDBGridGx::UpdateRowCount();
    if (!FInternalHeightSetting)
        UpdateListPosition();
}

void TDBLookupGridGx::SetShowTitles(bool Value)
{
    if (Value == ShowTitles())
        return;
    TDBGridOptions o = Options();
    if (Value)
        o.Include(dgTitles);
    else
        o.Exclude(dgTitles);
    TCustomDBGridGx::SetOptions(o);
    ApplyRowCount();
}

void TDBLookupGridGx::SetUseMultiTitle(bool Value)
{
    TCustomDBGridGx::SetUseMultiTitle(Value);
    ApplyRowCount();
}

void TDBLookupGridGx::SetAutoFitColWidths(bool Value)
{
    if (Value == FLGAutoFitColWidths)
        return;
    FLGAutoFitColWidths = Value;
    if (Value)
        SetScrollBars(TScrollStyle::ssVertical);
    else
        SetScrollBars(TScrollStyle::ssBoth);
    TCustomDBGridGx::SetAutoFitColWidths(Value);
    ApplyRowCount();
    UpdateScrollBar();
    FixColumnWidths();
}

void TDBLookupGridGx::SetLookupOptions(TDBLookupGridGxOptions Value)
{
    FOptions = Value;
    TDBGridOptions o = Options();
    auto apply = [&](TDBLookupGridGxOption from, TDBGridOption to) {
        if (Value.Contains(from))
            o.Include(to);
        else
            o.Exclude(to);
    };
    apply(dlgColumnResizeGx, dgColumnResize);
    apply(dlgColLinesGx, dgColLines);
    apply(dlgRowLinesGx, dgRowLines);
    TCustomDBGridGx::SetOptions(o);
    TDBGridGxOptions gx = OptionsGx();
    if (Value.Contains(dlgAutoSortMarkingGx)) gx.Include(dghAutoSortMarking); else gx.Exclude(dghAutoSortMarking);
    if (Value.Contains(dlgMultiSortMarkingGx)) gx.Include(dghMultiSortMarking); else gx.Exclude(dghMultiSortMarking);
    SetOptionsGx(gx);
    ApplyRowCount();
}

int TDBLookupGridGx::GetColumnsWidthToFit()
{
    int width = 0;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnGx* c = Columns()->GetColumn(i);
        if (!c->Visible())
            continue;
        width += FLGAutoFitColWidths && c->InitWidth() > 0 ? c->InitWidth() : c->Width();
        if (Options().Contains(dgColLines))
            width += GridLineWidth();
    }
    return width;
}

TRect TDBLookupGridGx::DataRect()
{
    const int firstRow = FSpecRow->Visible() ? (HasTitles() ? 1 : 0) : TopDataOffset();
    const int lastCol = std::max(IndicatorOffset(), TCustomGridGx::ColCount() - 1);
    const int lastRow = std::min(GridRowCount() - 1,
                                 FooterRowCount() > 0 ? GridRowCount() - FooterRowCount() - 2
                                                      : TopDataOffset() + FRowCount - 1);
    return BoxRect(IndicatorOffset(), firstRow, lastCol, std::max(firstRow, lastRow));
}

void TDBLookupGridGx::ColWidthsChanged()
{
    TCustomDBGridGx::ColWidthsChanged();
    if (!FLGAutoFitColWidths || !HandleAllocated() || GridState() != gsColSizing || FInternalWidthSetting)
        return;
    int width = 0;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnGx* c = Columns()->GetColumn(i);
        width += c->Width() + (Options().Contains(dgColLines) ? GridLineWidth() : 0);
        c->SetInitWidth(c->Width());
    }
    FInternalWidthSetting = true;
    resize(width + (this->width() - ClientWidth()), height());
    FInternalWidthSetting = false;
}

void TDBLookupGridGx::FixColumnWidths()
{
    if (FInternalWidthSetting)
        return;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnGx* c = Columns()->GetColumn(i);
        c->SetInitWidth(c->Width());
    }
    ApplyRowCount();
}

void TDBLookupGridGx::ColumnMoved(int FromIndex, int ToIndex)
{
    const int from = FromIndex - IndicatorOffset();
    const int to = ToIndex - IndicatorOffset();
    const int count = Columns()->Count();
    if (from >= 0 && from < count && to >= 0 && to < count && from != to) {
        // The special row's cells move with their columns.
        QStringList cells = FSpecRow->CellsStrings();
        while (cells.size() < count)
            cells << QString();
        cells.move(from, to);
        if (Columns()->State() != csCustomized && ListLink()->Active()) {
            TField* listField = FListField;
            std::vector<TField*> fields = FListFields;
            if (from < int(fields.size()) && to < int(fields.size())) {
                TField* moved = fields[size_t(from)];
                fields.erase(fields.begin() + from);
                fields.insert(fields.begin() + to, moved);
            }
            TCustomDBGridGx::ColumnMoved(FromIndex, ToIndex);
            FSpecRow->OnChanged = nullptr;
            FSpecRow->SetCellsText(cells.join(QLatin1Char(';')));
            FSpecRow->OnChanged = [this](TSpecRowGx*) { SpecRowChanged(); };
            FListFieldName = JoinFieldNames(fields);
            FListFields = fields;
            const auto it = std::find(fields.begin(), fields.end(), listField);
            FListFieldIndex = it == fields.end() ? 0 : int(it - fields.begin());
            FListField = listField;
            return;
        }
        FSpecRow->OnChanged = nullptr;
        FSpecRow->SetCellsText(cells.join(QLatin1Char(';')));
        FSpecRow->OnChanged = [this](TSpecRowGx*) { SpecRowChanged(); };
    }
    TCustomDBGridGx::ColumnMoved(FromIndex, ToIndex);
}

// ---------------------------------------------------------------- the drop-down data grid

TPopupDataGridGx::TPopupDataGridGx(QWidget* AOwner) : TDBLookupGridGx(AOwner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hide();
    FPopup = true;
    FSizeGrip = new TSizeGripGx(this);
    FSizeGrip->SetTriangleWindow(true);
    FSizeGrip->OnParentResized = [this](TSizeGripGx*) { FSizeGripResized = true; };
    SetShowHint(true);
    setMinimumSize(ScrollBarExtent(), ScrollBarExtent());
}

TPopupDataGridGx::~TPopupDataGridGx() = default;

void TPopupDataGridGx::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    update();
}

void TPopupDataGridGx::resizeEvent(QResizeEvent* e)
{
    TDBLookupGridGx::resizeEvent(e);
    if (FSizeGrip)
        FSizeGrip->UpdatePosition();
}

void TPopupDataGridGx::SizeGripChangePosition(TSizeGripChangePosition Position)
{
    if (FSizeGrip)
        FSizeGrip->ChangePosition(Position);
}

void TPopupDataGridGx::MessageReceived(TMessage& Message)
{
    if (Message.Msg == CM_SETSIZEGRIPCHANGEPOSITION) {
        SizeGripChangePosition(TSizeGripChangePosition(Message.WParam));
        return;
    }
    TDBLookupGridGx::MessageReceived(Message);
}

void TPopupDataGridGx::KeyValueChanged()
{
    TDBLookupGridGx::KeyValueChanged();
    if (FUserKeyValueChanged) {
        FUserKeyValueChanged = false;
        if (OnUserKeyValueChange)
            OnUserKeyValueChange(this);
    }
}

void TPopupDataGridGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TDBLookupGridGx::KeyDown(Key, Shift);
    FUserKeyValueChanged = false;
}

void TPopupDataGridGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FKeySelection = true;
    TDBLookupGridGx::MouseDown(Button, Shift, X, Y);
}

void TPopupDataGridGx::MouseMove(TShiftState Shift, int X, int Y)
{
    const bool buttons = Shift.contains(ssLeft) || Shift.contains(ssRight) || Shift.contains(ssMiddle);
    if (!buttons && !FTracking && !ReadOnly()) {
        const TGridCoord cell = MouseCoord(X, Y);
        if ((cell.Y >= TopDataOffset() && cell.X >= IndicatorOffset()) || IsSpecRowAt(X, Y)) {
            UserChangedKey();
            SelectItemAt(X, Y);
        }
        return;
    }
    TDBLookupGridGx::MouseMove(Shift, X, Y);
}

void TPopupDataGridGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool normal = GridState() == gsNormal;
    TDBLookupGridGx::MouseUp(Button, Shift, X, Y);
    if (!normal || !FKeySelection)
        return;
    FKeySelection = false;
    bool accept;
    const TGridCoord cell = MouseCoord(X, Y);
    if (!rect().contains(X, Y))
        accept = false;
    else if ((cell.X >= IndicatorOffset() && cell.Y >= TopDataOffset()) || IsSpecRowAt(X, Y))
        accept = true;
    else
        return;
    // The owner binds the event before the list shows; a list shown on its own has none.
    if (OnMouseCloseUp)
        OnMouseCloseUp(this, accept);
}

// ---------------------------------------------------------------- a column's list grid

TPopupDataGridGx* TColumnGx::DataList()
{
    if (!FDataList) {
        FDataList = new TPopupDataGridGx(nullptr);
        FDataList->setObjectName(QStringLiteral("DataList"));
    }
    return FDataList;
}

void TColumnGx::DestroyDataList()
{
    delete FDataList;
    FDataList = nullptr;
}
