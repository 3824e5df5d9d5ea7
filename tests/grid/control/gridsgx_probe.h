#pragma once
// A base grid that logs its DrawCell calls and keeps edit texts, shown in a
// window of its own for the grid tests.
#include "grid/control/GridsGx.h"
#include "platform/gui/Application.h"

#include <QApplication>
#include <QMap>
#include <QTest>
#include <memory>
#include <vector>

namespace gxgrid {

class TProbeGrid : public TCustomGridGx {
public:
    using TCustomGridGx::TCustomGridGx;
    struct Call {
        int Col, Row;
        TRect Rect;
        TGridDrawState State;
    };
    std::vector<Call> Calls;
    QMap<QPair<int, int>, QString> Texts;
    int EditLimit = 0;
    std::vector<std::pair<int, int>> Moved;

    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        Calls.push_back({ACol, ARow, ARect, AState});
    }
    QString GetEditText(int ACol, int ARow) override { return Texts.value({ACol, ARow}); }
    void SetEditText(int ACol, int ARow, const QString& Value) override { Texts[{ACol, ARow}] = Value; }
    int GetEditLimit() override { return EditLimit; }
    void ColumnMoved(int FromIndex, int ToIndex) override { Moved.push_back({FromIndex, ToIndex}); }
    const Call* Find(int c, int r) const
    {
        for (const Call& k : Calls)
            if (k.Col == c && k.Row == r) return &k;
        return nullptr;
    }
    void PaintNow()
    {
        Calls.clear();
        Repaint();
    }
    using TCustomGridGx::CalcAxisLayout;
};

// The grid in a window of its own, 300 x 200 client pixels unless told otherwise.
struct GridHost {
    QWidget window;
    TProbeGrid* grid;
    QStringList errors;
    explicit GridHost(TScrollStyle bars = TScrollStyle::ssNone, int w = 300, int h = 200)
    {
        window.resize(w + 40, h + 40);
        grid = new TProbeGrid(&window);
        grid->SetScrollBarsStyle(bars);
        grid->setGeometry(10, 10, w, h);
        Application->OnException = [this](QObject*, const std::exception& e) { errors << QString::fromUtf8(e.what()); };
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        grid->setFocus();
        QApplication::processEvents();
    }
    ~GridHost() { Application->OnException = nullptr; }
    void Pump(int ms = 0)
    {
        if (ms > 0) QTest::qWait(ms);
        QApplication::processEvents();
    }
};

inline QString ErrorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EInvalidGridOperationGx& e) {
        return e.Message();
    }
    return QString();
}

} // namespace gxgrid
