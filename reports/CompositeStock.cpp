#include "CompositeStock.h"

#include "QueryBills.h"
#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/rtl/IniFile.h"

TfrmQuerySrgdetail::TfrmQuerySrgdetail(QWidget* AOwner) : Tfrmquerybase(AOwner, QStringLiteral("srg"))
{
    SetCaption(QStringLiteral("查询库存条件选择"));
    DBGridGx2->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgRowSelect,
                                         dgAlwaysShowSelection});
    addtree(c3, "CheckBox3", QStringLiteral("按材料来源查寻"), QStringLiteral("cflist"), 3);
    addtree(c7, "CheckBox7", QStringLiteral("按供应厂商查寻"), QStringLiteral("suplist"), 4);
    addtree(c5, "CheckBox5", QStringLiteral("按材料分类进查寻"), QStringLiteral("breedlist"), 5);
    c3.box->OnClick = [this](QObject*) {
        treeclick(c3);
        querybycf = c3.box->Checked();
    };
    c7.box->OnClick = [this](QObject*) {
        treeclick(c7);
        querybysup = c7.box->Checked();
    };
    c5.box->OnClick = [this](QObject*) { treeclick(c5); };
}

void TfrmQuerySrgdetail::CheckBox1Click(QObject*)
{
    const bool on = CheckBox1->Checked();
    DBGridGx2->setEnabled(on);
    if (on) {
        // Every closed period, the first one (0) too.
        ClientDataSet1.SetData(rmtDM->gettabledata(QStringLiteral("periodlist"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
        return;
    }
    if (ClientDataSet1.Active())
        ClientDataSet1.EmptyDataSet();
    ClientDataSet1.Close();
}

QString TfrmQuerySrgdetail::chosenperiod() const
{
    if (!CheckBox1->Checked() || !ClientDataSet1.Active() || ClientDataSet1.IsEmpty())
        return {};
    return QString::number(ClientDataSet1.FieldByName(QStringLiteral("pid"))->AsInteger());
}

QString TfrmQuerySrgdetail::getSQLstr(bool period, bool source) const
{
    if (source || querybysup)
        return getsrgdetailsql();
    if (period)
        return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid from premsrglist a,mtrlist b");
    return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid from msrglist a,mtrlist b");
}

QString TfrmQuerySrgdetail::getsqlcondition(bool period, bool source) const
{
    const QString pid = period ? chosenperiod() : QString();
    if (source || querybysup) {
        QString s = QStringLiteral("1=1") + namecond(QStringLiteral("mname"), Edit1->text().trimmed())
                    + namecond(QStringLiteral("mtype"), Edit2->text().trimmed());
        if (!pid.isEmpty())
            s += QStringLiteral(" and pid<=") + pid;
        if (source)
            s += codecondition(QStringLiteral("dbo.cflist.code"), c3);
        if (querybysup)
            s += codecondition(QStringLiteral("dbo.suplist.code"), c7);
        return s + codecondition(QStringLiteral("dbo.mtrlist.code"), c5);
    }
    QString s = QStringLiteral("a.mid=b.fid and a.qty<>0") + namecond(QStringLiteral("b.mname"), Edit1->text().trimmed())
                + namecond(QStringLiteral("b.mtype"), Edit2->text().trimmed());
    // The snapshot of exactly the period chosen, not of every period before it.
    if (!pid.isEmpty())
        s += QStringLiteral(" and a.pid=") + pid;
    return s + codecondition(QStringLiteral("b.code"), c5);
}

void TfrmQuerySrgdetail::Button1Click(QObject*)
{
    querysql = getSQLstr(CheckBox1->Checked(), c3.box->Checked());
    querycondition = getsqlcondition(CheckBox1->Checked(), c3.box->Checked());
    queryok = true;
    Close();
}

void TfrmQuerySrgdetail::loadcondition(const TIniFile& ini)
{
    const QString& s = m_section;
    CheckBox1->SetChecked(ini.ReadBool(s, QStringLiteral("bcheckcycle"), false));
    CheckBox1Click(CheckBox1);
    Edit1->setText(ini.ReadString(s, QStringLiteral("mname"), QString()));
    Edit2->setText(ini.ReadString(s, QStringLiteral("mtype"), QString()));
    loadtree(ini, c7, "bsupchecked", "supname", "supid", QString());
    loadtree(ini, c3, "bcheckbreed", "mcf", "cfid", QString());
    loadtree(ini, c5, "bcheckbalance", "mbreed", "bid", QString());
    querybycf = c3.box->Checked();
    querybysup = c7.box->Checked();
}

void TfrmQuerySrgdetail::savecondition(TIniFile& ini)
{
    const QString& s = m_section;
    ini.WriteBool(s, QStringLiteral("bcheckcycle"), CheckBox1->Checked());
    ini.WriteString(s, QStringLiteral("mname"), Edit1->text());
    ini.WriteString(s, QStringLiteral("mtype"), Edit2->text());
    savetree(ini, c7, "bsupchecked", "supname", "supid");
    savetree(ini, c3, "bcheckbreed", "mcf", "cfid");
    savetree(ini, c5, "bcheckbalance", "mbreed", "bid");
}

void TfrmQuerySrgdetail::clearcondition()
{
    CheckBox1->SetChecked(false);
    CheckBox1Click(CheckBox1);
    Edit1->clear();
    Edit2->clear();
    for (TTreeCondition* c : {&c3, &c5}) {
        c->box->SetChecked(false);
        treeclick(*c);
    }
    querybycf = false;
}
