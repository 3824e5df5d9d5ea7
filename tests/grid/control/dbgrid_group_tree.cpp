// The group tree over a memory table: groups in key order, record nodes renumbered
// on insert and delete, a record moving when its key changes, and a level re-sorted.
#include "memtable_fixture.h"
#include "grid/control/DBGridGxColumns.h"
#include "grid/control/DBGridGxGrouping.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// A level keyed by a field of the table (the columns here belong to no grid).
class FieldLevel : public TGridDataGroupLevelGx {
public:
    explicit FieldLevel(TGridDataGroupLevelsGx* c) : TGridDataGroupLevelGx(c) {}
    void GetKeyValue(Variant& KeyValue) override { KeyValue = Table->FieldByName(FieldName)->Value(); }
    TDataSet* Table = nullptr;
    QString FieldName;
};

class Groups : public TGridDataGroupsGx {
public:
    explicit Groups(TMemTableTestDataSet* t) : TGridDataGroupsGx(nullptr), Table(t) { Init(); }
    std::unique_ptr<TGridDataGroupLevelsGx> CreateGroupLevels() override
    {
        return std::make_unique<TGridDataGroupLevelsGx>(this,
                                                        [](TGridDataGroupLevelsGx* c) { return new FieldLevel(c); });
    }
    IMemTableGx* MemTable() const override { return Table; }
    void TreeChanged() override { ++TreeChanges; }
    void ActiveGroupingStructChanged() override { GroupDataTree()->RebuildDataTreeEx(Table); }
    FieldLevel* AddLevel(const char* field, TColumnGx* column)
    {
        auto* level = static_cast<FieldLevel*>(GroupLevels()->Add());
        level->Table = Table;
        level->FieldName = QString::fromLatin1(field);
        level->SetColumn(column);
        return level;
    }
    TMemTableTestDataSet* Table;
    int TreeChanges = 0;
};

// The flat visible list as text: groups as "[key]", records as their view number.
QString Flat(TGridGroupDataTreeGx* tree)
{
    QStringList parts;
    for (int i = 0; i < tree->FlatVisibleCount(); ++i) {
        TGroupDataTreeNodeGx* n = tree->FlatVisibleNode(i);
        parts << (n->NodeType() == dntDataGroupGx ? QStringLiteral("[%1]").arg(n->KeyValue().ToString())
                                                   : QString::number(n->DataSetRecordViewNo()));
    }
    return parts.join(QLatin1Char(' '));
}

class GroupTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.FieldDefs().Add(QStringLiteral("unit"), ftString, 10);
        table.FieldDefs().Add(QStringLiteral("kind"), ftString, 10);
        table.CreateDataSet();
        for (const auto& [unit, kind] : std::vector<std::pair<const char*, const char*>>{
                 {"A", "x"}, {"B", "y"}, {"A", "y"}})
            table.AppendRecord({Variant(QString::fromUtf8(unit)), Variant(QString::fromUtf8(kind))});
        groups = std::make_unique<Groups>(&table);
        groups->SetDefaultStateExpanded(true);
        groups->SetActive(true);
        table.RegisterEventReceiver(&receiver);
    }
    // The table's notices reach the tree the way they reach a grid.
    class Receiver : public QObject {
    public:
        explicit Receiver(GroupTree* t) : test(t) {}
        bool event(QEvent* e) override
        {
            if (e->type() != TMemTableDataEventGx::EventType())
                return QObject::event(e);
            auto* m = static_cast<TMemTableDataEventGx*>(e);
            TGridGroupDataTreeGx* tree = test->groups->GroupDataTree();
            switch (m->Kind) {
            case mtdeRecordInsertedGx: tree->RecordInserted(m->RecNum); break;
            case mtdeRecordChangedGx: tree->RecordChanged(m->RecNum); break;
            case mtdeRecordDeletedGx: tree->RecordDeleted(m->RecNum); break;
            default: tree->RebuildDataTreeEx(&test->table); break;
            }
            return true;
        }
        GroupTree* test;
    };

    TMemTableTestDataSet table;
    std::unique_ptr<Groups> groups;
    Receiver receiver{this};
    TColumnGx unitColumn{nullptr};
    TColumnGx kindColumn{nullptr};
};

} // namespace

