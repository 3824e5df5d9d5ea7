#pragma once
// TDataSource connects data links (grids, data-aware editors) to a dataset; TDataLink is the
// base class of every such link and receives the dataset's notifications as virtual calls.
//
// A link sees BufferCount records of the dataset's buffer window: RecordCount of them are
// filled, ActiveRecord is the current one among them. Painting code may set ActiveRecord to
// read another row's fields, and must restore it afterwards.
//
// Notifications (override in a subclass; DataEvent dispatches them):
//   ActiveChanged        the dataset opened or closed (or the link got another dataset)
//   DataSetChanged       the records of the window changed (jump, post, delete, refresh)
//   DataSetScrolled(d)   the window moved by d rows (d = 0: only the current row changed)
//   RecordChanged(f)     field f (nullptr: the whole current record) changed
//   LayoutChanged        the fields changed
//   EditingChanged       Editing() changed
//   UpdateData           the dataset is about to post: store pending edits now
//   CheckBrowseMode      the dataset is about to leave edit/insert
//   FocusControl(f)      focus the editor of f and set f to nullptr when done
#include "DataSet.h"
#include <functional>
#include <vector>

class TDataSource {
public:
    using TDataChangeEvent = std::function<void(TDataSource* sender, TField* field)>;
    using TNotifyEvent = std::function<void(TDataSource* sender)>;

    TDataSource() = default;
    explicit TDataSource(TDataSet* ds) { SetDataSet(ds); }
    ~TDataSource();
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* ds);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v);
    bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool v) { m_autoEdit = v; }
    TDataSetState State() const { return m_state; }
    // Puts the dataset in edit mode when AutoEdit and it is browsing.
    void Edit();
    bool IsLinkedTo(const TDataSet* ds) const;
    QString Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }

    TDataChangeEvent OnDataChange;    // dataset changed / scrolled / record changed
    TNotifyEvent OnStateChange;
    TNotifyEvent OnUpdateData;

    // used by TDataSet / TDataLink
    void DataEvent(TDataEvent event, qintptr info);
    int MaxBufferCount() const;
    const std::vector<TDataLink*>& DataLinks() const { return m_links; }

private:
    friend class TDataLink;
    friend class TDataSet;
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void NotifyState();
    TDataSet* m_dataSet = nullptr;
    std::vector<TDataLink*> m_links;
    bool m_enabled = true;
    bool m_autoEdit = true;
    TDataSetState m_state = dsInactive;
    QString m_name;
};

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* ds);
    TDataSet* DataSet() const;
    bool DataSourceFixed() const { return m_dataSourceFixed; }
    void SetDataSourceFixed(bool v) { m_dataSourceFixed = v; }
    bool Active() const { return m_active; }
    bool Editing() const { return m_editing; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    bool VisualControl() const { return m_visualControl; }
    void SetVisualControl(bool v) { m_visualControl = v; }

    // the link's part of the buffer window
    int BufferCount() const { return m_bufferCount; }
    void SetBufferCount(int v);
    int ActiveRecord() const;
    void SetActiveRecord(int v);
    int RecordCount() const;
    bool Bof() const;
    bool Eof() const;

    // Puts the dataset in edit mode through the data source (AutoEdit); returns Editing().
    bool Edit();
    void UpdateRecord();           // stores pending edits (calls UpdateData once)
    int MoveBy(int distance);      // moves the dataset; returns the distance moved

    // Dispatches a dataset event to the virtual notifications below.
    virtual void DataEvent(TDataEvent event, qintptr info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void FocusControl(TField*& /*field*/) {}
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    friend class TDataSet;
    void SetActive(bool v);
    void UpdateState();
    void SetEditing(bool v);
    int UpdateRange(int shift);   // keeps the active record inside; returns rows the link moved

    TDataSource* m_dataSource = nullptr;
    bool m_dataSourceFixed = false;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    bool m_visualControl = false;
    int m_bufferCount = 1;
    int m_firstRecord = 0;      // window row of the link's first row
};
