#include "QueryBills.h"

#include "CompositeQuery.h"
#include "app/ImBill.h"
#include "data/DataProcess.h"
#include "data/ExcelExport.h"
#include "data/frmconst.h"

QString likecontains(const QString& column, const QString& text)
{
    return QStringLiteral(" and ") + column + QStringLiteral(" like '%") + likeprefix(text);
}

QString imdetailselect()
{
    if (systype == TSystype::overseas)
        return QStringLiteral("select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,a.cryname,b.rsprice,b.rdprice,"
                              "b.sprice,b.dprice,b.remark,a.fid,b.mid from vibmaster a,vibdetail b");
    if (imbilltype == 1)
        return QStringLiteral("select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.rprice,b.expense,b.amount,"
                              "b.sprice,b.dprice,b.remark,a.fid ,b.mid from vibmaster a,vibdetail b");
    return QStringLiteral("select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.sprice,b.dprice,b.remark ,a.fid ,"
                          "b.mid from vibmaster a,vibdetail b");
}

QString exdetailselect()
{
    if (systype == TSystype::overseas)
        return QStringLiteral("select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.currency,b.rsprice,b.rdprice,"
                              "b.sprice,b.dprice,b.remark,a.fid,b.mid from vebmaster a,vebdetail b");
    return QStringLiteral("select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.sprice,b.dprice,b.remark,a.fid,"
                          "b.mid from vebmaster a,vebdetail b");
}

Tfrmquerybill::Tfrmquerybill(QWidget* AOwner, bool stockin) : TfrmBasicquery(AOwner), m_stockin(stockin)
{
    if (stockin) {
        setObjectName(QStringLiteral("frmqueryimbill"));
        SetCaption(QStringLiteral("材料入库单查询、修改"));
        showbill = [](QWidget* owner) -> Tfrmbasicbill* { return new Tfrmbasicimbill(owner); };
        taioform = [](QWidget* owner) -> TForm* { return new Tfrmqueryimdetail(owner); };
    } else {
        setObjectName(QStringLiteral("frmqueryexbill"));
        SetCaption(QStringLiteral("材料出库单查询、修改"));
        showbill = [](QWidget* owner) { return registeredbill(QStringLiteral("Tfrmbasicexbill"), owner); };
        taioform = [](QWidget* owner) -> TForm* { return new Tfrmqueryexdetail(owner); };
    }
}

Tfrmqueryimbill::Tfrmqueryimbill(QWidget* AOwner) : Tfrmquerybill(AOwner, true) {}

Tfrmqueryexbill::Tfrmqueryexbill(QWidget* AOwner) : Tfrmquerybill(AOwner, false) {}

void Tfrmquerybill::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    setgriddetailtitle();
}

QString Tfrmquerybill::samplequery1()
{
    const QString name = Edit1->text().trimmed();
    const QString posted = CheckBox1->Checked() ? QStringLiteral("=1") : QStringLiteral("=0");
    if (m_stockin) {
        querysql = imdetailselect();
        querycondition = QStringLiteral("a.fid=b.iid");
        if (!Edit1->text().isEmpty())
            querycondition += likecontains(QStringLiteral("b.mname"), name);
        querycondition += QStringLiteral(" and a.pid=") + QString::number(curpid) + QStringLiteral(" and a.brecorded") + posted;
    } else {
        querysql = exdetailselect();
        // The name pattern is always there, so lines of materials without a name never show.
        querycondition = QStringLiteral("b.eid=a.fid") + likecontains(QStringLiteral("mname"), name)
                         + QStringLiteral(" and pid=") + QString::number(curpid) + QStringLiteral(" and brecorded") + posted;
    }
    return querysql + QStringLiteral(" where ") + querycondition;
}

