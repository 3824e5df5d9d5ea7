// A new account set restored from the build's template: its starting rows, its first keys,
// the unique supplier code and the views' handling of missing references.
#include "schema_accountset.h"

#include <QFile>

using dpxtest::AccountSetTest;

namespace {

struct Expected {
    const char* sql;
    const char* rows;
};

} // namespace

TEST_F(AccountSetTest, NewAccountSetHoldsExactlyTheStartingRows)
{
    const Expected cases[] = {
        {"select IDname,ID from IDlist order by fid",
         "IID|0\nEID|0\nPID|0\nMID|0\nBID|1\nCFID|3\nDLID|1\nPLID|1\nSCID|0\nSUPID|1"},
        {"select name,ivalue from systemset order by fid",
         "imbilltype|2\nexbilltype|1\nspricedots|2\ndpricedots|2\ndefaultcryid|1\nmonthid|11\nsystype|1"},
        {"select FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled from breedlist",
         "1|0|000|0|0|材料分类|0|0|0|1"},
        {"select fid,pfid,code,tlevel,bparent,prtname,visibled from suplist", "1|0|000|0|0|供应厂商|1"},
        {"select fid,pfid,code,tlevel,bparent,prtname,visibled from dptlist", "1|0|000|0|0|单位或部门|1"},
        {"select fid,pfid,code,tlevel,bparent,prtname,visibled from pjtlist", "1|0|000|0|0|项目|1"},
        {"select fid,pfid,code,tlevel,bparent,prtname,visibled from cflist order by fid",
         "1|0|000|0|1|来源|1\n2|1|000002|1|0|甲供|1\n3|1|000003|1|0|自购|1"},
        {"select fid,Uname,Password,isadmin,visibled from userpw", "1|admin|tulip|1|1"},
        // The grid metadata exactly as stored, the blank after 编号 and the table name dptnist
        // of the remark row included.
        {"select Fid,Ftablename,fieldname,Fdesc,Ftype,Flength,Fisvisible from TableField order by Fid",
         "1|mtrlist|fid|ID|int|10|0\n2|mtrlist|bid|材料分类|char|50|1\n3|mtrlist|mname|材料名|char|50|1\n"
         "4|mtrlist|mtype|规格型号|char|50|1\n5|mtrlist|munit|单位|char|50|1\n6|mtrlist|remark|备注|char|50|1\n"
         "7|mrplist|bnum|编号|char|100|1\n8|mrplist|qty|数量|int|10|1\n9|mrplist|rsprice|采购价|int|10|1\n"
         "10|mrplist|currency|币种|char|33554452|1\n11|mrplist|rdprice|采购金额|int|10|1\n12|mrplist|sprice|单价|int|10|1\n"
         "13|mrplist|dprice|复价|int|10|1\n14|mrplist|cfname|来源|char|50|1\n15|mrplist|remark|备注|char|100|1\n"
         "16|dptlist|fid|编号 |int|10|0\n17|dptlist|prtname|单位名称|char|50|1\n18|dptlist|dirctor|负责人及电话|char|50|1\n"
         "19|dptnist|remark|备注|char|50|1\n20|dptlist|visibled|是否显示|bit|10|1\n21|dptlist|NULL|NULL|NULL|NULL|NULL\n"
         "22|pjtlist|fid|编号 |int|10|0\n23|pjtlist|prtname|项目名称|char|50|1\n24|pjtlist|style|项目描述|char|50|1\n"
         "25|pjtlist|remark|备注|char|50|1\n26|pjtlist|visibled|是否显示|bit|10|1\n27|pjtlist|NULL|NULL|NULL|NULL|NULL\n"
         "28|emylist|fid|编号|int|10|0\n29|emylist|emyname|姓名|char|50|1\n30|emylist|tel|单位及电话|char|50|1\n"
         "31|emylist|remark|备注|char|50|1\n32|emylist|visibled|是否显示|bit|10|1\n33|emylist|NULL|NULL|NULL|NULL|NULL\n"
         "34|userpw|fid|编号|int|10|0\n35|userpw|uname|用户名|char|50|1\n36|userpw|password|密码|char|50|1\n"
         "37|userpw|isadmin|是否管理员|bit|10|0\n38|userpw|visibled|是否显示|bit|10|0\n39|mrprice|supname|供应厂商|char|50|1"},
        // The metadata lookup of the lists matches the table name ignoring case.
        {"select count(*) from Tablefield where ftableName='DPTLIST'", "5"},
    };
    for (const Expected& c : cases)
        EXPECT_EQ(rows(QString::fromUtf8(c.sql)), QString::fromUtf8(c.rows)) << c.sql;

    const char* const emptyTables[] = {
        "mtrlist", "emylist", "currencyset", "billtype", "ibmaster", "ibdetail", "ebmaster", "ebdetail",
        "msrglist", "mrplist", "maplist", "mpplist", "imexsrglist", "cyldb", "cyldptlist", "cyldetaillist",
        "currentpid", "periodlist", "premsrglist", "preCylDB", "precyldptlist", "precyldetaillist", "billtypelist",
        "materialdblist", "prebreedlist", "precflist", "predptlist", "prepjtlist", "groupright", "orgfunction",
        "dtproperties"};
    for (const char* t : emptyTables)
        EXPECT_EQ(rows(QStringLiteral("select count(*) from ") + QString::fromLatin1(t)), QStringLiteral("0")) << t;
}

