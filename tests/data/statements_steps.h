#pragma once
// Tables of statements run one after another against a real account set, each checked by
// result rows or by the contents it leaves in the tables.
#include "schema_accountset.h"

#include <algorithm>

namespace dpxtest {

// Master data most groups start from, written with the statements the forms and the tree
// models send.
inline const char* const kMasterData[] = {
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('2','1','000002','1',0,'钢材','','','0','0','5')",
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('3','1','000003','1',0,'模板','','','1','1','0')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('1','2','000002','螺纹钢','Φ12','吨','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('2','3','000003','钢模板','P3015','块','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('3','2','000002','圆钢','Φ8','吨','')",
    "insert into  suplist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',0,'华北钢厂','','',1,0,0)",
    "insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',1,'一工区','','',1,0,0)",
    "insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('3','2','000002003','2',0,'一工区二队','','',1,0,0)",
    "insert into  pjtlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',0,'一号楼','','',1,0,0)",
    " Insert into currencyset(cryname,tobalance,isbalance,visibled) values('人民币','1',1,1)",
};

struct Step {
    // 'q': open sql and compare its rows with expect.
    // 'x': execute sql, which must succeed, then open check (when given) and compare.
    // 'f': execute sql, which must fail, then open check (when given) and compare.
    char kind;
    const char* sql;
    const char* check;
    const char* expect;   // "|"-joined values, rows joined by "\n"; "ERROR" for a failing query
};

class StatementTable : public AccountSetTest {
protected:
    // {dir} in a statement stands for the program folder, {tpl} for the build's template.
    QString expand(const char* text) const
    {
        QString s = QString::fromUtf8(text);
        s.replace(QStringLiteral("{dir}"), programDir());
        s.replace(QStringLiteral("{tpl}"), templateFile());
        return s;
    }

    // Rows come in the server's order unless the statement orders them; compare those as sets.
    void compare(const QString& query, const QString& got, const char* expect, const QString& step)
    {
        const QString want = QString::fromUtf8(expect);
        if (want == QLatin1String("ERROR")) {
            EXPECT_TRUE(got.startsWith(QLatin1String("ERROR"))) << step.toStdString() << "\n  gave: " << got.toStdString();
            return;
        }
        QStringList g = got.split(QLatin1Char('\n'));
        QStringList w = want.split(QLatin1Char('\n'));
        if (!query.contains(QLatin1String("order by"), Qt::CaseInsensitive)) {
            std::sort(g.begin(), g.end());
            std::sort(w.begin(), w.end());
        }
        EXPECT_EQ(g.join(QLatin1Char('\n')), w.join(QLatin1Char('\n'))) << step.toStdString();
    }

    template <size_t N>
    void play(const Step (&steps)[N])
    {
        for (const Step& st : steps) {
            const QString sql = expand(st.sql);
            if (st.kind == 'q') {
                compare(sql, rows(sql), st.expect, sql);
                continue;
            }
            const QString error = run(sql);
            if (st.kind == 'x')
                EXPECT_EQ(error, QString()) << sql.toStdString();
            else
                EXPECT_NE(error, QString()) << "succeeded: " << sql.toStdString();
            if (st.check) {
                const QString check = expand(st.check);
                compare(check, rows(check), st.expect, sql + QStringLiteral("\n  checked by: ") + check);
            }
        }
    }

    template <size_t N>
    void seed(const char* const (&statements)[N])
    {
        for (const char* s : statements)
            ASSERT_EQ(run(expand(s)), QString()) << s;
    }
};

} // namespace dpxtest
