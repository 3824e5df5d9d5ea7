-- Account-set database: every table, index, view and starting row of a new account set.
-- The build runs this script batch by batch (batches end at a line holding only GO) through
-- the SQL engine layer into an empty database and stores the result as the template backup
-- dpxdata/materialdb, which every new account set is restored from.

-- Tree tables: material categories, material sources, using units, projects, suppliers.

CREATE TABLE [dbo].[breedlist] (
	[FID] [int] NOT NULL CONSTRAINT [PK_breedlist] PRIMARY KEY CLUSTERED ,
	[Pfid] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NOT NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[prtcode] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[pricemodal] [int] NOT NULL ,
	[breedtype] [int] NOT NULL ,
	[adminrate] [int] NULL DEFAULT (1) ,
	[visibled] [bit] NULL DEFAULT (1) ,
	[expanded] [bit] NULL DEFAULT (0) ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_breedlist_code] ON [dbo].[breedlist]([code]) ON [PRIMARY]
GO

CREATE INDEX [IX_breedlist_pfid_fid] ON [dbo].[breedlist]([Pfid], [FID]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[cflist] (
	[fid] [int] NOT NULL CONSTRAINT [PK_cflist] PRIMARY KEY CLUSTERED ,
	[pfid] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NOT NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[prtcode] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [nvarchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[visibled] [bit] NULL DEFAULT (1) ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[dptlist] (
	[fid] [int] NOT NULL CONSTRAINT [PK_dptlist] PRIMARY KEY CLUSTERED ,
	[pfid] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NOT NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[prtcode] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [nvarchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[visibled] [bit] NULL DEFAULT (1) ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[pjtlist] (
	[fid] [int] NOT NULL CONSTRAINT [PK_pjtlist] PRIMARY KEY CLUSTERED ,
	[pfid] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NOT NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[prtcode] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [nvarchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[visibled] [bit] NULL DEFAULT (1) ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[suplist] (
	[fid] [int] NOT NULL CONSTRAINT [PK_suplist] PRIMARY KEY CLUSTERED ,
	[pfid] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NOT NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[prtcode] [nvarchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [nvarchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[visibled] [bit] NULL DEFAULT (1) ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_cflist_code] ON [dbo].[cflist]([code]) ON [PRIMARY]
GO

CREATE INDEX [IX_dptlist_code] ON [dbo].[dptlist]([code]) ON [PRIMARY]
GO

CREATE UNIQUE INDEX [IX_suplist_code] ON [dbo].[suplist]([code]) ON [PRIMARY]
GO

-- Master data.

CREATE TABLE [dbo].[mtrlist] (
	[FID] [int] NOT NULL CONSTRAINT [PK_mtrlist] PRIMARY KEY CLUSTERED ,
	[bID] [int] NOT NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[mname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[mtype] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[munit] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_mtrlist_bid_code] ON [dbo].[mtrlist]([bID], [code]) ON [PRIMARY]
GO

CREATE INDEX [IX_mtrlist_code] ON [dbo].[mtrlist]([code]) ON [PRIMARY]
GO

CREATE INDEX [IX_mtrlist_bid_fid] ON [dbo].[mtrlist]([bID], [FID]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[emylist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_emylist] PRIMARY KEY CLUSTERED ,
	[emyname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[tel] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[visibled] [bit] NOT NULL DEFAULT (1)
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[currencyset] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_currencyset] PRIMARY KEY CLUSTERED ,
	[cryname] [varchar] (20) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tobalance] [numeric] (18, 4) NULL ,
	[isbalance] [bit] NULL DEFAULT (0) ,
	[visibled] [bit] NULL DEFAULT (1)
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[userpw] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_userpw] PRIMARY KEY CLUSTERED ,
	[Uname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[Password] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[isadmin] [bit] NOT NULL DEFAULT (0) ,
	[visibled] [bit] NULL DEFAULT (1)
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[systemset] (
	[fid] [int] IDENTITY (1, 1) NOT NULL ,
	[name] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ivalue] [smallint] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[IDlist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_IDlist] PRIMARY KEY CLUSTERED ,
	[IDname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ID] [int] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[billtype] (
	[Fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_billtype] PRIMARY KEY CLUSTERED ,
	[TypeName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ibnum] [int] NULL DEFAULT (1) ,
	[ebnum] [int] NULL DEFAULT (1)
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[TableField] (
	[Fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_TableField] PRIMARY KEY CLUSTERED ,
	[Ftablename] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[fieldname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[Fdesc] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[Ftype] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[Flength] [int] NULL ,
	[Fisvisible] [bit] NULL
) ON [PRIMARY]
GO

-- Bills.

CREATE TABLE [dbo].[ibmaster] (
	[fid] [int] NOT NULL CONSTRAINT [PK_imbillmaster] PRIMARY KEY CLUSTERED ,
	[pid] [int] NULL ,
	[cid] [int] NULL ,
	[billnum] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,
	[bdate] [datetime] NULL ,
	[cfid] [int] NULL ,
	[supid] [int] NULL ,
	[ckid] [int] NULL ,
	[lister] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[assessor] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[dirctor] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[brecorded] [bit] NULL ,
	[breverse] [bit] NULL DEFAULT (0) ,
	[bcodeid] [int] NULL ,
	[bcode] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[cfcode] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[supcode] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_ibmaster_pid] ON [dbo].[ibmaster]([pid]) ON [PRIMARY]
GO

CREATE INDEX [IX_ibmaster_cfid_supid] ON [dbo].[ibmaster]([cfid], [supid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[ibdetail] (
	[Fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_ibdetail] PRIMARY KEY CLUSTERED ,
	[iid] [int] NOT NULL ,
	[pfid] [int] NULL DEFAULT (0) ,
	[idid] [int] NULL DEFAULT (0) ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NOT NULL DEFAULT (0.00) ,
	[reqty] [numeric] (18, 4) NULL ,
	[rprice] [numeric] (18, 4) NULL ,
	[expense] [numeric] (18, 4) NULL ,
	[amount] [numeric] (18, 4) NULL ,
	[rsprice] [numeric] (18, 4) NULL ,
	[rdprice] [numeric] (18, 4) NULL ,
	[sprice] [numeric] (18, 4) NULL ,
	[dprice] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[tmpprice] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_ibdetail_iid] ON [dbo].[ibdetail]([iid]) ON [PRIMARY]
GO

CREATE INDEX [IX_ibdetail_mid] ON [dbo].[ibdetail]([mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[ebmaster] (
	[fid] [int] NOT NULL CONSTRAINT [PK_ebmaster] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[bdate] [datetime] NOT NULL ,
	[dptid] [int] NOT NULL ,
	[pjtid] [int] NOT NULL ,
	[billnum] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,
	[rcid] [int] NULL ,
	[lister] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[assessor] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[dirctor] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[brecorded] [bit] NULL ,
	[breverse] [bit] NULL DEFAULT (0) ,
	[bcodeid] [int] NULL ,
	[bcode] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[bcylm] [bit] NULL DEFAULT (0) ,
	[breb] [bit] NULL DEFAULT (0) ,
	[dptcode] [nchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[pjtcode] [nchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_ebmaster_pid] ON [dbo].[ebmaster]([pid]) ON [PRIMARY]
GO

CREATE INDEX [IX_ebmaster_dptid_pjtid] ON [dbo].[ebmaster]([dptid], [pjtid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[ebdetail] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_ebdetail] PRIMARY KEY CLUSTERED ,
	[eid] [int] NOT NULL ,
	[rpid] [int] NULL ,
	[edid] [int] NULL ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[rsprice] [numeric] (18, 4) NULL ,
	[rdprice] [numeric] (18, 4) NULL ,
	[sprice] [numeric] (18, 4) NULL ,
	[dprice] [numeric] (18, 4) NULL ,
	[tempqty] [numeric] (18, 4) NULL ,
	[temprdprice] [numeric] (18, 4) NULL ,
	[tempdprice] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[cid] [int] NULL ,
	[cfid] [int] NULL ,
	[supid] [int] NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_ebdetail_eid] ON [dbo].[ebdetail]([eid]) ON [PRIMARY]
GO

CREATE INDEX [IX_ebdetail_mid] ON [dbo].[ebdetail]([mid]) ON [PRIMARY]
GO

-- Stock, prices and ledger.

CREATE TABLE [dbo].[msrglist] (
	[mid] [int] NOT NULL CONSTRAINT [PK_msrglist] PRIMARY KEY CLUSTERED ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[price] [numeric] (18, 4) NULL ,
	[preqty] [numeric] (18, 4) NULL ,
	[precost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[mrplist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_mrplist] PRIMARY KEY CLUSTERED ,
	[mid] [int] NOT NULL ,
	[bdate] [datetime] NULL ,
	[bnum] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[iid] [int] NULL ,
	[eid] [int] NULL ,
	[orgqty] [numeric] (18, 4) NULL ,
	[orgdprice] [numeric] (18, 4) NULL ,
	[orgrdprice] [numeric] (18, 4) NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[sprice] [numeric] (18, 4) NULL ,
	[dprice] [numeric] (18, 4) NULL ,
	[rsprice] [numeric] (18, 4) NULL ,
	[rdprice] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[block] [bit] NULL DEFAULT (0) ,
	[Pid] [int] NULL ,
	[cid] [int] NULL ,
	[cfid] [int] NULL ,
	[supid] [int] NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_mrplist_mid] ON [dbo].[mrplist]([mid]) ON [PRIMARY]
GO

CREATE INDEX [IX_mrplist_iid] ON [dbo].[mrplist]([iid]) ON [PRIMARY]
GO

CREATE INDEX [IX_mrplist_eid] ON [dbo].[mrplist]([eid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[maplist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_maplist] PRIMARY KEY CLUSTERED ,
	[mid] [int] NOT NULL ,
	[maprice] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_maplist_mid] ON [dbo].[maplist]([mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[mpplist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_mpplist] PRIMARY KEY CLUSTERED ,
	[mid] [int] NOT NULL ,
	[pprice] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_mpplist_mid] ON [dbo].[mpplist]([mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[imexsrglist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_imexsrglist] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[Mid] [int] NOT NULL ,
	[iid] [int] NULL ,
	[eid] [int] NULL ,
	[bdate] [datetime] NULL ,
	[comment] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[dptprj] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[bnum] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[iqty] [numeric] (18, 4) NULL ,
	[isprice] [numeric] (18, 4) NULL ,
	[idprice] [numeric] (18, 4) NULL ,
	[eqty] [numeric] (18, 4) NULL ,
	[esprice] [numeric] (18, 4) NULL ,
	[edprice] [numeric] (18, 4) NULL ,
	[srgqty] [numeric] (18, 4) NULL ,
	[srgcost] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[printed] [bit] NULL DEFAULT (0)
) ON [PRIMARY]
GO

CREATE INDEX [IX_imexsrglist_mid] ON [dbo].[imexsrglist]([Mid]) ON [PRIMARY]
GO

CREATE INDEX [IX_imexsrglist_pid_mid] ON [dbo].[imexsrglist]([pid], [Mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[cyldb] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_cyldb] PRIMARY KEY CLUSTERED ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[srgqty] [numeric] (18, 4) NULL ,
	[srgcost] [numeric] (18, 4) NULL ,
	[eqty] [numeric] (18, 4) NULL ,
	[ecost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_cyldb_mid] ON [dbo].[cyldb]([mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[cyldptlist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_cyldptlist] PRIMARY KEY CLUSTERED ,
	[dptid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_cyldptlist_dptid_mid] ON [dbo].[cyldptlist]([dptid], [mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[cyldetaillist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_cyldataillist] PRIMARY KEY CLUSTERED ,
	[eid] [int] NULL ,
	[pid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[dptid] [int] NOT NULL ,
	[crtdate] [datetime] NULL ,
	[enddate] [datetime] NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_cyldetaillist_mid_dptid] ON [dbo].[cyldetaillist]([mid], [dptid]) ON [PRIMARY]
GO

CREATE INDEX [IX_cyldetaillist_eid] ON [dbo].[cyldetaillist]([eid]) ON [PRIMARY]
GO

-- Periods and the snapshots taken when a period is closed.

CREATE TABLE [dbo].[currentpid] (
	[periodid] [int] NOT NULL CONSTRAINT [PK_curpid] PRIMARY KEY CLUSTERED ,
	[crtdate] [datetime] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[periodlist] (
	[Fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_periodlist] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[crtdate] [datetime] NOT NULL ,
	[enddate] [datetime] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[premsrglist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_premsrglist] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[preqty] [numeric] (18, 4) NULL ,
	[precost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_premsrglist_pid] ON [dbo].[premsrglist]([pid]) ON [PRIMARY]
GO

CREATE INDEX [IX_premsrglist_mid] ON [dbo].[premsrglist]([mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[preCylDB] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_preCylDB] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[srgqty] [numeric] (18, 4) NULL ,
	[srgcost] [numeric] (18, 4) NULL ,
	[eqty] [numeric] (18, 4) NULL ,
	[ecost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_preCylDB_pid_mid] ON [dbo].[preCylDB]([pid], [mid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[precyldptlist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_precyldptlist] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[dptid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_precyldptlist_pid] ON [dbo].[precyldptlist]([pid]) ON [PRIMARY]
GO

CREATE TABLE [dbo].[precyldetaillist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_precyldetaillist] PRIMARY KEY CLUSTERED ,
	[pid] [int] NOT NULL ,
	[mid] [int] NOT NULL ,
	[dptid] [int] NOT NULL ,
	[crtdate] [datetime] NULL ,
	[enddate] [datetime] NULL ,
	[qty] [numeric] (18, 4) NULL ,
	[cost] [numeric] (18, 4) NULL ,
	[remark] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

CREATE INDEX [IX_precyldetaillist_pid] ON [dbo].[precyldetaillist]([pid]) ON [PRIMARY]
GO

-- Bill-number pool: one slot per row, one flag column per bill category and direction.
-- The data module drops and re-creates it from the categories; the template carries these.

CREATE TABLE [dbo].[billtypelist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL ,
	[imA3] [bit] NULL DEFAULT (0) ,
	[exA3] [bit] NULL DEFAULT (0) ,
	[imA4] [bit] NULL DEFAULT (0) ,
	[exA4] [bit] NULL DEFAULT (0) ,
	[imA13] [bit] NULL DEFAULT (0) ,
	[exA13] [bit] NULL DEFAULT (0) ,
	[imA14] [bit] NULL DEFAULT (0) ,
	[exA14] [bit] NULL DEFAULT (0) ,
	[imA15] [bit] NULL DEFAULT (0) ,
	[exA15] [bit] NULL DEFAULT (0) ,
	[imA16] [bit] NULL DEFAULT (0) ,
	[exA16] [bit] NULL DEFAULT (0) ,
	[imA17] [bit] NULL DEFAULT (0) ,
	[exA17] [bit] NULL DEFAULT (0)
) ON [PRIMARY]
GO

-- Same layout as the registry in master; nothing reads this copy.

CREATE TABLE [dbo].[materialdblist] (
	[fid] [int] IDENTITY (1, 1) NOT NULL ,
	[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY]
GO

-- Tables that no operation reads or writes.

CREATE TABLE [dbo].[prebreedlist] (
	[id] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_prebreedlist] PRIMARY KEY CLUSTERED ,
	[fid] [int] NULL ,
	[pid] [int] NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[precflist] (
	[id] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_precflist] PRIMARY KEY CLUSTERED ,
	[fid] [int] NULL ,
	[pid] [int] NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[predptlist] (
	[id] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_predptlist] PRIMARY KEY CLUSTERED ,
	[fid] [int] NULL ,
	[pid] [int] NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[repanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[prepjtlist] (
	[id] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_prepjtlist] PRIMARY KEY CLUSTERED ,
	[fid] [int] NULL ,
	[pid] [int] NULL ,
	[code] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[tlevel] [int] NULL ,
	[bparent] [bit] NOT NULL ,
	[prtname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[expanded] [bit] NULL ,
	[ischecked] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[groupright] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_groupright] PRIMARY KEY CLUSTERED ,
	[gid] [int] NULL ,
	[fname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[actionname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[acrun] [bit] NULL ,
	[acinsert] [bit] NULL ,
	[acedit] [bit] NULL ,
	[accancel] [bit] NULL ,
	[acdelete] [bit] NULL ,
	[acsave] [bit] NULL ,
	[acauditing] [bit] NULL ,
	[acfresh] [bit] NULL ,
	[acprint] [bit] NULL ,
	[acexit] [bit] NULL
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[orgfunction] (
	[fid] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_orgfunction] PRIMARY KEY CLUSTERED ,
	[fname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[actionname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[acrun] [bit] NULL DEFAULT (0) ,
	[acinsert] [bit] NULL DEFAULT (0) ,
	[acedit] [bit] NULL DEFAULT (0) ,
	[accancel] [bit] NULL DEFAULT (0) ,
	[acdelete] [bit] NULL DEFAULT (0) ,
	[acsave] [bit] NULL DEFAULT (0) ,
	[acauditing] [bit] NULL DEFAULT (0) ,
	[acfresh] [bit] NULL DEFAULT (0) ,
	[acprint] [bit] NULL DEFAULT (0) ,
	[acexit] [bit] NULL DEFAULT (0) ,
	[acother2] [bit] NULL DEFAULT (0) ,
	[acother3] [bit] NULL DEFAULT (0)
) ON [PRIMARY]
GO

CREATE TABLE [dbo].[dtproperties] (
	[id] [int] IDENTITY (1, 1) NOT NULL CONSTRAINT [PK_dtproperties] PRIMARY KEY CLUSTERED ,
	[objectid] [int] NULL ,
	[property] [varchar] (64) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[value] [varchar] (255) COLLATE Chinese_PRC_CI_AS NULL ,
	[uvalue] [nvarchar] (255) COLLATE Chinese_PRC_CI_AS NULL ,
	[lvalue] [image] NULL ,
	[version] [int] NOT NULL DEFAULT (0)
) ON [PRIMARY]
GO

-- Views read by the bill forms and the queries. Missing names of a head show empty;
-- a line whose material row is missing does not show.

CREATE VIEW dbo.vibmaster
AS
SELECT dbo.cflist.prtname AS cfname, dbo.suplist.prtname AS supname, dbo.currencyset.cryname, dbo.ibmaster.billnum, dbo.ibmaster.bdate, dbo.ibmaster.cfid, dbo.ibmaster.supid, dbo.ibmaster.ckid, dbo.ibmaster.lister, dbo.ibmaster.assessor, dbo.ibmaster.dirctor, dbo.ibmaster.remark, dbo.ibmaster.brecorded, dbo.ibmaster.breverse, dbo.ibmaster.bcodeid, dbo.ibmaster.bcode, dbo.ibmaster.cfcode, dbo.ibmaster.supcode, dbo.emylist.emyname, dbo.ibmaster.pid, dbo.ibmaster.fid, dbo.ibmaster.cid
FROM dbo.ibmaster LEFT OUTER JOIN
	dbo.cflist ON dbo.ibmaster.cfid = dbo.cflist.fid LEFT OUTER JOIN
	dbo.emylist ON dbo.ibmaster.ckid = dbo.emylist.fid LEFT OUTER JOIN
	dbo.currencyset ON dbo.ibmaster.cid = dbo.currencyset.fid LEFT OUTER JOIN
	dbo.suplist ON dbo.ibmaster.supid = dbo.suplist.fid
GO

CREATE VIEW dbo.vibdetail
AS
SELECT dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit, dbo.ibdetail.Fid, dbo.ibdetail.iid, dbo.ibdetail.pfid, dbo.ibdetail.idid, dbo.ibdetail.mid, dbo.ibdetail.qty, dbo.ibdetail.reqty, dbo.ibdetail.rprice, dbo.ibdetail.expense, dbo.ibdetail.amount, dbo.ibdetail.rsprice, dbo.ibdetail.rdprice, dbo.ibdetail.sprice, dbo.ibdetail.dprice, dbo.ibdetail.remark, dbo.ibdetail.tmpprice, dbo.mtrlist.code
FROM dbo.ibdetail INNER JOIN
	dbo.mtrlist ON dbo.ibdetail.mid = dbo.mtrlist.FID
GO

CREATE VIEW dbo.vebmaster
AS
SELECT dbo.emylist.emyname, dbo.ebmaster.fid, dbo.ebmaster.pid, dbo.ebmaster.bdate, dbo.ebmaster.dptid, dbo.ebmaster.pjtid, dbo.ebmaster.billnum, dbo.ebmaster.rcid, dbo.ebmaster.lister, dbo.ebmaster.assessor, dbo.ebmaster.dirctor, dbo.ebmaster.remark, dbo.ebmaster.brecorded, dbo.ebmaster.breverse, dbo.ebmaster.bcodeid, dbo.ebmaster.bcode, dbo.ebmaster.bcylm, dbo.ebmaster.breb, dbo.dptlist.prtname AS dptname, dbo.pjtlist.prtname AS pjtname, dbo.ebmaster.dptcode, dbo.ebmaster.pjtcode
FROM dbo.ebmaster LEFT OUTER JOIN
	dbo.emylist ON dbo.ebmaster.rcid = dbo.emylist.fid LEFT OUTER JOIN
	dbo.pjtlist ON dbo.ebmaster.pjtid = dbo.pjtlist.fid LEFT OUTER JOIN
	dbo.dptlist ON dbo.ebmaster.dptid = dbo.dptlist.fid
GO

CREATE VIEW dbo.vebdetail
AS
SELECT dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit, dbo.mtrlist.code, dbo.currencyset.cryname AS currency, dbo.ebdetail.fid, dbo.ebdetail.eid, dbo.ebdetail.rpid, dbo.ebdetail.edid, dbo.ebdetail.mid, dbo.ebdetail.qty, dbo.ebdetail.rsprice, dbo.ebdetail.rdprice, dbo.ebdetail.sprice, dbo.ebdetail.dprice, dbo.ebdetail.tempqty, dbo.ebdetail.temprdprice, dbo.ebdetail.tempdprice, dbo.ebdetail.remark, dbo.ebdetail.cid, dbo.ebdetail.cfid, dbo.ebdetail.supid
FROM dbo.ebdetail INNER JOIN
	dbo.mtrlist ON dbo.ebdetail.mid = dbo.mtrlist.FID LEFT OUTER JOIN
	dbo.currencyset ON dbo.ebdetail.cid = dbo.currencyset.fid
GO

CREATE VIEW dbo.vplanlist
AS
SELECT dbo.mpplist.fid, dbo.mpplist.mid, dbo.mpplist.pprice, dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit, dbo.breedlist.code, dbo.mtrlist.remark, dbo.breedlist.pricemodal
FROM dbo.mpplist INNER JOIN
	dbo.mtrlist ON dbo.mpplist.mid = dbo.mtrlist.FID INNER JOIN
	dbo.breedlist ON dbo.mtrlist.bID = dbo.breedlist.FID
GO

-- Starting rows.

-- Key counters: the last value handed out.
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('IID', 0)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('EID', 0)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('PID', 0)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('MID', 0)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('BID', 1)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('CFID', 3)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('DLID', 1)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('PLID', 1)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('SCID', 0)
GO
INSERT INTO [dbo].[IDlist] ([IDname], [ID]) VALUES ('SUPID', 1)
GO

-- Account-set parameters.
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('imbilltype', 2)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('exbilltype', 1)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('spricedots', 2)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('dpricedots', 2)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('defaultcryid', 1)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('monthid', 11)
GO
INSERT INTO [dbo].[systemset] ([name], [ivalue]) VALUES ('systype', 1)
GO

-- Tree roots (and the two standard material sources).
INSERT INTO [dbo].[breedlist] ([FID], [Pfid], [code], [tlevel], [bparent], [prtname], [pricemodal], [breedtype], [adminrate], [visibled], [expanded], [ischecked]) VALUES (1, 0, '000', 0, 0, N'材料分类', 0, 0, 0, 1, 0, 0)
GO

INSERT INTO [dbo].[suplist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (1, 0, '000', 0, 0, N'供应厂商', 1, 0, 0)
GO

INSERT INTO [dbo].[dptlist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (1, 0, '000', 0, 0, N'单位或部门', 1, 0, 0)
GO

INSERT INTO [dbo].[pjtlist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (1, 0, '000', 0, 0, N'项目', 1, 0, 0)
GO

INSERT INTO [dbo].[cflist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (1, 0, '000', 0, 1, N'来源', 1, 0, 0)
GO
INSERT INTO [dbo].[cflist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (2, 1, '000002', 1, 0, N'甲供', 1, 0, 0)
GO
INSERT INTO [dbo].[cflist] ([fid], [pfid], [code], [tlevel], [bparent], [prtname], [visibled], [expanded], [ischecked]) VALUES (3, 1, '000003', 1, 0, N'自购', 1, 0, 0)
GO

-- The account-set administrator with the default password.
INSERT INTO [dbo].[userpw] ([Uname], [Password], [isadmin], [visibled]) VALUES ('admin', 'tulip', 1, 1)
GO

-- Grid captions and visibility of the metadata-driven lists.
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'fid', 'ID', 'int', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'bid', N'材料分类', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'mname', N'材料名', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'mtype', N'规格型号', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'munit', N'单位', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mtrlist', 'remark', N'备注', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'bnum', N'编号', 'char', 100, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'qty', N'数量', 'int', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'rsprice', N'采购价', 'int', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'currency', N'币种', 'char', 33554452, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'rdprice', N'采购金额', 'int', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'sprice', N'单价', 'int', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'dprice', N'复价', 'int', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'cfname', N'来源', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrplist', 'remark', N'备注', 'char', 100, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptlist', 'fid', N'编号 ', 'int', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptlist', 'prtname', N'单位名称', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptlist', 'dirctor', N'负责人及电话', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptnist', 'remark', N'备注', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptlist', 'visibled', N'是否显示', 'bit', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('dptlist', NULL, NULL, NULL, NULL, NULL)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', 'fid', N'编号 ', 'int', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', 'prtname', N'项目名称', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', 'style', N'项目描述', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', 'remark', N'备注', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', 'visibled', N'是否显示', 'bit', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('pjtlist', NULL, NULL, NULL, NULL, NULL)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', 'fid', N'编号', 'int', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', 'emyname', N'姓名', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', 'tel', N'单位及电话', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', 'remark', N'备注', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', 'visibled', N'是否显示', 'bit', 10, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('emylist', NULL, NULL, NULL, NULL, NULL)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('userpw', 'fid', N'编号', 'int', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('userpw', 'uname', N'用户名', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('userpw', 'password', N'密码', 'char', 50, 1)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('userpw', 'isadmin', N'是否管理员', 'bit', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('userpw', 'visibled', N'是否显示', 'bit', 10, 0)
GO
INSERT INTO [dbo].[TableField] ([Ftablename], [fieldname], [Fdesc], [Ftype], [Flength], [Fisvisible]) VALUES ('mrprice', 'supname', N'供应厂商', 'char', 50, 1)
GO
