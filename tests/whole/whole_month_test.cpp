// A clerk's month driven from the main window alone: after the account set is made through the
// account-set dialog, every step goes through the main window's function tree and the forms it
// opens (clicks, keys and the forms' own buttons and actions): the settings and bill categories,
// the master data, receipts under the three price models, issues, an audit reversed and done
// again, a return each way, printing, the queries and the in/out/stock report checked against
// figures worked out by hand, the period close and the statistics of the closed period.
#include "whole_fixture.h"

#include "app/CategoryTreeEdit.h"
#include "app/DropDownPicker.h"
#include "app/CloseAccountForm.h"
#include "app/ExBill.h"
#include "app/ExPicker.h"
#include "app/ExReturnPicker.h"
#include "app/ImBill.h"
#include "app/ImPicker.h"
#include "app/PlannedPrice.h"
#include "app/prt_support.h"
#include "reports/LedgerForm.h"
#include "reports/StatMaterialReport.h"
#include "reports/StockQuery.h"
#include "platform/gui/StringGrid.h"
#include "app/ReturnPicker.h"
#include "app/SysSetForm.h"
#include "app/TreeEdit.h"
#include "platform/gui/RadioGroup.h"
#include "platform/gui/TreeView.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPointer>
#include <QTest>

#include <functional>

class WholeMonth : public WholeTest {
protected:
    // The leaf of the function tree with a dispatch code.
    static TTreeNode* Leaf(TCMainform& main, int code)
    {
        for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext())
            if (n->StateIndex() == code)
                return n;
        return nullptr;
    }
    // Double-clicks the leaf of a code in the main window's tree; the form it opens is handed to
    // act, then closed. True when a form came.
    static bool Open(TCMainform& main, int code, std::function<void(TForm&)> act)
    {
        TTreeNode* leaf = Leaf(main, code);
        if (!leaf)
            return false;
        bool came = false;
        DialogScript::AnswerForm([&](TForm& f) {
            came = true;
            apptest::showActive(&f);
            act(f);
            return mrCancel;
        });
        leaf->MakeVisible();
        const QRect r = main.TreeView1->visualItemRect(leaf->Item());
        QTest::mouseDClick(main.TreeView1->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
        if (!came)
            DialogScript::Start();   // drops the unused answer
        return came;
    }
    static void ClickNode(TTreeView* tree, TTreeNode* node)
    {
        ASSERT_NE(node, nullptr);
        node->MakeVisible();
        const QRect r = tree->visualItemRect(node->Item());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }
    static TTreeNode* NodeNamed(TTreeView* tree, const QString& text)
    {
        for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == text)
                return n;
        return nullptr;
    }
    // Adds items to one of the tree editors (sources, suppliers, units, projects) and saves.
    static void AddTreeItems(TForm& f, const QStringList& names)
    {
        auto& editor = dynamic_cast<Tfrmbreedtree&>(f);
        DialogScript::AnswerForm([names](TForm& d) {
            auto& item = dynamic_cast<Tfrmbreedtree_m&>(d);
            for (const QString& n : names) {
                item.Edit1->insert(n);
                QTest::mouseClick(item.Button1, Qt::LeftButton);
            }
            QTest::mouseClick(item.Button2, Qt::LeftButton);
            return mrCancel;
        });
        QTest::mouseClick(editor.add, Qt::LeftButton);
        QTest::mouseClick(editor.Button1, Qt::LeftButton);
    }
    QStringList Q(const QString& sql) { return Rows(QStringLiteral("site"), sql); }

    // The messages shown since the log was last cleared (forms shown are left out).
    static QStringList Messages()
    {
        QStringList out;
        for (const TShownDialog& d : DialogScript::Log())
            if (d.Kind != QLatin1String("ShowModal"))
                out << d.Text;
        return out;
    }
    // Types Chinese text into an edit as the input method commits it.
    static void Type(QWidget* edit, const QString& text)
    {
        edit->setFocus();
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(edit, &e);
    }
    // Picks the node of a tree drop-down by its name when it opens.
    static void PickNode(const QString& name)
    {
        DialogScript::AnswerForm([name](TForm& f) {
            auto& p = dynamic_cast<TfrmBasictreeshow&>(f);
            ClickNode(p.treelist, NodeNamed(p.treelist, name));
            return mrOk;
        });
    }
    // Picks the bill category by its name when the category drop-down opens.
    static void PickCategory(const QString& name)
    {
        DialogScript::AnswerForm([name](TForm& f) {
            auto& p = dynamic_cast<Tfrmbilltypelistbox&>(f);
            EXPECT_TRUE(p.CDSlist.Locate(QStringLiteral("typename"), Variant(name), {}));
            p.DBGridGx1CellClick(nullptr);
            return mrOk;
        });
    }
    // Types a value into a cell of the current line of a bill's grid; Enter leaves the editor.
    static void TypeCell(TDBGridGx* grid, const QString& field, const QString& text)
    {
        QApplication::setActiveWindow(grid->window());
        grid->setFocus();
        QApplication::processEvents();
        int index = -1;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->Items(i)->FieldName() == field)
                index = i;
        ASSERT_GE(index, 0) << field.toStdString();
        grid->SetSelectedIndex(index);
        // The cell's editor takes the keys, as after a click on the cell (also when Enter has
        // just brought the grid to this column).
        if (TInplaceEdit* cell = grid->InplaceEditor(); cell && cell->isVisible())
            cell->setFocus();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        // What the cell holds is replaced, as after a double-click on it.
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->selectAll();
        QTest::keyClicks(editor, text);
        // Keys typed on the grid itself reach its cell editor as posted events: they are in the
        // cell before Enter takes it.
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }
    // Prints a shown bill into a PDF file and returns the text of its pages.
    static QString PrintToPdf(Tfrmbasicbill& bill, const QString& name)
    {
        const QString pdf = prttest::Artifact(name);
        {
            prttest::PdfPrinterScope scope(pdf);
            bill.acPrint->trigger();
            QApplication::processEvents();
        }
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Clicks a control of a form as a user does: its window is the active one (a drop-down that
    // closed leaves no window active on this platform).
    static void Click(QWidget* w)
    {
        QApplication::setActiveWindow(w->window());
        QApplication::processEvents();
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    }
    // The cells of a string grid from a row on, the columns joined by "|".
    static QStringList Cells(TStringGrid* g, int fromRow)
    {
        QStringList out;
        for (int r = fromRow; r < g->RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->ColCount(); ++c)
                cells << g->Cells(c, r);
            out << cells.join(u'|');
        }
        return out;
    }
    // Fills a bill's head through its drop-downs: the two tree picks (source and supplier, or
    // unit and project) and the bill category.
    static void FillHead(Tfrmbasicbill& bill, QToolButton* first, const QString& firstName, QToolButton* second,
                         const QString& secondName, const QString& category)
    {
        PickNode(firstName);
        QTest::mouseClick(first, Qt::LeftButton);
        PickNode(secondName);
        QTest::mouseClick(second, Qt::LeftButton);
        PickCategory(category);
        QTest::mouseClick(bill.SpeedButton1, Qt::LeftButton);
    }
    static void Trigger(QAction* a)
    {
        ASSERT_TRUE(a->isEnabled()) << a->text().toStdString();
        a->trigger();
        QApplication::processEvents();
    }
    // Saves a bill and audits it through its toolbar.
    static void SaveAndAudit(Tfrmbasicbill& bill)
    {
        Trigger(bill.acSave);
        Trigger(bill.acAuditing);
        EXPECT_EQ(bill.btnState(), 7);
    }
};

