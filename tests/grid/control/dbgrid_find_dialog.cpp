// Ctrl+F on the data grid opens the find dialog; a table of searches on an
// account set's material list (direction, matching, case, all columns, start)
// with the record and column each lands on; a search without a match leaves the
// grid where it was.
#include "dbgrid_input_fixture.h"
#include "grid/control/DBGridGxFind.h"
#include "grid/control/DBGridGxFindDlg.h"
#include "testmain/testsupport.h"

using namespace gxinput;

using GridFindDialog = GridTest;

namespace {

// What the user sets in the dialog before pressing the find button.
struct Search {
    QString text;
    int findIn = -2;       // -2: as the dialog preselects it
    int direction = -1;    // 0 up, 1 down, 2 all, -1 no choice
    int matching = -1;     // 0 any part, 1 whole, 2 from the beginning, -1 no choice
    bool ignoreCase = false;
};

void Fill(TDBGridGxFindDlg& dlg, const Search& s)
{
    // The user lets go of Ctrl+F before working in the dialog.
    QTest::keyRelease(&dlg, Qt::Key_Control);
    dlg.SetText(s.text);
    if (s.findIn != -2)
        dlg.SetFindIn(s.findIn < 0 ? int(dlg.FindInItems().size()) - 1 : s.findIn);
    dlg.SetDirection(s.direction);
    dlg.SetMatching(s.matching);
    dlg.SetIgnoreCase(s.ignoreCase);
    dlg.SetIgnoreFormat(true);
}

} // namespace

TEST_F(GridFindDialog, CtrlFOpensTheDialogOnTheGrid)
{
    GoTo(2, "mname");
    QStringList items;
    int preselected = -1;
    bool treeRange = true;
    DialogScript::AnswerForm([&](TForm& f) {
        auto& dlg = static_cast<TDBGridGxFindDlg&>(f);
        items = dlg.FindInItems();
        preselected = dlg.FindIn();
        treeRange = dlg.TreeRangeShown();
        QApplication::processEvents();
        EXPECT_TRUE(dlg.grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_find_dialog.png")));
        return mrCancel;
    });
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log().last().Kind, QStringLiteral("ShowModal"));
    EXPECT_EQ(DialogScript::Log().last().Caption, QStringLiteral("查找字符"));
    EXPECT_EQ(items, (QStringList{QStringLiteral("FID"), QStringLiteral("code"), QStringLiteral("mname"),
                                  QStringLiteral("munit"), QStringLiteral("mtype"), QStringLiteral("<All>")}));
    EXPECT_EQ(preselected, 2);
    EXPECT_FALSE(treeRange);
    EXPECT_EQ(Rec(), 2);
}

TEST_F(GridFindDialog, SearchTable)
{
    struct Case {
        const char* name;
        int startRec;
        const char* startField;
        Search search;
        int rec;              // where the grid ends
        const char* field;    // and its column
    };
    const int all = -1;
    const std::vector<Case> cases = {
        {"initial settings: from the first record, any part, case-sensitive", 7, "mname",
         {QStringLiteral("steel")}, 4, "mname"},
        {"ignoring case", 7, "mname", {QStringLiteral("steel"), -2, -1, -1, true}, 1, "mname"},
        {"down from the current record", 4, "mname", {QStringLiteral("steel"), -2, 1, 0}, 10, "mname"},
        {"up from the current record", 10, "mname", {QStringLiteral("steel"), -2, 0, 0}, 4, "mname"},
        {"up without a match stays", 4, "mname", {QStringLiteral("steel"), -2, 0, 0}, 4, "mname"},
        {"whole field", 2, "mname", {QStringLiteral("steel pipe"), -2, 2, 1}, 10, "mname"},
        {"whole field without a match stays", 6, "mname", {QStringLiteral("steel"), -2, 2, 1}, 6, "mname"},
        {"from the beginning, case-sensitive", 1, "mname", {QStringLiteral("Ce"), -2, 2, 2}, 6, "mname"},
        {"any part, case-sensitive", 1, "mname", {QStringLiteral("ce"), -2, 2, 0}, 2, "mname"},
        {"one column chosen in the list", 9, "mname", {QStringLiteral("D0"), 1, 2, 0}, 7, "code"},
        {"all columns: the matching cell's column", 7, "mname", {QStringLiteral("B02"), all, 2, 0}, 4, "code"},
        {"all columns: a unit", 9, "code", {QStringLiteral("张"), all, 2, 0}, 4, "munit"},
        {"all columns down: the next cell to the right", 3, "code", {QStringLiteral("中砂"), all, 1, 0}, 3, "mtype"},
        {"no match anywhere stays", 5, "code", {QStringLiteral("不存在"), all, 2, 0}, 5, "code"},
    };
    for (const Case& c : cases) {
        GoTo(c.startRec, c.startField);
        grid->setFocus();
        DialogScript::AnswerForm([&](TForm& f) {
            auto& dlg = static_cast<TDBGridGxFindDlg&>(f);
            Fill(dlg, c.search);
            dlg.bFind->Click();
            return mrCancel;
        });
        Key(Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(Rec(), c.rec) << c.name;
        EXPECT_EQ(grid->SelectedIndex(), ColumnOf(c.field)) << c.name;
    }
}

TEST_F(GridFindDialog, FindNextContinuesDownwardAndCtrlEnterReverses)
{
    GoTo(12, "mname");
    std::vector<int> found;
    DialogScript::AnswerForm([&](TForm& f) {
        auto& dlg = static_cast<TDBGridGxFindDlg&>(f);
        Fill(dlg, {QStringLiteral("steel"), -2, 2, 0, true});
        for (int i = 0; i < 4; ++i) {
            dlg.bFind->Click();
            found.push_back(Rec());
        }
        // Enter searches too; Ctrl+Enter with "向下" goes up.
        dlg.SetDirection(1);
        QApplication::setActiveWindow(&dlg);
        dlg.bFind->setFocus();
        QTest::keyClick(dlg.bFind, Qt::Key_Return, Qt::ControlModifier);
        found.push_back(Rec());
        return mrCancel;
    });
    Key(Qt::Key_F, Qt::ControlModifier);
    // "全部" starts at the first record, then continues down; at the end the
    // grid stays on the last match.
    EXPECT_EQ(found, (std::vector<int>{1, 4, 10, 10, 4}));
}

TEST(GridFindMatching, MatchTable)
{
    struct Case {
        const char* cell;
        const char* text;
        bool ignoreCase;
        TLocateTextMatchingGx matching;
        bool match;
    };
    const std::vector<Case> cases = {
        {"Steel plate", "steel", false, ltmAnyPartGx, false}, {"Steel plate", "steel", true, ltmAnyPartGx, true},
        {"Steel plate", "plate", false, ltmAnyPartGx, true},  {"Steel plate", "", false, ltmAnyPartGx, false},
        {"Steel plate", "Steel", false, ltmWholeGx, false},   {"", "", false, ltmWholeGx, true},
        {"Steel plate", "Ste", false, ltmFromBegingGx, true}, {"Steel plate", "", false, ltmFromBegingGx, true},
        {"St", "Steel", false, ltmFromBegingGx, false},       {"钢筋", "钢", false, ltmFromBegingGx, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocateTextMatches(QString::fromUtf8(c.cell), QString::fromUtf8(c.text), c.ignoreCase, c.matching),
                  c.match)
            << c.cell << " / " << c.text;
}
