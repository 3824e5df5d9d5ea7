// The lookup grid over the material list of an account set: the key value and
// the text it selects, the special row, the list keys, incremental search with
// its time window, the height in whole rows, and the drop-down data grid's
// close by mouse with and without an owner listening.
#include "dbgrid_input_fixture.h"
#include "grid/control/DBLookupGridGx.h"

using namespace gxinput;

class LookupGridTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        listSrc.SetDataSet(&cds);
        lookup = new TDBLookupGridGx(form.get());
        lookup->setGeometry(10, 10, 300, 150);
        lookup->SetListSource(&listSrc);
        lookup->SetKeyField(QStringLiteral("FID"));
        lookup->SetListField(QStringLiteral("mname;code"));
        lookup->show();
        QApplication::processEvents();
        TDBLookupGridGx::TickCount = [this] { return now; };
    }
    void TearDown() override
    {
        TDBLookupGridGx::TickCount = [] { return QDateTime::currentMSecsSinceEpoch(); };
        delete lookup;
        listSrc.SetDataSet(nullptr);
        GridTest::TearDown();
    }
    void Press(int key)
    {
        QTest::keyClick(lookup, Qt::Key(key));
        QApplication::processEvents();
    }
    void TypeAt(qint64 at, QChar c)
    {
        now = at;
        if (c == u'\b') {
            QTest::keyClick(lookup, Qt::Key_Backspace);
            return;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(lookup, &press);
    }
    int ListFid() { return cds.FieldByName(QStringLiteral("FID"))->AsInteger(); }
    QString Name(int fid) { return QString::fromUtf8(MaterialRows()[size_t(fid - 1)].name); }

    TDataSource listSrc;
    TDBLookupGridGx* lookup = nullptr;
    qint64 now = 100000;
};

TEST_F(LookupGridTest, KeyValueSelectsItsRecordAndText)
{
    ASSERT_TRUE(lookup->ListActive());
    EXPECT_EQ(lookup->Columns()->Count(), 2);
    struct Case {
        const char* name;
        Variant key;
        QString selected;
        int listFid;   // where the list stands
        bool keyRow;
    };
    const Case cases[] = {
        {"a key in the list", Variant(3), Name(3), 3, true},
        {"another key", Variant(12), Name(12), 12, true},
        {"a key the list lacks", Variant(99), QString(), 1, false},
        {"no key", Variant::Null(), QString(), 1, false},
    };
    for (const Case& c : cases) {
        lookup->SetKeyValue(c.key);
        EXPECT_EQ(lookup->SelectedItem(), c.selected) << c.name;
        EXPECT_EQ(ListFid(), c.listFid) << c.name;
        EXPECT_EQ(lookup->KeyRowVisible(), c.keyRow) << c.name;
    }
}

TEST_F(LookupGridTest, SpecialRowStandsForNullAndForKeysNotInTheList)
{
    TSpecRowGx* spec = lookup->SpecRow();
    spec->SetCellsText(QStringLiteral("（无）;-"));
    spec->SetVisible(true);
    EXPECT_TRUE(lookup->FilterRowUnderTitle());
    lookup->SetKeyValue(Variant(2));
    EXPECT_FALSE(spec->Selected());
    lookup->SetKeyValue(Variant::Null());
    EXPECT_TRUE(spec->Selected());
    EXPECT_EQ(lookup->SelectedItem(), QStringLiteral("（无）"));
    // A key the list lacks: the special row (by default), or nothing without ShowIfNotInKeyList.
    lookup->SetKeyValue(Variant(99));
    EXPECT_TRUE(spec->Selected());
    EXPECT_EQ(lookup->SelectedItem(), QStringLiteral("（无）"));
    spec->SetShowIfNotInKeyList(false);
    lookup->SetKeyValue(Variant(98));
    EXPECT_FALSE(spec->Selected());
    EXPECT_EQ(lookup->SelectedItem(), QString());
    // A click on the special row chooses its value.
    lookup->SetKeyValue(Variant(5));
    const TRect specCell = lookup->CellRect(lookup->IndicatorOffset(), 0);
    QTest::mouseClick(lookup, Qt::LeftButton, Qt::NoModifier, QPoint(specCell.Left + 5, specCell.Top + 3));
    QApplication::processEvents();
    EXPECT_TRUE(spec->Selected());
    EXPECT_TRUE(lookup->KeyValue().IsNull());
}

