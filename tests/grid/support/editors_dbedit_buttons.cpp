// The data-aware edit's buttons: layout of the strip, shortcuts, clicks, the
// drop-down protocol that the descendants use, and the MRU drop-down.
#include "DBCtrlsGx.h"
#include "PopupListboxGx.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/gui/Application.h"
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include "MRUListGx.h"
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

void SetThemingActiveGx(bool value);

namespace {

// A descendant with a drop-down of its own, as the date-time and combo editors have.
class DropEdit : public TDBEditGx {
public:
    using TDBEditGx::TDBEditGx;
    int drops = 0;
    int closes = 0;
    bool lastAccept = true;
    std::vector<bool> dropArgs;
    void DropDown() override
    {
        TDBEditGx::DropDown();
        ++drops;
        FDroppedDown = true;
    }
    void CloseUp(bool Accept) override
    {
        if (!FDroppedDown)
            return;
        FDroppedDown = false;
        ++closes;
        lastAccept = Accept;
        TDBEditGx::CloseUp(Accept);
    }
    void ButtonDropDown(bool TopButton) override
    {
        dropArgs.push_back(TopButton);
        TDBEditGx::ButtonDropDown(TopButton);
    }
};

struct Window {
    QWidget window;
    QLineEdit* other = new QLineEdit(&window);
    Window()
    {
        other->move(0, 60);
        window.resize(300, 120);
    }
    void Show(QWidget* focus)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        focus->setFocus();
        QApplication::processEvents();
    }
};

QPoint Centre(QWidget* w) { return QPoint(w->width() / 2, w->height() / 2); }

void Press(QWidget* w, QPoint at) { QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at); }
void Release(QWidget* w, QPoint at) { QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at); }

} // namespace

TEST(DBEditGxButtons, StripIsPackedAgainstTheRightEdge)
{
    SetThemingActiveGx(false);
    TDBEditGx edit;
    edit.resize(200, edit.height());
    edit.EditButton()->SetVisible(true);
    edit.EditButtons()->Add()->SetWidth(20);
    TEditButtonGx* hidden = edit.EditButtons()->Add();
    hidden->SetVisible(false);
    edit.EditButtons()->Add()->SetWidth(25);
    ASSERT_EQ(edit.EditButtonControlCount(), 4);
    const TRect inner = edit.InnerRect();
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(edit.ButtonWidth(), sb + 20 + 0 + 25);
    struct Expect { int left; int width; bool visible; } expected[] = {
        {inner.Right - 45 - sb, sb, true},
        {inner.Right - 45, 20, true},
        {inner.Right - 25, 0, false},
        {inner.Right - 25, 25, true},
    };
    for (int i = 0; i < 4; ++i) {
        TEditButtonControlGx* c = edit.EditButtonControlAt(i).EditButtonControl;
        EXPECT_EQ(c->x(), expected[i].left) << i;
        EXPECT_EQ(c->width(), expected[i].width) << i;
        EXPECT_EQ(c->isVisibleTo(&edit), expected[i].visible) << i;
        EXPECT_EQ(c->y(), inner.Top) << i;
        EXPECT_EQ(c->height(), edit.ButtonHeight()) << i;
        EXPECT_EQ(edit.EditButtonControlAt(i).ButtonLine->width(), 0) << i;
    }
    EXPECT_EQ(edit.EditWindow()->geometry().right() + 1, inner.Right - edit.ButtonWidth());
    // Flat without themes: a one-pixel line after each visible button; with themes none.
    edit.SetFlat(true);
    const int flatWidth = GetDefaultFlatButtonWidth();
    EXPECT_EQ(edit.ButtonWidth(), flatWidth + 20 + 25 + 3);
    EXPECT_EQ(edit.EditButtonControlAt(0).ButtonLine->width(), 1);
    EXPECT_EQ(edit.EditButtonControlAt(2).ButtonLine->width(), 0);
    SetThemingActiveGx(true);
    edit.SetFlat(false);
    edit.SetFlat(true);
    EXPECT_EQ(edit.ButtonWidth(), flatWidth + 20 + 25);
    SetThemingActiveGx(false);
    // Removing buttons frees their controls.
    edit.EditButtons()->Clear();
    EXPECT_EQ(edit.EditButtonControlCount(), 1);
}

