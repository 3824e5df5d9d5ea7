// The data-aware check box: value lists, the three states, writing back, keys and the mouse.
#include "DBCtrlsGxCheckBox.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <vector>

namespace {
void ShowFocused(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    w->setFocus();
}

struct BoundBox {
    std::unique_ptr<TClientDataSet> ds = std::make_unique<TClientDataSet>();
    TDataSource src;
    TDBCheckBoxGx box;
    int clicks = 0;

    explicit BoundBox(const char* field)
    {
        ds->FieldDefs().Add(QStringLiteral("id"), ftInteger);
        ds->FieldDefs().Add(QStringLiteral("flag"), ftBoolean);
        ds->FieldDefs().Add(QStringLiteral("yn"), ftString, 10);
        ds->CreateDataSet();
        ds->AppendRecord({Variant(1), Variant(true), Variant(QStringLiteral("yes"))});
        ds->AppendRecord({Variant(2), Variant::Null(), Variant(QString())});
        ds->AppendRecord({Variant(3), Variant(false), Variant(QStringLiteral("maybe"))});
        ds->First();
        src.SetDataSet(ds.get());
        box.OnClick = [this](QObject*) { ++clicks; };
        box.SetDataSource(&src);
        box.SetDataField(QString::fromLatin1(field));
    }
    void Go(int id) { ds->Locate(QStringLiteral("id"), Variant(id)); }
};
} // namespace

