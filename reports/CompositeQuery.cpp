#include "CompositeQuery.h"

#include "QueryBills.h"
#include "app/DropDownPicker.h"
#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/IniFile.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

// A date condition: the day from, or the whole day to (everything before the next day).
QString datecondition(const QString& column, const QString& from, const QString& to)
{
    QString s;
    if (!from.isEmpty())
        s += QStringLiteral(" and ") + column + QStringLiteral(">=") + vartosqlvalue(Variant(StrToDate(from)));
    if (!to.isEmpty())
        s += QStringLiteral(" and ") + column + QStringLiteral("<") + vartosqlvalue(Variant(TDateTime(StrToDate(to).Value + 1)));
    return s;
}

} // namespace

QString codecondition(const QString& column, const TTreeCondition& c)
{
    if (!c.box->Checked() || c.code.isEmpty())
        return {};
    return QStringLiteral(" and ") + column + QStringLiteral(" like '") + likeprefix(c.code);
}

// ---------------------------------------------------------------- date dialog

Tfrmdateform::Tfrmdateform(QWidget* AOwner) : TfrmBaseform(AOwner)
{
    SetCaption(QStringLiteral("日期选择"));
    auto* box = new QVBoxLayout(Panel3);
    TitleLabel = new QLabel(Panel3);
    box->addWidget(TitleLabel);
    Calendar1 = new QCalendarWidget(Panel3);
    Calendar1->setFirstDayOfWeek(Qt::Sunday);
    box->addWidget(Calendar1);
    auto* line = new QHBoxLayout;
    PrevMonthBtn = new TButton(QStringLiteral("<"), Panel3);
    NextMonthBtn = new TButton(QStringLiteral(">"), Panel3);
    line->addWidget(PrevMonthBtn);
    line->addWidget(NextMonthBtn);
    box->addLayout(line);
    auto title = [this] { TitleLabel->setText(Calendar1->selectedDate().toString(QStringLiteral("yyyy年MM月dd日"))); };
    QObject::connect(Calendar1, &QCalendarWidget::selectionChanged, Calendar1, title);
    PrevMonthBtn->OnClick = [this](QObject*) { Calendar1->setSelectedDate(Calendar1->selectedDate().addMonths(-1)); };
    NextMonthBtn->OnClick = [this](QObject*) { Calendar1->setSelectedDate(Calendar1->selectedDate().addMonths(1)); };
    Button1->SetModalResult(mrOk);
    Button2->SetModalResult(mrCancel);
    // Today of the client's clock until a date is set.
    setdate(Date());
    title();
}

TDateTime Tfrmdateform::date() const
{
    return TDateTime(double(QDate(1899, 12, 30).daysTo(Calendar1->selectedDate())));
}

void Tfrmdateform::setdate(TDateTime d)
{
    Calendar1->setSelectedDate(QDate(1899, 12, 30).addDays(qint64(d.Value)));
}

// ---------------------------------------------------------------- common dialog

