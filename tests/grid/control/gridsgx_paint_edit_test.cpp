// Painting of the base grid checked on its pixels and DrawCell log, and the
// in-place editor: F2 and Enter, typing, the read-only limit and the click that
// becomes a double click.
#include "gridsgx_probe.h"
#include "testmain/testsupport.h"

#include <gtest/gtest.h>

using namespace gxgrid;

namespace {

TColor PixelAt(const QImage& img, int x, int y)
{
    return FromQColor(img.pixelColor(x, y)) & 0xFFFFFF;
}

QImage Grab(TProbeGrid* g)
{
    g->PaintNow();
    QApplication::processEvents();
    return g->grab().toImage();
}

} // namespace

TEST(GridPaint, LineColoursAndCells)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(8);
    g->SetRowCount(12);
    g->SetColWidths(2, 0);
    g->SetContraRowCount(1);
    h.Pump();
    const QImage img = Grab(g);
    img.save(dpxtest::artifactsDir() + QStringLiteral("/gridsgx_plain.png"));
    const TColor gray = RGB(128, 128, 128), silver = RGB(192, 192, 192);
    // Fixed area lines in the dark colour, data lines in the bright one.
    EXPECT_EQ(PixelAt(img, 64, 40), gray);
    EXPECT_EQ(PixelAt(img, 129, 100), silver);
    EXPECT_EQ(PixelAt(img, 100, 49), silver);
    // A data cell is filled in the window colour.
    EXPECT_EQ(PixelAt(img, 100, 40), ColorToRGB(clWindow));
    // The zero-width column is skipped; the contra row is painted.
    bool col2 = false, contra = false;
    for (const auto& c : g->Calls) {
        col2 = col2 || c.Col == 2;
        contra = contra || c.Row == 12;
    }
    EXPECT_FALSE(col2);
    EXPECT_TRUE(contra);
    const auto* k = g->Find(1, 12);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Rect, g->CellRect(1, 12));
    EXPECT_TRUE(k->State.empty());
    // The current cell is focused, current and selected.
    const auto* cur = g->Find(1, 1);
    ASSERT_NE(cur, nullptr);
    EXPECT_TRUE(cur->State.contains(gdFocused));
    EXPECT_TRUE(cur->State.contains(gdCurrent));
    EXPECT_TRUE(g->Find(0, 0)->State.contains(gdFixed));

    // Without the fixed line options the fixed lines take the fixed colour.
    g->SetOptions(DefaultGridOptionsGx & ~TGridOptions(goFixedVertLine | goFixedHorzLine));
    const QImage img2 = Grab(g);
    EXPECT_EQ(PixelAt(img2, 64, 40), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(img2, 129, 100), silver);
}

TEST(GridPaint, RowSelectPaintsTheWholeRowSelected)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(6);
    g->SetRowCount(8);
    g->SetOptions(DefaultGridOptionsGx | goRowSelect);
    g->SetCurrentCell(1, 3, true, true, true);
    h.Pump();
    const QImage img = Grab(g);
    img.save(dpxtest::artifactsDir() + QStringLiteral("/gridsgx_rowselect.png"));
    for (int c = 1; c < 5; ++c) {
        const auto* k = g->Find(c, 3);
        ASSERT_NE(k, nullptr) << c;
        EXPECT_TRUE(k->State.contains(gdSelected)) << c;
        EXPECT_TRUE(k->State.contains(gdCurrent)) << c;
        EXPECT_EQ(PixelAt(img, k->Rect.Left + 10, k->Rect.Top + 10), ColorToRGB(clHighlight)) << c;
    }
    const auto* other = g->Find(2, 4);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(other->State.contains(gdSelected));
    EXPECT_EQ(PixelAt(img, other->Rect.Left + 10, other->Rect.Top + 10), ColorToRGB(clWindow));
}

TEST(GridPaint, FrozenAndContraAreas)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(12);
    g->SetRowCount(20);
    g->SetFixedCols(3);
    g->SetFrozenColCount(2);
    g->SetContraColCount(1);
    g->SetContraRowCount(2);
    g->OutBoundaryData()->SetTopIndent(6);
    g->SetFixedColor(clYellow);
    h.Pump();
    const QImage img = Grab(g);
    img.save(dpxtest::artifactsDir() + QStringLiteral("/gridsgx_frozen_contra.png"));
    // Frozen cells are data cells; the true fixed column is a fixed one.
    EXPECT_TRUE(g->Find(0, 2)->State.contains(gdFixed));
    EXPECT_FALSE(g->Find(1, 2)->State.contains(gdFixed));
    EXPECT_FALSE(g->Find(2, 2)->State.contains(gdFixed));
    // Contra cells: the right column and the two bottom rows, corner included.
    EXPECT_NE(g->Find(12, 2), nullptr);
    EXPECT_NE(g->Find(3, 20), nullptr);
    EXPECT_NE(g->Find(12, 21), nullptr);
    EXPECT_TRUE(g->Find(12, 0)->State.contains(gdFixed));
    // The top margin is painted in the fixed colour.
    EXPECT_EQ(PixelAt(img, 150, 2), ColorToRGB(clYellow));
    // The border after the frozen columns is dark.
    const TGridLayoutGx L = g->CalcGridLayout();
    EXPECT_EQ(PixelAt(img, L.Horz.FixedEnd - 1, 100), RGB(128, 128, 128));
}