TEST_F(AccountSetTest, TablesAndViewsHaveTheirColumnsInOrder)
{
    const Expected cases[] = {
        {"billtypelist", "fid imA3 exA3 imA4 exA4 imA13 exA13 imA14 exA14 imA15 exA15 imA16 exA16 imA17 exA17"},
        {"materialdblist", "fid accname dbname remark"},
        {"breedlist", "FID Pfid code tlevel bparent prtname prtcode remark pricemodal breedtype adminrate visibled expanded ischecked"},
        {"suplist", "fid pfid code tlevel bparent prtname prtcode remark visibled expanded ischecked"},
        {"ibdetail", "Fid iid pfid idid mid qty reqty rprice expense amount rsprice rdprice sprice dprice remark tmpprice"},
        {"ebmaster", "fid pid bdate dptid pjtid billnum rcid lister assessor dirctor remark brecorded breverse bcodeid bcode "
                     "bcylm breb dptcode pjtcode"},
        {"vibmaster", "cfname supname cryname billnum bdate cfid supid ckid lister assessor dirctor remark brecorded breverse "
                      "bcodeid bcode cfcode supcode emyname pid fid cid"},
        {"vibdetail", "mname mtype munit Fid iid pfid idid mid qty reqty rprice expense amount rsprice rdprice sprice dprice "
                      "remark tmpprice code"},
        {"vebmaster", "emyname fid pid bdate dptid pjtid billnum rcid lister assessor dirctor remark brecorded breverse bcodeid "
                      "bcode bcylm breb dptname pjtname dptcode pjtcode"},
        {"vebdetail", "mname mtype munit code currency fid eid rpid edid mid qty rsprice rdprice sprice dprice tempqty "
                      "temprdprice tempdprice remark cid cfid supid"},
        {"vplanlist", "fid mid pprice mname mtype munit code remark pricemodal"},
    };
    for (const Expected& c : cases) {
        QStringList columns;
        EXPECT_EQ(rows(QStringLiteral("select * from ") + QString::fromLatin1(c.sql) + QStringLiteral(" where 1=0"), &columns),
                  QString());
        EXPECT_EQ(columns.join(QLatin1Char(' ')), QString::fromLatin1(c.rows)) << c.sql;
    }
}

