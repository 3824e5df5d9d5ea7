// Grid layout storage: the stored strings, a save and restore round trip, a
// restore of the column order alone, a layout whose columns are gone, and the
// registry stand-in under the grid's storage path.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxLayoutIni.h"
#include "grid/control/DBGridGxTextRoutines.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/RegIniFile.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct LayoutFixture : ::testing::Test {
    PaintHost host{600, 200};
    TClientDataSet ds;
    QTemporaryDir dir;
    QString file;
    void SetUp() override
    {
        ds.FieldDefs().Add(QStringLiteral("CODE"), ftString, 10);
        ds.FieldDefs().Add(QStringLiteral("NAME"), ftWideString, 20);
        ds.FieldDefs().Add(QStringLiteral("QTY"), ftInteger);
        ds.CreateDataSet();
        ds.AppendRecord({Variant(QStringLiteral("A01")), Variant(QStringLiteral("钢筋")), Variant(3)});
        ds.First();
        host.Bind(&ds);
        grid()->setObjectName(QStringLiteral("DBGridGx1"));
        grid()->Columns()->Clear();
        for (const char* f : {"CODE", "NAME"}) {
            TColumnGx* c = grid()->Columns()->Add();
            c->SetFieldName(QString::fromLatin1(f));
        }
        column(0)->SetWidth(80);
        column(0)->SetVisible(false);
        column(1)->SetWidth(120);
        column(1)->Title()->SetSortMarker(smDownGx);
        column(1)->Title()->SetSortIndex(1);
        file = dir.filePath(QStringLiteral("layout.ini"));
    }
    TDBGridGx* grid() { return host.grid; }
    TColumnGx* column(int i) { return grid()->Columns()->GetColumn(i); }
    // Index, width, marker, visibility and sort index of the column bound to a field.
    QString State(const char* field)
    {
        for (int i = 0; i < grid()->Columns()->Count(); ++i) {
            TColumnGx* c = column(i);
            if (c->FieldName() == QLatin1String(field))
                return QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(c->Index())
                    .arg(c->Width())
                    .arg(int(c->Title()->SortMarker()))
                    .arg(c->Visible())
                    .arg(c->Title()->SortIndex());
        }
        return QString();
    }
};

const TColumnGxRestoreParams AllColumnValues{crpColIndexGx,     crpColWidthsGx,     crpSortMarkerGx,
                                             crpColVisibleGx,   crpDropDownRowsGx,  crpDropDownWidthGx,
                                             crpRowPanelColPlacementGx};

} // namespace

TEST_F(LayoutFixture, StoredStrings)
{
    grid()->SetRowHeight(24);
    grid()->SaveGridLayoutIni(file, QStringLiteral("Bills"), true);
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadSection(QStringLiteral("Bills")),
              (QStringList{QStringLiteral("DBGridGx1.CODE"), QStringLiteral("DBGridGx1.NAME"),
                           QStringLiteral("(Default)")}));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Bills"), QStringLiteral("DBGridGx1.CODE"), QString()),
              QStringLiteral("0,80,0,0,0,7,0,0,1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Bills"), QStringLiteral("DBGridGx1.NAME"), QString()),
              QStringLiteral("1,120,1,1,1,7,0,0,1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Bills"), QStringLiteral("(Default)"), QString()), QStringLiteral("24,0"));

    // Saving the columns alone into a kept section leaves the other values there.
    ini.WriteString(QStringLiteral("Bills"), QStringLiteral("Other"), QStringLiteral("x"));
    grid()->SaveColumnsLayoutIni(file, QStringLiteral("Bills"), false);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Bills"), QStringLiteral("Other"), QString()), QStringLiteral("x"));
    grid()->SaveColumnsLayoutIni(file, QStringLiteral("Bills"), true);
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Bills"), QStringLiteral("Other")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Bills"), QStringLiteral("(Default)")));
}

TEST_F(LayoutFixture, SaveRestoreRoundTrip)
{
    grid()->SetRowHeight(30);
    grid()->SetRowLines(2);
    grid()->SaveGridLayoutIni(file, QStringLiteral("L"), true);
    const QString code = State("CODE"), name = State("NAME");
    // Everything changed, then restored.
    grid()->Columns()->Move(1, 0);
    column(0)->SetWidth(50);
    column(0)->Title()->SetSortMarker(smNoneGx);
    column(0)->Title()->SetSortIndex(0);
    column(1)->SetVisible(true);
    column(1)->SetWidth(60);
    grid()->SetRowHeight(18);
    grid()->SetRowLines(0);
    grid()->RestoreGridLayoutIni(file, QStringLiteral("L"),
                                 {grpColIndexGx, grpColWidthsGx, grpSortMarkerGx, grpColVisibleGx, grpRowHeightGx});
    EXPECT_EQ(State("CODE"), code);
    EXPECT_EQ(State("NAME"), name);
    EXPECT_EQ(grid()->RowHeight(), 30);
    EXPECT_EQ(grid()->RowLines(), 2);

    // The order alone: the columns swap back and keep their widths.
    grid()->Columns()->Move(1, 0);
    column(0)->SetWidth(55);
    grid()->RestoreColumnsLayoutIni(file, QStringLiteral("L"), {crpColIndexGx});
    EXPECT_EQ(column(0)->FieldName(), QStringLiteral("CODE"));
    EXPECT_EQ(column(1)->Width(), 55);
}

TEST_F(LayoutFixture, RestoreIgnoresColumnsThatAreGone)
{
    TIniFile ini(file);
    ini.WriteString(QStringLiteral("L"), QStringLiteral("DBGridGx1.OLDFIELD"), QStringLiteral("0,300,2,1,1,7,0,0,1"));
    ini.WriteString(QStringLiteral("L"), QStringLiteral("DBGridGx1.NAME"), QStringLiteral("1 , 99 ,, x"));
    const QString code = State("CODE");
    grid()->RestoreColumnsLayoutIni(file, QStringLiteral("L"), AllColumnValues);
    EXPECT_EQ(State("CODE"), code);   // nothing stored for it
    // Missing and non-numeric words fall back to the current values; the sort index to 0.
    EXPECT_EQ(State("NAME"), QStringLiteral("1 99 1 1 0"));
    EXPECT_EQ(grid()->Columns()->Count(), 2);
}

TEST_F(LayoutFixture, RegistryUnderTheStoragePath)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    TRegIniFile reg(QStringLiteral("Software\\Depotrix"));
    EXPECT_EQ(TRegIniFile::RegistryFileName(), dir.filePath(QStringLiteral("Depotrix/registry.ini")));
    grid()->SaveGridLayout(reg);
    const QString section = QStringLiteral("Software\\Depotrix\\") + GridStoragePath(grid());
    TIniFile ini(TRegIniFile::RegistryFileName());
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("DBGridGx1.NAME"), QString()),
              QStringLiteral("1,120,1,1,1,7,0,0,1"));
    EXPECT_TRUE(ini.ValueExists(section, QStringLiteral("@")));
    column(1)->SetWidth(10);
    grid()->RestoreColumnsLayout(reg, {crpColWidthsGx});
    EXPECT_EQ(column(1)->Width(), 120);
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}