TEST_F(GroupTree, KeysGroupInOrderAndRecordsRenumber)
{
    groups->AddLevel("unit", &unitColumn);
    TGridGroupDataTreeGx* tree = groups->GroupDataTree();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] 0 2 [B] 1"));
    // Record 0 of the view is the row below its group, not the group row.
    EXPECT_EQ(tree->IndexOfVisibleRecordViewNo(0), 1);
    EXPECT_EQ(tree->IndexOfVisibleRecordViewNo(7), -1);
    const Variant key = tree->GetNodeByRecordViewNo(2)->FullKey();
    EXPECT_EQ(key.ArrayCount(), 2);
    EXPECT_EQ(key.ArrayItem(0).ToString(), QStringLiteral("A"));
    EXPECT_EQ(key.ArrayItem(1).ToInt(), 2);

    // Deleting record 1 empties group B; old record 2 becomes 1.
    table.SetRecNo(2);
    table.Delete();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] 0 1"));
    EXPECT_EQ(tree->GetNodeByRecordViewNo(1)->FullKey().ArrayItem(1).ToInt(), 1);

    // A new record at the end makes its group.
    table.AppendRecord({Variant(QStringLiteral("C")), Variant(QStringLiteral("z"))});
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] 0 1 [C] 2"));
}

TEST_F(GroupTree, ChangedKeyMovesTheRecord)
{
    groups->AddLevel("unit", &unitColumn);
    TGridGroupDataTreeGx* tree = groups->GroupDataTree();
    table.SetRecNo(1);
    table.Edit();
    table.FieldByName(QStringLiteral("unit"))->SetAsString(QStringLiteral("B"));
    table.Post();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] 2 [B] 0 1"));
    // To a group that does not exist yet, emptying the old one.
    table.SetRecNo(3);
    table.Edit();
    table.FieldByName(QStringLiteral("unit"))->SetAsString(QStringLiteral("0"));
    table.Post();
    EXPECT_EQ(Flat(tree), QStringLiteral("[0] 2 [B] 0 1"));
    // An unchanged key keeps the record in place.
    const int changes = groups->TreeChanges;
    table.Edit();
    table.FieldByName(QStringLiteral("kind"))->SetAsString(QStringLiteral("q"));
    table.Post();
    EXPECT_EQ(Flat(tree), QStringLiteral("[0] 2 [B] 0 1"));
    EXPECT_EQ(groups->TreeChanges, changes);
}

TEST_F(GroupTree, ResortReversesOneLevelOnly)
{
    groups->AddLevel("unit", &unitColumn);
    FieldLevel* kind = groups->AddLevel("kind", &kindColumn);
    TGridGroupDataTreeGx* tree = groups->GroupDataTree();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] [x] 0 [y] 2 [B] [y] 1"));
    groups->GroupLevels()->Items(0)->SetSortOrder(soDescGx);
    EXPECT_EQ(Flat(tree), QStringLiteral("[B] [y] 1 [A] [x] 0 [y] 2"));
    kind->SetSortOrder(soDescGx);
    EXPECT_EQ(Flat(tree), QStringLiteral("[B] [y] 1 [A] [y] 2 [x] 0"));
    // New records find their place in the descending order.
    table.AppendRecord({Variant(QStringLiteral("AA")), Variant(QStringLiteral("x"))});
    EXPECT_EQ(Flat(tree), QStringLiteral("[B] [y] 1 [AA] [x] 3 [A] [y] 2 [x] 0"));
}

TEST_F(GroupTree, CollapsedLevelsAndRemovedLevels)
{
    groups->AddLevel("unit", &unitColumn);
    FieldLevel* kind = groups->AddLevel("kind", &kindColumn);
    TGridGroupDataTreeGx* tree = groups->GroupDataTree();
    groups->GroupLevels()->Items(0)->CollapseNodes();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] [B]"));
    tree->FlatVisibleNode(0)->SetExpanded(true);
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] [x] 0 [y] 2 [B]"));
    kind->CollapseNodes();
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] [x] [y] [B]"));
    // Dropping the inner level keeps the outer groups and their state.
    groups->GroupLevels()->Delete(1);
    EXPECT_EQ(groups->ActiveGroupLevelsCount(), 1);
    EXPECT_EQ(Flat(tree), QStringLiteral("[A] 0 2 [B]"));
    // No level: the records hang under the root.
    groups->GroupLevels()->Clear();
    EXPECT_EQ(Flat(tree), QStringLiteral("0 1 2"));
}
