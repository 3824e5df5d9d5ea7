// The statements of the bill forms, the pickers, the queries and the reports, text for text as
// they compose them, run against an account set holding a few posted and unposted bills.
#include "statements_steps.h"

using dpxtest::Step;
using dpxtest::StatementTable;

namespace {

// Bills written with the statements of the delta writer. Stock-in bill 1 is audited (three lines of 0.1 and one of 10), bill 2 is not. Stock-out bill
// 1 (dated by midnight) goes to the sub-unit 一工区二队, bill 2 (dated ten in the morning of the
// same day) to 一工区; both are audited.
const char* const kBills[] = {
    "Insert into ibmaster(fid,pid,cid,billnum,bdate,cfid,supid,lister,remark,brecorded,breverse,cfcode,supcode) "
    "values('1','0','1','入库 11-1','2024/1/5','2','2','admin','',1,0,'000002','000002')",
    "Insert into ibdetail(iid,mid,qty,sprice,dprice,amount,remark) values('1','1','10','12.5','125','125','')",
    "Insert into ibdetail(iid,mid,qty,sprice,dprice,amount,remark) values('1','1','0.1','10','1','1','')",
    "Insert into ibdetail(iid,mid,qty,sprice,dprice,amount,remark) values('1','1','0.1','10','1','1','')",
    "Insert into ibdetail(iid,mid,qty,sprice,dprice,amount,remark) values('1','1','0.1','10','1','1','')",
    "Insert into ibmaster(fid,pid,cid,billnum,bdate,cfid,supid,lister,remark,brecorded,breverse,cfcode,supcode) "
    "values('2','0','1','入库 11-2','2024-01-06','3','2','admin','',0,0,'000003','000002')",
    "Insert into ibdetail(iid,mid,qty,sprice,dprice,amount,remark) values('2','3','5','10','50','50','')",
    "Insert into ebmaster(fid,pid,bdate,dptid,pjtid,billnum,lister,remark,brecorded,breverse,dptcode,pjtcode) "
    "values('1','0','2024-01-31','3','2','出库 11-1','admin','',1,0,'000002003','000002')",
    "Insert into ebdetail(eid,rpid,mid,qty,sprice,dprice,remark,cid) values('1','1','1','4','12.5','50','','1')",
    "Insert into ebmaster(fid,pid,bdate,dptid,pjtid,billnum,lister,remark,brecorded,breverse,dptcode,pjtcode) "
    "values('2','0','2024-01-31 10:00:00','2','2','出库 11-2','admin','',1,0,'000002','000002')",
    "Insert into ebdetail(eid,mid,qty,sprice,dprice,remark,cid) values('2','1','1','12.5','12.5','','1')",
    "insert into mrplist (pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,cfid,"
    "supid,remark) values ('0',1,'2024-01-05','入库 11-1','1','0','10','125','125','6','12.5','75','12.5','75','1','2','2','')",
    "insert into msrglist (mid,qty,cost) values (1,5.3,65.5)",
    "insert into msrglist (mid,qty,cost) values (3,0,10)",
    "update msrglist set preqty='0',precost='0' where mid>0",
    "insert into premsrglist (pid,mid,qty,cost,preqty,precost) select 0, mid,qty,cost,preqty,precost from msrglist",
    "insert into maplist (mid,maprice) values (1,12.36)",
    "insert into cyldb (mid,qty,cost,srgqty,srgcost,eqty,ecost) values (2,10,100,8,80,2,20)",
    "insert into  cyldptlist (dptid,mid,qty,cost) values (2,2,2,20)",
    "insert into cyldetaillist (eid,mid,dptid,crtdate,qty,remark,pid) values (3,2,2,'2024-01-05',2,'','0')",
    "insert into precyldptlist (pid,dptid,mid,qty,cost) select '0',dptid,mid,qty,cost from cyldptlist",
    "insert into precyldetaillist ( pid,dptid,mid ,crtdate,enddate,qty,cost,remark) values ('0','2','2','2023-12-20','2024-01-31',"
    "'2',NULL,'上月结存')",
};

} // namespace

