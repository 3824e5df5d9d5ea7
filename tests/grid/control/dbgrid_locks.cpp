// The grid's update and layout locks and the deferred layout request.
#include "grid/control/DBGridGxLocks.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

struct Counting {
    TDBGridGxLocks locks;
    int passes = 0;
    int columnUpdates = 0;
    Counting()
    {
        locks.Rebuild = [this] { ++passes; };
        locks.ColumnsUpdate = [this](bool begin) { columnUpdates += begin ? 1 : -1; };
    }
};

} // namespace

TEST(DBGridLocks, ManyChangesUnderTheLockGiveOnePass)
{
    Counting c;
    c.locks.LayoutChanged();
    EXPECT_EQ(c.passes, 1);
    c.locks.BeginLayout();
    c.locks.BeginLayout();
    EXPECT_EQ(c.columnUpdates, 1);
    for (int i = 0; i < 10; ++i)
        c.locks.LayoutChanged();
    c.locks.EndLayout();
    EXPECT_EQ(c.passes, 1);
    c.locks.EndLayout();
    EXPECT_EQ(c.passes, 2);
    EXPECT_EQ(c.columnUpdates, 0);
    EXPECT_EQ(c.locks.UpdateLock(), 0);
    // Ends without a begin change nothing.
    c.locks.EndLayout();
    c.locks.EndUpdate();
    EXPECT_EQ(c.locks.LayoutLock(), 0);
    EXPECT_EQ(c.passes, 2);
    // The update lock alone suppresses a request.
    c.locks.BeginUpdate();
    c.locks.LayoutChanged();
    c.locks.EndUpdate();
    EXPECT_EQ(c.passes, 2);
    // A failing pass still releases the locks.
    c.locks.Rebuild = [] { throw std::runtime_error("bad"); };
    EXPECT_THROW(c.locks.LayoutChanged(), std::runtime_error);
    EXPECT_EQ(c.locks.LayoutLock(), 0);
    EXPECT_EQ(c.locks.UpdateLock(), 0);
}

TEST(DBGridLocks, DeferredRequestWhileLockedWaitsForTheRelease)
{
    Counting c;
    c.locks.BeginLayout();
    c.locks.DeferLayout();                 // queues once and drops this layout lock
    EXPECT_TRUE(c.locks.DeferredQueued());
    c.locks.BeginLayout();
    c.locks.DeferLayout();                 // already queued: not again
    c.locks.BeginUpdate();                 // a lock held while the request arrives
    // The event loop must come to rest although the lock stays held.
    QElapsedTimer timer;
    timer.start();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 60000);
    EXPECT_FALSE(c.locks.DeferredQueued());
    EXPECT_TRUE(c.locks.LayoutPending());
    EXPECT_EQ(c.passes, 0);
    c.locks.EndUpdate();                   // the release honours the pending request
    EXPECT_EQ(c.passes, 1);
    EXPECT_FALSE(c.locks.LayoutPending());

    // Without a lock the request runs one pass when it arrives.
    c.locks.BeginLayout();
    c.locks.DeferLayout();
    QCoreApplication::processEvents();
    EXPECT_EQ(c.passes, 2);
    // A pass in between removes the queued request.
    c.locks.BeginLayout();
    c.locks.DeferLayout();
    c.locks.DiscardDeferred();
    QCoreApplication::processEvents();
    EXPECT_EQ(c.passes, 2);
}