QString Tfrmquerybill::samplequery2() const
{
    const QString name = Edit1->text().trimmed();
    const QString posted = CheckBox1->Checked() ? QStringLiteral(" and a.brecorded=1") : QStringLiteral(" and a.brecorded=0");
    QString inner;
    if (m_stockin) {
        inner = QStringLiteral("select b.mid,sum(b.qty) as qty ,sum(b.dprice) as dprice  from ibmaster a,ibdetail b,mtrlist c"
                               " where  a.fid=b.iid and b.mid=c.fid and a.pid=")
                + QString::number(curpid) + posted;
        if (!Edit1->text().isEmpty())
            inner += likecontains(QStringLiteral("C.mname"), name);
    } else {
        inner = QStringLiteral("select b.mid as mid ,sum(b.qty) as qty,sum(b.dprice) as dprice  from ebmaster a,ebdetail b,"
                               "mtrlist c where a.fid=b.eid and b.mid=c.fid and a.pid=")
                + QString::number(curpid) + posted + likecontains(QStringLiteral("c.mname"), name);
    }
    inner += QStringLiteral(" group by b.mid");
    return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,b.fid as mid from (") + inner
           + QStringLiteral(") a,mtrlist b where a.mid=b.fid");
}

void Tfrmquerybill::acQueryExecute(QObject*)
{
    querytotal = CheckBox2->Checked();
    adoqry.Close();
    if (querytotal) {
        setgridsumtitle();
        runquery(samplequery2(), true);
    } else {
        const QString sql = samplequery1();
        setgriddetailtitle();
        runquery(sql, false);
    }
}

void Tfrmquerybill::acQueryExExecute(QObject* Sender)
{
    TfrmBasicquery::acQueryExExecute(Sender);
    if (!queryok)
        return;
    adoqry.Close();
    if (querytotal)
        setgridsumtitle();
    else
        setgriddetailtitle();
    runquery(querysql + QStringLiteral(" where ") + querycondition, querytotal);
}

void Tfrmquerybill::setgriddetailtitle()
{
    const bool overseas = systype == TSystype::overseas;
    if (!m_stockin) {
        if (!overseas)
            setcolumns({{"billnum", "编号", 50, "合计"}, {"bdate", "日期", 110}, {"mname", "材料名称", 130},
                        {"mtype", "规格型号", 100}, {"munit", "单位", 60, "", true}, {"qty", "数量", 80, "sum"},
                        {"sprice", "单价", 80}, {"dprice", "复价", 90, "sum"}, {"remark", "备注", 150}},
                       false, 0);
        else
            setcolumns({{"billnum", "编号", 70, "合计"}, {"bdate", "日期", 110}, {"mname", "材料名称", 110},
                        {"mtype", "规格型号", 80}, {"munit", "单位", 60, "", true}, {"qty", "数量", 60, "sum"},
                        {"currency", "采购币种价格|币种", 60}, {"rsprice", "采购币种价格|实价", 60},
                        {"rdprice", "采购币种价格|复价", 70, "sum"}, {"sprice", "折结算币种价格|单价", 60},
                        {"dprice", "折结算币种价格|复价", 70, "sum"}, {"remark", "备注", 150}},
                       true, 2);
        return;
    }
    if (overseas)
        setcolumns({{"bdate", "日期", 40, "汇总"}, {"billnum", "编号", 50}, {"mname", "材料名称", 80},
                    {"mtype", "规格型号", 70}, {"munit", "单位", 40, "", true}, {"qty", "数量", 50, "sum"},
                    {"cryname", "采购币种价格|币种", 50}, {"rsprice", "采购币种价格|单价", 50},
                    {"rdprice", "采购币种价格|复价", 50, "sum"}, {"sprice", "折结算币种价格|单价", 50},
                    {"dprice", "折结算币种价格|复价", 50, "sum"}, {"remark", "备注", 100}},
                   true, 2);
    else if (imbilltype == 1)
        setcolumns({{"bdate", "日期", 40, "汇总"}, {"billnum", "编号", 55}, {"mname", "材料名称", 80},
                    {"mtype", "规格型号", 70}, {"munit", "单位", 40, "", true}, {"qty", "数量", 50, "sum"},
                    {"rprice", "实际价格|实价", 50}, {"expense", "实际价格|运什费", 50, "sum"},
                    {"amount", "实际价格|合计", 50, "sum"}, {"sprice", "计划价格|单价", 50},
                    {"dprice", "计划价格|复价", 50, "sum"}, {"remark", "备注", 100}},
                   true, 2);
    else
        setcolumns({{"bdate", "日期", 40, "合计"}, {"billnum", "编号", 60}, {"mname", "材料名称", 80},
                    {"mtype", "规格型号", 70}, {"munit", "单位", 40, "", true}, {"qty", "数量", 50, "sum"},
                    {"sprice", "单价", 50}, {"dprice", "复价", 50, "sum"}, {"remark", "备注", 100}},
                   false, 0);
}

void Tfrmquerybill::setgridsumtitle()
{
    setcolumns({{"mname", "材料名称", m_stockin ? 60 : 70, m_stockin ? "汇总" : "合计"}, {"mtype", "规格型号", 80},
                {"munit", "单位", 70, "", true}, {"qty", "数量", 70, "sum"}, {"dprice", "金额", 70, "sum"},
                {"remark", "备注", 180}},
               false, 0);
}

void Tfrmquerybill::acPrintExecute(QObject*)
{
    const ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(1);
    const bool overseas = systype == TSystype::overseas;
    auto names = [](const char* list) { return QString::fromUtf8(list).split(u','); };
    // Each field under the head that names it, numbered in the first column.
    int firstrow = 3;
    QStringList fields;
    if (m_resultsummary) {
        if (m_stockin)
            excelimsumhead(sheet);
        else
            excelexsumhead(sheet);
        fields = names("mname,mtype,munit,qty,dprice,remark");
    } else if (m_stockin) {
        excelimdetailhead(sheet, imbilltype);
        if (overseas) {
            // The overseas lines carry the purchase currency and no freight: the purchase-currency
            // group names what stands under it, as the grid's titles do.
            firstrow = 4;
            const QStringList purchase = names("币种,单价,复价");
            for (int i = 0; i < purchase.size(); ++i)
                sheet->Cells(3, 8 + i).SetValue(purchase[i]);
            fields = names("bdate,billnum,mname,mtype,munit,qty,cryname,rsprice,rdprice,sprice,dprice,remark");
        } else if (imbilltype == 1) {
            firstrow = 4;
            fields = names("bdate,billnum,mname,mtype,munit,qty,rprice,expense,amount,sprice,dprice,remark");
        } else {
            fields = names("bdate,billnum,mname,mtype,munit,qty,sprice,dprice,remark");
        }
    } else {
        excelexdetailhead(sheet, overseas ? 1 : 0);
        if (overseas) {
            firstrow = 4;
            fields = names("bdate,billnum,mname,mtype,munit,qty,currency,rsprice,rdprice,sprice,dprice,remark");
        } else {
            fields = names("bdate,billnum,mname,mtype,munit,qty,sprice,dprice,remark");
        }
    }
    datasettoexcelnumbered(&adoqry, sheet, firstrow, fields, 1);
}
