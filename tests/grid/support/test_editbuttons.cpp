// The edit-button control (press, split halves, auto-repeat by hand) and the
// edit-button settings with their collection.
#include "EditButtonsGx.h"
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct DownLog {
    QList<bool> tops;
    bool keepRepeating = true;
    void Attach(TEditButtonControlGx& b)
    {
        b.OnDown = [this](QObject*, bool top, bool& autoRepeat, bool&) {
            tops << top;
            if (!keepRepeating)
                autoRepeat = false;
        };
    }
};
// A 17 x 21 button of a style on a host, counting its downs and clicks.
struct Button {
    QWidget host;
    TEditButtonControlGx b{&host};
    DownLog log;
    int clicks = 0;
    explicit Button(TEditButtonStyleGx style)
    {
        b.SetStyle(style);
        b.resize(17, 21);
        log.Attach(b);
        b.OnClick = [this](QObject*) { ++clicks; };
    }
};

} // namespace

TEST(EditButtonControl, UpDownRepeatsWhileHeld)
{
    Button button(ebsUpDownGx);
    TEditButtonControlGx& b = button.b;
    DownLog& log = button.log;
    const int& clicks = button.clicks;

    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(8, 3));
    EXPECT_EQ(log.tops, QList<bool>({true}));
    EXPECT_EQ(b.ButtonNum(), 1);
    EXPECT_TRUE(b.RepeatTimerActive());
    EXPECT_EQ(b.RepeatInterval(), 400);
    b.Timer(TEditButtonControlGx::RepeatTimerId);   // after 400 ms
    EXPECT_EQ(b.RepeatInterval(), 100);
    b.Timer(TEditButtonControlGx::RepeatTimerId);
    b.Timer(TEditButtonControlGx::RepeatTimerId);
    EXPECT_EQ(log.tops, QList<bool>({true, true, true, true}));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(8, 3));
    EXPECT_FALSE(b.RepeatTimerActive());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.ButtonNum(), 0);

    // The lower half.
    log.tops.clear();
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(8, 18));
    EXPECT_EQ(log.tops, QList<bool>({false}));
    EXPECT_EQ(b.ButtonNum(), 2);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(8, 18));
}

TEST(EditButtonControl, DraggingToTheOtherHalfPauses)
{
    Button button(ebsUpDownGx);
    TEditButtonControlGx& b = button.b;
    DownLog& log = button.log;
    const int& clicks = button.clicks;
    b.ButtonMouseDown(mbLeft, 8, 3);
    b.ButtonMouseMove(8, 15);
    EXPECT_EQ(b.State(), bsUpGx);
    b.TimerTick();                       // paused: no event
    EXPECT_EQ(log.tops.size(), 1);
    b.ButtonMouseUp(mbLeft, 8, 15);
    EXPECT_EQ(clicks, 0);                // released there: no click
}

TEST(EditButtonControl, MiddleRowAndSingleButtons)
{
    Button middle(ebsUpDownGx);
    TEditButtonControlGx& updown = middle.b;
    DownLog& log = middle.log;
    QWidget& host = middle.host;
    updown.ButtonMouseDown(mbLeft, 8, 10);   // the middle row of 21
    EXPECT_EQ(updown.ButtonNum(), 0);
    EXPECT_TRUE(log.tops.isEmpty());
    updown.ButtonMouseUp(mbLeft, 8, 10);

    Button single(ebsEllipsisGx);
    TEditButtonControlGx& ellipsis = single.b;
    DownLog& elog = single.log;
    const int& clicks = single.clicks;
    ellipsis.ButtonMouseDown(mbLeft, 8, 10);
    EXPECT_EQ(elog.tops, QList<bool>({true}));
    EXPECT_FALSE(ellipsis.RepeatTimerActive());      // no repeat unless asked for
    ellipsis.ButtonMouseUp(mbLeft, 8, 10);
    EXPECT_EQ(clicks, 1);

    // A handler that asks for repeat on a single button; clearing it stops the timer.
    TEditButtonControlGx plus(&host);
    plus.SetStyle(ebsPlusGx);
    plus.resize(17, 21);
    int downs = 0;
    plus.OnDown = [&](QObject*, bool, bool& autoRepeat, bool&) { autoRepeat = ++downs < 3; };
    plus.ButtonMouseDown(mbLeft, 8, 10);
    ASSERT_TRUE(plus.RepeatTimerActive());
    plus.TimerTick();
    EXPECT_TRUE(plus.RepeatTimerActive());
    plus.TimerTick();
    EXPECT_FALSE(plus.RepeatTimerActive());
    EXPECT_EQ(downs, 3);
    plus.ButtonMouseUp(mbLeft, 8, 10);
}

TEST(EditButtonControl, StatesAndPainting)
{
    QWidget host;
    TEditButtonControlGx b(&host);
    b.resize(17, 21);
    b.SetAlwaysDown(true);
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(b.State(), bsExclusiveGx);
    EXPECT_EQ(b.ButtonNum(), 1);
    b.SetAlwaysDown(false);
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.GroupIndex(), 0);
    b.SetState(bsDownGx, true, 1);
    EXPECT_EQ(b.State(), bsDownGx);
    EXPECT_TRUE(b.Active());

    // The pressed face is the pressed drop-down face of the painter.
    FlushButtonsBitmapCache();
    TBitmap painted(17, 21), direct(17, 21);
    b.PaintTo(painted.Canvas());
    const TColor parent = FromQColor(host.palette().color(host.backgroundRole()));
    DrawEditButtonFace(direct.Canvas(), TRect(0, 0, 17, 21), parent, bcsDropDownGx, 1, false, true, true);
    painted.Canvas()->Release();
    direct.Canvas()->Release();
    EXPECT_EQ(painted.Image(), direct.Image());
    b.SetState(bsUpGx, false, 0);
    TBitmap up(17, 21);
    b.PaintTo(up.Canvas());
    up.Canvas()->Release();
    EXPECT_NE(up.Image(), direct.Image());
}

