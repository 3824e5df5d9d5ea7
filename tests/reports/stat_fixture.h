#pragma once
// The statistics reports on a real account set: a category tree two levels deep (one parent
// category, turnover categories), two sources, suppliers, units and projects, and bills posted
// through the data module's audit: period 0 closed on 2024-11-30, period 1 open, "today"
// 2024-12-20. The dialog service is scripted and the spreadsheet's hand-over to the desktop
// is caught, so that the written workbooks can be read back.
#include "data/stock_fixture.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/gui/Application.h"
#include "reports/ReportBase.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StringGrid.h"
#include "platform/office/Excel.h"
#include "platform/office/xlsxreader.h"
#include "testmain/testsupport.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTest>

namespace stattest {

enum Material { Rebar = 1, Wire = 2, Cement = 3, Formwork = 4, Tube = 5, Binding = 6 };

inline const char* const kMasterData[] = {
    "update breedlist set bparent=1 where fid=1",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (2,1,'000002',1,1,'钢材',0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (3,1,'000003',1,0,'水泥',1,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (5,1,'000005',1,0,'模板',0,1)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (6,1,'000006',1,0,'脚手架',0,1)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
    "values (7,2,'000002007',2,0,'螺纹钢材',0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (8,2,'000002008',2,0,'线材',0,0)",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (1,7,'000002007','螺纹钢','Φ12','吨')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (2,8,'000002008','盘圆','Φ6.5','吨')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (3,3,'000003','水泥','P.O42.5','吨')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (4,5,'000005','钢模板','P3015','块')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (5,6,'000006','钢管','Φ48','米')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit) values (6,8,'000002008','铁丝','22#','公斤')",
    "update suplist set bparent=1 where fid=1",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'华北钢厂')",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname) values (3,1,'000003',1,0,'京西水泥')",
    "update dptlist set bparent=1 where fid=1",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一工区')",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (3,1,'000003',1,0,'二工区')",
    "update pjtlist set bparent=1 where fid=1",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一号楼')",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname) values (3,1,'000003',1,0,'二号楼')",
    "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币','1',1,1)",
    "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('美元','7',0,1)",
    "insert into currentpid (periodid,crtdate) values (0,'2024-11-01')",
};

struct Line {
    int mid;
    double qty;
    double price;
};

inline TDateTime day(const char* iso)
{
    return TDateTime(double(QDate(1899, 12, 30).daysTo(QDate::fromString(QString::fromLatin1(iso), Qt::ISODate))));
}

// The data rows of a grid, cells joined by "|" with the blank cells at the end left out.
inline QStringList gridrows(const TStringGrid* grid, int from = -1)
{
    QStringList out;
    for (int r = from < 0 ? grid->FixedRows() : from; r < grid->RowCount(); ++r) {
        QString row = grid->Rows(r).join(u'|');
        while (row.endsWith(u'|'))
            row.chop(1);
        out << row;
    }
    return out;
}

class StatTest : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        AccountSetTest::SetUp();
        if (HasFatalFailure())
            return;
        dpxtest::writeSettings(programDir(), serverName());
        InstallDialogMessageSink();
        // The grid units are up before any form makes a grid, as at program start.
        InitDBGridGxUnits();
        DialogScript::Start();
        dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected);
        stocktest::login(*dm, QStringLiteral("acct"));
        accname = QStringLiteral("华北建设");
        userisadmin = true;
        loggedin = true;
        SetClockForTesting([] { return TDateTime(day("2024-12-20").Value + 0.4375); });
        previousopener = ExcelDesktop::SetOpener([this](const QString& path) {
            opened << path;
            return true;
        });
        for (const char* s : kMasterData)
            exec(s);
        ASSERT_FALSE(HasFatalFailure());
        books();
    }

    void TearDown() override
    {
        ExcelDesktop::SetOpener(previousopener);
        for (const QString& p : opened)
            QFile::remove(p);
        SetClockForTesting({});
        DialogScript::Stop();
        dm.reset();
        dbname.clear();
        accname.clear();
        username.clear();
        userisadmin = false;
        loggedin = false;
        systype = TSystype::local;
        curpid = 0;
        reportbreedlist.clear();
        reportitemlist.clear();
        reportbreedrows = false;
        AccountSetTest::TearDown();
    }

    void exec(const QString& sql) { ASSERT_EQ(run(sql), QString()) << sql.toStdString(); }
    void exec(const char* sql) { exec(QString::fromUtf8(sql)); }

    static QString code(int fid) { return QStringLiteral("000%1").arg(fid, 3, 10, QLatin1Char('0')); }

    // A stock-in bill of source cf and supplier sup, saved and audited.
    void inbill(int fid, const char* date, int cf, int sup, std::initializer_list<Line> lines)
    {
        exec(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,ckid,lister,assessor,brecorded,"
                            "breverse,cfcode,supcode) values (%1,%2,1,'RK%1','%3',%4,%5,0,'王五','',0,0,'%6','%7')")
                 .arg(fid)
                 .arg(curpid)
                 .arg(QString::fromLatin1(date))
                 .arg(cf)
                 .arg(sup)
                 .arg(code(cf), code(sup)));
        for (const Line& l : lines) {
            const double amount = l.qty * l.price;
            exec(QStringLiteral("insert into ibdetail (iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,"
                                "remark) values (%1,0,0,%2,%3,%4,%5,%4,%5,%4,%5,'')")
                     .arg(fid)
                     .arg(l.mid)
                     .arg(l.qty)
                     .arg(l.price)
                     .arg(amount));
        }
        ASSERT_TRUE(stocktest::audit(*dm, stocktest::PostIn, fid)) << DialogScript::Texts().join(u'\n').toStdString();
    }

    // A stock-out bill to unit dpt for project pjt, saved and audited.
    void outbill(int fid, const char* date, int dpt, int pjt, std::initializer_list<Line> lines)
    {
        exec(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,brecorded,"
                            "breverse,bcylm,breb,dptcode,pjtcode) values (%1,%2,'%3',%4,%5,'CK%1',0,'王五','',0,0,0,0,"
                            "'%6','%7')")
                 .arg(fid)
                 .arg(curpid)
                 .arg(QString::fromLatin1(date))
                 .arg(dpt)
                 .arg(pjt)
                 .arg(code(dpt), code(pjt)));
        for (const Line& l : lines) {
            exec(QStringLiteral("insert into ebdetail (eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,"
                                "cfid,supid) values (%1,0,0,%2,%3,%4,%5,%4,%5,'',1,3,2)")
                     .arg(fid)
                     .arg(l.mid)
                     .arg(l.qty)
                     .arg(l.price)
                     .arg(l.qty * l.price));
        }
        ASSERT_TRUE(stocktest::audit(*dm, stocktest::PostOut, fid)) << DialogScript::Texts().join(u'\n').toStdString();
    }

    // Period 0: receipts from both sources, issues to unit 1; closed on 2024-11-30. Period 1:
    // a receipt, issues to unit 2 (one of them today).
    void books()
    {
        inbill(1, "2024-11-02", 3, 2, {{Rebar, 10, 4000}, {Wire, 5, 3800}, {Formwork, 100, 50}, {Tube, 200, 10}});
        inbill(2, "2024-11-03", 2, 3, {{Cement, 20, 400}});
        outbill(1, "2024-11-05", 2, 2, {{Rebar, 4, 4000}, {Formwork, 40, 50}});
        ASSERT_TRUE(dm->billbalance(day("2024-11-01"), day("2024-11-30"), day("2024-12-01")))
            << DialogScript::Texts().join(u'\n').toStdString();
        ASSERT_EQ(curpid, 1);
        inbill(3, "2024-12-03", 2, 2, {{Rebar, 5, 4200}});
        outbill(2, "2024-12-05", 3, 3, {{Cement, 8, 400}, {Wire, 5, 3800}, {Tube, 50, 10}});
        outbill(3, "2024-12-20", 3, 3, {{Formwork, 10, 50}});
    }

    // Shows a report form offscreen with the event loop run.
    static void show(QWidget* form)
    {
        form->show();
        QApplication::processEvents();
    }

    // Ticks the history box and chooses the closed period in the list (row 1: period 0).
    static void closedperiod(Tfrmbasicreport* form)
    {
        form->CheckBox1->SetChecked(true);
        form->cdsperiod.First();
    }

    // Writes a picture of a grid after the event loop ran.
    static void picture(QWidget* widget, const QString& name)
    {
        QApplication::processEvents();
        widget->grab().save(dpxtest::artifactsDir() + QLatin1Char('/') + name);
    }

    // The last workbook handed to the desktop, read back.
    dpxtest::XlsxBook lastbook()
    {
        if (opened.isEmpty())
            return {};
        return dpxtest::readXlsx(opened.last());
    }

    std::unique_ptr<TrmtDM> dm;
    QStringList opened;
    ExcelDesktop::Opener previousopener;
};

} // namespace stattest