Tfrmquerybase::Tfrmquerybase(QWidget* AOwner, const QString& section) : TfrmNormalForm(AOwner), m_section(section)
{
    Button1->setDefault(false);
    Button1->setAutoDefault(false);
    Button2->setDefault(false);
    Button2->setAutoDefault(false);
    grid = new QGridLayout(panel3);
    CheckBox1 = new TCheckBox(QStringLiteral("   结算周期"), panel3);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(CheckBox1, 0, 0, 1, 2);
    DBGridGx2 = new TDBGridGx(panel3);
    DBGridGx2->setObjectName(QStringLiteral("DBGridGx2"));
    dsperiod.SetDataSet(&ClientDataSet1);
    DBGridGx2->SetDataSource(&dsperiod);
    DBGridGx2->SetReadOnly(true);
    for (const auto& [f, t] : {std::pair{"crtdate", "起始日期"}, std::pair{"enddate", "终止日期"}}) {
        TColumnGx* c = DBGridGx2->Columns()->Add();
        c->SetFieldName(QString::fromLatin1(f));
        c->Title()->SetCaption(QString::fromUtf8(t));
        c->SetWidth(Scaled(100));
    }
    DBGridGx2->setEnabled(false);
    DBGridGx2->setMinimumHeight(90);
    grid->addWidget(DBGridGx2, 1, 0, 1, 4);
    grid->addWidget(label(panel3, QStringLiteral("材料名称")), 2, 0);
    Edit1 = new QLineEdit(panel3);
    grid->addWidget(Edit1, 2, 1);
    grid->addWidget(label(panel3, QStringLiteral("规格型号")), 2, 2);
    Edit2 = new QLineEdit(panel3);
    grid->addWidget(Edit2, 2, 3);
    Button3 = new TButton(QStringLiteral("清除"), Panel2);
    Button3->setObjectName(QStringLiteral("Button3"));
    static_cast<QVBoxLayout*>(Panel2->layout())->insertWidget(0, Button3);

    CheckBox1->OnClick = [this](QObject* s) { Application->Guard([this, s] { CheckBox1Click(s); }); };
    Button1->OnClick = [this](QObject* s) { Application->Guard([this, s] { Button1Click(s); }); };
    Button2->OnClick = [this](QObject* s) { Application->Guard([this, s] { Button2Click(s); }); };
    Button3->OnClick = [this](QObject*) { Application->Guard([this] { clearcondition(); }); };
    OnClose = [this](QObject* s, TCloseAction&) { FormClose(s); };
    querysql.clear();
    querycondition.clear();
    querytotal = false;
}

Tfrmquerybase::~Tfrmquerybase()
{
    DBGridGx2->SetDataSource(nullptr);
}

QString Tfrmquerybase::conditionfile()
{
    return getappsubdir(QStringLiteral("log")) + QStringLiteral("QueryCon.ini");
}

void Tfrmquerybase::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    const TIniFile ini(conditionfile());
    loadcondition(ini);
}

void Tfrmquerybase::FormClose(QObject*)
{
    TIniFile ini(conditionfile());
    savecondition(ini);
}

void Tfrmquerybase::Button2Click(QObject*)
{
    queryok = false;
    Close();
}

TTreeCondition* Tfrmquerybase::addtree(TTreeCondition& c, const char* box, const QString& caption, const QString& table,
                                       int row)
{
    c.table = table;
    c.box = new TCheckBox(caption, panel3);
    c.box->setObjectName(QString::fromLatin1(box));
    c.edit = new QLineEdit(panel3);
    c.edit->setReadOnly(true);
    c.edit->setEnabled(false);
    c.button = new QToolButton(panel3);
    c.button->setText(QStringLiteral("…"));
    c.button->setEnabled(false);
    grid->addWidget(c.box, row, 0, 1, 2);
    grid->addWidget(c.edit, row, 2);
    grid->addWidget(c.button, row, 3);
    QObject::connect(c.button, &QToolButton::clicked, this, Application->Guarded([this, &c] { pick(c); }));
    return &c;
}

void Tfrmquerybase::treeclick(TTreeCondition& c)
{
    const bool on = c.box->Checked();
    c.button->setEnabled(on);
    c.edit->setEnabled(on);
    if (!on) {
        c.edit->clear();
        c.code.clear();
    }
}

void Tfrmquerybase::pick(TTreeCondition& c)
{
    TfrmBasictreeshow picker(this, c.table);
    const QPoint at = c.edit->mapToGlobal(QPoint(0, 0));
    picker.resize(std::max(184, c.edit->width() + c.button->width()), picker.height());
    picker.move(at.x(), at.y() - picker.height() - 1);
    picker.ShowModal();
    c.code = treenodecode;
    c.edit->setText(treenodename);
}

