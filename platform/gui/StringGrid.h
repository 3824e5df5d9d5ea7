#pragma once
// TStringGrid: the class library's string grid, custom-drawn on TCustomControl.
// Fixed rows and columns at the top and left never scroll; the scrolling part
// starts at LeftCol / TopRow and moves by whole lines. Each cell is painted
// (with DefaultDrawing: background and text two pixels in) and then handed to
// OnDrawCell with the grid's Canvas, which the handler may paint anywhere on.
// The cell-addressing types are shared with the other grids of the program.
#include "ControlBase.h"

#include <QVector>
#include <functional>
#include <vector>

class QLineEdit;

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// Inclusive rectangle of cell indexes.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

enum TGridDrawStateItem : quint8 {
    gdSelected = 0x01, gdFocused = 0x02, gdFixed = 0x04, gdRowSelected = 0x08,
    gdHotTrack = 0x10, gdPressed = 0x20, gdCurrent = 0x40,
};

class TGridDrawState {
public:
    constexpr TGridDrawState() = default;
    constexpr TGridDrawState(std::initializer_list<TGridDrawStateItem> items) { for (auto i : items) m_bits |= i; }
    constexpr bool contains(TGridDrawStateItem i) const { return (m_bits & i) != 0; }
    constexpr TGridDrawState& operator<<(TGridDrawStateItem i) { m_bits |= i; return *this; }
    constexpr TGridDrawState& operator>>(TGridDrawStateItem i) { m_bits &= ~i; return *this; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr bool operator==(const TGridDrawState&) const = default;
private:
    quint8 m_bits = 0;
};

enum TGridOption : quint32 {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
    goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11,
    goRowSelect = 1u << 12, goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14,
};
using TGridOptions = quint32;

class TStringGrid : public TCustomControl {
    Q_OBJECT
public:
    using TDrawCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
    using TSelectCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, bool& CanSelect)>;
    using TSetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)>;
    using TGetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)>;

    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // ---- structure ------------------------------------------------------
    int ColCount() const { return m_colCount; }
    void SetColCount(int n);
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int n);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int n);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int n);
    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int c) const;
    void SetColWidths(int c, int w);
    int RowHeights(int r) const;
    void SetRowHeights(int r, int h);
    int GridLineWidth() const { return m_lineWidth; }
    void SetGridLineWidth(int w);
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions o);
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool v) { m_defaultDrawing = v; Invalidate(); }
    TColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(TColor c) { m_fixedColor = c; Invalidate(); }

    // ---- contents -------------------------------------------------------
    QString Cells(int c, int r) const;
    void SetCells(int c, int r, const QString& s);
    QStringList Rows(int r) const;
    QStringList Cols(int c) const;

    // ---- view -----------------------------------------------------------
    int LeftCol() const { return m_topLeft.X; }
    void SetLeftCol(int c);
    int TopRow() const { return m_topLeft.Y; }
    void SetTopRow(int r);
    // Scrolling columns (rows) wholly visible from LeftCol (TopRow).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Client rectangle of a cell (without its grid lines); empty when the cell
    // is not in view.
    TRect CellRect(int ACol, int ARow) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    // ---- current cell and selection --------------------------------------
    int Col() const { return m_current.X; }
    void SetCol(int c);
    int Row() const { return m_current.Y; }
    void SetRow(int r);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    bool EditorMode() const { return m_editor != nullptr && m_editorShown; }
    void SetEditorMode(bool v);

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditText;
    TNotifyEvent OnTopLeftChanged;

    UINT GetDlgCode() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;

protected:
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void ScrollBarMessage(int Bar, int ScrollCode, int Pos) override;
    void Resize() override;
    void DoExit() override;
    TCursor CursorAt(int X, int Y) override;
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual bool SelectCell(int ACol, int ARow);
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    int colStart(int c) const;   // x of a visible column's left edge, -1 when hidden
    int rowStart(int r) const;
    int lastTopLeftCol() const;  // largest LeftCol that still fills the view
    int lastTopLeftRow() const;
    void ensureCells();
    void moveCurrent(int c, int r, bool moveAnchor, bool show);
    void scrollInView(int c, int r);
    void setTopLeft(int c, int r);
    void syncScrollBars();
    void showEditor();
    void hideEditor(bool accept);
    void placeEditor();
    int sizingColAt(int X, int Y) const;

    int m_colCount = 5, m_rowCount = 5;
    int m_fixedCols = 1, m_fixedRows = 1;
    int m_defaultColWidth = 64, m_defaultRowHeight = 24;
    int m_lineWidth = 1;
    QVector<int> m_colWidths, m_rowHeights;
    std::vector<QVector<QString>> m_cells;   // [row][col]
    TGridOptions m_options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    bool m_defaultDrawing = true;
    TColor m_fixedColor;
    TGridCoord m_topLeft{1, 1};
    TGridCoord m_current{1, 1};
    TGridCoord m_anchor{1, 1};
    bool m_selecting = false;
    int m_sizingCol = -1;
    int m_sizingOrigin = 0;
    QLineEdit* m_editor = nullptr;
    bool m_editorShown = false;
    bool m_inPaint = false;
};
