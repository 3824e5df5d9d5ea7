#pragma once
// The data grid as a list for choosing a key value: TDBLookupGridGx shows the
// records of a list dataset, keeps a key value, marks the list record that holds
// it and, bound to a data field, writes the chosen key into the field. An
// optional special row above the data rows offers one more value ("none").
// TPopupDataGridGx is the same list as a borderless drop-down that never takes
// the focus: the list a grid column opens for lookup fields.
#include "DBGridGx.h"
#include "grid/support/SizeGripGx.h"
#include "grid/support/SpecRowGx.h"
#include "platform/db/DataSource.h"

#include <functional>
#include <memory>
#include <vector>

class TDBLookupGridGx;

// Links the lookup grid to the dataset of its data field (separate from its list).
class TLookupGridDataLinkGx : public TDataLink {
public:
    explicit TLookupGridDataLinkGx(TDBLookupGridGx* grid) : FDBLookupGrid(grid) {}
    TDBLookupGridGx* DBLookupGrid() const { return FDBLookupGrid; }
    void Detach() { FDBLookupGrid = nullptr; }

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void FocusControl(TField*& field) override;

private:
    TDBLookupGridGx* FDBLookupGrid;
};

// The special-row cell of one lookup-grid column: its own text, colour and font
// once set, otherwise the special row's.
class TGridColumnSpecCellGx {
public:
    explicit TGridColumnSpecCellGx(TColumnGx* owner);
    QString Text() const;
    void SetText(const QString& value);
    TColor Color() const;
    void SetColor(TColor value);
    TFont* Font();
    void SetFont(const TFont& value) { FFont.Assign(value); }
    bool TextAssigned() const { return FTextAssigned; }
    bool ColorAssigned() const { return FColorAssigned; }
    bool FontAssigned() const { return FFontAssigned; }
    void Assign(const TGridColumnSpecCellGx& source);

private:
    TDBLookupGridGx* LookupGrid() const;
    TColumnGx* FOwner;
    TFont FFont;
    TColor FColor = clWindow;
    QString FText;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    bool FTextAssigned = false;
    bool FReadingFont = false;
};

class TDBLookupGridColumnGx : public TColumnGx {
public:
    explicit TDBLookupGridColumnGx(TDBGridColumnsGx* collection);
    TGridColumnSpecCellGx* SpecCell() const { return FSpecCell.get(); }
    void SetSpecCell(const TGridColumnSpecCellGx& value) { FSpecCell->Assign(value); }
    TDBLookupGridGx* LookupGrid() const;
    // A default column keeps its width stored while the width changes.
    void SetWidth(int value) override;
    void Assign(const TColumnGx& source) override;

private:
    std::unique_ptr<TGridColumnSpecCellGx> FSpecCell;
};

class TDBLookupGridColumnDefValuesGx : public TColumnDefValuesGx {
public:
    using TColumnDefValuesGx::TColumnDefValuesGx;
};

class TDBLookupGridGx : public TCustomDBGridGx {
public:
    explicit TDBLookupGridGx(QWidget* AOwner = nullptr);
    ~TDBLookupGridGx() override;

