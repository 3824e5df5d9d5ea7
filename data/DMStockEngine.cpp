// The stock engine of the data module: ledger primitives, posting and reversal of bills,
// the period close and the cost statistics. Each operation raises until it is built.
#include "DM.h"
#include "platform/rtl/Exceptions.h"

namespace {

[[noreturn]] void notbuilt(const char* operation)
{
    throw Exception(QStringLiteral("not built yet: TrmtDM::%1").arg(QString::fromLatin1(operation)));
}

} // namespace

bool TrmtDM::imaddimexsrglist(int periodid, int imdetailid, int materialid, const QString& billnum, TDateTime billdate, const QString& comment, const QString& dptprj, double imqty, double imprice, double imcost, const QString& remark)
{
    notbuilt("imaddimexsrglist");
}

bool TrmtDM::exaddimexsrglist(int periodid, int exdetailid, int materialid, const QString& billnum, TDateTime billdate, const QString& comment, const QString& dptprj, double exqty, double exprice, double excost, const QString& remark)
{
    notbuilt("exaddimexsrglist");
}

bool TrmtDM::imdelimexsrglist(int imdetialid)
{
    notbuilt("imdelimexsrglist");
}

bool TrmtDM::exdelimexsrglist(int imdetialid)
{
    notbuilt("exdelimexsrglist");
}

bool TrmtDM::redelimexsrglist(int imdetialid)
{
    notbuilt("redelimexsrglist");
}

bool TrmtDM::addnewstorage(int materialid, double quantity, double cost)
{
    notbuilt("addnewstorage");
}

bool TrmtDM::imaddstorage(int materialid, double quantity, double cost)
{
    notbuilt("imaddstorage");
}

bool TrmtDM::exaddstorage(int materialid, double quantity, double cost)
{
    notbuilt("exaddstorage");
}

bool TrmtDM::readdstorage(int materialid, double quantity, double cost)
{
    notbuilt("readdstorage");
}

bool TrmtDM::addpricelist(int pid, int materialid, const QString& billnum, TDateTime billdate, int iiD, int eid, double qty, double rsprice, double rdprice, double sprice, double dprice, int cid, int cfid, int supid, const QString& remark)
{
    notbuilt("addpricelist");
}

bool TrmtDM::expricelist(int pricelistID, double Qty, double rdprice, double dprice)
{
    notbuilt("expricelist");
}

bool TrmtDM::updatepricelistbyiid(int IID, const QString& billnum, TDateTime billdate, double qty, double rsprice, double rdprice, double sprice, double dprice, int cid, int cfid, int supid, const QString& remark)
{
    notbuilt("updatepricelistbyiid");
}

bool TrmtDM::updatepricelistbyiid_1(int iid, double qty, double rdprice, double dprice)
{
    notbuilt("updatepricelistbyiid_1");
}

bool TrmtDM::updatepricelistbyeid_1(int eid, double qty, double rdprice, double dprice)
{
    notbuilt("updatepricelistbyeid_1");
}

bool TrmtDM::updatepricelist(int fID, const QString& billnum, TDateTime billdate, double qty, double sprice, double dprice, const QString& cfcode, const QString& remark)
{
    notbuilt("updatepricelist");
}

bool TrmtDM::delpricelistbyiid(int iid)
{
    notbuilt("delpricelistbyiid");
}

bool TrmtDM::delpricelistbyeid(int eid)
{
    notbuilt("delpricelistbyeid");
}

bool TrmtDM::addnewavgprice(int materialid, double avgprice)
{
    notbuilt("addnewavgprice");
}

bool TrmtDM::updateavgprice(int materialid, double quantity, double cost)
{
    notbuilt("updateavgprice");
}

bool TrmtDM::addnewplanprice(int materialid, double planprice)
{
    notbuilt("addnewplanprice");
}

bool TrmtDM::updateplanprice(int materialid, double planprice)
{
    notbuilt("updateplanprice");
}

bool TrmtDM::addnewcycledatabase(int materialid, double totalqty, double totalcost)
{
    notbuilt("addnewcycledatabase");
}

bool TrmtDM::imcycledatabase(int materialid, double imqty, double imcost)
{
    notbuilt("imcycledatabase");
}

bool TrmtDM::reverseimcycledb(int materialid, double imqty, double imcost)
{
    notbuilt("reverseimcycledb");
}

bool TrmtDM::excycledatabase(int materialid, double exqty, double excost)
{
    notbuilt("excycledatabase");
}

bool TrmtDM::reverseexcycledb(int materialid, double exqty, double excost)
{
    notbuilt("reverseexcycledb");
}

bool TrmtDM::bcylmexcycledatabase(int materialid, double exqty, double excost)
{
    notbuilt("bcylmexcycledatabase");
}

bool TrmtDM::bcylmreverseexcycledb(int materialid, double exqty, double excost)
{
    notbuilt("bcylmreverseexcycledb");
}

bool TrmtDM::addnewcycledptlist(int departmentid, int materialid, double imqty, double imcost)
{
    notbuilt("addnewcycledptlist");
}

bool TrmtDM::excycledptlist(int departmentid, int materialid, double exqty, double excost)
{
    notbuilt("excycledptlist");
}

bool TrmtDM::reverseexcycledptlist(int departmentid, int materialid, double exqty, double excost)
{
    notbuilt("reverseexcycledptlist");
}

bool TrmtDM::exaddnewcycledetaillist(int pid, int exdetailid, int materialid, int dptid, TDateTime bdate, double quantity, const QString& remark)
{
    notbuilt("exaddnewcycledetaillist");
}

bool TrmtDM::reverseexcycledetaillist(int exdetailid)
{
    notbuilt("reverseexcycledetaillist");
}

bool TrmtDM::imbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    notbuilt("imbillrecord");
}

bool TrmtDM::imbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    notbuilt("imbillreverse");
}

bool TrmtDM::exbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    notbuilt("exbillrecord");
}

bool TrmtDM::exbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    notbuilt("exbillreverse");
}

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