TEST_F(WholeMonth, AClerksMonthFromTheMainWindow)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site"), QStringLiteral("滨江大桥项目部"))) << lastCreation.toStdString();
    // The build's print templates are in the program folder, as the setup puts them.
    const QDir built(QStringLiteral(DPX_BIN_DIR "/dpxprt"));
    for (const QString& f : built.entryList(QDir::Files))
        QFile::copy(built.filePath(f), Path(QStringLiteral("dpxprt/") + f));

    DialogScript::ClearLog();
    TCMainform main;
    apptest::showActive(&main);
    DialogScript::AnswerForm([](TForm& f) {
        auto& login = static_cast<TfrmLogin&>(f);
        QTest::keyClicks(login.Edit1, QStringLiteral("admin"));
        QTest::keyClicks(login.Edit2, QStringLiteral("tulip"));
        login.Button1->Click();
        return mrNone;
    });
    QTest::mouseClick(main.toolbutton3, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(loggedin) << Texts().join(u'\n').toStdString();
    EXPECT_EQ(main.StatusBar1->PanelText(3), QStringLiteral("site"));

    // Settings: a domestic site, raw-material receipts, the print templates, one bill category.
    ASSERT_TRUE(Open(main, 54, [](TForm& f) {
        auto& s = dynamic_cast<Tfrmsystemset&>(f);
        s.RadioGroup2->SetItemIndex(0);
        s.RadioGroup1->SetItemIndex(1);
        s.Edit2->setText(QStringLiteral("材料入库单（运杂类）.prt"));
        s.Edit3->setText(QStringLiteral("材料出库单（普通型）.prt"));
        s.TreeView1->SetSelected(s.TreeView1->Items()->GetFirstNode());
        s.TreeView1DblClick(s.TreeView1);
        QTest::mouseClick(s.Button1, Qt::LeftButton);
    }));
    EXPECT_EQ(Messages(), QStringList()) << "settings";
    EXPECT_EQ(int(systype), 0);
    EXPECT_EQ(imbillprintfile, QStringLiteral("材料入库单（运杂类）.prt"));
    EXPECT_EQ(Q(QStringLiteral("select typename,code from billtype")), QStringList{QStringLiteral("材料分类|A1")});
    DialogScript::ClearLog();

    // Master data: a source, a supplier, two units, a project; categories under the three price
    // models and a turnover category.
    ASSERT_TRUE(Open(main, 41, [](TForm& f) { AddTreeItems(f, {QStringLiteral("自购")}); }));
    ASSERT_TRUE(Open(main, 48, [](TForm& f) { AddTreeItems(f, {QStringLiteral("华丰钢厂")}); }));
    ASSERT_TRUE(Open(main, 42, [](TForm& f) { AddTreeItems(f, {QStringLiteral("一工区"), QStringLiteral("二工区")}); }));
    ASSERT_TRUE(Open(main, 43, [](TForm& f) { AddTreeItems(f, {QStringLiteral("大桥")}); }));
    ASSERT_TRUE(Open(main, 52, [](TForm& f) {
        auto& editor = dynamic_cast<Tfrmbreedset&>(f);
        DialogScript::AnswerForm([](TForm& d) {
            auto& c = dynamic_cast<Tfrmbreedset_M&>(d);
            const struct {
                const char* name;
                int model;
            } cats[] = {{"钢材", 0}, {"水泥", 1}, {"木材", 2}};
            for (const auto& cat : cats) {
                c.Edit1->insert(QString::fromUtf8(cat.name));
                c.RadioGroup1->SetItemIndex(cat.model);
                QTest::mouseClick(c.Button1, Qt::LeftButton);
            }
            QTest::mouseClick(c.Button2, Qt::LeftButton);
            return mrCancel;
        });
        QTest::mouseClick(editor.add, Qt::LeftButton);
        QTest::mouseClick(editor.Button1, Qt::LeftButton);
    }));
    EXPECT_EQ(Q(QStringLiteral("select prtname,pricemodal from breedlist where tlevel=1 order by fid")),
              (QStringList{QStringLiteral("钢材|0"), QStringLiteral("水泥|1"), QStringLiteral("木材|2")}));
    EXPECT_EQ(Q(QStringLiteral("select prtname from dptlist where tlevel=1 order by fid")),
              (QStringList{QStringLiteral("一工区"), QStringLiteral("二工区")}));
    DialogScript::ClearLog();

    // The first receipt: the three materials made in the picker, the steel received.
    const QString category = QStringLiteral("材料分类");
    ASSERT_TRUE(Open(main, 11, [&](TForm& f) {
        auto& bill = dynamic_cast<Tfrmbasicimbill&>(f);
        FillHead(bill, bill.SpeedButton2, QStringLiteral("自购"), bill.SpeedButton3, QStringLiteral("华丰钢厂"), category);
        DialogScript::AnswerForm([](TForm& pf) {
            auto& p = dynamic_cast<Tfrmimdetail&>(pf);
            const struct {
                const char* cat;
                const char* name;
                const char* model;
                const char* unit;
            } made[] = {{"钢材", "螺纹钢", "HRB400", "吨"}, {"水泥", "硅酸盐水泥", "P.O42.5", "吨"}, {"木材", "方木", "100*100", "方"}};
            for (const auto& m : made) {
                ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QString::fromUtf8(m.cat)));
                DialogScript::AnswerForm([m](TForm& df) {
                    auto& d = dynamic_cast<Tfrmimdetail_m&>(df);
                    Type(d.DBEdit1, QString::fromUtf8(m.name));
                    Type(d.DBEdit2, QString::fromUtf8(m.model));
                    Type(d.DBEdit3, QString::fromUtf8(m.unit));
                    d.Button3->Click();
                    return mrNo;
                });
                Trigger(p.sbinsert);
                Trigger(p.sbsave);
            }
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
            p.DBGridGx1DblClick();
            return mrOk;
        });
        Click(bill.btlistadd);
        TypeCell(bill.DBGridGx1, QStringLiteral("qty"), QStringLiteral("10"));
        TypeCell(bill.DBGridGx1, QStringLiteral("rprice"), QStringLiteral("35000"));
        SaveAndAudit(bill);
    }));
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("保存成功啊！"), QStringLiteral("保存成功啊！"), QStringLiteral("保存成功啊！"),
                                   QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")}))
        << "first receipt";
    EXPECT_EQ(Q(QStringLiteral("select mname,mtype,munit from mtrlist order by fid")),
              (QStringList{QStringLiteral("螺纹钢|HRB400|吨"), QStringLiteral("硅酸盐水泥|P.O42.5|吨"), QStringLiteral("方木|100*100|方")}));
    DialogScript::ClearLog();

    // The wood's planned price.
    ASSERT_TRUE(Open(main, 47, [](TForm& f) {
        auto& plan = dynamic_cast<Tfrmplanlist&>(f);
        ClickNode(plan.TreeView1, NodeNamed(plan.TreeView1, QStringLiteral("木材")));
        DialogScript::AnswerForm([](TForm& pf) {
            auto& p = dynamic_cast<Tfrmplanlist_m&>(pf);
            p.cdsmtrlist.First();
            p.DBGridGx1->SelectedRows()->SetCurrentRowSelected(true);
            QTest::mouseClick(p.Button1, Qt::LeftButton);
            return mrNone;
        });
        QTest::mouseClick(plan.ToolBar1->widgetForAction(plan.acInsert), Qt::LeftButton);
        TypeCell(plan.DBGridGx1, QStringLiteral("pprice"), QStringLiteral("2000"));
        QTest::mouseClick(plan.ToolBar1->widgetForAction(plan.acSave), Qt::LeftButton);
    }));
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("数据保存成功！")});
    DialogScript::ClearLog();

    // A receipt of one material of a category: the head, the line from the picker, the
    // quantity and the line's actual amount typed; saved and audited.
    QString printed;
    auto receipt = [&](const char* cat, const char* qty, const char* amount, bool print = false) {
        ASSERT_TRUE(Open(main, 11, [&](TForm& f) {
            auto& bill = dynamic_cast<Tfrmbasicimbill&>(f);
            FillHead(bill, bill.SpeedButton2, QStringLiteral("自购"), bill.SpeedButton3, QStringLiteral("华丰钢厂"), category);
            DialogScript::AnswerForm([cat](TForm& pf) {
                auto& p = dynamic_cast<Tfrmimdetail&>(pf);
                ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QString::fromUtf8(cat)));
                p.DBGridGx1DblClick();
                return mrOk;
            });
            Click(bill.btlistadd);
            TypeCell(bill.DBGridGx1, QStringLiteral("qty"), QString::fromUtf8(qty));
            TypeCell(bill.DBGridGx1, QStringLiteral("rprice"), QString::fromUtf8(amount));
            SaveAndAudit(bill);
            if (print)
                printed = PrintToPdf(bill, QStringLiteral("whole_stockin_bill.pdf"));
        }));
        EXPECT_EQ(Messages(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")})) << cat;
        DialogScript::ClearLog();
    };
    receipt("水泥", "20", "8000", true);
    for (const char* t : {"材料分类 11-2", "自购", "硅酸盐水泥", "P.O42.5", "20", "8000", "400"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(t))) << t << "\n" << printed.toStdString();
    receipt("木材", "5", "10500");
    // Layout B: the actual amount typed, the stock price from it (batch and moving average) or
    // the planned price (wood at 2000 against 2100 paid).
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,amount,sprice,dprice from ibdetail order by iid")),
              (QStringList{QStringLiteral("1|10|35000|3500|35000"), QStringLiteral("2|20|8000|400|8000"),
                           QStringLiteral("3|5|10500|2000|10000")}));

    // Issues: to the first unit 4 steel from its batch and 5 cement; to the second unit 2 wood.
    enum After { nothing, reverseAndAuditAgain, print };
    auto issue = [&](const char* unit, std::function<void(Tfrmbasicexbill&)> lines, After after = nothing) {
        ASSERT_TRUE(Open(main, 12, [&](TForm& f) {
            auto& bill = dynamic_cast<Tfrmbasicexbill&>(f);
            FillHead(bill, bill.SpeedButton2, QString::fromUtf8(unit), bill.SpeedButton3, QStringLiteral("大桥"), category);
            lines(bill);
            SaveAndAudit(bill);
            if (after == reverseAndAuditAgain) {
                Trigger(bill.acAuditing);
                EXPECT_NE(bill.btnState(), 7);
                Trigger(bill.acAuditing);
                EXPECT_EQ(bill.btnState(), 7);
            } else if (after == print) {
                printed = PrintToPdf(bill, QStringLiteral("whole_stockout_bill.pdf"));
            }
        }));
    };
    auto draw = [](Tfrmbasicexbill& bill, const char* cat, const char* qty) {
        DialogScript::AnswerForm([cat](TForm& pf) {
            auto& p = dynamic_cast<Tfrmexdetail&>(pf);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QString::fromUtf8(cat)));
            p.DBGridGx1DblClick();
            if (p.DBGridGx2->isVisible() && p.cdsbaseinfo.Active() && p.cdsbaseinfo.RecordCount() > 0)
                p.DBGridGx2DblClick();
            return mrOk;
        });
        Click(bill.btlistadd);
        TypeCell(bill.DBGridGx1, QStringLiteral("qty"), QString::fromUtf8(qty));
    };
    issue(
        "一工区",
        [&](Tfrmbasicexbill& bill) {
            draw(bill, "钢材", "4");
            draw(bill, "水泥", "5");
        },
        print);
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")})) << "issue 1";
    for (const char* t : {"材料分类 11-1", "一工区", "大桥", "螺纹钢", "硅酸盐水泥", "14000", "2000"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(t))) << t << "\n" << printed.toStdString();
    DialogScript::ClearLog();
    issue("二工区", [&](Tfrmbasicexbill& bill) { draw(bill, "木材", "2"); }, reverseAndAuditAgain);
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！"),
                                   QStringLiteral("数据反记帐成功！"), QStringLiteral("数据记帐成功！")}))
        << "issue 2";
    DialogScript::ClearLog();

    // The first unit gives back 1 steel; 2 cement go back to the supplier.
    ASSERT_TRUE(Open(main, 12, [&](TForm& f) {
        auto& bill = dynamic_cast<Tfrmbasicexbill&>(f);
        FillHead(bill, bill.SpeedButton2, QStringLiteral("一工区"), bill.SpeedButton3, QStringLiteral("大桥"), category);
        Click(bill.DBCheckBox1);
        DialogScript::AnswerForm([](TForm& pf) {
            auto& p = dynamic_cast<Tfrmexdetail_R&>(pf);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
            p.cdsbaseinfo.First();
            p.DBGridGx1DblClick();
            return mrOk;
        });
        Click(bill.btlistadd);
        TypeCell(bill.DBGridGx1, QStringLiteral("qty"), QStringLiteral("-1"));
        SaveAndAudit(bill);
    }));
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")})) << "unit return";
    DialogScript::ClearLog();
    ASSERT_TRUE(Open(main, 11, [&](TForm& f) {
        auto& bill = dynamic_cast<Tfrmbasicimbill&>(f);
        FillHead(bill, bill.SpeedButton2, QStringLiteral("自购"), bill.SpeedButton3, QStringLiteral("华丰钢厂"), category);
        Click(bill.DBCheckBox1);
        DialogScript::AnswerForm([](TForm& pf) {
            auto& p = dynamic_cast<Tfrmimdetail_R&>(pf);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("水泥")));
            p.cdsbaseinfo.First();
            p.DBGridGx1DblClick();
            return mrNo;
        });
        Click(bill.btlistadd);
        TypeCell(bill.DBGridGx1, QStringLiteral("qty"), QStringLiteral("-2"));
        TypeCell(bill.DBGridGx1, QStringLiteral("rprice"), QStringLiteral("-800"));
        SaveAndAudit(bill);
    }));
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")})) << "supplier return";
    DialogScript::ClearLog();
    // By hand: steel 10 in at 3500, 4 out, 1 back: 7 at 24500. Cement 20 in at 400, 5 out, 2 back
    // to the supplier: 13 at 5200. Wood 5 in at the planned 2000, 2 out: 3 at 6000.
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,cost from msrglist order by mid")),
              (QStringList{QStringLiteral("1|7|24500"), QStringLiteral("2|13|5200"), QStringLiteral("3|3|6000")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibmaster where brecorded=1")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster where brecorded=1")), QStringList{QStringLiteral("3")});

    // The stock query over every category, then the steel's ledger from its row.
    ASSERT_TRUE(Open(main, 23, [&](TForm& f) {
        auto& q = dynamic_cast<TfrmQueryStorage&>(f);
        ClickNode(q.TreeView1, q.TreeView1->Items()->GetFirstNode());
        Trigger(q.acQuery);
        QStringList stock;
        for (q.adoqry.First(); !q.adoqry.Eof(); q.adoqry.Next())
            stock << q.adoqry.FieldByName(QStringLiteral("mname"))->AsString() + u'|' + q.adoqry.FieldByName(QStringLiteral("qty"))->AsString()
                         + u'|' + q.adoqry.FieldByName(QStringLiteral("cost"))->AsString();
        stock.sort();
        EXPECT_EQ(stock, (QStringList{QStringLiteral("方木|3|6000"), QStringLiteral("硅酸盐水泥|13|5200"), QStringLiteral("螺纹钢|7|24500")}));
        ASSERT_TRUE(q.adoqry.Locate(QStringLiteral("mname"), Variant(QStringLiteral("螺纹钢")), {}));
        DialogScript::AnswerForm([](TForm& lf) {
            auto& ledger = dynamic_cast<Tfrmmtrimexsrg&>(lf);
            EXPECT_EQ(std::make_tuple(ledger.Edit2->text(), ledger.Edit6->text(), ledger.Edit7->text()),
                      std::make_tuple(QStringLiteral("螺纹钢"), QStringLiteral("7"), QStringLiteral("24500")));
            // The balance after each movement: the receipt, the issue, the unit's return.
            QStringList rows;
            for (ledger.cdsinfo.First(); !ledger.cdsinfo.Eof(); ledger.cdsinfo.Next()) {
                QStringList cells;
                for (const char* f : {"bnum", "comment", "dptprj", "iqty", "eqty", "edprice", "srgqty", "srgcost"})
                    cells << ledger.cdsinfo.FieldByName(QString::fromLatin1(f))->AsString();
                rows << cells.join(u'|');
            }
            EXPECT_EQ(rows, (QStringList{QStringLiteral("材料分类 11-1|入库|自购→华丰钢厂|10|||10|35000"),
                                         QStringLiteral("材料分类 11-1|出库|一工区→大桥||4|14000|6|21000"),
                                         QStringLiteral("材料分类 11-3|出库|一工区→大桥||-1|-3500|7|24500")}));
            return mrCancel;
        });
        Trigger(q.acBillEx);
    }));
    EXPECT_EQ(Messages(), QStringList()) << "queries";
    DialogScript::ClearLog();

    // The in/out/stock report of the open period: opening, receipts, issues, closing (quantity
    // and amount each), returns netted into receipts and issues.
    const QStringList summary{QStringLiteral("0.0.0.1|材料分类|||33|52200|10|16500|23|35700"),
                              QStringLiteral("一、|钢材|||10|35000|3|10500|7|24500"),
                              QStringLiteral("二、|水泥|||18|7200|5|2000|13|5200"),
                              QStringLiteral("三、|木材|||5|10000|2|4000|3|6000")};
    ASSERT_TRUE(Open(main, 33, [&](TForm& f) {
        auto& r = dynamic_cast<Tfrmmaterialreport&>(f);
        Trigger(r.calsbill);
        EXPECT_EQ(Cells(r.StringGrid1, 2), summary);
        EXPECT_EQ(Cells(r.StringGrid2, 2).value(2), QStringLiteral("1|螺纹钢|HRB400|吨|||10|35000|3|10500|7|24500"));
    }));
    // The period closes today.
    ASSERT_TRUE(Open(main, 13, [&](TForm& f) {
        auto& c = dynamic_cast<Tfrmbalance&>(f);
        QTest::mouseClick(c.Button1, Qt::LeftButton);
    }));
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("材料扎帐成功！")});
    DialogScript::ClearLog();
    // The same report for the closed period.
    ASSERT_TRUE(Open(main, 33, [&](TForm& f) {
        auto& r = dynamic_cast<Tfrmmaterialreport&>(f);
        Click(r.CheckBox1);
        EXPECT_EQ(r.cdsperiod.RecordCount(), 1);
        EXPECT_EQ(r.reportperiod(), 0);
        Trigger(r.calsbill);
        EXPECT_EQ(Cells(r.StringGrid1, 2), summary);
    }));
    EXPECT_EQ(Messages(), QStringList());
    // The next period is open and empty.
    EXPECT_EQ(Q(QStringLiteral("select periodid from currentpid")), QStringList{QStringLiteral("1")});
}
