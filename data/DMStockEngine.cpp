// The stock engine of the data module: the period close and the cost statistics. Each
// operation raises until it is built. The ledger primitives and the posting and reversal
// of bills live in DMStockLedger.cpp, DMStockIn.cpp and DMStockOut.cpp.
#include "DM.h"
#include "platform/rtl/Exceptions.h"

namespace {

[[noreturn]] void notbuilt(const char* operation)
{
    throw Exception(QStringLiteral("not built yet: TrmtDM::%1").arg(QString::fromLatin1(operation)));
}

} // namespace

bool TrmtDM::billbalance(TDateTime pbdate, TDateTime pedate, TDateTime newbdate)
{
    notbuilt("billbalance");
}

void TrmtDM::Getmtrinitnumcost(double& prenum, double& Precost, int periodno, int materialno)
{
    notbuilt("Getmtrinitnumcost");
}

void TrmtDM::Getmtrendnumcost(double& num, double& cost, int periodno, int materialno)
{
    notbuilt("Getmtrendnumcost");
}

void TrmtDM::Getmtrinnumcost(double& num, double& cost, int periodno, int materialno)
{
    notbuilt("Getmtrinnumcost");
}

void TrmtDM::Getmtrexnumcost(double& num, double& cost, int periodno, int materialno)
{
    notbuilt("Getmtrexnumcost");
}

void TrmtDM::GetTypeinitnumcost(double& num, double& cost, const QString& code, int periodno)
{
    notbuilt("GetTypeinitnumcost");
}

void TrmtDM::GetTypeendnumcost(double& num, double& cost, const QString& code, int periodno)
{
    notbuilt("GetTypeendnumcost");
}

void TrmtDM::GetTypeInnumcost(double& num, double& cost, const QString& code, int periodno)
{
    notbuilt("GetTypeInnumcost");
}

void TrmtDM::GetTypeexnumcost(double& num, double& cost, const QString& code, int periodno)
{
    notbuilt("GetTypeexnumcost");
}

void TrmtDM::getinnumcostbycfcode(double& num, double& cost, const QString& breedcode, const QString& cfcode, int periodno)
{
    notbuilt("getinnumcostbycfcode");
}

void TrmtDM::getinnumcostbysupcode(double& num, double& cost, const QString& breedcode, const QString& supcode, int periodno)
{
    notbuilt("getinnumcostbysupcode");
}

void TrmtDM::getinnumcostbycid(double& num, double& cost, const QString& breedcode, int cid, int periodno)
{
    notbuilt("getinnumcostbycid");
}

void TrmtDM::getinnumcostbycf(double& num, double& cost, const QString& code, int cfid, int periodno)
{
    notbuilt("getinnumcostbycf");
}

void TrmtDM::Getexnumcostbydptcode(double& num, double& cost, const QString& breedcode, const QString& dptcode, int periodno)
{
    notbuilt("Getexnumcostbydptcode");
}

void TrmtDM::GetExnumcostbypjtcode(double& num, double& cost, const QString& breedcode, const QString& pjtcode, int periodno)
{
    notbuilt("GetExnumcostbypjtcode");
}

void TrmtDM::Getexnumcostbydpt(double& num, double& cost, const QString& code, int Departmentno, int periodno)
{
    notbuilt("Getexnumcostbydpt");
}

void TrmtDM::GetExnumcostbypjt(double& num, double& cost, const QString& code, int projectno, int periodno)
{
    notbuilt("GetExnumcostbypjt");
}

void TrmtDM::getnumcostbycode(double& num, double& cost, const QString& breedcode, const QString& itemcode, int periodno, quint8 kind)
{
    notbuilt("getnumcostbycode");
}

void TrmtDM::getcyldptmuncostbymid(int mid, int dptid, int pid, double& num, double& cost)
{
    notbuilt("getcyldptmuncostbymid");
}

void TrmtDM::getcylmuncostbymid(int mid, int pid, double& num, double& cost)
{
    notbuilt("getcylmuncostbymid");
}

void TrmtDM::gettreenodelistdef(const QString& tablename, TNodeList& list, int pfid, int deep)
{
    notbuilt("gettreenodelistdef");
}

void TrmtDM::gettreenodelist(const QString& tablename, TNodeList& list, int pfid, int deep, quint8 kind, quint8 billflag, int periodno)
{
    notbuilt("gettreenodelist");
}

void TrmtDM::getnodelist(const QString& tablename, TNodeList& list)
{
    notbuilt("getnodelist");
}