TEST(DBEditGxButtons, ShortCutsPressTheFirstMatchingButton)
{
    Window w;
    auto* edit = new TDBEditGx(&w.window);
    QStringList clicks;
    const TShortCut ctrlK = 0x4000 | 'K';
    edit->EditButton()->SetShortCut(ctrlK);
    edit->EditButton()->OnClick = [&](QObject*, bool&) { clicks << QStringLiteral("main"); };
    edit->OnButtonClick = [&](QObject*, bool&) { clicks << QStringLiteral("editor"); };
    for (int i = 0; i < 2; ++i) {
        TEditButtonGx* b = edit->EditButtons()->Add();
        b->SetShortCut(i == 0 ? ctrlK : TShortCut(VK_F4));
        b->OnClick = [&, i](QObject*, bool&) { clicks << QStringLiteral("extra %1").arg(i); };
    }
    int keyDowns = 0;
    edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) { keyDowns += key != VK_CONTROL; };
    w.Show(edit);
    QTest::keyClick(edit->EditWindow(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(clicks, QStringList({QStringLiteral("main"), QStringLiteral("editor")}));
    clicks.clear();
    QTest::keyClick(edit->EditWindow(), Qt::Key_F4);
    EXPECT_EQ(clicks, QStringList({QStringLiteral("extra 1")}));
    EXPECT_EQ(keyDowns, 2);   // OnKeyDown still sees them
    EXPECT_EQ(edit->Text(), QString());
}

TEST(DBEditGxButtons, PressOpensSecondPressClosesWithoutAccepting)
{
    Window w;
    auto* edit = new DropEdit(&w.window);
    edit->EditButton()->SetVisible(true);
    w.Show(w.other);
    TEditButtonControlGx* button = edit->EditButtonControlAt(0).EditButtonControl;
    const QPoint c = Centre(button);
    Press(button, c);
    EXPECT_TRUE(edit->Focused());      // the press takes the focus
    EXPECT_EQ(edit->drops, 1);
    EXPECT_TRUE(button->AlwaysDown());
    Release(button, c);                // the click of the same press keeps it open
    EXPECT_TRUE(edit->DroppedDown());
    // Press, drag off and release: still open.
    Press(button, c);
    Release(button, QPoint(-20, c.y()));
    EXPECT_TRUE(edit->DroppedDown());
    EXPECT_EQ(edit->drops, 1);
    // A full press on the button closes without accepting.
    Press(button, c);
    Release(button, c);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->closes, 1);
    EXPECT_FALSE(edit->lastAccept);
    EXPECT_FALSE(button->AlwaysDown());
    // A single button counts as the top one.
    EXPECT_EQ(edit->dropArgs.front(), true);
}

TEST(DBEditGxButtons, WhatKeepsTheDropDownClosed)
{
    struct Case { const char* what; std::function<void(DropEdit*)> setup; bool drops; } cases[] = {
        {"drop-down style", [](DropEdit*) {}, true},
        {"up-down style", [](DropEdit* e) { e->EditButton()->SetStyle(ebsUpDownGx); }, false},
        {"alternative up-down style", [](DropEdit* e) { e->EditButton()->SetStyle(ebsAltUpDownGx); }, false},
        {"OnButtonDown handles it",
         [](DropEdit* e) { e->OnButtonDown = [](QObject*, bool, bool&, bool& handled) { handled = true; }; }, false},
        {"an action", [](DropEdit* e) { e->EditButton()->SetAction(new TCustomActionGx); }, false},
    };
    for (const Case& c : cases) {
        Window w;
        auto* edit = new DropEdit(&w.window);
        edit->EditButton()->SetVisible(true);
        c.setup(edit);
        w.Show(w.other);
        TEditButtonControlGx* button = edit->EditButtonControlAt(0).EditButtonControl;
        Press(button, QPoint(button->width() / 2, 2));
        Release(button, QPoint(button->width() / 2, 2));
        EXPECT_EQ(edit->drops == 1, c.drops) << c.what;
        delete edit->EditButton()->Action();
    }
}

TEST(DBEditGxButtons, ExtraButtonsClickAndNeverDropDown)
{
    Window w;
    auto* edit = new DropEdit(&w.window);
    TEditButtonGx* extra = edit->EditButtons()->Add();
    int downs = 0, clicks = 0, editorClicks = 0;
    extra->OnDown = [&](QObject*, bool, bool&, bool&) { ++downs; };
    extra->OnClick = [&](QObject*, bool&) { ++clicks; };
    edit->OnButtonClick = [&](QObject*, bool&) { ++editorClicks; };
    w.Show(w.other);
    TEditButtonControlGx* button = edit->EditButtonControlAt(1).EditButtonControl;
    Press(button, Centre(button));
    Release(button, Centre(button));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(editorClicks, 0);
    EXPECT_EQ(edit->drops, 0);
    // With a drop-down menu the press pops the menu up under the button.
    QMenu menu;
    menu.addAction(QStringLiteral("一"));
    extra->SetDropdownMenu(&menu);
    Press(button, Centre(button));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos().y(), button->mapToGlobal(QPoint(0, button->height())).y());
    menu.hide();
    Release(button, Centre(button));
}