TEST(DBCheckBox, ValueLists)
{
    struct Case { const char* list; const char* text; bool match; } cases[] = {
        {"Y;Yes;1", "y", true},
        {"Y; Yes ;1", "YES", true},
        {"Y;Yes;1", "1", true},
        {"Y;Yes;1", "", false},
        {"N;", "n", true},
        {"N;", "", true},          // a trailing ";" accepts an empty text
        {"", "", false},           // an empty list accepts nothing
        {"是;对", "是", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCustomDBCheckBoxGx::ValueMatch(QString::fromUtf8(c.list), QString::fromUtf8(c.text)), c.match)
            << c.list << " / " << c.text;
    EXPECT_EQ(TCustomDBCheckBoxGx::FirstValue(QStringLiteral(" Yes ;Y")), QStringLiteral("Yes"));
}

TEST(DBCheckBox, DataIndependentStates)
{
    TDBCheckBoxGx box;
    int clicks = 0;
    box.OnClick = [&](QObject*) { ++clicks; };
    EXPECT_EQ(box.State(), cbUnchecked);
    box.SetState(cbGrayed);   // only toggling looks at AllowGrayed
    EXPECT_EQ(box.State(), cbGrayed);
    EXPECT_TRUE(box.DataLink()->DataIndependentValue.IsNull());
    box.SetChecked(true);
    EXPECT_EQ(box.DataLink()->DataIndependentValue, Variant(true));
    EXPECT_EQ(clicks, 2);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 2);   // no change, no click

    // With AllowGrayed, clicks cycle unchecked -> grayed -> checked -> unchecked.
    TDBCheckBoxGx cyc;
    cyc.SetAllowGrayed(true);
    ShowFocused(&cyc);
    const TCheckBoxState expected[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
    for (TCheckBoxState s : expected) {
        QTest::mouseClick(&cyc, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
        EXPECT_EQ(cyc.State(), s);
    }
}

TEST(DBCheckBox, BooleanField)
{
    BoundBox b("flag");
    EXPECT_EQ(b.box.State(), cbChecked);
    b.Go(2);
    EXPECT_EQ(b.box.State(), cbGrayed);   // null
    b.Go(3);
    EXPECT_EQ(b.box.State(), cbUnchecked);
    EXPECT_EQ(b.clicks, 3);               // every state change fires OnClick once
    EXPECT_FALSE(b.box.Modified());

    b.box.SetChecked(true);               // puts the dataset into edit state and writes
    EXPECT_EQ(b.ds->State(), dsEdit);
    EXPECT_TRUE(b.ds->FieldByName(QStringLiteral("flag"))->AsBoolean());
    b.box.SetState(cbGrayed);             // grayed clears the field
    EXPECT_TRUE(b.ds->FieldByName(QStringLiteral("flag"))->IsNull());
    b.ds->Cancel();

    // Other texts compare the field's text; writing still sets the Boolean value.
    b.Go(1);
    b.box.SetValueChecked(QStringLiteral("True;Yes"));
    EXPECT_EQ(b.box.State(), cbChecked);
    b.Go(2);
    EXPECT_EQ(b.box.State(), cbGrayed);
    b.box.SetChecked(false);
    EXPECT_FALSE(b.ds->FieldByName(QStringLiteral("flag"))->IsNull());
    EXPECT_FALSE(b.ds->FieldByName(QStringLiteral("flag"))->AsBoolean());
}

TEST(DBCheckBox, StringFieldWithValueLists)
{
    BoundBox b("yn");
    b.box.SetValueChecked(QStringLiteral("Yes;Y"));
    b.box.SetValueUnchecked(QStringLiteral("No;N;"));
    EXPECT_EQ(b.box.State(), cbChecked);   // "yes" in lower case
    b.Go(2);
    EXPECT_EQ(b.box.State(), cbUnchecked); // empty text, list ends in ";"
    b.Go(3);
    EXPECT_EQ(b.box.State(), cbGrayed);    // matches neither list

    b.Go(1);
    b.box.show();
    b.box.setFocus();
    QTest::keyClick(&b.box, Qt::Key_Space);
    EXPECT_EQ(b.box.State(), cbUnchecked);
    EXPECT_EQ(b.ds->State(), dsEdit);
    EXPECT_EQ(b.ds->FieldByName(QStringLiteral("yn"))->AsString(), QStringLiteral("yes"));   // not yet written
    b.ds->Post();
    EXPECT_EQ(b.ds->FieldByName(QStringLiteral("yn"))->AsString(), QStringLiteral("No"));
}

TEST(DBCheckBox, EscapeRestoresAndSpaceToggleOnRelease)
{
    BoundBox b("flag");
    ShowFocused(&b.box);
    QTest::mouseClick(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_EQ(b.box.State(), cbUnchecked);
    EXPECT_TRUE(b.box.Modified());
    QTest::keyClick(&b.box, Qt::Key_Escape);
    EXPECT_EQ(b.box.State(), cbChecked);
    EXPECT_FALSE(b.box.Modified());

    QTest::keyPress(&b.box, Qt::Key_Space);
    EXPECT_EQ(b.box.State(), cbChecked);   // pressed look only
    QTest::keyRelease(&b.box, Qt::Key_Space);
    EXPECT_EQ(b.box.State(), cbUnchecked);

    // A release outside the control does not toggle; a double click toggles twice.
    QTest::mousePress(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    QTest::mouseRelease(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(500, 8));
    EXPECT_EQ(b.box.State(), cbUnchecked);
    const int before = b.clicks;
    // What the window system sends for a double click: press, release, double click, release.
    QTest::mouseClick(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 8), b.box.mapToGlobal(QPointF(5, 8)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&b.box, &dbl);
    QTest::mouseRelease(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_EQ(b.clicks, before + 2);
    EXPECT_EQ(b.box.State(), cbUnchecked);
}

TEST(DBCheckBox, ReadOnlyRefusesToggleAndPaints)
{
    BoundBox b("flag");
    b.box.SetReadOnly(true);
    b.box.SetCaption(QStringLiteral("区分大小写"));
    b.box.show();
    QTest::mouseClick(&b.box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_EQ(b.box.State(), cbChecked);
    EXPECT_EQ(b.ds->State(), dsBrowse);
    QImage img = b.box.grab().toImage();
    // The caption is painted to the right of the box: some dark pixels there.
    int dark = 0;
    for (int x = 20; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 100)
                ++dark;
    EXPECT_GT(dark, 10);
}

// A look changed from code after the box is on screen reaches the screen: the box repaints
// its back buffer, not only the screen from a stale buffer.
TEST(DBCheckBox, ChangesFromCodeRepaint)
{
    BoundBox b("flag");
    b.box.resize(120, 17);
    b.box.show();
    const QImage before = b.box.grab().toImage();
    const std::vector<std::function<void()>> changes = {
        [&] { b.box.SetCaption(QStringLiteral("区分大小写")); },
        [&] { b.box.SetAlignment(b.box.Alignment() == taLeftJustify ? taRightJustify : taLeftJustify); },
        [&] { b.box.SetFlat(true); },
        [&] { b.Go(3); },   // the field's value unchecks the box
    };
    QImage last = before;
    for (size_t i = 0; i < changes.size(); ++i) {
        changes[i]();
        const QImage now = b.box.grab().toImage();
        EXPECT_NE(now, last) << "change " << i << " did not reach the screen";
        last = now;
    }
}