void Tfrmquerybase::loadtree(const TIniFile& ini, TTreeCondition& c, const char* box, const char* edit, const char* code,
                             const QString& codedefault)
{
    c.box->SetChecked(ini.ReadBool(m_section, QString::fromLatin1(box), false));
    treeclick(c);
    if (c.box->Checked()) {
        c.edit->setText(ini.ReadString(m_section, QString::fromLatin1(edit), QString()));
        c.code = ini.ReadString(m_section, QString::fromLatin1(code).toLower(), codedefault);
    }
}

void Tfrmquerybase::savetree(TIniFile& ini, const TTreeCondition& c, const char* box, const char* edit,
                             const char* code) const
{
    ini.WriteBool(m_section, QString::fromLatin1(box), c.box->Checked());
    ini.WriteString(m_section, QString::fromLatin1(edit), c.edit->text());
    ini.WriteString(m_section, QString::fromLatin1(code), c.code);
}

QString Tfrmquerybase::namecond(const QString& column, const QString& text) const
{
    return text.isEmpty() ? QString() : likecontains(column, text);
}

// ---------------------------------------------------------------- bill dialogs

Tfrmquerydetail::Tfrmquerydetail(QWidget* AOwner, const QString& section) : Tfrmquerybase(AOwner, section)
{
    DBGridGx2->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgRowSelect,
                                         dgAlwaysShowSelection, dgMultiSelect});
    grid->addWidget(label(panel3, QStringLiteral("票据编号")), 3, 0);
    Edit3 = new QLineEdit(panel3);
    grid->addWidget(Edit3, 3, 1);
    CheckBox4 = new TCheckBox(QStringLiteral("选择日期"), panel3);
    CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
    grid->addWidget(CheckBox4, 4, 0);
    Edit6 = new QLineEdit(panel3);
    Edit7 = new QLineEdit(panel3);
    SpeedButton3 = new QToolButton(panel3);
    SpeedButton4 = new QToolButton(panel3);
    for (QLineEdit* e : {Edit6, Edit7}) {
        e->setReadOnly(true);
        e->setEnabled(false);
    }
    for (QToolButton* b : {SpeedButton3, SpeedButton4}) {
        b->setText(QStringLiteral("…"));
        b->setEnabled(false);
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(label(panel3, QStringLiteral("从")));
    dates->addWidget(Edit6);
    dates->addWidget(SpeedButton3);
    dates->addWidget(label(panel3, QStringLiteral("到")));
    dates->addWidget(Edit7);
    dates->addWidget(SpeedButton4);
    grid->addLayout(dates, 4, 1, 1, 3);
    CheckBox6 = new TCheckBox(QStringLiteral("反冲帐处理"), panel3);
    CheckBox2 = new TCheckBox(QStringLiteral("汇总统计"), panel3);
    grid->addWidget(CheckBox6, 5, 0);
    grid->addWidget(CheckBox2, 5, 1);
    RadioGroup1 = new TRadioGroup(panel3);
    RadioGroup1->SetItems({QStringLiteral(" 未记帐"), QStringLiteral(" 已记帐")});
    RadioGroup1->SetItemIndex(1);
    grid->addWidget(RadioGroup1, 5, 2, 1, 2);
    CheckBox4->OnClick = [this](QObject* s) { CheckBox4Click(s); };
    CheckBox2->OnClick = [this](QObject*) { querytotal = CheckBox2->Checked(); };
    QObject::connect(SpeedButton3, &QToolButton::clicked, this, Application->Guarded([this] { datebutton(Edit6); }));
    QObject::connect(SpeedButton4, &QToolButton::clicked, this, Application->Guarded([this] { datebutton(Edit7); }));
}