TEST(EditButtonSettings, DefaultsAndSetters)
{
    QWidget editor;
    TEditButtonGx main(&editor);
    EXPECT_FALSE(main.Visible());
    EXPECT_EQ(main.ShortCut(), 0);
    EXPECT_EQ(main.Style(), ebsDropDownGx);
    EXPECT_EQ(main.NumGlyphs(), 1);
    TDropDownEditButtonGx drop(&editor);
    EXPECT_EQ(drop.ShortCut(), 32808);
    EXPECT_FALSE(drop.Visible());
    TVisibleEditButtonGx visible(&editor);
    EXPECT_TRUE(visible.Visible());

    int changes = 0;
    main.OnChanged = [&](TEditButtonGx*) { ++changes; };
    main.SetNumGlyphs(0);
    EXPECT_EQ(main.NumGlyphs(), 1);
    EXPECT_EQ(changes, 0);             // clamped to the same value: no change
    main.SetNumGlyphs(9);
    EXPECT_EQ(main.NumGlyphs(), 4);
    EXPECT_EQ(changes, 1);
    main.SetNumGlyphs(4);
    EXPECT_EQ(changes, 1);
    main.SetStyle(ebsEllipsisGx);
    main.SetWidth(20);
    main.SetHint("pick");
    main.SetEnabled(false);
    EXPECT_EQ(changes, 5);

    TEditButtonControlGx* control = main.CreateEditButtonControl();
    EXPECT_EQ(control->parentWidget(), &editor);
    EXPECT_EQ(control->size(), QSize(10, 17));
}

TEST(EditButtonSettings, ClicksAndActions)
{
    QWidget editor;
    TEditButtonGx b(&editor);
    TCustomActionGx action;
    QObject* executedOn = nullptr;
    action.OnExecute = [&](TCustomActionGx*, QObject* target) { executedOn = target; };
    b.SetAction(&action);
    bool handled = false;
    b.Click(&editor, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(executedOn, &editor);

    int clicks = 0;
    b.OnClick = [&](QObject*, bool& h) { ++clicks; h = false; };
    executedOn = nullptr;
    handled = true;
    b.Click(&editor, handled);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(executedOn, nullptr);    // the handler alone runs
    EXPECT_FALSE(handled);

    TEditButtonGx none(&editor);
    handled = false;
    none.Click(&editor, handled);
    EXPECT_FALSE(handled);
}

TEST(EditButtonSettings, ActionPropertiesWhileLoadingAndLater)
{
    QWidget editor;
    TCustomActionGx action;
    action.SetHint("from action");
    action.SetShortCut(99);
    action.SetEnabled(true);
    action.SetVisible(true);

    TVisibleEditButtonGx loaded(&editor);
    loaded.SetHint("own");
    loaded.SetEnabled(false);
    action.SetLoading(true);
    loaded.SetAction(&action);
    EXPECT_EQ(loaded.Hint(), QStringLiteral("own"));
    EXPECT_EQ(loaded.ShortCut(), 32808);
    EXPECT_FALSE(loaded.Enabled());
    action.SetLoading(false);

    TVisibleEditButtonGx later(&editor);
    later.SetHint("own");
    later.SetEnabled(false);
    later.SetAction(&action);
    EXPECT_EQ(later.Hint(), QStringLiteral("from action"));
    EXPECT_EQ(later.ShortCut(), 99);
    EXPECT_TRUE(later.Enabled());
    EXPECT_FALSE(later.IsHintStored());

    // A change of the action reaches the linked buttons.
    action.SetHint("changed");
    EXPECT_EQ(later.Hint(), QStringLiteral("changed"));
    EXPECT_EQ(loaded.Hint(), QStringLiteral("changed"));
    later.SetAction(nullptr);
    EXPECT_EQ(later.Action(), nullptr);
    EXPECT_TRUE(later.IsHintStored());
}

TEST(EditButtonSettings, CollectionAndAssign)
{
    QWidget owner;
    TEditButtonsGx buttons(&owner, TEditButtonsGx::ItemClass<TVisibleEditButtonGx>());
    QList<TEditButtonGx*> changed;
    buttons.OnChanged = [&](TEditButtonGx* item) { changed << item; };
    TEditButtonGx* a = buttons.Add();
    EXPECT_TRUE(a->Visible());
    EXPECT_EQ(changed, QList<TEditButtonGx*>({nullptr}));
    a->SetStyle(ebsPlusGx);
    EXPECT_EQ(changed.last(), a);
    EXPECT_EQ(buttons.ButtonAt(0), a);

    TEditButtonGx* b = buttons.Add();
    int targetChanges = 0;
    b->OnChanged = [&](TEditButtonGx*) { ++targetChanges; };
    a->SetWidth(33);
    a->OnDown = [](QObject*, bool, bool&, bool&) {};
    b->Assign(*a);
    EXPECT_EQ(b->Style(), ebsPlusGx);
    EXPECT_EQ(b->Width(), 33);
    EXPECT_TRUE(bool(b->OnDown));
    EXPECT_TRUE(bool(b->OnChanged));   // its own, not copied
    EXPECT_GT(targetChanges, 0);
    delete a;
    EXPECT_EQ(buttons.Count(), 1);
    EXPECT_EQ(buttons.ButtonAt(0), b);
}
