#pragma once
// The data grid's link to its data source, with the field map that tells which
// dataset field each grid column position shows, and the grid's list of selected
// records.
#include "DBGridGxIntf.h"
#include "grid/support/BMListGx.h"
#include "platform/db/DataSource.h"
#include "platform/gui/Graphics.h"
#include <vector>

class TGridDataLinkGx : public TDataLink {
public:
    // The field map holds fewer entries than this.
    static constexpr int MaxMapSize = 0x0FFFFFFF;

    explicit TGridDataLinkGx(IDBGridGx* grid);
    ~TGridDataLinkGx() override;

    IDBGridGx* Grid() const { return FGrid; }
    // Appends a map entry for the named field; True.
    bool AddMapping(const QString& fieldName);
    void ClearMapping();
    TField* GetMappedField(int index) const;
    int GetMappedFieldIndex(int index) const;
    int FieldCount() const { return FFieldCount; }
    int FieldMapSize() const { return FFieldMapSize; }
    // Names that are not fields map to -1 instead of failing.
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool value) { FSparseMap = value; }
    bool DefaultFields() const;
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }
    // A modified editor drops its edit (record changed); otherwise the dataset cancels.
    void Reset();
    const TBookmark& LastBookmark() const { return FLastBookmark; }
    void DataEvent(TDataEvent event, qintptr info) override;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void FocusControl(TField*& field) override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void TakeBookmark();
    int FFieldCount = 0;
    std::vector<int> FFieldMap;
    int FFieldMapSize = 0;
    IDBGridGx* FGrid;
    bool FInUpdateData = false;
    bool FModified = false;
    bool FSparseMap = false;
    TBookmark FLastBookmark;
};

class TBookmarkListGx : public TBMListGx {
public:
    explicit TBookmarkListGx(IDBGridGx* grid) : FGrid(grid) {}
    void Clear() override;
    void SetCurrentRowSelected(bool value) override;
    // Grid rows (with the title offset) from column 0 to the last column holding
    // the visible selected records; (-1, -1, -1, -1) when none is visible.
    TRect SelectionToGridRect();

protected:
    TDataSet* GetDataSet() const override;
    void Invalidate() override;
    void ItemChanged(const TBookmark& item) override;
    void ListChanged() override;

private:
    IDBGridGx* FGrid;
};
