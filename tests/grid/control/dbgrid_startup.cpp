// Start-up and shut-down of the grid units: the process-wide objects, glyph
// lists, the sort-index font, the shortcuts and the shared text bitmap.
#include "grid/control/DBGridGxStyle.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/gui/ImageList.h"
#include "testmain/testsupport.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The start-up runs for this test; the unit state is restored afterwards.
struct UnitsUp {
    UnitsUp() { DoneDBGridGxUnits(); InitDBGridGxUnits(); }
    ~UnitsUp() { DoneDBGridGxUnits(); }
};

QImage Scaled(const QImage& img)
{
    return img.scaled(img.width() * 8, img.height() * 8);
}

} // namespace

TEST(DBGridUnit, StartUpCreatesTheSharedObjectsInOrder)
{
    UnitsUp up;
    EXPECT_EQ(DBGridGxStartUpSteps(),
              (QStringList{QStringLiteral("find dialog"), QStringLiteral("dataset features registry"),
                           QStringLiteral("clipboard formats"), QStringLiteral("property interceptors"),
                           QStringLiteral("style"), QStringLiteral("centre"), QStringLiteral("sort index font"),
                           QStringLiteral("cursors"), QStringLiteral("shortcuts and search settings"),
                           QStringLiteral("glyphs"), QStringLiteral("scratch cell parameters"),
                           QStringLiteral("printer"), QStringLiteral("screen cursors")}));
    ASSERT_NE(DBGridGxGlobalStyle(), nullptr);
    ASSERT_NE(DBGridGxGlobalCenter(), nullptr);
    EXPECT_TRUE(DBGridGxGlobalStyle()->LuminateSelection());
    EXPECT_TRUE(DBGridGxGlobalCenter()->UseExtendedScrollingForMemTable);
    EXPECT_FALSE(DBGridGxGlobalCenter()->PreferEditFormatForNumberFields);
    EXPECT_EQ(DBGridGxClipboardFormats(),
              (QStringList{QStringLiteral("VCLDBIF"), QStringLiteral("Csv"), QStringLiteral("Rich Text Format")}));

    ASSERT_NE(SortIndexFont(), nullptr);
    EXPECT_EQ(SortIndexFont()->Height(), -8);
    EXPECT_EQ(SortIndexFont()->Name(), QStringLiteral("Arial"));

    ASSERT_NE(IndicatorGlyphList(), nullptr);
    EXPECT_EQ(IndicatorGlyphList()->Count(), 7);
    EXPECT_EQ(IndicatorGlyphList()->Width(), 6);
    EXPECT_EQ(IndicatorGlyphList()->Height(), 11);
    EXPECT_EQ(SortMarkerGlyphList()->Count(), 5);
    EXPECT_EQ(SortMarkerGlyphList()->Width(), 10);
    EXPECT_EQ(SortMarkerGlyphList()->Height(), 9);

    struct Key { TShortCut value, expected; };
    for (const Key& k : {Key{IncSearchStartKey, 16454}, Key{IncSearchNextKey, 16397}, Key{IncSearchPriorKey, 24589},
                         Key{PrevRecordValueKey, 16606}, Key{FindDialogKey, 16454}, Key{TitleFilterDropKey, 16468}})
        EXPECT_EQ(k.value, k.expected);
    EXPECT_EQ(IncSearchTimeOut, 1500);
    EXPECT_EQ(IncSearchBackColor, clYellow);
    EXPECT_EQ(IncSearchTextColor, clBlack);
    EXPECT_FALSE(DisableBufferedPaint);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(DBGridGxCursor(i), nullptr);
    EXPECT_NE(ScratchCellParams(), nullptr);
    EXPECT_EQ(ShortCutGx(300, false, true, false), 0);
}

TEST(DBGridUnit, GlyphPictures)
{
    UnitsUp up;
    // The record arrow: one pixel on the first row, six on the middle one.
    const QImage arrow = IndicatorGlyphList()->Image(0);
    auto ink = [](const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)) != 0; };
    EXPECT_TRUE(ink(arrow, 0, 0));
    EXPECT_FALSE(ink(arrow, 1, 0));
    for (int x = 0; x < 6; ++x)
        EXPECT_TRUE(ink(arrow, x, 5));
    // The search arrow: the triangle in the search colour, nothing else.
    const QImage search = IndicatorGlyphList()->Image(6);
    EXPECT_EQ(search.pixel(0, 5) & 0xFFFFFF, 0xFFFF00u);   // yellow
    EXPECT_FALSE(ink(search, 5, 0));
    // Running it again replaces image 6.
    RebuildSearchArrowGlyph();
    EXPECT_EQ(IndicatorGlyphList()->Count(), 7);
    // A search colour equal to the mask colour is painted 0x7F7F00 instead.
    IncSearchBackColor = 0x808000;
    RebuildSearchArrowGlyph();
    EXPECT_EQ(IndicatorGlyphList()->Image(6).pixel(0, 5) & 0xFFFFFF, 0x007F7Fu);
    IncSearchBackColor = clYellow;
    RebuildSearchArrowGlyph();

    // The sheet of all glyphs, for a look.
    QImage sheet(12 * 8 * 8, 14 * 8 * 2, QImage::Format_ARGB32);
    sheet.fill(Qt::lightGray);
    {
        QPainter p(&sheet);
        for (int i = 0; i < IndicatorGlyphList()->Count(); ++i)
            p.drawImage(i * 12 * 8, 0, Scaled(IndicatorGlyphList()->Image(i)));
        for (int i = 0; i < SortMarkerGlyphList()->Count(); ++i)
            p.drawImage(i * 12 * 8, 14 * 8, Scaled(SortMarkerGlyphList()->Image(i)));
    }
    EXPECT_TRUE(sheet.save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_glyphs.png")));
}

TEST(DBGridUnit, ShutDownDetachesGridsAndSharedBitmapLivesWithGrids)
{
    {
        UnitsUp up;
        EXPECT_EQ(DBGridGxSharedTextBitmap(), nullptr);
        DBGridGxAddGridInstance();
        EXPECT_NE(DBGridGxSharedTextBitmap(), nullptr);
        DBGridGxAddGridInstance();
        DBGridGxRemoveGridInstance();
        EXPECT_NE(DBGridGxSharedTextBitmap(), nullptr);
        DBGridGxRemoveGridInstance();
        EXPECT_EQ(DBGridGxSharedTextBitmap(), nullptr);
        DBGridGxRemoveGridInstance();   // an extra release does nothing
        EXPECT_EQ(DBGridGxGridInstanceCount(), 0);

        // Grids still registered when the unit goes lose their style and centre.
        int detached = 0;
        DBGridGxGlobalStyle()->OnDetachGrid = [&](IDBGridGx*) { ++detached; };
        DBGridGxGlobalCenter()->OnDetachGrid = [&](IDBGridGx*) { ++detached; };
        auto* fake = reinterpret_cast<IDBGridGx*>(0x10);
        DBGridGxGlobalStyle()->AddChangeNotification(fake);
        DBGridGxGlobalCenter()->AddChangeNotification(fake);
        DoneDBGridGxUnits();
        EXPECT_EQ(detached, 2);
        EXPECT_EQ(DBGridGxGlobalStyle(), nullptr);
        EXPECT_EQ(IndicatorGlyphList(), nullptr);
        EXPECT_EQ(SortIndexFont(), nullptr);
    }
    // A shut-down without start-up, and one that never built the indicator menu, do nothing.
    DoneDBGridGxUnits();
    EXPECT_FALSE(DBGridGxUnitsInitialized());
}
