// The grid's edit actions and its permission to change data on an account set's
// material list: which actions the grid answers, when each is enabled, and what
// DataCanBeModified says for the allowed operations.
#include "dbgrid_input_fixture.h"
#include "platform/gui/Clipboard.h"

using namespace gxinput;

using GridInputActions = GridTest;

TEST_F(GridInputActions, ActionsAreAnsweredOnlyWhenListedAndFocused)
{
    bool enabled = true;
    // No edit actions listed (as on every form): nothing is answered.
    EXPECT_FALSE(grid->UpdateAction(geaCopyGx, enabled));
    EXPECT_FALSE(grid->ExecuteAction(geaSelectAllGx));
    grid->SetEditActions(TDBGridGxEditActions{geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx});
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    EXPECT_TRUE(grid->UpdateAction(geaCopyGx, enabled));
    EXPECT_TRUE(enabled);
    // Delete without a selection is disabled, though a record is current.
    EXPECT_TRUE(grid->UpdateAction(geaDeleteGx, enabled));
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(grid->ExecuteAction(geaSelectAllGx));
    EXPECT_EQ(grid->Selection()->SelectionType(), gstAll);
    EXPECT_TRUE(grid->UpdateAction(geaDeleteGx, enabled));
    EXPECT_TRUE(enabled);
    // Without the focus the grid answers none of them.
    cancel->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(grid->UpdateAction(geaCopyGx, enabled));
    EXPECT_FALSE(grid->ExecuteAction(geaSelectAllGx));
}

TEST_F(GridInputActions, PasteNeedsUpdatesUnlessInserting)
{
    grid->SetEditActions(TDBGridGxEditActions{geaPasteGx});
    grid->SetAllowedOperations(TDBGridGxAllowedOperations{alopInsertGx, alopAppendGx, alopDeleteGx});
    Clipboard()->SetAsText(QStringLiteral("A09\t新材料"));
    bool enabled = true;
    EXPECT_TRUE(grid->UpdateAction(geaPasteGx, enabled));
    EXPECT_FALSE(enabled);
    cds.Insert();
    EXPECT_TRUE(grid->UpdateAction(geaPasteGx, enabled));
    EXPECT_TRUE(enabled);
    cds.Cancel();
}

TEST_F(GridInputActions, DataCanBeModifiedTable)
{
    struct Case {
        const char* name;
        bool empty;
        TDBGridGxAllowedOperations allowed;
        bool result;
    };
    const std::vector<Case> cases = {
        {"records, updates allowed", false, {alopUpdateGx}, true},
        {"records, no updates", false, {alopInsertGx, alopAppendGx}, false},
        {"empty, updates only", true, {alopUpdateGx}, false},
        {"empty, updates and append", true, {alopUpdateGx, alopAppendGx}, true},
        {"empty, updates and insert", true, {alopUpdateGx, alopInsertGx}, true},
    };
    for (const Case& c : cases) {
        if (c.empty)
            cds.EmptyDataSet();
        grid->SetAllowedOperations(c.allowed);
        EXPECT_EQ(grid->DataCanBeModified(), c.result) << c.name;
    }
}