    // ---- the data side
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* Value);
    const QString& DataField() const { return FDataFieldName; }
    void SetDataField(const QString& Value);
    // The first data field, or none.
    TField* Field() const { return FDataFields.empty() ? nullptr : FDataFields.front(); }
    bool LookupMode() const { return FLookupMode; }
    const QString& MasterFieldNames() const { return FMasterFieldNames; }

    // ---- the list side
    TDataSource* ListSource() const { return TCustomDBGridGx::DataSource(); }
    void SetListSource(TDataSource* Value);
    TGridDataLinkGx* ListLink() { return TCustomDBGridGx::DataLink(); }
    TDataSet* ListDataSet() const { return TCustomDBGridGx::DataSet(); }
    const QString& KeyField() const { return FKeyFieldName; }
    void SetKeyField(const QString& Value);
    const QString& ListField() const { return FListFieldName; }
    void SetListField(const QString& Value);
    int ListFieldIndex() const { return FListFieldIndex; }
    void SetListFieldIndex(int Value);
    const std::vector<TField*>& ListFields() const { return FListFields; }
    TField* ListFieldObject() const { return FListField; }
    bool ListActive() const { return FListActive; }

    // ---- the key and the choice
    const Variant& KeyValue() const { return FKeyValue; }
    void SetKeyValue(const Variant& Value);
    const QString& SelectedItem() const { return FSelectedItem; }
    const QString& SearchText() const { return FSearchText; }
    void SetSearchText(const QString& Value) { FSearchText = Value; }
    TSpecRowGx* SpecRow() const { return FSpecRow.get(); }
    void SetSpecRow(const TSpecRowGx& Value) { FSpecRow->Assign(Value); }
    bool KeyRowVisible() const { return FKeyRowVisible; }
    bool KeySelected() const { return FKeySelected; }
    int RecordIndex() const { return FRecordIndex; }
    int RecordCount() const { return FRecordCount; }

    // ---- look and size
    TDBLookupGridGxOptions LookupOptions() const { return FOptions; }
    void SetLookupOptions(TDBLookupGridGxOptions Value);
    bool ReadOnly() const override { return FDataLink->ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
    bool ShowTitles() const { return Options().Contains(dgTitles); }
    void SetShowTitles(bool Value);
    // The number of data rows the grid is high (1 to 100).
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    void SetUseMultiTitle(bool Value);
    bool AutoFitColWidths() const override { return FLGAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value);
    int SpecRowHeight() const { return FSpecRowHeight; }

    // The cells of the data rows (from the special row when it shows).
    TRect DataRect();
    int GetColumnsWidthToFit();
    virtual bool LocateKey();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool HighlightDataCellColor(int DataCol, int DataRow, const Variant& Value, TGridDrawState AState,
                                TColor& AColor, TFont* AFont) override;

    // The clock the incremental search's 2-second window is measured on, shared by
    // every lookup grid; tests may replace it.
    static std::function<qint64()> TickCount;
    static constexpr int SearchTimeWindowMs = 2000;
    static constexpr int SearchTextLimit = 32;

    // ---- new virtual operations
    virtual bool CanModifyKeyValue();
    virtual bool IsKeyValueValid(const std::vector<TField*>& KeyFields, const Variant& Value);
    virtual int GetBorderSize();
    virtual int GetSpecRowHeight();
    virtual int GetLookupRowHeight();
    virtual void KeyValueChanged();
    virtual void UpdateListPosition();
    virtual void ProcessSearchKey(QChar Key);
    virtual void SelectKeyValue(const Variant& Value);
    virtual void SpecRowChanged();
    virtual void FixColumnWidths();
    virtual void UpdateDataFields();
    virtual void UpdateListFields();
    void DataFieldRecordChanged(TField* Field);
    void SelectCurrent();
    void SelectSpecRow();
    void SelectItemAt(int X, int Y);
    // Whether a client point lies on the special row.
    bool IsSpecRowAt(int X, int Y);

    // ---- grid operations
    void LinkActive(bool Value) override;
    void DataChanged() override;
    void Scroll(int Distance) override;
    void DataLayoutChanged() override;
    void UpdateActiveRow() override;
    void UpdateRowCount() override;
    void UpdateScrollBar() override;
    bool ShowFocusHighlight() override { return FKeyRowVisible; }
    bool IsCell3D(int ACol, int ARow, TGridDrawState State, const TRect& ARect) override;
    bool FilterRowUnderTitle() const override;
    void DrawFilterRowCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void BuildFieldMap() override;
    void GetDataSetFields(std::vector<TField*>& List) override;
    void ColWidthsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void TrackMouseSelection(TShiftState Shift, int X, int Y) override;
    UINT GetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void ScrollBarMessage(int Bar, int ScrollCode, int Pos) override;
    void FocusSet() override;
    void FocusKilled() override;
    void Timer(UINT id) override;
    TCursor CursorAt(int X, int Y) override;
    bool HintAt(const TPoint& p, QString& text, TRect& area) override;

protected:
    std::unique_ptr<TColumnDefValuesGx> CreateColumnDefValues() override;
    std::unique_ptr<TDBGridColumnsGx> CreateColumns() override;
    void resizeEvent(QResizeEvent* e) override;
    // The grid's own row count (title, special and data rows).
    int GridRowCount() const { return TCustomGridGx::RowCount(); }
    // The record the grid's list cursor stands on, in the buffered rows.
    int ActiveListRecord() { return ListLink()->ActiveRecord(); }
    // Moves the list cursor; how far it moved.
    int MoveList(int Distance);
    // The buffered row holding the key, -1 when none.
    int FindKeyRow();
    // The key or mouse that changed the key was the user's.
    virtual void UserChangedKey() {}
    void StopTracking();

    bool FPopup = false;
    bool FTracking = false;
    bool FLockPosition = false;

private:
    friend class TLookupGridDataLinkGx;
    void CheckNotCircular();
    void CheckNotFixed();
    void ResolveListFields();
    int TitleRowsHeight();
    int RowLineWidth();
    void ApplyRowCount();

    QString FDataFieldName;
    std::vector<TField*> FDataFields;
    std::unique_ptr<TLookupGridDataLinkGx> FDataLink;
    QString FMasterFieldNames;
    std::vector<TField*> FMasterFields;
    bool FLookupMode = false;
    std::unique_ptr<TDataSource> FLookupSource;
    QString FKeyFieldName;
    std::vector<TField*> FKeyFields;
    QString FListFieldName;
    std::vector<TField*> FListFields;
    TField* FListField = nullptr;
    int FListFieldIndex = 0;
    bool FListActive = false;
    Variant FKeyValue = Variant::Null();
    bool FKeySelected = false;
    bool FKeyRowVisible = false;
    bool FHasFocus = false;
    int FRecordCount = 0;
    int FRecordIndex = 0;
    int FRowCount = 7;
    QString FSearchText;
    QString FSelectedItem;
    std::unique_ptr<TSpecRowGx> FSpecRow;
    TDBLookupGridGxOptions FOptions{dlgColLinesGx};
    int FSpecRowHeight = 0;
    bool FLGAutoFitColWidths = false;
    bool FInternalWidthSetting = false;
    bool FInternalHeightSetting = false;
    bool FSettingBounds = false;
    TScrollInfo FLastScrollInfo{};
};

using TCloseUpEventGx = std::function<void(QObject* Sender, bool Accept)>;

class TPopupDataGridGx : public TDBLookupGridGx, public ISizeGripChangeTargetGx {
public:
    explicit TPopupDataGridGx(QWidget* AOwner = nullptr);
    ~TPopupDataGridGx() override;

    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }
    TSizeGripGx* SizeGrip() const { return FSizeGrip; }
    bool SizeGripResized() const { return FSizeGripResized; }
    void SetSizeGripResized(bool Value) { FSizeGripResized = Value; }
    bool CanFocusList() const { return false; }

    TCloseUpEventGx OnMouseCloseUp;
    TNotifyEvent OnUserKeyValueChange;

    void KeyValueChanged() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void SizeGripChangePosition(TSizeGripChangePosition Position) override;
    void MessageReceived(TMessage& Message) override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void UserChangedKey() override { FUserKeyValueChanged = true; }

private:
    TSizeGripGx* FSizeGrip = nullptr;
    bool FSizeGripResized = false;
    bool FUserKeyValueChanged = false;
    bool FKeySelection = false;
    bool FCtl3D = true;
    bool FParentCtl3D = false;
};
