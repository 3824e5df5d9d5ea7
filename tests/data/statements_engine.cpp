// The statements of the data module and the stock engine, text for text as they compose them,
// run against a new account set and checked by their rows or by what they leave in the tables.
#include "statements_steps.h"

using dpxtest::Step;
using dpxtest::StatementTable;

// The planned-price picker's text, which callers extend with their condition.
#define GETMPPLIST \
    "SELECT dbo.mpplist.fid, dbo.mpplist.mid, dbo.mpplist.pprice, dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit, " \
    "dbo.breedlist.code, dbo.mtrlist.remark, dbo.breedlist.pricemodal FROM  dbo.mpplist INNER JOIN dbo.mtrlist ON "       \
    "dbo.mpplist.mid = dbo.mtrlist.FID INNER JOIN dbo.breedlist ON dbo.mtrlist.bID = dbo.breedlist.FID"

// Key counters, parameters, single-value lookups and existence tests.
TEST_F(StatementTable, KeysParametersAndLookups)
{
    seed(dpxtest::kMasterData);
    const Step steps[] = {
        {'q', "select id from IDlist  with(Xlock) where IDname='MID'", nullptr, "0"},
        {'x', "update idlist set id=1 where idname='MID'", "select ID from IDlist where IDname='MID'", "1"},
        {'q', "select id from IDlist with(Xlock) where IDname='pid'", nullptr, "0"},
        {'q', "select id from IDlist  with(Xlock) where IDname='nosuch'", nullptr, ""},
        {'q', "select ivalue from systemset  where name='monthid'", nullptr, "11"},
        {'x', "update systemset set ivalue='12' where name='monthid'", "select ivalue from systemset where name='MONTHID'", "12"},
        {'q', "select ivalue from systemset  where name='it's'", nullptr, "ERROR"},
        {'x', "insert into currentpid (periodid,crtdate) values (0,'2024-01-01')", "select periodid,crtdate from currentpid",
         "0|2024-01-01"},
        {'x', "update  currentpid set crtdate='2024-01-05' where periodid=1", "select periodid,crtdate from currentpid",
         "0|2024-01-01"},
        {'q', "select bID from mtrlist where FID=1", nullptr, "2"},
        {'q', "select adminrate from breedlist where FID=2 and pricemodal=0", nullptr, "5"},
        {'q', "select FID from mtrlist", nullptr, "1\n2\n3"},
        {'q', "select b.pricemodal from mtrlist a,breedlist b where a.fid='2' and a.bid =b.fid", nullptr, "1"},
        {'q', "select b.pricemodal from mtrlist a,breedlist b where a.fid='9' and a.bid =b.fid", nullptr, ""},
        {'q', "select b.breedtype from mtrlist a,breedlist b where a.fid=2 and a.bid =b.fid", nullptr, "1"},
        {'q', "select b.adminrate from mtrlist a,breedlist b where a.fid=1 and a.bid =b.fid", nullptr, "5"},
        {'x', " Insert into currencyset(cryname,tobalance,isbalance,visibled) values('美元','7.1234',0,1)",
         "select fid,cryname,tobalance,isbalance,visibled from currencyset order by fid", "1|人民币|1|1|1\n2|美元|7.1234|0|1"},
        {'q', "select tobalance  from currencyset where isbalance=1 and visibled=1 order by fid", nullptr, "1"},
        {'q', "select * from mtrlist where fid=3", nullptr, "3|2|000002|圆钢|Φ8|吨|"},
        {'q', "select * from cyldptlist where mid=1 and dptid=2", nullptr, ""},
        {'q', "select fid,mname from mtrlist where Fcode ='000002'", nullptr, "ERROR"},
        {'x', "insert into mpplist (mid,pprice) values (1,8.5)", GETMPPLIST " where mid='1'",
         "1|1|8.5|螺纹钢|Φ12|吨|000002||0"},
        {'q', GETMPPLIST " where mid='2'", nullptr, ""},
        {'x', "update mpplist set pprice=9.25where mid=1", "select pprice from mpplist", "9.25"},
        {'x', "update mpplist set pprice=10where mid=1", "select pprice from mpplist", "10"},
    };
    play(steps);
}

