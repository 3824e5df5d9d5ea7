#pragma once
// The data grid's update and layout locks and its deferred layout request.
//
// Both locks are counters. The end of the outermost layout lock runs the layout
// pass. A deferred request is one queued event; when it arrives while a lock is
// held the grid does not queue it again (that would spin the event loop for as
// long as the lock is held) but keeps a pending flag that the release of the last
// lock honours. The same release hands over to Released, where the grid answers
// what else waited for it (a size change).
#include <QObject>
#include <functional>

class TDBGridGxLocks {
public:
    // The layout pass itself.
    std::function<void()> Rebuild;
    // The column collection enters (true) and leaves (false) its update state.
    std::function<void(bool begin)> ColumnsUpdate;
    // Whether the grid has a window (a deferred request needs one).
    std::function<bool()> HasWindow;
    // The last lock went (after a pending layout pass, when there was one).
    std::function<void()> Released;

    TDBGridGxLocks();
    ~TDBGridGxLocks();
    TDBGridGxLocks(const TDBGridGxLocks&) = delete;
    TDBGridGxLocks& operator=(const TDBGridGxLocks&) = delete;

    int UpdateLock() const { return FUpdateLock; }
    int LayoutLock() const { return FLayoutLock; }
    bool DeferredQueued() const { return FQueued; }
    bool LayoutPending() const { return FPending; }

    void BeginUpdate();
    void EndUpdate();
    void BeginLayout();
    bool TryBeginLayout();
    void EndLayout();
    void CancelLayout();
    // Queues a deferred layout (once), then ends the layout lock without a pass.
    void DeferLayout();
    // Lays the grid out now unless a lock is held (then the lock's end does it).
    void LayoutChanged();
    // Answers the queued deferred request.
    void DeferredLayoutArrived();
    // Drops a queued deferred request (the layout pass removes it).
    void DiscardDeferred() { FQueued = false; }

private:
    void Post();
    void RunPendingIfFree();
    int FUpdateLock = 0;
    int FLayoutLock = 0;
    bool FQueued = false;
    bool FPending = false;
    QObject FContext;
};
