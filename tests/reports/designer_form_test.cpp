// The designer's upper toolbar: a new template, open and save (byte for byte), the print
// view that cannot be saved, the overwrite question, the page dialog and the printer setup,
// the layout in the scroll box and the registration under its dispatch code.
#include "designer_support.h"

#include "app/FormRegistry.h"
#include "app/MainForm.h"
#include "data/frmconst.h"
#include "platform/gui/TreeView.h"

using namespace designertest;

namespace {

using DesignerForm = DesignerTest;

TEST_F(DesignerForm, StartsEmptyWithTheControlsDefaults)
{
    EXPECT_EQ(form->Caption(), QStringLiteral("票据打印样式编辑设计"));
    EXPECT_EQ(rc->LineCount(), 0);
    EXPECT_EQ(rc->GetMargin(), TRect(20, 20, 20, 20));
    EXPECT_EQ(rc->billtype(), 0);
    EXPECT_EQ(rc->pgwidth(), 0);
    EXPECT_EQ(rc->headdataset(), &form->headqry);
    EXPECT_EQ(rc->bodydataset(), &form->bodyqry);
    EXPECT_FALSE(form->headqry.Active());
    for (auto [button, text] : {std::pair{form->ToolButton1, "新增"}, {form->ToolButton2, "打开"}, {form->ToolButton3, "保存"},
                                {form->ToolButton4, "打印设置"}, {form->ToolButton5, "打印效果"}, {form->ToolButton6, "页面设置"}})
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
}

TEST_F(DesignerForm, NewThreeByTwentyFiveSavesAndReopensByteForByte)
{
    NewTable(3, 25);
    ASSERT_EQ(Kinds(), QStringList{QStringLiteral("ShowModal")});
    ASSERT_EQ(rc->LineCount(), 3);
    for (int l = 0; l < 3; ++l) EXPECT_EQ(rc->Line(l)->CellCount(), 25) << l;
    EXPECT_EQ(rc->GetMargin(), TRect(20, 20, 20, 20));
    EXPECT_EQ(Cell(0, 0)->CellLeft(), MmToPixels(20));
    EXPECT_EQ(rc->Line(0)->LineTop(), MmToPixels(20));
    const int w = int((rc->width() - 2 * MmToPixels(20)) / 25.0 + 0.5);
    EXPECT_EQ(Cell(2, 24)->CellWidth(), w);
    EXPECT_EQ(rc->pgwidth(), 240);
    EXPECT_EQ(rc->pgheight(), 138);
    EXPECT_EQ(Printer()->PaperWidth(), 2400);
    EXPECT_EQ(Printer()->PaperLength(), 1380);
    EXPECT_EQ(form->Fopenname, QStringLiteral("Printpage.prt"));

    // The save dialog proposes the name in the template folder, with the template filter.
    DialogScript::ClearLog();
    DialogScript::Answer(mrCancel);
    Click(form->ToolButton3);
    EXPECT_EQ(form->SaveDialog1.FileName, QStringLiteral("Printpage.prt"));
    EXPECT_EQ(form->SaveDialog1.InitialDir, TfrmPrintSet::TemplateDir());
    EXPECT_EQ(TfrmPrintSet::TemplateDir(), dir.path() + QStringLiteral("/dpxprt/"));
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("SaveDialog"));
    EXPECT_EQ(DialogScript::Log()[0].Text, QStringLiteral("票据打印样式(*.prt)|*.prt|All files(*.*)|*.*"));

    Save(InDir(QStringLiteral("a.prt")));
    Open(InDir(QStringLiteral("a.prt")));
    EXPECT_EQ(DialogScript::Log().last().Text, TfrmPrintSet::TemplateFilter);
    EXPECT_EQ(form->OpenDialog1.InitialDir, TfrmPrintSet::TemplateDir());
    EXPECT_EQ(form->Fopenname, InDir(QStringLiteral("a.prt")));
    Save(InDir(QStringLiteral("b.prt")));
    EXPECT_EQ(form->Fopenname, InDir(QStringLiteral("a.prt")));
    const QByteArray a = ReadAll(InDir(QStringLiteral("a.prt")));
    EXPECT_GT(a.size(), 71 + 3 * 4);
    EXPECT_EQ(a, ReadAll(InDir(QStringLiteral("b.prt"))));
    EXPECT_EQ(DialogScript::Unanswered(), 0);
}