// The aggregate queries of the statistics, by material, category prefix, source, supplier,
// unit, project and currency, and the turnover materials in use.
TEST_F(StatementTable, CostStatistics)
{
    seed(dpxtest::kMasterData);
    seed(kBills);
    const Step steps[] = {
        {'q', "select sum(preqty) as preqty,sum(precost) as preprice from msrglist where mid=1", nullptr, "0|0"},
        {'q', "select sum(qty) as qty,sum(cost) as price from msrglist where mid=1", nullptr, "5.3|65.5"},
        {'q', "select sum(qty) as qty,sum(cost) as price from premsrglist where  pid=0 and mid=1", nullptr, "5.3|65.5"},
        {'q', "select sum(qty) as qty,sum(cost) as price from premsrglist where  pid=1 and mid=1", nullptr, "NULL|NULL"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b where a.fid=b.iid and a.pid=0 and "
              "a.brecorded=1 and b.mid=1",
         nullptr, "10.3|128"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b where a.fid=b.iid and a.pid=0 and "
              "a.brecorded=1 and b.mid=3",
         nullptr, "NULL|NULL"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b  where a.fid=b.eid and a.pid=0 and "
              "a.brecorded=1 and b.mid=1",
         nullptr, "5|62.5"},
        {'q', "select sum(a.preqty) as preqty ,sum(a.precost) as preprice from msrglist a,mtrlist b where  a.mid=b.fid and "
              "b.code like'000%'",
         nullptr, "0|0"},
        {'q', "select sum(a.qty) as qty,sum(a.cost) as price from msrglist a,mtrlist b where  a.mid=b.fid and b.code like'000002%'",
         nullptr, "5.3|75.5"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b,mtrlist c  where a.fid=b.iid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%'",
         nullptr, "10.3|128"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c  where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000003%'",
         nullptr, "NULL|NULL"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b,mtrlist c where a.fid=b.iid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.cfcode like'000002%'",
         nullptr, "10.3|128"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b,mtrlist c where a.fid=b.iid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.supcode like'000002%'",
         nullptr, "10.3|128"},
        {'q', "select sum(b.qty) as qty,sum(b.amount) as dprice from ibmaster a,ibdetail b,mtrlist c where a.fid=b.iid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.cid ='1'",
         nullptr, "10.3|128"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b,mtrlist c where a.fid=b.iid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.cfid=3",
         nullptr, "NULL|NULL"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.dptcode like '000002%'",
         nullptr, "5|62.5"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.dptcode like '000002003%'",
         nullptr, "4|50"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.pjtcode like '000002%'",
         nullptr, "5|62.5"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%'  and a.dptid=3",
         nullptr, "4|50"},
        {'q', "select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and "
              "b.mid=c.fid and a.pid=0 and a.brecorded=1 and c.code like'000%' and a.pjtid=2",
         nullptr, "5|62.5"},
        {'q', "select sum(qty) as qty,sum(cost) as cost   from cyldptlist where  dptid='2' and mid='2'", nullptr, "2|20"},
        {'q', "select sum(qty) as qty,sum(cost) as cost  from precyldptlist where pid='0' and dptid='2'and mid='2'", nullptr, "2|20"},
        {'q', "select sum(qty) as qry,sum(cost) as cost  from cyldptlist where  mid='2'", nullptr, "2|20"},
        {'q', "select sum(qty) as qry,sum(cost) as cost  from precyldptlist where pid='0'and mid='2'", nullptr, "2|20"},
        {'q', "select sum(qty) as qry,sum(cost) as cost  from precyldptlist where pid='1'and mid='2'", nullptr, "NULL|NULL"},
        {'q', "select * from dptlist where pfid=1 order by fid", nullptr, "2|1|000002|1|1|一工区|||1|0|0"},
        {'q', "select fid,cryname from currencyset where 1=1 order by fid", nullptr, "1|人民币"},
    };
    play(steps);
}

