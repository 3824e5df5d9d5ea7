#include "DBGridGxLocks.h"
#include <QMetaObject>

TDBGridGxLocks::TDBGridGxLocks() = default;
TDBGridGxLocks::~TDBGridGxLocks() = default;

void TDBGridGxLocks::BeginUpdate() { ++FUpdateLock; }

void TDBGridGxLocks::EndUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
    RunPendingIfFree();
}

void TDBGridGxLocks::BeginLayout()
{
    BeginUpdate();
    if (FLayoutLock == 0 && ColumnsUpdate)
        ColumnsUpdate(true);
    ++FLayoutLock;
}

bool TDBGridGxLocks::TryBeginLayout()
{
    if (FUpdateLock > 0 || FLayoutLock > 0)
        return false;
    BeginLayout();
    return true;
}

void TDBGridGxLocks::EndLayout()
{
    if (FLayoutLock == 0)
        return;
    struct Release {
        TDBGridGxLocks* self;
        ~Release()
        {
            if (self->FLayoutLock == 1 && self->ColumnsUpdate)
                self->ColumnsUpdate(false);
            --self->FLayoutLock;
            self->EndUpdate();
        }
    } release{this};
    if (FLayoutLock == 1) {
        FPending = false;
        if (Rebuild)
            Rebuild();
    }
}

void TDBGridGxLocks::CancelLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1 && ColumnsUpdate)
        ColumnsUpdate(false);
    --FLayoutLock;
    EndUpdate();
}

void TDBGridGxLocks::DeferLayout()
{
    if ((!HasWindow || HasWindow()) && !FQueued)
        Post();
    CancelLayout();
}

void TDBGridGxLocks::LayoutChanged()
{
    if (TryBeginLayout())
        EndLayout();
}

void TDBGridGxLocks::Post()
{
    FQueued = true;
    QMetaObject::invokeMethod(&FContext, [this] { DeferredLayoutArrived(); }, Qt::QueuedConnection);
}

void TDBGridGxLocks::DeferredLayoutArrived()
{
    if (!FQueued)
        return;   // removed by a layout pass meanwhile
    FQueued = false;
    if (FUpdateLock == 0 && FLayoutLock == 0) {
        BeginLayout();
        EndLayout();
    } else {
        FPending = true;
    }
}

void TDBGridGxLocks::RunPendingIfFree()
{
    if (FUpdateLock != 0 || FLayoutLock != 0)
        return;
    if (FPending) {
        FPending = false;
        BeginLayout();
        EndLayout();   // its own release comes back here
        return;
    }
    if (Released)
        Released();
}