TEST_F(DesignerForm, SaveAddsTheExtensionAndAsksBeforeReplacing)
{
    Open(Template(kShipped[2]));
    Save(InDir(QStringLiteral("mine")));
    EXPECT_TRUE(QFile::exists(InDir(QStringLiteral("mine.prt"))));
    EXPECT_EQ(form->Fopenname, Template(kShipped[2])) << "the name proposed stays the opened file's";
    const QByteArray original = ReadAll(InDir(QStringLiteral("mine.prt")));

    Cell(0, 0)->SetCellText(QStringLiteral("改过的标题"));
    DialogScript::ClearLog();
    DialogScript::AnswerText(InDir(QStringLiteral("mine.prt")));
    DialogScript::Answer(mrNo);
    Click(form->ToolButton3);
    ASSERT_EQ(Kinds(), (QStringList{QStringLiteral("SaveDialog"), QStringLiteral("MessageDlg")}));
    EXPECT_EQ(DialogScript::Log()[1].Text, QStringLiteral("文件“mine.prt”已经存在，要替换它吗？"));
    EXPECT_EQ(ReadAll(InDir(QStringLiteral("mine.prt"))), original) << "No keeps the file";

    DialogScript::ClearLog();
    Save(dir.path() + QStringLiteral("/no such folder/x.prt"));
    ASSERT_EQ(Kinds(), (QStringList{QStringLiteral("SaveDialog"), QStringLiteral("Error")}));
    EXPECT_EQ(form->Fopenname, Template(kShipped[2]));

    DialogScript::AnswerText(InDir(QStringLiteral("mine")));
    DialogScript::Answer(mrYes);
    Click(form->ToolButton3);
    TReportControl back;
    ASSERT_TRUE(back.LoadFromFile(InDir(QStringLiteral("mine.prt"))));
    EXPECT_EQ(back.Line(0)->Cell(0)->CellText(), QStringLiteral("改过的标题"));
    EXPECT_EQ(DialogScript::Unanswered(), 0);
}

TEST_F(DesignerForm, ThePrintViewRepeatsTheDataLineAndCannotBeSaved)
{
    const QString file = Template(kShipped[2]);  // IMBILLA: ten lines, the data line prints 5 rows
    const QByteArray original = ReadAll(file);
    Open(file);
    ASSERT_EQ(rc->LineCount(), 10);
    DialogScript::ClearLog();
    DialogScript::AnswerText(file);
    Click(form->ToolButton5);
    ASSERT_EQ(Kinds(), QStringList{QStringLiteral("OpenDialog")});
    EXPECT_EQ(DialogScript::Log()[0].Text, TfrmPrintSet::TemplateFilter);
    EXPECT_EQ(rc->LineCount(), 14);
    int data = 0;
    for (int l = 0; l < rc->LineCount(); ++l) data += rc->Line(l)->Linetype() == 1;
    EXPECT_EQ(data, 5);
    EXPECT_FALSE(form->ToolButton3->isEnabled());
    EXPECT_EQ(form->Fopenname, file);

    // Saving is refused; a failed open does not make it savable either.
    DialogScript::ClearLog();
    Click(form->ToolButton3);
    form->SaveClick(form->ToolButton3);
    EXPECT_TRUE(DialogScript::Log().isEmpty());
    const QString junk = InDir(QStringLiteral("junk.prt"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a template");
    }
    Open(junk);
    EXPECT_EQ(DialogScript::Texts().last(), QStringLiteral("打开文件错误"));
    EXPECT_EQ(form->Fopenname, file) << "the name is taken only after a successful load";
    EXPECT_EQ(rc->LineCount(), 14);
    EXPECT_FALSE(form->ToolButton3->isEnabled());
    EXPECT_EQ(ReadAll(file), original);

    // A file that cannot be read or written is the stream error; the name stays.
    DialogScript::ClearLog();
    Open(InDir(QStringLiteral("missing.prt")));
    ASSERT_EQ(Kinds(), (QStringList{QStringLiteral("OpenDialog"), QStringLiteral("Error")}));
    EXPECT_EQ(form->Fopenname, file);

    // "打开" makes it savable again, and so does "新增".
    Open(file);
    EXPECT_TRUE(form->ToolButton3->isEnabled());
    EXPECT_EQ(rc->LineCount(), 10);
    DialogScript::AnswerText(file);
    Click(form->ToolButton5);
    EXPECT_FALSE(form->ToolButton3->isEnabled());
    NewTable(3, 3);
    EXPECT_TRUE(form->ToolButton3->isEnabled());
}

TEST_F(DesignerForm, ThePageDialogSetsMarginsPaperAndBillKind)
{
    Open(Template(kShipped[0]));  // EXBILLA: stock-out, margins 25 / 10 / 25 / 15
    DialogScript::ClearLog();
    DialogScript::AnswerForm([this](TForm& f) {
        auto& d = dynamic_cast<TfrmPageproperty&>(f);
        EXPECT_EQ(d.Caption(), QStringLiteral("页面属性"));
        EXPECT_EQ(d.widthedit->value(), 240);
        EXPECT_EQ(d.heightedit->value(), 138);
        EXPECT_EQ(d.LeftEdit->value(), 25);
        EXPECT_EQ(d.TopEdit->value(), 10);
        EXPECT_EQ(d.RightEdit->value(), 25);
        EXPECT_EQ(d.BottomEdit->value(), 15);
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 1);
        SetSpin(d.widthedit, 200);
        SetSpin(d.heightedit, 100);
        SetSpin(d.LeftEdit, 10);
        SetSpin(d.TopEdit, 12);
        SetSpin(d.RightEdit, 14);
        SetSpin(d.BottomEdit, 16);
        DesignerTest::ClickRadio(d.RadioGroup1->Button(0));
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        return mrNone;
    });
    Click(form->ToolButton6);
    EXPECT_EQ(rc->GetMargin(), TRect(10, 12, 14, 16));
    EXPECT_EQ(Cell(0, 0)->CellLeft(), MmToPixels(10));
    EXPECT_EQ(rc->Line(0)->LineTop(), MmToPixels(12));
    EXPECT_EQ(rc->pgwidth(), 200);
    EXPECT_EQ(rc->pgheight(), 100);
    EXPECT_EQ(rc->billtype(), 0);
    EXPECT_EQ(Printer()->PaperWidth(), 2000);
    EXPECT_EQ(Printer()->PaperLength(), 1000);
    EXPECT_EQ(rc->pagewidth(),
              int(double(Printer()->PageWidth()) / Printer()->PixelsPerInchX() * ScreenPixelsPerInch + 0.5));

    // "放弃" changes nothing.
    DialogScript::Answer(mrCancel);
    Click(form->ToolButton6);
    EXPECT_EQ(rc->GetMargin(), TRect(10, 12, 14, 16));
    EXPECT_EQ(Printer()->PaperWidth(), 2000);
}

