// The drop-down list box: incremental search, whole rows, hot tracking, virtual
// items, item objects, the image column and the wheel.
#include "PopupListboxGx.h"
#include "platform/gui/ImageList.h"
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A clock the search's time window is read from.
struct FakeClock {
    qint64 now = 100000;
    std::function<qint64()> saved = TPopupListboxGx::TickCount;
    FakeClock() { TPopupListboxGx::TickCount = [this] { return now; }; }
    ~FakeClock() { TPopupListboxGx::TickCount = saved; }
};

struct ListFixture : ::testing::Test {
    QWidget owner;
    TPopupListboxGx* list = new TPopupListboxGx(&owner);
    void Fill(const QStringList& texts)
    {
        list->Items()->SetTexts(texts);
        list->SetItemHeight(list->GetTextHeight());
        list->SetRowCount(5);
        list->resize(200, list->height());
        list->show();
    }
    void PaintNow()
    {
        list->Invalidate();
        (void)list->grab();
    }
    QColor PixelAt(int x, int y) { return list->grab().toImage().pixelColor(x, y); }
};

} // namespace

TEST_F(ListFixture, IsATopLevelWindowThatNeverTakesTheFocus)
{
    Fill({"a", "b"});
    EXPECT_TRUE(list->isWindow());
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(list->TabStop());
    EXPECT_FALSE(list->hasFocus());
    EXPECT_EQ(list->BorderWidth(), 2);
    list->SetCtl3D(false);
    EXPECT_EQ(list->BorderWidth(), 0);
    EXPECT_EQ(list->FrameWidth(), 1);   // the plain border
    EXPECT_EQ(list->SizeGrip()->parentWidget(), list);
    EXPECT_TRUE(list->SizeGrip()->TriangleWindow());
}