TEST(DBEditGxButtons, DisabledEditorDisablesItsButtons)
{
    TDBEditGx edit;
    edit.EditButton()->SetVisible(true);
    edit.EditButtons()->Add()->SetEnabled(false);
    EXPECT_TRUE(edit.EditButtonControlAt(0).EditButtonControl->isEnabled());
    EXPECT_FALSE(edit.EditButtonControlAt(1).EditButtonControl->isEnabled());
    edit.setEnabled(false);
    EXPECT_FALSE(edit.EditButtonControlAt(0).EditButtonControl->isEnabled());
    edit.setEnabled(true);
    EXPECT_TRUE(edit.EditButtonControlAt(0).EditButtonControl->isEnabled());
}

namespace {

struct MRUEdit {
    Window w;
    DropEdit* edit = new DropEdit(&w.window);
    explicit MRUEdit(bool caseSensitive = false)
    {
        edit->resize(200, edit->height());
        edit->MRUList()->SetActive(true);
        edit->MRUList()->SetCaseSensitive(caseSensitive);
        edit->MRUList()->SetItems({QStringLiteral("ABC"), QStringLiteral("abd"), QStringLiteral("xyz")});
        w.Show(edit);
    }
    QWidget* Keys() { return edit->EditWindow(); }
    bool Open() { return edit->MRUList()->DroppedDown() && edit->MRUListControl()->isVisible(); }
    QStringList Shown() { return edit->MRUListControl()->Items()->Texts(); }
};

} // namespace

TEST(DBEditGxButtons, MRUListShowsTheItemsBeginningWithTheText)
{
    struct Case { bool caseSensitive; const char* typed; QStringList shown; } cases[] = {
        {false, "a", {QStringLiteral("ABC"), QStringLiteral("abd")}},
        {false, "ab", {QStringLiteral("ABC"), QStringLiteral("abd")}},
        {true, "ab", {QStringLiteral("abd")}},
        {false, "x", {QStringLiteral("xyz")}},
        {false, "abx", {}},   // typing on until nothing matches closes the list
        {false, "q", {}},
    };
    for (const Case& c : cases) {
        MRUEdit m(c.caseSensitive);
        QTest::keyClicks(m.Keys(), QString::fromLatin1(c.typed));
        EXPECT_EQ(m.Open(), !c.shown.isEmpty()) << c.typed;
        if (m.Open())
            EXPECT_EQ(m.Shown(), c.shown) << c.typed;
    }
    // The list opens under the text, as wide as the text.
    MRUEdit m;
    QTest::keyClicks(m.Keys(), QStringLiteral("a"));
    TPopupListboxGx* list = m.edit->MRUListControl();
    const QPoint below = m.Keys()->mapToGlobal(QPoint(0, m.Keys()->height()));
    EXPECT_EQ(list->pos(), below);
    EXPECT_EQ(list->width(), m.Keys()->width());
    EXPECT_EQ(list->RowCount(), 2);
    // Clearing the text closes it.
    QTest::keyClick(m.Keys(), Qt::Key_Backspace);
    EXPECT_FALSE(m.Open());
    // Backspace in the empty editor opens it with every item.
    QTest::keyClick(m.Keys(), Qt::Key_Backspace);
    EXPECT_TRUE(m.Open());
    EXPECT_EQ(m.Shown().size(), 3);
}

