#pragma once
// The memory-table services a dataset may offer the grid: record views, instant
// reading, tree structure and change notifications. No dataset of this program
// offers them, so the grid always takes its other paths; the interface exists so
// that the grid can ask.
#include <QObject>

class TBMListGx;

class IMemTableGx {
public:
    virtual ~IMemTableGx() = default;
    virtual int GetRecordViewsCount() = 0;
    virtual int GetInstantReadCurRecordView() = 0;          // -1: none
    virtual void InstantReadEnter(int recordView) = 0;
    virtual void InstantReadLeave() = 0;
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