// The bill-number pool: drop and create, the lowest free slot with top, slots per column.
TEST_F(StatementTable, BillNumberPool)
{
    const Step steps[] = {
        {'x', " Insert into billtype(TypeName,code,ibnum,ebnum) values('钢材','A1','100','1')",
         "select ibnum from billtype where code='A1'", "100"},
        {'q', "select ebnum from billtype where code='a1'", nullptr, "1"},
        {'x', "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
              "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ",
         "select fid from billtypelist", "ERROR"},
        {'x', "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
              "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ",
         "select fid from billtypelist", "ERROR"},
        {'x', "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA1] [bit] NULL default 0,"
              "[exA1] [bit] NULL default 0,[imA2] [bit] NULL default 0,[exA2] [bit] NULL default 0) ON [PRIMARY]",
         "select * from billtypelist", ""},
        {'q', "select  top 1  fid  from billtypelist where imA1=0 order by fid", nullptr, ""},
        {'x', "insert into billtypelist (imA1) values (0)", nullptr, nullptr},
        {'x', "insert into billtypelist (imA1) values (0)", nullptr, nullptr},
        {'x', "insert into billtypelist (imA1) values (0)", "select fid,imA1,exA1,imA2,exA2 from billtypelist order by fid",
         "1|0|0|0|0\n2|0|0|0|0\n3|0|0|0|0"},
        {'q', "select  top 1  fid  from billtypelist where imA1=0 order by fid", nullptr, "1"},
        {'x', "update billtypelist set imA1= 1 where fid ='1'", "select  top 1  fid  from billtypelist where imA1=0 order by fid", "2"},
        {'x', "update billtypelist set imA1= 1 where fid ='2'", "select  top 1  fid  from billtypelist where imA1=0 order by fid", "3"},
        {'q', "select  top 1  fid  from billtypelist where exA1=0 order by fid", nullptr, "1"},
        {'x', "update billtypelist set imA1= 0 where fid ='1'", "select  top 1  fid  from billtypelist where imA1=0 order by fid", "1"},
        {'q', "select  top 1  fid  from billtypelist where imA9=0 order by fid", nullptr, "ERROR"},
        {'x', "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
              "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ",
         nullptr, nullptr},
        // An empty category list leaves a dangling comma: the pool cannot be created.
        {'f', "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,) ON [PRIMARY]",
         "select fid from billtypelist", "ERROR"},
        // A new pool hands out slots from 1 again.
        {'x', "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA1] [bit] NULL default 0,"
              "[exA1] [bit] NULL default 0) ON [PRIMARY]",
         nullptr, nullptr},
        {'x', "insert into billtypelist (exA1) values (0)", "select fid,imA1,exA1 from billtypelist", "1|0|0"},
    };
    play(steps);
}

