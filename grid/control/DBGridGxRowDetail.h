#pragma once
// The row-detail panel of the data grid: an expand sign at the left of the first
// visible column and, for the current record, a host control below the row on
// which a form places its own controls (a grid of detail records, say).
#include "DBGridGxTypes.h"
#include <QFrame>

class TCustomDBGridGx;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge { beLeft = 1, beTop = 2, beRight = 4, beBottom = 8 };
using TBevelEdges = int;   // a set of TBevelEdge bits
enum TBorderStyle { bsNone, bsSingle };

// The settings of the grid's panel (the grid's RowDetailPanel).
class TRowDetailPanelGx {
public:
    explicit TRowDetailPanelGx(TCustomDBGridGx* grid);
    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // 0: as wide as the grid's data allows.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    QWidget* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(QWidget* value) { FActiveControl = value; }
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // The grid's colour while ParentColor is set.
    TColor Color() const;
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    bool ColorStored() const { return !FParentColor; }
    // Copies Active only.
    void Assign(const TRowDetailPanelGx& source);

private:
    template <class T> void Store(T& field, T value);

    TCustomDBGridGx* FGrid;
    bool FActive = false;
    bool FVisible = false;
    int FWidth = 0;
    int FHeight = 120;
    QWidget* FActiveControl = nullptr;
    TBevelEdges FBevelEdges = beLeft | beTop | beRight | beBottom;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelKind FBevelKind = bkNone;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FColor;
    bool FParentColor = false;
};

// The child control of the grid that hosts a record's detail controls. Ctrl+Up
// pressed in any control on it gives the focus back to the grid.
class TRowDetailPanelControlGx : public QFrame {
public:
    explicit TRowDetailPanelControlGx(TCustomDBGridGx* grid);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // The look the grid's settings give it.
    void SetBevels(TBevelEdges edges, TBevelCut inner, TBevelCut outer, TBevelKind kind, int width);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    TBevelCut BevelInner() const { return FBevelInner; }
    TBevelCut BevelOuter() const { return FBevelOuter; }
    TBevelKind BevelKind() const { return FBevelKind; }
    int BevelWidth() const { return FBevelWidth; }
    void SetPanelColor(TColor color, bool parentColor);
    TColor PanelColor() const { return FColor; }
    bool ParentColor() const { return FParentColor; }

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Watch(QObject* child);
    void UpdateFrame();

    TCustomDBGridGx* FGrid;
    TBorderStyle FBorderStyle = bsSingle;
    TBevelEdges FBevelEdges = beLeft | beTop | beRight | beBottom;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelKind FBevelKind = bkNone;
    int FBevelWidth = 1;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
};
