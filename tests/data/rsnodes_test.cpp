// The tree-table model over a real tree table: lazy loads into a tree view, edits in memory,
// and saves in one transaction (keys past 999 included).
#include "dmfixture.h"
#include "rsnodeprocess.h"

#include <QTreeWidget>

namespace {

class RSNodesTest : public DMTest {
protected:
    void SetUp() override
    {
        DMTest::SetUp();
        Connect();
        Run(QStringLiteral("create database acc"));
        Run(QStringLiteral("Use acc"));
        Run(QStringLiteral("CREATE TABLE [dbo].[dptlist] ([fid] [int] NOT NULL CONSTRAINT [PK_dptlist] PRIMARY KEY CLUSTERED ,"
                           "[pfid] [int] NOT NULL ,[code] [varchar] (50) NOT NULL ,[tlevel] [int] NOT NULL ,"
                           "[bparent] [bit] NOT NULL ,[prtname] [nvarchar] (50) NOT NULL ,[prtcode] [nvarchar] (50) NULL ,"
                           "[remark] [nvarchar] (100) NULL ,[visibled] [bit] NULL DEFAULT (1) ,[expanded] [bit] NULL ,"
                           "[ischecked] [bit] NULL ) ON [PRIMARY]"));
        dbname = QStringLiteral("acc");
        tree = std::make_unique<TTreeView>();
        nodes = std::make_unique<TRSNodes>(tree.get(), QStringLiteral("dptlist"));
    }
    void TearDown() override
    {
        nodes.reset();
        tree.reset();
        DMTest::TearDown();
    }

    void Row(int fid, int pfid, const char* code, int level, bool parent, const char* name, bool visible = true,
             const char* prtcode = "")
    {
        Run(QStringLiteral("insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded) "
                           "values (%1,%2,'%3',%4,%5,'%6','%7','',%8,0)")
                .arg(fid).arg(pfid).arg(QString::fromLatin1(code)).arg(level).arg(parent ? 1 : 0)
                .arg(QString::fromUtf8(name), QString::fromUtf8(prtcode)).arg(visible ? 1 : 0));
    }

    // A tree whose keys pass 999: node 100 and node 1000 are siblings, so the code of 1000
    // begins with the code of 100.
    void Wide()
    {
        Row(1, 0, "000", 0, true, "全部");
        Row(2, 1, "000002", 1, true, "一队");
        Row(3, 2, "000002003", 2, false, "一班");
        Row(100, 1, "000100", 1, true, "百");
        Row(101, 100, "000100101", 2, false, "百一");
        Row(1000, 1, "0001000", 1, true, "千", false);
        Row(1001, 1000, "00010001001", 2, false, "千一");
    }

    QStringList Table() { return Rows(QStringLiteral("select fid, pfid, code, bparent, prtname from dptlist order by fid")); }
    QStringList Keys() { return Rows(QStringLiteral("select fid from dptlist order by fid")); }

    TTreeNode* NodeOf(int fid)
    {
        for (int i = 0; i < nodes->count(); ++i)
            if (nodes->item(i)->fid == fid)
                return nodes->item(i)->ftreenode;
        return nullptr;
    }

    Trsnode* NewNode(int fid, int pfid, const QString& code, int level, const QString& name)
    {
        auto* r = new Trsnode(QStringLiteral("dptlist"));
        r->fid = fid;
        r->Pfid = pfid;
        r->code = code;
        r->tlevel = level;
        r->prtname = name;
        r->visibled = true;
        return r;
    }

    std::unique_ptr<TTreeView> tree;
    std::unique_ptr<TRSNodes> nodes;
};

} // namespace