// Declared types give the fields the program expects: exact numeric(18,4), datetime, bit,
// smallint, int, text with its size, and fixed-width nchar that keeps its blanks.
TEST_F(AccountSetTest, ColumnsGiveTheirFieldTypes)
{
    const struct {
        const char* table;
        const char* column;
        TFieldType type;
        int size;   // text columns only
    } cases[] = {
        {"ibdetail", "qty", ftBCD, 0},          {"mrplist", "dprice", ftBCD, 0},
        {"currencyset", "tobalance", ftBCD, 0}, {"ebmaster", "bdate", ftDateTime, 0},
        {"currentpid", "crtdate", ftDateTime, 0}, {"ibmaster", "brecorded", ftBoolean, 0},
        {"userpw", "isadmin", ftBoolean, 0},    {"systemset", "ivalue", ftSmallint, 0},
        {"mtrlist", "FID", ftInteger, 0},       {"IDlist", "ID", ftInteger, 0},
        {"ibmaster", "billnum", ftString, 30},  {"breedlist", "prtname", ftString, 50},
        {"mtrlist", "remark", ftString, 100},   {"ebmaster", "dptcode", ftFixedChar, 50},
        {"vebmaster", "dptcode", ftFixedChar, 50}, {"vebmaster", "bdate", ftDateTime, 0},
        {"vebdetail", "currency", ftString, 20}, {"vibdetail", "amount", ftBCD, 0},
        {"vplanlist", "pricemodal", ftInteger, 0}, {"vibmaster", "brecorded", ftBoolean, 0},
    };
    for (const auto& c : cases) {
        TADOQuery q(&connection());
        q.SQL() << QStringLiteral("select * from %1 where 1=0").arg(QString::fromLatin1(c.table));
        q.Open();
        const TField* f = q.FieldByName(QString::fromLatin1(c.column));
        EXPECT_EQ(f->DataType(), c.type) << c.table << "." << c.column;
        if (c.size) {
            EXPECT_EQ(f->Size(), c.size) << c.table << "." << c.column;
        }
    }
    ASSERT_EQ(run(QStringLiteral(" Insert into ebmaster(fid,pid,bdate,dptid,pjtid,dptcode) values('1','0','2024-01-06','2','2','000002')")),
              QString());
    EXPECT_EQ(rows(QStringLiteral("select dptcode from ebmaster")), QStringLiteral("000002") + QString(44, QLatin1Char(' ')));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from ebmaster where dptcode='000002'")), QStringLiteral("1"));
}

// The key counters give a new account set's first material key 1, first category key 2, first
// source key 4, first unit, project and supplier key 2, and first bill category code A1.
TEST_F(AccountSetTest, FirstKeysFollowTheCounters)
{
    const struct {
        const char* counter;
        int first;
        const char* insert;   // %1 = the key
    } cases[] = {
        {"mid", 1, "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('%1','2','000002','螺纹钢','Φ12','吨','')"},
        {"bid", 2, "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
                   "values ('%1','1','000002','1',0,'钢材','','','0','0','0')"},
        {"cfid", 4, "insert into  cflist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
                    "values ('%1','1','000004','1',0,'调拨','','',1,0,0)"},
        {"dlid", 2, "insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
                    "values ('%1','1','000002','1',0,'一工区','','',1,0,0)"},
        {"plid", 2, "insert into  pjtlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
                    "values ('%1','1','000002','1',0,'一号楼','','',1,0,0)"},
        {"supid", 2, "insert into  suplist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
                     "values ('%1','1','000002','1',0,'华北钢厂','','',1,0,0)"},
        {"scid", 1, " Insert into billtype(TypeName,code,ibnum,ebnum) values('钢材','A%1','1','1')"},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.counter);
        const QString last = rows(QStringLiteral("select id from IDlist  with(Xlock) where IDname='%1'").arg(name));
        bool ok = false;
        const int next = last.toInt(&ok) + 1;
        ASSERT_TRUE(ok) << c.counter << ": " << last.toStdString();
        EXPECT_EQ(next, c.first) << c.counter;
        EXPECT_EQ(run(QStringLiteral("update idlist set id=%1 where idname='%2'").arg(next).arg(name)), QString());
        EXPECT_EQ(run(QString::fromUtf8(c.insert).arg(next)), QString()) << c.counter;
    }
    EXPECT_EQ(rows(QStringLiteral("select IDname,ID from IDlist where ID>0 order by fid")),
              QStringLiteral("MID|1\nBID|2\nCFID|4\nDLID|2\nPLID|2\nSCID|1\nSUPID|2"));
    EXPECT_EQ(rows(QStringLiteral("select code from billtype")), QStringLiteral("A1"));
    EXPECT_EQ(rows(QStringLiteral("select fid,prtname from cflist where pfid=1 order by fid")),
              QStringLiteral("2|甲供\n3|自购\n4|调拨"));
}

