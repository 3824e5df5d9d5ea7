#include "WriteQueue.h"
#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sqlitedb {

namespace {

// The file: the next ticket at 0, the number of turns ended at 8; byte 0 is the mutex of the
// two counters, and ticket t holds byte kSlots + t mod 2^30 for its turn. The word at kBell
// (in the file's first page, shared by every client that maps it) changes whenever a turn
// ends: the waiters sleep on it and are woken by the client that lets go.
constexpr qint64 kNext = 0;
constexpr qint64 kServed = 8;
constexpr qint64 kBell = 16;
constexpr qint64 kMutex = 0;
constexpr qint64 kSlots = 1024;
constexpr qint64 kPage = 4096;
// A waiter looks at its turn again after this long even when nobody woke it: a client whose
// process ended lets go of its turn without ringing.
constexpr int kLongestSleepMs = 250;

qint64 slotOf(qint64 ticket) { return kSlots + (ticket & ((qint64(1) << 30) - 1)); }

void sleepOn(quint32* word, quint32 seen, int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000L};
    syscall(SYS_futex, word, FUTEX_WAIT, seen, &ts, nullptr, 0);
}

void wakeAll(quint32* word)
{
    syscall(SYS_futex, word, FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

} // namespace

WriteQueue::~WriteQueue() { Close(); }

void WriteQueue::Open(const QString& dbFile)
{
    Close();
    if (dbFile.isEmpty()) return;
    m_fd = ::open(QFile::encodeName(dbFile + QStringLiteral("-queue")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return;
    // The bell lives in the first page; a file made shorter by an older build grows to it (the
    // counters it holds stay). Without the page the waiters look at their turn now and then.
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || (st.st_size < kPage && ::ftruncate(m_fd, kPage) != 0)) return;
    void* page = ::mmap(nullptr, kPage, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (page != MAP_FAILED) m_page = static_cast<char*>(page);
}

void WriteQueue::Close()
{
    Leave();
    if (m_page) ::munmap(m_page, kPage);
    m_page = nullptr;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

quint32* WriteQueue::bell() const
{
    return m_page ? reinterpret_cast<quint32*>(m_page + kBell) : nullptr;
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
    // The turn comes when the ticket before lets go of its byte; the client that lets go rings
    // the bell, which wakes this one. The bell is read before the byte is tried, so a turn that
    // ends in between makes the sleep return at once.
    QElapsedTimer quiet;
    quiet.start();
    qint64 served = readCounter(kServed);
    quint32* const ring = bell();
    int pause = 1;
    for (;;) {
        const quint32 seen = ring ? __atomic_load_n(ring, __ATOMIC_ACQUIRE) : 0;
        if (lockRange(slotOf(ticket - 1), false, true)) break;
        const qint64 now = readCounter(kServed);
        if (now != served) {   // the queue moved: the time-out starts again
            served = now;
            quiet.restart();
        } else if (quiet.elapsed() >= timeoutMs) {
            Leave();
            return false;
        }
        const int left = int(std::max<qint64>(1, timeoutMs - quiet.elapsed()));
        if (ring) {
            sleepOn(ring, seen, std::min(left, kLongestSleepMs));
        } else {
            timespec ts{0, long(std::min(pause, left)) * 1000000L};
            ::nanosleep(&ts, nullptr);
            pause = std::min(pause * 2, 8);
        }
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
    if (quint32* ring = bell()) {
        __atomic_add_fetch(ring, 1, __ATOMIC_RELEASE);
        wakeAll(ring);
    }
}

} // namespace sqlitedb