TEST_F(RSNodesTest, EmptyTableShowsNothing)
{
    EXPECT_EQ(nodes->showboot(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_FALSE(nodes->setselectnode(1));
    EXPECT_TRUE(nodes->saversnode());
}

TEST_F(RSNodesTest, LoadsLazilyAndWholeSubtrees)
{
    Wide();
    Row(5, 0, "005", 0, false, "第二个顶层");
    TTreeNode* root = nodes->showboot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree->Items()->Count(), 1);   // only the first top-level row
    EXPECT_EQ(root->Text(), QStringLiteral("全部"));
    EXPECT_EQ(root->ImageIndex(), 1);

    nodes->showrschild(root);
    EXPECT_EQ(root->Count(), 3);
    EXPECT_TRUE(TRSNodes::recordof(root)->bexpend);
    EXPECT_TRUE(Statements().last().contains(QStringLiteral("Pfid='1'")));
    const int loads = int(Statements().size());
    nodes->showrschild(root);                // loaded once
    EXPECT_EQ(Statements().size(), loads);
    TTreeNode* leaf = NodeOf(3);
    EXPECT_EQ(leaf, nullptr);
    nodes->showrschild(NodeOf(2));
    leaf = NodeOf(3);
    ASSERT_NE(leaf, nullptr);
    nodes->showrschild(leaf);                // no children: asked again next time
    EXPECT_FALSE(TRSNodes::recordof(leaf)->bexpend);
    EXPECT_EQ(leaf->ImageIndex(), 0);

    // Whole tree; with no selection the tree is reloaded from its root first.
    nodes->showrschildren(nullptr);
    EXPECT_EQ(tree->Items()->Count(), 7);
    EXPECT_EQ(nodes->count(), 7);
    EXPECT_TRUE(tree->Items()->GetFirstNode()->Expanded());

    // Visible rows only: node 1000 is hidden, so its child does not load either.
    nodes->showrschildrenvisibled(nullptr);
    EXPECT_EQ(tree->Items()->Count(), 5);
    EXPECT_EQ(NodeOf(1000), nullptr);

    // Selection by key and the selected images.
    nodes->showrschildren(nullptr);
    ASSERT_TRUE(nodes->setselectnode(1000));
    EXPECT_EQ(tree->Selected(), NodeOf(1000));
    EXPECT_FALSE(nodes->setselectnode(4711));
    struct Case { int fid; int selected; };
    for (const Case& c : {Case{2, 3}, Case{1000, 5}, Case{3, 2}}) {
        nodes->onTreeViewChange(tree.get(), NodeOf(c.fid));
        EXPECT_EQ(NodeOf(c.fid)->SelectedIndex(), c.selected) << c.fid;
    }
    Run(QStringLiteral("update dptlist set visibled=0 where fid=3"));
    nodes->showrschildren(nullptr);   // a node is selected: nothing is reloaded
    EXPECT_TRUE(TRSNodes::recordof(NodeOf(3))->visibled);
    nodes->showboot();
    nodes->showrschildren(nullptr);
    nodes->onTreeViewChange(tree.get(), NodeOf(3));
    EXPECT_EQ(NodeOf(3)->SelectedIndex(), 4);
}

TEST_F(RSNodesTest, DoubleClickLoadsTheSelectedNode)
{
    Wide();
    TTreeNode* root = nodes->showboot();
    nodes->onTreeViewDbClick(tree.get());    // nothing selected: nothing happens
    EXPECT_EQ(root->Count(), 0);
    tree->SetSelected(root);
    nodes->onTreeViewDbClickvisibled(tree.get());
    EXPECT_EQ(root->Count(), 2);
    EXPECT_TRUE(root->Expanded());
}

TEST_F(RSNodesTest, AddRenameDeleteSaveInOneTransaction)
{
    Wide();
    nodes->showrschildren(nullptr);
    sqls.clear();

    // Add under node 2 (which has children already), with a key past 999.
    TTreeNode* added = nodes->addrsnode(NodeOf(2), NewNode(1002, 2, QStringLiteral("0000021002"), 2, QStringLiteral("新班")));
    EXPECT_EQ(added->Parent(), NodeOf(2));
    EXPECT_EQ(added->ImageIndex(), 0);
    EXPECT_EQ(added->SelectedIndex(), 2);
    EXPECT_EQ(NodeOf(2)->ImageIndex(), 1);
    EXPECT_EQ(TRSNodes::recordof(NodeOf(2))->rnstate, rnchanged);
    // Rename node 3.
    Trsnode* three = TRSNodes::recordof(NodeOf(3));
    three->prtname = QStringLiteral("改名");
    three->prtcode = QStringLiteral("B1");
    three->rnstate = rnchanged;
    // Delete node 100: its subtree goes, its sibling 1000 (code "0001000") stays.
    nodes->deletersnode(NodeOf(100));
    EXPECT_EQ(NodeOf(101), nullptr);

    ASSERT_TRUE(nodes->saversnode());
    EXPECT_EQ(Table(), (QStringList{"1|0|000|True|全部", "2|1|000002|True|一队", "3|2|000002003|False|改名",
                                    "1000|1|0001000|True|千", "1001|1000|00010001001|False|千一",
                                    "1002|2|0000021002|False|新班"}));
    EXPECT_TRUE(Statements().contains(
        QStringLiteral("insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,"
                       "ischecked) values ('1002','2','0000021002','2',0,'新班','','',1,0,0)")));
    EXPECT_TRUE(Statements().contains(
        QStringLiteral("update dptlist set code='000002003',tlevel='2',bparent=0,prtname='改名',prtcode='B1',"
                       "remark='',visibled=1,expanded=0,ischecked=0 where fid='3'")));
    EXPECT_TRUE(Statements().contains(QStringLiteral("delete dptlist where fid in ('100','101')")));
    for (int i = 0; i < nodes->count(); ++i)
        EXPECT_EQ(nodes->item(i)->rnstate, rnsaved);
    EXPECT_FALSE(nodes->setselectnode(100));   // the deleted record is gone
    EXPECT_EQ(three->ftreenode->Text(), QStringLiteral("一班"));   // the text is the form's business
    EXPECT_TRUE(messages.isEmpty());

    // Nothing left to send.
    sqls.clear();
    ASSERT_TRUE(nodes->saversnode());
    EXPECT_TRUE(Statements().isEmpty());
}

TEST_F(RSNodesTest, FailingStatementRollsBackEverythingAndKeepsStates)
{
    Wide();
    nodes->showrschildren(nullptr);
    nodes->deletersnode(NodeOf(1000));
    // A duplicate key: the insert fails after the delete ran.
    nodes->addrsnode(NodeOf(2), NewNode(3, 2, QStringLiteral("000002003"), 2, QStringLiteral("重")));
    const QStringList before = Table();
    sqls.clear();
    EXPECT_FALSE(nodes->saversnode());
    EXPECT_EQ(Table(), before);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("数据数据出错：")));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("insert into  dptlist")));
    EXPECT_TRUE(Statements().contains(QStringLiteral("delete dptlist where fid in ('1000','1001')")));

    // Saving again re-sends the same statements; with the key mended it succeeds.
    for (int i = 0; i < nodes->count(); ++i)
        if (nodes->item(i)->rnstate == rnnew)
            nodes->item(i)->fid = 1003;
    EXPECT_TRUE(nodes->saversnode());
    EXPECT_EQ(Keys(), (QStringList{"1", "2", "3", "100", "101", "1003"}));
}

