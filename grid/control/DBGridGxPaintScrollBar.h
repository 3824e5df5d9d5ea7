#pragma once
// The settings of the data grid's two scroll bars: whether a bar shows, whether
// the data follow the thumb, smooth stepping, and an external scroll bar that
// mirrors the horizontal one.
#include "DBGridGxTypes.h"
#include "platform/gui/Messages.h"
#include <QMetaObject>

class QScrollBar;
class TCustomDBGridGx;

enum TScrollBarVisibleModeGx { sbAlwaysShowGx, sbNeverShowGx, sbAutoShowGx };
enum TScrollBarKindGx { sbHorizontalGx, sbVerticalGx };

class TDBGridGxScrollBar {
public:
    TDBGridGxScrollBar(TCustomDBGridGx* grid, TScrollBarKindGx kind);
    virtual ~TDBGridGxScrollBar();
    TDBGridGxScrollBar(const TDBGridGxScrollBar&) = delete;
    TDBGridGxScrollBar& operator=(const TDBGridGxScrollBar&) = delete;

    TCustomDBGridGx* Grid() const { return FDBGridGx; }
    TScrollBarKindGx Kind() const { return FKind; }
    QScrollBar* ExtScrollBar() const { return FExtScrollBar; }
    void SetExtScrollBar(QScrollBar* value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    bool Visible() const { return FVisibleMode != sbNeverShowGx; }
    void SetVisible(bool value);
    TScrollBarVisibleModeGx VisibleMode() const { return FVisibleMode; }
    void SetVisibleMode(TScrollBarVisibleModeGx value);
    bool SmoothStep() const { return FSmoothStep; }
    void SetSmoothStep(bool value);

    void Assign(const TDBGridGxScrollBar& source);
    void UpdateExtScrollBar();
    bool IsScrollBarVisible() const;
    bool IsScrollBarShowing() const;
    // The range, page and position of the external bar when one is attached, else of the grid's own.
    bool GetScrollInfo(TScrollInfo& Info) const;

protected:
    // Each bar answers a new smooth step for its own direction.
    virtual void SmoothStepChanged() {}
    TCustomDBGridGx* FDBGridGx;
    QScrollBar* FExtScrollBar = nullptr;
    TScrollBarKindGx FKind;
    bool FTracking = true;
    TScrollBarVisibleModeGx FVisibleMode = sbAutoShowGx;
    bool FSmoothStep = false;
    bool FDestroying = false;
    QMetaObject::Connection FExtConnection, FExtDestroyed;
};

class THorzDBGridGxScrollBar : public TDBGridGxScrollBar {
public:
    explicit THorzDBGridGxScrollBar(TCustomDBGridGx* grid);

protected:
    void SmoothStepChanged() override;
};

class TVertDBGridGxScrollBar : public TDBGridGxScrollBar {
public:
    explicit TVertDBGridGxScrollBar(TCustomDBGridGx* grid);

protected:
    void SmoothStepChanged() override;
};