// The one-statement operations of the stock ledger, in the order a posting runs them.
TEST_F(StatementTable, StockLedgerPrimitives)
{
    seed(dpxtest::kMasterData);
    const Step steps[] = {
        {'x', " Insert into ibmaster(fid,pid,cid,billnum,bdate,cfid,supid,lister,remark,brecorded,cfcode,supcode) "
              "values('1','0','1','入库 11-1','2024-01-05','2','2','admin','',0,'000002','000002')",
         "select brecorded,assessor from ibmaster", "0|NULL"},
        {'x', "insert into imexsrglist (mid,pid,iid,bdate,bnum,comment,dptprj,iqty,isprice,idprice,srgqty,srgcost,remark) "
              "values (1,0,1,'2024-01-05','入库 11-1','入库','甲供→华北钢厂',10,12.5,125,10,125,'')",
         "select Mid,pid,iid,eid,bdate,bnum,comment,dptprj,iqty,isprice,idprice,srgqty,srgcost,remark,printed from imexsrglist",
         "1|0|1|NULL|2024-01-05|入库 11-1|入库|甲供→华北钢厂|10|12.5|125|10|125||0"},
        {'x', "insert into msrglist (mid,qty,cost) values (1,10,125)", "select mid,qty,cost,price,preqty,precost from msrglist",
         "1|10|125|NULL|NULL|NULL"},
        {'x', "insert into mrplist (pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,"
              "cfid,supid,remark) values ('0',1,'2024-01-05','入库 11-1','1','0','10','125','125','10','12.5','125','12.5','125',"
              "'1','2','2','')",
         "select fid,mid,bdate,iid,eid,orgqty,qty,sprice,dprice,block,Pid from mrplist", "1|1|2024-01-05|1|0|10|10|12.5|125|0|0"},
        {'q', " SELECT dbo.currencyset.cryname, dbo.suplist.prtname AS supname, dbo.cflist.prtname AS cfname, dbo.mrplist.bdate, "
              "dbo.mrplist.bnum, dbo.mrplist.qty, dbo.mrplist.sprice, dbo.mrplist.dprice, dbo.mrplist.rsprice, dbo.mrplist.rdprice, "
              "dbo.mrplist.remark, dbo.mrplist.mid, dbo.mrplist.fid, dbo.mrplist.block, dbo.mtrlist.mname, dbo.mtrlist.mtype, "
              "dbo.mtrlist.munit, dbo.mrplist.cid, dbo.mrplist.cfid, dbo.mrplist.supid, dbo.mrplist.Pid FROM  dbo.mrplist LEFT "
              "OUTER JOIN dbo.mtrlist ON dbo.mrplist.mid = dbo.mtrlist.FID LEFT OUTER JOIN dbo.currencyset ON dbo.mrplist.cid = "
              "dbo.currencyset.fid LEFT OUTER JOIN dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid LEFT OUTER JOIN dbo.suplist ON "
              "dbo.mrplist.supid = dbo.suplist.fid where dbo.mrplist.mid='1'",
         nullptr, "人民币|华北钢厂|甲供|2024-01-05|入库 11-1|10|12.5|125|12.5|125||1|1|0|螺纹钢|Φ12|吨|1|2|2|0"},
        {'q', "SELECT dbo.currencyset.cryname AS currency, dbo.suplist.prtname AS supname, dbo.cflist.prtname AS cfname, "
              "dbo.mrplist.fid, dbo.mrplist.mid, dbo.mrplist.bdate, dbo.mrplist.bnum, dbo.mrplist.iid, dbo.mrplist.eid, "
              "dbo.mrplist.orgqty, dbo.mrplist.orgdprice, dbo.mrplist.orgrdprice, dbo.mrplist.qty, dbo.mrplist.sprice, "
              "dbo.mrplist.dprice, dbo.mrplist.rsprice, dbo.mrplist.rdprice, dbo.mrplist.remark, dbo.mrplist.block, dbo.mrplist.Pid, "
              "dbo.mrplist.cid, dbo.mrplist.cfid, dbo.mrplist.supid FROM  dbo.mrplist LEFT OUTER JOIN dbo.suplist ON "
              "dbo.mrplist.supid = dbo.suplist.fid LEFT OUTER JOIN dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid LEFT "
              "OUTER JOIN  dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid  where mid='1'",
         nullptr, "人民币|华北钢厂|甲供|1|1|2024-01-05|入库 11-1|1|0|10|125|125|10|12.5|125|12.5|125||0|0|1|2|2"},
        {'x', "update mrplist set block=1 where fid=1", "select block from mrplist", "1"},
        {'x', "update mrplist set qty=6,rdprice=75,dprice=75 where fid=1", "select qty,rdprice,dprice,orgqty from mrplist where fid=1",
         "6|75|75|10"},
        {'x', "update mrplist set bnum='入库 11-2',bdate='2024-01-06 10:30:00',orgqty='12',orgrdprice='150',orgdprice='150',qty='12',"
              "rsprice='12.5',rdprice='150',sprice='12.5',dprice='150',cid='1',cfid='2',supid='2',remark='' where iid='1'",
         "select bnum,bdate,orgqty,qty,rdprice,dprice from mrplist where iid=1", "入库 11-2|2024-01-06 10:30:00|12|12|150|150"},
        {'x', "update mrplist set qty='10',rdprice='125',dprice='125' where iid='1'", "select qty,dprice,orgqty from mrplist",
         "10|125|12"},
        {'x', "insert into mrplist (pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,"
              "cfid,supid,remark) values ('0',1,'2024-01-07','出库 11-1','0','1','-4','-50','-50','-4','12.5','-50','12.5','-50',"
              "'1','2','2','')",
         "select fid,qty,dprice from mrplist where eid=1", "2|-4|-50"},
        {'x', "update mrplist set qty='0',rdprice='0',dprice='0' where eid='1'", "select qty,rdprice,dprice from mrplist where eid=1",
         "0|0|0"},
        {'f', "update mrplist set bnum='x',bdate='2024-01-06',orgqty='1',sprice='1',dprice='1',cfcode='000002',remark='' where fid='1'",
         "select bnum from mrplist where fid=1", "入库 11-2"},
        {'f', "delete imexsrglist where rid=1", "select count(*) from imexsrglist", "1"},
        {'x', "insert into imexsrglist (mid,pid,eid,bdate,bnum,comment,dptprj,eqty,esprice,edprice,srgqty,srgcost,remark) "
              "values (1,0,1,'2024-01-07','出库 11-1','出库','一工区→一号楼',4,12.5,50,6,75,'')",
         "select Mid,eid,comment,eqty,edprice,srgqty,srgcost from imexsrglist where eid=1", "1|1|出库|4|50|6|75"},
        {'x', "update msrglist set qty=6,cost=75 where mid=1", "select qty,cost from msrglist", "6|75"},
        {'x', "update msrglist set qty=6,cost=75 where mid=9", "select count(*) from msrglist", "1"},
        {'x', "delete imexsrglist where iid=1", "select comment from imexsrglist", "出库"},
        {'x', "delete imexsrglist where eid=1", "select count(*) from imexsrglist", "0"},
        {'x', "delete mrplist where eid='1'", "select fid from mrplist", "1"},
        {'x', "delete mrplist where iid='1'", "select count(*) from mrplist", "0"},
        {'x', "insert into maplist (mid,maprice) values (1,12.5)", "select mid,maprice from maplist", "1|12.5"},
        {'x', "update maplist set maprice=10.67 where mid=1", "select mid,maprice from maplist", "1|10.67"},
        {'x', "insert into mpplist (mid,pprice) values (1,8.5)", "select mid,pprice from mpplist", "1|8.5"},
        {'x', "insert into cyldb (mid,qty,cost,srgqty,srgcost,eqty,ecost) values (2,10,100,10,100,0,0)",
         "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb", "2|10|100|10|100|0|0"},
        {'x', " update cyldb set srgqty=6,srgcost=60,eqty=4,ecost=40 where mid=2", "select qty,cost,srgqty,srgcost,eqty,ecost from cyldb",
         "10|100|6|60|4|40"},
        {'x', " update cyldb set srgqty=16,srgcost=160,qty=20,cost=200 where mid=2", "select qty,cost,srgqty,srgcost from cyldb",
         "20|200|16|160"},
        {'x', "insert into  cyldptlist (dptid,mid,qty,cost) values (2,2,4,40)", "select dptid,mid,qty,cost from cyldptlist", "2|2|4|40"},
        {'x', "update cyldptlist set qty= 6,cost=60where dptid=2 and mid=2", "select dptid,mid,qty,cost from cyldptlist", "2|2|6|60"},
        {'x', "update cyldptlist set qty= 5,cost=52.5where dptid=2 and mid=2", "select qty,cost from cyldptlist", "5|52.5"},
        {'q', "select qty from cyldptlist where dptid=2 and mid=2", nullptr, "5"},
        {'q', "select * from cyldptlist where mid=2 and dptid=2", nullptr, "1|2|2|5|52.5"},
        {'x', "insert into cyldetaillist (eid,mid,dptid,crtdate,qty,remark,pid) values (1,2,2,'2024-01-07',4,'','0')",
         "select eid,pid,mid,dptid,crtdate,enddate,qty,cost,remark from cyldetaillist", "1|0|2|2|2024-01-07|NULL|4|NULL|"},
        {'x', "delete cyldetaillist where eid=1", "select count(*) from cyldetaillist", "0"},
        {'x', "update ibmaster set brecorded=1 where fid=1", "select brecorded,assessor from ibmaster", "1|NULL"},
        {'x', "update ibmaster set assessor='admin' where fid='1'", "select brecorded,assessor from ibmaster", "1|admin"},
        {'x', "update ebmaster set brecorded=0 where fid=1", "select count(*) from ebmaster", "0"},
        {'x', "update ibmaster set brecorded=0 where fid=1", "select brecorded from ibmaster", "0"},
        {'x', "update ibmaster set assessor='' where fid='1'", "select brecorded,assessor from ibmaster", "0|"},
    };
    play(steps);
}

