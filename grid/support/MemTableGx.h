#pragma once
// The memory-table services a dataset may offer the grid: record views, instant
// reading, tree structure and change notifications. No dataset of this program
// offers them, so the grid always takes its other paths; the interface exists so
// that the grid can ask.
#include <QEvent>
#include <QObject>

class TBMListGx;

// What a memory table sends every registered receiver, at once (through
// QCoreApplication::sendEvent), when its records change.
enum TMemTableDataEventKindGx {
    mtdeRecordInsertedGx = 0,   // RecNum: the new record's view number
    mtdeRecordChangedGx = 1,    // RecNum: the changed record
    mtdeRecordDeletedGx = 2,    // RecNum: the view number the record had
    mtdeRecordMovedGx = 3,      // from view number Param to RecNum
    mtdeDataRebuiltGx = 4       // everything may have changed
};

class TMemTableDataEventGx : public QEvent {
public:
    TMemTableDataEventGx(int recNum, TMemTableDataEventKindGx kind, int param)
        : QEvent(EventType()), RecNum(recNum), Kind(kind), Param(param)
    {
    }
    static QEvent::Type EventType()
    {
        static const int type = QEvent::registerEventType();
        return QEvent::Type(type);
    }
    int RecNum;
    TMemTableDataEventKindGx Kind;
    int Param;
};

class IMemTableGx {
public:
    virtual ~IMemTableGx() = default;
    virtual int GetRecordViewsCount() = 0;
    virtual int GetInstantReadCurRecordView() = 0;          // -1: none
    virtual void InstantReadEnter(int recordView) = 0;
    virtual void InstantReadLeave() = 0;
    // The table is inside an instant read: it sends nothing a grid should act on.
    virtual bool InstantReading() { return false; }
    virtual bool GetTreeViewActive() = 0;
    virtual int GetTreeNodeLevel() = 0;
    virtual bool GetPrevNodeHaveNextSibling(int level) = 0;
    virtual bool GetTreeNodeHasChildren() = 0;
    virtual bool GetTreeNodeExpanded() = 0;
    virtual int SetTreeNodeExpanded(int recordView, bool expanded) = 0;
    virtual int FetchRecords(int count) = 0;
    virtual void SetCurRecordView(int recordView) = 0;
    virtual bool MoveRecordsToRecNo(TBMListGx* bookmarks, int recNo, int treeLevel, bool checkOnly) = 0;
    virtual void RegisterEventReceiver(QObject* receiver) = 0;
    virtual void UnregisterEventReceiver(QObject* receiver) = 0;
};
