#include "WriteQueue.h"
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace sqlitedb {

namespace {

// The file: the next ticket at 0, the number of turns ended at 8; byte 0 is the mutex of the
// two counters, and ticket t holds byte kSlots + t mod 2^30 for its turn.
constexpr qint64 kNext = 0;
constexpr qint64 kServed = 8;
constexpr qint64 kMutex = 0;
constexpr qint64 kSlots = 1024;

qint64 slotOf(qint64 ticket) { return kSlots + (ticket & ((qint64(1) << 30) - 1)); }

} // namespace

WriteQueue::~WriteQueue() { Close(); }

void WriteQueue::Open(const QString& dbFile)
{
    Close();
    if (dbFile.isEmpty()) return;
    m_fd = ::open(QFile::encodeName(dbFile + QStringLiteral("-queue")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

void WriteQueue::Close()
{
    Leave();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool WriteQueue::lockRange(qint64 start, bool wait, bool lock)
{
    struct flock fl = {};
    fl.l_type = lock ? F_WRLCK : F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = 1;
    fl.l_pid = 0;
    for (;;) {
        if (::fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return true;
        if (errno != EINTR) return false;
    }
}

qint64 WriteQueue::readCounter(qint64 at)
{
    qint64 v = 0;
    return ::pread(m_fd, &v, sizeof v, at) == qint64(sizeof v) ? v : 0;
}

void WriteQueue::writeCounter(qint64 at, qint64 value)
{
    [[maybe_unused]] const auto n = ::pwrite(m_fd, &value, sizeof value, at);
}

bool WriteQueue::Enter(int timeoutMs)
{
    if (m_fd < 0 || m_ticket >= 0) return true;
    if (!lockRange(kMutex, true, true)) return true;
    const qint64 ticket = readCounter(kNext);
    writeCounter(kNext, ticket + 1);
    const bool slot = lockRange(slotOf(ticket), false, true);
    lockRange(kMutex, false, false);
    if (!slot) return true;   // a ticket 2^30 turns old still held: no order to keep
    m_ticket = ticket;
    if (ticket == 0) return true;
    // The turn comes when the ticket before lets go of its byte.
    QElapsedTimer quiet;
    quiet.start();
    qint64 served = readCounter(kServed);
    int pause = 1;
    while (!lockRange(slotOf(ticket - 1), false, true)) {
        const qint64 now = readCounter(kServed);
        if (now != served) {   // the queue moved: the time-out starts again
            served = now;
            quiet.restart();
        } else if (quiet.elapsed() >= timeoutMs) {
            Leave();
            return false;
        }
        QThread::msleep(pause);
        pause = std::min(pause * 2, 8);
    }
    lockRange(slotOf(ticket - 1), false, false);
    return true;
}

void WriteQueue::Leave()
{
    if (m_fd < 0 || m_ticket < 0) return;
    if (lockRange(kMutex, true, true)) {
        writeCounter(kServed, readCounter(kServed) + 1);
        lockRange(kMutex, false, false);
    }
    lockRange(slotOf(m_ticket), false, false);
    m_ticket = -1;
}

} // namespace sqlitedb
