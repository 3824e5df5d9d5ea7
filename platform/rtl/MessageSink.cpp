#include "MessageSink.h"
#include <QTextStream>
#include <mutex>

namespace {
std::mutex sinkMutex;
MessageSink::Handler& handler()
{
    static MessageSink::Handler h;
    return h;
}

bool defaultHandler(MsgKind kind, const QString& text, const QString& caption)
{
    static const char* const names[] = {"information", "warning", "error", "confirmation"};
    QTextStream err(stderr);
    err << names[int(kind)] << ": ";
    if (!caption.isEmpty())
        err << caption << ": ";
    err << text << Qt::endl;
    return true;
}
} // namespace

void MessageSink::Set(Handler h)
{
    std::lock_guard<std::mutex> lock(sinkMutex);
    handler() = std::move(h);
}

bool MessageSink::Show(MsgKind kind, const QString& text, const QString& caption)
{
    Handler h;
    {
        std::lock_guard<std::mutex> lock(sinkMutex);
        h = handler();
    }
    return h ? h(kind, text, caption) : defaultHandler(kind, text, caption);
}
