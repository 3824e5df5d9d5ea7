#!/usr/bin/env bash
# Usage: scripts/first-accountset.sh PROGRAM_FOLDER
# On a program folder whose registry lists no account set yet, restores the build's sample
# account set (backdata/materialdbsample) as "sample" and registers it as 示例工地, the way the
# account-set dialog restores a backup, and chooses its bill print templates (log/printsetting.ini)
# as the system settings form would: the sample writes receipts with a unit price and an amount,
# so the finished-goods receipt and the plain issue. A folder that already lists an account set
# is left as it is.
set -euo pipefail
dir=$(cd "$1" && pwd)
sql="$dir/dpxsql"
listed=$(printf '%s\n' "select count(*) as n from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')" | "$sql" "$dir" | tail -1)
if [ "$listed" != "0" ]; then
  rows=$(printf '%s\n' "select count(*) as n from materialdblist" | "$sql" "$dir" | tail -1)
  [ "$rows" != "0" ] && exit 0
else
  printf '%s\n' "CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]" | "$sql" "$dir"
fi
db="$dir/Database"
printf '%s\n' \
  "RESTORE DATABASE sample FROM DISK ='$dir/backdata/materialdbsample' with file=1,replace,MOVE 'materialdb_data' TO '$db/sample_data.mdf',MOVE 'materialdB_Log' TO '$db/sample_log.ldf'" \
  "insert into Master..materialdblist(accname,dbname,remark) values('示例工地','sample','示例帐套')" | "$sql" "$dir"
ini="$dir/log/printsetting.ini"
if ! grep -qx '\[sample\]' "$ini" 2>/dev/null; then
  printf '\n[sample]\nimbillprint=%s\nexbillprint=%s\n' '材料入库单（成品型）.prt' '材料出库单（普通型）.prt' >> "$ini"
fi
echo "Registered the sample account set 示例工地 (database sample); log in as admin, password tulip."
