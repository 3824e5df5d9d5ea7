#pragma once
// TDataPacket: a client dataset's records and metadata as one shared immutable value; a null
// packet stands for "no packet". TClientDataSet: the in-memory dataset with a change log.
//
// Change log (LogChanges true, the default): every posted insert, edit and delete is logged.
//   UpdateStatus()   of the current record: usUnmodified, usModified or usInserted
//   ChangeCount()    number of logged changes still pending
//   Delta()          the pending changes as a packet, one row per change, in the order the
//                    records were first changed:
//                      edited record:   usUnmodified row with the old values, then a
//                                       usModified row holding only the changed fields
//                                       (every other field Unassigned, so IsNull);
//                      inserted record: one usInserted row with its values;
//                      deleted record:  one usDeleted row with its old values.
//                    A record inserted and then deleted leaves nothing; a cancelled edit logs
//                    nothing. A delta loaded with SetData shows every row (UpdateStatus per row).
//   MergeChangeLog() accepts the changes (they become the new baseline)
//   CancelUpdates()  drops the changes (records come back as they were)
// Data() holds the records and the pending change log; SetData(packet) loads one (closing and
// reopening the dataset); AppendData adds a packet's rows and keeps the current record.
// Open() without a packet reads one from the provider (SetProvider), PacketRecords rows
// (-1 = all); with neither it raises "Missing data provider or data packet".
#include "MemDataSet.h"
#include <memory>

class TDataSetProvider;

struct TPacketRow {
    std::vector<Variant> values;      // current values (old values for a deleted record)
    std::vector<Variant> original;    // old values of a modified record, else empty
    TUpdateStatus status = usUnmodified;
    int changes = 0;
};

struct TPacketContent {
    TFieldDefs fieldDefs;
    std::vector<TPacketRow> rows;
    bool isDelta = false;             // rows are change-log rows to show as they are
    std::vector<int> logOrder;        // rows with pending changes, in the order first changed
};
using TPacketContentPtr = std::shared_ptr<TPacketContent>;

class TDataPacket {
public:
    TDataPacket() = default;                       // null: no packet
    explicit TDataPacket(std::shared_ptr<const TPacketContent> c) : m_c(std::move(c)) {}
    bool IsNull() const { return !m_c; }
    const TPacketContent* Content() const { return m_c.get(); }
    const TFieldDefs& FieldDefs() const;
    int RecordCount() const;                       // rows that are records (not deleted)
    int RowCount() const { return m_c ? int(m_c->rows.size()) : 0; }
    bool IsDelta() const { return m_c && m_c->isDelta; }
    bool operator==(const TDataPacket& o) const { return m_c == o.m_c; }
    // No other packet shares the content: a client dataset loading it may take its values.
    bool SoleOwner() const { return m_c && m_c.use_count() == 1; }
private:
    std::shared_ptr<const TPacketContent> m_c;
};

class TClientDataSet : public TMemDataSet {
public:
    TClientDataSet();
    ~TClientDataSet() override;

    // Creates an empty, open dataset from FieldDefs (raises when none are defined).
    void CreateDataSet();
    void EmptyDataSet();            // drops every record and the change log

    TDataPacket Data() const;       // null when closed
    void SetData(const TDataPacket& packet);   // a null packet closes the dataset
    // The same; a packet that nothing else holds gives its values over instead of copying them.
    void SetData(TDataPacket&& packet);
    void AppendData(const TDataPacket& packet, bool eof = true);

    int ChangeCount() const;
    TDataPacket Delta() const;
    void MergeChangeLog();
    void CancelUpdates();
    bool HasAppliedUpdates() const { return false; }

    TDataSetProvider* Provider() const { return m_provider; }
    void SetProvider(TDataSetProvider* p) { m_provider = p; }
    int PacketRecords() const { return m_packetRecords; }
    void SetPacketRecords(int n) { m_packetRecords = n; }
    bool FetchOnDemand() const { return m_fetchOnDemand; }
    void SetFetchOnDemand(bool v) { m_fetchOnDemand = v; }

protected:
    void LoadData() override;

private:
    // take: the values move out of the content (a packet no other holder shares).
    void LoadPacket(const TPacketContent& c, bool take = false);
    void OpenWith(TDataPacket&& packet);
    TDataPacket m_pending;        // packet to load on the next Open
    TDataSetProvider* m_provider = nullptr;
    int m_packetRecords = -1;
    bool m_fetchOnDemand = true;
    bool m_creating = false;
};
