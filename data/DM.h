#pragma once
// TrmtDM: the data module through which the whole program reaches the database. One
// instance, rmtDM, is created at start-up before the main window and freed at shutdown.
//
// Every operation that reaches the database, except getrecordcount, first selects the
// logged-in account-set database on ADOCon ("Use " + dbname, "Master" before login), so
// the database of the last operation stays current for whatever runs next on ADOCon.
//
// How an operation fails depends on its kind:
//   lookup         (factory query + Topensql)   a database error ends the action silently (EAbort)
//   shared lookup  (tempqry)                     the database error is raised
//   direct         (factory query, no runner)    the database error is raised
//   write          (execsql)                     False; inside an open transaction also the
//                                                message "数据数据出错：" + statement
#include "ComponentFactory.h"
#include "ReportRecords.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/Engine.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class PostingLookups;
struct PostingHead;
struct PostingLine;
struct PostingRows;
using PostingLines = std::vector<PostingLine>;
class TADOConnection;
class TADOQuery;
class Topensql;
class Texecsql;

class TrmtDM {
public:
    TrmtDM();
    virtual ~TrmtDM();
    TrmtDM(const TrmtDM&) = delete;
    TrmtDM& operator=(const TrmtDM&) = delete;

    // ----- components -----
    std::unique_ptr<TADOConnection> ADOCon;          // the one server connection
    std::unique_ptr<TClientDataSet> ClientDataSet2;  // unused
    std::unique_ptr<TADOQuery> tempqry;              // shared query of the shared lookups and statistics
    std::unique_ptr<TADOConnection> testcon;         // closed; the connection-settings dialog tests on it

    // Observer of the statement texts the data module's operations send to the database, in
    // order (diagnostics and tests; the reads of a table's column list are not reported);
    // empty by default.
    std::function<void(const QString& sql)> OnSQL;

    // ----- connection, database switch, transactions, statements -----
    // Reads log/adolinksetting.ini and opens ADOCon on master. Called by the constructor,
    // which shows any error it raises and carries on unconnected.
    void DataModuleCreate(void* Sender);
    // Runs "Use " + DBname ("Master" when empty). A name that is not a plain database
    // identifier raises EDatabaseError before anything runs; a database error propagates.
    bool OpenindicatinnDB(const QString& DBname);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool IntransAction() const;
    // One non-query statement in the logged-in database: inside the caller's transaction
    // (False plus the message on failure, the transaction left open) or in its own. A
    // database switch that fails gives False too, with its error shown; the statement does
    // not run.
    bool execsql(const QString& sql);
    // The rows the next write on table changes or adds: those whose keyfields hold keys. A
    // posting forgets what it has read of them (see PostingLookups).
    void writesrows(const QString& table, std::initializer_list<QString> keyfields, std::initializer_list<int> keys);

    // ----- paged loading and change writing -----
    // A packet is null when there is none (TDataPacket::IsNull).
    TDataPacket GetLargeData(const QString& cmdstr, int Rcount);
    TDataPacket gettabledata(const QString& TableName, const QString& keyField, const QString& ssql, int Maxrec);
    TDataPacket getsqldata(const QString& strSql, const QString& orderkeyfield, const QString& keyField,
                           const QString& strcon, int maxrec);
    // `extra`: statements run after the rows, before the commit, in the same transaction;
    // one that fails undoes the rows too. `within`: then run in the same transaction; False
    // undoes everything.
    bool ApplyUpdateDelta(const TDataPacket& delta, const QString& TableName, const QString& KeyField,
                          const QStringList& extra = {}, const std::function<bool()>& within = {});
    // Head and lines in one transaction, `extra` and `within` as above.
    bool ApplyUpdateMD(const TDataPacket& Mdelta, const QString& MtableName, const QString& MkeyField,
                       const TDataPacket& Ddelta, const QString& DtableName, const QString& DkeyField,
                       const QStringList& extra = {}, const std::function<bool()>& within = {});
    // The paged SELECT texts. Without a last key the caller's condition stands alone; after
    // a page it is put in parentheses behind the key condition, so a condition with OR
    // cannot reach rows before the key.
    // sameKey: the rows whose key equals the last key (a key that rows share across a page
    // boundary is read whole this way).
    static QString buildpagedselect(const QString& TableName, const QString& keyField,
                                    const QString& condition, const std::optional<QString>& lastkey,
                                    bool sameKey = false);
    static QString buildpagedsqlselect(const QString& strSql, const QString& orderkeyfield,
                                       const QString& condition, const std::optional<QString>& lastkey,
                                       bool sameKey = false);