// The bill forms and their pickers.
TEST_F(StatementTable, BillFormsAndPickers)
{
    seed(dpxtest::kMasterData);
    seed(kBills);
    const Step steps[] = {
        {'q', "select * from vibmaster where 1=0 order by fid", nullptr, ""},
        {'q', "select * from vibmaster where fid='1' order by fid", nullptr,
         "甲供|华北钢厂|人民币|入库 11-1|2024-01-05|2|2|NULL|admin|NULL|NULL||1|0|NULL|NULL|000002|000002|NULL|0|1|1"},
        {'q', "select Fid,iid,mid,qty,dprice,code from vibdetail where iid='1' order by Fid", nullptr,
         "1|1|1|10|125|000002\n2|1|1|0.1|1|000002\n3|1|1|0.1|1|000002\n4|1|1|0.1|1|000002"},
        {'q', "select * from vebdetail where eid='2' order by fid", nullptr,
         "螺纹钢|Φ12|吨|000002|人民币|2|2|NULL|NULL|1|1|NULL|NULL|12.5|12.5|NULL|NULL|NULL||1|NULL|NULL"},
        {'q', "select emyname,fid,billnum,dptname,pjtname from vebmaster where fid='1' order by fid", nullptr,
         "NULL|1|出库 11-1|一工区二队|一号楼"},
        {'q', "select d.code,d.prtname,a.fid,a.bid,a.mname,a.mtype,a.munit,a.remark from  mtrlist a,breedlist d where a.bid=d.fid "
              "and d.code='000002' order by a.fid",
         nullptr, "000002|钢材|1|2|螺纹钢|Φ12|吨|\n000002|钢材|3|2|圆钢|Φ8|吨|"},
        {'q', "select d.code,d.prtname,a.fid,a.bid,a.mname,a.mtype,a.munit,a.remark from  mtrlist a,breedlist d where a.bid=d.fid  "
              "and a.bid ='2' order by a.fid",
         nullptr, "000002|钢材|1|2|螺纹钢|Φ12|吨|\n000002|钢材|3|2|圆钢|Φ8|吨|"},
        {'q', "select d.code,d.prtname,a.fid,a.bid,a.mname,a.mtype,a.munit,a.remark from  mtrlist a,breedlist d where a.fid>'1' and "
              "a.bid=d.fid  and a.mname like '%钢%' order by a.fid",
         nullptr, "000003|模板|2|3|钢模板|P3015|块|\n000002|钢材|3|2|圆钢|Φ8|吨|"},
        {'q', "select d.code,d.prtname,a.fid,a.bid,a.mname,a.mtype,a.munit,a.remark from  mtrlist a,breedlist d where a.bid=d.fid  "
              "and a.mname like '%O''Neil%' order by a.fid",
         nullptr, ""},
        {'q', "select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,c.qty,c.cost,b.maprice,a.remark from mtrlist a,maplist b,"
              "msrglist c,breedlist d where  b.mid=a.fid and a.bid=d.fid  and b.mid=c.mid and c.qty<>0 and a.code like '000002%'  "
              "and a.mname like '%螺%' order by a.fid",
         nullptr, "钢材|1|2|000002|螺纹钢|Φ12|吨|5.3|65.5|12.36|"},
        {'q', "select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,b.qty,b.cost,a.remark from mtrlist a,msrglist b,breedlist d "
              "where  a.fid=b.mid and a.bid=d.fid and a.code like '000002%'  and (b.qty<>0 or b.cost<>0)  order by a.fid",
         nullptr, "钢材|1|2|000002|螺纹钢|Φ12|吨|5.3|65.5|\n钢材|3|2|000002|圆钢|Φ8|吨|0|10|"},
        {'q', "select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,c.qty,c.cost,b.pprice,a.remark from mtrlist a,mpplist b,"
              "msrglist c,breedlist d  where  a.fid=b.mid and a.bid=d.fid and b.mid=c.mid  and c.qty<>0 and a.code like '000002%' "
              "order by a.fid",
         nullptr, ""},
        {'q', "select b.prtname,c.mid,c.bdate,c.bnum,c.iid,c.eid,c.orgqty,c.qty,c.sprice,c.dprice,c.cfid,c.remark,c.block from "
              "mtrlist a,breedlist b,mrplist c where a.fid=c.mid and a.bid=b.fid and c.qty<>0 order by c.fid",
         nullptr, "钢材|1|2024-01-05|入库 11-1|1|0|10|6|12.5|75|2||0"},
        {'q', "select *  from mrplist where (mid='1') and (qty <> 0 or dprice<>0) order by fid", nullptr,
         "1|1|2024-01-05|入库 11-1|1|0|10|125|125|6|12.5|75|12.5|75||0|0|1|2|2"},
        {'q', "select d.code,b.bdate,b.billnum,b.cfid,c.fid as idid,a.fid,a.mname,a.mtype,a.munit,c.qty,c.sprice,c.dprice,c.remark "
              "from ibmaster b,ibdetail c,mtrlist a,breedlist d where b.fid=c.iid and c.mid=a.fid and a.bid=d.fid and b.breverse=0 "
              "and b.supid='2' and b.brecorded =1 and b.pid>='-3' order by c.fid",
         nullptr,
         "000002|2024-01-05|入库 11-1|2|1|1|螺纹钢|Φ12|吨|10|12.5|125|\n000002|2024-01-05|入库 11-1|2|2|1|螺纹钢|Φ12|吨|0.1|10|1|\n"
         "000002|2024-01-05|入库 11-1|2|3|1|螺纹钢|Φ12|吨|0.1|10|1|\n000002|2024-01-05|入库 11-1|2|4|1|螺纹钢|Φ12|吨|0.1|10|1|"},
        {'q', "select d.code,b.bdate,b.billnum,b.cfid,c.fid as idid,a.fid,a.mname from ibmaster b,ibdetail c,mtrlist a,breedlist d "
              "where b.fid=c.iid and c.mid=a.fid and a.bid=d.fid and b.breverse=0 and b.supid='2' and b.brecorded =1 and "
              "b.pid>='1' order by c.fid",
         nullptr, ""},
        {'q', "select c.CODE,b.dptid,b.bdate,b.billnum, c.rpid,c.qty,C.CID,c.currency,c.rsprice,c.rdprice,c.sprice,c.dprice,c.remark,"
              "c.mid as fid,c.fid as ffid ,c.mname,c.mtype,c.munit from vebmaster b,vebdetail c where b.fid=c.eid and b.breverse=0 "
              "and b.dptid=3 and c.code ='000002' and b.pid>='-3' and c.qty>0 order by c.fid",
         nullptr, "000002|3|2024-01-31|出库 11-1|1|4|1|人民币|NULL|NULL|12.5|50||1|1|螺纹钢|Φ12|吨"},
        {'q', "select * from vplanlist where code='000002' and pricemodal=2 order by fid", nullptr, ""},
        {'q', "select * from mtrlist where code='000002' and not(fid in (select mid  from mpplist )) order by fid", nullptr,
         "1|2|000002|螺纹钢|Φ12|吨|\n3|2|000002|圆钢|Φ8|吨|"},
        {'x', " Insert into mpplist(mid,pprice) values('1','9.5')", "select * from vplanlist where code='000002' order by fid",
         "1|1|9.5|螺纹钢|Φ12|吨|000002||0"},
        {'q', "select * from mtrlist where code='000002' and not(fid in (select mid  from mpplist )) order by fid", nullptr,
         "3|2|000002|圆钢|Φ8|吨|"},
        {'q', "select * from currentpid where 1=1 order by periodid", nullptr, ""},
        {'x', "insert into currentpid (periodid,crtdate) values (0,'2024-01-01')", "select * from currentpid where periodid>0 order by periodid",
         ""},
        {'x', "delete ibdetail where iid='2'", "select count(*) from vibdetail", "4"},
        {'x', "delete ibmaster where fid='2'", "select fid from vibmaster", "1"},
        {'x', "delete ebdetail where eid='2'", "select count(*) from ebdetail", "1"},
        {'x', "delete ebmaster where fid='2'", "select fid from vebmaster", "1"},
    };
    play(steps);
}

