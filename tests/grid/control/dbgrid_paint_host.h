#pragma once
// A data grid in a window of its own whose painters can be pointed at a
// recording canvas, and a client dataset of bill lines to show in it.
#include "dbgrid_paint_recorder.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/Application.h"
#include "testmain/testsupport.h"
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>
#include <vector>

namespace gxpaint {

class ProbeGrid : public TDBGridGx {
public:
    using TDBGridGx::TDBGridGx;
    TCanvas* Probe = nullptr;
    std::vector<int> Glyphs;
    TCanvas* Canvas() override { return Probe ? Probe : TDBGridGx::Canvas(); }
    void DrawIndicatorGlyph(const TRect& r, int glyph) override
    {
        Glyphs.push_back(glyph);
        TDBGridGx::DrawIndicatorGlyph(r, glyph);
    }
};

// Bill lines: id (integer), mname (text), qty (exact decimal), price (float).
inline std::unique_ptr<TClientDataSet> LineDataSet(const std::vector<std::vector<Variant>>& rows)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("id"), ftInteger);
    ds->FieldDefs().Add(QStringLiteral("mname"), ftWideString, 50);
    ds->FieldDefs().Add(QStringLiteral("qty"), ftBCD, 4);
    ds->FieldDefs().Add(QStringLiteral("price"), ftFloat);
    ds->CreateDataSet();
    for (const auto& r : rows)
        ds->AppendRecord(r);
    ds->First();
    return ds;
}

inline std::unique_ptr<TClientDataSet> NumberedLines(int count)
{
    std::vector<std::vector<Variant>> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({Variant(i), Variant(QStringLiteral("材料%1").arg(i)), Variant(double(i)), Variant(i * 0.5)});
    return LineDataSet(rows);
}

struct PaintHost {
    QWidget window;
    ProbeGrid* grid;
    TDataSource source;
    RecordingDevice device{1200, 900};
    std::unique_ptr<TCanvas> recording;
    QStringList errors;

    explicit PaintHost(int w = 600, int h = 260)
    {
        if (!DBGridGxUnitsInitialized())
            InitDBGridGxUnits();
        window.resize(w + 20, h + 20);
        grid = new ProbeGrid(&window);
        grid->setGeometry(10, 10, w, h);
        Application->OnException = [this](QObject*, const std::exception& e) { errors << QString::fromUtf8(e.what()); };
        window.show();
        QApplication::setActiveWindow(&window);
        grid->setFocus();
        QApplication::processEvents();
    }
    ~PaintHost()
    {
        grid->Probe = nullptr;
        Application->OnException = nullptr;
    }
    void Bind(TDataSet* ds)
    {
        source.SetDataSet(ds);
        grid->SetDataSource(&source);
        QApplication::processEvents();
    }
    // From here on the painters draw on the recording device.
    void Record()
    {
        device.Clear();
        recording = std::make_unique<TCanvas>(&device);
        grid->Probe = recording.get();
    }
    // One cell through the grid's dispatch, as the base grid's paint loop calls it.
    void PaintCell(int col, int row, TGridDrawState state = {})
    {
        if (col < grid->FixedCols() || row < grid->FixedRows() || row >= grid->RowCount())
            state << gdFixed;
        grid->DrawCell(col, row, grid->CellRect(col, row), state);
    }
    QImage Shot()
    {
        grid->Probe = nullptr;
        grid->Repaint();
        QApplication::processEvents();
        return grid->grab().toImage();
    }
};

} // namespace gxpaint
