#include "CloseAccountForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/DateTime.h"
#include "platform/gui/FontScale.h"

#include <QFormLayout>
#include <QVBoxLayout>

Tfrmbalance::Tfrmbalance(QWidget* AOwner) : TfrmBaseform(AOwner)
{
    resize(Scaled(QSize(520, 330)));
    Button1->SetCaption(QStringLiteral("扎帐"));
    auto* box = new QVBoxLayout(panel3);
    auto* form = new QFormLayout;
    DateTimePicker1 = new QDateTimeEdit(panel3);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addRow(QStringLiteral("扎帐截止日期："), DateTimePicker1);
    box->addLayout(form);
    auto* warning = new QLabel(QStringLiteral("提示：扎帐后数据不能还原！"), panel3);
    warning->setStyleSheet(QStringLiteral("QLabel { color: red; font-weight: bold; }"));
    box->addWidget(warning);
    for (const char* hint : {"1.在期末扎帐前，先检查本期内全部票据是否全部进行记帐，对于没有记帐票据在扎帐前应予记帐或删除；",
                             "2.在扎帐前，应进行材料统计报表工作，检查报表数据是否做平，在报表数据没有平之前找出错误原因；",
                             "3.期末扎帐在本期票据入库，出库工作完成之后进行，扎帐日期应与财务部门扎帐日期保持一致。"}) {
        auto* l = new QLabel(QString::fromUtf8(hint), panel3);
        l->setWordWrap(true);
        box->addWidget(l);
    }
    box->addStretch(1);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void Tfrmbalance::FormShow(QObject* Sender)
{
    TfrmBaseform::FormShow(Sender);
    SetCaption(QStringLiteral("票据扎帐"));
    DateTimePicker1->setDate(QDate::currentDate());
}

void Tfrmbalance::Button1Click(QObject* Sender)
{
    TBusyCursor busy;
    // The dialog closes only after a close that went through.
    SetModalResult(mrNone);
    cdstemp.SetData(rmtDM->gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"), QStringLiteral("1=1"), 20));
    const TDateTime closing = dateofdatetime(FromQDate(DateTimePicker1->date()));
    TDateTime start;
    if (cdstemp.Active() && !cdstemp.IsEmpty()) {
        cdstemp.First();
        start = cdstemp.FieldByName(QStringLiteral("crtdate"))->AsDateTime();
    } else {
        start = closing;
        if (!rmtDM->execsql(QStringLiteral("insert into currentpid (periodid,crtdate) values (0,") + vartosqlvalue(start)
                            + QStringLiteral(")"))) {
            MessageDlg(QStringLiteral("材料扎帐失败！没能记下第一期的开始日期。"), mtError, {mbOK});
            return;
        }
    }
    const TDateTime next(closing.Value + 1);
    if (!rmtDM->billbalance(start, closing, next)) {
        MessageDlg(QStringLiteral("材料扎帐失败！"), mtError, {mbOK});
        return;
    }
    // The books are closed: the dialog closes whatever becomes of the month.
    SetModalResult(mrOk);
    ShowMessage(QStringLiteral("材料扎帐成功！"));
    const int month = monthid % 12 + 1;
    if (rmtDM->setsystemid(QStringLiteral("monthid"), month)) {
        monthid = month;
    } else {
        MessageDlg(QStringLiteral("本期票据月份没能改为") + QString::number(month)
                       + QStringLiteral("，请在系统参数里设置本期票据月份！"),
                   mtError, {mbOK});
    }
}