    // ----- keys, parameters, lookups -----
    // Next value of an IDlist counter: read with the lock hint and written back, in one
    // transaction of its own when none is open. A missing counter raises EDatabaseError.
    int GetnewID(const QString& iDname);
    // Current value of an IDlist counter (0 when it has no row).
    int GetID(const QString& idname);
    QString getnewtreefid(int id) const;
    int getsystemvalue(const QString& strname);
    bool setsystemid(const QString& idname, int id);
    bool setsysemcrtdate(TDateTime datetime);
    double gettablevalue(const QString& tablename, const QString& Ffieldname, int Fid, const QString& refieldname);
    double gettablevaluetwo(const QString& tablename, const QString& kfieldname1, const QString& kfieldname2,
                            int kid1, int kid2, const QString& refieldname);
    // Several columns of the first row whose key columns hold the given values, in one SELECT;
    // like gettablevalue, Null and a missing row read as 0. found tells whether there was a row.
    struct TableValues {   // of up to four columns; the others read as 0
        std::array<double, 4> v{};
        double operator[](qsizetype i) const { return v[size_t(i)]; }
        double& operator[](qsizetype i) { return v[size_t(i)]; }
    };
    TableValues gettablevalues(const QString& tablename, std::initializer_list<QString> keyfields,
                               std::initializer_list<int> keys, std::initializer_list<QString> refieldnames,
                               bool* found = nullptr);
    int getfieldvalue(const QString& tablename, const QString& Ffieldname);
    bool getvaluebycode(const QString& tablename, const QString& JMvalue, const QString& IDfieldname,
                        const QString& strfieldname, int& fid, QString& strname);
    bool exitfieldvalue(const QString& tablename, const QString& kfieldname, int Kid);
    int getrecordcount(const QString& sql);
    int getpricemodal(int mid);
    int getbreedtype(int mid);
    double GetAdmiRate(int mid);
    double getpprice(int mid);
    double getaprice(int mid);
    double getdefaultbalance();
    QString getmrplist() const;
    QString getmaplist() const;
    QString getmpplist() const;
    bool setmrplistlock(int fid, bool value);
    // Inside the save of stock-out bill eid: the price batches its lines draw on are held for
    // it, each only where no other bill not yet posted draws on it (such a batch is named in a
    // message and False returned); those of held that no line draws on any more are freed. A
    // failing statement gives False without a message.
    bool holdbatches(int eid, const QList<int>& drawn, const QList<int>& held);
    // The statements that free the given batches of bill eid, for a posting to run with its
    // own; a batch another open bill draws on stays held.
    static QStringList freebatches(int eid, const QList<int>& batches);
    // Frees the batches the issue lines of stock-out bill eid (in detailtable) hold, in the
    // caller's transaction.
    bool freebillbatches(const QString& detailtable, int eid);
    // Inside the save of a stock-in (stockin) or stock-out bill: its return lines give back no
    // more of any line they name than is left of it (returnableqty); otherwise the line is named
    // in a message and False returned.
    bool returnsfit(bool stockin, int billid);
    bool addnewmtrlist(int fid, int bid, const QString& code, const QString& mname, const QString& mtype,
                       const QString& munit, const QString& remark);

    // ----- bill-number pool -----
    // column is "im" or "ex" followed by a bill category code. getbillcodeid finds the lowest
    // free slot and marks it taken in one transaction (0 when no slot is free).
    int getbillcodebnum(const QString& code, bool billtype);
    int getbillcodeid(const QString& column);
    bool Addnewcodeidline(const QString& column);
    bool ESCbillcodeid(int fid, const QString& column);
    bool deletebilltypelist();
    bool createnewbilltypelist(const QStringList& list);
    // After the pool was rebuilt: marks taken again the slots that the saved bills of period pid
    // hold (bcode names the pool column, bcodeid the slot), adding slot rows as needed, so
    // that their numbers are not issued again. Bills whose column the pool no longer has are
    // left out. False when a statement fails.
    bool markbillcodeids(int pid);