TEST(DBEditGxButtons, MRUListKeysMouseAndFocus)
{
    {
        MRUEdit m;
        QTest::keyClicks(m.Keys(), QStringLiteral("a"));
        QTest::keyClick(m.Keys(), Qt::Key_Down);   // goes to the list
        QTest::keyClick(m.Keys(), Qt::Key_Down);
        EXPECT_EQ(m.edit->MRUListControl()->ItemIndex(), 1);
        EXPECT_TRUE(m.edit->WantSpecialKey(VK_RETURN, TShiftState()));
        QTest::keyClick(m.Keys(), Qt::Key_Return);
        EXPECT_FALSE(m.Open());
        EXPECT_EQ(m.edit->Text(), QStringLiteral("abd"));
        EXPECT_EQ(m.edit->SelText(), QStringLiteral("abd"));
    }
    {
        MRUEdit m;
        QTest::keyClicks(m.Keys(), QStringLiteral("a"));
        QTest::keyClick(m.Keys(), Qt::Key_Down);
        QTest::keyClick(m.Keys(), Qt::Key_Escape);
        EXPECT_FALSE(m.Open());
        EXPECT_EQ(m.edit->Text(), QStringLiteral("a"));
    }
    {
        // A release inside the list accepts the item under the mouse, outside it does not.
        MRUEdit m;
        QTest::keyClicks(m.Keys(), QStringLiteral("a"));
        TPopupListboxGx* list = m.edit->MRUListControl();
        const QPoint first = list->ItemRect(0).toQRect().center();
        QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, first);
        QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, first);
        EXPECT_FALSE(m.Open());
        EXPECT_EQ(m.edit->Text(), QStringLiteral("ABC"));
        QTest::keyClick(m.Keys(), Qt::Key_End);
        QTest::keyClick(m.Keys(), Qt::Key_Backspace);
        EXPECT_TRUE(m.Open());
        QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, first);
        QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
        EXPECT_FALSE(m.Open());
        EXPECT_EQ(m.edit->Text(), QStringLiteral("AB"));
    }
    {
        // Leaving the editor or dropping down the editor's own popup closes it.
        MRUEdit m;
        QTest::keyClicks(m.Keys(), QStringLiteral("a"));
        m.w.other->setFocus();
        EXPECT_FALSE(m.Open());
        m.edit->SetFocus();
        QTest::keyClick(m.Keys(), Qt::Key_End);
        QTest::keyClicks(m.Keys(), QStringLiteral("b"));
        EXPECT_TRUE(m.Open());
        m.edit->EditButton()->SetShortCut(kAltDownShortCut);
        QTest::keyClick(m.Keys(), Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(m.edit->drops, 1);
        EXPECT_FALSE(m.Open());
    }
}

TEST(DBEditGxButtons, MRUListTakesTheWrittenText)
{
    MRUEdit m;
    QTest::keyClicks(m.Keys(), QStringLiteral("new"));
    m.w.other->setFocus();   // leaving writes the text
    EXPECT_EQ(m.edit->MRUList()->Items().last(), QStringLiteral("new"));
    m.edit->MRUList()->SetAutoAdd(false);
    m.edit->SetText(QStringLiteral("other"));
    EXPECT_EQ(m.edit->MRUList()->Items().last(), QStringLiteral("new"));
    // A size chosen with the grip is kept for the next opening.
    m.edit->SetFocus();
    m.edit->SetText(QString());
    QTest::keyClicks(m.Keys(), QStringLiteral("a"));
    TPopupListboxGx* list = m.edit->MRUListControl();
    ASSERT_TRUE(m.Open());
    list->resize(150, list->height());
    list->SizeGrip()->OnParentResized(list->SizeGrip());
    EXPECT_EQ(m.edit->MRUList()->Width(), 150);
}

TEST(DBEditGxButtons, MRUListScrollsWhenItHasMoreItemsThanRows)
{
    MRUEdit m;
    QStringList items;
    for (int i = 0; i < 20; ++i)
        items << QStringLiteral("item %1").arg(i, 2, 10, QLatin1Char('0'));
    m.edit->MRUList()->SetItems(items);
    QTest::keyClicks(m.Keys(), QStringLiteral("item"));
    ASSERT_TRUE(m.Open());
    TMRUListboxGx* list = m.edit->MRUListControl();
    EXPECT_EQ(list->RowCount(), 7);
    EXPECT_TRUE(list->ScrollBar()->isVisible());
    EXPECT_EQ(list->ScrollBar()->pageStep(), 7);
    // Refiltering an open list to fewer items than rows drops the scroll bar.
    QTest::keyClicks(m.Keys(), QStringLiteral(" 1"));
    ASSERT_TRUE(m.Open());
    EXPECT_EQ(m.Shown().size(), 10);
    QTest::keyClicks(m.Keys(), QStringLiteral("5"));
    EXPECT_EQ(m.Shown(), QStringList({QStringLiteral("item 15")}));
    EXPECT_EQ(list->RowCount(), 1);
    EXPECT_FALSE(list->ScrollBar()->isVisible());
}

TEST(DBEditGxButtons, MainButtonShowsItsHeldDownLook)
{
    Window w;
    auto* edit = new DropEdit(&w.window);
    edit->EditButton()->SetVisible(true);
    w.Show(w.other);
    TEditButtonControlGx* button = edit->EditButtonControlAt(0).EditButtonControl;
    const QImage up = button->grab().toImage();
    edit->DropDown();
    const QImage down = button->grab().toImage();
    EXPECT_NE(up, down);
    edit->CloseUp(false);
    EXPECT_EQ(button->grab().toImage(), up);
}
