// Saving a grid's column layout (order, widths, sort markers, visibility,
// drop-down sizes, row-panel placement) and its row height into an INI file or
// the registry stand-in, and restoring a chosen part of it.
#include "DBGridGx.h"
#include "DBGridGxLayoutIni.h"
#include "DBGridGxTextRoutines.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/RegIniFile.h"
#include <QRegularExpression>
#include <functional>

namespace {

// Where a layout is kept: one section's values by name.
struct TLayoutStore {
    std::function<QString(const QString& Name)> Read;
    std::function<void(const QString& Name, const QString& Value)> Write;
    // The name of the row-height value.
    QString DefaultName;
};

TLayoutStore IniStore(TIniFile& Ini, const QString& Section)
{
    return {[&Ini, Section](const QString& name) { return Ini.ReadString(Section, name, QString()); },
            [&Ini, Section](const QString& name, const QString& value) {
                // A value between matching quotes would lose them on reading; wrap it in quotes.
                const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                                    value.back() == value.front();
                Ini.WriteString(Section, name, quoted ? QLatin1Char('"') + value + QLatin1Char('"') : value);
            },
            QStringLiteral("(Default)")};
}

TLayoutStore RegistryStore(TRegIniFile& Reg, const QString& Section)
{
    return {[&Reg, Section](const QString& name) { return Reg.ReadString(Section, name, QString()); },
            [&Reg, Section](const QString& name, const QString& value) { Reg.WriteString(Section, name, value); },
            QStringLiteral("@")};
}

// The words of a stored value: runs of blanks and commas separate them.
QStringList StoredFields(const QString& value)
{
    static const QRegularExpression separators(QStringLiteral("[ ,]+"));
    return value.split(separators, Qt::SkipEmptyParts);
}

int FieldOr(const QStringList& fields, int number, int current)
{
    bool ok = false;
    const int v = number <= fields.size() ? fields.at(number - 1).toInt(&ok) : 0;
    return ok ? v : current;
}

QString ColumnValueName(TCustomDBGridGx* Grid, TColumnGx* Column)
{
    return QStringLiteral("%1.%2").arg(Grid->objectName(), Column->FieldName());
}

void WriteColumns(TCustomDBGridGx* Grid, TLayoutStore& Store)
{
    for (int i = 0; i < Grid->Columns()->Count(); ++i) {
        TColumnGx* c = Grid->Columns()->GetColumn(i);
        const QString value = QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9")
                                  .arg(c->Index())
                                  .arg(c->Width())
                                  .arg(int(c->Title()->SortMarker()))
                                  .arg(c->Visible() ? 1 : 0)
                                  .arg(c->Title()->SortIndex())
                                  .arg(c->DropDownRows())
                                  .arg(c->DropDownWidth())
                                  .arg(c->InRowLinePos())
                                  .arg(c->InRowLineHeight());
        Store.Write(ColumnValueName(Grid, c), value);
    }
}

void WriteGrid(TCustomDBGridGx* Grid, TLayoutStore& Store)
{
    WriteColumns(Grid, Store);
    Store.Write(Store.DefaultName, QStringLiteral("%1,%2").arg(Grid->RowHeight()).arg(Grid->RowLines()));
}

void ReadColumns(TCustomDBGridGx* Grid, TLayoutStore& Store, TColumnGxRestoreParams P)
{
    struct Remembered {
        TColumnGx* Column;
        int Index;
        int SortIndex;
    };
    // The layout lock holds the grid's updates and keeps the columns in their update state, in
    // which titles take stored sort indexes as they are.
    const bool autoFit = Grid->AutoFitColWidths();
    Grid->BeginLayoutGx();
    if (autoFit)
        Grid->SetAutoFitColWidths(false);
    auto finish = [&] {
        Grid->EndLayoutGx();
        if (P.Contains(crpSortMarkerGx))
            Grid->SetSortMarkedColumns();
        if (autoFit)
            Grid->SetAutoFitColWidths(true);
        else
            Grid->LayoutChanged();
    };
    try {
        std::vector<Remembered> remembered;
        TDBGridColumnsGx* columns = Grid->Columns();
        for (int i = 0; i < columns->Count(); ++i) {
            TColumnGx* c = columns->GetColumn(i);
            const QString value = Store.Read(ColumnValueName(Grid, c));
            Remembered r{c, c->Index(), 0};
            if (!value.isEmpty()) {
                const QStringList f = StoredFields(value);
                r.Index = FieldOr(f, 1, c->Index());
                if (P.Contains(crpColWidthsGx))
                    c->SetWidth(FieldOr(f, 2, c->Width()));
                if (P.Contains(crpSortMarkerGx)) {
                    c->Title()->SetSortMarker(TSortMarkerGx(FieldOr(f, 3, int(c->Title()->SortMarker()))));
                    r.SortIndex = FieldOr(f, 5, 0);
                }
                if (P.Contains(crpColVisibleGx))
                    c->SetVisible(FieldOr(f, 4, c->Visible() ? 1 : 0) != 0);
                if (P.Contains(crpDropDownRowsGx))
                    c->SetDropDownRows(FieldOr(f, 6, c->DropDownRows()));
                if (P.Contains(crpDropDownWidthGx))
                    c->SetDropDownWidth(FieldOr(f, 7, c->DropDownWidth()));
                if (P.Contains(crpRowPanelColPlacementGx)) {
                    c->SetInRowLinePos(FieldOr(f, 8, c->InRowLinePos()));
                    c->SetInRowLineHeight(FieldOr(f, 9, c->InRowLineHeight()));
                }
            }
            remembered.push_back(r);
        }
        if (P.Contains(crpSortMarkerGx))
            for (const Remembered& r : remembered)
                r.Column->Title()->SetSortIndex(r.SortIndex);
        if (P.Contains(crpColIndexGx))
            for (int i = 0; i < columns->Count(); ++i)
                for (const Remembered& r : remembered)
                    if (r.Index == i) {
                        columns->Move(r.Column->Index(), i);
                        break;
                    }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void ReadGrid(TCustomDBGridGx* Grid, TLayoutStore& Store, TDBGridGxRestoreParams P)
{
    ReadColumns(Grid, Store, ColumnRestoreParamsOf(P));
    const QStringList f = StoredFields(Store.Read(Store.DefaultName));
    if (P.Contains(grpRowHeightGx) && !f.isEmpty()) {
        Grid->SetRowHeight(FieldOr(f, 1, Grid->RowHeight()));
        Grid->SetRowLines(FieldOr(f, 2, 0));
    }
}

} // namespace

TColumnGxRestoreParams ColumnRestoreParamsOf(TDBGridGxRestoreParams Params)
{
    const std::pair<TDBGridGxRestoreParam, TColumnGxRestoreParam> pairs[] = {
        {grpColIndexGx, crpColIndexGx},           {grpColWidthsGx, crpColWidthsGx},
        {grpSortMarkerGx, crpSortMarkerGx},       {grpColVisibleGx, crpColVisibleGx},
        {grpDropDownRowsGx, crpDropDownRowsGx},   {grpDropDownWidthGx, crpDropDownWidthGx},
        {grpRowPanelColPlacementGx, crpRowPanelColPlacementGx}};
    TColumnGxRestoreParams out;
    for (const auto& [g, c] : pairs)
        if (Params.Contains(g))
            out.Include(c);
    return out;
}

namespace {

using TLayoutWriter = void (*)(TCustomDBGridGx*, TLayoutStore&);

void SaveToRegistry(TCustomDBGridGx* Grid, TRegIniFile& Reg, TLayoutWriter Write)
{
    const QString section = GridStoragePath(Grid);
    Reg.EraseSection(section);
    TLayoutStore store = RegistryStore(Reg, section);
    Write(Grid, store);
}

void SaveToIni(TCustomDBGridGx* Grid, TIniFile& Ini, const QString& Section, TLayoutWriter Write)
{
    TLayoutStore store = IniStore(Ini, Section);
    Write(Grid, store);
}

void SaveToIniFile(TCustomDBGridGx* Grid, const QString& FileName, const QString& Section, bool DeleteSection,
                   TLayoutWriter Write)
{
    TIniFile ini(FileName);
    if (DeleteSection)
        ini.EraseSection(Section);
    SaveToIni(Grid, ini, Section, Write);
}

} // namespace

void TCustomDBGridGx::SaveColumnsLayout(TRegIniFile& ARegIni)
{
    SaveToRegistry(this, ARegIni, WriteColumns);
}

void TCustomDBGridGx::SaveColumnsLayout(TIniFile& ACustIni, const QString& Section)
{
    SaveToIni(this, ACustIni, Section, WriteColumns);
}

void TCustomDBGridGx::SaveColumnsLayoutIni(const QString& IniFileName, const QString& Section, bool DeleteSection)
{
    SaveToIniFile(this, IniFileName, Section, DeleteSection, WriteColumns);
}

void TCustomDBGridGx::SaveGridLayout(TRegIniFile& ARegIni)
{
    SaveToRegistry(this, ARegIni, WriteGrid);
}

void TCustomDBGridGx::SaveGridLayout(TIniFile& ACustIni, const QString& Section)
{
    SaveToIni(this, ACustIni, Section, WriteGrid);
}

void TCustomDBGridGx::SaveGridLayoutIni(const QString& IniFileName, const QString& Section, bool DeleteSection)
{
    SaveToIniFile(this, IniFileName, Section, DeleteSection, WriteGrid);
}

void TCustomDBGridGx::RestoreColumnsLayout(TRegIniFile& ARegIni, TColumnGxRestoreParams RestoreParams)
{
    TLayoutStore store = RegistryStore(ARegIni, GridStoragePath(this));
    ReadColumns(this, store, RestoreParams);
}

void TCustomDBGridGx::RestoreColumnsLayout(TIniFile& ACustIni, const QString& Section,
                                           TColumnGxRestoreParams RestoreParams)
{
    TLayoutStore store = IniStore(ACustIni, Section);
    ReadColumns(this, store, RestoreParams);
}

void TCustomDBGridGx::RestoreColumnsLayoutIni(const QString& IniFileName, const QString& Section,
                                              TColumnGxRestoreParams RestoreParams)
{
    TIniFile ini(IniFileName);
    RestoreColumnsLayout(ini, Section, RestoreParams);
}

void TCustomDBGridGx::RestoreGridLayout(TRegIniFile& ARegIni, TDBGridGxRestoreParams RestoreParams)
{
    TLayoutStore store = RegistryStore(ARegIni, GridStoragePath(this));
    ReadGrid(this, store, RestoreParams);
}

void TCustomDBGridGx::RestoreGridLayout(TIniFile& ACustIni, const QString& Section,
                                        TDBGridGxRestoreParams RestoreParams)
{
    TLayoutStore store = IniStore(ACustIni, Section);
    ReadGrid(this, store, RestoreParams);
}

void TCustomDBGridGx::RestoreGridLayoutIni(const QString& IniFileName, const QString& Section,
                                           TDBGridGxRestoreParams RestoreParams)
{
    TIniFile ini(IniFileName);
    RestoreGridLayout(ini, Section, RestoreParams);
}