TEST(GridEditor, F2EnterAndTyping)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(6);
    g->SetOptions(DefaultGridOptionsGx | goEditing);
    g->Texts[{1, 1}] = QStringLiteral("abc");
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_TRUE(g->EditorMode());
    TInplaceEdit* ed = g->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_EQ(TRect(ed->geometry()), g->CellRect(1, 1));
    EXPECT_EQ(ed->text(), QStringLiteral("abc"));
    EXPECT_FALSE(ed->hasSelectedText());  // F2 places the caret at the end
    EXPECT_TRUE(ed->hasFocus());

    // Enter in the editor hides it (no always-shown editor); Enter on the grid shows it.
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_FALSE(ed->isVisible());
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_TRUE(g->EditorMode());
    EXPECT_TRUE(ed->isVisible());
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_FALSE(ed->isVisible());

    // Typing on the grid shows the editor and the character arrives in it.
    QTest::keyClick(g, Qt::Key_Right);
    g->Texts[{2, 1}] = QStringLiteral("old");
    QTest::keyClick(g, Qt::Key_X, Qt::NoModifier);
    h.Pump(20);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_EQ(ed->text(), QStringLiteral("x"));
    EXPECT_EQ(g->Texts.value({2, 1}), QStringLiteral("x"));
    QTest::keyClicks(ed, QStringLiteral("yz"));
    EXPECT_EQ(g->Texts.value({2, 1}), QStringLiteral("xyz"));
    // Down goes to the grid: the editor follows the current cell and writes back.
    QTest::keyClick(ed, Qt::Key_Down);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Texts.value({2, 1}), QStringLiteral("xyz"));
}

TEST(GridEditor, EnterTwiceAlternatesSelectionWhenAlwaysShown)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetOptions(DefaultGridOptionsGx | goEditing | goAlwaysShowEditor);
    g->Texts[{1, 1}] = QStringLiteral("hello");
    g->InvalidateEditor();
    h.Pump();
    TInplaceEdit* ed = g->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    ASSERT_TRUE(ed->isVisible());
    EXPECT_EQ(ed->selectedText(), QStringLiteral("hello"));
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_FALSE(ed->hasSelectedText());
    EXPECT_EQ(ed->cursorPosition(), 5);
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_EQ(ed->selectedText(), QStringLiteral("hello"));
    // Left at the start of the text moves to the previous cell when the editor is always shown.
    g->FocusCell(2, 1, true);
    h.Pump();
    ed->setCursorPosition(0);
    ed->deselect();
    QTest::keyClick(ed, Qt::Key_Left);
    EXPECT_EQ(g->Col(), 1);
}

TEST(GridEditor, ReadOnlyLimit)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetOptions(DefaultGridOptionsGx | goEditing);
    g->EditLimit = -1;
    g->Texts[{1, 1}] = QStringLiteral("keep");
    QTest::keyClick(g, Qt::Key_F2);
    TInplaceEdit* ed = g->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_FALSE(g->CanEditModify());
    QTest::keyClicks(ed, QStringLiteral("ab"));
    QTest::keyClick(ed, Qt::Key_Backspace);
    QTest::keyClick(ed, Qt::Key_Delete);
    EXPECT_EQ(ed->text(), QStringLiteral("keep"));
    EXPECT_EQ(g->Texts.value({1, 1}), QStringLiteral("keep"));
}

TEST(GridEditor, ClickThenClickOnTheEditorIsADoubleClick)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(6);
    g->SetOptions(DefaultGridOptionsGx | goEditing | goAlwaysShowEditor);
    int doubles = 0;
    g->OnDblClick = [&](QObject*) { ++doubles; };
    const TRect r = g->CellRect(2, 2);
    const QPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QTest::mouseClick(g, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(g->Current() == TGridCoord({2, 2}));
    TInplaceEdit* ed = g->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    ASSERT_TRUE(ed->isVisible());
    QTest::mouseClick(ed, Qt::LeftButton, {}, ed->mapFrom(g, centre));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(ed->FClickTime, 0);
    // A later click on the editor is a plain click again.
    QTest::qWait(GetDoubleClickTime() + 50);
    QTest::mouseClick(ed, Qt::LeftButton, {}, ed->mapFrom(g, centre));
    EXPECT_EQ(doubles, 1);
}