TEST_F(LookupGridTest, ListKeysMoveTheKeyAndReachTheSpecialRow)
{
    lookup->SpecRow()->SetCellsText(QStringLiteral("（无）"));
    lookup->SpecRow()->SetVisible(true);
    lookup->SetKeyValue(Variant(2));
    struct Step {
        int key;
        int fid;   // 0: the special row
    };
    const Step steps[] = {{Qt::Key_Up, 1},   {Qt::Key_Up, 0},   {Qt::Key_Up, 0},     {Qt::Key_Down, 1},
                          {Qt::Key_Down, 2}, {Qt::Key_End, 12}, {Qt::Key_Down, 12},  {Qt::Key_Home, 1},
                          {Qt::Key_PageDown, 1 + lookup->RowCount()}};
    for (const Step& s : steps) {
        Press(s.key);
        if (s.fid == 0) {
            EXPECT_TRUE(lookup->SpecRow()->Selected()) << s.key;
            EXPECT_TRUE(lookup->KeyValue().IsNull()) << s.key;
        } else {
            EXPECT_FALSE(lookup->SpecRow()->Selected()) << s.key;
            EXPECT_EQ(lookup->KeyValue().ToInt(), s.fid) << s.key;
            EXPECT_EQ(lookup->SelectedItem(), Name(s.fid)) << s.key;
        }
    }
    // A read-only grid leaves the key alone.
    lookup->SetReadOnly(true);
    Press(Qt::Key_Up);
    EXPECT_EQ(lookup->KeyValue().ToInt(), 1 + lookup->RowCount());
}

TEST_F(LookupGridTest, IncrementalSearchRestartsAfterItsTimeWindow)
{
    lookup->SetListField(QStringLiteral("mname"));
    lookup->SetKeyValue(Variant(1));
    struct Step {
        qint64 at;
        QChar c;
        const char* search;
        int fid;
    };
    const Step steps[] = {
        {1000, u's', "s", 4},     // "steel plate", the first name with s
        {2500, u't', "st", 4},    // within 2 s: "st"
        {3000, u'e', "ste", 4},
        {3500, u'x', "ste", 4},   // "stex" matches nothing: the text stays
        {4000, u'e', "stee", 4},  // tried against the old text
        {6500, u'c', "c", 6},     // more than 2 s later: a new search, "Cement block"
        {7000, u'\b', "", 6},     // Backspace clears it
    };
    for (const Step& s : steps) {
        TypeAt(s.at, s.c);
        EXPECT_EQ(lookup->SearchText(), QString::fromLatin1(s.search)) << s.at;
        EXPECT_EQ(lookup->KeyValue().ToInt(), s.fid) << s.at;
    }
}

TEST_F(LookupGridTest, HeightKeepsWholeRowsWithinLimits)
{
    const int rowHeight = lookup->GetLookupRowHeight();
    ASSERT_GT(rowHeight, 0);
    struct Case {
        int asked;
        int rows;
    };
    for (const Case& c : {Case{0, 1}, Case{5, 5}, Case{100, 100}, Case{500, 100}}) {
        lookup->SetRowCount(c.asked);
        EXPECT_EQ(lookup->RowCount(), c.rows) << c.asked;
        EXPECT_EQ(lookup->height(), c.rows * lookup->StdDefaultRowHeight() + lookup->GetBorderSize()) << c.asked;
    }
    // Bounds that fit seven and a half rows are cut to seven.
    lookup->SetBounds(10, 10, 300, lookup->GetBorderSize() + rowHeight * 15 / 2);
    EXPECT_EQ(lookup->RowCount(), 7);
    EXPECT_EQ(lookup->height(), lookup->GetBorderSize() + 7 * rowHeight);
    // Titles and the special row add their rows.
    lookup->SetShowTitles(true);
    lookup->SpecRow()->SetVisible(true);
    lookup->SetRowCount(4);
    EXPECT_EQ(lookup->height(), lookup->TitleRowHeight() + 4 * rowHeight + lookup->GetSpecRowHeight() +
                                    lookup->GetBorderSize());
}