TEST_F(ListFixture, IncrementalSearchKeepsItsTimeWindowAndLengthCap)
{
    FakeClock clock;
    const QString longItem = QString(40, QLatin1Char('a'));
    Fill({"Beijing", "Baoding", "Shanghai", "Shenzhen", longItem, "北京", "北海"});

    struct Step {
        QChar key;
        int afterMs;
        int item;           // selected item afterwards
        QString search;     // typed prefix afterwards
    };
    const Step steps[] = {
        {u'b', 0, 0, "b"},             // first item that starts with b, case ignored
        {u'A', 100, 1, "bA"},          // both letters typed quickly: Baoding
        {u's', 2000, 1, "bAs"},        // exactly two seconds later still adds; no item matches
        {u's', 2001, 2, "s"},          // later than two seconds: a new search with s alone
        {u'h', 10, 2, "sh"},
        {u'e', 10, 3, "she"},
        {QChar(8), 10, 3, ""},         // Backspace empties the prefix, the selection stays
        {u'北', 10, 5, "北"},
        {u'海', 10, 6, "北海"},
        {QChar(27), 10, 6, ""},        // so does Escape
        {u'x', 10, 6, "x"},            // a letter that matches nothing changes nothing
    };
    for (const Step& s : steps) {
        clock.now += s.afterMs;
        QChar key = s.key;
        list->KeyPress(key);
        EXPECT_EQ(list->ItemIndex(), s.item) << "after " << QString(s.key).toStdString();
        EXPECT_EQ(list->SearchText(), s.search) << "after " << QString(s.key).toStdString();
        if (s.key.unicode() > 31)
            EXPECT_EQ(key, QChar(0));   // a printable key is consumed
    }

    // Typed through the window: 32 characters at most are kept, and the search still runs.
    clock.now += 5000;
    for (int i = 0; i < 32; ++i)
        QTest::keyClick(list, Qt::Key_A);
    EXPECT_EQ(list->SearchText(), QString(32, QLatin1Char('a')));
    EXPECT_EQ(list->ItemIndex(), 4);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->ItemIndex(), 0);
    QTest::keyClick(list, Qt::Key_B);   // the 33rd character is not added ...
    EXPECT_EQ(list->SearchText(), QString(32, QLatin1Char('a')));
    EXPECT_EQ(list->ItemIndex(), 4);    // ... but the search ran again

    // Keys the owner passes on as messages.
    clock.now += 5000;
    EXPECT_EQ(list->Perform(WM_CHAR, u's'), 0);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListFixture, KeysMoveTheSelectionAndOwnerEventsSeeThem)
{
    Fill({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    QList<int> pressed;
    list->OnKeyPress = [&](QObject*, QChar& key) { pressed << key.unicode(); };
    struct Case {
        Qt::Key key;
        int from, to;
    };
    const Case cases[] = {
        {Qt::Key_Down, -1, 0}, {Qt::Key_Up, -1, 0},  {Qt::Key_Up, 0, 0},    {Qt::Key_Down, 8, 9},
        {Qt::Key_Down, 9, 9},  {Qt::Key_PageDown, 0, 4}, {Qt::Key_PageUp, 6, 2}, {Qt::Key_End, 2, 9},
        {Qt::Key_Home, 9, 0},
    };
    for (const Case& c : cases) {
        list->SetItemIndex(c.from);
        QTest::keyClick(list, c.key);
        EXPECT_EQ(list->ItemIndex(), c.to) << c.key << " from " << c.from;
    }
    EXPECT_EQ(list->TopIndex(), 0);
    list->SetItemIndex(9);
    EXPECT_EQ(list->TopIndex(), 5);   // the selection is scrolled into view
    QTest::keyClick(list, Qt::Key_3);
    EXPECT_EQ(pressed, QList<int>{'3'});
}

TEST_F(ListFixture, HeightKeepsWholeRows)
{
    Fill({"a", "b", "c", "d", "e", "f", "g", "h"});
    const int ih = list->ItemHeight();
    const int frame = 2 * list->FrameWidth();
    struct Case {
        int height, rows;
    };
    const Case cases[] = {{frame + 3 * ih, 3}, {frame + 3 * ih + ih - 1, 3}, {frame + 2, 1}, {frame + 7 * ih + 1, 7}};
    for (const Case& c : cases) {
        list->SetBounds(10, 20, 150, c.height);
        EXPECT_EQ(list->RowCount(), c.rows) << c.height;
        EXPECT_EQ(list->height(), frame + c.rows * ih) << c.height;
        EXPECT_EQ(list->width(), 150);
    }
    list->SetRowCount(0);
    EXPECT_EQ(list->RowCount(), 1);
    EXPECT_EQ(list->height(), frame + ih);

    // A resize by the grip (or by placement) snaps as well and is remembered.
    list->SetRowCount(4);
    list->SetSizeGripResized(false);
    list->resize(150, frame + 6 * ih - 2);
    EXPECT_EQ(list->RowCount(), 5);
    EXPECT_EQ(list->height(), frame + 5 * ih);
    EXPECT_TRUE(list->SizeGripResized());
    EXPECT_EQ(list->SizeGrip()->geometry().bottomRight(), QPoint(list->width() - 1, list->height() - 1));
    // Eight items in five rows: the list's scroll bar shows.
    EXPECT_TRUE(list->OwnScrollBar()->isVisible());
    list->SetRowCount(8);
    EXPECT_FALSE(list->OwnScrollBar()->isVisible());
}

TEST_F(ListFixture, HotTrackingFollowsTheMouse)
{
    Fill({"first", "second", "third"});
    list->SetColor(clWhite);
    const TRect r0 = list->ItemRect(0);
    const TRect r2 = list->ItemRect(2);
    const QColor highlight = ToQColor(clHighlight);
    EXPECT_EQ(list->ItemIndex(), -1);

    QTest::mouseMove(list, QPoint(r0.Left + 60, r0.Top + 2));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(PixelAt(r0.Right - 3, r0.Top + 3), highlight);

    QTest::mouseMove(list, QPoint(r2.Left + 60, r2.Top + 2));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(PixelAt(r0.Right - 3, r0.Top + 3), QColor(Qt::white));   // repainted as it moved on
    EXPECT_EQ(PixelAt(r2.Right - 3, r2.Top + 3), highlight);

    // With a button held the selection does not follow.
    list->MouseMove(TShiftState(ssLeft), r0.Left + 5, r0.Top + 2);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListFixture, ExternalItemsMakeTheListVirtual)
{
    TStringsGx ext;
    ext.SetTexts({"x1", "x2", "x3"});
    Fill({"own"});
    list->SetExtItems(&ext);
    EXPECT_EQ(list->Style(), lbVirtualOwnerDrawGx);
    EXPECT_EQ(list->Count(), 0);   // the owner sets the count
    list->SetCount(ext.Count());
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->ItemText(1), QStringLiteral("x2"));
    QChar key = u'x';
    list->KeyPress(key);
    EXPECT_EQ(list->ItemIndex(), 0);
    list->SetExtItems(nullptr);
    EXPECT_EQ(list->Style(), lbOwnerDrawFixedGx);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->ItemText(0), QStringLiteral("own"));
}

