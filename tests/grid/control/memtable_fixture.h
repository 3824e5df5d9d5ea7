#pragma once
// A client dataset that offers the grid library's memory-table services, for the
// grid's grouping, tree and record-view tests (no dataset of the program offers
// them). Record view numbers are the 0-based positions of the dataset's view
// (sort order and filter applied); an instant read makes a view record readable
// through the fields without moving the cursor. Posted inserts and edits,
// deletes, opening, refreshing and re-sorting are sent to the registered
// receivers as memory-table data events.
//
// The tree services answer "no tree" unless a test sets TreeView and the
// per-record tree answers (TreeLevels, HasChildren, Expanded), indexed by view
// number.
#include "grid/support/MemTableGx.h"
#include "platform/db/ClientDataSet.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <map>
#include <vector>

class TMemTableTestDataSet : public TClientDataSet, public IMemTableGx {
public:
    TMemTableTestDataSet()
    {
        BeforePost = [this](TDataSet*) {
            m_postInserting = State() == dsInsert;
            m_postFrom = m_postInserting ? -1 : RecNo() - 1;
        };
        AfterPost = [this](TDataSet*) {
            const int at = RecNo() - 1;
            if (m_postInserting)
                Send(at, mtdeRecordInsertedGx, 0);
            else {
                if (m_postFrom >= 0 && m_postFrom != at)
                    Send(at, mtdeRecordMovedGx, m_postFrom);
                Send(at, mtdeRecordChangedGx, 0);
            }
        };
        BeforeDelete = [this](TDataSet*) { m_deleteAt = RecNo() - 1; };
        AfterDelete = [this](TDataSet*) { Send(m_deleteAt, mtdeRecordDeletedGx, 0); };
        AfterOpen = [this](TDataSet*) { Send(0, mtdeDataRebuiltGx, 0); };
        AfterRefresh = [this](TDataSet*) { Send(0, mtdeDataRebuiltGx, 0); };
    }
    ~TMemTableTestDataSet() override { DestroyingDataSet(); }

    // Re-sorts the view and tells the receivers that the data was rebuilt.
    void SortBy(const QString& names)
    {
        SetIndexFieldNames(names);
        Send(0, mtdeDataRebuiltGx, 0);
    }
    // The receivers registered now (a grid registers while its link is active).
    int ReceiverCount() const { return int(m_receivers.size()); }
    // Instant reads entered and not left.
    int ReadDepth() const { return int(m_reads.size()); }
    // The fetch requests the table received (it holds every record already).
    const std::vector<int>& FetchRequests() const { return m_fetches; }

    // Tree answers for TreeView tables, by view number.
    bool TreeView = false;
    std::map<int, int> TreeLevels;
    std::map<int, bool> HasChildren;
    std::map<int, bool> Expanded;

    // ---- IMemTableGx
    int GetRecordViewsCount() override { return Active() ? RecordCount() : 0; }
    int GetInstantReadCurRecordView() override
    {
        if (!m_reads.empty() && m_reads.back() >= 0)
            return m_reads.back();
        return Active() && !IsEmpty() && State() != dsInsert ? RecNo() - 1 : -1;
    }
    void InstantReadEnter(int recordView) override
    {
        // The current record is read as it stands (an edited one from its edit buffer).
        const bool current = Active() && recordView == RecNo() - 1 && State() != dsInsert;
        if (current && m_reads.empty()) {
            m_reads.push_back(-1);
            return;
        }
        BeginViewRead(recordView);
        m_reads.push_back(recordView);
    }
    void InstantReadLeave() override
    {
        if (m_reads.empty())
            return;
        if (m_reads.back() >= 0)
            EndViewRead();
        m_reads.pop_back();
    }
    bool InstantReading() override { return !m_reads.empty(); }
    bool GetTreeViewActive() override { return TreeView; }
    int GetTreeNodeLevel() override { return Answer(TreeLevels, 1); }
    bool GetPrevNodeHaveNextSibling(int) override { return false; }
    bool GetTreeNodeHasChildren() override { return Answer(HasChildren, false); }
    bool GetTreeNodeExpanded() override { return Answer(Expanded, false); }
    int SetTreeNodeExpanded(int recordView, bool expanded) override
    {
        Expanded[recordView] = expanded;
        return recordView;
    }
    int FetchRecords(int count) override
    {
        m_fetches.push_back(count);
        return 0;
    }
    void SetCurRecordView(int recordView) override { SetRecNo(recordView + 1); }
    bool MoveRecordsToRecNo(TBMListGx*, int, int, bool) override { return false; }
    void RegisterEventReceiver(QObject* receiver) override
    {
        if (std::find(m_receivers.begin(), m_receivers.end(), receiver) == m_receivers.end())
            m_receivers.push_back(receiver);
    }
    void UnregisterEventReceiver(QObject* receiver) override
    {
        m_receivers.erase(std::remove(m_receivers.begin(), m_receivers.end(), receiver), m_receivers.end());
    }

private:
    template <class T> T Answer(const std::map<int, T>& m, T dflt)
    {
        auto it = m.find(GetInstantReadCurRecordView());
        return it == m.end() ? dflt : it->second;
    }
    void Send(int recNum, TMemTableDataEventKindGx kind, int param)
    {
        const std::vector<QPointer<QObject>> to(m_receivers.begin(), m_receivers.end());
        for (const QPointer<QObject>& r : to) {
            if (!r)
                continue;
            TMemTableDataEventGx e(recNum, kind, param);
            QCoreApplication::sendEvent(r, &e);
        }
    }

    std::vector<QObject*> m_receivers;
    std::vector<int> m_reads;
    std::vector<int> m_fetches;
    bool m_postInserting = false;
    int m_postFrom = -1;
    int m_deleteAt = -1;
};