TEST_F(RSNodesTest, NodesNeverSavedSendNothing)
{
    Wide();
    nodes->showrschildren(nullptr);
    // A new node with a new child, both deleted before any save.
    TTreeNode* x = nodes->addrsnode(NodeOf(2), NewNode(2000, 2, QStringLiteral("0000022000"), 2, QStringLiteral("X")));
    nodes->addrsnode(x, NewNode(2001, 2000, QStringLiteral("00000220002001"), 3, QStringLiteral("Y")));
    const int records = nodes->count();
    nodes->deletersnode(x);
    EXPECT_EQ(nodes->count(), records - 2);
    sqls.clear();
    ASSERT_TRUE(nodes->saversnode());
    for (const QString& s : Statements()) {
        EXPECT_FALSE(s.startsWith(QStringLiteral("delete")) || s.startsWith(QStringLiteral("insert"))) << s.toStdString();
    }
    EXPECT_EQ(Keys(), (QStringList{"1", "2", "3", "100", "101", "1000", "1001"}));
}

TEST_F(RSNodesTest, DeletingANodeTakesItsLoadedSubtree)
{
    Wide();
    nodes->showrschildren(nullptr);
    // New and renamed records below a saved node that is then deleted: no orphans, no
    // updates of rows that are gone.
    nodes->addrsnode(NodeOf(101), NewNode(3000, 101, QStringLiteral("0001001013000"), 3, QStringLiteral("孙")));
    TRSNodes::recordof(NodeOf(101))->prtname = QStringLiteral("改");
    nodes->deletersnode(NodeOf(100));
    sqls.clear();
    ASSERT_TRUE(nodes->saversnode());
    EXPECT_EQ(Keys(), (QStringList{"1", "2", "3", "1000", "1001"}));
    QStringList writes;
    for (const QString& s : Statements())
        if (!s.startsWith(QStringLiteral("select")))
            writes << s;
    EXPECT_EQ(writes, QStringList{QStringLiteral("delete dptlist where fid in ('100','101')")});
}