TEST_F(AccountSetTest, OnlySuppliersRefuseADuplicateCode)
{
    const char* const tables[] = {"suplist", "cflist", "dptlist", "pjtlist"};
    for (const char* t : tables) {
        const QString insert = QStringLiteral("insert into  %1 (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,"
                                              "expanded,ischecked) values ('%2','1','000009','1',0,'甲','','',1,0,0)")
                                   .arg(QString::fromLatin1(t));
        EXPECT_EQ(run(insert.arg(7)), QString()) << t;
        const QString second = run(insert.arg(8));
        if (QByteArray(t) == "suplist") {
            EXPECT_NE(second, QString()) << "a second supplier with the same code was accepted";
        } else {
            EXPECT_EQ(second, QString()) << t;
        }
    }
    EXPECT_EQ(run(QStringLiteral("insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,"
                                 "breedtype,adminrate) values ('7','1','000','1',0,'重复','','','0','0','0')")),
              QString());
    EXPECT_EQ(rows(QStringLiteral("select count(*) from suplist where code='000009'")), QStringLiteral("1"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from dptlist where code='000009'")), QStringLiteral("2"));
}

// Heads show with empty names when a source, supplier, person, unit or project is missing; a line
// whose material is missing vanishes from the detail views, one whose currency is missing stays.
TEST_F(AccountSetTest, ViewsKeepHeadsAndDropLinesWithoutMaterial)
{
    const char* const setup[] = {
        "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('1','2','000002','螺纹钢','Φ12','吨','')",
        " Insert into currencyset(cryname,tobalance,isbalance,visibled) values('人民币','1',1,1)",
        " Insert into ibmaster(fid,pid,cid,billnum,bdate,cfid,supid,ckid,brecorded) values('1','0','9','入库 11-1','2024-01-05','2','9','9',0)",
        " Insert into ibdetail(iid,mid,qty,sprice,dprice) values('1','1','10','12.5','125')",
        " Insert into ibdetail(iid,mid,qty,sprice,dprice) values('1','99','1','1','1')",
        " Insert into ebmaster(fid,pid,bdate,dptid,pjtid,billnum,rcid,brecorded) values('1','0','2024-01-06','9','9','出库 11-1','9',0)",
        " Insert into ebdetail(eid,mid,qty,sprice,dprice,cid) values('1','1','4','12.5','50','1')",
        " Insert into ebdetail(eid,mid,qty,sprice,dprice,cid) values('1','1','2','12.5','25','7')",
        " Insert into ebdetail(eid,mid,qty,sprice,dprice,cid) values('1','98','1','1','1','1')",
    };
    for (const char* s : setup)
        ASSERT_EQ(run(QString::fromUtf8(s)), QString()) << s;
    const Expected cases[] = {
        {"select cfname,supname,cryname,emyname,billnum,fid from vibmaster", "甲供|NULL|NULL|NULL|入库 11-1|1"},
        {"select mname,qty,dprice,code from vibdetail order by Fid", "螺纹钢|10|125|000002"},
        {"select emyname,dptname,pjtname,billnum,fid from vebmaster", "NULL|NULL|NULL|出库 11-1|1"},
        {"select mname,currency,qty,dprice from vebdetail order by fid", "螺纹钢|人民币|4|50\n螺纹钢|NULL|2|25"},
    };
    for (const Expected& c : cases)
        EXPECT_EQ(rows(QString::fromUtf8(c.sql)), QString::fromUtf8(c.rows)) << c.sql;
}

// Two account sets restored from the one template are independent databases.
TEST_F(AccountSetTest, EveryAccountSetIsItsOwnCopyOfTheTemplate)
{
    ASSERT_EQ(run(restoreStatement(QStringLiteral("other"))), QString());
    ASSERT_EQ(run(QStringLiteral("Use acct")), QString());
    ASSERT_EQ(run(QStringLiteral("update idlist set id=5 where idname='MID'")), QString());
    ASSERT_EQ(run(QStringLiteral("Use other")), QString());
    EXPECT_EQ(rows(QStringLiteral("select ID from IDlist where IDname='MID'")), QStringLiteral("0"));
    // The restore moved the data into the program folder's data file (a server keeps it itself).
    if (!dpxtest::onServer()) {
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("Database/other_data.mdf"))));
    }
    EXPECT_EQ(rows(QStringLiteral("select count(*) from TableField")), QStringLiteral("39"));
}

// The build lays out the program folder as the setup does.
TEST(ProgramFolder, HasTheFoldersTheTemplateAndTheFirstSettings)
{
    const QDir bin(QStringLiteral(DPX_BIN_DIR));
    for (const char* sub : {"Database", "backdata", "dpxprt", "dpxdata", "log"})
        EXPECT_TRUE(bin.exists(QString::fromLatin1(sub))) << sub;
    EXPECT_TRUE(QFile::exists(dpxtest::templateFile()));
    QFile ini(bin.filePath(QStringLiteral("log/adolinksetting.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Login]"))) << text.toStdString();
    for (const char* line : {"Server Name=\\sqlexpress", "ConnectTimeOut=5", "KeepConnection=True", "Security Info=False",
                             "LoginPrompt=False"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(line) + QLatin1Char('\n'))) << line;
}
