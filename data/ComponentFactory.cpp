#include "ComponentFactory.h"
#include "DM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/Provider.h"
#include <QRandomGenerator>
#include <cstring>

QString ReplaceAllText(const QString& text, const QString& search, const QString& replacement)
{
    if (search.isEmpty())
        return text;
    QString out;
    qsizetype from = 0;
    for (;;) {
        qsizetype at = text.indexOf(search, from);
        if (at < 0)
            break;
        out += text.mid(from, at - from) + replacement;
        from = at + search.size();
    }
    return out + text.mid(from);
}

QString MakeUniqueComponentName()
{
    // "C" and a fresh random (version 4) GUID in its registry text form without the braces,
    // "-" made "_": C, then 8, 4, 4, 4 and 12 upper-case hexadecimal digits joined by "_". The
    // GUID comes from the process's seeded generator and is written straight into the name:
    // the system's random source costs a system call a GUID, and a paged read makes three
    // components a page.
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    uchar bytes[16];
    std::memcpy(bytes, words, sizeof bytes);
    bytes[6] = uchar((bytes[6] & 0x0F) | 0x40);
    bytes[8] = uchar((bytes[8] & 0x3F) | 0x80);
    static const char hex[] = "0123456789ABCDEF";
    QChar name[37];
    int at = 0;
    name[at++] = QLatin1Char('C');
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            name[at++] = QLatin1Char('_');
        name[at++] = QLatin1Char(hex[bytes[i] >> 4]);
        name[at++] = QLatin1Char(hex[bytes[i] & 15]);
    }
    return QString(name, at);
}

TADOQuery* NewQuery()
{
    auto* q = new TADOQuery();
    q->SetName(MakeUniqueComponentName());
    q->SetConnection(rmtDM ? rmtDM->ADOCon.get() : nullptr);
    q->SetCacheSize(1000);
    q->SetCursorType(ctStatic);
    q->SetLockType(ltBatchOptimistic);
    return q;
}

void FreeQuery(TADOQuery* query)
{
    if (!query)
        return;
    query->Close();
    query->SQL().clear();
    delete query;
}

TClientDataSet* NewClientDataSet()
{
    auto* c = new TClientDataSet();
    c->SetName(MakeUniqueComponentName());
    c->SetFetchOnDemand(false);
    c->SetPacketRecords(20);
    return c;
}

void FreeClientDataSet(TClientDataSet* cds)
{
    if (!cds)
        return;
    if (cds->Active())
        cds->Close();
    delete cds;
}

TDataSetProvider* NewProvider()
{
    auto* p = new TDataSetProvider();
    p->SetName(MakeUniqueComponentName());
    return p;
}

void FreeProvider(TDataSetProvider* provider)
{
    if (!provider)
        return;
    provider->SetDataSet(nullptr);
    delete provider;
}