TEST_F(RSNodesTest, DeletingTheOnlyChildMakesTheParentALeaf)
{
    Wide();
    nodes->showrschildren(nullptr);
    nodes->deletersnode(NodeOf(3));
    EXPECT_EQ(NodeOf(2)->ImageIndex(), 0);
    EXPECT_EQ(NodeOf(2)->SelectedIndex(), 2);
    ASSERT_TRUE(nodes->saversnode());
    EXPECT_EQ(Rows(QStringLiteral("select bparent from dptlist where fid=2")), QStringList{"False"});
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from dptlist where fid=3")), QStringList{"0"});
    // A deeper stored subtree goes even when it was never loaded.
    Row(4, 2, "000002004", 2, true, "新");
    Row(5, 4, "000002004005", 3, false, "更新");
    nodes->showboot();
    nodes->showrschild(NodeOf(1));
    nodes->deletersnode(NodeOf(2));
    ASSERT_TRUE(nodes->saversnode());
    EXPECT_EQ(Keys(), (QStringList{"1", "100", "101", "1000", "1001"}));
}

TEST_F(RSNodesTest, MovingALeafIsADeleteAndAnAddInOneSave)
{
    Wide();
    nodes->showrschildren(nullptr);
    // Leaf 3 leaves node 2 (which becomes a leaf) for node 1000, keeping its key.
    nodes->deletersnode(NodeOf(3));
    nodes->addrsnode(NodeOf(1000), NewNode(3, 1000, QStringLiteral("0001000003"), 2, QStringLiteral("一班")));
    sqls.clear();
    ASSERT_TRUE(nodes->saversnode());
    EXPECT_EQ(Table(), (QStringList{"1|0|000|True|全部", "2|1|000002|False|一队", "3|1000|0001000003|False|一班",
                                    "100|1|000100|True|百", "101|100|000100101|False|百一",
                                    "1000|1|0001000|True|千", "1001|1000|00010001001|False|千一"}));
    ASSERT_TRUE(nodes->setselectnode(3));
    EXPECT_EQ(tree->Selected()->Parent(), NodeOf(1000));
    // A later failure of the same save would have left the leaf where it was.
    nodes->deletersnode(NodeOf(3));
    nodes->addrsnode(NodeOf(2), NewNode(3, 2, QStringLiteral("000002003"), 2, QStringLiteral("一班")));
    nodes->addrsnode(NodeOf(2), NewNode(1, 2, QStringLiteral("000002001"), 2, QStringLiteral("重复")));
    EXPECT_FALSE(nodes->saversnode());
    EXPECT_EQ(Rows(QStringLiteral("select pfid from dptlist where fid=3")), QStringList{"1000"});
}