// The query forms: detail and summary, the composite conditions with their date range, the
// stock queries, the ledger header and the turnover report with days in use.
TEST_F(StatementTable, QueriesAndReports)
{
    seed(dpxtest::kMasterData);
    seed(kBills);
    const Step steps[] = {
        {'q', "select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.sprice,b.dprice,b.remark,a.fid,b.mid from vebmaster a,vebdetail b "
              "where b.eid=a.fid and mname like '%%' and pid=0 and brecorded=1",
         nullptr, "2024-01-31|出库 11-1|螺纹钢|Φ12|吨|4|12.5|50||1|1\n2024-01-31 10:00:00|出库 11-2|螺纹钢|Φ12|吨|1|12.5|12.5||2|1"},
        {'q', "select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.sprice,b.dprice,b.remark,a.fid,b.mid from vebmaster a,vebdetail b "
              "where b.eid=a.fid and mname like '%螺纹%' and pid=0 and brecorded=0",
         nullptr, ""},
        {'q', "select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,b.sprice,b.dprice,b.remark ,a.fid ,b.mid from vibmaster a,vibdetail b "
              "where a.fid=b.iid and a.pid=0 and a.brecorded=0",
         nullptr, "2024-01-06|入库 11-2|圆钢|Φ8|吨|5|10|50||2|3"},
        {'q', "select a.bdate,a.billnum,b.mname,b.mtype,b.munit,b.qty,a.cryname,b.rsprice,b.rdprice,b.sprice,b.dprice,b.remark,a.fid,b.mid "
              "from vibmaster a,vibdetail b where a.fid=b.iid and b.mname like '%圆%' and a.pid=0 and a.brecorded=0",
         nullptr, "2024-01-06|入库 11-2|圆钢|Φ8|吨|5|人民币|NULL|NULL|10|50||2|3"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,b.fid from (select b.mid as mid ,sum(b.qty) as qty,sum(b.dprice) "
              "as dprice  from ebmaster a,ebdetail b,mtrlist c where a.fid=b.eid and b.mid=c.fid and a.pid=0 and a.brecorded=1 and "
              "c.mname like '%螺纹%' group by b.mid) a,mtrlist b where a.mid=b.fid",
         nullptr, "螺纹钢|Φ12|吨|5|62.5||1"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,b.fid from (select b.mid,sum(b.qty) as qty ,sum(b.dprice) as "
              "dprice  from ibmaster a,ibdetail b,mtrlist c where  a.fid=b.iid and b.mid=c.fid and a.pid=0 and a.brecorded=1 "
              "group by b.mid) a,mtrlist b where a.mid=b.fid",
         nullptr, "螺纹钢|Φ12|吨|10.3|128||1"},
        // A datetime condition compares as the server's datetime: the upper bound is midnight.
        {'q', "select a.bdate,a.billnum,b.qty,a.fid from vebmaster a,vebdetail b where b.eid=a.fid and mname like '%%' and "
              "mtype like '%%' and billnum like '%%' and pid in (0) and Bdate>='2024-01-01' and Bdate<='2024-01-31' and brecorded=1",
         nullptr, "2024-01-31|出库 11-1|4|1"},
        {'q', "select a.bdate,a.billnum,b.qty,a.fid from vebmaster a,vebdetail b where b.eid=a.fid and Bdate>='2024-01-31' and "
              "brecorded=1 and dptcode like '000002%'",
         nullptr, "2024-01-31|出库 11-1|4|1\n2024-01-31 10:00:00|出库 11-2|1|2"},
        {'q', "select a.bdate,a.billnum,b.qty,a.fid from vebmaster a,vebdetail b where b.eid=a.fid and Bdate>'2024-01-31' and "
              "brecorded=1 and breverse=0",
         nullptr, "2024-01-31 10:00:00|出库 11-2|1|2"},
        {'q', "select billnum from ibmaster where bdate='2024-01-05'", nullptr, "入库 11-1"},
        {'q', "select billnum from ibmaster where bdate<'2024-01-06' and bdate>='2024/1/5'", nullptr, "入库 11-1"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,a.mid from (select b.mid,sum(b.qty) as qty,sum(b.dprice) as dprice  "
              "from vebmaster a,vebdetail b where a.fid=b.eid and b.mname like '%%' and b.mtype like '%%' and a.billnum like '%%' "
              "and a.pid in (0,1) and a.bdate>='2024-01-01' and a.bdate<='2024-01-31' and a.brecorded=1 and b.code like '000002%' "
              "group by b.mid) a,mtrlist b where a.mid=b.fid",
         nullptr, "螺纹钢|Φ12|吨|4|50||1"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,a.mid from (select b.mid,sum(b.qty) as qty,sum(b.dprice) as dprice  "
              "from vibmaster a,vibdetail b where a.fid=b.iid and b.mname like '%%' and b.mtype like '%%' and a.billnum like '%%' and "
              "a.pid in (0) and a.bdate>='2024-01-01' and a.bdate<='2024-01-31' and a.brecorded=1 and a.cfcode like '000002%' and "
              "a.supcode like '000002%' and b.code like '000002%' group by b.mid) a,mtrlist b where a.mid=b.fid",
         nullptr, "螺纹钢|Φ12|吨|10.3|128||1"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid,b.CODE from msrglist a,mtrlist b  where b.CODE like '000%' and "
              "a.mid=b.fid and a.cost<>0 and a.qty=0",
         nullptr, "圆钢|Φ8|吨|0|10||3|000002"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid from msrglist a,mtrlist b where a.mid=b.fid and a.qty<>0 and "
              "mname like '%%' and mtype like '%%' and b.code like '000002%'",
         nullptr, "螺纹钢|Φ12|吨|5.3|65.5||1"},
        {'q', "SELECT  dbo.mrplist.bdate, dbo.mrplist.bnum,dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit,dbo.mrplist.qty, "
              "dbo.currencyset.cryname, dbo.mrplist.rsprice, dbo.mrplist.rdprice, dbo.mrplist.sprice, dbo.mrplist.dprice,"
              "dbo.mrplist.remark,dbo.mtrlist.fid as mid FROM  dbo.mrplist LEFT OUTER JOIN dbo.mtrlist ON dbo.mrplist.mid = "
              "dbo.mtrlist.FID LEFT OUTER JOIN dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid LEFT OUTER JOIN "
              "dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid LEFT OUTER JOIN dbo.suplist ON dbo.mrplist.supid = dbo.suplist.fid "
              "where 1=1 and mname like '%%' and mtype like '%%' and pid<=0 and dbo.cflist.code like '000002%' and "
              "dbo.suplist.code like '000%' and dbo.mtrlist.code like '000002%'",
         nullptr, "2024-01-05|入库 11-1|螺纹钢|Φ12|吨|6|人民币|12.5|75|12.5|75||1"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid from premsrglist a,mtrlist b where a.mid=b.fid and a.qty<>0 "
              "and mname like '%%' and mtype like '%%' and pid<=0 and b.code like '000002%'",
         nullptr, "螺纹钢|Φ12|吨|5.3|65.5||1"},
        {'q', "select a.fid,a.mname,a.mtype,a.munit,b.qty,b.cost from mtrlist a,msrglist b where a.fid=b.mid and a.fid='1' order by fid",
         nullptr, "1|螺纹钢|Φ12|吨|5.3|65.5"},
        {'q', "select a.fid,a.mname,a.mtype,a.munit from mtrlist a,breedlist b where  a.bid=b.fid and b.code like '000002%' order by a.fid",
         nullptr, "1|螺纹钢|Φ12|吨\n3|圆钢|Φ8|吨"},
        {'q', "select fid,prtname from dptlist where fid in (select dptid from cyldptlist group by dptid)", nullptr, "2|一工区"},
        {'q', "select b.mname,b.mtype,b.munit,a.qty,a.cost,a.srgqty,a.srgcost,a.eqty,a.ecost,a.mid,b.fid from cyldb a,mtrlist b where "
              "(a.mid=b.fid) and (b.code like '000003%') order by a.mid",
         nullptr, "钢模板|P3015|块|10|100|8|80|2|20|2|2"},
        {'q', "select c.prtname,b.mname,b.mtype,b.munit,a.qty,a.crtdate,'2024-01-10' as enddate,datediff(day,a.crtdate,'2024-01-10')+1,"
              "a.remark, c.fid, a.mid from cyldetaillist a,mtrlist b,dptlist c where (a.mid=b.fid and a.dptid=c.fid) and "
              "(b.code like '000003%') order by c.fid,a.mid",
         nullptr, "一工区|钢模板|P3015|块|2|2024-01-05|2024-01-10|6||2|2"},
        {'q', "select c.prtname,b.mname,b.mtype,b.munit, a.qty,a.crtdate,a.enddate,datediff(day,a.crtdate,a.enddate)+1,a.remark,c.fid,"
              "a.mid from precyldetaillist a,mtrlist b,dptlist c where (a.mid=b.fid and a.dptid=c.fid and a.pid='0') and "
              "(b.code like '000003%') order by c.fid,a.mid",
         nullptr, "一工区|钢模板|P3015|块|2|2023-12-20|2024-01-31|43|上月结存|2|2"},
    };
    play(steps);
}
