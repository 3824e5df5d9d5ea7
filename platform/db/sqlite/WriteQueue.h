#pragma once
// A first-come, first-served queue in front of a database file's write lock, shared by every
// client of the file (any process) through open-file-description locks on "<file>-queue".
// A client takes the next ticket and sleeps until the client before it has let go, which wakes
// it; it lets go when its write ends, or when its process ends (the system drops its locks, and
// the next client sees it at its next look, a fraction of a second later). A wait times out
// only when the queue ahead has not moved for the whole time-out, so it is bounded by the work
// ahead of it, not by a fixed time.
#include <QString>

namespace sqlitedb {

class WriteQueue {
public:
    WriteQueue() = default;
    ~WriteQueue();
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // The queue of a database file; an empty name or a queue file that cannot be opened gives
    // a queue that lets everyone through at once (the engine's own lock still orders them).
    void Open(const QString& dbFile);
    void Close();
    // Takes a ticket and waits for the turn; false when the queue ahead did not move for
    // timeoutMs (the ticket is given back).
    bool Enter(int timeoutMs);
    // Ends the turn (nothing when not in the queue).
    void Leave();
    bool Inside() const { return m_ticket >= 0; }

private:
    bool lockRange(qint64 start, bool wait, bool lock);
    qint64 readCounter(qint64 at);
    void writeCounter(qint64 at, qint64 value);
    // The word the waiters sleep on, in the mapped first page; null when it could not be mapped.
    quint32* bell() const;

    int m_fd = -1;
    char* m_page = nullptr;
    qint64 m_ticket = -1;
};

} // namespace sqlitedb