    // ----- stock ledger primitives, posting, period close, statistics -----
    // (the stock engine; built in the stock-engine files of this folder)
    bool imaddimexsrglist(int periodid, int imdetailid, int materialid, const QString& billnum, TDateTime billdate,
                          const QString& comment, const QString& dptprj, double imqty, double imprice,
                          double imcost, const QString& remark);
    bool exaddimexsrglist(int periodid, int exdetailid, int materialid, const QString& billnum, TDateTime billdate,
                          const QString& comment, const QString& dptprj, double exqty, double exprice,
                          double excost, const QString& remark);
    bool imdelimexsrglist(int imdetialid);
    bool exdelimexsrglist(int imdetialid);
    bool redelimexsrglist(int imdetialid);
    bool addnewstorage(int materialid, double quantity, double cost);
    bool imaddstorage(int materialid, double quantity, double cost);
    bool exaddstorage(int materialid, double quantity, double cost);
    bool readdstorage(int materialid, double quantity, double cost);
    bool addpricelist(int pid, int materialid, const QString& billnum, TDateTime billdate, int iiD, int eid,
                      double qty, double rsprice, double rdprice, double sprice, double dprice, int cid, int cfid,
                      int supid, const QString& remark);
    bool expricelist(int pricelistID, double Qty, double rdprice, double dprice);
    bool updatepricelistbyiid(int IID, const QString& billnum, TDateTime billdate, double qty, double rsprice,
                              double rdprice, double sprice, double dprice, int cid, int cfid, int supid,
                              const QString& remark);
    bool updatepricelistbyiid_1(int iid, double qty, double rdprice, double dprice);
    bool updatepricelistbyeid_1(int eid, double qty, double rdprice, double dprice);
    bool updatepricelist(int fID, const QString& billnum, TDateTime billdate, double qty, double sprice,
                         double dprice, const QString& cfcode, const QString& remark);
    bool delpricelistbyiid(int iid);
    bool delpricelistbyeid(int eid);
    bool addnewavgprice(int materialid, double avgprice);
    bool updateavgprice(int materialid, double quantity, double cost);
    bool addnewplanprice(int materialid, double planprice);
    bool updateplanprice(int materialid, double planprice);
    bool addnewcycledatabase(int materialid, double totalqty, double totalcost);
    bool imcycledatabase(int materialid, double imqty, double imcost);
    bool reverseimcycledb(int materialid, double imqty, double imcost);
    bool excycledatabase(int materialid, double exqty, double excost);
    bool reverseexcycledb(int materialid, double exqty, double excost);
    bool bcylmexcycledatabase(int materialid, double exqty, double excost);
    bool bcylmreverseexcycledb(int materialid, double exqty, double excost);
    bool addnewcycledptlist(int departmentid, int materialid, double imqty, double imcost);
    bool excycledptlist(int departmentid, int materialid, double exqty, double excost);
    bool reverseexcycledptlist(int departmentid, int materialid, double exqty, double excost);
    // cost: the issue's value, kept on the issue row for the per-issue statistics.
    bool exaddnewcycledetaillist(int pid, int exdetailid, int materialid, int dptid, TDateTime bdate,
                                 double quantity, double cost, const QString& remark);
    bool reverseexcycledetaillist(int exdetailid);

    // ----- posting, reversal, period close -----
    bool imbillrecord(TClientDataSet* master, TClientDataSet* detail);
    bool imbillreverse(TClientDataSet* master, TClientDataSet* detail);
    // `extra`: statements run after the posting, before the commit, in the same transaction;
    // one that fails undoes the posting too.
    bool exbillrecord(TClientDataSet* master, TClientDataSet* detail, const QStringList& extra = {});
    bool exbillreverse(TClientDataSet* master, TClientDataSet* detail);
    bool billbalance(TDateTime pbdate, TDateTime pedate, TDateTime newbdate);