void Tfrmquerydetail::CheckBox1Click(QObject*)
{
    const bool on = CheckBox1->Checked();
    DBGridGx2->setEnabled(on);
    if (!on) {
        if (ClientDataSet1.Active())
            ClientDataSet1.EmptyDataSet();
        ClientDataSet1.Close();
        return;
    }
    ClientDataSet2.SetData(rmtDM->gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"), QStringLiteral("1=1"), 20));
    // Every closed period, the first one (0) too, then the open period.
    ClientDataSet1.SetData(rmtDM->gettabledata(QStringLiteral("periodlist"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    if (ClientDataSet2.Active() && !ClientDataSet2.IsEmpty()) {
        ClientDataSet1.Append();
        ClientDataSet1.FieldByName(QStringLiteral("pid"))->SetValue(ClientDataSet2.FieldValue(QStringLiteral("periodid")));
        ClientDataSet1.FieldByName(QStringLiteral("crtdate"))->SetValue(ClientDataSet2.FieldValue(QStringLiteral("crtdate")));
        ClientDataSet1.FieldByName(QStringLiteral("enddate"))->SetValue(Variant(Date()));
        ClientDataSet1.Post();
    }
    ClientDataSet1.First();
    ClientDataSet2.Close();
}

void Tfrmquerydetail::CheckBox4Click(QObject*)
{
    const bool on = CheckBox4->Checked();
    for (QWidget* w : std::initializer_list<QWidget*>{Edit6, Edit7, SpeedButton3, SpeedButton4})
        w->setEnabled(on);
    if (!on) {
        Edit6->clear();
        Edit7->clear();
    }
}

void Tfrmquerydetail::datebutton(QLineEdit* edit)
{
    Tfrmdateform dialog(this);
    if (!edit->text().isEmpty())
        dialog.setdate(StrToDate(edit->text()));
    if (dialog.ShowModal() == mrOk)
        edit->setText(DateToStr(dialog.date()));
}

QString Tfrmquerydetail::periodcondition(const QString& prefix) const
{
    if (!CheckBox1->Checked() || !ClientDataSet1.Active())
        return {};
    TBookmarkListGx* sel = DBGridGx2->SelectedRows();
    if (!sel || sel->Count() == 0)
        return {};
    auto& ds = const_cast<TClientDataSet&>(ClientDataSet1);
    const TBookmark here = ds.GetBookmark();
    QStringList pids;
    for (int i = 0; i < sel->Count(); ++i) {
        ds.GotoBookmark((*sel)[i]);
        pids << QString::number(ds.FieldByName(QStringLiteral("pid"))->AsInteger());
    }
    ds.GotoBookmark(here);
    return QStringLiteral(" and ") + prefix + QStringLiteral("pid in (") + pids.join(u',') + u')';
}

QString Tfrmquerydetail::commonconditions(const QString& master, const QString& detail, bool trim) const
{
    auto text = [trim](const QLineEdit* e) { return trim ? e->text().trimmed() : e->text(); };
    QString s;
    if (!Edit1->text().isEmpty())
        s += likecontains(detail + QStringLiteral("mname"), text(Edit1));
    if (!Edit2->text().isEmpty())
        s += likecontains(detail + QStringLiteral("mtype"), text(Edit2));
    if (!Edit3->text().isEmpty())
        s += likecontains(master + QStringLiteral("billnum"), text(Edit3));
    s += periodcondition(master);
    if (CheckBox4->Checked())
        s += datecondition(master + QStringLiteral("bdate"), Edit6->text(), Edit7->text());
    s += QStringLiteral(" and ") + master + (RadioGroup1->ItemIndex() == 1 ? QStringLiteral("brecorded=1") : QStringLiteral("brecorded=0"));
    return s;
}

void Tfrmquerydetail::Button1Click(QObject*)
{
    querytotal = CheckBox2->Checked();
    querysql = getSQLstr();
    querycondition = getsqlcondition();
    queryok = true;
    Close();
}

void Tfrmquerydetail::loadcondition(const TIniFile& ini)
{
    const QString& s = m_section;
    CheckBox1->SetChecked(ini.ReadBool(s, QStringLiteral("bcheckcycle"), false));
    CheckBox1Click(CheckBox1);
    Edit1->setText(ini.ReadString(s, QStringLiteral("mname"), QString()));
    Edit2->setText(ini.ReadString(s, QStringLiteral("mtype"), QString()));
    Edit3->setText(ini.ReadString(s, QStringLiteral("billnum"), QString()));
    CheckBox4->SetChecked(ini.ReadBool(s, QStringLiteral("bcheckdate"), false));
    CheckBox4Click(CheckBox4);
    if (CheckBox4->Checked()) {
        Edit6->setText(ini.ReadString(s, QStringLiteral("bdate"), QString()));
        Edit7->setText(ini.ReadString(s, QStringLiteral("edate"), QString()));
    }
    // A hand-edited index outside the two items is taken as the default, posted bills.
    const int recorded = ini.ReadInteger(s, QStringLiteral("brecorded"), 1);
    RadioGroup1->SetItemIndex(recorded == 0 ? 0 : 1);
    CheckBox6->SetChecked(ini.ReadBool(s, QStringLiteral("bcheckrevese"), false));
    CheckBox2->SetChecked(ini.ReadBool(s, QStringLiteral("bchecktotal"), false));
    querytotal = CheckBox2->Checked();
    for (const TTreeKeys& k : treekeys)
        loadtree(ini, *k.c, k.box, k.edit, k.code, QString::fromLatin1(k.codedefault));
}

void Tfrmquerydetail::savecondition(TIniFile& ini)
{
    const QString& s = m_section;
    ini.WriteBool(s, QStringLiteral("bcheckcycle"), CheckBox1->Checked());
    ini.WriteString(s, QStringLiteral("mname"), Edit1->text());
    ini.WriteString(s, QStringLiteral("mtype"), Edit2->text());
    ini.WriteString(s, QStringLiteral("billnum"), Edit3->text());
    ini.WriteBool(s, QStringLiteral("bcheckdate"), CheckBox4->Checked());
    ini.WriteString(s, QStringLiteral("bdate"), Edit6->text());
    ini.WriteString(s, QStringLiteral("edate"), Edit7->text());
    ini.WriteInteger(s, QStringLiteral("brecorded"), RadioGroup1->ItemIndex());
    ini.WriteBool(s, QStringLiteral("bcheckrevese"), CheckBox6->Checked());
    ini.WriteBool(s, QStringLiteral("bchecktotal"), CheckBox2->Checked());
    for (const TTreeKeys& k : treekeys)
        savetree(ini, *k.c, k.box, k.edit, k.code);
}

void Tfrmquerydetail::clearcondition()
{
    CheckBox1->SetChecked(false);
    CheckBox1Click(CheckBox1);
    for (QLineEdit* e : {Edit1, Edit2, Edit3})
        e->clear();
    CheckBox4->SetChecked(false);
    CheckBox4Click(CheckBox4);
    RadioGroup1->SetItemIndex(1);
    for (TCheckBox* b : {CheckBox6, CheckBox2})
        b->SetChecked(false);
    for (TTreeCondition* c : {&c3, &c5, &c7}) {
        c->box->SetChecked(false);
        treeclick(*c);
    }
}

Tfrmqueryexdetail::Tfrmqueryexdetail(QWidget* AOwner) : Tfrmquerydetail(AOwner, QStringLiteral("exbill"))
{
    SetCaption(QStringLiteral("查询组合条件"));
    addtree(c3, "CheckBox3", QStringLiteral("按领用单位查询"), QStringLiteral("dptlist"), 6);
    addtree(c5, "CheckBox5", QStringLiteral("按使用项目查询"), QStringLiteral("pjtlist"), 7);
    addtree(c7, "CheckBox7", QStringLiteral("按材料分类查询"), QStringLiteral("breedlist"), 8);
    treekeys = {{&c3, "bcheckdpt", "dptname", "dLid", " "},
                {&c5, "bcheckpjt", "pjtname", "pLid", " "},
                {&c7, "bcheckbalance", "mbreed", "bid", "0"}};
    for (TTreeCondition* c : {&c3, &c5, &c7})
        c->box->OnClick = [this, c](QObject*) {
            treeclick(*c);
            if (!c->box->Checked() && c == &c3)
                dptid = 0;
            if (!c->box->Checked() && c == &c5)
                pjtid = 0;
        };
}

QString Tfrmqueryexdetail::getSQLstr()
{
    if (!CheckBox2->Checked())
        return exdetailselect();
    return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,a.mid from (select b.mid,sum(b.qty) as qty,"
                          "sum(b.dprice) as dprice  from vebmaster a,vebdetail b where ")
           + getsumcondition() + QStringLiteral(") a,mtrlist b");
}

QString Tfrmqueryexdetail::getsqlcondition()
{
    if (CheckBox2->Checked())
        return QStringLiteral("a.mid=b.fid");
    QString s = QStringLiteral("b.eid=a.fid") + commonconditions(QString(), QString(), false);
    s += codecondition(QStringLiteral("dptcode"), c3);
    s += codecondition(QStringLiteral("pjtcode"), c5);
    s += codecondition(QStringLiteral("code"), c7);
    if (CheckBox6->Checked())
        s += QStringLiteral(" and breverse=1");
    return s;
}

QString Tfrmqueryexdetail::getsumcondition() const
{
    QString s = QStringLiteral("a.fid=b.eid") + commonconditions(QStringLiteral("a."), QStringLiteral("b."), false);
    s += codecondition(QStringLiteral("b.code"), c7);
    if (CheckBox6->Checked())
        s += QStringLiteral(" and a.breverse=1");
    return s + QStringLiteral(" group by b.mid");
}

Tfrmqueryimdetail::Tfrmqueryimdetail(QWidget* AOwner) : Tfrmquerydetail(AOwner, QStringLiteral("imbill"))
{
    SetCaption(QStringLiteral("组合查询条件"));
    addtree(c3, "CheckBox3", QStringLiteral("按材料来源查寻"), QStringLiteral("cflist"), 6);
    addtree(c5, "CheckBox5", QStringLiteral("按材料分类进查寻"), QStringLiteral("breedlist"), 7);
    addtree(c7, "CheckBox7", QStringLiteral("按供应厂商查寻"), QStringLiteral("suplist"), 8);
    treekeys = {{&c3, "bcheckcf", "mcf", "cfid", ""}, {&c7, "bchecksup", "msup", "supid", ""},
                {&c5, "bcheckbalance", "mbreed", "bid", ""}};
    for (TTreeCondition* c : {&c3, &c5, &c7})
        c->box->OnClick = [this, c](QObject*) { treeclick(*c); };
}

QString Tfrmqueryimdetail::getSQLstr()
{
    if (!CheckBox2->Checked())
        return imdetailselect();
    return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.dprice,b.remark,a.mid from (select b.mid,sum(b.qty) as qty,"
                          "sum(b.dprice) as dprice  from vibmaster a,vibdetail b where ")
           + getsumcondition() + QStringLiteral(") a,mtrlist b");
}

QString Tfrmqueryimdetail::getsumcondition() const
{
    return detailcondition() + QStringLiteral(" group by b.mid");
}

QString Tfrmqueryimdetail::detailcondition() const
{
    QString s = QStringLiteral("a.fid=b.iid") + commonconditions(QStringLiteral("a."), QStringLiteral("b."), true);
    s += codecondition(QStringLiteral("a.cfcode"), c3);
    s += codecondition(QStringLiteral("a.supcode"), c7);
    s += codecondition(QStringLiteral("b.code"), c5);
    if (CheckBox6->Checked())
        s += QStringLiteral(" and a.breverse=1");
    return s;
}

QString Tfrmqueryimdetail::getsqlcondition()
{
    if (CheckBox2->Checked())
        return QStringLiteral("a.mid=b.fid");
    return detailcondition();
}
