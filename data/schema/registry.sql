-- The account-set registry in master. The account-set dialog runs this text (one statement,
-- pieces joined without separators) when master's sysobjects lacks the table.
CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]
GO
