#include "ComponentFactory.h"
#include "DM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/Provider.h"
#include <QRandomGenerator>
#include <QUuid>
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
    // The registry text form "{XXXXXXXX-XXXX-...}" without braces, "-" made "_".
    // A random (version 4) GUID from the process's seeded generator: the system's random
    // source costs a system call per GUID, and a paged read makes three components a page.
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    uchar bytes[16];
    std::memcpy(bytes, words, sizeof bytes);
    bytes[6] = uchar((bytes[6] & 0x0F) | 0x40);
    bytes[8] = uchar((bytes[8] & 0x3F) | 0x80);
    const QUuid uuid = QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), sizeof bytes));
    QString guid = ReplaceAllText(uuid.toString().toUpper(), QStringLiteral("-"), QStringLiteral("_"));
    return QLatin1Char('C') + guid.mid(1, guid.size() - 2);
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