TEST_F(DesignerForm, PrinterSetupRecomputesThePage)
{
    NewTable(3, 3, 0, 240, 138);
    const int before = rc->width();
    DialogScript::ClearLog();
    DialogScript::AnswerText(QStringLiteral("1500x1000"));
    Click(form->ToolButton4);
    ASSERT_EQ(Kinds(), QStringList{QStringLiteral("PrinterSetupDialog")});
    EXPECT_EQ(DialogScript::Log()[0].Text, QStringLiteral("2400x1380"));
    EXPECT_EQ(Printer()->PaperWidth(), 1500);
    EXPECT_LT(rc->width(), before);
    EXPECT_EQ(rc->pagewidth(), int(150 / 25.4 * 96 + 0.5));
    // Cancelled: the page stays.
    DialogScript::AnswerText(QStringLiteral("2400x1380"), mrCancel);
    Click(form->ToolButton4);
    EXPECT_EQ(Printer()->PaperWidth(), 1500);
}

TEST_F(DesignerForm, TheControlIsCentredInTheScrollBox)
{
    NewTable(3, 3, 0, 100, 80);  // a page narrower than the box
    const int box = form->ScrollBox1->width();
    EXPECT_EQ(rc->x(), (box - rc->width()) / 2);
    form->resize(form->width() + 101, form->height());
    QApplication::processEvents();
    EXPECT_EQ(form->ScrollBox1->width(), box + 101);
    EXPECT_EQ(rc->x(), (box + 101 - rc->width()) / 2);
    // A page wider than the box starts at its left edge; the scroll range reaches its end.
    NewTable(3, 3, 0, 400, 138);
    EXPECT_GT(rc->width(), form->ScrollBox1->width());
    EXPECT_EQ(rc->x(), 0);
    EXPECT_GE(form->ScrollBox1->widget()->width(), rc->width());
}

TEST_F(DesignerForm, RegisteredForAdministratorsUnderCode53)
{
    RegisterDesignerForms();
    const TFormEntry* entry = TFormRegistry::Find(53);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->ClassName, QStringLiteral("TfrmPrintSet"));
    std::unique_ptr<TForm> created(entry->Create(nullptr));
    EXPECT_NE(dynamic_cast<TfrmPrintSet*>(created.get()), nullptr);
    EXPECT_EQ(created->Caption(), QStringLiteral("票据打印样式编辑设计"));
    TFormRegistry::Unregister(53);
}

} // namespace

namespace {

// The main window opens the designer from "票据设计" for administrators only.
TEST_F(DesignerForm, TheMainWindowOpensItForAdministrators)
{
    RegisterDesignerForms();
    TCMainform main;
    TTreeNode* node = nullptr;
    for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n && !node; n = n->GetNext())
        if (n->StateIndex() == 53) node = n;
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Text(), QStringLiteral("票据设计"));
    main.TreeView1->SetSelected(node);
    loggedin = true;
    for (bool admin : {false, true}) {
        userisadmin = admin;
        DialogScript::ClearLog();
        if (admin)
            DialogScript::AnswerForm([](TForm& f) {
                EXPECT_NE(dynamic_cast<TfrmPrintSet*>(&f), nullptr);
                EXPECT_EQ(f.Caption(), QStringLiteral("票据打印样式编辑设计"));
                return mrCancel;
            });
        main.TreeView1DblClick(main.TreeView1);
        ASSERT_EQ(DialogScript::Log().size(), 1);
        EXPECT_EQ(DialogScript::Log()[0].Text,
                  admin ? QStringLiteral("TfrmPrintSet") : QStringLiteral("你是帐套管理员吗?只有他才有这个权限！"));
    }
    EXPECT_EQ(DialogScript::PendingAnswers(), 0);
    loggedin = false;
    userisadmin = false;
    TFormRegistry::Unregister(53);
}

} // namespace
