// Every leaf of the main window's function tree opens its own form class and closes again, for
// an administrator and for a clerk (whom the administrators' gates turn away with their texts).
#include "whole_fixture.h"

#include "app/BaseListEdit.h"
#include "app/CategoryTreeEdit.h"
#include "app/CloseAccountForm.h"
#include "app/ConnectSetForm.h"
#include "app/ExBill.h"
#include "app/ImBill.h"
#include "app/OpeningStock.h"
#include "app/PlannedPrice.h"
#include "app/SysSetForm.h"
#include "app/TreeEdit.h"
#include "platform/gui/TreeView.h"
#include "reports/QueryBills.h"
#include "reports/StatBillReport.h"
#include "reports/StatConsumeReport.h"
#include "reports/StatCylReport.h"
#include "reports/StatMaterialReport.h"
#include "reports/StockQuery.h"

#include <QPointer>
#include <typeindex>

namespace {

struct Leaf {
    int code;
    std::type_index form;
    const char* gate;   // what a clerk meets instead of the form (null: the clerk gets the form)
};

const char* const kBoss = "只有帐套管理员才能操作！";
const char* const kHero = "你是帐套管理员吗?只有他才有这个权限！";

const Leaf kLeaves[] = {
    {11, typeid(Tfrmbasicimbill), nullptr},     {12, typeid(Tfrmbasicexbill), nullptr},
    {13, typeid(Tfrmbalance), "只是帐套管理员吗？"},
    {21, typeid(Tfrmqueryimbill), nullptr},     {22, typeid(Tfrmqueryexbill), nullptr},
    {23, typeid(TfrmQueryStorage), nullptr},
    {31, typeid(TfrmimbillReport), nullptr},    {32, typeid(TfrmExbillReport), nullptr},
    {33, typeid(Tfrmmaterialreport), nullptr},  {34, typeid(Tfrmcylreport), nullptr},
    {35, typeid(Tfrmconsumereport), kBoss},
    {41, typeid(TfrmMaterialcf), nullptr},      {48, typeid(TfrmMaterialsup), nullptr},
    {42, typeid(Tfrmdptlist), nullptr},         {43, typeid(Tfrmpjtlist), nullptr},
    {44, typeid(Tfrmemployeelist), nullptr},    {45, typeid(Tfrmexceltosrglist), kBoss},
    {47, typeid(Tfrmplanlist), kBoss},
    {51, typeid(TfrmDBlinkset), kHero},         {52, typeid(Tfrmbreedset), kHero},
    {53, typeid(TfrmPrintSet), kHero},
    {54, typeid(Tfrmsystemset), kBoss},         {55, typeid(Tfrmuserset), kBoss},
};

} // namespace

class WholeDispatch : public WholeTest {
protected:
    void SetUp() override
    {
        WholeTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"))) << lastCreation.toStdString();
        Exec(QStringLiteral("acct"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('clerk','123',0,1)"));
        ChoosePrintTemplates(QStringLiteral("acct"));
    }

    // Double-clicks every leaf; each form met is closed by its window's close button. Returns
    // per leaf "code: class" when its form opened and closed (and was freed), else "code: the
    // texts shown".
    QStringList DispatchAll(TCMainform& main)
    {
        QStringList out;
        int seen = 0;
        for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext()) {
            if (n->StateIndex() < 0)
                continue;
            ++seen;
            const Leaf* leaf = nullptr;
            for (const Leaf& l : kLeaves)
                if (l.code == n->StateIndex())
                    leaf = &l;
            if (!leaf) {
                ADD_FAILURE() << "leaf without an expected form: " << n->StateIndex();
                continue;
            }
            DialogScript::ClearLog();
            QPointer<TForm> opened;
            bool rightClass = false;
            DialogScript::AnswerForm([&](TForm& f) {
                opened = &f;
                rightClass = std::type_index(typeid(f)) == leaf->form;
                if (leaf->code == 11 || leaf->code == 12)
                    DialogScript::Answer(mrNo);
                f.close();
                return mrCancel;
            });
            main.TreeView1->SetSelected(n);
            main.TreeView1DblClick(main.TreeView1);
            QApplication::processEvents();
            const QStringList texts = DialogScript::Texts();
            if (DialogScript::PendingAnswers() > 0) {
                // No form came: the answer is still queued.
                DialogScript::Start();
                out << QStringLiteral("%1: %2").arg(n->StateIndex()).arg(texts.join(u'/'));
                continue;
            }
            // The form shown is the leaf's class, it met no message but the bills' question
            // whether to save the new bill (answered no), and it was freed.
            QStringList expected{texts.value(0)};
            if (leaf->code == 11 || leaf->code == 12)
                expected << QStringLiteral("慢点，票据没保存,保存不?");
            EXPECT_EQ(texts, expected) << n->StateIndex();
            EXPECT_TRUE(rightClass) << n->StateIndex();
            EXPECT_TRUE(opened.isNull()) << n->StateIndex() << " was not freed";
            out << QStringLiteral("%1: form").arg(n->StateIndex());
        }
        EXPECT_EQ(seen, int(std::size(kLeaves)));
        return out;
    }
};

TEST_F(WholeDispatch, EveryLeafOpensItsFormForAnAdministratorAndTheGatesTurnAClerkAway)
{
    TCMainform main;
    main.show();
    QApplication::processEvents();
    QStringList clerk, admin;
    for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext()) {
        if (n->StateIndex() < 0)
            continue;
        for (const Leaf& l : kLeaves) {
            if (l.code != n->StateIndex())
                continue;
            admin << QStringLiteral("%1: form").arg(l.code);
            clerk << QStringLiteral("%1: %2").arg(l.code).arg(l.gate ? QString::fromUtf8(l.gate) : QStringLiteral("form"));
        }
    }
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("clerk"), QStringLiteral("123"), &main));
    EXPECT_EQ(DispatchAll(main), clerk);
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip"), &main));
    EXPECT_EQ(DispatchAll(main), admin);
}