// The period close: new period, carry-over rows, snapshots, regrouped turnover issues.
TEST_F(StatementTable, PeriodClose)
{
    seed(dpxtest::kMasterData);
    const char* const stock[] = {
        "insert into msrglist (mid,qty,cost) values (1,10,125)",
        "update msrglist set preqty='0',precost='0' where mid='1'",
        "insert into msrglist (mid,qty,cost) values (3,0,0)",
        "update msrglist set preqty='0',precost='0' where mid='3'",
        "insert into cyldb (mid,qty,cost,srgqty,srgcost,eqty,ecost) values (2,10,100,6,60,4,40)",
        "insert into  cyldptlist (dptid,mid,qty,cost) values (2,2,4,40)",
        "insert into cyldetaillist (eid,mid,dptid,crtdate,qty,remark,pid) values (1,2,2,'2024-01-05',3,'','0')",
        "insert into cyldetaillist (eid,mid,dptid,crtdate,qty,remark,pid) values (2,2,2,'2024-01-20',1,'','0')",
        " Insert into billtype(TypeName,code,ibnum,ebnum) values('钢材','A1','1','1')",
        " Insert into billtype(TypeName,code,ibnum,ebnum) values('模板','A2','1','1')",
    };
    seed(stock);
    const Step steps[] = {
        {'x', "insert into currentpid (periodid,crtdate) values (0,'2024-01-01')", "select * from currentpid where 1=1 order by periodid",
         "0|2024-01-01"},
        {'q', "select code from billtype where fid>0 order by fid", nullptr, "A1\nA2"},
        {'q', "select id from IDlist with(Xlock) where IDname='pid'", nullptr, "0"},
        {'x', "update idlist set id=1 where idname='pid'", "select id from IDlist  with(Xlock) where IDname='pid'", "1"},
        {'x', "insert into periodlist (pid,crtdate,enddate) values ('0','2024-01-01','2024-01-31')",
         "select Fid,pid,crtdate,enddate from periodlist", "1|0|2024-01-01|2024-01-31"},
        {'x', "update currentpid set  periodid='1',crtdate='2024-02-01'", "select periodid,crtdate from currentpid", "1|2024-02-01"},
        {'x', "insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) values ('1','1','2024-02-01','期末结转','10','125')",
         nullptr, nullptr},
        {'x', "insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) values ('3','1','2024-02-01','期末结转','0','0')",
         "select Mid,pid,bdate,comment,srgqty,srgcost from imexsrglist order by fid",
         "1|1|2024-02-01|期末结转|10|125\n3|1|2024-02-01|期末结转|0|0"},
        {'x', "insert into premsrglist (pid,mid,qty,cost,preqty,precost) select 0, mid,qty,cost,preqty,precost from msrglist",
         "select pid,mid,qty,cost,preqty,precost from premsrglist order by mid", "0|1|10|125|0|0\n0|3|0|0|0|0"},
        {'x', "update msrglist set preqty='10',precost='125' where mid='1'", "select mid,qty,cost,preqty,precost from msrglist order by mid",
         "1|10|125|10|125\n3|0|0|0|0"},
        {'x', "insert into precyldb (pid,mid,qty,cost,srgqty,srgcost,eqty,ecost) select '0',mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb",
         "select pid,mid,qty,srgqty,eqty from preCylDB where pid=0", "0|2|10|6|4"},
        {'x', "insert into precyldptlist (pid,dptid,mid,qty,cost) select '0',dptid,mid,qty,cost from cyldptlist",
         "select pid,dptid,mid,qty,cost from precyldptlist where pid=0", "0|2|2|4|40"},
        {'x', "insert into precyldetaillist ( pid,dptid,mid ,crtdate,enddate,qty,cost,remark) select '0',dptid,mid ,crtdate,'2024-01-31',"
              "qty,cost,remark from cyldetaillist",
         "select pid,dptid,mid,crtdate,enddate,qty from precyldetaillist where pid=0 order by fid",
         "0|2|2|2024-01-05|2024-01-31|3\n0|2|2|2024-01-20|2024-01-31|1"},
        {'q', "select mid ,sum(qty) as qty ,sum(cost) as cost from cyldetaillist  where dptid='2' and pid='0' group by mid", nullptr,
         "2|4|NULL"},
        {'q', "select mid ,sum(qty) as qty ,sum(cost) as cost from cyldetaillist  where dptid='3' and pid='0' group by mid", nullptr, ""},
        {'x', "insert into cyldetaillist ( pid,dptid,mid ,crtdate,qty,cost,remark) values ('1','2','2','2024-02-01','4',NULL,'上月结存')",
         nullptr, nullptr},
        {'x', "delete cyldetaillist where pid<>'1'", "select pid,dptid,mid,crtdate,qty,cost,remark from cyldetaillist",
         "1|2|2|2024-02-01|4|NULL|上月结存"},
        {'x', "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
              "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ",
         nullptr, nullptr},
        {'x', "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA1] [bit] NULL default 0,"
              "[exA1] [bit] NULL default 0,[imA2] [bit] NULL default 0,[exA2] [bit] NULL default 0) ON [PRIMARY]",
         "select * from billtypelist", ""},
        {'q', "select sum(preqty) as preqty,sum(precost) as preprice from premsrglist where  pid=0 and mid=1", nullptr, "0|0"},
        {'q', "select sum(qty) as qty,sum(cost) as price from premsrglist where  pid=0 and mid=1", nullptr, "10|125"},
        {'q', "select sum(a.preqty) as preqty,sum(a.precost) as preprice from premsrglist a,mtrlist b where  a.mid=b.fid and a.pid=0 "
              "and b.code like'000%'",
         nullptr, "0|0"},
        {'q', "select sum(a.qty) as qty,sum(a.cost) as price from premsrglist a,mtrlist b where  a.mid=b.fid and  a.pid=1 and "
              "b.code like'000%'",
         nullptr, "NULL|NULL"},
    };
    play(steps);
}