    // ----- cost statistics and report-tree lists -----
    void Getmtrinitnumcost(double& prenum, double& Precost, int periodno, int materialno);
    void Getmtrendnumcost(double& num, double& cost, int periodno, int materialno);
    void Getmtrinnumcost(double& num, double& cost, int periodno, int materialno);
    void Getmtrexnumcost(double& num, double& cost, int periodno, int materialno);
    // "column like '<code>%'" for a code prefix, with the range the engine's indexes serve
    // where the engine can take one (see prefixcondition).
    QString codeprefix(const QString& column, const QString& code);
    void GetTypeinitnumcost(double& num, double& cost, const QString& code, int periodno);
    void GetTypeendnumcost(double& num, double& cost, const QString& code, int periodno);
    void GetTypeInnumcost(double& num, double& cost, const QString& code, int periodno);
    void GetTypeexnumcost(double& num, double& cost, const QString& code, int periodno);
    void getinnumcostbycfcode(double& num, double& cost, const QString& breedcode, const QString& cfcode, int periodno);
    void getinnumcostbysupcode(double& num, double& cost, const QString& breedcode, const QString& supcode, int periodno);
    void getinnumcostbycid(double& num, double& cost, const QString& breedcode, int cid, int periodno);
    void getinnumcostbycf(double& num, double& cost, const QString& code, int cfid, int periodno);
    void Getexnumcostbydptcode(double& num, double& cost, const QString& breedcode, const QString& dptcode, int periodno);
    void GetExnumcostbypjtcode(double& num, double& cost, const QString& breedcode, const QString& pjtcode, int periodno);
    void Getexnumcostbydpt(double& num, double& cost, const QString& code, int Departmentno, int periodno);
    void GetExnumcostbypjt(double& num, double& cost, const QString& code, int projectno, int periodno);
    // kind 2 material source, 3 supplier (receipts), 4 department, 5 project (issues); any
    // other kind leaves num and cost unchanged.
    void getnumcostbycode(double& num, double& cost, const QString& breedcode, const QString& itemcode,
                          int periodno, quint8 kind);
    void getcyldptmuncostbymid(int mid, int dptid, int pid, double& num, double& cost);
    void getcylmuncostbymid(int mid, int pid, double& num, double& cost);
    void gettreenodelistdef(const QString& tablename, TNodeList& list, int pfid, int deep);
    void gettreenodelist(const QString& tablename, TNodeList& list, int pfid, int deep, quint8 kind,
                         quint8 billflag, int periodno);
    void getnodelist(const QString& tablename, TNodeList& list);

    // The connection strings the creation builds; a value that holds ";", starts with a
    // quote or has blanks at either end is put between double quotes.
    static QString windowsconnectstring(const QString& server);
    static QString sqlloginconnectstring(const QString& server, const QString& user, const QString& password);
    // A database name that "Use" accepts: a letter or "_" first, then letters, digits, "_", "$", "#", "@".
    static bool isvaliddbname(const QString& name);

protected:
    // Shared-lookup step: the statement on tempqry (close, clear, add text, open).
    void openquery(const QString& sql);
    // Lookup step: the database switch, then sql opened on a factory query through the
    // Topensql runner (a database error becomes the silent abort).
    TQueryPtr lookup(const QString& sql);
    // The database switch, then the rows of sql (at most maxRows) straight from the engine,
    // for reads that need the values only. silent: a failure aborts silently, as a lookup's.
    DbResult fetch(const QString& sql, int maxRows, bool silent);
    // Direct step: the database switch, then sql opened on a factory query.
    TQueryPtr direct(const QString& sql);

    // ----- period close steps (each False ends the close) -----
    bool dobillbalance(TDateTime pbdate, TDateTime pedate, TDateTime newbdate);
    bool balancenewperiod(int oldid, int newid, TDateTime pbdate, TDateTime pedate, TDateTime newbdate);
    bool balancecarryledger(int newid);
    bool balancesnapshotstorage(int oldid);
    bool balanceresetstorage();
    bool balancesnapshotcyldb(int oldid);
    bool balancesnapshotcyldpt(int oldid);
    bool balancecarrycycledetail(int oldid, int newid, TDateTime pedate, TDateTime newbdate);

