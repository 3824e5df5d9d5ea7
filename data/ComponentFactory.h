#pragma once
// Temporary database components with unique names ("C" and a GUID with "_" for "-"). They
// have no owner: the caller frees each one with the matching free routine.
#include <QString>

class TADOQuery;
class TClientDataSet;
class TDataSetProvider;

QString MakeUniqueComponentName();
// Every non-overlapping occurrence of search, scanned from the left, replaced.
QString ReplaceAllText(const QString& text, const QString& search, const QString& replacement);

// A query on rmtDM's ADOCon with CacheSize 1000, a static cursor and batch-optimistic locking.
TADOQuery* NewQuery();
void FreeQuery(TADOQuery* query);          // closes it, clears its text, frees it
// A client dataset with FetchOnDemand off and PacketRecords 20.
TClientDataSet* NewClientDataSet();
void FreeClientDataSet(TClientDataSet* cds);   // closes it when active, frees it
TDataSetProvider* NewProvider();
void FreeProvider(TDataSetProvider* provider); // detaches its dataset, frees it

// Owning handles that free the component with its free routine.
#include <memory>
struct TQueryFreer { void operator()(TADOQuery* q) const { FreeQuery(q); } };
struct TClientDataSetFreer { void operator()(TClientDataSet* c) const { FreeClientDataSet(c); } };
struct TProviderFreer { void operator()(TDataSetProvider* p) const { FreeProvider(p); } };
using TQueryPtr = std::unique_ptr<TADOQuery, TQueryFreer>;
using TClientDataSetPtr = std::unique_ptr<TClientDataSet, TClientDataSetFreer>;
using TProviderPtr = std::unique_ptr<TDataSetProvider, TProviderFreer>;