// Keyset-paged reading, the delta writer's statements and the tree models' statements.
TEST_F(StatementTable, PagedReadingDeltasAndTrees)
{
    seed(dpxtest::kMasterData);
    for (int fid = 4; fid <= 12; ++fid)
        ASSERT_EQ(run(QStringLiteral("insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values "
                                     "('%1','2','000002','材料%1','','吨','')")
                          .arg(fid)),
                  QString());
    const Step steps[] = {
        {'q', "select fid from mtrlist where 1=1 order by fid", nullptr, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12"},
        {'q', "select * from mtrlist where fid>'10' and 1=1 order by fid", nullptr,
         "11|2|000002|材料11||吨|\n12|2|000002|材料12||吨|"},
        {'q', "select a.fid,a.mname from mtrlist a,breedlist b where a.fid>'9' and  a.bid=b.fid and b.code like '000002%' order by a.fid",
         nullptr, "10|材料10\n11|材料11\n12|材料12"},
        {'q', "select fid,Ftablename from TableField where Fid>'37' and 1=1 order by Fid", nullptr, "38|userpw\n39|mrprice"},
        {'x', " update mtrlist set mname = '圆钢',mtype = 'Φ8' where fid = 1", "select mname,mtype from mtrlist where fid=1", "圆钢|Φ8"},
        {'x', "update mtrlist set remark = '进口' where fid=2", "select remark from mtrlist where fid=2", "进口"},
        {'x', " Insert into emylist(emyname,tel,remark,visibled) values('张三','138','质检',1)",
         "select fid,emyname,tel,remark,visibled from emylist", "1|张三|138|质检|1"},
        {'x', "Delete emylist where fid='1'", "select count(*) from emylist", "0"},
        {'x', " Insert into emylist(emyname) values('李四')", "select fid,emyname,visibled from emylist", "2|李四|1"},
        {'x', "Delete mtrlist where fid='12'", "select count(*) from mtrlist", "11"},
        {'x', "insert into  cflist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
              "values ('4','3','000003004','2',0,'本地','','',1,0,0)",
         "select fid,pfid,code,tlevel,bparent,prtname,visibled from cflist where fid=4", "4|3|000003004|2|0|本地|1"},
        {'x', "update cflist set code='000003',tlevel='1',bparent=1,prtname='自购',prtcode='ZG',remark='',visibled=1,expanded=0,"
              "ischecked=0 where fid='3'",
         "select fid,bparent,prtcode from cflist where fid=3", "3|1|ZG"},
        {'x', "delete cflist where code like '000003%'", "select fid from cflist order by fid", "1\n2"},
        {'x', "update breedlist set code='000002',tlevel='1',bparent=0,prtname='钢材',prtcode='GC',remark='',pricemodal='2',"
              "breedtype='0',adminrate='0' where fid='2'",
         "select pricemodal,adminrate,prtcode from breedlist where fid=2", "2|0|GC"},
        {'x', "delete breedlist where code like '000002%'", "select FID from breedlist order by FID", "1\n3"},
        {'q', "select * from userpw where uname='ADMIN' and password='TULIP' order by fid", nullptr, "1|admin|tulip|1|1"},
        {'q', "select * from userpw where uname='admin' and password='tulip2' order by fid", nullptr, ""},
        {'q', "select * from userpw where uname=' admin' and password='tulip' order by fid", nullptr, ""},
    };
    play(steps);
}