TEST_F(LookupGridTest, DropDownGridClosesByMouseOnlyThroughABoundHandler)
{
    TPopupDataGridGx popup;
    popup.SetListSource(&listSrc);
    popup.SetKeyField(QStringLiteral("FID"));
    popup.SetListField(QStringLiteral("mname"));
    popup.SetRowCount(5);
    popup.resize(200, popup.height());
    popup.show();
    QApplication::processEvents();
    EXPECT_FALSE(popup.hasFocus());
    const TRect third = popup.CellRect(popup.IndicatorOffset(), popup.TopDataOffset() + 2);
    const QPoint onThird((third.Left + third.Right) / 2, (third.Top + third.Bottom) / 2);
    // No owner bound the close event: a click chooses and nothing breaks.
    QTest::mouseClick(&popup, Qt::LeftButton, Qt::NoModifier, onThird);
    QApplication::processEvents();
    EXPECT_EQ(popup.KeyValue().ToInt(), 3);
    QList<bool> closes;
    popup.OnMouseCloseUp = [&](QObject*, bool accept) { closes << accept; };
    int userChanges = 0;
    popup.OnUserKeyValueChange = [&](QObject*) { ++userChanges; };
    const TRect first = popup.CellRect(popup.IndicatorOffset(), popup.TopDataOffset());
    QTest::mouseClick(&popup, Qt::LeftButton, Qt::NoModifier, QPoint(first.Left + 5, first.Top + 3));
    QApplication::processEvents();
    EXPECT_EQ(popup.KeyValue().ToInt(), 1);
    EXPECT_EQ(closes, QList<bool>{true});
    EXPECT_GE(userChanges, 1);
    // A press inside released outside the window closes without accepting.
    QTest::mousePress(&popup, Qt::LeftButton, Qt::NoModifier, onThird);
    QTest::mouseRelease(&popup, Qt::LeftButton, Qt::NoModifier, QPoint(popup.width() + 20, onThird.y()));
    QApplication::processEvents();
    EXPECT_EQ(closes, (QList<bool>{true, false}));
}

TEST_F(LookupGridTest, BoundToADataFieldItFollowsTheRecordAndWritesTheChoice)
{
    TClientDataSet lines;
    lines.FieldDefs().Add(QStringLiteral("mid"), ftInteger);
    auto* material = lines.AddField<TStringField>(QStringLiteral("material"), fkLookup, 40);
    material->KeyFields = QStringLiteral("mid");
    material->LookupKeyFields = QStringLiteral("FID");
    material->LookupResultField = QStringLiteral("mname");
    material->LookupDataSet = &cds;
    lines.CreateDataSet();
    lines.AppendRecord({Variant(7)});
    lines.AppendRecord({Variant(9)});
    lines.First();
    TDataSource linesSrc;
    linesSrc.SetDataSet(&lines);
    struct Case {
        const char* name;
        const char* field;
        bool lookupMode;
    };
    for (const Case& c : {Case{"the key field", "mid", false}, Case{"the lookup field", "material", true}}) {
        auto* bound = new TDBLookupGridGx(form.get());
        bound->setGeometry(10, 10, 300, 150);
        if (!c.lookupMode) {
            bound->SetListSource(&listSrc);
            bound->SetKeyField(QStringLiteral("FID"));
            bound->SetListField(QStringLiteral("mname"));
        }
        bound->SetDataSource(&linesSrc);
        bound->SetDataField(QString::fromLatin1(c.field));
        bound->show();
        QApplication::processEvents();
        EXPECT_EQ(bound->LookupMode(), c.lookupMode) << c.name;
        EXPECT_EQ(bound->MasterFieldNames(), QStringLiteral("mid")) << c.name;
        lines.First();
        EXPECT_EQ(bound->KeyValue().ToInt(), 7) << c.name;
        EXPECT_EQ(bound->SelectedItem(), Name(7)) << c.name;
        lines.Next();
        EXPECT_EQ(bound->KeyValue().ToInt(), 9) << c.name;
        // A key from the list goes into the record.
        QTest::keyClick(bound, Qt::Key_Down);
        EXPECT_EQ(lines.FieldByName(QStringLiteral("mid"))->AsInteger(), 10) << c.name;
        EXPECT_EQ(bound->SelectedItem(), Name(10)) << c.name;
        lines.Cancel();
        // A read-only link chooses nothing.
        bound->SetReadOnly(true);
        QTest::keyClick(bound, Qt::Key_Down);
        EXPECT_EQ(lines.State(), dsBrowse) << c.name;
        delete bound;
    }
    // A list over the data field's own dataset is refused.
    auto* circular = new TDBLookupGridGx(form.get());
    circular->SetListSource(&linesSrc);
    circular->SetKeyField(QStringLiteral("mid"));
    circular->SetDataField(QStringLiteral("mid"));
    EXPECT_THROW(circular->SetDataSource(&linesSrc), EDatabaseError);
    delete circular;
    linesSrc.SetDataSet(nullptr);
}