    // ----- statistics helpers -----
    // Opens sql on tempqry and reads its single row's two sums (NULL reads as 0).
    void readnumcost(const QString& sql, const QString& numfield, const QString& costfield, double& num,
                     double& cost);
    // The condition that narrows "code like 'c%'" on a tree table to the real subtree of the
    // node(s) coded c: empty when the prefix selects nothing else; otherwise " and <idcolumn>
    // in (...)" with the keys of the subtree.
    QString subtreecondition(const QString& tablename, const QString& code, const QString& idcolumn);
    // Receipts or issues of the categories under breedcode for the tree item coded itemcode.
    void itemcodenumcost(double& num, double& cost, bool receipts, const QString& breedcode, const QString& itemclause,
                         const QString& itemcode, const QString& itemtable, const QString& idcolumn, int periodno);
    // Appends the children of pfid, depth first; with kind set, keeps only nodes with figures.
    void walktreenodes(const QString& tablename, TNodeList& list, const TDataPacket& children, int deep,
                       const std::optional<quint8>& kind, int periodno);

private:
    void trace(const QString& sql) const;
    // Adds the lookup indexes of the current template to an account set that lacks them.
    void ensureindexes(const QString& name);
    QSet<QString> m_indexedsets;   // account sets whose indexes were looked at (lower case)
    QString m_lastindexed;         // the last of them switched to, as spelled
    QString m_validdbname;         // the last name found valid for "Use"
    QString m_usesql;              // and its "Use" statement
    bool markheldslots(int pid);
    // Paged reading: builds each page's SELECT from the last key read (sameKey: the rows
    // whose key equals it instead of those after it).
    using TPageSelect = std::function<QString(const std::optional<QString>& lastkey, bool sameKey)>;
    TDataPacket pagedread(const TPageSelect& buildselect, const QString& keyField, int Maxrec);
    // One fetch as packet content of its own (GetLargeData's rows, not yet shared).
    TPacketContentPtr fetchcontent(const QString& cmdstr, int Rcount);
    // One page's content read on the load's query (null when the fetch failed).
    TPacketContentPtr getonepage(TADOQuery* query, const QString& sql, int Maxrec);
    // Moves the first count rows of a page into the accumulated rows (the first page becomes
    // them); a page whose fetch failed raises the dataset layer's closed-dataset error.
    static void appendpage(TPacketContentPtr& all, const TPacketContentPtr& page, int count);
    static void clearpage(TClientDataSet* page);
    // The column names of a table, from an empty SELECT of it.
    QStringList tablecolumns(const QString& table);
    bool readcolumns(const QString& table, QStringList& columns);
    // Runs one generated statement on the query; False when it fails (nothing shown).
    bool rundeltastatement(TADOQuery* query, const QString& sql);
    int countrowswhere(const QString& table, const QString& field, int value);
    int countrowswheretwo(const QString& table, const QString& firstfield, const QString& secondfield,
                          int firstvalue, int secondvalue);

    // ----- stock engine: bill posting internals -----
    using billworker = bool (TrmtDM::*)(const PostingHead& head, const PostingLines& lines);
    // Runs worker in one transaction: commit when it returns True, otherwise (or on any
    // error) roll back and return False.
    // The worker posts the bill as it is stored, read inside the transaction (the head, from its
    // view, by the fid of master; the lines whose material exists, in line order, each with its
    // material's kind): another workstation may have changed and saved it since the form
    // loaded it.
    // extra: statements run after a successful worker, before the commit.
    bool runbillposting(billworker worker, TClientDataSet* master, TClientDataSet* detail, bool stockin,
                        const QStringList& extra = {});
    // Inside the posting transaction: the bill's period is the open period (read now, not at
    // login) and the bill, as read in the transaction, is in the state the operation needs
    // (audit: not yet audited; reversal: audited). Shows the refusal and returns False otherwise.
    bool billpostable(const PostingHead& head, bool audit);
    // A price batch the line names must exist; shows the refusal and returns False otherwise.
    bool batchexists(const QString& keyfield, int key);
    bool batchfound(bool found);
    // Inside a stock-out posting: every price batch the lines draw on holds what they draw
    // (audit: the issued quantities; reversal: what return lines put back). Shows the refusal
    // naming the batch, what is left and what is drawn, and returns False otherwise.
    bool batchescover(const PostingLines& lines, bool audit);
    // At the start of a posting: the rows its lines look up, read for all lines at once
    // (stock-in: batches by line and by the line a return names; stock-out: batches by line and
    // those the lines draw on, the department's turnover rows). Only an audit asks whether a
    // material has its average or planned price.
    void prereadlines(const PostingLines& lines, bool stockin, bool audit, int dptid = 0);
    // What a posting has read of the rows of table whose keyfields hold keys (nullptr when
    // no posting runs or it has not read them).
    const PostingRows* postedrows(const QString& table, std::initializer_list<QString> keyfields,
                                  std::initializer_list<int> keys) const;
    bool doimbillrecord(const PostingHead& head, const PostingLines& lines);
    bool doimbillreverse(const PostingHead& head, const PostingLines& lines);
    bool doexbillrecord(const PostingHead& head, const PostingLines& lines);
    bool doexbillreverse(const PostingHead& head, const PostingLines& lines);
    bool setbillrecorded(const QString& table, const QString& keyfield, int id, bool flag);
    bool setbillassessor(const QString& table, int fid, const QString& name);

    std::unique_ptr<PostingLookups> m_lookups;   // while a posting runs
    TQueryPtr m_execquery;           // the query execsql runs its statements on
    bool m_execbusy = false;         // execsql is running a statement on it

    Topensql* aopensql = nullptr;    // unused
    Texecsql* aexecsql = nullptr;    // the runner of the statement execsql is executing
};

// The one instance, created at start-up before the main window.
extern TrmtDM* rmtDM;