namespace {
struct StayOpenItem : TPopupListboxItemGx {
    bool focusable = true;
    bool stayOpen = false;
    QList<TOwnerDrawState> drawn;
    int downs = 0, moves = 0;
    QList<QChar> keys;
    bool CanFocus() override { return focusable; }
    bool CloseOnExecute(TPopupListboxGx*, int) override { return !stayOpen; }
    void DrawItem(TPopupListboxGx* s, int i, const TRect& r, TOwnerDrawState st) override
    {
        drawn << st;
        TPopupListboxItemGx::DrawItem(s, i, r, st);
    }
    void MouseDown(TPopupListboxGx*, int, TMouseButton, TShiftState, const TPoint&) override { ++downs; }
    void MouseMove(TPopupListboxGx*, int, TShiftState, const TPoint&) override { ++moves; }
    void KeyPress(TPopupListboxGx*, int, QChar& key, TShiftState) override { keys << key; }
};
} // namespace

TEST_F(ListFixture, ItemObjectsDrawAndDecideAboutClosing)
{
    StayOpenItem plain, stay;
    stay.stayOpen = true;
    stay.focusable = false;
    Fill({"plain", "stays"});
    list->Items()->SetObject(0, &plain);
    list->Items()->SetObject(1, &stay);
    list->SetUseItemObjects(true);
    QList<bool> closeOnUp;
    list->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) {
        closeOnUp << list->IsMouseUpCloseListbox();
    };

    const TRect r0 = list->ItemRect(0), r1 = list->ItemRect(1);
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(r1.Left + 5, r1.Top + 3));
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(r0.Left + 5, r0.Top + 3));
    EXPECT_EQ(closeOnUp, (QList<bool>{false, true}));
    EXPECT_EQ(stay.downs, 1);
    EXPECT_EQ(plain.downs, 1);

    list->SetItemIndex(1);
    stay.drawn.clear();
    PaintNow();
    ASSERT_FALSE(stay.drawn.isEmpty());
    EXPECT_TRUE(stay.drawn.last() & odSelected);
    EXPECT_FALSE(stay.drawn.last() & odFocused);   // it cannot take the focus mark
    QChar key = u'q';
    list->KeyPress(key);
    EXPECT_EQ(stay.keys, QList<QChar>{u'q'});

    // Without item objects in use the objects are left alone.
    list->SetUseItemObjects(false);
    stay.drawn.clear();
    PaintNow();
    EXPECT_TRUE(stay.drawn.isEmpty());
}

TEST_F(ListFixture, ImageColumnAndWheel)
{
    TImageList images(8, 8);
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images.AddImage(red);
    QStringList texts;
    for (int i = 0; i < 12; ++i)
        texts << QStringLiteral("item %1").arg(i);
    Fill(texts);
    list->SetImageList(&images);
    QList<QObject*> senders;
    list->OnGetImageIndex = [&](QObject* sender, int, int& index) {
        senders << sender;
        index = 0;   // every item shows the one image
    };
    PaintNow();
    ASSERT_FALSE(senders.isEmpty());
    EXPECT_EQ(senders.first(), &owner);
    const TRect r3 = list->ItemRect(3);
    EXPECT_EQ(PixelAt(r3.Left + 2 + 4, r3.Top + r3.Height() / 2), QColor(Qt::red));

    QPoint at(r3.Left + 40, r3.Top + 2);
    QWheelEvent down(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &down);
    EXPECT_EQ(list->TopIndex(), 1);
    QWheelEvent up(at, list->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &up);
    QApplication::sendEvent(list, &up);
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST(PopupListbox, PlacementMovesTheGripToTheFreeCorner)
{
    QWidget owner;
    TPopupListboxGx list(&owner);
    list.Items()->SetTexts({"a", "b", "c"});
    list.SetRowCount(3);
    WorkAreaForRectGx = [](const TRect&) { return TRect(0, 0, 800, 600); };
    // An editor near the bottom: the list opens above it and the grip goes to the top.
    const TPoint at = PlaceDropDownAtRect(TRect(750, 570, 790, 590), &list, 0);
    WorkAreaForRectGx = nullptr;
    EXPECT_EQ(at.Y, 570 - list.height());
    EXPECT_EQ(list.SizeGrip()->Position(), sgpTopLeft);   // to the top and, pushed left, to the left
}
